#include "app/ReplayFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "app/Form1.h"
#include "platform/Clock.h"
#include "platform/Complaint.h"
#include "platform/replay/ReplayBytes.h"

namespace ombrevale {

namespace {

#if defined(_WIN32)
constexpr char kFolderSeparator[] = "\\";
#else
constexpr char kFolderSeparator[] = "/";
#endif

// A path the program was given in UTF-8 (Windows' own paths are UTF-16).
std::filesystem::path FilePath(const std::string& path) {
  return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

std::FILE* OpenFile(const std::string& path, bool write) {
#if defined(_WIN32)
  return _wfopen(FilePath(path).c_str(), write ? L"wb" : L"rb");
#else
  return std::fopen(path.c_str(), write ? "wb" : "rb");
#endif
}

}  // namespace

Replay LoadReplay(const std::string& path) {
  std::FILE* file = OpenFile(path, false);
  if (file == nullptr) throw ReplayError("cannot play " + path + ": " + std::strerror(errno));
  std::vector<uint8_t> bytes;
  uint8_t chunk[65536];
  size_t got = 0;
  // Never more than a replay can be, whatever the file claims to be (a pipe, a device).
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0 &&
         bytes.size() <= replay_bytes::kMaxFileBytes)
    bytes.insert(bytes.end(), chunk, chunk + got);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) throw ReplayError("cannot play " + path + ": it could not be read");
  return ReplayFromBytes(path, bytes);
}

Replay ReplayFromBytes(const std::string& name, std::span<const uint8_t> bytes) {
  const std::string cannot = "cannot play " + name + ": ";
  Replay replay;
  try {
    replay = ReadReplay(bytes);
  } catch (const ReplayError& e) {
    throw ReplayError(cannot + "the replay " + e.what());
  }
  if (replay.header.product != VersionLine())
    throw ReplayError(cannot + "the replay was recorded by " + replay.header.product +
                      ", and this is " + VersionLine());
  return replay;
}

std::optional<std::string> SaveFile(const std::string& path, std::span<const uint8_t> bytes) {
  // Written beside its place, then moved there: a reader never finds half a file.
  const std::string part = path + ".part";
  std::FILE* file = OpenFile(part, true);
  if (file == nullptr) return "cannot write " + path + ": " + std::strerror(errno);
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const int error = errno;
  std::error_code ec;
  if (std::fclose(file) != 0 || !written) {
    std::filesystem::remove(FilePath(part), ec);
    return "cannot write " + path + ": " + std::strerror(written ? errno : error);
  }
  std::filesystem::rename(FilePath(part), FilePath(path), ec);
  if (ec) {
    std::filesystem::remove(FilePath(part), ec);
    return "cannot write " + path + ": " + ec.message();
  }
  return std::nullopt;
}

std::optional<std::string> SaveReplay(const std::string& path, const std::vector<uint8_t>& bytes) {
  return SaveFile(path, bytes);
}

StateFolderChoice StateFolder(const std::function<const char*(const char*)>& getenv) {
  const char* state = getenv("XDG_STATE_HOME");
  // A relative XDG_STATE_HOME names no fixed place: it is passed over for the one under HOME.
  if (state != nullptr && state[0] == '/') return {std::string(state) + "/ombrevale", ""};
  const char* home = getenv("HOME");
  if (home != nullptr && home[0] != '\0')
    return {std::string(home) + "/.local/state/ombrevale", ""};
  return {std::nullopt, "neither XDG_STATE_HOME nor HOME is set"};
}

void SaveFlightRecord(const StateFolderChoice& choice, const std::vector<uint8_t>& bytes) {
  const std::optional<std::string>& folder = choice.folder;
  if (!folder) {
    Complain("cannot keep the last minute as a replay: " + choice.missing);
    return;
  }
  std::error_code ec;
  std::filesystem::create_directories(FilePath(*folder), ec);
  if (ec) {
    Complain("cannot keep the last minute as a replay: cannot make " + *folder + ": " +
             ec.message());
    return;
  }
  const std::tm local = LocalTimeNow();
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d-%H%M%S", &local);
  std::string path = *folder + kFolderSeparator + "last-minute-" + stamp + ".replay";
  for (int n = 2; std::filesystem::exists(FilePath(path), ec); ++n)
    path =
        *folder + kFolderSeparator + "last-minute-" + stamp + "-" + std::to_string(n) + ".replay";
  if (const auto failed = SaveReplay(path, bytes)) {
    Complain("cannot keep the last minute as a replay: " + *failed);
    return;
  }
  Complain("the last minute of the session is kept as a replay in " + path);
}

}  // namespace ombrevale
