#pragma once

// Frames as a video file, through FFmpeg's libraries: the container and its codec from the file's
// name (.webm: VP9, .mp4: H.264, ...), the frames converted to the codec's colours.

#include <memory>
#include <string>

#include "platform/Surface.h"

namespace ombrevale {

class VideoFile {
 public:
  // Opens `path` for frames of `width` x `height` pixels, `framesPerSecond` a second. Throws
  // FatalError when it cannot, or when the renderer was built without FFmpeg's libraries.
  VideoFile(const std::string& path, int width, int height, int framesPerSecond);
  ~VideoFile();
  VideoFile(const VideoFile&) = delete;
  VideoFile& operator=(const VideoFile&) = delete;

  void Add(const Surface& frame);
  // Writes what the encoder still holds, and the file's end.
  void Close();

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

}  // namespace ombrevale
