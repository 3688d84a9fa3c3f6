#include "controls/Toolbar.h"

#include <stdexcept>
#include <string>
#include <utility>

namespace mosaikon {

ToolbarButton& Toolbar::addButton(const QString& key, ButtonStyle style, const QString& toolTipText,
                                  int image, std::int16_t value) {
    auto button = std::make_unique<ToolbarButton>();
    button->Index = static_cast<std::int16_t>(m_buttons.size() + 1);
    button->Key = key;
    button->Style = style;
    button->ToolTipText = toolTipText;
    button->Image = image;
    button->Value = value;
    m_buttons.push_back(std::move(button));
    return *m_buttons.back();
}

ToolbarMenuItem& Toolbar::addMenuItem(ToolbarButton& button, const QString& text,
                                      const QString& key, bool enabled) {
    ToolbarMenuItem item;
    item.Index = static_cast<std::int16_t>(button.ButtonMenus.size() + 1);
    item.ParentIndex = button.Index;
    item.Text = text;
    item.Key = key;
    item.Enabled = enabled;
    button.ButtonMenus.push_back(item);
    return button.ButtonMenus.back();
}

ToolbarButton& Toolbar::Buttons(int index) {
    return const_cast<ToolbarButton&>(std::as_const(*this).Buttons(index));
}

const ToolbarButton& Toolbar::Buttons(int index) const {
    if (index < 1 || index > count()) {
        throw std::out_of_range("The toolbar has no button number " + std::to_string(index) + ".");
    }
    return *m_buttons[static_cast<std::size_t>(index - 1)];
}

ToolbarButton& Toolbar::Buttons(const QString& key) {
    for (const auto& button : m_buttons) {
        if (!key.isEmpty() && button->Key == key) {
            return *button;
        }
    }
    throw std::out_of_range("The toolbar has no button \"" + key.toStdString() + "\".");
}

void Toolbar::clickButton(int index) {
    ToolbarButton& button = Buttons(index);
    if (button.Style == ButtonStyle::Separator) {
        return;
    }
    if (button.Style == ButtonStyle::Check) {
        button.Value = button.Value == 0 ? 1 : 0;
    }
    emit ButtonClick(button);
}

void Toolbar::chooseMenuItem(int buttonIndex, int itemIndex) {
    if (buttonIndex < 1 || buttonIndex > count()) {
        return;
    }
    const ToolbarButton& button = Buttons(buttonIndex);
    if (itemIndex < 1 || itemIndex > static_cast<int>(button.ButtonMenus.size())) {
        return;
    }
    const ToolbarMenuItem& item = button.ButtonMenus[static_cast<std::size_t>(itemIndex - 1)];
    if (item.Enabled && item.Visible) {
        emit ButtonMenuClick(item);
    }
}

}  // namespace mosaikon
