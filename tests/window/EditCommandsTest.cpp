// Undo, redo, the keys, the command menu and the colour pick, through real key and mouse events
// on the shown window.
#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QColorDialog>
#include <QFile>
#include <QMenu>
#include <QTableWidget>
#include <QTemporaryDir>
#include <filesystem>

#include "PictureFiles.h"
#include "WindowTestSupport.h"
#include "commands/ClipboardCommands.h"
#include "commands/ColourPick.h"
#include "commands/CommandTable.h"
#include "commands/EditCommands.h"
#include "commands/ShortcutsWindow.h"
#include "controls/ClickableLabel.h"
#include "controls/PictureBoxView.h"
#include "controls/ToolbarView.h"

namespace mosaikon {
namespace {

using test::ShownWindowTest;
constexpr Colour kRed{0x0000FF};
constexpr Colour kGreen{0x00FF00};

class EditCommandsTest : public ShownWindowTest {
protected:
    void SetUp() override {
        ShownWindowTest::SetUp();
        for (int i = 0; i < 32; ++i) canvas().SmallPicture.PSet(i, i / 2, kRed);
        canvas().rebuildView();
        window.runHandler([] {});  // the drawing above is the history's first step
    }
    IconCanvas& canvas() { return window.canvas(); }
    EditCommands& commands() { return window.editCommands(); }
    Toolbar& bar() { return window.toolbar(); }
    PictureBoxView* grid() { return window.LargePicture(); }
    struct Surfaces {
        std::vector<std::uint32_t> icon, view;
        bool operator==(const Surfaces&) const = default;
    };
    Surfaces surfaces() { return {canvas().SmallPicture.pixels(), canvas().LargePicture.pixels()}; }
    static Surfaces surfacesOf(const IconCanvas& c) {
        return {c.SmallPicture.pixels(), c.LargePicture.pixels()};
    }
    // A cell's middle on the grid widget, inside its one-pixel border.
    static QPoint cell(int column, int row) { return {1 + 10 * column + 5, 1 + 10 * row + 5}; }
    void stroke(QPoint from, QPoint to) {
        QTest::mousePress(grid(), Qt::LeftButton, Qt::NoModifier, from);
        QMouseEvent move(QEvent::MouseMove, to, grid()->mapToGlobal(to), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(grid(), &move);
        QTest::mouseRelease(grid(), Qt::LeftButton, Qt::NoModifier, to);
    }
    void key(QKeyCombination combination, QWidget* target = nullptr) {
        QTest::keyClick(target ? target : grid(), combination.key(),
                        combination.keyboardModifiers());
    }
};

// A key runs its button's command once, as its own step, without a click on the toolbar.
TEST_F(EditCommandsTest, EachKeyDoesWhatItsButtonDoesWhereverTheFocusIs) {
    QWidget* const targets[] = {grid(), window.Toolbar1(), &window, window.Pic()};
    const test::ToolbarEventCount toolbarEvents(bar());
    int n = 0;
    for (const auto& [button, combination, command] : test::iconCommandCases()) {
        canvas().SmallPicture.PSet(3, 30, kGreen);  // something for each command to change
        canvas().rebuildView();
        IconCanvas model = canvas();
        command(model);
        const std::size_t steps = commands().history().undoCount();
        key(combination, targets[n++ % 4]);
        EXPECT_TRUE(surfaces() == surfacesOf(model)) << button;
        EXPECT_EQ(commands().history().undoCount(), steps + 2) << "the drawing, then the command";
    }
    EXPECT_TRUE(dialogs.requests().empty());
    EXPECT_EQ(toolbarEvents.count, 0);
}

TEST_F(EditCommandsTest, FileKeysOpenTheDialogsOfTheirCommandsAndAddNoStepWhenCancelled) {
    const std::pair<QKeyCombination, const char*> table[] = {
        {Qt::CTRL | Qt::Key_O, "Icons (*.ico)|*.ico"},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_O, "Bitmap(*.bmp)|*.bmp"},
        {Qt::CTRL | Qt::Key_S, "Icons (*.ico)|*.ico"},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_S, "Bitmaps (*.bmp)|*.bmp"},
        {Qt::CTRL | Qt::Key_E, "Executable (*.exe)|*.exe|DLL(*.dll)|*.dll"},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_E, "PNG images (*.png)|*.png"},
        {Qt::CTRL | Qt::ALT | Qt::Key_S, "Icons of several sizes (*.ico)|*.ico"},
    };
    const std::size_t steps = commands().history().undoCount();
    const test::ToolbarEventCount toolbarEvents(bar());
    for (const auto& [combination, filter] : table) {
        const std::size_t before = dialogs.requests().size();
        key(combination);
        ASSERT_EQ(dialogs.requests().size(), before + 1) << filter;
        EXPECT_EQ(dialogs.requests().back().filter, filter);
    }
    EXPECT_EQ(commands().history().undoCount(), steps);
    EXPECT_EQ(toolbarEvents.count, 0) << "the menus' commands run without the toolbar's event";
}

