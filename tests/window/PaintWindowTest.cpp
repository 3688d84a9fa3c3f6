// Painting through the window with real mouse events on the magnified view.
#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QTest>

#include "controls/PictureBoxView.h"
#include "mainwindow/frmEditIcon.h"

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

// Widget positions on and just inside the view's 1-pixel border: the border lies at widget
// column and row 0 and 320, which the drawing area would see as -1 and 319.
struct BorderPress {
    const char* where;
    QPoint widgetPoint;
    bool reachesTheTool;
};

constexpr BorderPress kBorderPresses[] = {
    {"left border", {0, 16}, false},         {"right border", {320, 16}, false},
    {"top border", {16, 0}, false},          {"bottom border", {16, 320}, false},
    {"top-right corner", {320, 0}, false},  // (0, 0) would mean the centre to QTest
    {"bottom-left corner", {0, 320}, false}, {"bottom-right corner", {320, 320}, false},
    {"first drawing column", {1, 16}, true}, {"last drawing column", {319, 16}, true},
    {"last drawing row", {16, 319}, true},
};

TEST_F(PaintWindowTest, APressOnTheBorderReachesNeitherTool) {
    for (const std::int16_t tool : {pointers::kPencil, pointers::kUpArrow}) {
        for (const BorderPress& press : kBorderPresses) {
            SCOPED_TRACE(::testing::Message() << press.where << ", tool " << tool);
            canvas().New_Icon();
            canvas().state.CurrentColor = Colour(0x0000FF);
            canvas().LargePicture.setMousePointer(tool);
            const auto largeBefore = canvas().LargePicture.pixels();
            const auto smallBefore = canvas().SmallPicture.pixels();
            int presses = 0;
            const auto counter = QObject::connect(window.LargePicture(), &PictureBoxView::mouseDown,
                                                  [&presses] { ++presses; });
            QTest::mouseClick(window.LargePicture(), Qt::LeftButton, Qt::NoModifier,
                              press.widgetPoint);
            QObject::disconnect(counter);

            EXPECT_EQ(presses, press.reachesTheTool ? 1 : 0);
            if (!press.reachesTheTool) {
                EXPECT_EQ(canvas().LargePicture.MousePointer(), tool);
                EXPECT_EQ(canvas().LargePicture.pixels(), largeBefore);
                EXPECT_EQ(canvas().SmallPicture.pixels(), smallBefore);
            }
        }
    }
}

TEST_F(PaintWindowTest, ADragFromTheBorderPaintsTheCellsItMovesOver) {
    PictureBoxView* view = window.LargePicture();
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, QPoint(320, 16));
    EXPECT_EQ(canvas().SmallPicture.pixel(31, 1).value(), kWhite) << "the press paints nothing";
    QTest::mouseMove(view, QPoint(320, 26));  // on the border: X 319 still hits the last cell
    QTest::mouseMove(view, viewPoint(305, 25));
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, viewPoint(305, 25));
    EXPECT_EQ(canvas().SmallPicture.pixel(31, 2).value(), kBlack);
    EXPECT_EQ(canvas().SmallPicture.pixel(30, 2).value(), kBlack);
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
