// Working the window from the keyboard alone, with real key events: the Tab order, pressing
// swatches, buttons and the link, and drawing on the grid with the cell cursor.
#include <QMenu>

#include "WindowTestSupport.h"
#include "access/GridKeyboard.h"
#include "controls/ClickableLabel.h"
#include "controls/PictureBoxView.h"
#include "controls/ToolbarView.h"
#include "controls/WebLink.h"

namespace mosaikon::test {
namespace {

class RecordingShell final : public Shell {
public:
    std::string Environ(const std::string& /*name*/) override { return "C:\\WINDOWS"; }
    void start(const std::string& commandLine, int /*windowStyle*/) override {
        started.push_back(commandLine);
    }
    std::vector<std::string> started;
};

// What holds the keyboard focus: a toolbar button by its tooltip, another control by its name.
QString focusName() {
    QWidget* focus = QApplication::focusWidget();
    if (focus == nullptr) {
        return QStringLiteral("(none)");
    }
    if (auto* toolbar = qobject_cast<ToolbarView*>(focus)) {
        return toolbar->toolbar().Buttons(toolbar->focusButton()).ToolTipText;
    }
    return focus->objectName();
}

// Gives `widget` the focus as if it came by the keyboard from another control.
void focusOn(QWidget* widget, Qt::FocusReason reason = Qt::TabFocusReason) {
    if (QWidget* focus = QApplication::focusWidget()) {
        focus->clearFocus();
    }
    widget->setFocus(reason);
}

void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

// Drives one window either from the keyboard or with the mouse, step for step alike.
class Driver {
public:
    enum class Input { Keyboard, Mouse };
    Driver(frmEditIcon& window, Input input) : m_window(window), m_input(input) {}

    void chooseSwatch(int index) {
        ClickableLabel* swatch = m_window.lblColor(index);
        if (m_input == Input::Mouse) {
            QTest::mouseClick(swatch, Qt::LeftButton, Qt::NoModifier, QPoint(11, 11));
            return;
        }
        focusOn(swatch);
        key(Qt::Key_Space);
    }

    void pressButton(const QString& buttonKey) {
        ToolbarView* toolbar = m_window.Toolbar1();
        const int index = m_window.toolbar().Buttons(buttonKey).Index;
        if (m_input == Input::Mouse) {
            QTest::mouseClick(toolbar, Qt::LeftButton, Qt::NoModifier,
                              toolbar->faceRect(index).center());
            return;
        }
        focusOn(toolbar);
        while (toolbar->focusButton() < index) {
            key(Qt::Key_Right);
        }
        key(Qt::Key_Space);
    }