TEST_F(EditCommandsTest, ToolKeysSetTheButtonsAndExitKeyCloses) {
    const test::ToolbarEventCount toolbarEvents(bar());
    key(QKeyCombination(Qt::Key_C));
    EXPECT_EQ(bar().Buttons(QStringLiteral("Change")).Value, 1);
    EXPECT_EQ(bar().Buttons(QStringLiteral("Paint")).Value, 0);
    EXPECT_EQ(canvas().LargePicture.MousePointer(), pointers::kUpArrow);
    key(QKeyCombination(Qt::Key_P));
    EXPECT_EQ(bar().Buttons(QStringLiteral("Paint")).Value, 1);
    EXPECT_EQ(canvas().LargePicture.MousePointer(), pointers::kPencil);
    // After Change has handed back to Paint, Change still shows pressed: only the two commands
    // write the buttons.
    key(QKeyCombination(Qt::Key_C));
    QTest::mouseClick(grid(), Qt::LeftButton, Qt::NoModifier, cell(2, 2));
    EXPECT_EQ(canvas().activeTool(), Tool::Paint);
    EXPECT_EQ(bar().Buttons(QStringLiteral("Change")).Value, 1);
    EXPECT_EQ(grid()->cursor().shape(), Qt::BitmapCursor) << "the pencil";
    key(Qt::CTRL | Qt::Key_Q);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(toolbarEvents.count, 0);
}

