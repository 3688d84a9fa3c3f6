// What assistive technology is told about the window, read through Qt's accessibility interface.
#include <QAccessible>
#include <QAccessibleActionInterface>

#include "WindowTestSupport.h"
#include "controls/ClickableLabel.h"
#include "controls/PictureBoxView.h"
#include "controls/ToolbarView.h"

namespace mosaikon::test {
namespace {

QAccessibleInterface* accessible(QObject* object) {
    QAccessibleInterface* found = QAccessible::queryAccessibleInterface(object);
    EXPECT_NE(found, nullptr);
    return found;
}

QString nameOf(QObject* object) { return accessible(object)->text(QAccessible::Name); }

class AccessibilityTest : public ShownWindowTest {};

TEST_F(AccessibilityTest, EveryControlHasANameADescriptionAndARole) {
    struct Expected {
        QWidget* control;
        QString name;
        QAccessible::Role role;
    };
    const Expected table[] = {
        {window.lblColor(0), "Window background", QAccessible::Button},
        {window.lblColor(1), "Green", QAccessible::Button},
        {window.lblColor(2), "Desktop background", QAccessible::Button},
        {window.lblColor(3), "Cyan", QAccessible::Button},
        {window.lblColor(4), "Blue", QAccessible::Button},
        {window.lblColor(5), "Tooltip background", QAccessible::Button},
        {window.lblColor(6), "Yellow", QAccessible::Button},
        {window.lblColor(7), "3-D highlight", QAccessible::Button},
        {window.lblColor(8), "Inactive border", QAccessible::Button},
        {window.lblColor(9), "Inactive title bar", QAccessible::Button},
        {window.lblColor(10), "Selected item background", QAccessible::Button},
        {window.lblColor(11), "3-D light", QAccessible::Button},
        {window.lblColor(12), "Black", QAccessible::Button},
        {window.lblColor(13), "Red", QAccessible::Button},
        {window.lblColor(14), "Magenta", QAccessible::Button},
        {window.lblColor(15), "Silver", QAccessible::Button},
        {window.LargePicture(), "Icon, magnified 10 times", QAccessible::Canvas},
        {window.SmallPicture(), "Icon, actual size", QAccessible::Graphic},
        {window.Pic(), "Colour spectrum", QAccessible::ColorChooser},
        {window.Pallet(), "Current colour: Black", QAccessible::StaticText},
        {window.Pallet2(), "Picked colour: Light grey", QAccessible::StaticText},
        {window.Label3(), "https://mosaikon.example.org/", QAccessible::Link},
        {window.Image2(), "Maker's logo", QAccessible::Link},
        {window.Toolbar1(), "Commands", QAccessible::ToolBar},
    };
    for (const Expected& expected : table) {
        QAccessibleInterface* control = accessible(expected.control);
        EXPECT_EQ(control->text(QAccessible::Name), expected.name);
        EXPECT_FALSE(control->text(QAccessible::Description).isEmpty())
            << expected.name.toStdString();
        EXPECT_EQ(control->role(), expected.role) << expected.name.toStdString();
    }
    EXPECT_EQ(accessible(window.lblColor(0))->text(QAccessible::Description),
              "Colour swatch showing White; Space or Enter makes it the painting colour");
}

TEST_F(AccessibilityTest, ToolbarButtonsAreNamedByTheirTooltips) {
    QAccessibleInterface* toolbar = accessible(window.Toolbar1());
    ASSERT_EQ(toolbar->childCount(), window.toolbar().count());
    for (int i = 1; i <= window.toolbar().count(); ++i) {
        const ToolbarButton& button = window.toolbar().Buttons(i);
        QAccessibleInterface* child = toolbar->child(i - 1);
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(child->text(QAccessible::Name), button.ToolTipText);
        EXPECT_EQ(child->parent(), toolbar);
        EXPECT_EQ(toolbar->indexOfChild(child), i - 1);
        const QAccessible::Role role =
            button.Style == ButtonStyle::Separator  ? QAccessible::Separator
            : button.Style == ButtonStyle::DropDown ? QAccessible::ButtonMenu
                                                    : QAccessible::PushButton;
        EXPECT_EQ(child->role(), role) << i;
        EXPECT_EQ(child->text(QAccessible::Description).isEmpty(),
                  button.Style == ButtonStyle::Separator)
            << i;
    }
    EXPECT_EQ(toolbar->child(5)->text(QAccessible::Name), "Paint");
    EXPECT_TRUE(toolbar->child(5)->state().checked);
    EXPECT_FALSE(toolbar->child(6)->state().checked) << "Change";

    // Pressing "Change" through the interface runs the toolbar's command.
    toolbar->child(6)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(window.canvas().LargePicture.MousePointer(), pointers::kUpArrow);
    EXPECT_TRUE(toolbar->child(6)->state().checked);
}

TEST_F(AccessibilityTest, ColourDisplaysAreNamedByTheColourTheyShow) {
    accessible(window.lblColor(13))
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(window.canvas().state.CurrentColor.value(), 0x000000FFu);
    EXPECT_EQ(nameOf(window.Pallet()), "Current colour: Red");

    QTest::mousePress(window.Pic(), Qt::LeftButton, Qt::NoModifier, QPoint(40, 100));
    EXPECT_EQ(nameOf(window.Pallet2()), "Picked colour: Red 120, green 60, blue 160");
    EXPECT_EQ(nameOf(window.Pallet()), "Current colour: Red");

    QTest::mouseClick(window.lblColor(0), Qt::LeftButton, Qt::NoModifier, QPoint(11, 11));
    EXPECT_EQ(nameOf(window.Pallet()), "Current colour: Window background");

    // A swatch given another colour is renamed with the controls' next refresh.
    window.colourChoice().lblColor[15] = Colour(0x00000080u);
    window.refreshControls();
    EXPECT_EQ(nameOf(window.lblColor(15)), "Dark red");
    window.colourChoice().lblColor[15] = Colour::system(40);
    window.refreshControls();
    EXPECT_EQ(nameOf(window.lblColor(15)), "System colour 40");
}

}  // namespace
}  // namespace mosaikon::test