    void pressCell(QPoint cell) {
        PictureBoxView* grid = m_window.LargePicture();
        if (m_input == Input::Mouse) {
            const QPoint centre(1 + 10 * cell.x() + 5, 1 + 10 * cell.y() + 5);  // past the border
            QTest::mouseClick(grid, Qt::LeftButton, Qt::NoModifier, centre);
            return;
        }
        focusOn(grid);
        for (QPoint at = m_window.gridKeyboard()->cell(); at != cell;
             at = m_window.gridKeyboard()->cell()) {
            key(at.x() < cell.x()   ? Qt::Key_Right
                : at.x() > cell.x() ? Qt::Key_Left
                : at.y() < cell.y() ? Qt::Key_Down
                                    : Qt::Key_Up);
        }
        key(Qt::Key_Space);
    }

private:
    frmEditIcon& m_window;
    Input m_input;
};

class KeyboardTest : public ShownWindowTest {
protected:
    void SetUp() override {
        ShownWindowTest::SetUp();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
};

TEST_F(KeyboardTest, TabVisitsToolbarSwatchesGridAndLinkAndShiftTabReturns) {
    QStringList expected = {
        "Open",      "New",     "Save",        "Paint",           "Change",          "Move Left",
        "Move Down", "Move Up", "Move Right",  "Flip Horizontal", "Flip Vertically", "Rotate",
        "Clear All", "Exit",    "Extract Icon"};
    for (int i = 0; i < 16; ++i) {
        expected << QStringLiteral("lblColor(%1)").arg(i);
    }
    expected << "LargePicture"
             << "Label3"
             << "Open";

    ASSERT_EQ(focusName(), "Open") << "the window starts with the focus on the toolbar";
    QStringList forward = {focusName()};
    for (int i = 1; i < expected.size(); ++i) {
        key(Qt::Key_Tab);
        forward << focusName();
    }
    EXPECT_EQ(forward, expected);

    QStringList backward = {focusName()};
    for (int i = 1; i < expected.size(); ++i) {
        key(Qt::Key_Backtab, Qt::ShiftModifier);
        backward << focusName();
    }
    std::reverse(expected.begin(), expected.end());
    EXPECT_EQ(backward, expected);
}

TEST_F(KeyboardTest, FocusMarksAndTheCellCursorShowOnlyOnceTheKeyboardIsUsed) {
    ASSERT_EQ(QApplication::focusWidget(), window.Toolbar1());
    const QImage withFocus = window.grab().toImage();
    window.Toolbar1()->clearFocus();
    EXPECT_EQ(window.grab().toImage(), withFocus) << "the focus alone draws nothing";

    focusOn(window.LargePicture(), Qt::OtherFocusReason);
    EXPECT_FALSE(window.gridKeyboard()->cursorShown());
    EXPECT_EQ(window.grab().toImage(), withFocus);

    const auto surface = window.canvas().LargePicture.pixels();
    key(Qt::Key_Right);
    EXPECT_TRUE(window.gridKeyboard()->cursorShown());
    EXPECT_NE(window.LargePicture()->grab().toImage().pixelColor(11, 11), QColor(Qt::black))
        << "the cursor lies on the grid lines of cell (1, 0)";
    EXPECT_EQ(window.canvas().LargePicture.pixels(), surface) << "the cursor is not in the surface";

    key(Qt::Key_Tab);
    EXPECT_FALSE(window.gridKeyboard()->cursorShown());
    const QImage link = window.Label3()->grab().toImage();
    window.Label3()->clearFocus();
    EXPECT_NE(window.Label3()->grab().toImage(), link) << "the link showed a focus mark";
}

TEST_F(KeyboardTest, SpaceOrEnterPressesSwatchesButtonsMenusAndTheLink) {
    focusOn(window.lblColor(13));
    key(Qt::Key_Space);
    EXPECT_EQ(window.canvas().state.CurrentColor.value(), 0x000000FFu);
    EXPECT_EQ(shownBackground(window.Pallet()), QColor(255, 0, 0));
    focusOn(window.lblColor(0));
    key(Qt::Key_Return);
    EXPECT_EQ(window.canvas().state.CurrentColor.value(), 0x80000005u);

    ToolbarView* toolbar = window.Toolbar1();
    focusOn(toolbar, Qt::BacktabFocusReason);
    EXPECT_EQ(focusName(), "Extract Icon");
    for (int i = 0; i < 10; ++i) {
        key(Qt::Key_Left);
    }
    EXPECT_EQ(focusName(), "Change");
    key(Qt::Key_Enter);
    EXPECT_EQ(window.canvas().LargePicture.MousePointer(), pointers::kUpArrow);
    EXPECT_EQ(window.toolbar().Buttons(QStringLiteral("Change")).Value, 1);

    // A drop-down button opens its menu on its first item; Enter there chooses it.
    focusOn(toolbar);
    key(Qt::Key_Space);
    QMenu* menu = toolbar->openMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_NE(menu->activeAction(), nullptr);
    EXPECT_EQ(menu->activeAction()->text(), "Open Icon");
    QTest::keyClick(menu, Qt::Key_Return);
    ASSERT_EQ(dialogs.requests().size(), 1u) << "Open Icon showed the file dialog";

    RecordingShell shell;
    window.setShell(shell);
    focusOn(window.Label3());
    key(Qt::Key_Space);
    EXPECT_EQ(shell.started, std::vector<std::string>{
                                 "C:\\WINDOWS\\explorer.exe \"https://mosaikon.example.org\""});
}

TEST_F(KeyboardTest, TheCellCursorStaysOnTheGrid) {
    focusOn(window.LargePicture());
    key(Qt::Key_Left);
    key(Qt::Key_Up);
    EXPECT_EQ(window.gridKeyboard()->cell(), QPoint(0, 0));
    for (int i = 0; i < 40; ++i) {
        key(Qt::Key_Right);
        key(Qt::Key_Down);
    }
    EXPECT_EQ(window.gridKeyboard()->cell(), QPoint(31, 31));
    key(Qt::Key_Space);
    EXPECT_EQ(window.canvas().SmallPicture.pixel(31, 31), colours::kBlack);
    EXPECT_EQ(window.canvas().LargePicture.pixel(318, 318), colours::kBlack);
    EXPECT_EQ(window.canvas().LargePicture.pixel(310, 318), colours::kBlack) << "grid line";
    EXPECT_EQ(window.canvas().SmallPicture.pixel(30, 31), colours::kWhite);
}

// The keyboard draws exactly what the mouse draws, with the Paint and with the Change tool.
TEST_F(KeyboardTest, ArrowsAndSpaceDrawExactlyAsMousePressesAtTheCellCentres) {
    frmEditIcon mouseWindow;
    mouseWindow.setDialogHost(dialogs);
    mouseWindow.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&mouseWindow));
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    Driver keyboard(window, Driver::Input::Keyboard);
    Driver mouse(mouseWindow, Driver::Input::Mouse);
    const std::function<void(Driver&)> steps[] = {
        [](Driver& d) { d.chooseSwatch(13); },  // red
        [](Driver& d) {
            d.pressCell({3, 2});
        },
        [](Driver& d) {
            d.pressCell({0, 0});
        },
        [](Driver& d) {
            d.pressCell({31, 0});
        },
        [](Driver& d) {
            d.pressCell({7, 31});
        },
        [](Driver& d) { d.chooseSwatch(4); },  // blue
        [](Driver& d) { d.pressButton(QStringLiteral("Change")); },
        [](Driver& d) {
            d.pressCell({3, 2});
        },  // every red pixel turns blue
        [](Driver& d) {
            d.pressCell({5, 5});
        },  // Paint again: paints one cell blue
        [](Driver& d) { d.pressButton(QStringLiteral("Change")); },
        [](Driver& d) {
            d.pressCell({0, 0});
        },                                      // blue on blue: nothing, the tool stays
        [](Driver& d) { d.chooseSwatch(10); },  // a system colour reference
        [](Driver& d) {
            d.pressCell({9, 9});
        },  // every white pixel takes it
    };
    int step = 0;
    for (const auto& run : steps) {
        run(keyboard);
        run(mouse);
        SCOPED_TRACE(step++);
        ASSERT_EQ(window.canvas().SmallPicture.pixels(),
                  mouseWindow.canvas().SmallPicture.pixels());
        ASSERT_EQ(window.canvas().LargePicture.pixels(),
                  mouseWindow.canvas().LargePicture.pixels());
        ASSERT_EQ(window.canvas().LargePicture.MousePointer(),
                  mouseWindow.canvas().LargePicture.MousePointer());
        ASSERT_EQ(window.canvas().state.CurrentColor, mouseWindow.canvas().state.CurrentColor);
    }
    // Not two identical blank results: the keyboard really drew.
    const PictureBox& icon = window.canvas().SmallPicture;
    EXPECT_EQ(icon.pixel(3, 2).value(), 0x00FF0000u);
    EXPECT_EQ(icon.pixel(31, 0).value(), 0x00FF0000u);
    EXPECT_EQ(icon.pixel(5, 5).value(), 0x00FF0000u);
    EXPECT_EQ(icon.pixel(20, 20), systemColour(13));
    EXPECT_EQ(window.canvas().LargePicture.MousePointer(), pointers::kPencil);
}

}  // namespace
}  // namespace mosaikon::test
