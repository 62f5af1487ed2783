// The budget the window's pictures share: what fits, what is refused, and which picture a refusal
// names: the one that spent the budget, not the innocent one after it.

#include "platform/bitmap/PictureBudget.h"

#include <gtest/gtest.h>

namespace ombrevale {
namespace {

TEST(PictureBudget, ARefusalNamesThePictureThatSpentTheBudgetNotTheOneAfterIt) {
  PictureBudget budget;
  ASSERT_FALSE(budget.Refusal("dat/face.bmp", 4096, 4096));  // exactly all of it fits
  budget.Charge("dat/face.bmp", 4096, 4096);
  EXPECT_EQ(budget.Left(), 0u);

  const auto refusal = budget.Refusal("dat/black.bmp", 400, 300);
  ASSERT_TRUE(refusal);
  EXPECT_EQ(refusal->path, "dat/face.bmp");
  EXPECT_EQ(refusal->why,
            "its header claims 4096 x 4096 pixels, 64 MB once decoded, of the 64 MB that all the "
            "pictures together may take, and leaves too little for dat/black.bmp (400 x 300 "
            "pixels)");
}

TEST(PictureBudget, APictureIsBlamedItselfWhenNoOneBeforeItTookMoreThanHalf) {
  // Half the budget taken by one picture: the next that does not fit is at fault itself.
  PictureBudget half;
  half.Charge("half.bmp", 4096, 2048);
  const auto whole = half.Refusal("whole.bmp", 4096, 4096);
  ASSERT_TRUE(whole);
  EXPECT_EQ(whole->path, "whole.bmp");
  EXPECT_NE(whole->why.find("only 32 MB of the 64 MB"), std::string::npos) << whole->why;

  // Many ordinary pictures spent it together: the one that no longer fits is named.
  PictureBudget many;
  for (int i = 0; i < 139; ++i) many.Charge("page.bmp", 400, 300);
  const auto last = many.Refusal("last.bmp", 400, 300);
  ASSERT_TRUE(last);
  EXPECT_EQ(last->path, "last.bmp");

  // A picture larger than the whole budget is at fault whatever came before it.
  PictureBudget spent;
  spent.Charge("big.bmp", 4096, 3000);
  const auto huge = spent.Refusal("huge.bmp", 8192, 8192);
  ASSERT_TRUE(huge);
  EXPECT_EQ(huge->path, "huge.bmp");
}

}  // namespace
}  // namespace ombrevale
