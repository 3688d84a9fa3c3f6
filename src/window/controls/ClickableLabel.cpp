#include "controls/ClickableLabel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "access/KeyboardFocus.h"

namespace mosaikon {

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click) {
        emit clicked();
    }
}

void ClickableLabel::keyPressEvent(QKeyEvent* event) {
    if (focusPolicy() != Qt::NoFocus && isPressKey(*event)) {
        noteKeyboardUse(this);
        emit clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

void ClickableLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (showsFocusMark(this)) {
        QPainter painter(this);
        const int inset = frameWidth() + 1;
        drawFocusMark(painter, rect().adjusted(inset, inset, -inset, -inset));
    }
}

}  // namespace mosaikon
