// The program's name is read from the application object wherever a person sees it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <stdexcept>

#include "mainwindow/frmEditIcon.h"

namespace mosaikon {
namespace {

TEST(ProgramNameTest, TitleAndMessageCaptionsFollowTheApplicationsName) {
    const QString name = QCoreApplication::applicationName();
    EXPECT_EQ(name, QStringLiteral("Mosaikon"));
    QCoreApplication::setApplicationName(QStringLiteral("Renamed"));
    QString caption;
    {
        frmEditIcon window;
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Renamed"));
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&caption] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                caption = box->windowTitle();
                box->close();
            }
        });
        closer.start(10);
        window.runHandler([] { throw std::runtime_error("A failure to report."); });
    }
    QCoreApplication::setApplicationName(name);
    EXPECT_EQ(caption, QStringLiteral("Renamed"));
}

}  // namespace
}  // namespace mosaikon
