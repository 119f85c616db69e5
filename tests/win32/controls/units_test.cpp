// Lengths between twips, HIMETRIC and pixels, and the one rounding rule, at the
// pixels per inch Windows offers (100 % to 200 %) and at one where exact ties
// occur.
#include <gtest/gtest.h>

#include "host/units.h"

namespace vantorel::host::test {
namespace {

TEST(Units, ConversionsFollowTheInch) {
  struct Case {
    int ppi;
    double twips, pixels;
  };
  // An inch is 1440 twips, 2540 HIMETRIC and ppi pixels.
  for (const Case& c : {Case{96, 1440, 96}, Case{120, 1440, 120}, Case{144, 720, 72}, Case{192, 15, 2}}) {
    EXPECT_DOUBLE_EQ(TwipsToPixels(c.twips, c.ppi), c.pixels) << c.ppi;
    EXPECT_DOUBLE_EQ(PixelsToTwips(c.pixels, c.ppi), c.twips) << c.ppi;
    EXPECT_DOUBLE_EQ(HimetricToPixels(c.twips * 2540 / 1440, c.ppi), c.pixels) << c.ppi;
    EXPECT_DOUBLE_EQ(PixelsToHimetric(c.pixels, c.ppi), c.twips * 2540 / 1440) << c.ppi;
  }
}

TEST(Units, WholeLengthsRoundToTheNearestTiesToEven) {
  struct Case {
    double length;
    int whole;
  };
  const Case cases[] = {{2.5, 2}, {3.5, 4}, {157.5, 158}, {622.5, 622}, {2.49, 2}, {2.51, 3}, {-0.5, 0}, {-1.5, -2}};
  for (const Case& c : cases) EXPECT_EQ(RoundLength(c.length), c.whole) << c.length;
  // 1575 twips at 144 pixels per inch are 157.5 pixels.
  EXPECT_EQ(RoundLength(TwipsToPixels(1575, 144)), 158);
  // At 254 pixels per inch 5 HIMETRIC are exactly half a pixel: rounded to 0,
  // where adding a half and cutting off would give 1.
  EXPECT_EQ(RoundLength(HimetricToPixels(5, 254)), 0);
  EXPECT_EQ(RoundLength(HimetricToPixels(15, 254)), 2);
}

}  // namespace
}  // namespace vantorel::host::test
