// The preview window: opened with F3, not at start; drawn again after every change of the
// icon and only then; the editor's keys work while it has the focus.
#include <gtest/gtest.h>

#include <QLabel>

#include "WindowTestSupport.h"
#include "commands/EditCommands.h"
#include "controls/PictureBoxView.h"
#include "preview/PreviewWindow.h"

namespace mosaikon {
namespace {

using test::ShownWindowTest;

class PreviewWindowTest : public ShownWindowTest {
protected:
    IconCanvas& canvas() { return window.canvas(); }
    EditCommands& commands() { return window.editCommands(); }
    PictureBoxView* grid() { return window.LargePicture(); }
    std::uint32_t shownAt(PreviewBackground background, int x, int y) {
        const PixelArea area = PreviewSheet::areaOf(background, PreviewColumn::Actual);
        return commands()
            .previewWindow()
            ->sheet()
            .sheet()
            .pixel(area.left + x, area.top + y)
            .value();
    }
};

TEST_F(PreviewWindowTest, F3OpensItAndItFollowsEveryChangeOfTheIcon) {
    EXPECT_EQ(commands().previewWindow(), nullptr) << "not shown at start";
    QTest::keyClick(grid(), Qt::Key_F3);
    PreviewWindow* preview = commands().previewWindow();
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->isVisible());
    EXPECT_FALSE(preview->isModal());
    EXPECT_EQ(preview->parentWidget(), &window);
    const auto* picture = preview->findChild<QLabel*>(QStringLiteral("PreviewSheet"));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->pixmap().width(), preview->sheet().sheet().widthPixels());
    EXPECT_EQ(shownAt(PreviewBackground::Black, 0, 0), 0u) << "a new icon is clear";

    // A soft pixel taken in, then a red one painted through the grid: both show at once.
    commands().runStep([&] {
        canvas().takePicture(
            Picture::fromPixels(PictureKind::Icon, 2, 1, {makePixel(Colour(0xFF0000), 128), 0}));
    });
    EXPECT_EQ(shownAt(PreviewBackground::Black, 0, 0), 0x800000u);
    canvas().state.CurrentColor = Colour(0x0000FF);
    QTest::mouseClick(grid(), Qt::LeftButton, {}, QPoint(16, 6));
    EXPECT_EQ(shownAt(PreviewBackground::DarkGrey, 1, 0), 0x0000FFu);

    // A handler that changes nothing draws nothing.
    const int draws = preview->drawCount();
    QTest::mouseMove(grid(), QPoint(100, 100));
    commands().runStep([] {});
    EXPECT_EQ(preview->drawCount(), draws);

    // The editor's keys work while the preview has the focus: undo takes the paint back.
    QTest::keyClick(preview, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(shownAt(PreviewBackground::DarkGrey, 1, 0), 0x404040u);
    EXPECT_EQ(commands().action(EditorCommand::PreviewWindow)->shortcut(),
              QKeySequence(Qt::Key_F3));
}

}  // namespace
}  // namespace mosaikon
