#include "platform/files/WholeFile.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "platform/FatalError.h"

namespace ombrevale {

WholeFile::WholeFile(std::string path) : path_(std::move(path)), partial_(path_ + ".part") {}

WholeFile::~WholeFile() {
  if (kept_) return;
  std::error_code ignored;
  std::filesystem::remove(partial_, ignored);
}

void WholeFile::Keep() {
  std::error_code error;
  std::filesystem::rename(partial_, path_, error);
  if (error) throw FatalError("cannot write " + path_ + ": " + error.message());
  kept_ = true;
}

}  // namespace ombrevale
