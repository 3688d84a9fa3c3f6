// The editor started in a private X server, with an in-process model of its canvas that every
// step is replayed on, and the helpers the end-to-end tests drive it with.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

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

class EditorSession : public ::testing::Test {
protected:
    void SetUp() override {
        work = fs::temp_directory_path() / ("mosaikon-e2e-" + std::to_string(getpid()));
        fs::remove_all(work);
        fs::create_directories(work);
        model.Form_Load();
        x.startProgram(MOSAIKON_PROGRAM, work.string(), programArguments());
        ASSERT_TRUE(X11Session::waitUntil([&] { return findMainWindow(); }, 15s)) << "no window";
    }
    void TearDown() override { fs::remove_all(work); }
    // What the program is started with after its name: nothing, unless a test says otherwise.
    virtual std::vector<std::string> programArguments() const { return {}; }

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

    // Waits for a window other than the main one that `wanted` accepts and rests the pointer on
    // it until it holds the keyboard focus, so that no key goes astray on a busy machine; one
    // still closing is passed over. False when none took the focus within the time.
    bool focusOther(const std::function<bool(const TopLevel&)>& wanted, TopLevel& found) {
        return X11Session::waitUntil(
            [&] {
                for (const TopLevel& top : others()) {
                    if (!wanted(top)) continue;
                    x.moveTo(top.geometry.x + top.geometry.width / 2, top.geometry.y + 10);
                    if (x.focusedTopLevel() == top.id) {
                        found = top;
                        return true;
                    }
                }
                return false;
            },
            8s);
    }
    static bool wide(const TopLevel& top) { return top.geometry.width > 200; }

    // Types a path into the file dialog that is about to appear and confirms it, once the
    // dialog holds the keyboard focus.
    void answerFileDialog(const std::string& path) {
        TopLevel dialog;
        ASSERT_TRUE(focusOther(wide, dialog)) << "no file dialog took the keyboard focus";
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
    CommonDialog modelDialog;  // the model's commands are given their paths
    FileCommands modelFiles{model, modelDialog};
};

}  // namespace
}  // namespace mosaikon::e2e
