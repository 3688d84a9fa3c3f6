// The open and save commands on the canvas: dialog settings, the status line, the direction in
// which each fills the surfaces, and bad files that leave both surfaces as they were.
#include <gtest/gtest.h>

#include <filesystem>
#include <new>

#include "FileCommands.h"
#include "FileError.h"
#include "PictureFiles.h"
#include "PictureTestSupport.h"
#include "ScriptedDialogHost.h"

namespace mosaikon {
namespace {

using test::dataPath;

class FileCommandsTest : public ::testing::Test {
protected:
    FileCommandsTest() { canvas.Form_Load(); }

    // Paints icon pixel (c, r) on both surfaces, the way the Paint tool does.
    void paint(int c, int r, Colour colour) {
        canvas.SmallPicture.PSet(c, r, colour);
        canvas.LargePicture.Line(10 * c + 1, 10 * r + 1, 10 * c + 9, 10 * r + 9, colour,
                                 LineShape::FilledBox);
    }
    // A recognisable icon: a colour per pixel, with a few pure-white and near-white ones.
    void paintPattern() {
        for (int r = 0; r < 32; ++r) {
            for (int c = 0; c < 32; ++c) {
                paint(c, r,
                      Colour::fromRgb(static_cast<std::uint8_t>(c * 8),
                                      static_cast<std::uint8_t>(r * 8), 77));
            }
        }
        paint(0, 0, colours::kWhite);
        paint(31, 31, colours::kWhite);
        paint(1, 0, Colour::fromRgb(255, 255, 254));
        paint(2, 0, Colour::fromRgb(254, 255, 255));
    }

