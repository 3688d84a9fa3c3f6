// The drawing tools through the window: their keys, real mouse drags on the grid with their
// previews, Escape, the selection's keys, the cell cursor and the tools window.
#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QToolButton>

#include "WindowTestSupport.h"
#include "commands/EditCommands.h"
#include "controls/PictureBoxView.h"
#include "tools/ToolOverlay.h"
#include "tools/ToolsWindow.h"

namespace mosaikon {
namespace {

using test::ShownWindowTest;
constexpr Colour kRed{0x0000FF};

class DrawingToolsWindowTest : public ShownWindowTest {
protected:
    void SetUp() override {
        ShownWindowTest::SetUp();
        canvas().state.CurrentColor = kRed;
    }
    IconCanvas& canvas() { return window.canvas(); }
    EditCommands& commands() { return window.editCommands(); }
    PictureBoxView* grid() { return window.LargePicture(); }
    static QPoint at(grid::Cell cell) { return {1 + 10 * cell.column + 5, 1 + 10 * cell.row + 5}; }
    void key(QKeyCombination combination) {
        QTest::keyClick(grid(), combination.key(), combination.keyboardModifiers());
    }
    void press(grid::Cell cell) { QTest::mousePress(grid(), Qt::LeftButton, {}, at(cell)); }
    void moveTo(grid::Cell cell, Qt::KeyboardModifiers modifiers = {}) {
        QMouseEvent move(QEvent::MouseMove, at(cell), grid()->mapToGlobal(at(cell)), Qt::NoButton,
                         Qt::LeftButton, modifiers);
        QApplication::sendEvent(grid(), &move);
    }
    void release(grid::Cell cell) { QTest::mouseRelease(grid(), Qt::LeftButton, {}, at(cell)); }
    void drag(grid::Cell from, grid::Cell to) {
        press(from);
        moveTo(to);
        release(to);
    }
    std::vector<std::uint32_t> icon() { return canvas().SmallPicture.pixels(); }
};

TEST_F(DrawingToolsWindowTest, KeysChooseTheToolsAndShiftedLettersNeverAlsoFireTheirPlainKey) {
    const std::pair<QKeyCombination, Tool> keys[] = {
        {QKeyCombination(Qt::Key_L), Tool::Line},
        {QKeyCombination(Qt::Key_U), Tool::Rectangle},
        {Qt::SHIFT | Qt::Key_U, Tool::FilledRectangle},
        {QKeyCombination(Qt::Key_O), Tool::Ellipse},
        {Qt::SHIFT | Qt::Key_O, Tool::FilledEllipse},
        {QKeyCombination(Qt::Key_G), Tool::Fill},
        {QKeyCombination(Qt::Key_E), Tool::Eraser},
        {QKeyCombination(Qt::Key_M), Tool::Select},
        {QKeyCombination(Qt::Key_P), Tool::Paint},
    };
    canvas().SmallPicture.PSet(0, 0, kRed);  // so that a flip would show
    canvas().rebuildView();
    window.runHandler([] {});
    const auto before = icon();
    const std::size_t steps = commands().history().undoCount();
    for (const auto& [combination, tool] : keys) {
        key(combination);
        EXPECT_EQ(canvas().activeTool(), tool)
            << QKeySequence(combination).toString().toStdString();
    }
    key(Qt::SHIFT | Qt::Key_H);
    EXPECT_EQ(canvas().mirroring(), Mirroring::On);
    EXPECT_EQ(icon(), before) << "Shift+H does not also flip";
    EXPECT_EQ(commands().history().undoCount(), steps) << "choosing tools and mirroring is no step";
    EXPECT_EQ(window.toolbar().Buttons(QStringLiteral("Paint")).Value, 1);
    key(Qt::SHIFT | Qt::Key_H);
    EXPECT_EQ(canvas().mirroring(), Mirroring::Off);
}

// A real drag draws what the canvas's own session draws for the same cells; while it lasts the
// shape shows only over the view, and each drag is one step.
TEST_F(DrawingToolsWindowTest, EachShapeDragMatchesTheCanvasPreviewsOverTheViewAndIsOneStep) {
    const std::pair<QKeyCombination, Tool> shapes[] = {
        {QKeyCombination(Qt::Key_L), Tool::Line},
        {QKeyCombination(Qt::Key_U), Tool::Rectangle},
        {Qt::SHIFT | Qt::Key_U, Tool::FilledRectangle},
        {QKeyCombination(Qt::Key_O), Tool::Ellipse},
        {Qt::SHIFT | Qt::Key_O, Tool::FilledEllipse},
    };
    const grid::Cell from{3, 4};
    const grid::Cell to{20, 13};
    for (const auto& [combination, tool] : shapes) {
        key(Qt::CTRL | Qt::Key_N);
        key(combination);
        IconCanvas model = canvas();
        model.toolPress(from, MouseButton::Primary);
        model.toolMove(to);
        const ShapePreview preview = model.preview();
        model.toolRelease(to);

        const auto before = canvas().LargePicture.pixels();
        const std::size_t steps = commands().history().undoCount();
        press(from);
        moveTo(to);
        EXPECT_EQ(canvas().LargePicture.pixels(), before) << "the preview is not in the view";
        EXPECT_EQ(window.toolOverlay()->shownPreview(), preview);
        EXPECT_TRUE(window.toolOverlay()->isVisible());
        release(to);
        EXPECT_EQ(canvas().SmallPicture.pixels(), model.SmallPicture.pixels());
        EXPECT_EQ(canvas().LargePicture.pixels(), model.LargePicture.pixels());
        EXPECT_TRUE(window.toolOverlay()->shownPreview().cells.empty());
        EXPECT_EQ(commands().history().undoCount(), steps + 1);
    }
    // Escape during a drag drops the shape; nothing is painted and no step is made.
    key(QKeyCombination(Qt::Key_L));
    const auto before = icon();
    press(from);
    moveTo(to);
    key(QKeyCombination(Qt::Key_Escape));
    release(to);
    EXPECT_EQ(icon(), before);
    EXPECT_FALSE(window.toolOverlay()->isVisible());
}

TEST_F(DrawingToolsWindowTest, FillEraserAndMirroredPaintThroughTheMouse) {
    key(QKeyCombination(Qt::Key_G));
    QTest::mouseClick(grid(), Qt::LeftButton, {}, at({7, 7}));
    EXPECT_EQ(icon(), std::vector<std::uint32_t>(32 * 32, kRed.value())) << "the whole white icon";
    key(QKeyCombination(Qt::Key_E));
    drag({0, 0}, {4, 0});
    for (int x = 0; x <= 5; ++x) {
        EXPECT_EQ(canvas().SmallPicture.pixel(x, 0).value(), x <= 4 ? 0xFFFFFFu : kRed.value());
    }
    key(QKeyCombination(Qt::Key_P));
    key(Qt::SHIFT | Qt::Key_H);
    QTest::mouseClick(grid(), Qt::LeftButton, {}, at({2, 9}));
    canvas().state.CurrentColor = Colour(0x00FF00);
    QTest::mouseClick(grid(), Qt::LeftButton, {}, at({2, 10}));
    EXPECT_EQ(canvas().SmallPicture.pixel(29, 10).value(), 0x00FF00u) << "mirrored";
    EXPECT_EQ(canvas().SmallPicture.pixel(2, 10).value(), 0x00FF00u);
}

TEST_F(DrawingToolsWindowTest, ASelectionMovesPutsDownAndTakesItsKeys) {
    canvas().SmallPicture.PSet(2, 2, kRed);
    canvas().SmallPicture.PSet(3, 2, Colour(0x00FF00));
    canvas().rebuildView();
    window.runHandler([] {});
    key(QKeyCombination(Qt::Key_M));
    drag({2, 2}, {3, 3});
    ASSERT_EQ(canvas().selectionRect(), (shapes::CellRect{2, 2, 2, 2}));
    EXPECT_TRUE(window.toolOverlay()->shownSelection().has_value());
    const std::size_t steps = commands().history().undoCount();
    drag({2, 2}, {12, 7});  // inside: moves by (10, 5)
    EXPECT_EQ(canvas().SmallPicture.pixel(12, 7), kRed);
    EXPECT_EQ(canvas().SmallPicture.pixel(2, 2).value(), 0xFFFFFFu) << "its old place is white";
    EXPECT_EQ(commands().history().undoCount(), steps + 1);
    key(QKeyCombination(Qt::Key_H));  // the selection alone
    EXPECT_EQ(canvas().SmallPicture.pixel(12, 7).value(), 0x00FF00u);
    EXPECT_EQ(canvas().SmallPicture.pixel(13, 7), kRed);
    key(Qt::CTRL | Qt::Key_Z);
    key(Qt::CTRL | Qt::Key_Z);
    EXPECT_EQ(canvas().selectionRect(), (shapes::CellRect{2, 2, 2, 2})) << "back before the move";
    EXPECT_EQ(canvas().SmallPicture.pixel(2, 2), kRed);
    key(QKeyCombination(Qt::Key_Delete));
    EXPECT_EQ(canvas().SmallPicture.pixel(2, 2).value(), 0xFFFFFFu);
    key(QKeyCombination(Qt::Key_Return));
    EXPECT_FALSE(canvas().selectionRect().has_value());
    EXPECT_FALSE(window.toolOverlay()->isVisible());
    // A toolbar flip works on the whole icon after putting a selection down.
    key(Qt::CTRL | Qt::Key_A);
    ASSERT_TRUE(canvas().selectionRect().has_value());
    canvas().SmallPicture.PSet(0, 5, kRed);
    canvas().rebuildView();
    window.runHandler([] {});
    window.toolbar().clickButton(window.toolbar().Buttons(QStringLiteral("flipHorizontal")).Index);
    EXPECT_FALSE(canvas().selectionRect().has_value());
    EXPECT_EQ(canvas().SmallPicture.pixel(31, 5), kRed);
}

TEST_F(DrawingToolsWindowTest, SpaceOnTheCellCursorStartsAndEndsAShape) {
    key(Qt::SHIFT | Qt::Key_U);
    grid()->setFocus();
    QTest::keyClick(grid(), Qt::Key_Space);
    for (int i = 0; i < 2; ++i) {
        QTest::keyClick(grid(), Qt::Key_Right);
        QTest::keyClick(grid(), Qt::Key_Down);
    }
    EXPECT_EQ(icon(), std::vector<std::uint32_t>(32 * 32, 0xFFFFFFu)) << "only a preview so far";
    EXPECT_EQ(window.toolOverlay()->shownPreview().cells.size(), 9u);
    QTest::keyClick(grid(), Qt::Key_Space);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(canvas().SmallPicture.pixel(x, y).value(),
                      x <= 2 && y <= 2 ? kRed.value() : 0xFFFFFFu);
        }
    }
}

