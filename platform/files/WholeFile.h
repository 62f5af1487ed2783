#pragma once

// A file written under a name of its own beside the one it is for, and given that name only once
// it is whole: a run stopped midway, a full disk or a crash leaves the file that was there before,
// or none, never half of one.

#include <string>

namespace ombrevale {

class WholeFile {
 public:
  // For a file to be written at `path`; nothing is made until the caller opens Partial().
  explicit WholeFile(std::string path);
  // Removes the partial file, unless it was kept.
  ~WholeFile();
  WholeFile(const WholeFile&) = delete;
  WholeFile& operator=(const WholeFile&) = delete;

  // Where to write: `path` with ".part" after it.
  const std::string& Partial() const { return partial_; }
  // Gives the written file its name, replacing any file there. Throws FatalError when it cannot.
  void Keep();

 private:
  std::string path_, partial_;
  bool kept_ = false;
};

}  // namespace ombrevale
