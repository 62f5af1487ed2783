#pragma once

// Replays on the disk: reading one to play, writing one, and where the flight recorder keeps the
// last minute of a session. Paths are UTF-8 on every desktop.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/replay/ReplayReader.h"

namespace ombrevale {

// The replay in the file at `path`, read and checked, and recorded by this version of the
// program. Throws ReplayError with the whole sentence: "cannot play PATH: the replay is cut short".
Replay LoadReplay(const std::string& path);
// The replay in `bytes`, read and checked as LoadReplay does, its sentences naming it `name` (the
// page's address of it).
Replay ReplayFromBytes(const std::string& name, std::span<const uint8_t> bytes);

// Writes `bytes` to `path`, whole or not at all; the sentence that says why not, on failure.
std::optional<std::string> SaveFile(const std::string& path, std::span<const uint8_t> bytes);
std::optional<std::string> SaveReplay(const std::string& path, const std::vector<uint8_t>& bytes);

// The folder the program keeps its state in, or why the desktop names none.
struct StateFolderChoice {
  std::optional<std::string> folder;
  std::string missing;  // the end of a sentence: "neither XDG_STATE_HOME nor HOME is set"
};

// On Linux: $XDG_STATE_HOME/ombrevale, else $HOME/.local/state/ombrevale. `getenv` reads a
// variable.
StateFolderChoice StateFolder(const std::function<const char*(const char*)>& getenv);

// Writes a flight record, `bytes`, into the chosen folder (made when missing), named by the local
// date and time, and says where on stderr; or says why it could not.
void SaveFlightRecord(const StateFolderChoice& choice, const std::vector<uint8_t>& bytes);

}  // namespace ombrevale
