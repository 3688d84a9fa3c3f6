// The extraction command as the toolbar runs it: the shared file dialog, then the icon of the
// chosen program file drawn on the view, read back into the icon surface, and the grid.
#include <gtest/gtest.h>

#include "FileCommands.h"
#include "OpacityPlane.h"
#include "PictureTestSupport.h"
#include "ScriptedDialogHost.h"
#include "program/GenericAppIcon.h"

namespace mosaikon {
namespace {

std::string peData(const std::string& relative) {
    return std::string(MOSAIKON_TEST_DATA) + "/pe/" + relative;
}

// The icon as the 32 × 32 surface should end up holding it: drawn over the white background.
std::vector<std::uint32_t> overWhite(const Picture& icon) {
    PictureBox surface(32, 32, Colour(0x00FFFFFF));
    surface.PaintPicture(icon, 0, 0, 32, 32);
    return surface.pixels();
}

Picture referencePicture(const std::string& png) {
    test::Reference reference = test::readReferencePng(peData(png));
    return Picture::fromPixels(PictureKind::Icon, reference.width, reference.height,
                               std::move(reference.pixels));
}

class ExtractionCommand : public ::testing::Test {
protected:
    ExtractionCommand() { m_canvas.Form_Load(); }

    // Checks that the view shows the icon surface cell by cell, with the grid drawn over it.
    void expectViewShowsIcon() const {
        for (int r = 0; r < 32; ++r) {
            for (int c = 0; c < 32; ++c) {
                ASSERT_EQ(m_canvas.LargePicture.pixel(10 * c + 5, 10 * r + 5).value(),
                          m_canvas.SmallPicture.pixel(c, r).value())
                    << "cell " << c << ", " << r;
            }
        }
        for (int line = 0; line <= 310; line += 10) {
            EXPECT_EQ(m_canvas.LargePicture.pixel(line, 157).value(), 0u) << "grid column " << line;
            EXPECT_EQ(m_canvas.LargePicture.pixel(157, line).value(), 0u) << "grid row " << line;
        }
    }