TEST_F(EditCommandsTest, AStrokeIsOneStepAndUndoRedoKeysRestoreOnlyTheSurfaces) {
    canvas().state.CurrentColor = kGreen;
    const Surfaces before = surfaces();
    const std::size_t steps = commands().history().undoCount();
    stroke(cell(2, 2), cell(9, 2));
    stroke(cell(4, 6), cell(4, 9));
    ASSERT_EQ(commands().history().undoCount(), steps + 2);
    const Surfaces painted = surfaces();
    key(QKeyCombination(Qt::Key_C));  // a tool and colours that undo must leave alone
    canvas().state.CurrentColor = kRed;
    window.runHandler([this] { window.lblColor_Click(3); });
    const Colour colour = canvas().state.CurrentColor;

    key(Qt::CTRL | Qt::Key_Z);
    key(Qt::CTRL | Qt::Key_Z);
    EXPECT_TRUE(surfaces() == before);
    key(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
    key(Qt::CTRL | Qt::Key_Y);
    EXPECT_TRUE(surfaces() == painted);
    EXPECT_EQ(canvas().LargePicture.MousePointer(), pointers::kUpArrow);
    EXPECT_EQ(canvas().state.CurrentColor, colour);
    EXPECT_EQ(bar().Buttons(QStringLiteral("Change")).Value, 1);
}

TEST_F(EditCommandsTest, UndoOfTransformsRestoresTheViewWithItsStripAndANewStepEndsRedo) {
    const Surfaces before = surfaces();
    key(Qt::CTRL | Qt::Key_Right);
    const Surfaces moved = surfaces();
    key(QKeyCombination(Qt::Key_R));
    key(Qt::CTRL | Qt::Key_Z);
    EXPECT_TRUE(surfaces() == moved);
    key(Qt::CTRL | Qt::Key_Z);
    EXPECT_TRUE(surfaces() == before);
    key(QKeyCombination(Qt::Key_H));
    EXPECT_FALSE(commands().history().canRedo());
    EXPECT_FALSE(commands().action(EditorCommand::Redo)->isEnabled());
}

TEST_F(EditCommandsTest, CommandMenuOpensOnTheBackgroundAndByKeysWithEveryCommandAndItsKey) {
    const auto menuShown = [] {
        QWidget* popup = QApplication::activePopupWidget();
        const bool shown = popup != nullptr && popup->objectName() == QLatin1String("CommandMenu");
        if (popup) popup->close();
        return shown;
    };
    // What a right-click sends to the widget under the pointer.
    const auto rightClick = [](QWidget* target, QPoint at) {
        QContextMenuEvent request(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
        QApplication::sendEvent(target, &request);
    };
    rightClick(&window, QPoint(184, 200));
    EXPECT_TRUE(menuShown()) << "on the window's own background";
    rightClick(grid(), cell(3, 3));
    rightClick(window.Pallet(), QPoint(5, 5));
    EXPECT_FALSE(menuShown()) << "not over a control";
    key(Qt::SHIFT | Qt::Key_F10);
    EXPECT_TRUE(menuShown());
    key(QKeyCombination(Qt::Key_Menu), &window);
    EXPECT_TRUE(menuShown());

    int shown = 0;
    int withKeys = 0;
    QList<QAction*> items = commands().commandMenu()->actions();
    auto* tools = commands().commandMenu()->findChild<QMenu*>(QStringLiteral("ToolsMenu"));
    ASSERT_NE(tools, nullptr) << "the tools have a submenu of their own";
    items.removeOne(tools->menuAction());
    items += tools->actions();
    for (QAction* item : items) {
        if (item->isSeparator()) continue;
        ++shown;
        withKeys += item->shortcut().isEmpty() ? 0 : 1;
    }
    EXPECT_EQ(shown, static_cast<int>(commandTable().size())) << "every command is in the menu";
    EXPECT_EQ(withKeys, shown - 1) << "every command but More colours shows its key";
    commands().action(EditorCommand::Undo)->trigger();  // as a menu choice does
    EXPECT_FALSE(commands().action(EditorCommand::Undo)->isEnabled()) << "nothing to take back";
    EXPECT_TRUE(commands().action(EditorCommand::Redo)->isEnabled());
    commands().action(EditorCommand::Redo)->trigger();
    EXPECT_TRUE(commands().action(EditorCommand::Undo)->isEnabled());
    EXPECT_FALSE(commands().action(EditorCommand::Redo)->isEnabled()) << "nothing to bring back";
}

TEST_F(EditCommandsTest, ARightClickWhereNoControlLiesOpensTheMenuAndTheKeysOpenItAtTheFocus) {
    const auto menu = [] {
        QWidget* popup = QApplication::activePopupWidget();
        return popup != nullptr && popup->objectName() == QLatin1String("CommandMenu") ? popup
                                                                                       : nullptr;
    };
    struct Case {
        const char* what;
        QPoint at;  // in the window
        bool opens;
    };
    const Case cases[] = {
        {"the window's own background", {184, 200}, true},
        {"the swatch panel's grey below the swatches", {228, 285}, true},
        {"the swatch panel's grey above the swatches", {228, 100}, true},
        {"the toolbar beside its buttons, above the strip", {680, 19}, true},
        {"a toolbar button", {314, 19}, false},
        {"a swatch", {203, 123}, false},
        {"the current colour (Pallet2), whose clicks do nothing", {620, 60}, false},
        {"the status line", {400, 388}, false},
        {"a decoration of the left column", {20, 200}, false},
        {"the grid", {300, 100}, false},
    };
    for (const Case& c : cases) {
        QWidget* under = window.childAt(c.at);
        QWidget* target = under != nullptr ? under : &window;
        const QPoint local = target->mapFrom(&window, c.at);
        QContextMenuEvent request(QContextMenuEvent::Mouse, local, target->mapToGlobal(local));
        QApplication::sendEvent(target, &request);
        EXPECT_EQ(menu() != nullptr, c.opens) << c.what;
        if (menu()) menu()->close();
    }

    for (QWidget* focus :
         {static_cast<QWidget*>(window.lblColor(4)), static_cast<QWidget*>(window.Toolbar1())}) {
        // Where the menu lands when opened at the control's centre (moved to fit the screen).
        commands().commandMenu()->popup(focus->mapToGlobal(focus->rect().center()));
        const QRect atFocus = commands().commandMenu()->geometry();
        commands().commandMenu()->close();
        window.activateWindow();  // the closed menu hands the keyboard back
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        focus->setFocus();
        for (const QKeyCombination keys :
             {QKeyCombination(Qt::SHIFT | Qt::Key_F10), QKeyCombination(Qt::Key_Menu)}) {
            QTest::keyClick(focus, keys.key(), keys.keyboardModifiers());
            ASSERT_NE(menu(), nullptr) << focus->objectName().toStdString();
            EXPECT_EQ(menu()->geometry(), atFocus)
                << "opened at " << focus->objectName().toStdString() << ", not at the pointer";
            menu()->close();
        }
    }
}

TEST_F(EditCommandsTest, TheMenuUsesTheToolbarsWordsAndF1ListsTheGridsKeys) {
    for (const char* words : {"Open Icon…", "Save As Icon…", "Save As BMP…", "Extract Icon…",
                              "Paint", "Change", "Move Left", "Flip Horizontal", "Flip Vertically",
                              "Rotate", "Clear All", "New", "Exit"}) {
        const QList<QAction*> items = commands().commandMenu()->actions();
        EXPECT_TRUE(std::any_of(items.begin(), items.end(), [&](const QAction* item) {
            return item->text() == QString::fromUtf8(words);
        })) << words;
    }
    key(QKeyCombination(Qt::Key_F1));
    auto* table = window.findChild<QTableWidget*>();
    ASSERT_NE(table, nullptr);
    QStringList keys;
    for (int row = 0; row < table->rowCount(); ++row) keys << table->item(row, 0)->text();
    for (const char* gridKey : {"Tab, Shift+Tab", "Arrow keys", "Space"}) {
        EXPECT_TRUE(keys.contains(QString::fromLatin1(gridKey))) << gridKey;
    }
}

TEST_F(EditCommandsTest, PickTakesACellColourWithoutPaintingAndEscapeCancels) {
    canvas().state.CurrentColor = kGreen;
    const Surfaces before = surfaces();
    key(QKeyCombination(Qt::Key_I));
    stroke(cell(4, 2), cell(9, 9));  // (4, 2) is red
    EXPECT_TRUE(surfaces() == before);
    EXPECT_EQ(canvas().state.CurrentColor, kRed);
    EXPECT_EQ(window.colourChoice().Pallet2, kRed);
    EXPECT_EQ(test::shownBackground(window.Pallet2()), test::rgbColour(kRed.value()));

    canvas().state.CurrentColor = kGreen;
    key(QKeyCombination(Qt::Key_I));
    key(QKeyCombination(Qt::Key_Escape));
    stroke(cell(20, 20), cell(20, 20));
    EXPECT_EQ(canvas().LargePicture.Point(10 * 20 + 5, 10 * 20 + 5), kGreen) << "it paints again";

    const Surfaces painted = surfaces();
    key(QKeyCombination(Qt::Key_I));
    key(QKeyCombination(Qt::Key_Space));  // on the cell cursor, at cell (0, 0): red
    EXPECT_EQ(canvas().state.CurrentColor, kRed);
    EXPECT_TRUE(surfaces() == painted) << "Space picked and painted nothing";

    QTimer::singleShot(50, [] {
        auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->setCurrentColor(QColor(1, 2, 3));
        dialog->accept();
    });
    commands().trigger(EditorCommand::MoreColours);
    EXPECT_EQ(canvas().state.CurrentColor, Colour::fromRgb(1, 2, 3));
    EXPECT_EQ(window.colourChoice().Pallet2, Colour::fromRgb(1, 2, 3));
}

TEST_F(EditCommandsTest, CopyGivesTheSavedIconAndPasteIsOneUndoableStep) {
    key(Qt::CTRL | Qt::Key_C);
    const QImage copied = QGuiApplication::clipboard()->image();
    ASSERT_EQ(copied.size(), QSize(32, 32));
    EXPECT_EQ(qAlpha(copied.pixel(5, 0)), 0) << "pure white is transparent";
    EXPECT_EQ(copied.pixel(0, 0), qRgba(255, 0, 0, 255));

    // A pasted image floats over the icon at its top-left, scaled down to fit with its shape
    // kept, ready to be moved; one step takes it back.
    const Surfaces before = surfaces();
    QImage pasted(40, 20, QImage::Format_RGB32);
    pasted.fill(QColor(0, 0, 255));
    QGuiApplication::clipboard()->setImage(pasted);
    key(Qt::CTRL | Qt::Key_V);
    EXPECT_EQ(canvas().selectionRect(), (shapes::CellRect{0, 0, 32, 16}));
    EXPECT_EQ(canvas().activeTool(), Tool::Select);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const Colour expected = y < 16
                                        ? Colour(0xFF0000)
                                        : Colour(before.icon[static_cast<std::size_t>(y * 32 + x)]);
            ASSERT_EQ(canvas().SmallPicture.Point(x, y), expected) << x << ", " << y;
        }
    }
    IconCanvas model = canvas();
    model.rebuildView();
    EXPECT_TRUE(surfaces() == surfacesOf(model)) << "the view shows the icon with its grid";
    key(Qt::CTRL | Qt::Key_Z);
    EXPECT_TRUE(surfaces() == before);
    EXPECT_FALSE(canvas().selectionRect().has_value());
}

