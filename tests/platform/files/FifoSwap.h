#pragma once
// Another program swapping a file for a FIFO and back, over and over, while the program reads it:
// what the tests of every reader of such files (pictures, pieces, waves) read against. A reader
// that checks the path and then opens it the usual way now and then opens the FIFO, and would wait
// there for good: the swap lets such a reader go by opening the FIFO itself, as a writer's coming
// would, after which its read fails some other way and is counted.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace ombrevale {

struct SwappedReads {
  int reads = 0;
  int whole = 0;                       // the file read whole
  int refused = 0;                     // the FIFO refused as it should be
  std::vector<std::string> otherwise;  // every other failure
};

// Reads `path` with `read` at least `reads` times, and until it has met both the file and the
// FIFO, while `path` is the ordinary file `file` and a FIFO by turns (a new name renamed over it,
// as a program replacing a file does); `scratch` is a folder for the FIFO and the new names.
// `read` answers "" when it read the whole file, `refusal` when it refused the FIFO.
inline SwappedReads ReadWhileSwapped(const std::string& scratch, const std::string& path,
                                     const std::string& file, int reads,
                                     const std::function<std::string()>& read,
                                     const std::string& refusal) {
  const std::string fifo = scratch + "/swapped-fifo", next = scratch + "/swapped-next";
  SwappedReads out;
  if (mkfifo(fifo.c_str(), 0600) != 0 || link(file.c_str(), next.c_str()) != 0 ||
      std::rename(next.c_str(), path.c_str()) != 0) {
    out.otherwise.push_back("the test could not make its FIFO and file");
    return out;
  }
  std::atomic<int> done = 0, whole = 0, refused = 0;
  std::atomic<bool> swapping = true, reading = true;
  std::thread reader([&] {
    for (; swapping || done < reads; ++done) {
      const std::string failure = read();
      if (failure.empty()) {
        ++whole;
      } else if (failure == refusal) {
        ++refused;
      } else {
        out.otherwise.push_back(failure);
      }
    }
    reading = false;
  });
  std::thread swapper([&] {
    for (long i = 0; i < 2'000'000 && (done < reads || whole == 0 || refused == 0); ++i) {
      const std::string& in = i % 2 == 0 ? fifo : file;
      if (link(in.c_str(), next.c_str()) != 0 || std::rename(next.c_str(), path.c_str()) != 0)
        break;
    }
    swapping = false;
  });
  while (reading) {
    const int writer = open(fifo.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (writer >= 0) close(writer);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  swapper.join();
  reader.join();
  out.reads = done;
  out.whole = whole;
  out.refused = refused;
  return out;
}

}  // namespace ombrevale
