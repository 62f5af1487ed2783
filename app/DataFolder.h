#pragma once
// Where the program finds its pictures. They are read as "dat/" and a file name, relative to the
// working folder; before the window loads, the program chooses that folder: the one given with
// --data, else the current one when it holds dat/, else the folder an installed copy keeps its
// pictures in, found from where the program itself lies.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ombrevale {

// The places a dat/ folder is looked for.
struct DataFolderPlaces {
  std::optional<std::string> given;  // --data DIR; when given, the only place
  std::string current;               // the folder the program was started in
  std::string installed;             // the installed data folder; empty when not known
};

// The folder chosen, and what is said about it.
struct DataFolderChoice {
  // The folder to work in; none: stay in the folder the program was started in.
  std::optional<std::string> folder;
  // When no place held a dat/ folder: one sentence for stderr naming where it looked; else empty.
  std::string warning;
  // Then also the places it looked in, listed ("A", "A or B"); else empty.
  std::string lookedIn = {};
};

// Chooses among the places, asking `holdsDat` whether a folder has a dat/ folder in it. A given
// folder is taken whether or not it holds one (with the warning when not); otherwise the first
// place that holds one is taken, and when none does, the program stays where it is.
DataFolderChoice ChooseDataFolder(const DataFolderPlaces& places,
                                  const std::function<bool(const std::string&)>& holdsDat);

// Where an installed copy keeps its pictures, for a program file at `programPath`:
// ../share/games/ombrevale from the program's folder (<prefix>/games), whatever the prefix.
std::string InstalledDataFolderFor(const std::string& programPath);

// Whether `folder` has a folder dat/ in it.
bool HoldsDatFolder(const std::string& folder);

// The places on this system: `given`, the working folder, and the installed data folder found
// from the program's own file (/proc/self/exe).
DataFolderPlaces DataFolderPlacesHere(const std::optional<std::string>& given);
// The same with the installed data folder given by the caller, for a system that finds its
// program file its own way (on Windows, the folder of the .exe itself).
DataFolderPlaces DataFolderPlacesHere(const std::optional<std::string>& given,
                                      std::string installed);

// Once the data folder is the working folder: one warning naming the pictures among `files`
// ("dat/face.bmp" ...) that are not there, or saying that dat/ cannot be looked into; empty when
// every one is there, and when there is no dat/ at all (which ChooseDataFolder says). The program
// runs on either way: a missing picture leaves its control empty.
std::string MissingPicturesWarning(const std::vector<std::string>& files);

// Makes the chosen folder the working folder. Returns the sentence that says why it could not be
// entered, or nothing; the working folder is unchanged then.
std::optional<std::string> EnterDataFolder(const DataFolderChoice& choice);

}  // namespace ombrevale
