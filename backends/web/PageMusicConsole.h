#pragma once

// The page's console entry into the music channel, for the game's authors and for tests:
// OmbrevalePage.mci(command) sends one text command to the program's media and answers its status
// and reply, and OmbrevalePage.playMusic(path, loop) starts a piece as the game itself does. The
// page (music.js) calls these between the loop's passes, never inside one.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/Media.h"

namespace ombrevale {

// How the game starts a piece on its music channel (SoundAPI::PlayMusic), looping or not.
using PlayMusicCall = std::function<int32_t(const std::string& path, bool loop)>;

// Hands the console the program's media and its way of starting a piece, for as long as the page
// is open. Until then every console call answers -1.
void OpenMusicConsole(Media& media, PlayMusicCall playMusic);

}  // namespace ombrevale
