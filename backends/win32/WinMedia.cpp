#include "backends/win32/WinMedia.h"

#include <string>

#include "backends/win32/WindowsApi.h"

namespace ombrevale {

WinMedia::~WinMedia() {
  // Whatever is still open or playing goes with the program.
  ::mciSendStringA("close all", nullptr, 0, nullptr);
  ::sndPlaySoundA(nullptr, 0);
}

int32_t WinMedia::mciSendStringA(std::string_view command, char* reply, uint32_t replyCapacity,
                                 uintptr_t callback) {
  const std::string text(command);
  return static_cast<int32_t>(
      ::mciSendStringA(text.c_str(), reply, replyCapacity, reinterpret_cast<HWND>(callback)));
}

// The contract's wave flags have the system's own values, so they pass unchanged.
bool WinMedia::sndPlaySoundA(std::string_view name, uint32_t flags) {
  // The empty name stops any wave: the system takes a null name for that.
  if (name.empty()) return ::sndPlaySoundA(nullptr, flags) != FALSE;
  const std::string text(name);
  return ::sndPlaySoundA(text.c_str(), flags) != FALSE;
}

}  // namespace ombrevale
