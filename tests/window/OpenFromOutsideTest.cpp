// Files named on the command line or dropped on the window open exactly as the matching command
// opens them when the same file is chosen in its dialog.
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <fstream>
#include <iterator>

#include "WindowTestSupport.h"
#include "commands/EditCommands.h"

namespace mosaikon::test {
namespace {

std::string dataFile(const char* relative) {
    return std::string(MOSAIKON_TEST_DATA) + "/" + relative;
}

std::vector<char> bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeBytes(const std::string& path, const std::vector<char>& bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<long>(bytes.size()));
}

// An icon file whose one 32 × 32 entry is the PNG at `pngPath`.
std::vector<char> iconHoldingPng(const std::string& pngPath) {
    const std::vector<char> png = bytesOf(pngPath);
    const auto size = static_cast<std::uint32_t>(png.size());
    std::vector<char> icon = {0, 0, 1, 0, 1, 0, 32, 32, 0, 0, 1, 0, 32, 0};
    for (int shift = 0; shift < 32; shift += 8) {
        icon.push_back(static_cast<char>(size >> shift));
    }
    icon.insert(icon.end(), {22, 0, 0, 0});
    icon.insert(icon.end(), png.begin(), png.end());
    return icon;
}

struct OpenCase {
    const char* name;
    std::string file;      // opened from outside
    std::string sameFile;  // the same content, chosen in the command's dialog
    EditorCommand command;
    int messageBoxes;
};

struct Outcome {
    std::vector<std::uint32_t> icon;
    std::vector<std::uint32_t> view;
    QString status;
    bool cancelError;
    std::string fileName;
    std::string filter;
    std::int32_t flags;
    int filterIndex;
    std::size_t undoSteps;
    int boxes;
};

class OpenFromOutsideTest : public ShownWindowTest {
protected:
    Outcome outcomeOf(frmEditIcon& target, int boxes) {
        const CommonDialog& dialog = target.CommonDialog1();
        return {target.canvas().SmallPicture.pixels(),
                target.canvas().LargePicture.pixels(),
                target.lblStatusBar()->text(),
                dialog.CancelError,
                dialog.FileName,
                dialog.Filter,
                dialog.Flags,
                dialog.FilterIndex,
                target.editCommands().history().undoCount(),
                boxes};
    }

    // Each case starts from a freshly opened window, as the program does.
    Outcome openedFromOutside(const std::string& path) {
        frmEditIcon fresh;
        RecordingDialogHost unused;
        fresh.setDialogHost(unused);
        fresh.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&fresh));
        const int boxes = modalBoxesDuring([&] { fresh.openFile(path); });
        EXPECT_TRUE(unused.requests().empty()) << "no dialog is shown";
        return outcomeOf(fresh, boxes);
    }

    Outcome openedByCommand(const std::string& path, EditorCommand command) {
        frmEditIcon other;
        ScriptedDialogHost chooser;
        chooser.choose(path);
        other.setDialogHost(chooser);
        other.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&other));
        const int boxes = modalBoxesDuring([&] { other.editCommands().trigger(command); });
        return outcomeOf(other, boxes);
    }

    void expectSame(const Outcome& outside, const Outcome& command, const std::string& path) {
        EXPECT_EQ(outside.icon, command.icon) << path;
        EXPECT_EQ(outside.view, command.view) << path;
        EXPECT_EQ(outside.filter, command.filter) << path;
        EXPECT_EQ(outside.flags, command.flags) << path;
        EXPECT_EQ(outside.cancelError, command.cancelError) << path;
        EXPECT_EQ(outside.filterIndex, command.filterIndex) << path;
        EXPECT_EQ(outside.undoSteps, command.undoSteps) << path;
        EXPECT_EQ(outside.boxes, command.boxes) << path;
    }

    std::string temporary(const char* name, const std::vector<char>& bytes) {
        const std::string path =
            QFile::encodeName(folder.filePath(QString::fromUtf8(name))).toStdString();
        writeBytes(path, bytes);
        return path;
    }

    QTemporaryDir folder;
};

