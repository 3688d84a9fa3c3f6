// The icon comes back in a new editor after the last one was killed, and after it was ended
// with Ctrl+Q straight after a change.
#include <csignal>

#include "EditorSessionFixture.h"

namespace mosaikon::e2e {
namespace {

class RestoreSession : public EditorSession {
protected:
    void paintCell(int column, int row) {
        clickCell(column, row);
        model.LargePicture_MouseDown(1, 0, static_cast<float>(10 * column + 5),
                                     static_cast<float>(10 * row + 5));
    }

    // Starts the editor again in the same home, so with the same state folder.
    void startAgain() {
        x.startProgram(MOSAIKON_PROGRAM, work.string());
        ASSERT_TRUE(X11Session::waitUntil([&] { return findMainWindow(); }, 15s)) << "no window";
    }

    // What a restore shows: the icon, its view drawn anew from it.
    void expectRestoredIcon(const std::string& step) {
        IconCanvas blank;
        blank.Form_Load();
        const Rect view{origin.x + kViewLeft, origin.y + kViewTop, 319, 319};
        std::vector<std::uint32_t> start;
        for (std::uint32_t p : blank.LargePicture.pixels()) start.push_back(toRgb(p));
        X11Session::waitUntil([&] { return x.grab(view) == start; }, 5s);
        expectSame(x.grab(view), start, 319, "the start-up screen is unchanged");
        // Without a window manager the keyboard reaches a window once it has been clicked: the
        // status line, whose clicks do nothing.
        clickAt(400, 388);
        x.chord({"Control_L", "Shift_L", "r"});
        model.SmallPicture.setPicture(model.SmallPicture.Image());
        model.rebuildView();
        expectScreenShowsModel(step);
    }
};

TEST_F(RestoreSession, AfterAKillAndAfterCtrlQTheIconComesBackByRestore) {
    paintCell(1, 1);
    paintCell(3, 2);
    expectScreenShowsModel("painted");
    std::this_thread::sleep_for(1500ms);  // the copy is at most a second behind
    x.signalProgram(SIGKILL);
    ASSERT_TRUE(x.waitForExit(5s));

    startAgain();
    expectRestoredIcon("restored after the kill");

    paintCell(6, 6);
    expectScreenShowsModel("painted after the restore");
    x.chord({"Control_L", "q"});  // at once: the last copy is written as the window closes
    ASSERT_TRUE(x.waitForExit(5s)) << "Ctrl+Q ends the editor";

    startAgain();
    expectRestoredIcon("restored after Ctrl+Q");
}

}  // namespace
}  // namespace mosaikon::e2e
