// One whole editing session in the real program under a private X server: real pointer and
// key events in, screen pixels out. Every step is replayed on an in-process model of the
// canvas, and the screen's view and icon must match the model pixel for pixel.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "FileCommands.h"
#include "IconCanvas.h"
#include "PictureFiles.h"
#include "X11Session.h"

namespace mosaikon::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Window-relative places of the controls.
constexpr int kViewLeft = 273, kViewTop = 49;  // the view's drawing area, inside its border
constexpr int kIconLeft = 208, kIconTop = 56;  // the icon at real size
constexpr int kToolbarY = 19;                  // middle of the toolbar buttons
constexpr int kOpenArrow = 229, kSaveArrow = 288, kNew = 247, kPaint = 314, kChange = 337;
constexpr int kLeft = 368, kDown = 391, kUp = 414, kRight = 437, kFlipH = 468, kFlipV = 491;
constexpr int kRotate = 522, kClear = 545, kExit = 568, kExtract = 591;

std::uint32_t toRgb(std::uint32_t plain) {  // 0x00BBGGRR → 0xRRGGBB
    return ((plain & 0xFF) << 16) | (plain & 0xFF00) | ((plain >> 16) & 0xFF);
}

class NullDialogHost final : public DialogHost {
public:
    std::string run(const DialogRequest&) override { return {}; }
};

class EditorSession : public ::testing::Test {
protected:
    void SetUp() override {
        work = fs::temp_directory_path() / ("mosaikon-e2e-" + std::to_string(getpid()));
        fs::remove_all(work);
        fs::create_directories(work);
        model.Form_Load();
        x.startProgram(MOSAIKON_PROGRAM, work.string());
        ASSERT_TRUE(X11Session::waitUntil([&] { return findMainWindow(); }, 15s)) << "no window";
    }
    void TearDown() override { fs::remove_all(work); }

    bool findMainWindow() {
        for (const TopLevel& top : x.topLevels()) {
            if (top.name == "Mosaikon" && top.geometry.width == 689 && top.geometry.height == 433) {
                origin = top.geometry;
                mainWindow = top.id;
                return true;
            }
        }
        return false;
    }

    // Top-level windows other than the main one (dialogs, message boxes, menus).
    std::vector<TopLevel> others() {
        std::vector<TopLevel> result;
        for (const TopLevel& top : x.topLevels()) {
            if (!(top.name == "Mosaikon" && top.geometry.width == 689 &&
                  top.geometry.height == 433)) {
                result.push_back(top);
            }
        }
        return result;
    }

    void clickAt(int windowX, int windowY, int button = 1) {
        x.click(origin.x + windowX, origin.y + windowY, button);
    }
    void clickCell(int column, int row, int button = 1) {
        clickAt(kViewLeft + 10 * column + 5, kViewTop + 10 * row + 5, button);
    }
    void clickSwatch(int index) {
        clickAt(192 + 24 * (index % 3) + 11, 48 + 64 + 24 * (index / 3) + 11);
    }

    std::vector<std::uint32_t> expectedView() {
        std::vector<std::uint32_t> rgb;
        for (std::uint32_t p : model.LargePicture.pixels()) rgb.push_back(toRgb(p));
        return rgb;
    }
    std::vector<std::uint32_t> expectedIcon() {
        std::vector<std::uint32_t> rgb;
        for (std::uint32_t p : model.SmallPicture.pixels()) rgb.push_back(toRgb(p));
        return rgb;
    }

    // Waits for the screen to show the model, then checks it pixel by pixel.
    void expectScreenShowsModel(const std::string& step) {
        SCOPED_TRACE(step);
        const Rect view{origin.x + kViewLeft, origin.y + kViewTop, 319, 319};
        const Rect icon{origin.x + kIconLeft, origin.y + kIconTop, 32, 32};
        const auto wantView = expectedView();
        const auto wantIcon = expectedIcon();
        X11Session::waitUntil([&] { return x.grab(view) == wantView && x.grab(icon) == wantIcon; },
                              5s);
        expectSame(x.grab(view), wantView, 319, "view");
        expectSame(x.grab(icon), wantIcon, 32, "icon surface");
    }

    static void expectSame(const std::vector<std::uint32_t>& got,
                           const std::vector<std::uint32_t>& want, std::size_t width,
                           const char* what) {
        ASSERT_EQ(got.size(), want.size()) << what;
        std::size_t differing = 0;
        for (std::size_t i = 0; i < got.size(); ++i) {
            if (got[i] != want[i] && differing++ == 0) {
                ADD_FAILURE() << what << " differs first at (" << i % width << ", " << i / width
                              << "): 0x" << std::hex << got[i] << " instead of 0x" << want[i];
            }
        }
        EXPECT_EQ(differing, 0u) << what << ": pixels differing";
    }

    // Opens the drop-down menu of the button whose arrow is at `arrowX` and clicks its first item.
    void chooseFirstMenuItem(int arrowX) {
        clickAt(arrowX, kToolbarY);
        TopLevel menu;
        ASSERT_TRUE(X11Session::waitUntil(
            [&] {
                for (const TopLevel& top : others()) {
                    menu = top;
                    return true;
                }
                return false;
            },
            5s))
            << "no menu";
        // The first item fills the top of the menu below its small margin.
        x.click(menu.geometry.x + menu.geometry.width / 2, menu.geometry.y + 10);
    }

    // Types a path into the file dialog that is about to appear and confirms it, once the
    // dialog holds the keyboard focus, so that no key goes astray on a busy machine.
    void answerFileDialog(const std::string& path) {
        TopLevel dialog;
        ASSERT_TRUE(X11Session::waitUntil(
            [&] {
                for (const TopLevel& top : others()) {
                    if (top.geometry.width > 200) {
                        dialog = top;
                        return true;
                    }
                }
                return false;
            },
            8s))
            << "no file dialog";
        x.moveTo(dialog.geometry.x + dialog.geometry.width / 2, dialog.geometry.y + 10);
        ASSERT_TRUE(X11Session::waitUntil([&] { return x.focusedTopLevel() == dialog.id; }, 8s))
            << "the file dialog never took the keyboard focus";
        x.type(path);
        // The name field may be showing its completion list, which takes a Return of its own
        // and closes; the dialog then needs another. Only the dialog itself is watched: what
        // its answer opens (a message box) must not be answered here.
        const auto dialogOpen = [&] {
            for (const TopLevel& top : x.topLevels()) {
                if (top.id == dialog.id) return true;
            }
            return false;
        };
        for (int attempt = 0; attempt < 3 && dialogOpen(); ++attempt) {
            if (x.focusedTopLevel() == dialog.id) x.key("Return");
            X11Session::waitUntil([&] { return !dialogOpen(); }, 3s);
        }
        ASSERT_FALSE(dialogOpen()) << "dialog stays open";
    }

    fs::path work;
    X11Session x;
    Rect origin;
    unsigned long mainWindow = 0;
    IconCanvas model;
    NullDialogHost nullHost;
    CommonDialog modelDialog{nullHost};
    FileCommands modelFiles{model, modelDialog};
};

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
    ASSERT_TRUE(X11Session::waitUntil(
        [&] {
            for (const TopLevel& top : others()) {
                if (top.name == "Mosaikon") {
                    messageBox = top;
                    return true;
                }
            }
            return false;
        },
        5s))
        << "no message box";
    x.moveTo(messageBox.geometry.x + messageBox.geometry.width / 2, messageBox.geometry.y + 5);
    ASSERT_TRUE(X11Session::waitUntil([&] { return x.focusedTopLevel() == messageBox.id; }, 8s))
        << "the message box never took the keyboard focus";
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
