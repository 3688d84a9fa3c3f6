// Soft edges through the real program under a private X server: an icon whose pixels have
// every opacity from 1 to 254, opened from the command line, painted on, erased and exported as
// a PNG; the screen shows it over white, and the PNG keeps each untouched pixel's opacity.
#include "EditorSessionFixture.h"

namespace mosaikon::e2e {
namespace {

const std::string kSoftIcon = std::string(MOSAIKON_TEST_DATA) + "/pictures/soft/soft_edges.ico";

class SoftEdgesSession : public EditorSession {
protected:
    std::vector<std::string> programArguments() const override { return {kSoftIcon}; }
};

// Clear pixels compare by their clearness only: the PNG keeps its own colour under them.
Pixel clearAlike(Pixel p) { return pixelAlpha(p) == 0 ? 0 : p; }

TEST_F(SoftEdgesSession, AnIconOpenedFromTheCommandLineKeepsItsSoftEdgesInThePngExport) {
    modelFiles.openIconFile(kSoftIcon);
    ASSERT_TRUE(model.opacity.hasPartialOpacity());
    expectScreenShowsModel("opened from the command line, shown over white");

    clickAt(184, 200);  // the window's background takes the keyboard focus
    ASSERT_TRUE(X11Session::waitUntil([&] { return x.focusedTopLevel() == mainWindow; }, 8s));
    // Black paint at (0, 0) and (1, 0), then the eraser over (3, 0) to (5, 0).
    clickCell(0, 0);
    model.LargePicture_MouseDown(1, 0, 5, 5);
    clickCell(1, 0);
    model.LargePicture_MouseDown(1, 0, 15, 5);
    x.key("e");
    model.selectTool(Tool::Eraser);
    x.moveTo(origin.x + kViewLeft + 35, origin.y + kViewTop + 5);
    x.press(1);
    x.moveTo(origin.x + kViewLeft + 45, origin.y + kViewTop + 5);
    X11Session::waitUntil(
        [&] { return x.pixel(origin.x + kViewLeft + 45, origin.y + kViewTop + 5) == 0xFFFFFF; },
        2s);
    x.moveTo(origin.x + kViewLeft + 55, origin.y + kViewTop + 5);
    X11Session::waitUntil(
        [&] { return x.pixel(origin.x + kViewLeft + 55, origin.y + kViewTop + 5) == 0xFFFFFF; },
        2s);
    x.release(1);
    model.toolPress({3, 0}, MouseButton::Primary);
    model.toolMove({4, 0});
    model.toolMove({5, 0});
    model.toolRelease({5, 0});
    expectScreenShowsModel("painted and erased");

    const fs::path exported = work / "soft.png";
    x.chord({"Control_L", "Shift_L", "e"});
    answerFileDialog(exported.string());
    ASSERT_TRUE(X11Session::waitUntil([&] { return fs::exists(exported); }, 8s)) << "no PNG";

    const std::vector<Pixel> png = LoadPicture(exported.string()).allPixels();
    const std::vector<Pixel> plane = model.opacity.picture().allPixels();
    ASSERT_EQ(png.size(), plane.size());
    std::size_t partial = 0;
    for (std::size_t i = 0; i < png.size(); ++i) {
        ASSERT_EQ(clearAlike(png[i]), clearAlike(plane[i])) << "at " << i % 32 << "," << i / 32;
        const std::uint8_t alpha = pixelAlpha(png[i]);
        partial += alpha != 0 && alpha != 255 ? 1 : 0;
    }
    EXPECT_EQ(png[0], opaquePixel(colours::kBlack)) << "painted: opaque";
    EXPECT_EQ(png[1], opaquePixel(colours::kBlack));
    for (std::size_t erased : {3u, 4u, 5u}) {
        EXPECT_EQ(pixelAlpha(png[erased]), 0) << "erased: clear";
    }
    EXPECT_EQ(png[2], makePixel(Colour::fromRgb(16, 0, 128), 3)) << "untouched, nearly clear";
    // The 768 soft pixels of the first 24 rows but the five painted or erased, and the
    // half-clear white one.
    EXPECT_EQ(partial, 24u * 32u - 5u + 1u) << "every other soft pixel kept its opacity";
}

}  // namespace
}  // namespace mosaikon::e2e