TEST_F(EditCommandsTest, CopyKeepsTheIconsSoftEdgesAndASelectionsToo) {
    canvas().takePicture(Picture::fromPixels(PictureKind::Icon, 2, 1,
                                             {makePixel(Colour(0x0000FF), 128), 0x01FF0000u}));
    key(Qt::CTRL | Qt::Key_C);
    const QImage copied = QGuiApplication::clipboard()->image();
    ASSERT_EQ(copied.size(), QSize(32, 32));
    EXPECT_EQ(copied.pixel(0, 0), qRgba(255, 0, 0, 128));
    EXPECT_EQ(copied.pixel(1, 0), qRgba(0, 0, 255, 1));
    EXPECT_EQ(qAlpha(copied.pixel(2, 0)), 0);

    canvas().selectTool(Tool::Select);
    canvas().toolPress({0, 0}, MouseButton::Primary);
    canvas().toolMove({1, 0});
    canvas().toolRelease({1, 0});
    key(Qt::CTRL | Qt::Key_C);
    const QImage selection = QGuiApplication::clipboard()->image();
    ASSERT_EQ(selection.size(), QSize(2, 1));
    EXPECT_EQ(selection.pixel(0, 0), qRgba(255, 0, 0, 128));
    EXPECT_EQ(selection.pixel(1, 0), qRgba(0, 0, 255, 1));

    // A pasted image floats with its opacity, and copying the icon gives it back.
    QImage soft(3, 1, QImage::Format_ARGB32);
    soft.fill(qRgba(0, 200, 0, 64));
    QGuiApplication::clipboard()->setImage(soft);
    key(Qt::CTRL | Qt::Key_V);
    EXPECT_EQ(canvas().opacity.at(2, 0), makePixel(Colour::fromRgb(0, 200, 0), 64));
    EXPECT_TRUE(canvas().opacity.matches(canvas().SmallPicture));
    key(Qt::Key_Return);  // put down
    key(Qt::CTRL | Qt::Key_C);
    EXPECT_EQ(QGuiApplication::clipboard()->image().pixel(2, 0), qRgba(0, 200, 0, 64));
}

