// The save dialog refuses a name it could not write, and says why in words that name the cause:
// typed into Qt's own dialog with real key events.
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include "WindowTestSupport.h"
#include "platform/QtDialogHost.h"

namespace mosaikon::test {
namespace {

// Types `typed` into the save dialog, showing `folder`, and then clicks Save; records the refusal
// it then shows, closes it and cancels the dialog.
QString refusalFor(QWidget& parent, const QString& folder, const QString& typed) {
    QString refusal;
    QTimer driver;
    int stage = 0;
    QObject::connect(&driver, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<QFileDialog*>(modal); dialog != nullptr && stage == 0) {
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            dialog->setDirectory(folder);
            name->clear();
            QTest::keyClicks(name, typed);
            stage = 1;
        } else if (dialog != nullptr && stage == 1) {
            // Once the dialog has taken in the typed name: a click on its Save button.
            stage = 2;
            auto* buttons = dialog->findChild<QDialogButtonBox*>();
            ASSERT_NE(buttons, nullptr);
            QPushButton* save = buttons->button(QDialogButtonBox::Save);
            ASSERT_NE(save, nullptr);
            QTest::mouseClick(save, Qt::LeftButton);
        } else if (auto* box = qobject_cast<QMessageBox*>(modal); box != nullptr) {
            refusal = box->text();
            box->close();
        } else if (dialog != nullptr) {
            dialog->reject();
        }
    });
    driver.start(20);
    QtDialogHost host(&parent);
    DialogRequest request;
    request.mode = DialogRequest::Mode::Save;
    request.filter = "Icons (*.ico)|*.ico";
    request.flags = dialogflags::kOverwritePrompt | dialogflags::kNoReadOnlyReturn;
    EXPECT_EQ(host.run(request), "") << "the refused name is not returned";
    return refusal;
}

class SaveDialogTest : public ShownWindowTest {
protected:
    QTemporaryDir folder;
};

TEST_F(SaveDialogTest, ANameInAMissingFolderIsRefusedForThatReason) {
    const QString missing = folder.filePath(QStringLiteral("no such folder"));
    EXPECT_EQ(refusalFor(window, folder.path(), QStringLiteral("no such folder/icon.ico")),
              missing + QStringLiteral("/icon.ico\nThe folder ") + missing +
                  QStringLiteral(" does not exist. Choose a folder that does."));
}

TEST_F(SaveDialogTest, AReadOnlyFileIsRefusedAsReadOnly) {
    const QString target = folder.filePath(QStringLiteral("kept.ico"));
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ASSERT_TRUE(file.setPermissions(QFileDevice::ReadOwner));
    if (QFileInfo(target).isWritable()) {
        GTEST_SKIP() << "this user may write any file";
    }
    EXPECT_EQ(refusalFor(window, folder.path(), QStringLiteral("kept.ico")),
              target + QStringLiteral("\nThis file is read-only. Choose another name."));
}

TEST_F(SaveDialogTest, TheRulesNameEachCause) {
    EXPECT_EQ(whyNotWritable(folder.filePath(QStringLiteral("new.ico"))), QString());
    EXPECT_EQ(whyNotWritable(folder.path()),
              QStringLiteral("This is a folder. Choose a file name in it."));
    const QString plain = folder.filePath(QStringLiteral("plain"));
    QFile file(plain);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_EQ(whyNotWritable(plain + QStringLiteral("/icon.ico")),
              plain + QStringLiteral(" is not a folder. Choose a folder."));
}

}  // namespace
}  // namespace mosaikon::test