    test::ScriptedDialogHost m_host;
    CommonDialog m_dialog{m_host};
    IconCanvas m_canvas;
    FileCommands m_commands{m_canvas, m_dialog};
};

TEST_F(ExtractionCommand, ShowsTheOpenDialogWithItsFilterAndKeepsTheOtherSettings) {
    m_dialog.FileName = "left over.ico";
    m_dialog.Flags = 32770;  // as a save command leaves them
    m_dialog.CancelError = false;
    m_host.choose(peData("gen/order_pe32.exe"));
    m_commands.ExtractIcon();

    ASSERT_EQ(m_host.requests().size(), 1u);
    const DialogRequest& request = m_host.requests().front();
    EXPECT_EQ(request.mode, DialogRequest::Mode::Open);
    EXPECT_EQ(request.fileName, "");
    EXPECT_EQ(request.filter, "Executable (*.exe)|*.exe|DLL(*.dll)|*.dll");
    EXPECT_EQ(request.flags, 32770);
    EXPECT_EQ(m_dialog.Flags, 32770);
    EXPECT_FALSE(m_dialog.CancelError);
    EXPECT_EQ(m_dialog.FileName, peData("gen/order_pe32.exe"));
    EXPECT_EQ(m_commands.statusLine(), "") << "only the open commands write the status line";
}

TEST_F(ExtractionCommand, CancellingChangesNothingAlsoAfterAnEarlierExtraction) {
    m_host.choose(peData("gen/order_pe32.exe"));
    m_commands.ExtractIcon();
    m_canvas.SmallPicture.PSet(3, 3, Colour(0x00123456));
    m_canvas.rebuildView();
    const std::vector<std::uint32_t> icon = m_canvas.SmallPicture.pixels();
    const std::vector<std::uint32_t> view = m_canvas.LargePicture.pixels();

    m_host.cancel();
    m_commands.ExtractIcon();
    EXPECT_EQ(m_host.requests().size(), 2u);
    EXPECT_EQ(m_canvas.SmallPicture.pixels(), icon);
    EXPECT_EQ(m_canvas.LargePicture.pixels(), view);
    EXPECT_EQ(m_dialog.FileName, "");
}

TEST_F(ExtractionCommand, IndexOneGivesTheSecondIconStretchedAndReadBack) {
    m_host.choose(peData("gen/order_pe32.exe"));  // groups ALPHA, ZED, …: index 1 is ZED
    m_commands.ExtractIcon();
    EXPECT_EQ(m_canvas.SmallPicture.pixels(),
              overWhite(referencePicture("expected/gen/hand__bpp32.pick.png")));
    expectViewShowsIcon();
}

TEST_F(ExtractionCommand, ALibraryChosenThroughTheSecondFilterWorksTheSame) {
    m_host.choose(peData("gen/order_pe32plus.dll"));
    m_commands.ExtractIcon();
    EXPECT_EQ(m_canvas.SmallPicture.pixels(),
              overWhite(referencePicture("expected/gen/hand__bpp32.pick.png")));
}

TEST_F(ExtractionCommand, AFileWithOneIconGivesThatIconForIndexOne) {
    m_host.choose(peData("pe32/zlib-x86-ansi"));
    m_commands.ExtractIcon();
    EXPECT_EQ(m_canvas.SmallPicture.pixels(),
              overWhite(referencePicture("expected/pe32/zlib-x86-ansi/g000_103.pick32.png")));
    expectViewShowsIcon();
}

TEST_F(ExtractionCommand, NoIconMeansTheGenericIconNotABlankOne) {
    const std::string paths[] = {
        peData("pe32/icmp.dll"), peData("no such file.exe"),
        std::string(MOSAIKON_TEST_DATA) + "/hostile-pe/rsrc_loop_to_root.dll"};
    for (const std::string& path : paths) {
        m_canvas.SmallPicture.setPicture(Picture{});
        m_host.choose(path);
        m_commands.ExtractIcon();
        EXPECT_EQ(m_canvas.SmallPicture.pixels(), overWhite(genericApplicationIcon())) << path;
        expectViewShowsIcon();
    }
}

TEST_F(ExtractionCommand, GetAppIconWorksOnItsOwnCopyAndReplacesTheWholeView) {
    m_canvas.LargePicture.Line(0, 0, 318, 318, Colour(0x000000FF), LineShape::FilledBox);
    const std::string path = peData("pe32/hh.exe");
    std::string caller = path;
    m_commands.GetAppIcon(caller);
    EXPECT_EQ(caller, path);
    EXPECT_EQ(m_canvas.SmallPicture.pixels(),
              overWhite(referencePicture("expected/pe32/hh.exe/g000_101.pick32.png")));
    // Nothing of the red that filled the view survives where the icon is transparent.
    for (std::uint32_t pixel : m_canvas.LargePicture.pixels()) {
        ASSERT_NE(pixel, 0x000000FFu);
    }
}

TEST_F(ExtractionCommand, TheOpacityPlaneTakesTheExtractedIconsOwnColoursAndOpacity) {
    m_host.choose(peData("pe32/hh.exe"));
    m_commands.ExtractIcon();
    const std::vector<Pixel> icon =
        referencePicture("expected/pe32/hh.exe/g000_101.pick32.png").allPixels();
    ASSERT_TRUE(usesPartialOpacity(Picture::fromPixels(PictureKind::Icon, 32, 32, icon)));
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const Pixel want = icon[static_cast<std::size_t>(y * 32 + x)];
            const Pixel got = m_canvas.opacity.at(x, y);
            ASSERT_EQ(pixelAlpha(got), want == 0xFFFFFFFFu ? 0 : pixelAlpha(want)) << x << "," << y;
            if (pixelAlpha(want) != 0 && want != 0xFFFFFFFFu) {
                ASSERT_EQ(got, want) << x << "," << y;
            }
        }
    }
    EXPECT_TRUE(m_canvas.opacity.matches(m_canvas.SmallPicture));
}

}  // namespace
}  // namespace mosaikon
