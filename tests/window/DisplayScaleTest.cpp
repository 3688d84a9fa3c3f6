// A global display scale is rounded to a whole factor so surface pixels keep one size.
#include <gtest/gtest.h>

#include "DisplayScale.h"

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

}  // namespace
}  // namespace mosaikon
