#include "app/DataFolder.h"

#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "app/CommandLine.h"
#include "app/Form1.h"

namespace fs = std::filesystem;

namespace ombrevale {
namespace {

// "A", "A or B", "A, B or C".
std::string Listed(const std::vector<std::string>& places) {
  std::string text;
  for (size_t i = 0; i < places.size(); ++i) {
    if (i > 0) text += i + 1 == places.size() ? " or " : ", ";
    text += places[i];
  }
  return text;
}

// The choice of none of `places`, said.
DataFolderChoice NoDat(DataFolderChoice choice, const std::vector<std::string>& places) {
  choice.lookedIn = Listed(places);
  choice.warning = Complaint("found no dat/ folder with its pictures in " + choice.lookedIn +
                             "; the title page runs without them.");
  return choice;
}

}  // namespace

DataFolderChoice ChooseDataFolder(const DataFolderPlaces& places,
                                  const std::function<bool(const std::string&)>& holdsDat) {
  DataFolderChoice choice;
  if (places.given) {
    // Asked for by name: no other place stands in for it.
    choice.folder = *places.given;
    return holdsDat(*places.given) ? choice : NoDat(choice, {*places.given});
  }
  if (holdsDat(places.current)) return choice;
  std::vector<std::string> looked = {places.current};
  if (!places.installed.empty() && places.installed != places.current) {
    if (holdsDat(places.installed)) {
      choice.folder = places.installed;
      return choice;
    }
    looked.push_back(places.installed);
  }
  return NoDat(choice, looked);
}

std::string InstalledDataFolderFor(const std::string& programPath) {
  const fs::path games = fs::path(programPath).parent_path();
  return (games / ".." / "share" / "games" / "ombrevale").lexically_normal().string();
}

bool HoldsDatFolder(const std::string& folder) {
  std::error_code error;
  return fs::is_directory(fs::path(folder) / "dat", error);
}

DataFolderPlaces DataFolderPlacesHere(const std::optional<std::string>& given) {
#if defined(__linux__)
  // The kernel's link names the program file itself, links resolved, wherever it was copied.
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  if (!error && program.is_absolute())
    return DataFolderPlacesHere(given, InstalledDataFolderFor(program.string()));
#endif
  return DataFolderPlacesHere(given, std::string());
}

DataFolderPlaces DataFolderPlacesHere(const std::optional<std::string>& given,
                                      std::string installed) {
  DataFolderPlaces places;
  places.given = given;
  std::error_code error;
  const fs::path current = fs::current_path(error);
  places.current = error ? "." : current.string();
  places.installed = std::move(installed);
  return places;
}

std::string MissingPicturesWarning(const std::vector<std::string>& files) {
  std::error_code error;
  const fs::path dat = fs::absolute("dat", error);
  if (error || !fs::is_directory(dat, error)) return std::string();
  std::vector<std::string> missing;
  for (const std::string& file : files) {
    const fs::file_status status = fs::status(file, error);
    // Only a folder that may not be searched hides what it holds from the one asking.
    if (error == std::errc::permission_denied) {
      return Complaint("cannot look into " + dat.string() + ": " + error.message() +
                       "; the title page runs without its pictures.");
    }
    if (!fs::is_regular_file(status)) missing.push_back(fs::path(file).filename().string());
  }
  if (missing.empty()) return std::string();
  if (missing.size() == files.size()) {
    return Complaint("found none of the " + std::to_string(files.size()) + " pictures in " +
                     dat.string() + "; the title page runs without them.");
  }
  return Complaint("found no " + Listed(missing) + " in " + dat.string() +
                   "; the title page runs without " + (missing.size() == 1 ? "it." : "them."));
}

std::optional<std::string> EnterDataFolder(const DataFolderChoice& choice) {
  if (!choice.folder) return std::nullopt;
  std::error_code error;
  fs::current_path(*choice.folder, error);
  if (!error) return std::nullopt;
  return Complaint("cannot enter the data folder '" + *choice.folder + "': " + error.message());
}

}  // namespace ombrevale
