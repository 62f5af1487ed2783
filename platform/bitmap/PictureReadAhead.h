#pragma once

// Pictures read on a thread of their own while the window is still being made, so that the
// window's load finds them decoded. Only pictures that read well are kept: a file that fails is
// read again by the load itself, which then fails as it always did, in its own order.

#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/Surface.h"
#include "platform/bitmap/PictureBudget.h"

namespace ombrevale {

class PictureReadAhead {
 public:
  // Reads one picture, asking `budget` before it decodes and charging it after, as the reader
  // itself does; throws when it cannot.
  using Read = std::function<Surface(const std::string& path, PictureBudget& budget)>;

  // Run on the reading thread once it is done, to let go of what the decoder keeps per thread.
  using Finish = std::function<void()>;

  // Starts reading `paths`, in their order, with a budget of its own as large as the reader's.
  PictureReadAhead(std::vector<std::string> paths, Read read, Finish finish = {});
  // Stops after the picture being read, and waits for it.
  ~PictureReadAhead();
  PictureReadAhead(const PictureReadAhead&) = delete;
  PictureReadAhead& operator=(const PictureReadAhead&) = delete;

  // The picture read for `path`, waiting for it if need be; nothing when `path` is not one read
  // ahead, was taken already, or could not be read.
  std::optional<Surface> Take(const std::string& path);

 private:
  struct Outcome {
    bool done = false;
    bool read = false;  // done, and the picture is there
    Surface picture;
  };

  void ReadAll(const Read& read, PictureBudget budget);

  std::vector<std::string> paths_;
  std::mutex mutex_;
  std::condition_variable ready_;
  std::map<std::string, Outcome> outcomes_;  // one for each path not yet taken
  bool stopping_ = false;
  std::thread worker_;
};

}  // namespace ombrevale
