// After each handler the window touches only the controls whose models changed: hovering over
// the grid repaints nothing, a painting move repaints the painted cell and the icon pixel.
#include <gtest/gtest.h>

#include <QPaintEvent>
#include <QTest>
#include <map>

#include "WindowTestSupport.h"
#include "controls/ClickableLabel.h"
#include "controls/PictureBoxView.h"

namespace mosaikon {
namespace {

using test::ShownWindowTest;

// Records every paint event any widget receives, with the area it was asked to paint.
class PaintRecorder : public QObject {
public:
    PaintRecorder() { qApp->installEventFilter(this); }
    ~PaintRecorder() override { qApp->removeEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint || event->type() == QEvent::PaletteChange) {
            auto* widget = qobject_cast<QWidget*>(watched);
            const QRect area = event->type() == QEvent::Paint
                                   ? static_cast<QPaintEvent*>(event)->rect()
                                   : QRect(0, 0, 1, 1);
            painted[widget->objectName()] = painted[widget->objectName()].united(area);
        }
        return false;
    }
    std::map<QString, QRect> painted;
};

class QuietRefreshTest : public ShownWindowTest {
protected:
    void SetUp() override {
        ShownWindowTest::SetUp();
        // The pointer comes to rest over the grid first: entering it may change the cursor.
        QTest::mouseMove(view(), QPoint(100, 100));
        settle();
    }
    PictureBoxView* view() { return window.LargePicture(); }
    // Lets pending repaints happen.
    static void settle() {
        QTest::qWait(20);
        QCoreApplication::processEvents();
    }
};

TEST_F(QuietRefreshTest, HoveringOverTheGridTouchesNoWidget) {
    PaintRecorder recorder;
    for (const QPoint point : {QPoint(105, 105), QPoint(111, 100), QPoint(10, 300), QPoint(320, 16),
                               QPoint(0, 0), QPoint(160, 160)}) {
        QTest::mouseMove(view(), point);
    }
    settle();
    for (const auto& [name, area] : recorder.painted) {
        ADD_FAILURE() << name.toStdString() << " was repainted or changed";
    }
}

TEST_F(QuietRefreshTest, APaintingMoveRepaintsOnlyThePaintedCellAndIconPixel) {
    QTest::mousePress(view(), Qt::LeftButton, Qt::NoModifier, QPoint(16, 16));
    settle();
    PaintRecorder recorder;
    QTest::mouseMove(view(), QPoint(36, 26));  // view pixel (35, 25): cell (3, 2)
    settle();
    QTest::mouseRelease(view(), Qt::LeftButton, Qt::NoModifier, QPoint(36, 26));

    ASSERT_EQ(window.canvas().SmallPicture.pixel(3, 2).value(), 0u) << "the move painted";
    std::map<QString, QRect> expected{
        {QStringLiteral("LargePicture"), QRect(1 + 31, 1 + 21, 9, 9)},  // the cell interior
        {QStringLiteral("SmallPicture"), QRect(3, 2, 1, 1)},
    };
    EXPECT_EQ(recorder.painted, expected);
}

TEST_F(QuietRefreshTest, AChangedColourRepaintsItsDisplayOnly) {
    PaintRecorder recorder;
    QTest::mouseClick(window.lblColor(4), Qt::LeftButton);
    settle();
    // The swatch itself repaints as it is clicked; of the models, only the painting colour
    // changed, so of the other displays only Pallet changes.
    recorder.painted.erase(window.lblColor(4)->objectName());
    ASSERT_EQ(recorder.painted.size(), 1u);
    EXPECT_EQ(recorder.painted.begin()->first, QStringLiteral("Pallet"));
}

}  // namespace
}  // namespace mosaikon
