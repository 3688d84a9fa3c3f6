// The guard around every handler: what a failure shows, shown as plain text, and a message box
// that can never bring back the failure that opened it.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <filesystem>
#include <fstream>
#include <new>

#include "FileError.h"
#include "WindowTestSupport.h"
#include "mainwindow/FailureMessage.h"

namespace mosaikon {
namespace {

namespace fs = std::filesystem;

// Closes each failure box that opens and remembers what it showed. Given the window below the
// box, it then activates that window again, as a desktop does when a box closes (the offscreen
// platform leaves no window active).
class BoxReader {
public:
    explicit BoxReader(QWidget* below = nullptr) {
        QObject::connect(&m_timer, &QTimer::timeout, [this, below] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts.push_back(box->text());
                formats.push_back(box->textFormat());
                box->close();
                if (below != nullptr) {
                    below->activateWindow();
                }
            }
        });
        m_timer.start(5);
    }
    std::vector<QString> texts;
    std::vector<Qt::TextFormat> formats;

private:
    QTimer m_timer;
};

std::exception_ptr failureOf(const std::function<void()>& thrower) {
    try {
        thrower();
    } catch (...) {
        return std::current_exception();
    }
    return {};
}

TEST(FailureMessageTest, NamesTheCommandTheFileAndTheCauseInWords) {
    const auto outOfMemory = failureOf([] { throw std::bad_alloc(); });
    const auto libraryText =
        failureOf([] { throw std::length_error("vector::_M_default_append"); });
    const auto notAnException = failureOf([] { throw 42; });
    const QString program = QStringLiteral("Mosaikon");
    const struct {
        std::exception_ptr failure;
        Command command;
        std::string file;
        const char* expected;
    } cases[] = {
        {outOfMemory, Command::OpenIcon, "/x/a.ico",
         "Mosaikon could not open the icon file /x/a.ico: there is not enough memory."},
        {outOfMemory, Command::OpenIcon, "",
         "Mosaikon could not open an icon file: there is not enough memory."},
        {libraryText, Command::OpenBitmap, "/x/%1.bmp",
         "Mosaikon could not open the bitmap file /x/%1.bmp: an unexpected error occurred."},
        {notAnException, Command::SaveIcon, "/x/b.ico",
         "Mosaikon could not save the icon as /x/b.ico: an unexpected error occurred."},
        {outOfMemory, Command::SaveBitmap, "/x/b.bmp",
         "Mosaikon could not save the magnified view as /x/b.bmp: there is not enough memory."},
        {libraryText, Command::ExtractIcon, "/x/c.exe",
         "Mosaikon could not take the icon out of /x/c.exe: an unexpected error occurred."},
        {outOfMemory, Command::Unnamed, "/x/last.ico",
         "Mosaikon could not complete the command: there is not enough memory."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(failureMessage(c.failure, c.command, c.file, program).toStdString(), c.expected);
    }
    const FileError fileError("/x/a.ico", "it is not an icon file");
    EXPECT_EQ(
        failureMessage(std::make_exception_ptr(fileError), Command::OpenIcon, "/x/a.ico", program)
            .toStdString(),
        fileError.what())
        << "a file error keeps its own message";
}

class EventGuardTest : public test::ShownWindowTest {
protected:
    void SetUp() override {
        ShownWindowTest::SetUp();
        folder = fs::temp_directory_path() / ("mosaikon-guard-" + std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
    void chooseOpenIcon() {
        ToolbarMenuItem openIcon;
        openIcon.ParentIndex = 2;
        openIcon.Index = 1;
        window.runHandler([&] { window.Toolbar1_ButtonMenuClick(openIcon); });
    }
    fs::path folder;
};

TEST_F(EventGuardTest, OutOfMemoryInACommandIsToldInWords) {
    test::ScriptedDialogHost exhausted;  // its dialog runs out of memory
    exhausted.throwOnNext(std::bad_alloc());
    window.setDialogHost(exhausted);
    BoxReader boxes;
    chooseOpenIcon();
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0].toStdString(),
              "Mosaikon could not open an icon file: there is not enough memory.");
}

TEST_F(EventGuardTest, FileNamesAndMessagesAreShownAsPlainText) {
    // A folder "<b>x<" holding "b>.ico": the path reads ".../<b>x</b>.ico".
    fs::create_directories(folder / "<b>x<");
    const fs::path named = folder / "<b>x<" / "b>.ico";
    std::ofstream(named) << "not an icon";
    test::ScriptedDialogHost host{named.string()};
    window.setDialogHost(host);
    BoxReader boxes;
    chooseOpenIcon();

    ASSERT_EQ(boxes.texts.size(), 1u) << "the file is refused";
    EXPECT_TRUE(boxes.texts[0].contains(QStringLiteral("<b>x</b>.ico")));
    EXPECT_EQ(boxes.formats[0], Qt::PlainText);
    QLabel* status = window.lblStatusBar();
    EXPECT_TRUE(status->text().contains(QStringLiteral("<b>x</b>.ico")));
    // Shown as plain text, the label needs the room of every character, brackets included.
    QLabel plain(status->text());
    plain.setFont(status->font());
    plain.setTextFormat(Qt::PlainText);
    EXPECT_EQ(status->sizeHint(), plain.sizeHint());
}

TEST_F(EventGuardTest, AFailureShowsWhatTheHandlerHadChangedBeforeTheBox) {
    QColor shownWhileBoxUp;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            shownWhileBoxUp = test::shownBackground(window.Pallet());
            box->close();
        }
    });
    closer.start(5);
    window.runHandler([&] {
        window.colourChoice().lblColor_Click(3, window.canvas().state);
        throw std::runtime_error("after the colour changed");
    });
    EXPECT_EQ(shownWhileBoxUp, test::rgbColour(window.colourChoice().Pallet.resolved().value()));
}

// A window whose activation handler always fails.
class FailingActivationWindow : public frmEditIcon {
public:
    void Form_Activate() override {
        ++activations;
        throw std::runtime_error("the strip could not be drawn");
    }
    int activations = 0;
};

TEST(EventGuardActivationTest, TheFailureBoxOfTheActivationHandlerDoesNotBringItBack) {
    FailingActivationWindow window;
    BoxReader boxes(&window);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(200);
    EXPECT_EQ(window.activations, 1) << "the first showing runs it once";
    EXPECT_EQ(boxes.texts.size(), 1u);

    // The person goes to another window and comes back: one more activation, one more box.
    QWidget other;
    other.show();
    other.activateWindow();
    QTest::qWait(50);
    window.activateWindow();
    QTest::qWait(200);
    EXPECT_EQ(window.activations, 2);
    EXPECT_EQ(boxes.texts.size(), 2u);
}

}  // namespace
}  // namespace mosaikon
