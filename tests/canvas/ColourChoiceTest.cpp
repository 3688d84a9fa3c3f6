// Swatches, the colour strip and the two colour displays, without a window.
#include <gtest/gtest.h>

#include <set>

#include "ColourChoice.h"

namespace mosaikon {
namespace {

constexpr std::uint32_t rgb(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    return red + 256 * green + 65536 * blue;
}

constexpr std::uint32_t kPanelGrey = 0x00E0E0E0;
constexpr std::uint32_t kSilver = 0x00C0C0C0;

TEST(SwatchTest, StoredColoursBeforeStartUp) {
    const ColourChoice choice;
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(choice.lblColor[static_cast<std::size_t>(i)].value(), kPanelGrey) << i;
    }
    EXPECT_EQ(choice.lblColor[15].value(), kSilver);
    EXPECT_EQ(choice.Pallet.value(), 0u);
    EXPECT_EQ(choice.Pallet2.value(), kPanelGrey);
}

TEST(SwatchTest, StartUpGivesTheFifteenStartColoursAndLeavesTheRest) {
    ColourChoice choice;
    choice.Pallet = Colour(0x123456);
    choice.setStartColours();
    const std::uint32_t expected[15] = {
        0x80000005, 0x0000FF00, 0x80000001, 0x00FFFF00, 0x00FF0000,
        0x80000018, 0x0000FFFF, 0x80000014, 0x8000000B, 0x80000003,
        0x8000000D, 0x80000016, 0x00000000, 0x000000FF, 0x00FF00FF,
    };
    for (std::size_t i = 0; i < 15; ++i) {
        EXPECT_EQ(choice.lblColor[i].value(), expected[i]) << i;
    }
    EXPECT_EQ(choice.lblColor[15].value(), kSilver) << "swatch 15 keeps its stored silver";
    EXPECT_EQ(choice.Pallet.value(), 0x123456u) << "start-up does not touch the display";
}

TEST(SwatchTest, ClickCopiesTheSwatchAsStoredReferencesIncluded) {
    ColourChoice choice;
    choice.setStartColours();
    EditorState state;
    choice.Pallet2 = Colour(0x00ABCDEF);

    choice.lblColor_Click(15, state);
    EXPECT_EQ(state.CurrentColor.value(), kSilver);
    EXPECT_EQ(choice.Pallet.value(), kSilver);

    choice.lblColor_Click(0, state);
    EXPECT_EQ(state.CurrentColor.value(), 0x80000005u) << "the reference, not what it resolves to";
    EXPECT_TRUE(state.CurrentColor.isSystemReference());
    EXPECT_EQ(choice.Pallet.value(), 0x80000005u);
    EXPECT_EQ(choice.Pallet.resolved(), systemColour(5));

    choice.lblColor_Click(13, state);
    EXPECT_EQ(state.CurrentColor.value(), 0x000000FFu);
    EXPECT_EQ(choice.Pallet2.value(), 0x00ABCDEFu) << "a swatch click leaves the strip's display";
}

TEST(SwatchTest, AnIndexOutsideTheArrayIsRefusedAndChangesNothing) {
    ColourChoice choice;
    choice.setStartColours();
    EditorState state;
    state.CurrentColor = Colour(0x00112233);
    EXPECT_THROW(choice.lblColor_Click(16, state), std::out_of_range);
    EXPECT_THROW(choice.lblColor_Click(-1, state), std::out_of_range);
    EXPECT_EQ(state.CurrentColor.value(), 0x00112233u);
    EXPECT_EQ(choice.Pallet.value(), 0u);
}

class StripTest : public ::testing::Test {
protected:
    void SetUp() override { choice.drawColourSweep(); }
    std::uint32_t at(int x, int y) const { return choice.Pic.pixel(x, y).value(); }
    ColourChoice choice;
};

TEST_F(StripTest, StripIsMeasuredInTwipsOnTheWindowBackground) {
    const ColourChoice blank;
    EXPECT_EQ(blank.Pic.widthPixels(), 79);
    EXPECT_EQ(blank.Pic.heightPixels(), 271);
    EXPECT_EQ(blank.Pic.ScaleWidth(), 1185.0);
    EXPECT_EQ(blank.Pic.ScaleHeight(), 4065.0);
    EXPECT_EQ(blank.Pic.pixel(40, 100), systemColour(5));
    EXPECT_EQ(blank.Pic.Point(600, 1500), systemColour(5)) << "twip (600, 1500) is pixel (40, 100)";
}

// Pixel rows 0 to 219 hold the top edges: row p shows the last box whose top lies in twips
// 15p to 15p + 14. Worked out by hand from the top-edge rule 183 r + 14 g + b.
TEST_F(StripTest, TopEdgesSweepDownToRow219) {
    // Row 0: boxes 0 to 14; twip row 13 is a gap, 14 is (red 0, green 20, blue 0).
    EXPECT_EQ(at(0, 0), rgb(0, 20, 0));
    EXPECT_EQ(at(40, 0), rgb(0, 20, 0));
    EXPECT_EQ(at(78, 0), rgb(0, 20, 0));
    // Row 100: last box at twip 1514 = 183·8 + 14·3 + 8, so red 120, green 60, blue 160.
    EXPECT_EQ(at(40, 100), rgb(120, 60, 160));
    // Row 219: twips 3285 to 3291, the last box of all, (255, 240, 240).
    EXPECT_EQ(at(40, 219), rgb(255, 240, 240));
    for (int y = 0; y <= 219; ++y) {
        for (int x = 1; x < 79; ++x) {
            ASSERT_EQ(at(x, y), at(40, y)) << "a top edge spans the whole strip, row " << y;
        }
        ASSERT_NE(at(40, y), rgb(255, 255, 255)) << y;
    }
}

TEST_F(StripTest, LowerPartRepeatsTheMiddleRedsAndTheLeftColumnHasTheLastColour) {
    std::set<std::uint32_t> reds;
    for (int y = 220; y < 271; ++y) {
        EXPECT_EQ(at(0, y), rgb(255, 240, 240)) << "left edges of the last boxes, row " << y;
        for (int x = 1; x < 79; ++x) {
            const std::uint32_t colour = at(x, y);
            ASSERT_EQ(colour, at(1, y)) << x << "," << y;
            reds.insert(colour & 0xFF);
        }
    }
    EXPECT_EQ(reds, (std::set<std::uint32_t>{135, 150, 165}));
    // The bottom row holds the bottom edges of boxes at twips 2025 to 2032; the last of them,
    // 2032 = 183·11 + 14·1 + 5, is (165, 20, 100).
    EXPECT_EQ(at(40, 270), rgb(165, 20, 100));
}

TEST_F(StripTest, DrawingAgainGivesTheSamePictureAndAsksForARefreshEachTime) {
    const auto first = choice.Pic.pixels();
    EXPECT_EQ(choice.Pic.refreshCount(), 1);
    choice.drawColourSweep();
    EXPECT_EQ(choice.Pic.pixels(), first);
    EXPECT_EQ(choice.Pic.refreshCount(), 2);
}

TEST_F(StripTest, PickTakesThePlainColourUnderThePointerWhateverTheButton) {
    EditorState state;
    choice.Pallet = Colour(0x80000005);
    choice.Pic_MouseDown(1, 0, 0.0F, 0.0F, state);
    EXPECT_EQ(choice.Pallet2.value(), rgb(0, 20, 0)) << "top-left: red 0";
    EXPECT_EQ(state.CurrentColor.value(), rgb(0, 20, 0));

    choice.Pic_MouseDown(2, 3, 600.0F, 4050.0F, state);  // right button, modifiers held
    EXPECT_EQ(state.CurrentColor.value(), rgb(165, 20, 100));
    EXPECT_EQ(choice.Pallet2.value(), rgb(165, 20, 100));

    choice.Pic_MouseDown(4, 0, 14.0F, 4064.0F, state);  // leftmost pixel column, bottom row
    EXPECT_EQ(state.CurrentColor.value(), rgb(255, 240, 240));
    EXPECT_FALSE(state.CurrentColor.isSystemReference());
    EXPECT_EQ(choice.Pallet.value(), 0x80000005u) << "a pick leaves the swatch display";
}

TEST(StripPickTest, OnTheBlankStripTakesTheResolvedBackground) {
    ColourChoice choice;
    EditorState state;
    choice.Pic_MouseDown(1, 0, 30.0F, 30.0F, state);
    EXPECT_EQ(state.CurrentColor, systemColour(5));
    EXPECT_FALSE(state.CurrentColor.isSystemReference());
}

}  // namespace
}  // namespace mosaikon
