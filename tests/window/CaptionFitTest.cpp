// Every caption fits its label with the fonts actually installed, drawn at display scales 1 and
// 2, and every tooltip fits on the screen whole.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QToolTip>

#include "WindowTestSupport.h"
#include "controls/Toolbar.h"

namespace mosaikon {
namespace {

// Where the ink of `label`'s caption falls, in the label's logical pixels, when drawn as the
// label draws it but without clipping, at `scale` device pixels per logical pixel.
QRect captionInk(const QLabel* label, int scale) {
    const QRect box = label->contentsRect();
    const QSize room = label->size() * 3;
    QImage image(room * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setFont(label->font());
        painter.setPen(Qt::black);
        const int flags = static_cast<int>(label->alignment()) | Qt::TextDontClip |
                          (label->wordWrap() ? Qt::TextWordWrap : 0);
        // The label's own box, placed in the middle of a larger canvas so that ink outside it
        // is seen too.
        painter.drawText(box.translated(label->width(), label->height()), flags, label->text());
    }
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) != 0) {
                ink |= QRect(x / scale, y / scale, 1, 1);
            }
        }
    }
    return ink.translated(-label->width(), -label->height());
}

class CaptionFitTest : public test::ShownWindowTest {};

TEST_F(CaptionFitTest, EveryLabelCaptionFitsItsLabelAtScalesOneAndTwo) {
    int captions = 0;
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (label->text().isEmpty() || label->objectName() == QLatin1String("lblStatusBar")) {
            continue;  // pictures and colour labels; the status line is checked on its own
        }
        ++captions;
        const QString family = QFontInfo(label->font()).family();
        EXPECT_TRUE(family.startsWith(QLatin1String("Liberation")) ||
                    family.startsWith(QLatin1String("DejaVu")))
            << label->objectName().toStdString() << " is drawn in " << family.toStdString();
        for (const int scale : {1, 2}) {
            const QRect ink = captionInk(label, scale);
            EXPECT_FALSE(ink.isEmpty()) << label->objectName().toStdString();
            EXPECT_TRUE(label->contentsRect().contains(ink))
                << label->objectName().toStdString() << " \"" << label->text().toStdString()
                << "\" at scale " << scale << ": ink at " << ink.x() << "," << ink.y() << " "
                << ink.width() << "x" << ink.height() << " in a " << label->width() << "x"
                << label->height() << " label";
        }
    }
    EXPECT_EQ(captions, 5) << "Label1, Label3, Label4, Label6 and Label7";
}

TEST_F(CaptionFitTest, TheStatusLineShowsALongPathWhole) {
    QLabel* status = window.lblStatusBar();
    status->setText(QStringLiteral(" /home/someone/Pictures/icons/toolbar-open.ico... "));
    for (const int scale : {1, 2}) {
        EXPECT_TRUE(status->contentsRect().contains(captionInk(status, scale))) << scale;
    }
}

TEST_F(CaptionFitTest, EveryTooltipFitsOnTheScreenWhole) {
    const QRect screen = window.screen()->availableGeometry();
    const QFontMetrics metrics(QToolTip::font());
    for (int i = 1; i <= window.toolbar().count(); ++i) {
        const QString tip = window.toolbar().Buttons(i).ToolTipText;
        if (tip.isEmpty()) {
            continue;
        }
        // Shown near the right edge, where a tooltip has least room.
        QToolTip::showText(screen.topRight() - QPoint(4, -4), tip, &window);
        QWidget* shown = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->inherits("QTipLabel") && top->isVisible()) {
                shown = top;
            }
        }
        ASSERT_NE(shown, nullptr) << tip.toStdString();
        EXPECT_TRUE(screen.contains(shown->geometry())) << tip.toStdString();
        EXPECT_GE(shown->width(), metrics.horizontalAdvance(tip)) << tip.toStdString();
        QToolTip::hideText();
    }
}

}  // namespace
}  // namespace mosaikon
