// Soft edges from open to export: an icon with every opacity from 1 to 254, opened and exported
// through the file commands, comes back pixel for pixel; what the tools put down follows the
// classic rule; Save As Icon writes the classic icon it always wrote.
#include <gtest/gtest.h>

#include "ExportFiles.h"
#include "FileCommands.h"
#include "PictureFiles.h"
#include "PictureTestSupport.h"
#include "ScriptedDialogHost.h"
#include "bytes/FieldReader.h"
#include "icon/IconImage.h"
#include "png/PngImage.h"

namespace mosaikon {
namespace {

using test::dataPath;

const std::string kSoftIcon = "soft/soft_edges.ico";

constexpr std::size_t at(int x, int y) { return static_cast<std::size_t>(y * 32 + x); }

struct Editor {
    test::ScriptedDialogHost host;
    CommonDialog dialog{host};
    IconCanvas canvas;
    FileCommands commands{canvas, dialog};
    test::TemporaryFolder folder;

    Editor() {
        canvas.Form_Load();
        commands.openIconFile(dataPath(kSoftIcon));
    }

    std::vector<Pixel> exportedPng() {
        const std::string path = folder.file("out.png");
        commands.exportPngFile(path);
        return decodePng(test::readBytes(path), path).pixels;
    }

    void paint(int column, int row, Colour colour) {
        canvas.state.CurrentColor = colour;
        canvas.LargePicture_MouseDown(1, 0, static_cast<float>(column * 10 + 5),
                                      static_cast<float>(row * 10 + 5));
    }
};

// The pixel the generator of soft_edges.ico gives (make_soft_edges.py beside it), as the exports
// must give it back: opaque pure white made transparent.
Pixel expectedSoftPixel(int x, int y) {
    if (y < 24) {
        return makePixel(Colour::fromRgb(static_cast<std::uint8_t>(x * 8),
                                         static_cast<std::uint8_t>(y * 8), 128),
                         static_cast<std::uint8_t>(1 + (x + 32 * y) % 254));
    }
    if (y < 28) {
        if (x == 3 && y == 24) return makePixel(colours::kWhite, 0);
        if (x == 4 && y == 24) return makePixel(colours::kWhite, 128);
        return opaquePixel(Colour::fromRgb(static_cast<std::uint8_t>(x * 8),
                                           static_cast<std::uint8_t>(255 - y * 4), 40));
    }
    return 0;
}

// Clear pixels compare by their clearness only: each format stores its own colour under them.
Pixel clearAlike(Pixel p) { return pixelAlpha(p) == 0 ? 0 : p; }

TEST(SoftEdges, AnOpenedIconExportedAsPngGivesBackEveryPixelWithItsOpacity) {
    Editor editor;
    EXPECT_TRUE(editor.canvas.opacity.hasPartialOpacity());
    const std::vector<Pixel> png = editor.exportedPng();
    ASSERT_EQ(png.size(), 32u * 32u);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            ASSERT_EQ(clearAlike(png[at(x, y)]), clearAlike(expectedSoftPixel(x, y)))
                << "at " << x << "," << y;
        }
    }
}

TEST(SoftEdges, PaintedErasedWhiteAndChangedPixelsFollowTheClassicRuleInTheExport) {
    Editor editor;
    editor.paint(0, 0, Colour::fromRgb(10, 20, 30));  // opaque in its colour
    editor.paint(1, 0, colours::kWhite);              // pure white: transparent
    editor.canvas.selectTool(Tool::Eraser);
    editor.canvas.toolPress({2, 0}, MouseButton::Primary);
    editor.canvas.toolRelease({2, 0});
    // Change: every pixel showing what (0, 0) shows becomes opaque in the new colour.
    editor.canvas.selectTool(Tool::Change);
    editor.canvas.state.CurrentColor = Colour::fromRgb(90, 80, 70);
    editor.canvas.LargePicture_MouseDown(1, 0, 5, 5);

    const std::vector<Pixel> png = editor.exportedPng();
    EXPECT_EQ(png[at(0, 0)], opaquePixel(Colour::fromRgb(90, 80, 70)));
    EXPECT_EQ(pixelAlpha(png[at(1, 0)]), 0);
    EXPECT_EQ(pixelAlpha(png[at(2, 0)]), 0);
    EXPECT_EQ(png[at(5, 0)], expectedSoftPixel(5, 0)) << "untouched";
    EXPECT_EQ(png[at(4, 24)], expectedSoftPixel(4, 24)) << "half-clear white keeps its opacity";
}

TEST(SoftEdges, ExportIconSizesDrawsEverySizeFromThePlane) {
    Editor editor;
    const std::string path = editor.folder.file("sizes.ico");
    const std::vector<int> sides = {16, 32, 48};
    editor.commands.exportIconSizesFile(path, sides);
    const std::vector<std::uint8_t> file = test::readBytes(path);
    ASSERT_EQ(le16(file, 4), 3);
    const Picture plane = editor.canvas.opacity.picture();
    for (std::size_t i = 0; i < sides.size(); ++i) {
        const std::size_t entry = 6 + 16 * i;
        const auto image = std::span(file).subspan(le32(file, entry + 12), le32(file, entry + 8));
        const Picture read = decodeIconImage(image, path);
        std::vector<Pixel> got = read.allPixels();
        std::vector<Pixel> expected = iconAtSide(plane, sides[i]).allPixels();
        std::transform(got.begin(), got.end(), got.begin(), clearAlike);
        std::transform(expected.begin(), expected.end(), expected.begin(), clearAlike);
        EXPECT_EQ(got, expected) << sides[i];
    }
    // The 16-pixel size weighs colour by opacity: the block of (0, 0), (1, 0), (0, 1), (1, 1).
    const Pixel small = iconAtSide(plane, 16).pixelAt(0, 0);
    EXPECT_EQ(pixelAlpha(small), (1 + 2 + 33 + 34 + 2) / 4);
}

TEST(SoftEdges, SaveAsIconAndSaveAgainWriteTheClassicIconTheyAlwaysWrote) {
    Editor editor;
    const std::string path = editor.folder.file("saved.ico");
    editor.host.choose(path);
    editor.commands.SaveIcon();
    // Written by the editor before the opacity plane existed, from the same file.
    const std::vector<std::uint8_t> classic =
        test::readBytes(dataPath("soft/soft_edges.classic.ico"));
    EXPECT_EQ(test::readBytes(path), classic);
    std::filesystem::remove(path);
    editor.commands.SaveAgain();
    EXPECT_EQ(test::readBytes(path), classic);
}

TEST(SoftEdges, AClassicIconOpenedAgainIsOpaqueWithWhiteClear) {
    Editor editor;
    editor.commands.openIconFile(dataPath("soft/soft_edges.classic.ico"));
    EXPECT_FALSE(editor.canvas.opacity.hasPartialOpacity());
    EXPECT_TRUE(editor.canvas.opacity.matches(editor.canvas.SmallPicture));
}

TEST(SoftEdges, OpenBitmapIsOpaqueAndTheInvariantHolds) {
    Editor editor;
    editor.commands.openBitmapFile(dataPath("pillow/hopper.bmp"));
    EXPECT_FALSE(editor.canvas.opacity.hasPartialOpacity());
    EXPECT_TRUE(editor.canvas.opacity.matches(editor.canvas.SmallPicture));
}

}  // namespace
}  // namespace mosaikon
