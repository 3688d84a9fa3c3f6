#include "access/KeyboardFocus.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QWidget>

namespace mosaikon {

namespace {

class TabFocusWatcher : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) {
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) {
                noteKeyboardUse(static_cast<QWidget*>(watched));
            }
        }
        return false;
    }
};

}  // namespace

bool showsFocusMark(const QWidget* widget) {
    return widget->hasFocus() && widget->window()->testAttribute(Qt::WA_KeyboardFocusChange);
}

void noteKeyboardUse(QWidget* widget) {
    QWidget* window = widget->window();
    if (!window->testAttribute(Qt::WA_KeyboardFocusChange)) {
        window->setAttribute(Qt::WA_KeyboardFocusChange);
        widget->update();
    }
}

void watchTabFocus(QWidget* widget) { widget->installEventFilter(new TabFocusWatcher(widget)); }

bool isPressKey(const QKeyEvent& event) {
    if (event.isAutoRepeat()) {
        return false;
    }
    switch (event.key()) {
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Select:
            return true;
        default:
            return false;
    }
}

void drawFocusMark(QPainter& painter, const QRect& rect) {
    // The rectangle's outline runs along its outermost pixels.
    const QRect outline = rect.adjusted(0, 0, -1, -1);
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 0));
    painter.drawRect(outline);
    painter.setPen(QPen(Qt::black, 0, Qt::DotLine));
    painter.drawRect(outline);
    painter.restore();
}

}  // namespace mosaikon
