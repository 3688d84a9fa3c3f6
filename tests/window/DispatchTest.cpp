// The toolbar's commands: which key or menu position runs what, the tool buttons' states, Exit,
// and the guard that turns a failing command into a message while the program goes on.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "PictureFiles.h"
#include "WindowTestSupport.h"
#include "controls/PictureBoxView.h"
#include "controls/ToolbarView.h"

namespace mosaikon {
namespace {

namespace fs = std::filesystem;
using test::ShownWindowTest;

class DispatchTest : public ShownWindowTest {
protected:
    void SetUp() override {
        ShownWindowTest::SetUp();
        window.setDialogHost(host);
        folder = fs::temp_directory_path() / ("mosaikon-dispatch-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        // A recognisable icon: a red diagonal on white.
        for (int i = 0; i < 32; ++i) canvas().SmallPicture.PSet(i, i, Colour(0x0000FF));
        canvas().rebuildView();
    }
    void TearDown() override { fs::remove_all(folder); }

    IconCanvas& canvas() { return window.canvas(); }
    Toolbar& bar() { return window.toolbar(); }
    void click(const char* key) {
        window.Toolbar1_ButtonClick(bar().Buttons(QString::fromLatin1(key)));
    }
    void choose(std::int16_t button, std::int16_t item) {
        ToolbarMenuItem menuItem;
        menuItem.ParentIndex = button;
        menuItem.Index = item;
        window.Toolbar1_ButtonMenuClick(menuItem);
    }
    // A button that is not on the toolbar, to try keys the toolbar does not have.
    void clickKey(const char* key) {
        ToolbarButton button;
        button.Key = QString::fromLatin1(key);
        window.Toolbar1_ButtonClick(button);
    }
    struct Surfaces {
        std::vector<std::uint32_t> icon, view;
        bool operator==(const Surfaces&) const = default;
    };
    Surfaces surfaces() { return {canvas().SmallPicture.pixels(), canvas().LargePicture.pixels()}; }

    test::ScriptedDialogHost host;
    fs::path folder;
};

TEST_F(DispatchTest, EveryKeyRunsItsCommandOnTheCanvas) {
    for (const auto& [key, shortcut, command] : test::iconCommandCases()) {
        canvas().LargePicture_MouseDown(1, 0, 55, 15);  // something for each command to move
        IconCanvas model = canvas();
        command(model);
        click(key);
        EXPECT_EQ(canvas().SmallPicture.pixels(), model.SmallPicture.pixels()) << key;
        EXPECT_EQ(canvas().LargePicture.pixels(), model.LargePicture.pixels()) << key;
    }
    EXPECT_TRUE(host.requests().empty());
}

TEST_F(DispatchTest, ToolButtonsKeepTheirStateOnARepeatedClick) {
    for (int round = 0; round < 2; ++round) {
        bar().clickButton(7);  // Change, through the toolbar like a person's click
        EXPECT_EQ(bar().Buttons(QStringLiteral("Change")).Value, 1);
        EXPECT_EQ(bar().Buttons(QStringLiteral("Paint")).Value, 0);
        EXPECT_EQ(canvas().LargePicture.MousePointer(), 10);
    }
    for (int round = 0; round < 2; ++round) {
        bar().clickButton(6);  // Paint
        EXPECT_EQ(bar().Buttons(QStringLiteral("Paint")).Value, 1);
        EXPECT_EQ(bar().Buttons(QStringLiteral("Change")).Value, 0);
        EXPECT_EQ(canvas().LargePicture.MousePointer(), 99);
    }
    EXPECT_EQ(window.LargePicture()->cursor().shape(), Qt::BitmapCursor);
    bar().clickButton(7);
    EXPECT_EQ(window.LargePicture()->cursor().shape(), Qt::UpArrowCursor);
    // The Change tool hands back to Paint after one replacement; the buttons stay as they were.
    canvas().state.CurrentColor = Colour(0xFF0000);
    QTest::mouseClick(window.LargePicture(), Qt::LeftButton, Qt::NoModifier, QPoint(1 + 5, 1 + 5));
    EXPECT_EQ(canvas().LargePicture.MousePointer(), 99);
    EXPECT_EQ(bar().Buttons(QStringLiteral("Change")).Value, 1);
}

TEST_F(DispatchTest, FaceClicksOnOpenAndSaveAndUnknownKeysDoNothing) {
    const Surfaces before = surfaces();
    QTest::mouseClick(window.Toolbar1(), Qt::LeftButton, Qt::NoModifier,
                      window.Toolbar1()->faceRect(2).center());
    QTest::mouseClick(window.Toolbar1(), Qt::LeftButton, Qt::NoModifier,
                      window.Toolbar1()->faceRect(4).center());
    for (const char* key : {"flipvert", "fliphorizontal", "up", "new", "ROTATE", "exit", "Open",
                            "Save", "", "Rotate "}) {
        clickKey(key);
    }
    EXPECT_TRUE(surfaces() == before);
    EXPECT_TRUE(host.requests().empty());
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(canvas().LargePicture.MousePointer(), 99);
}

TEST_F(DispatchTest, MenuPositionsChooseOpenAndSaveCommands) {
    const std::string icon = (folder / "saved.ico").string();
    const std::string bitmap = (folder / "view.bmp").string();

    host.choose(icon);
    choose(4, 1);
    ASSERT_EQ(host.requests().size(), 1u);
    EXPECT_EQ(host.requests().back().filter, "Icons (*.ico)|*.ico");
    EXPECT_EQ(host.requests().back().mode, DialogRequest::Mode::Save);
    EXPECT_EQ(LoadPicture(icon).kind(), PictureKind::Icon);

    host.choose(bitmap);
    choose(4, 2);
    ASSERT_EQ(host.requests().size(), 2u) << "save_BMP once and nothing else";
    EXPECT_EQ(host.requests().back().filter, "Bitmaps (*.bmp)|*.bmp");
    const Picture written = LoadPicture(bitmap);
    EXPECT_EQ(written.kind(), PictureKind::Bitmap);
    EXPECT_EQ(written.width(), 319);

    canvas().ClearIcon();
    host.choose(icon);
    choose(2, 1);
    ASSERT_EQ(host.requests().size(), 3u);
    EXPECT_EQ(host.requests().back().filter, "Icons (*.ico)|*.ico");
    EXPECT_EQ(canvas().SmallPicture.pixel(5, 5).value(), 0x0000FFu) << "the saved icon is back";

    canvas().ClearIcon();
    host.choose(bitmap);
    choose(2, 2);
    ASSERT_EQ(host.requests().size(), 4u) << "Open_BMP once and nothing else";
    EXPECT_EQ(host.requests().back().filter, "Bitmap(*.bmp)|*.bmp");
    EXPECT_EQ(canvas().SmallPicture.pixel(5, 5).value(), 0x0000FFu);

    const Surfaces before = surfaces();
    for (const auto& [button, item] : std::vector<std::pair<std::int16_t, std::int16_t>>{
             {4, 3}, {2, 3}, {4, 0}, {3, 1}, {1, 1}, {20, 1}, {0, 2}, {-4, 1}}) {
        choose(button, item);
    }
    EXPECT_EQ(host.requests().size(), 4u) << "no other position runs anything";
    EXPECT_TRUE(surfaces() == before);
}

TEST_F(DispatchTest, ExtractAsksForAProgramFile) {
    click("Extract");
    ASSERT_EQ(host.requests().size(), 1u);
    EXPECT_EQ(host.requests()[0].filter, "Executable (*.exe)|*.exe|DLL(*.dll)|*.dll");
    EXPECT_EQ(bar().Buttons(QStringLiteral("Extract")).Value, 1) << "stays pressed";
}

TEST_F(DispatchTest, ExitClosesTheOnlyWindowWithoutAQuestion) {
    const int boxes = modalBoxesDuring([&] { bar().clickButton(19); });
    EXPECT_EQ(boxes, 0);
    EXPECT_FALSE(window.isVisible());
    // With no window left the event loop ends; the end-to-end session sees the process go.
    EXPECT_TRUE(QGuiApplication::quitOnLastWindowClosed());
    for (const QWidget* top : QApplication::topLevelWidgets()) {
        EXPECT_FALSE(top->isVisible()) << top->metaObject()->className();
    }
}

TEST_F(DispatchTest, FailingCommandShowsAMessageAndTheProgramGoesOn) {
    const std::string bad = (folder / "broken.ico").string();
    std::ofstream(bad) << "not an icon at all";
    const Surfaces before = surfaces();
    host.choose(bad);
    const test::ShownMessage shown =
        test::messageDuring([&] { window.runHandler([&] { choose(2, 1); }); });
    EXPECT_EQ(shown.title, QStringLiteral("Mosaikon"));
    EXPECT_TRUE(shown.text.contains(QString::fromStdString(bad))) << shown.text.toStdString();
    EXPECT_TRUE(surfaces() == before) << "the icon is untouched";
    EXPECT_TRUE(
        window.lblStatusBar()->text().startsWith(QString::fromStdString(" " + bad + "... ")))
        << "the finished step, the status line, stays";
    // The program goes on: painting still works.
    QTest::mouseClick(window.LargePicture(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(1 + 15, 1 + 15));
    EXPECT_EQ(canvas().SmallPicture.pixel(1, 1).value(), 0u);
}

}  // namespace
}  // namespace mosaikon
