// Every control of the main window: place, size, container, stacking and stored look.
#include <QIcon>

#include "WindowTestSupport.h"
#include "controls/ClickableLabel.h"
#include "controls/PictureBoxView.h"

namespace mosaikon::test {
namespace {

struct Placement {
    const char* name;
    const char* container;
    QRect geometry;
    bool visible;
};

const Placement kPlacements[] = {
    {"Pic", "", {600, 96, 79, 271}, true},
    {"Picture1", "", {824, 432, 505, 41}, false},
    {"Picture2", "", {192, 48, 73, 321}, true},
    {"LargePicture", "", {272, 48, 321, 321}, true},
    {"Toolbar1", "", {192, 8, 505, 22}, true},
    {"Image3", "", {80, 384, 94, 41}, true},
    {"Label7", "", {56, 208, 65, 97}, true},
    {"Label6", "", {8, 352, 169, 49}, true},
    {"Pallet2", "", {600, 48, 81, 41}, true},
    {"Label4", "", {8, 16, 169, 17}, true},
    {"Label3", "", {192, 408, 297, 17}, true},
    {"Image2", "", {8, 56, 159, 129}, true},
    {"lblStatusBar", "", {192, 376, 489, 25}, true},
    {"Label2", "", {-64, 0, 241, 441}, true},
    {"SmallPicture", "Picture2", {16, 8, 32, 32}, true},
    {"Image1", "Picture2", {32, 2560, 32, 32}, false},
    {"Pallet", "Picture2", {0, 256, 73, 55}, true},
    {"Label5", "Picture2", {0, 248, 73, 73}, true},
    {"Label1", "Picture1", {16, 8, 233, 25}, false},
};

using LayoutTest = ShownWindowTest;

TEST_F(LayoutTest, EveryControlHasItsPlaceSizeAndContainer) {
    for (const Placement& p : kPlacements) {
        QWidget* widget = control(p.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->geometry(), p.geometry) << p.name;
        const QWidget* expectedParent =
            *p.container == '\0' ? static_cast<QWidget*>(&window) : control(p.container);
        EXPECT_EQ(widget->parentWidget(), expectedParent) << p.name;
        EXPECT_EQ(widget->isVisibleTo(&window), p.visible) << p.name;
    }
}

TEST_F(LayoutTest, SwatchesLieInThreeColumnsAndFiveRowsWithTheSixteenthBelow) {
    for (int i = 0; i < 16; ++i) {
        const QRect expected =
            i < 15 ? QRect(24 * (i % 3), 64 + 24 * (i / 3), 23, 23) : QRect(0, 184, 23, 23);
        ClickableLabel* swatch = window.lblColor(i);
        EXPECT_EQ(swatch->geometry(), expected) << i;
        EXPECT_EQ(swatch->parentWidget(), control("Picture2")) << i;
        EXPECT_EQ(swatch->frameShape(), QFrame::Box) << "flat single-line border";
        EXPECT_EQ(swatch->lineWidth(), 1);
        EXPECT_TRUE(swatch->text().isEmpty());
    }
}

// Window children are listed from the bottom of the stacking order upwards.
TEST_F(LayoutTest, StackingOrderFromTopToBottom) {
    const char* topDown[] = {"Pic",    "Picture1", "Picture2",     "LargePicture", "Toolbar1",
                             "Image3", "Label7",   "Label6",       "Pallet2",      "Label4",
                             "Label3", "Image2",   "lblStatusBar", "Label2"};
    const QObjectList& children = window.children();
    qsizetype above = children.size();
    for (const char* name : topDown) {
        const qsizetype position = children.indexOf(control(name));
        ASSERT_GE(position, 0) << name;
        EXPECT_LT(position, above) << name << " lies under the control listed before it";
        above = position;
    }
    // Where controls overlap, the one above takes the mouse.
    EXPECT_EQ(window.childAt(120, 392), control("Image3")) << "arrow over the invitation text";
    EXPECT_EQ(window.childAt(20, 20), control("Label4"));
    EXPECT_EQ(window.childAt(4, 4), control("Label2"));
    EXPECT_EQ(window.childAt(192 + 30, 48 + 280), control("Pallet")) << "Pallet over its frame";
    EXPECT_EQ(window.childAt(192 + 30, 48 + 250), control("Label5"));
}

TEST_F(LayoutTest, LeftColumnIsWhiteUpToX176AndTheToolbarIsClippedAtTheRightEdge) {
    const QImage shown = window.grab().toImage();
    ASSERT_EQ(shown.size() / shown.devicePixelRatio(), QSize(689, 433));
    for (const int y : {0, 5, 200, 432}) {
        EXPECT_EQ(shown.pixelColor(0, y), QColor(Qt::white)) << y;
        EXPECT_EQ(shown.pixelColor(176, y), QColor(Qt::white)) << y;
        EXPECT_EQ(shown.pixelColor(177, y), rgbColour(0xE0E0E0)) << y;
        EXPECT_EQ(shown.pixelColor(191, y), rgbColour(0xE0E0E0)) << y;
    }
    EXPECT_GT(control("Toolbar1")->geometry().right(), window.width() - 1);
}

TEST_F(LayoutTest, LabelsHaveTheirCaptionsColoursAndFonts) {
    auto* label4 = control<QLabel>("Label4");
    EXPECT_EQ(label4->text(), QStringLiteral("Freeware from"));
    EXPECT_EQ(label4->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(label4->font().family(), QStringLiteral("Arial"));
    EXPECT_EQ(label4->font().pixelSize(), 13) << "9.75 pt at 96 dpi";
    EXPECT_FALSE(label4->autoFillBackground()) << "transparent";

    auto* label6 = control<QLabel>("Label6");
    EXPECT_EQ(label6->text(),
              QStringLiteral("Visit us for more free tools and unique entertainment."));
    EXPECT_TRUE(label6->wordWrap());
    EXPECT_EQ(label6->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_FALSE(label6->autoFillBackground());

    auto* label7 = control<QLabel>("Label7");
    EXPECT_EQ(label7->text(), QStringLiteral("*"));
    EXPECT_EQ(label7->font().family(), QStringLiteral("Arial Black"));
    EXPECT_EQ(label7->font().pixelSize(), 96) << "72 pt";
    EXPECT_FALSE(label7->autoFillBackground());

    auto* label3 = control<QLabel>("Label3");
    EXPECT_EQ(label3->text(), QStringLiteral("https://mosaikon.example.org/"));
    EXPECT_EQ(label3->font().family(), QStringLiteral("Verdana"));
    EXPECT_TRUE(label3->font().bold());
    EXPECT_TRUE(label3->font().underline());
    EXPECT_EQ(label3->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(label3->cursor().shape(), Qt::CrossCursor);
    EXPECT_FALSE(label3->autoFillBackground());

    auto* status = control<QLabel>("lblStatusBar");
    EXPECT_TRUE(status->text().isEmpty());
    EXPECT_EQ(shownBackground(status), QColor(0x8D, 0xAF, 0xC7)) << "steel blue";
    EXPECT_EQ(status->palette().color(QPalette::WindowText), QColor(Qt::white))
        << "selected-text colour";
    EXPECT_TRUE(status->font().bold());
    EXPECT_EQ(status->font().family(), QStringLiteral("Arial"));

    EXPECT_EQ(shownBackground(control("Label2")), QColor(Qt::white));
    EXPECT_TRUE(control("Label2")->autoFillBackground()) << "opaque";
    EXPECT_EQ(shownBackground(control("Picture2")), rgbColour(0xE0E0E0));
    auto* label5 = control<QLabel>("Label5");
    EXPECT_EQ(shownBackground(label5), QColor(Qt::white)) << "window-background system colour";
    EXPECT_EQ(label5->frameShape(), QFrame::Box);
    EXPECT_EQ(control<QLabel>("Pallet")->frameShape(), QFrame::NoFrame);
    EXPECT_EQ(control<QLabel>("Pallet2")->frameShape(), QFrame::NoFrame);

    auto* label1 = control<QLabel>("Label1");
    EXPECT_EQ(label1->text(), QStringLiteral("Pixmora Icon Editor"));
    EXPECT_EQ(label1->font().pixelSize(), 16) << "12 pt";
    EXPECT_TRUE(label1->font().bold());
}

TEST_F(LayoutTest, PicturesAndWindowIconAreOurs) {
    auto* logo = control<QLabel>("Image2");
    ASSERT_FALSE(logo->pixmap().isNull());
    EXPECT_EQ(logo->pixmap().deviceIndependentSize().toSize(), QSize(159, 129));
    EXPECT_EQ(logo->cursor().shape(), Qt::ArrowCursor);
    auto* arrow = control<QLabel>("Image3");
    ASSERT_FALSE(arrow->pixmap().isNull());
    EXPECT_EQ(arrow->pixmap().deviceIndependentSize().toSize(), QSize(94, 41));
    // The arrow is black where its horizontal stroke runs and clear above it.
    const QImage arrowImage = arrow->pixmap().toImage();
    const qreal scale = arrowImage.devicePixelRatio();
    EXPECT_EQ(arrowImage.pixelColor(QPoint(50, 32) * scale), QColor(Qt::black));
    EXPECT_EQ(arrowImage.pixelColor(QPoint(50, 5) * scale).alpha(), 0);

    const QIcon icon = window.windowIcon();
    ASSERT_FALSE(icon.isNull());
    // The title bar and task switcher sizes; larger ones come from the installed icon theme.
    for (const int size : {16, 32, 48}) {
        EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size))) << size;
    }
    // The stars are blue: the centre of the 32-pixel image is mostly blue.
    const QColor centre = icon.pixmap(QSize(32, 32), 1.0).toImage().pixelColor(12, 13);
    EXPECT_GT(centre.blue(), centre.red() + 60);
}

TEST_F(LayoutTest, SurfacesAreShownPixelForPixelAtTwiceTheScale) {
    // What a display at scale 2 gets: every surface pixel as a 2 × 2 block, grid lines whole.
    auto* view = window.LargePicture();
    QPixmap shown(view->size() * 2);
    shown.setDevicePixelRatio(2.0);
    view->render(&shown);
    const QImage image = shown.toImage();
    for (int x = 0; x < 2 * 321; ++x) {
        const int surfaceX = x / 2 - 1;
        const QColor expected = surfaceX < 0 || surfaceX > 318 || surfaceX % 10 == 0
                                    ? QColor(Qt::black)
                                    : QColor(Qt::white);
        ASSERT_EQ(image.pixelColor(x, 2 * 15), expected) << "device column " << x;
    }
}

}  // namespace
}  // namespace mosaikon::test
