#pragma once

#include <QCursor>
#include <QWidget>
#include <cstdint>

#include "PictureBox.h"

namespace mosaikon {

// Shows one drawing surface, pixel for pixel, inside an optional 1-pixel flat border, and
// reports mouse presses on the drawing area and moves anywhere in the surface's own units.
class PictureBoxView : public QWidget {
    Q_OBJECT
public:
    enum class Border { None, FlatLine };

    PictureBoxView(const PictureBox& surface, Border border, QWidget* parent = nullptr);

    const PictureBox& surface() const { return *m_surface; }
    int borderWidth() const { return m_border == Border::FlatLine ? 1 : 0; }

    // Brings the pointer shape up to date with the surface, and has the picture repainted if the
    // surface changed.
    void syncFromSurface();
    // Shows the pointer drawn for a display of `devicePixelRatio` (the window tells its views
    // when it moves to a screen of another scale).
    void showAtScale(qreal devicePixelRatio);

signals:
    // Button: 1 primary, 2 secondary, 4 middle. For a press the one button that went down,
    // for a move the sum of the buttons held. X and Y in the surface's scale unit.
    void mouseDown(std::int16_t button, std::int16_t shift, float x, float y);
    void mouseMove(std::int16_t button, std::int16_t shift, float x, float y);
    // For a release the one button that went up.
    void mouseUp(std::int16_t button, std::int16_t shift, float x, float y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPointF toSurfaceUnits(const QPointF& position) const;
    bool onDrawingArea(const QPointF& position) const;
    // Notes the surface's changes since the last call; returns the area they touched.
    PixelArea collectChanges();
    // The surface's pixels in `area` into the image that is painted.
    void convertSurface(const PixelArea& area);

    const PictureBox* m_surface;
    Border m_border;
    std::uint64_t m_shownRevision = ~std::uint64_t{0};  // none: the whole surface is new
    std::int16_t m_shownPointer = -1;
    qreal m_scale;  // the device-pixel ratio the pointer is drawn for
    QImage m_image;
    PixelArea m_unconverted;  // changed on the surface, not yet in m_image
};

// Our own pencil pointer, drawn for the given device-pixel ratio.
QCursor pencilCursor(qreal devicePixelRatio);

// Qt's mouse buttons and modifiers as the editor's handlers count them.
std::int16_t buttonValue(Qt::MouseButtons buttons);
std::int16_t shiftValue(Qt::KeyboardModifiers modifiers);

}  // namespace mosaikon
