// The recent files through the window: what the commands open and save joins the command
// menu's list, newest first, and opens from it as from the command line, whatever bytes its
// name holds; a gone file is marked and can leave; a list that cannot be kept stops nothing.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "RecentFiles.h"
#include "WindowTestSupport.h"
#include "commands/EditCommands.h"
#include "controls/PictureBoxView.h"

namespace mosaikon::test {
namespace {

constexpr Colour kRed{0x0000FF};

class RecentFilesWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(state.isValid() && files.isValid());
        qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
    }

    std::string fileNamed(const std::string& name) const {
        return files.path().toStdString() + "/" + name;
    }

    // The menu's items as it shows them when opened now.
    static QList<QAction*> shownItems(frmEditIcon& window) {
        QMenu* recent = window.editCommands().commandMenu()->findChild<QMenu*>("RecentFilesMenu");
        EXPECT_NE(recent, nullptr);
        QMetaObject::invokeMethod(recent, "aboutToShow");
        return recent->actions();
    }

    QTemporaryDir state;
    QTemporaryDir files;
};

TEST_F(RecentFilesWindowTest, SavedAndOpenedFilesAreListedNewestFirstAndOpenFromTheList) {
    const std::string plain = fileNamed("plain.ico");
    const std::string notText = fileNamed(
        "r\xE9"
        "d & co.ico");  // Latin-1 bytes, an ampersand
    frmEditIcon window;
    ScriptedDialogHost host{plain, notText};
    window.setDialogHost(host);
    window.show();
    const auto blank = window.canvas().SmallPicture.pixels();
    window.editCommands().trigger(EditorCommand::SaveIcon);
    window.canvas().state.CurrentColor = kRed;
    QTest::mouseClick(window.LargePicture(), Qt::LeftButton, Qt::NoModifier, QPoint(6, 6));
    window.editCommands().trigger(EditorCommand::SaveIcon);
    const auto red = window.canvas().SmallPicture.pixels();
    ASSERT_NE(red, blank);

    EXPECT_EQ(window.recentFiles().names(), (std::vector<std::string>{notText, plain}));
    QList<QAction*> items = shownItems(window);
    ASSERT_EQ(items.size(), 4);  // two files, a separator, "Clear recent files"
    EXPECT_TRUE(items[0]->text().startsWith(QStringLiteral("&1 r")))
        << items[0]->text().toStdString();
    EXPECT_TRUE(items[0]->text().contains(QStringLiteral("d && co.ico")));
    EXPECT_TRUE(items[1]->text().startsWith(QStringLiteral("&2 plain.ico — ")));
    EXPECT_TRUE(items[3]->isEnabled());

    const std::size_t steps = window.editCommands().history().undoCount();
    items[1]->trigger();
    EXPECT_EQ(window.canvas().SmallPicture.pixels(), blank);
    EXPECT_TRUE(window.lblStatusBar()->text().startsWith(QString::fromStdString(" " + plain)))
        << "opened as the command line opens a file";
    EXPECT_EQ(window.editCommands().history().undoCount(), steps + 1);
    EXPECT_EQ(window.recentFiles().names().front(), plain) << "opened again: to the head";

    items = shownItems(window);
    items[1]->trigger();  // the name that is no text, opened by its bytes
    EXPECT_EQ(window.canvas().SmallPicture.pixels(), red);
}

TEST_F(RecentFilesWindowTest, AGoneFileIsMarkedAndLeavesWhenChosenAndClearEmptiesTheList) {
    const std::string gone = fileNamed("gone.ico");
    const std::string kept = fileNamed("kept.ico");
    frmEditIcon window;
    ScriptedDialogHost host{kept};
    window.setDialogHost(host);
    window.show();
    window.editCommands().trigger(EditorCommand::SaveIcon);
    window.recentFiles().add(gone);

    QList<QAction*> items = shownItems(window);
    ASSERT_EQ(items.size(), 4);
    EXPECT_TRUE(items[0]->text().endsWith(QStringLiteral("(gone)")))
        << items[0]->text().toStdString();
    EXPECT_FALSE(items[1]->text().contains(QStringLiteral("(gone)")));
    const auto before = window.canvas().SmallPicture.pixels();
    QString asked;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&asked] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            asked = box->text();
            for (QAbstractButton* button : box->buttons()) {
                if (button->text() == QStringLiteral("Remove")) {
                    button->click();
                }
            }
        }
    });
    answer.start(10);
    items[0]->trigger();
    answer.stop();
    EXPECT_TRUE(asked.contains(QStringLiteral("is no longer there"))) << asked.toStdString();
    EXPECT_EQ(window.recentFiles().names(), std::vector<std::string>{kept});
    EXPECT_EQ(window.canvas().SmallPicture.pixels(), before) << "nothing was opened";

    items = shownItems(window);
    items.last()->trigger();  // "Clear recent files"
    EXPECT_TRUE(window.recentFiles().names().empty());
    items = shownItems(window);
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->text(), QStringLiteral("No recent files"));
    EXPECT_FALSE(items[0]->isEnabled());
    EXPECT_FALSE(items[2]->isEnabled()) << "nothing to clear";
}

TEST_F(RecentFilesWindowTest, AListThatCannotBeKeptIsSaidOnceAndSavesGoOn) {
    const QString blocker = state.filePath("a-file");
    QFile file(blocker);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    qputenv("XDG_STATE_HOME", blocker.toLocal8Bit());
    const std::string first = fileNamed("first.ico");
    const std::string second = fileNamed("second.ico");
    frmEditIcon window;
    ScriptedDialogHost host{first, second};
    window.setDialogHost(host);
    window.show();
    ::testing::internal::CaptureStderr();
    const ShownMessage shown = messageDuring([&] {
        window.editCommands().trigger(EditorCommand::SaveIcon);
        window.editCommands().trigger(EditorCommand::SaveIcon);
    });
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(shown.text.isEmpty()) << shown.text.toStdString();
    EXPECT_TRUE(QFile::exists(QString::fromStdString(first)));
    EXPECT_TRUE(QFile::exists(QString::fromStdString(second)));
    const std::string words = "the recent files cannot be kept";
    EXPECT_NE(said.find(words), std::string::npos) << said;
    EXPECT_EQ(said.find(words), said.rfind(words)) << "said once";
}

}  // namespace
}  // namespace mosaikon::test
