// The toolbar: its twenty entries, their geometry, clicks, pressed states, menus and tooltips.
#include <QHelpEvent>
#include <QMenu>
#include <QToolTip>

#include "WindowTestSupport.h"
#include "controls/ToolbarView.h"

namespace mosaikon::test {
namespace {

struct Entry {
    const char* key;
    const char* toolTip;
    int image;
    ButtonStyle style;
    int value;
};

constexpr ButtonStyle kSep = ButtonStyle::Separator;
constexpr ButtonStyle kPlain = ButtonStyle::Default;
constexpr ButtonStyle kCheck = ButtonStyle::Check;
constexpr ButtonStyle kDrop = ButtonStyle::DropDown;

const Entry kEntries[20] = {
    {"", "", 0, kSep, 0},
    {"Open", "Open", 1, kDrop, 0},
    {"New", "New", 3, kPlain, 0},
    {"Save", "Save", 2, kDrop, 0},
    {"", "", 0, kSep, 0},
    {"Paint", "Paint", 5, kCheck, 1},
    {"Change", "Change", 4, kCheck, 0},
    {"", "", 0, kSep, 0},
    {"Left", "Move Left", 9, kPlain, 0},
    {"Down", "Move Down", 6, kPlain, 0},
    {"Up", "Move Up", 7, kPlain, 0},
    {"Right", "Move Right", 8, kPlain, 0},
    {"", "", 0, kSep, 0},
    {"flipHorizontal", "Flip Horizontal", 12, kPlain, 0},
    {"FlipVert", "Flip Vertically", 13, kPlain, 0},
    {"", "", 0, kSep, 0},
    {"Rotate", "Rotate", 10, kPlain, 0},
    {"Clear", "Clear All", 14, kPlain, 0},
    {"Exit", "Exit", 11, kPlain, 0},
    {"Extract", "Extract Icon", 15, kPlain, 1},
};

class ToolbarTest : public ShownWindowTest {
protected:
    void SetUp() override {
        ShownWindowTest::SetUp();
        QObject::connect(&window.toolbar(), &Toolbar::ButtonClick,
                         [this](const ToolbarButton& button) { clicks.push_back(button.Index); });
        QObject::connect(&window.toolbar(), &Toolbar::ButtonMenuClick,
                         [this](const ToolbarMenuItem& item) {
                             menuChoices.emplace_back(item.ParentIndex, item.Index);
                         });
    }
    Toolbar& bar() { return window.toolbar(); }
    ToolbarView* view() { return window.Toolbar1(); }
    QPoint faceCentre(int index) { return view()->faceRect(index).center(); }

