#include "backends/win32/ProgramFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/DataFolder.h"
#include "platform/unicode/CaseFold.h"

namespace ombrevale {
namespace {

// On Windows the installed copy keeps dat/ beside the .exe: the places are the working folder
// and the program's own folder.
TEST(ProgramFolder, IsTheFolderOfTheRunningExeAndTheInstalledPlaceOfItsPictures) {
  const std::string folder = ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(folder) / "ombrevale_win32_tests.exe"));
  const DataFolderPlaces places = DataFolderPlacesHere(std::nullopt, folder);
  EXPECT_EQ(places.installed, folder);
  EXPECT_EQ(places.current, std::filesystem::current_path().string());
}

// Windows' own upper case gives what Linux's gives on the letters the Linux tests name.
TEST(ProgramFolder, TheSystemsUpperCaseIsUnicodesSimpleOne) {
  const char32_t pairs[][2] = {{U'é', U'É'}, {U'ÿ', U'Ÿ'}, {U'ж', U'Ж'},   {U'ς', U'Σ'},
                               {U'σ', U'Σ'}, {U'ı', U'I'}, {U'ſ', U'S'},   {U'ǆ', U'Ǆ'},
                               {U'𐐨', U'𐐀'}, {U'ß', U'ß'}, {U'時', U'時'}, {U'Σ', U'Σ'}};
  for (const auto& [lower, upper] : pairs)
    EXPECT_EQ(UpperCase(lower), upper) << "U+" << std::hex << static_cast<uint32_t>(lower);
}

}  // namespace
}  // namespace ombrevale
