#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

namespace mosaikon {

enum class ButtonStyle {
    Default,    // a plain push button
    Check,      // stays pressed or released; each click changes its pressed state
    Separator,  // a gap between groups, no button
    DropDown,   // a push button with a menu arrow beside it
};

// One item of a drop-down button's menu.
struct ToolbarMenuItem {
    std::int16_t Index = 0;        // 1-based position in the menu
    std::int16_t ParentIndex = 0;  // Index of the button that owns the menu
    QString Text;
    QString Key;
    bool Enabled = true;  // an item that is not enabled is shown greyed and cannot be chosen
    bool Visible = true;
};

struct ToolbarButton {
    std::int16_t Index = 0;  // 1-based position in the toolbar
    QString Key;
    ButtonStyle Style = ButtonStyle::Default;
    QString ToolTipText;
    int Image = 0;           // 1-based index into the toolbar's image list; 0 shows none
    std::int16_t Value = 0;  // 1 pressed, 0 not pressed
    std::vector<ToolbarMenuItem> ButtonMenus;
};

// The toolbar's buttons and menus, and the two events it raises. The widget that shows it
// turns presses into `clickButton` and menu choices into `chooseMenuItem`.
class Toolbar : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    ToolbarButton& addButton(const QString& key, ButtonStyle style, const QString& toolTipText = {},
                             int image = 0, std::int16_t value = 0);
    ToolbarMenuItem& addMenuItem(ToolbarButton& button, const QString& text,
                                 const QString& key = {}, bool enabled = true);

    int count() const { return static_cast<int>(m_buttons.size()); }
    // The button at 1-based `index`, or the button with exactly this key (case-sensitive).
    // Asking for a button that is not there is an error (std::out_of_range).
    ToolbarButton& Buttons(int index);
    const ToolbarButton& Buttons(int index) const;
    ToolbarButton& Buttons(const QString& key);

    // A click on the face of the button at `index`: a check button changes its pressed state,
    // then ButtonClick is raised. Separators do nothing.
    void clickButton(int index);
    // The choice of item `itemIndex` in the menu of button `buttonIndex`; an item that is not
    // enabled or not visible, or is not there, cannot be chosen and raises nothing.
    void chooseMenuItem(int buttonIndex, int itemIndex);

signals:
    void ButtonClick(const mosaikon::ToolbarButton& Button);
    void ButtonMenuClick(const mosaikon::ToolbarMenuItem& ButtonMenu);

private:
    std::vector<std::unique_ptr<ToolbarButton>> m_buttons;
};

}  // namespace mosaikon