    std::vector<int> clicks;
    std::vector<std::pair<int, int>> menuChoices;
};

TEST_F(ToolbarTest, TwentyEntriesInOrderWithTheirKeysTooltipsImagesStylesAndStates) {
    ASSERT_EQ(bar().count(), 20);
    for (int i = 1; i <= 20; ++i) {
        const Entry& e = kEntries[i - 1];
        const ToolbarButton& b = bar().Buttons(i);
        EXPECT_EQ(b.Index, i);
        EXPECT_EQ(b.Key, QString::fromLatin1(e.key)) << i;
        EXPECT_EQ(b.ToolTipText, QString::fromLatin1(e.toolTip)) << i;
        EXPECT_EQ(b.Image, e.image) << i;
        EXPECT_EQ(b.Style, e.style) << i;
        EXPECT_EQ(b.Value, e.value) << i;
        EXPECT_EQ(b.ButtonMenus.empty(), e.style != kDrop) << i;
        if (*e.key != '\0') {
            EXPECT_EQ(&bar().Buttons(QString::fromLatin1(e.key)), &b) << "looked up by key";
        }
        if (e.image != 0) {
            EXPECT_FALSE(window.ImageList2().picture(e.image).isNull()) << i;
        }
    }
    EXPECT_EQ(window.ImageList2().count(), 15);
    EXPECT_EQ(window.ImageList2().ImageSize, QSize(16, 16));
    EXPECT_THROW(bar().Buttons(QStringLiteral("flipvert")), std::out_of_range)
        << "keys are case-sensitive";
    EXPECT_THROW(bar().Buttons(QString()), std::out_of_range) << "separators have no key";
    EXPECT_THROW(bar().Buttons(21), std::out_of_range);
}

TEST_F(ToolbarTest, MenusOfOpenAndSave) {
    const auto& open = bar().Buttons(QStringLiteral("Open")).ButtonMenus;
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(open[0].Text, QStringLiteral("Open Icon"));
    EXPECT_TRUE(open[0].Key.isEmpty());
    EXPECT_EQ(open[0].Index, 1);
    EXPECT_EQ(open[0].ParentIndex, 2);
    EXPECT_TRUE(open[0].Enabled);

    const auto& save = bar().Buttons(QStringLiteral("Save")).ButtonMenus;
    ASSERT_EQ(save.size(), 2u);
    EXPECT_EQ(save[0].Text, QStringLiteral("Save As Icon"));
    EXPECT_EQ(save[0].Key, QStringLiteral("Save_Icon"));
    EXPECT_TRUE(save[0].Enabled);
    EXPECT_EQ(save[1].Text, QStringLiteral("Save As BMP"));
    EXPECT_EQ(save[1].Key, QStringLiteral("Save_BMP"));
    EXPECT_FALSE(save[1].Enabled) << "present but not available";
    EXPECT_EQ(save[1].Index, 2);
    EXPECT_EQ(save[1].ParentIndex, 4);
}

TEST_F(ToolbarTest, EntriesLieSideBySideFromTheLeftEdge) {
    int x = 0;
    for (int i = 1; i <= 20; ++i) {
        const ButtonStyle style = kEntries[i - 1].style;
        const QRect face = view()->faceRect(i);
        EXPECT_EQ(face, QRect(x, 0, style == kSep ? 8 : 23, 22)) << i;
        x = face.right() + 1;
        if (style == kDrop) {
            EXPECT_EQ(view()->arrowRect(i), QRect(x, 0, 13, 22)) << i;
            x += 13;
        } else {
            EXPECT_TRUE(view()->arrowRect(i).isNull()) << i;
        }
    }
    EXPECT_EQ(x, 5 * 8 + 15 * 23 + 2 * 13);
    EXPECT_EQ(view()->buttonAt(QPoint(8 + 23 + 5, 10)), 2)
        << "the arrow part belongs to its button";
    EXPECT_EQ(view()->buttonAt(QPoint(x + 5, 10)), 0);
}

TEST_F(ToolbarTest, FaceClicksRaiseButtonClickWithThatButton) {
    for (const int index : {2, 3, 4, 9, 20}) {
        QTest::mouseClick(view(), Qt::LeftButton, Qt::NoModifier, faceCentre(index));
    }
    EXPECT_EQ(clicks, (std::vector<int>{2, 3, 4, 9, 20})) << "drop-down faces are plain buttons";
    EXPECT_TRUE(menuChoices.empty());
    EXPECT_EQ(view()->openMenu(), nullptr) << "a face click opens no menu";
    EXPECT_EQ(bar().Buttons(QStringLiteral("Extract")).Value, 1) << "Extract stays pressed";

    QTest::mouseClick(view(), Qt::LeftButton, Qt::NoModifier, faceCentre(1));  // separator
    QTest::mouseClick(view(), Qt::RightButton, Qt::NoModifier, faceCentre(3));
    QTest::mousePress(view(), Qt::LeftButton, Qt::NoModifier, faceCentre(3));
    QTest::mouseRelease(view(), Qt::LeftButton, Qt::NoModifier, faceCentre(9));  // slid off
    EXPECT_EQ(clicks.size(), 5u) << "no click from a separator, the right button or a slide-off";
}

TEST_F(ToolbarTest, PressedButtonsLookSunken) {
    const QImage shown = view()->grab().toImage();
    const QColor shadow(0x80, 0x80, 0x80);
    EXPECT_EQ(shown.pixelColor(view()->faceRect(6).topLeft()), shadow) << "Paint";
    EXPECT_EQ(shown.pixelColor(view()->faceRect(20).topLeft()), shadow) << "Extract";
    EXPECT_NE(shown.pixelColor(view()->faceRect(7).topLeft()), shadow) << "Change is up";
    EXPECT_NE(shown.pixelColor(view()->faceRect(19).topLeft()), shadow) << "Exit is up";
}

TEST(ToolbarModelTest, CheckButtonsChangeStateOnEachClickPlainButtonsKeepTheirs) {
    Toolbar bar;
    bar.addButton(QStringLiteral("A"), ButtonStyle::Check);
    bar.addButton(QStringLiteral("B"), ButtonStyle::Default, {}, 0, 1);
    std::vector<int> seen;
    QObject::connect(&bar, &Toolbar::ButtonClick,
                     [&seen](const ToolbarButton& b) { seen.push_back(b.Value); });
    bar.clickButton(1);
    bar.clickButton(1);
    bar.clickButton(2);
    EXPECT_EQ(seen, (std::vector<int>{1, 0, 1}))
        << "the new state is there when the click is raised";
}

TEST_F(ToolbarTest, ArrowOpensTheMenuAndAChoiceRaisesButtonMenuClickWithPositions) {
    QTest::mouseClick(view(), Qt::LeftButton, Qt::NoModifier, view()->arrowRect(4).center());
    QMenu* menu = view()->openMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(clicks.empty()) << "the arrow is not the face";
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 2);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("Save As Icon"));
    EXPECT_TRUE(actions[0]->isEnabled());
    EXPECT_EQ(actions[1]->text(), QStringLiteral("Save As BMP"));
    EXPECT_FALSE(actions[1]->isEnabled());

    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier,
                      menu->actionGeometry(actions[1]).center());
    EXPECT_TRUE(menuChoices.empty()) << "the unavailable item cannot be chosen";
    QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier,
                      menu->actionGeometry(actions[0]).center());
    EXPECT_EQ(menuChoices, (std::vector<std::pair<int, int>>{{4, 1}}));
    // "Save As Icon" runs the icon save: its dialog was asked.
    ASSERT_EQ(dialogs.requests().size(), 1u);
    EXPECT_EQ(dialogs.requests()[0].mode, DialogRequest::Mode::Save);

    bar().chooseMenuItem(4, 2);
    bar().chooseMenuItem(2, 2);
    bar().chooseMenuItem(3, 1);
    EXPECT_EQ(menuChoices.size(), 1u) << "disabled or missing items raise nothing";
}

