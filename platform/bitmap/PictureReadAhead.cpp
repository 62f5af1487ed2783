#include "platform/bitmap/PictureReadAhead.h"

#include <utility>

namespace ombrevale {

PictureReadAhead::PictureReadAhead(std::vector<std::string> paths, Read read, Finish finish)
    : paths_(std::move(paths)) {
  for (const std::string& path : paths_) outcomes_.try_emplace(path);
  worker_ = std::thread([this, read = std::move(read), finish = std::move(finish)] {
    ReadAll(read, PictureBudget());
    if (finish) finish();
  });
}

PictureReadAhead::~PictureReadAhead() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  worker_.join();
}

void PictureReadAhead::ReadAll(const Read& read, PictureBudget budget) {
  for (const std::string& path : paths_) {
    {
      std::lock_guard lock(mutex_);
      if (stopping_) return;
      // A path listed twice is read once; one taken already is not read again.
      const auto found = outcomes_.find(path);
      if (found == outcomes_.end() || found->second.done) continue;
    }
    Outcome outcome;
    outcome.done = true;
    try {
      outcome.picture = read(path, budget);
      outcome.read = true;
    } catch (...) {
      // Left for the load to read again and report.
    }
    {
      std::lock_guard lock(mutex_);
      outcomes_[path] = std::move(outcome);
    }
    ready_.notify_all();
  }
}

std::optional<Surface> PictureReadAhead::Take(const std::string& path) {
  std::unique_lock lock(mutex_);
  auto found = outcomes_.find(path);
  if (found == outcomes_.end()) return std::nullopt;
  ready_.wait(lock, [&found] { return found->second.done; });
  Outcome outcome = std::move(found->second);
  outcomes_.erase(found);
  if (!outcome.read) return std::nullopt;
  return std::optional<Surface>(std::move(outcome.picture));
}

}  // namespace ombrevale
