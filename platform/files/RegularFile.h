#pragma once

// A file the program reads whole (a picture, a piece of music, a wave), opened so that nothing put
// in its place can hold the program. It is opened first, without waiting: a FIFO or a device
// answers at once, where a FIFO opened the usual way waits for a writer that may never come. Only
// then is what was opened asked whether it is an ordinary file. Asking the path first and opening
// it after would leave a moment in which another file could take its place.

#include <cstdint>
#include <string>
#include <vector>

namespace ombrevale {

class RegularFile {
 public:
  // Opens the file at `path` for reading, when it is an ordinary file. Relative paths resolve
  // against the working directory; on Windows `path` is UTF-8.
  explicit RegularFile(const std::string& path);
  ~RegularFile();
  RegularFile(const RegularFile&) = delete;
  RegularFile& operator=(const RegularFile&) = delete;

  // Whether an ordinary file was opened.
  bool IsOpen() const;
  // Whether nothing is at the path, or a folder on its way is missing: what a caller may tell
  // apart from a file it cannot read.
  bool Missing() const { return missing_; }
  // Why it is not open, or why the last read failed: the system's words, or "not a file" for
  // anything else than an ordinary file (a folder, a FIFO, a device).
  const std::string& Why() const { return why_; }
  // The file's size in bytes when it was opened.
  uint64_t Size() const { return size_; }

  // Fills `n` bytes at `into` from where the last read ended. False when the file fails, or ends
  // first ("it ended before its size").
  bool Read(uint8_t* into, size_t n);
  // Reads the rest of the file, up to its end, into `bytes`. False when the file fails, or holds
  // more than `maxBytes` ("it is larger than N bytes").
  bool ReadRest(std::vector<uint8_t>& bytes, uint64_t maxBytes);

 private:
  // Reads at most `n` bytes: how many, 0 at the end, -1 when the file failed (Why says why).
  int64_t ReadSome(uint8_t* into, size_t n);

  intptr_t handle_ = -1;  // a file descriptor, or a HANDLE on Windows; -1 when none is open
  bool missing_ = false;
  std::string why_;
  uint64_t size_ = 0;
};

}  // namespace ombrevale