    test::ScriptedDialogHost host;
    CommonDialog dialog{host};
    IconCanvas canvas;
    FileCommands commands{canvas, dialog};
    test::TemporaryFolder folder;
};

TEST_F(FileCommandsTest, EachCommandSetsTheDialogItsOwnWay) {
    dialog.CancelError = true;
    dialog.Flags = 7;
    dialog.FileName = "left over";
    struct Case {
        void (FileCommands::*command)();
        DialogRequest::Mode mode;
        std::int32_t flags;
        const char* filter;
    };
    const Case cases[] = {
        {&FileCommands::OpenIcon, DialogRequest::Mode::Open, 4096, "Icons (*.ico)|*.ico"},
        {&FileCommands::Open_BMP, DialogRequest::Mode::Open, 4096, "Bitmap(*.bmp)|*.bmp"},
        {&FileCommands::SaveIcon, DialogRequest::Mode::Save, 32770, "Icons (*.ico)|*.ico"},
        {&FileCommands::save_BMP, DialogRequest::Mode::Save, 32770, "Bitmaps (*.bmp)|*.bmp"},
    };
    for (const Case& c : cases) {
        dialog.FilterIndex = 3;
        (commands.*c.command)();  // cancelled: the host has no answer
        const DialogRequest& shown = host.requests().back();
        EXPECT_EQ(shown.mode, c.mode) << c.filter;
        EXPECT_EQ(shown.fileName, "") << c.filter;
        EXPECT_EQ(shown.flags, c.flags) << c.filter;
        EXPECT_EQ(shown.filter, c.filter);
        EXPECT_FALSE(dialog.CancelError);
        // The save commands set the one further property, the filter index, to 1 after the dialog.
        EXPECT_EQ(dialog.FilterIndex, c.mode == DialogRequest::Mode::Save ? 1 : 3) << c.filter;
    }
    EXPECT_EQ(host.requests().size(), 4u);
}

TEST_F(FileCommandsTest, CancellingChangesNothing) {
    host.choose(dataPath("gen/magick/bpp4.ico"));
    commands.OpenIcon();
    host.choose(folder.file("saved.ico"));
    commands.SaveIcon();
    const std::string status = commands.statusLine();
    const auto small = canvas.SmallPicture.pixels();
    const auto large = canvas.LargePicture.pixels();
    const Picture snapshot = canvas.state.Snapshot;

    for (auto command : {&FileCommands::OpenIcon, &FileCommands::Open_BMP, &FileCommands::SaveIcon,
                         &FileCommands::save_BMP}) {
        host.cancel();
        (commands.*command)();
    }
    EXPECT_EQ(commands.statusLine(), status);
    EXPECT_EQ(canvas.SmallPicture.pixels(), small);
    EXPECT_EQ(canvas.LargePicture.pixels(), large);
    EXPECT_TRUE(canvas.state.Snapshot.sharesWith(snapshot));
    EXPECT_EQ(commands.iconListCount(), 1);
    EXPECT_TRUE(commands.Image1().isEmpty());
    EXPECT_EQ(dialog.FileName, "");
}

TEST_F(FileCommandsTest, AFailingDialogStopsEachCommandBeforeItChangesAnything) {
    paintPattern();
    const auto small = canvas.SmallPicture.pixels();
    const auto large = canvas.LargePicture.pixels();
    const Picture snapshot = canvas.state.Snapshot;
    for (auto command : {&FileCommands::OpenIcon, &FileCommands::Open_BMP, &FileCommands::SaveIcon,
                         &FileCommands::save_BMP, &FileCommands::ExportPng,
                         &FileCommands::ExportIconSizes, &FileCommands::ExtractIcon}) {
        host.throwOnNext(std::bad_alloc());
        EXPECT_THROW((commands.*command)(), std::bad_alloc);
    }
    EXPECT_EQ(host.requests().size(), 7u) << "each dialog was asked for once";
    EXPECT_TRUE(host.scriptUsedUp());
    EXPECT_EQ(canvas.SmallPicture.pixels(), small);
    EXPECT_EQ(canvas.LargePicture.pixels(), large);
    EXPECT_TRUE(canvas.state.Snapshot.sharesWith(snapshot));
    EXPECT_EQ(commands.iconListCount(), 0);
    EXPECT_EQ(commands.statusLine(), "");
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

TEST_F(FileCommandsTest, StatusLineNamesThePathAndItsLength) {
    const std::string path = dataPath("gen/magick/bpp4.ico");  // 766 bytes
    host.choose(path);
    commands.OpenIcon();
    EXPECT_EQ(commands.statusLine(), " " + path + "... 766 byte");
    // Always " byte", and written before the file is loaded, so it stays when loading fails.
    test::writeBytes(folder.file("one.ico"), {0});
    host.choose(folder.file("one.ico"));
    EXPECT_THROW(commands.OpenIcon(), FileError);
    EXPECT_EQ(commands.statusLine(), " " + folder.file("one.ico") + "... 1 byte");
}

TEST_F(FileCommandsTest, OpenIconFillsTheIconSurfaceThenTheView) {
    host.choose(dataPath("pillow/hopper.ico"));  // 16 × 16
    commands.OpenIcon();
    const Picture icon = LoadPicture(dataPath("pillow/hopper.ico"));
    for (int r = 0; r < 32; ++r) {
        for (int c = 0; c < 32; ++c) {
            // The icon at its own size in the top-left part; the white background elsewhere.
            const std::uint32_t want =
                (c < 16 && r < 16) ? icon.pixelAt(c, r) & 0x00FFFFFFu : 0x00FFFFFFu;
            ASSERT_EQ(canvas.SmallPicture.pixel(c, r).value(), want) << c << "," << r;
            ASSERT_EQ(canvas.LargePicture.pixel(10 * c + 5, 10 * r + 5).value(), want)
                << c << "," << r;
        }
    }
    EXPECT_EQ(canvas.LargePicture.pixel(10, 3), colours::kBlack);  // the grid is drawn again
    EXPECT_EQ(canvas.LargePicture.pixel(200, 310), colours::kBlack);

    // A larger icon is cut off at the surface's edge.
    host.choose(dataPath("pillow/hopper_256x256.ico"));
    commands.OpenIcon();
    const Picture big = LoadPicture(dataPath("pillow/hopper_256x256.ico"));
    EXPECT_EQ(canvas.SmallPicture.pixel(31, 31).value(), big.pixelAt(31, 31) & 0x00FFFFFFu);
}

TEST_F(FileCommandsTest, BadFilesLeaveBothSurfacesAsTheyWere) {
    paintPattern();
    const auto small = canvas.SmallPicture.pixels();
    const auto large = canvas.LargePicture.pixels();
    const std::vector<std::uint8_t> cut = [] {
        auto bytes = test::readBytes(dataPath("gen/hand/bpp32.ico"));
        bytes.resize(2000);
        return bytes;
    }();
    test::writeBytes(folder.file("cut.ico"), cut);
    test::writeBytes(folder.file("text.bmp"), {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'});
    for (auto command : {&FileCommands::OpenIcon, &FileCommands::Open_BMP}) {
        for (const std::string& path :
             {folder.file("cut.ico"), folder.file("text.bmp"), folder.file("gone.ico"),
              dataPath("hostile/bmp/huge_dims_small_file.bmp"),
              dataPath("hostile/ico/dib_huge_dims.ico")}) {
            SCOPED_TRACE(path);
            host.choose(path);
            EXPECT_THROW((commands.*command)(), FileError);
            EXPECT_EQ(canvas.SmallPicture.pixels(), small);
            EXPECT_EQ(canvas.LargePicture.pixels(), large);
        }
    }
    EXPECT_TRUE(commands.Image1().isEmpty());
}

TEST_F(FileCommandsTest, OpenBmpStretchesOverTheViewAndShrinksToTheIcon) {
    // 64 × 16: each pair of columns and each row share a colour, so the icon pixel (c, r) must
    // show column pair c and row r / 2 whatever the rounding of the two scalings.
    std::vector<Pixel> pixels;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 64; ++x) {
            pixels.push_back(opaquePixel(Colour::fromRgb(static_cast<std::uint8_t>(x / 2 * 8),
                                                         static_cast<std::uint8_t>(y * 16), 1)));
        }
    }
    SavePicture(Picture::fromPixels(PictureKind::Bitmap, 64, 16, pixels), folder.file("wide.bmp"));
    host.choose(folder.file("wide.bmp"));
    commands.Open_BMP();
    EXPECT_EQ(commands.Image1().width(), 64);
    EXPECT_EQ(commands.Image1().height(), 16);
    for (int r = 0; r < 32; ++r) {
        for (int c = 0; c < 32; ++c) {
            ASSERT_EQ(canvas.SmallPicture.pixel(c, r),
                      Colour::fromRgb(static_cast<std::uint8_t>(c * 8),
                                      static_cast<std::uint8_t>(r / 2 * 16), 1))
                << c << "," << r;
        }
    }
    EXPECT_EQ(canvas.LargePicture.pixel(0, 0), colours::kBlack);
    EXPECT_EQ(canvas.LargePicture.pixel(150, 10), colours::kBlack);
}

TEST_F(FileCommandsTest, SaveIconMakesExactlyWhiteTransparent) {
    paintPattern();
    host.choose(folder.file("a.ico"));
    commands.SaveIcon();
    EXPECT_EQ(commands.iconListCount(), 1);
    EXPECT_EQ(canvas.state.Snapshot.allPixels(), canvas.SmallPicture.Image().allPixels());
    const Picture saved = LoadPicture(folder.file("a.ico"));
    ASSERT_EQ(saved.width(), 32);
    EXPECT_EQ(saved.kind(), PictureKind::Icon);
    EXPECT_EQ(pixelAlpha(saved.pixelAt(0, 0)), 0);
    EXPECT_EQ(pixelAlpha(saved.pixelAt(31, 31)), 0);
    EXPECT_EQ(saved.pixelAt(1, 0), opaquePixel(Colour::fromRgb(255, 255, 254)));
    EXPECT_EQ(saved.pixelAt(2, 0), opaquePixel(Colour::fromRgb(254, 255, 255)));
    EXPECT_EQ(saved.pixelAt(5, 7), opaquePixel(Colour::fromRgb(40, 56, 77)));

    // Saved twice: two identical files, two images in the converter's list. The name does not
    // decide the format.
    host.choose(folder.file("b.bmp"));
    commands.SaveIcon();
    EXPECT_EQ(commands.iconListCount(), 2);
    EXPECT_EQ(test::readBytes(folder.file("a.ico")), test::readBytes(folder.file("b.bmp")));
}

TEST_F(FileCommandsTest, AnIconSavedAndOpenedAgainIsTheSame) {
    paintPattern();
    const auto small = canvas.SmallPicture.pixels();
    const auto large = canvas.LargePicture.pixels();
    host.choose(folder.file("round.ico"));
    commands.SaveIcon();
    canvas.ClearIcon();
    host.choose(folder.file("round.ico"));
    commands.OpenIcon();
    // The clear pixels show the white background: the same picture as before.
    EXPECT_EQ(canvas.SmallPicture.pixels(), small);
    EXPECT_EQ(canvas.LargePicture.pixels(), large);
}

TEST_F(FileCommandsTest, SaveBmpWritesTheWholeViewAndOpenBmpReadsItBack) {
    paintPattern();
    const auto small = canvas.SmallPicture.pixels();
    host.choose(folder.file("view.ico"));
    commands.save_BMP();
    EXPECT_EQ(canvas.state.Snapshot.width(), 319);
    const Picture saved = LoadPicture(folder.file("view.ico"));
    EXPECT_EQ(saved.kind(), PictureKind::Bitmap);  // bitmap data, whatever the name
    ASSERT_EQ(saved.width(), 319);
    ASSERT_EQ(saved.height(), 319);
    EXPECT_EQ(saved.allPixels(), canvas.LargePicture.Image().allPixels());  // grid lines included

    canvas.ClearIcon();
    host.choose(folder.file("view.ico"));
    commands.Open_BMP();
    EXPECT_EQ(canvas.SmallPicture.pixels(), small);
}

TEST_F(FileCommandsTest, NamesThatAreNoTextSaveAndOpenByTheirOwnBytes) {
    paintPattern();
    const auto small = canvas.SmallPicture.pixels();
    const std::string name = "\xff\xfe \xc3(.ico";  // not UTF-8
    host.choose(folder.file(name));
    commands.SaveIcon();
    host.choose(folder.file(name) + ".bmp");
    commands.save_BMP();
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        names.push_back(entry.path().filename().native());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{name, name + ".bmp"}));

