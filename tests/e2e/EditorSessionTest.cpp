// One whole editing session in the real program under a private X server: real pointer and
// key events in, screen pixels out. Every step is replayed on an in-process model of the
// canvas, and the screen's view and icon must match the model pixel for pixel.
#include "EditorSessionFixture.h"

namespace mosaikon::e2e {
namespace {

TEST_F(EditorSession, PaintTransformOpenSaveExtractAndSurviveABadFile) {
    expectScreenShowsModel("start-up");

    // Paint with black, then with swatches, then with a colour from the spectrum.
    clickCell(1, 1);
    model.LargePicture_MouseDown(1, 0, 15, 15);
    clickSwatch(13);  // red
    model.state.CurrentColor = Colour(0x0000FF);
    clickCell(2, 1);
    model.LargePicture_MouseDown(1, 0, 25, 15);
    clickSwatch(4);  // blue
    model.state.CurrentColor = Colour(0xFF0000);
    // A drag paints the cell under each move; each move is let through before the next, since
    // moves that pile up are merged into one.
    const auto dragTo = [&](int viewX, int viewY) {
        x.moveTo(origin.x + kViewLeft + viewX, origin.y + kViewTop + viewY);
        X11Session::waitUntil(
            [&] {
                return x.pixel(origin.x + kViewLeft + viewX, origin.y + kViewTop + viewY) ==
                       0x0000FF;
            },
            2s);
    };
    x.moveTo(origin.x + kViewLeft + 35, origin.y + kViewTop + 25);
    x.press(1);
    dragTo(45, 25);
    dragTo(55, 27);
    x.release(1);
    for (float cellX : {35.f, 45.f, 55.f}) model.LargePicture_MouseMove(1, 0, cellX, 25);
    const int pickX = 600 + 40, pickY = 96 + 30;
    const std::uint32_t picked = x.pixel(origin.x + pickX, origin.y + pickY);
    clickAt(pickX, pickY);
    model.state.CurrentColor = Colour(((picked & 0xFF) << 16) | (picked & 0xFF00) | (picked >> 16));
    clickCell(7, 7);
    model.LargePicture_MouseDown(1, 0, 75, 75);
    expectScreenShowsModel("painting with swatches and the spectrum");

    // Replace red with green through the Change tool.
    clickSwatch(1);
    model.state.CurrentColor = Colour(0x00FF00);
    clickAt(kChange, kToolbarY);
    clickCell(2, 1);
    model.LargePicture.setMousePointer(10);
    model.LargePicture_MouseDown(1, 0, 25, 15);
    expectScreenShowsModel("colour replaced");

    const std::pair<int, const char*> moves[] = {
        {kLeft, "left"}, {kDown, "down"}, {kUp, "up"}, {kRight, "right"}};
    for (const auto& [button, direction] : moves) {
        clickAt(button, kToolbarY);
        model.MoveIcon(direction);
        expectScreenShowsModel(std::string("move ") + direction);
    }
    clickAt(kFlipH, kToolbarY);
    model.FlipHorizontal();
    expectScreenShowsModel("flip horizontal");
    clickAt(kFlipV, kToolbarY);
    model.FlipVertical();
    expectScreenShowsModel("flip vertical");
    clickAt(kRotate, kToolbarY);
    model.Rotat_Icon();
    expectScreenShowsModel("rotate");
    clickAt(kClear, kToolbarY);
    model.ClearIcon();
    expectScreenShowsModel("clear");
    clickCell(4, 4);
    model.LargePicture_MouseDown(1, 0, 45, 45);
    clickAt(kNew, kToolbarY);
    model.New_Icon();
    expectScreenShowsModel("new");

    // Open an icon, paint on it and save it.
    const std::string icon = std::string(MOSAIKON_TEST_DATA) + "/pictures/gen/hand/bpp24.ico";
    chooseFirstMenuItem(kOpenArrow);
    answerFileDialog(icon);
    model.SmallPicture.setPicture(LoadPicture(icon));
    model.rebuildView();
    expectScreenShowsModel("icon opened");

    clickSwatch(0);  // white, which the saved file keeps transparent
    model.state.CurrentColor = Colour(0x80000005u);
    clickCell(0, 0);
    model.LargePicture_MouseDown(1, 0, 5, 5);
    const std::string saved = (work / "saved.ico").string();
    chooseFirstMenuItem(kSaveArrow);
    answerFileDialog(saved);
    ASSERT_TRUE(X11Session::waitUntil([&] { return fs::exists(saved); }, 5s));
    const Picture back = LoadPicture(saved);
    ASSERT_EQ(back.width(), 32);
    for (int py = 0; py < 32; ++py) {
        for (int px = 0; px < 32; ++px) {
            const std::uint32_t want = model.SmallPicture.pixel(px, py).value();
            const Pixel got = back.pixelAt(px, py);
            if (want == 0xFFFFFF) {
                ASSERT_EQ(pixelAlpha(got), 0) << px << "," << py;
            } else {
                ASSERT_EQ(got, 0xFF000000u | want) << px << "," << py;
            }
        }
    }

    // Take the icon out of a program file.
    const std::string program = std::string(MOSAIKON_TEST_DATA) + "/pe/pe32/hh.exe";
    clickAt(kExtract, kToolbarY);
    answerFileDialog(program);
    modelFiles.GetAppIcon(program);
    model.DrawGrid();
    expectScreenShowsModel("icon extracted");

    // A file that is no icon: a message box, and the icon stays as it was.
    const std::string bad = (work / "not-an-icon.ico").string();
    std::ofstream(bad) << "this is plain text, not an icon";
    chooseFirstMenuItem(kOpenArrow);
    answerFileDialog(bad);
    TopLevel messageBox;
    ASSERT_TRUE(focusOther([](const TopLevel& top) { return top.name == "Mosaikon"; }, messageBox))
        << "no message box took the keyboard focus";
    x.key("Return");
    ASSERT_TRUE(X11Session::waitUntil([&] { return others().empty(); }, 5s)) << "message box stays";
    expectScreenShowsModel("after the bad file");
    clickCell(9, 9);
    model.LargePicture_MouseDown(1, 0, 95, 95);
    expectScreenShowsModel("painting goes on after the bad file");

    clickAt(kExit, kToolbarY);
    EXPECT_TRUE(x.waitForExit(5s)) << "Exit ends the program";
}

TEST_F(EditorSession, KeysRunCommandsAndUndoRedoTakeThemBackAndBringThemBack) {
    clickAt(184, 200);  // the window's background: it takes the keyboard focus, nothing else
    ASSERT_TRUE(X11Session::waitUntil([&] { return x.focusedTopLevel() == mainWindow; }, 8s))
        << "the window never took the keyboard focus";
    clickCell(1, 1);
    clickCell(3, 2);
    model.LargePicture_MouseDown(1, 0, 15, 15);
    model.LargePicture_MouseDown(1, 0, 35, 25);
    std::vector<IconCanvas> steps{model};
    const std::pair<std::vector<std::string>, std::function<void()>> commands[] = {
        {{"Control_L", "Right"}, [&] { model.MoveIcon("right"); }},
        {{"h"}, [&] { model.FlipHorizontal(); }},
        {{"r"}, [&] { model.Rotat_Icon(); }},
        {{"Delete"}, [&] { model.ClearIcon(); }},
    };
    for (const auto& [keys, command] : commands) {
        x.chord(keys);
        command();
        expectScreenShowsModel(keys.back());
        steps.push_back(model);
    }
    x.chord({"Control_L", "z"});
    x.chord({"Control_L", "z"});
    model = steps[2];
    expectScreenShowsModel("two steps undone");
    x.chord({"Control_L", "y"});
    model = steps[3];
    expectScreenShowsModel("one redone with Ctrl+Y");
    x.chord({"Control_L", "Shift_L", "z"});
    model = steps[4];
    expectScreenShowsModel("one redone with Ctrl+Shift+Z");
    for (int undo = 0; undo < 4; ++undo) x.chord({"Control_L", "z"});
    model = steps[0];
    expectScreenShowsModel("back to the painted icon");

    clickCell(5, 5, 3);  // a right-click on the grid opens no menu; on the background it does
    EXPECT_FALSE(X11Session::waitUntil([&] { return !others().empty(); }, 500ms)) << "on the grid";
    clickAt(184, 200, 3);
    EXPECT_TRUE(X11Session::waitUntil([&] { return !others().empty(); }, 3s)) << "no menu";
    x.key("Escape");
    ASSERT_TRUE(X11Session::waitUntil([&] { return others().empty(); }, 3s)) << "menu stays";
    x.chord({"Control_L", "q"});
    EXPECT_TRUE(x.waitForExit(5s)) << "Ctrl+Q ends the program";
}

}  // namespace
}  // namespace mosaikon::e2e
