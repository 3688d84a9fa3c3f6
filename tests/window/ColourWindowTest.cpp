// Choosing the painting colour with real clicks on the swatches and presses on the strip.
#include "WindowTestSupport.h"
#include "controls/ClickableLabel.h"
#include "controls/PictureBoxView.h"

namespace mosaikon::test {
namespace {

constexpr std::uint32_t rgb(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    return red + 256 * green + 65536 * blue;
}

class ColourWindowTest : public ShownWindowTest {
protected:
    Colour current() { return window.canvas().state.CurrentColor; }
    void clickSwatch(int index) {
        QTest::mouseClick(window.lblColor(index), Qt::LeftButton, Qt::NoModifier, QPoint(11, 11));
    }
    void pressStrip(Qt::MouseButton button, int x, int y) {
        QTest::mousePress(window.Pic(), button, Qt::NoModifier, QPoint(x, y));
        QTest::mouseRelease(window.Pic(), button, Qt::NoModifier, QPoint(x, y));
    }
};

TEST_F(ColourWindowTest, AfterStartUpBlackIsChosenAndTheSwatchesShowTheirColours) {
    EXPECT_EQ(current().value(), 0u);
    EXPECT_EQ(shownBackground(window.Pallet()), QColor(Qt::black));
    EXPECT_EQ(shownBackground(window.Pallet2()), rgbColour(0xE0E0E0));
    EXPECT_EQ(shownBackground(window.lblColor(0)), QColor(Qt::white)) << "window background";
    EXPECT_EQ(shownBackground(window.lblColor(1)), QColor(0, 255, 0));
    EXPECT_EQ(shownBackground(window.lblColor(2)), QColor(0, 128, 128)) << "desktop background";
    EXPECT_EQ(shownBackground(window.lblColor(4)), QColor(0, 0, 255));
    EXPECT_EQ(shownBackground(window.lblColor(15)), QColor(0xC0, 0xC0, 0xC0));
    // What the person sees in the middle of swatch 13: red.
    EXPECT_EQ(window.lblColor(13)->grab().toImage().pixelColor(11, 11), QColor(255, 0, 0));
}

TEST_F(ColourWindowTest, SwatchClickKeepsAReferenceAsAReference) {
    clickSwatch(0);
    EXPECT_EQ(current().value(), 0x80000005u);
    EXPECT_EQ(shownBackground(window.Pallet()), QColor(Qt::white));
    clickSwatch(15);
    EXPECT_EQ(current().value(), 0x00C0C0C0u);
    EXPECT_EQ(shownBackground(window.Pallet()), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(shownBackground(window.Pallet2()), rgbColour(0xE0E0E0))
        << "the strip's display stays";

    // Painting with a reference puts down its present plain colour.
    clickSwatch(10);
    QTest::mouseClick(window.LargePicture(), Qt::LeftButton, Qt::NoModifier, QPoint(6, 6));
    EXPECT_EQ(window.canvas().SmallPicture.pixel(0, 0), systemColour(13));
}

TEST_F(ColourWindowTest, StripIsDrawnAtTheFirstShowingAndShown) {
    const PictureBox& strip = window.colourChoice().Pic;
    EXPECT_EQ(strip.refreshCount(), 1);
    EXPECT_EQ(strip.pixel(40, 100).value(), rgb(120, 60, 160));
    const QImage shown = window.Pic()->grab().toImage();
    EXPECT_EQ(shown.pixelColor(40, 100), rgbColour(rgb(120, 60, 160)));
    EXPECT_EQ(shown.pixelColor(0, 250), rgbColour(rgb(255, 240, 240)));

    const auto before = strip.pixels();
    window.runHandler([this] { window.Form_Activate(); });
    EXPECT_EQ(strip.pixels(), before) << "a second activation draws the same picture";
    EXPECT_EQ(strip.refreshCount(), 2);
}

TEST_F(ColourWindowTest, StripPressWithAnyButtonPicksThePlainColour) {
    clickSwatch(0);
    pressStrip(Qt::RightButton, 40, 100);
    EXPECT_EQ(current().value(), rgb(120, 60, 160));
    EXPECT_EQ(shownBackground(window.Pallet2()), rgbColour(rgb(120, 60, 160)));
    EXPECT_EQ(shownBackground(window.Pallet()), QColor(Qt::white)) << "the swatch display stays";

    pressStrip(Qt::LeftButton, 1, 0);  // (0, 0) would mean the widget's centre to QTest
    EXPECT_EQ(current().value(), rgb(0, 20, 0)) << "top row: red 0";
    pressStrip(Qt::MiddleButton, 0, 270);
    EXPECT_EQ(current().value(), rgb(255, 240, 240)) << "leftmost column, lowest part";
    pressStrip(Qt::LeftButton, 60, 270);
    EXPECT_EQ(current().value(), rgb(165, 20, 100));
    EXPECT_FALSE(current().isSystemReference());
}

TEST_F(ColourWindowTest, OnlyAPrimaryClickOnASwatchChooses) {
    QTest::mouseClick(window.lblColor(13), Qt::RightButton, Qt::NoModifier, QPoint(11, 11));
    EXPECT_EQ(current().value(), 0u);
    QTest::mousePress(window.lblColor(13), Qt::LeftButton, Qt::NoModifier, QPoint(11, 11));
    QTest::mouseRelease(window.lblColor(13), Qt::LeftButton, Qt::NoModifier, QPoint(40, 11));
    EXPECT_EQ(current().value(), 0u) << "released outside the swatch";
}

}  // namespace
}  // namespace mosaikon::test