    canvas.ClearIcon();
    host.choose(folder.file(name));
    commands.OpenIcon();
    EXPECT_EQ(commands.statusLine().substr(0, folder.file(name).size() + 1),
              " " + folder.file(name));
    canvas.ClearIcon();
    host.choose(folder.file(name) + ".bmp");
    commands.Open_BMP();
    EXPECT_EQ(canvas.SmallPicture.pixels(), small);
}

// Save again writes the file the last icon save wrote, without a dialog and byte for byte as
// Save As Icon writes it; before any icon save (an opened file is not one) it is Save As Icon.
TEST_F(FileCommandsTest, SaveAgainWritesTheLastSavedIconFileWithoutADialog) {
    paintPattern();
    const std::string opened = folder.file("opened.ico");
    FileCommands elsewhere{canvas, dialog};  // another editor wrote the file that is opened
    host.choose(opened);
    elsewhere.SaveIcon();
    host.choose(opened);
    commands.OpenIcon();
    const std::size_t before = host.requests().size();
    host.cancel();
    commands.SaveAgain();  // only opened here: Save As Icon, cancelled
    EXPECT_EQ(host.requests().size(), before + 1);
    EXPECT_EQ(host.requests().back().mode, DialogRequest::Mode::Save);
    EXPECT_TRUE(commands.lastSavedIcon().empty());

    const std::string first = folder.file("first.ico");
    host.choose(first);
    commands.SaveIcon();
    EXPECT_EQ(commands.lastSavedIcon(), first);
    paint(6, 6, Colour::fromRgb(10, 20, 30));
    const std::size_t dialogs = host.requests().size();
    commands.SaveAgain();
    EXPECT_EQ(host.requests().size(), dialogs) << "Save again asks nothing";
    const std::string reference = folder.file("reference.ico");
    host.choose(reference);
    commands.SaveIcon();
    EXPECT_EQ(test::readBytes(first), test::readBytes(reference)) << "as Save As Icon writes it";
    EXPECT_EQ(commands.lastSavedIcon(), reference) << "the newest icon save is the one again";
}

}  // namespace
}  // namespace mosaikon
