// The toolbar worked from the keyboard: Tab and Shift+Tab step through its buttons before
// leaving it, the arrow keys move along it, and Space or Enter presses the focused button.
#include <QAccessible>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>

#include "access/KeyboardFocus.h"
#include "controls/ToolbarView.h"

namespace mosaikon {

int ToolbarView::focusButton() const {
    return m_focusButton != 0 ? m_focusButton : neighbourButton(0, 1);
}

int ToolbarView::neighbourButton(int from, int step) const {
    for (int i = from + step; i >= 1 && i <= m_toolbar->count(); i += step) {
        if (m_toolbar->Buttons(i).Style != ButtonStyle::Separator) {
            return i;
        }
    }
    return 0;
}

void ToolbarView::setFocusButton(int index) {
    m_focusButton = index;
    update();
    if (hasFocus()) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        focus.setChild(index - 1);
        QAccessible::updateAccessibility(&focus);
    }
}

void ToolbarView::pressButton(int index) {
    if (index < 1 || index > m_toolbar->count()) {
        return;
    }
    switch (m_toolbar->Buttons(index).Style) {
        case ButtonStyle::Separator:
            return;
        case ButtonStyle::DropDown:
            showMenu(index);
            // Opened from the keyboard, the menu starts on its first item that can be chosen.
            if (m_menu) {
                for (QAction* action : m_menu->actions()) {
                    if (action->isEnabled()) {
                        m_menu->setActiveAction(action);
                        break;
                    }
                }
            }
            return;
        case ButtonStyle::Default:
        case ButtonStyle::Check:
            m_toolbar->clickButton(index);
            update();
            return;
    }
}

void ToolbarView::keyPressEvent(QKeyEvent* event) {
    const int current = focusButton();
    int target = 0;
    switch (event->key()) {
        case Qt::Key_Left:
            target = neighbourButton(current, -1);
            break;
        case Qt::Key_Right:
            target = neighbourButton(current, 1);
            break;
        case Qt::Key_Down:
            if (m_toolbar->Buttons(current).Style != ButtonStyle::DropDown) {
                QWidget::keyPressEvent(event);
                return;
            }
            noteKeyboardUse(this);
            pressButton(current);
            return;
        default:
            if (isPressKey(*event)) {
                noteKeyboardUse(this);
                pressButton(current);
                return;
            }
            QWidget::keyPressEvent(event);
            return;
    }
    noteKeyboardUse(this);
    if (target != 0) {
        setFocusButton(target);
    }
}

void ToolbarView::focusInEvent(QFocusEvent* event) {
    if (event->reason() == Qt::TabFocusReason) {
        m_focusButton = neighbourButton(0, 1);
    } else if (event->reason() == Qt::BacktabFocusReason) {
        m_focusButton = neighbourButton(m_toolbar->count() + 1, -1);
    }
    QWidget::focusInEvent(event);
    setFocusButton(focusButton());
}

bool ToolbarView::focusNextPrevChild(bool next) {
    const int target = neighbourButton(focusButton(), next ? 1 : -1);
    if (target == 0 || !hasFocus()) {
        return QWidget::focusNextPrevChild(next);
    }
    noteKeyboardUse(this);
    setFocusButton(target);
    return true;
}

}  // namespace mosaikon
