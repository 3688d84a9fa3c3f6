// Choosing which icon to take, in the real program: a program's second icon group chosen with
// the keyboard, then an icon file's first image.
#include "EditorSessionFixture.h"

namespace mosaikon::e2e {
namespace {

class ChoosingSession : public EditorSession {
protected:
    // Waits for the list of icons, then presses `keys` in it.
    void answerChooser(const std::vector<std::string>& keys) {
        TopLevel chooser;
        ASSERT_TRUE(focusOther(wide, chooser)) << "no list of icons holds the keyboard";
        for (const std::string& key : keys) x.key(key);
    }
};

TEST_F(ChoosingSession, AChosenGroupIsExtractedAndAChosenImageOpened) {
    clickAt(400, 388);  // the status line: the window takes the keyboard
    const std::string program = std::string(MOSAIKON_TEST_DATA) + "/pe/pe32/inetcpl.cpl";
    x.chord({"Control_L", "Alt_L", "e"});
    answerFileDialog(program);
    answerChooser({"Down", "Return"});
    modelFiles.extractIconGroupFrom(program, 1);
    expectScreenShowsModel("the second group");

    const std::string icon = std::string(MOSAIKON_TEST_DATA) + "/pictures/pillow/pillow.ico";
    clickAt(400, 388);
    x.chord({"Control_L", "Alt_L", "o"});
    answerFileDialog(icon);
    answerChooser({"Home", "Return"});
    modelFiles.openIconImage(icon, 0);
    expectScreenShowsModel("the first image");
}

}  // namespace
}  // namespace mosaikon::e2e
