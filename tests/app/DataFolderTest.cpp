#include "app/DataFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <utility>

namespace ombrevale {
namespace {

namespace fs = std::filesystem;

// A world of folders, some holding dat/; remembers which folders were asked about.
struct Probe {
  explicit Probe(std::set<std::string> folders = {}) : withDat(std::move(folders)) {}
  std::set<std::string> withDat;
  std::vector<std::string> asked;
  std::function<bool(const std::string&)> Fn() {
    return [this](const std::string& folder) {
      asked.push_back(folder);
      return withDat.count(folder) > 0;
    };
  }
};

const DataFolderPlaces kPlaces{std::nullopt, "/home/player", "/usr/share/games/ombrevale"};
const std::string kNowhere =
    "ombrevale: found no dat/ folder with its pictures in /home/player or "
    "/usr/share/games/ombrevale; the title page runs without them.";

TEST(DataFolder, TheCurrentFolderComesFirstThenTheInstalledOneThenAWarningNamingBoth) {
  Probe both({"/home/player", "/usr/share/games/ombrevale"});
  const DataFolderChoice here = ChooseDataFolder(kPlaces, both.Fn());
  EXPECT_FALSE(here.folder);  // stays where it was started
  EXPECT_EQ(here.warning, "");
  EXPECT_EQ(both.asked, std::vector<std::string>{"/home/player"});

  Probe installed({"/usr/share/games/ombrevale"});
  const DataFolderChoice there = ChooseDataFolder(kPlaces, installed.Fn());
  EXPECT_EQ(there.folder, "/usr/share/games/ombrevale");
  EXPECT_EQ(there.warning, "");

  Probe none;
  const DataFolderChoice nowhere = ChooseDataFolder(kPlaces, none.Fn());
  EXPECT_FALSE(nowhere.folder);
  EXPECT_EQ(nowhere.warning, kNowhere);
  EXPECT_EQ(nowhere.lookedIn, "/home/player or /usr/share/games/ombrevale");
  EXPECT_EQ(there.lookedIn, "");

  // Started in the installed folder itself, or where the program cannot tell where it lies:
  // one place to name.
  Probe alone;
  DataFolderPlaces same = kPlaces;
  same.current = same.installed;
  EXPECT_EQ(ChooseDataFolder(same, alone.Fn()).warning,
            "ombrevale: found no dat/ folder with its pictures in /usr/share/games/ombrevale; the "
            "title page runs without them.");
  EXPECT_EQ(alone.asked.size(), 1u);
  DataFolderPlaces unknown = kPlaces;
  unknown.installed.clear();
  EXPECT_EQ(ChooseDataFolder(unknown, alone.Fn()).warning,
            "ombrevale: found no dat/ folder with its pictures in /home/player; the title page "
            "runs without them.");
}

TEST(DataFolder, AGivenFolderIsTakenAloneWithTheWarningWhenItHoldsNoDat) {
  DataFolderPlaces given = kPlaces;
  given.given = "pictures";
  Probe elsewhere({"/home/player", "/usr/share/games/ombrevale"});
  const DataFolderChoice choice = ChooseDataFolder(given, elsewhere.Fn());
  EXPECT_EQ(choice.folder, "pictures");
  EXPECT_EQ(choice.warning,
            "ombrevale: found no dat/ folder with its pictures in pictures; the title page runs "
            "without them.");
  EXPECT_EQ(elsewhere.asked, std::vector<std::string>{"pictures"});

  Probe holds({"pictures"});
  EXPECT_EQ(ChooseDataFolder(given, holds.Fn()).warning, "");
}

TEST(DataFolder, TheInstalledFolderLiesBesideThePrefixGamesFolderUnderAnyRoot) {
  EXPECT_EQ(InstalledDataFolderFor("/usr/games/ombrevale"), "/usr/share/games/ombrevale");
  EXPECT_EQ(InstalledDataFolderFor("/tmp/stage/usr/local/games/ombrevale"),
            "/tmp/stage/usr/local/share/games/ombrevale");
  EXPECT_EQ(InstalledDataFolderFor("/games/ombrevale"), "/share/games/ombrevale");
}

TEST(DataFolder, OnlyAFolderNamedDatCountsAndAFolderThatCannotBeEnteredIsNamedWithTheReason) {
  const fs::path root = fs::temp_directory_path() / ("ombrevale-data-" + std::to_string(getpid()));
  fs::remove_all(root);
  fs::create_directories(root / "good" / "dat");
  fs::create_directories(root / "file");
  std::ofstream(root / "file" / "dat") << "not a folder";
  std::ofstream(root / "plain") << "not a folder";
  EXPECT_TRUE(HoldsDatFolder((root / "good").string()));
  EXPECT_FALSE(HoldsDatFolder((root / "file").string()));
  EXPECT_FALSE(HoldsDatFolder((root / "missing").string()));

  // Failing to enter leaves the working folder as it was.
  const fs::path before = fs::current_path();
  const std::string missing = (root / "missing").string();
  EXPECT_EQ(EnterDataFolder({missing, ""}),
            "ombrevale: cannot enter the data folder '" + missing + "': No such file or directory");
  const std::string plain = (root / "plain").string();
  EXPECT_EQ(EnterDataFolder({plain, ""}),
            "ombrevale: cannot enter the data folder '" + plain + "': Not a directory");
  EXPECT_EQ(EnterDataFolder({std::nullopt, "a warning"}), std::nullopt);
  EXPECT_EQ(fs::current_path(), before);
  fs::remove_all(root);
}

// Works in a folder of its own for as long as it lives, then goes back where it was.
struct InFolder {
  explicit InFolder(const fs::path& folder) : before(fs::current_path()) {
    fs::create_directories(folder);
    fs::current_path(folder);
  }
  ~InFolder() { fs::current_path(before); }
  fs::path before;
};

TEST(DataFolder, PicturesMissingFromDatAreNamedOnceAndAClosedDatIsSaid) {
  const fs::path root =
      fs::temp_directory_path() / ("ombrevale-dat-check-" + std::to_string(getpid()));
  fs::remove_all(root);
  const std::vector<std::string> files = {"dat/face.bmp", "dat/eye3.bmp", "dat/noise.bmp",
                                          "dat/wire.bmp"};
  {
    InFolder here(root);
    // No dat/ at all: that is ChooseDataFolder's to say.
    EXPECT_EQ(MissingPicturesWarning(files), "");
    fs::create_directories("dat");
    const std::string dat = (root / "dat").string();
    EXPECT_EQ(MissingPicturesWarning(files), "ombrevale: found none of the 4 pictures in " + dat +
                                                 "; the title page runs without them.");
    // A folder in the place of a picture is no picture.
    std::ofstream("dat/face.bmp") << "BM";
    std::ofstream("dat/wire.bmp") << "BM";
    fs::create_directories("dat/noise.bmp");
    EXPECT_EQ(MissingPicturesWarning(files), "ombrevale: found no eye3.bmp or noise.bmp in " + dat +
                                                 "; the title page runs without them.");
    std::ofstream("dat/eye3.bmp") << "BM";
    EXPECT_EQ(MissingPicturesWarning({"dat/eye3.bmp", "dat/noise.bmp"}),
              "ombrevale: found no noise.bmp in " + dat + "; the title page runs without it.");
    EXPECT_EQ(MissingPicturesWarning({"dat/face.bmp", "dat/eye3.bmp"}), "");

    // A dat/ the user may not look into. Root looks into any (the window's test runs that case
    // as another user), and so the check is left to the folder's own answer.
    fs::permissions("dat", fs::perms::none);
    std::error_code closed;
    fs::directory_iterator look("dat", closed);
    if (closed) {
      EXPECT_EQ(MissingPicturesWarning(files),
                "ombrevale: cannot look into " + dat +
                    ": Permission denied; the title page runs without its pictures.");
    }
    fs::permissions("dat", fs::perms::owner_all);
  }
  fs::remove_all(root);
}

TEST(DataFolder, ThePlacesHereAreTheWorkingFolderAndTheOneBesideThisProgram) {
  const DataFolderPlaces here = DataFolderPlacesHere("given");
  EXPECT_EQ(here.given, "given");
  EXPECT_EQ(here.current, fs::current_path().string());
  const fs::path self = fs::read_symlink("/proc/self/exe");
  EXPECT_EQ(here.installed, InstalledDataFolderFor(self.string()));
  EXPECT_EQ(fs::path(here.installed).filename(), "ombrevale");
}

}  // namespace
}  // namespace ombrevale
