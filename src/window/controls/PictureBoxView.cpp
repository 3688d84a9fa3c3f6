#include "controls/PictureBoxView.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "Tools.h"
#include "controls/ResourcePictures.h"

namespace mosaikon {

namespace {

// The surface's plain colours (0x00BBGGRR) as Qt's 0xAARRGGBB.
QRgb toQRgb(std::uint32_t plain) {
    return qRgb(static_cast<int>(plain & 0xFF), static_cast<int>((plain >> 8) & 0xFF),
                static_cast<int>((plain >> 16) & 0xFF));
}

// The cursor for the shape the surface's pointer value asks for.
QCursor cursorFor(std::int16_t pointer, qreal devicePixelRatio) {
    switch (pointerShapeOf(pointer)) {
        case PointerShape::Pencil:
            return pencilCursor(devicePixelRatio);
        case PointerShape::UpArrow:
            return Qt::UpArrowCursor;
        case PointerShape::Cross:
        case PointerShape::Eraser:
        case PointerShape::Fill:
            return Qt::CrossCursor;
        case PointerShape::Move:
            return Qt::SizeAllCursor;
        case PointerShape::Arrow:
            break;
    }
    return Qt::ArrowCursor;
}

}  // namespace

QCursor pencilCursor(qreal devicePixelRatio) {
    const QPixmap pencil = resourcePixmap(QStringLiteral("pencil"), devicePixelRatio);
    QPoint point(1, 29);  // the hot spot, in logical pixels
    // Qt's X11 platform hands the hot spot to the server as it is, beside the image in device
    // pixels, so there it must be given in the image's own pixels.
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        point *= pencil.devicePixelRatio();
    }
    return QCursor(pencil, point.x(), point.y());
}

std::int16_t buttonValue(Qt::MouseButtons buttons) {
    std::int16_t value = 0;
    if (buttons & Qt::LeftButton) value |= 1;
    if (buttons & Qt::RightButton) value |= 2;
    if (buttons & Qt::MiddleButton) value |= 4;
    return value;
}

std::int16_t shiftValue(Qt::KeyboardModifiers modifiers) {
    std::int16_t value = 0;
    if (modifiers & Qt::ShiftModifier) value |= 1;
    if (modifiers & Qt::ControlModifier) value |= 2;
    if (modifiers & Qt::AltModifier) value |= 4;
    return value;
}

PictureBoxView::PictureBoxView(const PictureBox& surface, Border border, QWidget* parent)
    : QWidget(parent), m_surface(&surface), m_border(border), m_scale(devicePixelRatioF()) {
    const int edge = 2 * borderWidth();
    setFixedSize(surface.widthPixels() + edge, surface.heightPixels() + edge);
    // Moves matter only while a button is held (a drag paints); a pointer merely passing over
    // the picture changes nothing, so Qt need not deliver those moves at all.
    setMouseTracking(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_image = QImage(surface.widthPixels(), surface.heightPixels(), QImage::Format_RGB32);
    syncFromSurface();
}

void PictureBoxView::showAtScale(qreal devicePixelRatio) {
    if (devicePixelRatio != m_scale) {
        m_scale = devicePixelRatio;
        setCursor(cursorFor(m_shownPointer, m_scale));
    }
}

void PictureBoxView::syncFromSurface() {
    if (m_surface->MousePointer() != m_shownPointer) {
        m_shownPointer = m_surface->MousePointer();
        setCursor(cursorFor(m_shownPointer, m_scale));
    }
    const PixelArea changed = collectChanges();
    if (!changed.isEmpty()) {
        // Only what changed is repainted; it is converted when it is next painted, once
        // however often it changed meanwhile.
        const int b = borderWidth();
        update(changed.left + b, changed.top + b, changed.right - changed.left,
               changed.bottom - changed.top);
    }
}

PixelArea PictureBoxView::collectChanges() {
    if (m_surface->revision() == m_shownRevision) {
        return {};
    }
    const PixelArea changed = m_surface->changedSince(m_shownRevision);
    m_shownRevision = m_surface->revision();
    m_unconverted = m_unconverted.united(changed);
    return changed;
}

void PictureBoxView::convertSurface(const PixelArea& area) {
    const int width = m_surface->widthPixels();
    const auto& pixels = m_surface->pixels();
    for (int y = area.top; y < area.bottom; ++y) {
        auto* line = reinterpret_cast<QRgb*>(m_image.scanLine(y));
        for (int x = area.left; x < area.right; ++x) {
            line[x] = toQRgb(pixels[static_cast<std::size_t>(y * width + x)]);
        }
    }
}

void PictureBoxView::paintEvent(QPaintEvent* /*event*/) {
    collectChanges();
    if (!m_unconverted.isEmpty()) {
        convertSurface(m_unconverted);
        m_unconverted = {};
    }
    QPainter painter(this);
    // Whole device pixels per surface pixel and no smoothing, so cells and grid stay crisp.
    // Qt clips the drawing to the area that needs painting.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const int b = borderWidth();
    if (b > 0) {
        painter.fillRect(rect(), Qt::black);
    }
    painter.drawImage(QRect(b, b, m_image.width(), m_image.height()), m_image);
}

QPointF PictureBoxView::toSurfaceUnits(const QPointF& position) const {
    const double b = borderWidth();
    const double x = std::floor(position.x() - b);
    const double y = std::floor(position.y() - b);
    if (m_surface->scaleUnit() == ScaleUnit::Twips) {
        return {x * kTwipsPerPixel, y * kTwipsPerPixel};
    }
    return {x, y};
}

bool PictureBoxView::onDrawingArea(const QPointF& position) const {
    const double b = borderWidth();
    const double x = std::floor(position.x() - b);
    const double y = std::floor(position.y() - b);
    return x >= 0 && y >= 0 && x < m_surface->widthPixels() && y < m_surface->heightPixels();
}

void PictureBoxView::mousePressEvent(QMouseEvent* event) {
    // The border frames the drawing; it is not part of it, so a press there reaches no tool.
    // Moves are reported wherever they are, as the tools have their own rules for them.
    if (!onDrawingArea(event->position())) {
        return;
    }
    const QPointF p = toSurfaceUnits(event->position());
    emit mouseDown(buttonValue(event->button()), shiftValue(event->modifiers()),
                   static_cast<float>(p.x()), static_cast<float>(p.y()));
}

void PictureBoxView::mouseMoveEvent(QMouseEvent* event) {
    const QPointF p = toSurfaceUnits(event->position());
    emit mouseMove(buttonValue(event->buttons()), shiftValue(event->modifiers()),
                   static_cast<float>(p.x()), static_cast<float>(p.y()));
}

void PictureBoxView::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF p = toSurfaceUnits(event->position());
    emit mouseUp(buttonValue(event->button()), shiftValue(event->modifiers()),
                 static_cast<float>(p.x()), static_cast<float>(p.y()));
}

}  // namespace mosaikon
