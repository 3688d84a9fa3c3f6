// Whole display scales whatever the environment asks for, and pictures and pointer that follow
// the window from a screen of one scale to a screen of another.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <utility>
#include <vector>

#include "controls/PictureBoxView.h"
#include "mainwindow/frmEditIcon.h"

namespace mosaikon {
namespace {

// The scale the program's settings give a screen of `dpi` dots per inch under `environment`,
// read from a fresh process.
double scaleUnder(int dpi, const std::vector<std::pair<QString, QString>>& environment) {
    QTemporaryDir folder;
    const QString config = folder.filePath(QStringLiteral("screen.json"));
    QFile file(config);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        QStringLiteral(R"({"screens": [{"name": "one", "logicalDpi": %1, "logicalBaseDpi": 96}]})")
            .arg(dpi)
            .toUtf8());
    file.close();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name :
         {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_SCALE_FACTOR_ROUNDING_POLICY"}) {
        env.remove(QString::fromLatin1(name));
    }
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=") + config);
    for (const auto& [name, value] : environment) {
        env.insert(name, value);
    }
    QProcess probe;
    probe.setProcessEnvironment(env);
    probe.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--print-scale")});
    EXPECT_TRUE(probe.waitForFinished(20000));
    return probe.readAllStandardOutput().trimmed().toDouble();
}

TEST(WholeDisplayScaleTest, EveryEnvironmentGivesEveryScreenAWholeScale) {
    const QString passThrough = QStringLiteral("PassThrough");
    const QString policy = QStringLiteral("QT_SCALE_FACTOR_ROUNDING_POLICY");
    const QString global = QStringLiteral("QT_SCALE_FACTOR");
    const QString screens = QStringLiteral("QT_SCREEN_SCALE_FACTORS");
    struct Case {
        int dpi;
        std::vector<std::pair<QString, QString>> environment;
        double scale;
    };
    const Case cases[] = {
        {96, {}, 1},
        {120, {{policy, passThrough}}, 1},  // a screen at 1.25
        {144, {{policy, passThrough}}, 2},  // 1.5: lines 1 and 2 pixels wide if passed through
        {168, {{policy, QStringLiteral("Floor")}}, 2},
        {288, {{policy, passThrough}}, 3},
        {96, {{global, QStringLiteral("1.75")}, {policy, passThrough}}, 2},
        {96, {{screens, QStringLiteral("1.5")}, {policy, passThrough}}, 2},
        {96, {{screens, QStringLiteral("one=1.25")}}, 1},
        {144, {{global, QStringLiteral("1.5")}, {policy, passThrough}}, 4},
    };
    for (const Case& c : cases) {
        QStringList described;
        for (const auto& [name, value] : c.environment) {
            described << name + QLatin1Char('=') + value;
        }
        EXPECT_EQ(scaleUnder(c.dpi, c.environment), c.scale)
            << c.dpi << " dpi " << described.join(QLatin1Char(' ')).toStdString();
    }
}

TEST(PencilCursorTest, HasADrawingForEveryWholeScaleWithTheSamePoint) {
    const QImage plain = pencilCursor(1).pixmap().toImage();
    ASSERT_EQ(plain.size(), QSize(32, 32));
    for (const int scale : {2, 3}) {
        const QCursor cursor = pencilCursor(scale);
        EXPECT_EQ(cursor.pixmap().devicePixelRatio(), scale);
        EXPECT_EQ(cursor.hotSpot(), QPoint(1, 29)) << "in logical pixels, at the point";
        const QImage drawn = cursor.pixmap().toImage();
        ASSERT_EQ(drawn.size(), plain.size() * scale);
        // A pixel drawing: each pixel of the plain one is a scale × scale block.
        int different = 0;
        for (int y = 0; y < drawn.height(); ++y) {
            for (int x = 0; x < drawn.width(); ++x) {
                different += drawn.pixel(x, y) != plain.pixel(x / scale, y / scale) ? 1 : 0;
            }
        }
        EXPECT_EQ(different, 0) << scale;
    }
}

class ScreenMoveTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(QGuiApplication::screens().size(), 2);
        moveTo("plain");
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    // Moves the window onto the screen of that name (two-screens.json).
    void moveTo(const char* name) {
        const QList<QScreen*> screens = QGuiApplication::screens();
        const auto screen = std::find_if(screens.begin(), screens.end(), [name](QScreen* s) {
            return s->name() == QLatin1String(name);
        });
        ASSERT_NE(screen, screens.end()) << name;
        window.move((*screen)->geometry().topLeft() + QPoint(20, 20));
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.screen() == *screen; })) << name;
    }

    // What the pictures and pointer are drawn for: the logo's, the first toolbar image's largest
    // and the grid pointer's scale.
    std::vector<double> pictureScales() {
        const auto* logo = window.findChild<QLabel*>(QStringLiteral("Image2"));
        const QList<QSize> toolbarSizes = window.ImageList2().picture(1).availableSizes();
        return {logo->pixmap().devicePixelRatio(),
                static_cast<double>(toolbarSizes.last().width()) / 16,
                window.LargePicture()->cursor().pixmap().devicePixelRatio()};
    }

    frmEditIcon window;
};

TEST_F(ScreenMoveTest, PicturesAndPointerAreChosenAgainOnAScreenOfAnotherScale) {
    ASSERT_EQ(window.LargePicture()->cursor().shape(), Qt::BitmapCursor) << "the pencil";
    EXPECT_EQ(pictureScales(), (std::vector<double>{1, 1, 1}));
    moveTo("double");
    EXPECT_EQ(pictureScales(), (std::vector<double>{2, 2, 2}));
    const auto* arrow = window.findChild<QLabel*>(QStringLiteral("Image3"));
    EXPECT_EQ(arrow->pixmap().size(), QSize(188, 82));
    moveTo("plain");
    EXPECT_EQ(pictureScales(), (std::vector<double>{1, 1, 1}));
}

}  // namespace
}  // namespace mosaikon
