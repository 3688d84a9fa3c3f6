// A global display scale is rounded to a whole factor so surface pixels keep one size.
#include <gtest/gtest.h>

#include "platform/DisplayScale.h"

namespace mosaikon {
namespace {

TEST(DisplayScaleTest, FractionalFactorsRoundToWholeOnesOthersPassThrough) {
    EXPECT_EQ(wholeScaleFactor("1.5"), "2");
    EXPECT_EQ(wholeScaleFactor("1.25"), "1");
    EXPECT_EQ(wholeScaleFactor("2.75"), "3");
    EXPECT_EQ(wholeScaleFactor("0.5"), "1") << "never below one device pixel per pixel";
    EXPECT_EQ(wholeScaleFactor("2"), "2");
    EXPECT_EQ(wholeScaleFactor("abc"), "abc");
    EXPECT_EQ(wholeScaleFactor("-1"), "-1");
    EXPECT_EQ(wholeScaleFactor(""), "");
}

TEST(DisplayScaleTest, EachFactorOfAPerScreenListRoundsToAWholeOne) {
    EXPECT_EQ(wholeScreenScaleFactors("1.5;2;0.75"), "2;2;1");
    EXPECT_EQ(wholeScreenScaleFactors("HDMI-1=1.25;DP-2=2.5"), "HDMI-1=1;DP-2=3");
    EXPECT_EQ(wholeScreenScaleFactors("odd=x;1.5"), "odd=x;2") << "what Qt must judge is kept";
}

}  // namespace
}  // namespace mosaikon
