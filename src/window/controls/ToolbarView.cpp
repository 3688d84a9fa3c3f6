#include "controls/ToolbarView.h"

#include <QHelpEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include "access/KeyboardFocus.h"

namespace mosaikon {

namespace {

const QColor kShadow(0x80, 0x80, 0x80);
const QColor kHighlight(0xFF, 0xFF, 0xFF);
const QColor kCheckedFace(0xF4, 0xF4, 0xF4);
constexpr int kImageEdge = 16;

enum class Edge { Raised, Sunken };

void drawEdge(QPainter& painter, const QRect& r, Edge edge) {
    const QColor topLeft = edge == Edge::Raised ? kHighlight : kShadow;
    const QColor bottomRight = edge == Edge::Raised ? kShadow : kHighlight;
    painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), topLeft);
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), topLeft);
    painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
    painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
}

}  // namespace

ToolbarView::ToolbarView(Toolbar& toolbar, const ImageList& images, QWidget* parent)
    : QWidget(parent), m_toolbar(&toolbar), m_images(&images) {
    setMouseTracking(true);
}

QRect ToolbarView::faceRect(int index) const {
    int x = 0;
    for (int i = 1; i <= m_toolbar->count(); ++i) {
        const ToolbarButton& button = m_toolbar->Buttons(i);
        const int faceWidth =
            button.Style == ButtonStyle::Separator ? kSeparatorWidth : kButtonWidth;
        if (i == index) {
            return {x, 0, faceWidth, kButtonHeight};
        }
        x += faceWidth + (button.Style == ButtonStyle::DropDown ? kArrowWidth : 0);
    }
    return {};
}

QRect ToolbarView::arrowRect(int index) const {
    if (index < 1 || index > m_toolbar->count() ||
        m_toolbar->Buttons(index).Style != ButtonStyle::DropDown) {
        return {};
    }
    const QRect face = faceRect(index);
    return {face.right() + 1, 0, kArrowWidth, kButtonHeight};
}

int ToolbarView::buttonAt(const QPoint& point) const {
    for (int i = 1; i <= m_toolbar->count(); ++i) {
        if (faceRect(i).contains(point) || arrowRect(i).contains(point)) {
            return i;
        }
    }
    return 0;
}

bool ToolbarView::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const int index = buttonAt(help->pos());
        if (index != 0 && !m_toolbar->Buttons(index).ToolTipText.isEmpty()) {
            const QRect area = faceRect(index).united(arrowRect(index));
            QToolTip::showText(help->globalPos(), m_toolbar->Buttons(index).ToolTipText, this,
                               area);
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QWidget::event(event);
}

void ToolbarView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    for (int i = 1; i <= m_toolbar->count(); ++i) {
        paintButton(painter, m_toolbar->Buttons(i));
    }
}

void ToolbarView::paintButton(QPainter& painter, const ToolbarButton& button) const {
    const QRect face = faceRect(button.Index);
    if (button.Style == ButtonStyle::Separator) {
        const int x = face.left() + kSeparatorWidth / 2 - 1;
        painter.fillRect(QRect(x, 2, 1, kButtonHeight - 4), kShadow);
        painter.fillRect(QRect(x + 1, 2, 1, kButtonHeight - 4), kHighlight);
        return;
    }
    const bool held = m_pressed == button.Index && m_hovered == button.Index;
    const bool checked = button.Value != 0;
    if (checked && !held) {
        painter.fillRect(face.adjusted(1, 1, -1, -1), kCheckedFace);
    }
    if (held || checked) {
        drawEdge(painter, face, Edge::Sunken);
    } else if (m_hovered == button.Index) {
        drawEdge(painter, face, Edge::Raised);
    }
    if (button.Index == focusButton() && showsFocusMark(this)) {
        drawFocusMark(painter, face.adjusted(2, 2, -2, -2));
    }
    const int shift = held || checked ? 1 : 0;
    const QRect image((kButtonWidth - kImageEdge) / 2 + face.left() + shift,
                      (kButtonHeight - kImageEdge) / 2 + shift, kImageEdge, kImageEdge);
    m_images->picture(button.Image).paint(&painter, image);

    if (button.Style == ButtonStyle::DropDown) {
        const QRect arrow = arrowRect(button.Index);
        if (m_menuButton == button.Index) {
            drawEdge(painter, arrow, Edge::Sunken);
        } else if (m_hovered == button.Index) {
            drawEdge(painter, arrow, Edge::Raised);
        }
        // A small black triangle pointing down, centred in the arrow part.
        const int cx = arrow.left() + arrow.width() / 2;
        const int cy = arrow.top() + arrow.height() / 2 - 1;
        for (int row = 0; row < 3; ++row) {
            painter.fillRect(QRect(cx - 2 + row, cy + row, 5 - 2 * row, 1), Qt::black);
        }
    }
}

void ToolbarView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const QPoint point = event->position().toPoint();
    const int index = buttonAt(point);
    if (index == 0 || m_toolbar->Buttons(index).Style == ButtonStyle::Separator) {
        return;
    }
    if (arrowRect(index).contains(point)) {
        showMenu(index);
        return;
    }
    m_pressed = index;
    m_hovered = index;
    update();
}

void ToolbarView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || m_pressed == 0) {
        return;
    }
    const int pressed = m_pressed;
    m_pressed = 0;
    update();
    if (faceRect(pressed).contains(event->position().toPoint())) {
        m_toolbar->clickButton(pressed);
    }
}

void ToolbarView::mouseMoveEvent(QMouseEvent* event) {
    const int index = buttonAt(event->position().toPoint());
    if (index != m_hovered) {
        m_hovered = index;
        update();
    }
}

void ToolbarView::leaveEvent(QEvent* /*event*/) {
    m_hovered = 0;
    update();
}

void ToolbarView::showMenu(int index) {
    if (m_menu) {
        m_menu->close();
    }
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (const ToolbarMenuItem& item : m_toolbar->Buttons(index).ButtonMenus) {
        if (!item.Visible) {
            continue;
        }
        QAction* action = menu->addAction(item.Text);
        action->setEnabled(item.Enabled);
        const int itemIndex = item.Index;
        connect(action, &QAction::triggered, this,
                [this, index, itemIndex] { m_toolbar->chooseMenuItem(index, itemIndex); });
    }
    connect(menu, &QMenu::aboutToHide, this, [this] {
        m_menuButton = 0;
        update();
    });
    m_menu = menu;
    m_menuButton = index;
    update();
    menu->popup(mapToGlobal(faceRect(index).bottomLeft() + QPoint(0, 1)));
}

}  // namespace mosaikon
