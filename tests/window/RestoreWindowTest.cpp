// The icon kept on disk through the window: what one editor painted comes back in the next
// after it ends, as one undo step; nothing left gives a plain message; a state folder that
// cannot be written greys the restore commands and says why, without a message box.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include "WindowTestSupport.h"
#include "commands/EditCommands.h"
#include "controls/PictureBoxView.h"
#include "recovery/KeptCopyKeeper.h"

namespace mosaikon::test {
namespace {

constexpr Colour kRed{0x0000FF};

// Each test has a state folder of its own, read when a window is made.
class RestoreWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(state.isValid());
        qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
    }

    // Paints a red cell at `column` in a window of its own, which then ends as Exit ends it.
    static std::vector<std::uint32_t> paintInAnEditorThatEnds(int column) {
        frmEditIcon editor;
        editor.canvas().state.CurrentColor = kRed;
        editor.show();
        QTest::mouseClick(editor.LargePicture(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(1 + 10 * column + 5, 6));
        return editor.canvas().SmallPicture.pixels();
    }

    QTemporaryDir state;
};

TEST_F(RestoreWindowTest, WhatAnEndedEditorPaintedIsRestoredAsOneUndoStepWithoutTheStatusLine) {
    const auto painted = paintInAnEditorThatEnds(3);
    frmEditIcon window;
    window.show();
    const auto start = window.canvas().SmallPicture.pixels();
    ASSERT_NE(start, painted);
    const QString status = window.lblStatusBar()->text();
    const std::size_t steps = window.editCommands().history().undoCount();

    window.editCommands().action(EditorCommand::RestorePrevious)->trigger();
    EXPECT_EQ(window.canvas().SmallPicture.pixels(), painted);
    EXPECT_EQ(window.canvas().LargePicture.pixel(35, 5), kRed) << "the view is rebuilt";
    EXPECT_EQ(window.lblStatusBar()->text(), status);
    EXPECT_EQ(window.editCommands().history().undoCount(), steps + 1);

    window.editCommands().action(EditorCommand::Undo)->trigger();
    EXPECT_EQ(window.canvas().SmallPicture.pixels(), start);
}

TEST_F(RestoreWindowTest, WithNothingLeftAPlainMessageSaysSoAndNothingChanges) {
    frmEditIcon window;
    window.show();
    const auto start = window.canvas().SmallPicture.pixels();
    const ShownMessage shown = messageDuring(
        [&] { window.editCommands().action(EditorCommand::RestorePrevious)->trigger(); });
    EXPECT_EQ(shown.text, QStringLiteral("There is no previous icon to restore."));
    EXPECT_EQ(window.canvas().SmallPicture.pixels(), start);
    EXPECT_FALSE(window.editCommands().history().canUndo());
}

TEST_F(RestoreWindowTest, TheOlderCopiesMenuListsTheCopiesLeftNewestFirstAndRestoresTheChosen) {
    const auto first = paintInAnEditorThatEnds(1);
    QTest::qWait(20);  // the copies' times differ
    const auto second = paintInAnEditorThatEnds(2);
    frmEditIcon window;
    window.show();
    QMenu* older = window.editCommands().commandMenu()->findChild<QMenu*>("OlderCopiesMenu");
    ASSERT_NE(older, nullptr);
    QMetaObject::invokeMethod(older, "aboutToShow");
    const QList<QAction*> items = older->actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_FALSE(items[0]->icon().isNull()) << "each shows its icon";
    items[1]->trigger();
    EXPECT_EQ(window.canvas().SmallPicture.pixels(), first);
    items[0]->trigger();
    EXPECT_EQ(window.canvas().SmallPicture.pixels(), second);
}

TEST_F(RestoreWindowTest,
       AStateFolderThatCannotBeWrittenGreysTheRestoreAndIsSaidOnceOnStandardError) {
    const QString blocker = state.filePath("a-file");
    QFile file(blocker);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    qputenv("XDG_STATE_HOME", blocker.toLocal8Bit());
    frmEditIcon window;
    window.canvas().state.CurrentColor = kRed;
    window.show();
    ::testing::internal::CaptureStderr();
    int boxes = 0;
    for (int column : {1, 2, 3}) {
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&boxes] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ++boxes;
                modal->close();
            }
        });
        closer.start(5);
        QTest::mouseClick(window.LargePicture(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(1 + 10 * column + 5, 6));
        QTest::qWait(20);
    }
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(boxes, 0);
    EXPECT_EQ(window.canvas().SmallPicture.pixel(3, 0), kRed) << "painting went on";
    EXPECT_NE(said.find("the icon is not being kept"), std::string::npos) << said;
    EXPECT_EQ(said.find("the icon is not being kept"), said.rfind("the icon is not being kept"));
    QAction* restore = window.editCommands().action(EditorCommand::RestorePrevious);
    EXPECT_FALSE(restore->isEnabled());
    EXPECT_TRUE(restore->text().contains(QStringLiteral("a-file")))
        << restore->text().toStdString();
}

}  // namespace
}  // namespace mosaikon::test