TEST_F(EditCommandsTest, PasteWithoutAnImageSaysSoAndChangesNothing) {
    QGuiApplication::clipboard()->setText(QStringLiteral("words, not a picture"));
    const Surfaces before = surfaces();
    const Tool tool = canvas().activeTool();
    const std::size_t steps = commands().history().undoCount();
    const test::ShownMessage shown = test::messageDuring([&] { key(Qt::CTRL | Qt::Key_V); });
    EXPECT_EQ(shown.text, QStringLiteral("The clipboard holds no image to paste."));
    EXPECT_EQ(shown.title, QGuiApplication::applicationDisplayName());
    EXPECT_TRUE(surfaces() == before);
    EXPECT_EQ(canvas().activeTool(), tool);
    EXPECT_EQ(commands().history().undoCount(), steps);

    QGuiApplication::clipboard()->clear();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_EQ(test::messageDuring([&] { key(Qt::CTRL | Qt::Key_V); }).text,
              QStringLiteral("The clipboard holds no image to paste."));
}

TEST_F(EditCommandsTest, SaveAgainRewritesTheSavedFileAndTheMenuNamesIt) {
    QTemporaryDir folder;
    const std::string path =
        QFile::encodeName(folder.filePath(QStringLiteral("again.ico"))).toStdString();
    QAction* again = commands().action(EditorCommand::SaveAgain);
    key(QKeyCombination(Qt::Key_F2));  // nothing saved yet: Save As Icon, cancelled
    ASSERT_EQ(dialogs.requests().size(), 1u);
    EXPECT_EQ(again->text(), QStringLiteral("Save again"));
    dialogs.choose(path);
    key(Qt::CTRL | Qt::Key_S);
    EXPECT_EQ(again->text(), QStringLiteral("Save again to again.ico"));
    stroke(cell(9, 9), cell(9, 9));
    std::filesystem::remove(path);
    key(QKeyCombination(Qt::Key_F2));
    EXPECT_EQ(dialogs.requests().size(), 2u) << "no dialog";
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(LoadPicture(path).pixelAt(9, 9) & 0xFFFFFFu, 0u) << "the stroke is in the file";
}

TEST_F(EditCommandsTest, F1ListsEveryKey) {
    key(QKeyCombination(Qt::Key_F1));
    ShortcutsWindow* shortcuts = commands().shortcutsWindow();
    ASSERT_NE(shortcuts, nullptr);
    EXPECT_TRUE(shortcuts->isVisible());
    QStringList keys;
    for (int row = 0; row < shortcuts->table()->rowCount(); ++row) {
        keys.append(shortcuts->table()->item(row, 0)->text());
    }
    for (const char* expected :
         {"Ctrl+Z", "Ctrl+Y", "Ctrl+Shift+O", "Ctrl+Left", "Del", "F1", "Menu", "Shift+F10", "Esc",
          "I", "Ctrl+Q", "Ctrl+Shift+E", "Ctrl+Alt+S"}) {
        EXPECT_TRUE(keys.join(QLatin1Char(',')).contains(QLatin1String(expected))) << expected;
    }
}

}  // namespace
}  // namespace mosaikon
