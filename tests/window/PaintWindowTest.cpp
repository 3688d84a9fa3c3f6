// Painting through the window with real mouse events on the magnified view.
#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QTest>

#include "PictureBoxView.h"
#include "frmEditIcon.h"

namespace mosaikon {
namespace {

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;

// The widget position of view pixel (x, y): the drawing area starts inside a 1-pixel border.
QPoint viewPoint(int x, int y) { return {x + 1, y + 1}; }

class PaintWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    IconCanvas& canvas() { return window.canvas(); }
    frmEditIcon window;
};

TEST_F(PaintWindowTest, WindowHasItsFixedGeometry) {
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Mosaikon"));
    EXPECT_EQ(window.size(), QSize(689, 433));
    EXPECT_EQ(window.minimumSize(), window.maximumSize()) << "the window cannot be resized";
    EXPECT_EQ(window.LargePicture()->geometry(), QRect(272, 48, 321, 321));
    EXPECT_EQ(window.SmallPicture()->mapTo(&window, QPoint(0, 0)), QPoint(208, 56));
    EXPECT_EQ(window.SmallPicture()->size(), QSize(32, 32));
    EXPECT_EQ(window.palette().color(QPalette::Window), QColor(0xE0, 0xE0, 0xE0));
}

TEST_F(PaintWindowTest, PressAndDragWithThePrimaryButtonPaintBothSurfaces) {
    PictureBoxView* view = window.LargePicture();
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, viewPoint(15, 25));
    QTest::mouseMove(view, viewPoint(35, 25));
    QTest::mouseMove(view, viewPoint(40, 25));  // on a grid line: nothing
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, viewPoint(40, 25));
    QTest::mouseMove(view, viewPoint(55, 25));  // no button held: nothing

    const PictureBox& icon = canvas().SmallPicture;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const bool painted = y == 2 && (x == 1 || x == 3);
            ASSERT_EQ(icon.pixel(x, y).value(), painted ? kBlack : kWhite) << x << "," << y;
        }
    }
    const PictureBox& large = canvas().LargePicture;
    for (int y = 21; y <= 29; ++y) {
        for (int x = 0; x < 319; ++x) {
            const bool painted = x % 10 == 0 || (x >= 11 && x <= 19) || (x >= 31 && x <= 39);
            ASSERT_EQ(large.pixel(x, y).value(), painted ? kBlack : kWhite) << x << "," << y;
        }
    }
    // What the person sees: the widget shows the painted cell and the white one beside it.
    const QImage shown = view->grab().toImage();
    EXPECT_EQ(shown.pixelColor(viewPoint(15, 25)), QColor(Qt::black));
    EXPECT_EQ(shown.pixelColor(viewPoint(55, 25)), QColor(Qt::white));
}

TEST_F(PaintWindowTest, SecondaryButtonPaintsNothingAndPointerIsThePencil) {
    PictureBoxView* view = window.LargePicture();
    QTest::mousePress(view, Qt::RightButton, Qt::NoModifier, viewPoint(15, 15));
    QTest::mouseRelease(view, Qt::RightButton, Qt::NoModifier, viewPoint(15, 15));
    EXPECT_EQ(canvas().SmallPicture.pixel(1, 1).value(), kWhite);
    EXPECT_EQ(canvas().LargePicture.MousePointer(), 99);
    EXPECT_EQ(view->cursor().shape(), Qt::BitmapCursor) << "our own pencil";
}

TEST(ButtonValueTest, MapsQtButtonsToTheirSums) {
    EXPECT_EQ(buttonValue(Qt::LeftButton), 1);
    EXPECT_EQ(buttonValue(Qt::RightButton), 2);
    EXPECT_EQ(buttonValue(Qt::MiddleButton), 4);
    EXPECT_EQ(buttonValue(Qt::LeftButton | Qt::RightButton), 3);
    EXPECT_EQ(buttonValue(Qt::NoButton), 0);
}

}  // namespace
}  // namespace mosaikon