TEST_F(OpenFromOutsideTest, EveryKindOpensAsItsCommandOpensIt) {
    const std::string ico = dataFile("pictures/pillow/hopper.ico");
    const std::string bmp = dataFile("pictures/pillow/hopper.bmp");
    const std::string png32 = dataFile("pictures/gen/expected/hand__bpp32_alpha_vs_and.pick.png");
    const std::string pngOther = dataFile("pictures/pillow/bmp/ref/pal8.png");
    const std::string exe = dataFile("pe/pe32/hh.exe");
    const std::vector<OpenCase> cases = {
        {"icon", ico, ico, EditorCommand::OpenIcon, 0},
        {"cursor", dataFile("pictures/pillow/deerstalker.cur"),
         dataFile("pictures/pillow/deerstalker.cur"), EditorCommand::OpenIcon, 0},
        {"bitmap", bmp, bmp, EditorCommand::OpenBitmap, 0},
        {"icon-sized PNG", png32, png32, EditorCommand::OpenIcon, 0},
        {"other PNG", pngOther, pngOther, EditorCommand::OpenBitmap, 0},
        {"program", exe, exe, EditorCommand::ExtractIcon, 0},
        {"icon named .bmp", temporary("icon.bmp", bytesOf(ico)), ico, EditorCommand::OpenIcon, 0},
        {"bitmap named .ico", temporary("bitmap.ico", bytesOf(bmp)), bmp, EditorCommand::OpenBitmap,
         0},
        {"program named .png", temporary("program.png", bytesOf(exe)), exe,
         EditorCommand::ExtractIcon, 0},
        {"PNG without extension", temporary("picture", bytesOf(pngOther)), pngOther,
         EditorCommand::OpenBitmap, 0},
        {"missing file", temporary("x", {}) + ".ico", "", EditorCommand::OpenIcon, 1},
        {"text named .ico", temporary("text.ico", {'h', 'i', '\n'}), "", EditorCommand::OpenIcon,
         1},
        {"missing program", folder.filePath(QStringLiteral("gone.exe")).toStdString(), "",
         EditorCommand::ExtractIcon, 0},
    };
    for (const OpenCase& entry : cases) {
        SCOPED_TRACE(entry.name);
        const std::string same = entry.sameFile.empty() ? entry.file : entry.sameFile;
        const Outcome outside = openedFromOutside(entry.file);
        const Outcome command = openedByCommand(same, entry.command);
        expectSame(outside, command, entry.file);
        EXPECT_EQ(outside.boxes, entry.messageBoxes);
        EXPECT_EQ(outside.fileName, entry.file);
        // The status line names the file given, with the same length as the command's.
        QString expectedStatus = command.status;
        expectedStatus.replace(QFile::decodeName(same.c_str()),
                               QFile::decodeName(entry.file.c_str()));
        EXPECT_EQ(outside.status, expectedStatus);
    }
}

TEST_F(OpenFromOutsideTest, IconSizedPngOpensAsAnIconFileHoldingIt) {
    const std::string png = dataFile("pictures/gen/expected/hand__bpp32_alpha_vs_and.pick.png");
    const Outcome fromPng = openedFromOutside(png);
    const Outcome fromIcon =
        openedByCommand(temporary("holder.ico", iconHoldingPng(png)), EditorCommand::OpenIcon);
    EXPECT_EQ(fromPng.icon, fromIcon.icon);
    EXPECT_EQ(fromPng.view, fromIcon.view);
}

TEST_F(OpenFromOutsideTest, EachOpenIsOneUndoableStep) {
    const std::size_t before = window.editCommands().history().undoCount();
    const std::vector<std::uint32_t> startIcon = window.canvas().SmallPicture.pixels();
    window.openFile(dataFile("pictures/pillow/hopper.ico"));
    EXPECT_EQ(window.editCommands().history().undoCount(), before + 1);
    EXPECT_NE(window.canvas().SmallPicture.pixels(), startIcon);
    window.editCommands().trigger(EditorCommand::Undo);
    EXPECT_EQ(window.canvas().SmallPicture.pixels(), startIcon);
}

