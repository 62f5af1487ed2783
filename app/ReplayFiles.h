#pragma once

// Replays on the disk: reading one to play, writing one, and where the flight recorder keeps the
// last minute of a session.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/replay/ReplayReader.h"

namespace ombrevale {

// The replay in the file at `path`, read and checked, and recorded by this version of the
// program. Throws ReplayError with the whole sentence: "cannot play PATH: the replay is cut short".
Replay LoadReplay(const std::string& path);

// Writes `bytes` to `path`, whole or not at all; the sentence that says why not, on failure.
std::optional<std::string> SaveReplay(const std::string& path, const std::vector<uint8_t>& bytes);

// The folder the program keeps its state in: $XDG_STATE_HOME/ombrevale, else
// $HOME/.local/state/ombrevale; nothing where neither variable is set. `getenv` reads a variable.
std::optional<std::string> StateFolder(const std::function<const char*(const char*)>& getenv);

// Writes a flight record, `bytes`, into `folder` (made when missing), named by the local date and
// time, and says where on stderr; or says why it could not.
void SaveFlightRecord(const std::optional<std::string>& folder, const std::vector<uint8_t>& bytes);

}  // namespace ombrevale
