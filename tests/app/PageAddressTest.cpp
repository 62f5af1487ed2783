// The page's address read as the desktop reads the same values: what it cannot take is said, with
// what is used instead.

#include "app/PageAddress.h"

#include <gtest/gtest.h>

#include <map>

namespace ombrevale {
namespace {

PageAddress Read(std::map<std::string, std::string> given) {
  return ReadPageAddress([&given](const char* name) { return given[name]; });
}

TEST(PageAddress, ValuesItCanTakeAreTakenSilentlyAndNoneIsNoneAsked) {
  const PageAddress none = Read({});
  EXPECT_FALSE(none.seed || none.start || none.scale);
  EXPECT_TRUE(none.warnings.empty());

  const PageAddress all =
      Read({{"seed", "4294967295"}, {"start", "2026/12/07 6:38:00"}, {"scale", "8"}});
  EXPECT_EQ(all.seed, 4294967295u);
  ASSERT_TRUE(all.start);
  EXPECT_EQ(all.start->hour, 6);
  EXPECT_EQ(all.scale, 8);
  EXPECT_TRUE(all.warnings.empty());
}

TEST(PageAddress, EachValueItCannotTakeIsOneWarningNamingItAndWhatIsUsedInstead) {
  const PageAddress bad =
      Read({{"seed", "4294967296"}, {"start", "garbage"}, {"scale", "9"}, {"calm", "maybe"}});
  EXPECT_FALSE(bad.seed || bad.start || bad.scale);
  EXPECT_EQ(bad.warnings,
            (std::vector<std::string>{
                "ombrevale: the address's seed '4294967296' is not a whole number from 0 to "
                "4294967295; the vision's draws are left to chance.",
                "ombrevale: the address's start 'garbage' is not a date and time such as "
                "2026/12/07 6:38:00; the clock starts from the present.",
                "ombrevale: the address's scale '9' is not a whole number from 1 to 8; the page "
                "takes the largest factor that fits the window."}));
  // What the address carries reaches the console printable.
  EXPECT_EQ(Read({{"scale", "abc\x1b[2J"}}).warnings.at(0).find('\x1b'), std::string::npos);
}

}  // namespace
}  // namespace ombrevale