TEST_F(DrawingToolsWindowTest, TheToolsWindowShowsTheStateAndItsButtonsAndTheKeysWork) {
    EXPECT_EQ(commands().toolsWindow(), nullptr) << "not shown at start";
    key(QKeyCombination(Qt::Key_T));
    ToolsWindow* tools = commands().toolsWindow();
    ASSERT_NE(tools, nullptr);
    EXPECT_TRUE(tools->isVisible());
    EXPECT_FALSE(tools->isModal());
    EXPECT_TRUE(tools->button(EditorCommand::PaintTool)->isChecked());
    tools->button(EditorCommand::EllipseTool)->click();
    EXPECT_EQ(canvas().activeTool(), Tool::Ellipse);
    EXPECT_TRUE(tools->button(EditorCommand::EllipseTool)->isChecked());
    EXPECT_FALSE(tools->button(EditorCommand::PaintTool)->isChecked());
    tools->button(EditorCommand::EllipseTool)->click();  // a second click keeps it chosen
    EXPECT_TRUE(tools->button(EditorCommand::EllipseTool)->isChecked());
    QTest::keyClick(tools, Qt::Key_H, Qt::ShiftModifier);  // the editor's keys work here
    EXPECT_EQ(canvas().mirroring(), Mirroring::On);
    EXPECT_TRUE(tools->button(EditorCommand::MirrorDrawing)->isChecked());
    QTest::keyClick(tools, Qt::Key_L);
    EXPECT_EQ(canvas().activeTool(), Tool::Line);
    EXPECT_TRUE(tools->button(EditorCommand::LineTool)->isChecked());
}

}  // namespace
}  // namespace mosaikon