TEST_F(OpenFromOutsideTest, DropOpensTheFirstLocalFileAndRefusesAnythingElse) {
    const std::string bmp = dataFile("pictures/pillow/hopper.bmp");
    const auto drag = [this](const QMimeData& data) {
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&window, &enter);
        return enter.isAccepted();
    };
    QMimeData text;
    text.setText(QStringLiteral("not a file"));
    EXPECT_FALSE(drag(text));
    QMimeData web;
    web.setUrls({QUrl(QStringLiteral("https://example.org/icon.ico"))});
    EXPECT_FALSE(drag(web));

    QMimeData files;
    const std::string exe = dataFile("pe/pe32/hh.exe");
    files.setUrls({QUrl::fromLocalFile(QFile::decodeName(bmp.c_str())),
                   QUrl(QStringLiteral("https://example.org/icon.ico")),
                   QUrl::fromLocalFile(QFile::decodeName(exe.c_str()))});
    ASSERT_TRUE(drag(files));
    // The first local file opens and the other is named, as on the command line.
    const ShownMessage shown = messageDuring([&] {
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &drop);
        QTest::qWait(50);
    });
    expectSame(outcomeOf(window, 0), openedByCommand(bmp, EditorCommand::OpenBitmap), bmp);
    EXPECT_EQ(window.CommonDialog1().FileName, bmp);
    EXPECT_EQ(shown.text, QStringLiteral("Only the first file was opened. Not opened:\n") +
                              QFile::decodeName(exe.c_str()));
}

TEST_F(OpenFromOutsideTest, ADroppedNameThatIsNoTextOpensAsOnTheCommandLine) {
    // A name of bytes that are no UTF-8, as a file manager writes it into its URL.
    const std::string path =
        QFile::encodeName(folder.path()).toStdString() + "/x\xff\xfe name%.ico";
    writeBytes(path, bytesOf(dataFile("pictures/pillow/hopper.ico")));
    const QByteArray folderUrl = QUrl::fromLocalFile(folder.path()).toEncoded();
    const QUrl url = QUrl::fromEncoded(folderUrl + "/x%FF%FE%20name%25.ico");
    ASSERT_TRUE(url.isValid());

    QMimeData data;
    data.setUrls({url});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    ASSERT_TRUE(enter.isAccepted());
    const int boxes = modalBoxesDuring([&] {
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &drop);
        QTest::qWait(50);
    });
    EXPECT_EQ(boxes, 0) << "the file opened";
    EXPECT_EQ(window.CommonDialog1().FileName, path);
    const Outcome commandLine = openedFromOutside(path);
    EXPECT_EQ(window.canvas().SmallPicture.pixels(), commandLine.icon);
    EXPECT_EQ(window.lblStatusBar()->text(), commandLine.status);
}

TEST_F(OpenFromOutsideTest, SeveralFilesOpenTheFirstAndNameTheOthersAsPlainText) {
    const std::string bmp = dataFile("pictures/pillow/hopper.bmp");
    const std::vector<std::string> files = {bmp, "/no/such/<b>second</b>.ico", "third.exe"};
    const ShownMessage shown = messageDuring([&] { window.openFiles(files); });

    expectSame(outcomeOf(window, 0), openedByCommand(bmp, EditorCommand::OpenBitmap), bmp);
    EXPECT_EQ(
        shown.text,
        QStringLiteral("Only the first file was opened. Not opened:\n/no/such/<b>second</b>.ico"
                       "\nthird.exe"));
    EXPECT_EQ(shown.format, Qt::PlainText);
}

}  // namespace
}  // namespace mosaikon::test
