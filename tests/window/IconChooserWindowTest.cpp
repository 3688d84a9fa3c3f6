// Choosing which icon to take through the window, with real keys in the list: the chosen image
// or group comes in as the command without a choice would take it, Escape takes nothing, and a
// program without icons says so.
#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <tuple>

#include "FileCommands.h"
#include "PictureTestSupport.h"
#include "ProgramFileBuilder.h"
#include "WindowTestSupport.h"
#include "commands/EditCommands.h"
#include "commands/IconChooser.h"
#include "icon/IconWriter.h"

namespace mosaikon::test {
namespace {

Picture solid(int side, Colour colour) {
    return Picture::fromPixels(
        PictureKind::Icon, side, side,
        std::vector<Pixel>(static_cast<std::size_t>(side * side), opaquePixel(colour)));
}

class IconChooserWindowTest : public ShownWindowTest {
protected:
    // Presses `keys` in the chooser as soon as it shows, after noting what it lists.
    void answerChooser(std::vector<Qt::Key> keys) {
        auto* poll = new QTimer(&window);
        QObject::connect(poll, &QTimer::timeout, [this, poll, keys] {
            auto* chooser = qobject_cast<IconChooser*>(QApplication::activeModalWidget());
            if (chooser == nullptr) return;
            poll->deleteLater();
            poll->stop();
            for (int row = 0; row < chooser->list()->count(); ++row) {
                listed << chooser->list()->item(row)->text();
            }
            startRow = chooser->list()->currentRow();
            for (Qt::Key key : keys) QTest::keyClick(chooser->list(), key);
        });
        poll->start(10);
    }

    QStringList listed;
    int startRow = -1;
    TemporaryFolder folder;
};

TEST_F(IconChooserWindowTest, TheChosenImageOpensAsOpenIconLeavesTheDialogAndTheStatusLine) {
    const std::string path = folder.file("three.ico");
    writeBytes(path, encodeIconImages({solid(16, Colour::fromRgb(200, 0, 0)),
                                       solid(48, Colour::fromRgb(0, 200, 0)),
                                       solid(32, Colour::fromRgb(0, 0, 200))},
                                      path));
    ScriptedDialogHost host{path, path};
    window.setDialogHost(host);
    const std::size_t steps = window.editCommands().history().undoCount();
    answerChooser({Qt::Key_Up, Qt::Key_Return});  // from the 32 × 32 to the 48 × 48
    window.editCommands().trigger(EditorCommand::OpenIconChoosing);
    ASSERT_EQ(listed.size(), 3);
    EXPECT_EQ(listed[0], QStringLiteral("16 × 16, 32 bits, bitmap"));
    EXPECT_EQ(startRow, 2) << "the image Open Icon takes comes first to hand";
    EXPECT_EQ(window.canvas().SmallPicture.pixel(31, 31), Colour::fromRgb(0, 200, 0))
        << "the 48 × 48 image scaled over the whole icon";
    EXPECT_EQ(window.editCommands().history().undoCount(), steps + 1);
    const QString status = window.lblStatusBar()->text();
    const CommonDialog& dialog = window.CommonDialog1();
    const auto chosen =
        std::make_tuple(dialog.FileName, dialog.Filter, dialog.Flags, dialog.CancelError);

    window.editCommands().trigger(EditorCommand::OpenIcon);
    EXPECT_EQ(window.lblStatusBar()->text(), status);
    EXPECT_EQ(std::make_tuple(dialog.FileName, dialog.Filter, dialog.Flags, dialog.CancelError),
              chosen)
        << "the dialog left as Open Icon leaves it";
    EXPECT_EQ(window.canvas().SmallPicture.pixel(0, 0), Colour::fromRgb(0, 0, 200));

    ScriptedDialogHost again{path};
    window.setDialogHost(again);
    const auto before = window.canvas().SmallPicture.pixels();
    answerChooser({Qt::Key_Escape});
    window.editCommands().trigger(EditorCommand::OpenIconChoosing);
    EXPECT_EQ(window.canvas().SmallPicture.pixels(), before) << "Escape takes nothing";
}

TEST_F(IconChooserWindowTest, TheChosenGroupIsTakenAsExtractIconTakesItsIcon) {
    ProgramFileBuilder builder;
    builder.addGroup({"FOLDER", 0, {{32, 32, 32, 1, 0, 0}}, {}})
        .addGroup({{}, 7, {{16, 16, 32, 2, 0, 0}, {32, 32, 32, 3, 0, 0}}, {}})
        .addImage(1, solidIconImage(32, 32, opaquePixel(Colour::fromRgb(0, 0, 200))))
        .addImage(2, solidIconImage(16, 16, opaquePixel(Colour::fromRgb(200, 0, 0))))
        .addImage(3, solidIconImage(32, 32, opaquePixel(Colour::fromRgb(200, 0, 0))));
    const std::string program = folder.file("two.exe");
    writeBytes(program, builder.build(ProgramFormat::Pe32));
    ScriptedDialogHost host{program, program};
    window.setDialogHost(host);
    answerChooser({Qt::Key_Return});  // the first group
    window.editCommands().trigger(EditorCommand::ExtractChoosing);
    ASSERT_EQ(listed.size(), 2);
    EXPECT_EQ(listed[0], QStringLiteral("FOLDER\n32 × 32, 32 bits"));
    EXPECT_EQ(listed[1], QStringLiteral("#7\n16 × 16, 32 bits; 32 × 32, 32 bits"));
    EXPECT_EQ(window.canvas().SmallPicture.pixel(5, 5), Colour::fromRgb(0, 0, 200));

    listed.clear();
    answerChooser({Qt::Key_Down, Qt::Key_Return});
    window.editCommands().trigger(EditorCommand::ExtractChoosing);
    const auto chosen = window.canvas().LargePicture.pixels();
    EXPECT_EQ(window.canvas().SmallPicture.pixel(5, 5), Colour::fromRgb(200, 0, 0));
    ScriptedDialogHost plain{program};
    window.setDialogHost(plain);
    window.editCommands().trigger(EditorCommand::ExtractIcon);
    EXPECT_EQ(window.canvas().LargePicture.pixels(), chosen) << "Extract Icon's own group";

    const std::string bare = folder.file("bare.exe");
    writeBytes(bare, ProgramFileBuilder()
                         .addImage(1, solidIconImage(16, 16, opaquePixel({})))
                         .build(ProgramFormat::Pe32));
    ScriptedDialogHost none{bare};
    window.setDialogHost(none);
    const ShownMessage shown =
        messageDuring([&] { window.editCommands().trigger(EditorCommand::ExtractChoosing); });
    EXPECT_TRUE(shown.text.endsWith(QStringLiteral("holds no icons."))) << shown.text.toStdString();
}

}  // namespace
}  // namespace mosaikon::test
