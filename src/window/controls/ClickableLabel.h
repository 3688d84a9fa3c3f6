#pragma once

#include <QLabel>

namespace mosaikon {

// A label (or image) that reports a click: the primary button pressed and released over it, or
// Space or Enter while it holds the keyboard focus.
class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    // Raises `clicked`, as a click would; for the keyboard and for assistive technology.
    void click() { emit clicked(); }

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_pressed = false;
};

}  // namespace mosaikon