TEST_F(ToolbarTest, OpenMenuHasOneItemThatRunsTheIconOpen) {
    QTest::mouseClick(view(), Qt::LeftButton, Qt::NoModifier, view()->arrowRect(2).center());
    QMenu* menu = view()->openMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions()[0]->text(), QStringLiteral("Open Icon"));
    menu->actions()[0]->trigger();
    EXPECT_EQ(menuChoices, (std::vector<std::pair<int, int>>{{2, 1}}));
    ASSERT_EQ(dialogs.requests().size(), 1u);
    EXPECT_EQ(dialogs.requests()[0].mode, DialogRequest::Mode::Open);
    EXPECT_EQ(dialogs.requests()[0].filter, "Icons (*.ico)|*.ico");
}

TEST_F(ToolbarTest, HandlersCanBeCalledDirectly) {
    // Test seam for the command dispatch: the handlers take the toolbar's own objects.
    window.Toolbar1_ButtonClick(bar().Buttons(QStringLiteral("New")));
    ToolbarMenuItem item;
    item.ParentIndex = 3;
    item.Index = 1;
    window.Toolbar1_ButtonMenuClick(item);
    EXPECT_TRUE(dialogs.requests().empty()) << "no command sits at position (3, 1)";
}

TEST_F(ToolbarTest, TooltipsShowTheButtonsTexts) {
    for (const int index : {2, 9, 14, 20}) {
        const QPoint at = faceCentre(index);
        QHelpEvent help(QEvent::ToolTip, at, view()->mapToGlobal(at));
        QApplication::sendEvent(view(), &help);
        EXPECT_EQ(QToolTip::text(), QString::fromLatin1(kEntries[index - 1].toolTip)) << index;
    }
    const QPoint gap = faceCentre(1);
    QHelpEvent help(QEvent::ToolTip, gap, view()->mapToGlobal(gap));
    QApplication::sendEvent(view(), &help);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000))
        << "a separator has no tooltip";
}

}  // namespace
}  // namespace mosaikon::test
