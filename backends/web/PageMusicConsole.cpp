#include "backends/web/PageMusicConsole.h"

#include <emscripten.h>

#include <array>
#include <utility>

namespace ombrevale {
namespace {

Media* consoleMedia = nullptr;
PlayMusicCall consolePlayMusic;
// The reply of the last command: 255 characters and the NUL, as the game's own buffer holds.
std::array<char, 256> lastReply{};

}  // namespace

void OpenMusicConsole(Media& media, PlayMusicCall playMusic) {
  consoleMedia = &media;
  consolePlayMusic = std::move(playMusic);
}

}  // namespace ombrevale

extern "C" {

// Sends one command; returns its status (-1 before the program runs). May wait, between the
// browser's events, for a piece or the soundfont to arrive.
EMSCRIPTEN_KEEPALIVE int OmbrevaleMci(const char* command) {
  using namespace ombrevale;
  if (consoleMedia == nullptr) return -1;
  lastReply[0] = '\0';
  return consoleMedia->mciSendStringA(command, lastReply.data(), lastReply.size(), 0);
}

// The reply of the last command sent by OmbrevaleMci.
EMSCRIPTEN_KEEPALIVE const char* OmbrevaleMciReply() {
  return ombrevale::lastReply.data();
}

// Starts a piece on the game's music channel; returns the status of its first command that failed
// (-1 before the program runs). Slot 0 then loops or closes it at its end.
EMSCRIPTEN_KEEPALIVE int OmbrevalePlayMusic(const char* path, int loop) {
  using namespace ombrevale;
  if (!consolePlayMusic) return -1;
  return consolePlayMusic(path, loop != 0);
}

}  // extern "C"
