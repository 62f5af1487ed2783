#pragma once

// Where the program keeps what it writes of its own on Windows: its folder in the player's local
// application data (%LOCALAPPDATA%\Ombrevale), which the flight recorder writes its replays to.

#include <optional>
#include <string>

namespace ombrevale {

// The folder, in UTF-8, made or not; nothing where Windows names no local application data.
std::optional<std::string> LocalAppDataFolder();

}  // namespace ombrevale
