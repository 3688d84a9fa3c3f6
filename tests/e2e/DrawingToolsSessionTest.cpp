// The drawing tools in the real program under a private X server: every tool drawn with real
// pointer and key events, each step replayed on an in-process canvas, the screen compared with
// it pixel by pixel; a shape being dragged shows over the view and nowhere in the icon.
#include "EditorSessionFixture.h"
#include "ToolSession.h"

namespace mosaikon::e2e {
namespace {

class DrawingToolsSession : public EditorSession {
protected:
    std::pair<int, int> cellOnScreen(grid::Cell cell) {
        return {origin.x + kViewLeft + 10 * cell.column + 5,
                origin.y + kViewTop + 10 * cell.row + 5};
    }
    void pressAt(grid::Cell cell) {
        const auto [sx, sy] = cellOnScreen(cell);
        x.moveTo(sx, sy);
        x.press(1);
    }
    void moveToCell(grid::Cell cell) {
        const auto [sx, sy] = cellOnScreen(cell);
        x.moveTo(sx, sy);
    }
    void releaseAt(grid::Cell cell) {
        moveToCell(cell);
        x.release(1);
    }
    // A drag on screen and the same on the model.
    void drag(grid::Cell from, grid::Cell to) {
        pressAt(from);
        moveToCell({(from.column + to.column) / 2, (from.row + to.row) / 2});
        releaseAt(to);
        model.toolPress(from, MouseButton::Primary);
        model.toolMove(to);
        model.toolRelease(to);
    }
};

TEST_F(DrawingToolsSession, EveryToolDrawsWhatTheCanvasDraws) {
    clickAt(184, 200);  // the window's background takes the keyboard focus
    ASSERT_TRUE(X11Session::waitUntil([&] { return x.focusedTopLevel() == mainWindow; }, 8s));
    const struct {
        std::vector<std::string> keys;
        Tool tool;
        grid::Cell from, to;
    } shapes[] = {
        {{"l"}, Tool::Line, {1, 1}, {14, 9}},
        {{"u"}, Tool::Rectangle, {16, 1}, {30, 8}},
        {{"Shift_L", "u"}, Tool::FilledRectangle, {2, 12}, {6, 15}},
        {{"o"}, Tool::Ellipse, {9, 11}, {20, 19}},
        {{"Shift_L", "o"}, Tool::FilledEllipse, {22, 11}, {29, 17}},
        {{"e"}, Tool::Eraser, {16, 1}, {30, 1}},
    };
    for (const auto& shape : shapes) {
        x.chord(shape.keys);
        model.selectTool(shape.tool);
        drag(shape.from, shape.to);
        expectScreenShowsModel(shape.keys.back());
    }

    // A rectangle held mid-drag shows its cells over the view; the icon has none of them.
    x.key("u");
    model.selectTool(Tool::Rectangle);
    pressAt({3, 22});
    moveToCell({12, 28});
    IconCanvas preview = model;
    preview.toolPress({3, 22}, MouseButton::Primary);
    preview.toolMove({12, 28});
    for (const grid::Cell& cell : preview.preview().cells) {
        const grid::ViewRect interior = grid::cellInterior(cell);
        preview.LargePicture.Line(interior.left, interior.top, interior.right, interior.bottom,
                                  preview.preview().colour, LineShape::FilledBox);
    }
    {
        const IconCanvas drawn = model;
        model.LargePicture = preview.LargePicture;
        expectScreenShowsModel("a rectangle previewed over the view, not in the icon");
        model = drawn;
    }
    x.key("Escape");
    x.release(1);
    expectScreenShowsModel("Escape dropped the rectangle");

    clickSwatch(13);  // red
    model.state.CurrentColor = Colour(0x0000FF);
    x.key("g");
    model.selectTool(Tool::Fill);
    clickCell(14, 15);  // inside the ellipse's closed outline
    model.toolPress({14, 15}, MouseButton::Primary);
    model.toolRelease({14, 15});
    expectScreenShowsModel("fill");

    clickSwatch(4);  // blue
    model.state.CurrentColor = Colour(0xFF0000);
    x.chord({"Shift_L", "h"});
    x.key("p");
    model.setMirroring(Mirroring::On);
    model.selectTool(Tool::Paint);
    clickCell(3, 30);
    model.LargePicture_MouseDown(1, 0, 35, 305);
    expectScreenShowsModel("mirrored paint");

    x.key("m");
    model.selectTool(Tool::Select);
    drag({1, 11}, {7, 16});
    drag({3, 13}, {13, 24});  // moves the selection by (10, 11)
    x.key("Return");          // put down, its outline goes
    model.putDownSelection();
    expectScreenShowsModel("a selection moved and put down");
    x.chord({"Control_L", "q"});
    EXPECT_TRUE(x.waitForExit(5s));
}

}  // namespace
}  // namespace mosaikon::e2e
