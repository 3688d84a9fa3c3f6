// The opacity plane beside the icon surface: what every operation does to it, the invariant
// (the plane drawn over white is the icon surface) after each, and undo and redo of it.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "EditHistory.h"
#include "SurfaceExpectations.h"

namespace mosaikon {
namespace {

using namespace test;
using grid::Cell;
using Plane = std::vector<std::uint32_t>;

constexpr std::size_t at(int x, int y) { return static_cast<std::size_t>(y * 32 + x); }

// A soft-edged icon: every pixel its own colour and an opacity from 0 to 255, a run of the
// nearly invisible ones (1 to 3) included, and one opaque pure white pixel.
Picture softIcon() {
    std::vector<Pixel> pixels(32 * 32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const auto alpha = static_cast<std::uint8_t>((x * 8 + y * 3) % 256);
            pixels[at(x, y)] = makePixel(
                Colour::fromRgb(static_cast<std::uint8_t>(x * 8), static_cast<std::uint8_t>(y * 8),
                                static_cast<std::uint8_t>(200 - x - y)),
                alpha);
        }
    }
    pixels[at(1, 0)] = makePixel(Colour(0x102030), 1);
    pixels[at(2, 0)] = makePixel(Colour(0x102030), 3);
    pixels[at(3, 0)] = 0xFFFFFFFFu;  // opaque pure white
    return Picture::fromPixels(PictureKind::Icon, 32, 32, std::move(pixels));
}

// What the plane holds for the soft icon: its pixels, the opaque white one transparent.
Plane softPlane() {
    Plane plane = softIcon().allPixels();
    plane[at(3, 0)] = kTransparentPixel;
    return plane;
}

Plane transparentPlane() { return Plane(32 * 32, kTransparentPixel); }

IconCanvas softCanvas() {
    IconCanvas canvas = startedCanvas();
    canvas.takePicture(softIcon());
    return canvas;
}

::testing::AssertionResult invariantHolds(const IconCanvas& canvas) {
    IconPixels shown(32 * 32);
    std::transform(canvas.opacity.pixels().begin(), canvas.opacity.pixels().end(), shown.begin(),
                   overWhite);
    return sameSurface(shown, canvas.SmallPicture.pixels(), 32) << " (plane over white vs icon)";
}

::testing::AssertionResult planeIs(const IconCanvas& canvas, const Plane& expected) {
    return sameSurface(canvas.opacity.pixels(), expected, 32) << " (plane)";
}

// The plane moved as a move moves the icon: by one pixel, the edge row or column
// it moves away from repeated.
Plane moved(const Plane& plane, int dx, int dy) {
    Plane result(plane.size());
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            result[at(x, y)] = plane[at(std::clamp(x - dx, 0, 31), std::clamp(y - dy, 0, 31))];
        }
    }
    return result;
}

Plane mapped(const Plane& plane, const std::function<std::size_t(int, int)>& sourceOf) {
    Plane result(plane.size());
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            result[at(x, y)] = plane[sourceOf(x, y)];
        }
    }
    return result;
}

Plane withCells(Plane plane, const std::vector<Cell>& cells, Pixel pixel) {
    for (const Cell cell : cells) {
        plane[at(cell.column, cell.row)] = pixel;
    }
    return plane;
}

void useTool(IconCanvas& canvas, Tool tool, Cell from, Cell to, std::uint32_t colour) {
    canvas.state.CurrentColor = Colour(colour);
    canvas.selectTool(tool);
    canvas.toolPress(from, MouseButton::Primary);
    canvas.toolMove(to);
    canvas.toolRelease(to);
}

float viewPixel(int cell) { return static_cast<float>(cell * 10 + 5); }

struct PlaneCase {
    std::string name;
    std::function<void(IconCanvas&)> operation;
    std::function<Plane()> expected;  // from the soft icon
};

const Pixel kOpaqueRed = opaquePixel(Colour(kRed));

std::vector<PlaneCase> planeCases() {
    return {
        {"open an icon", [](IconCanvas&) {}, softPlane},
        {"open a smaller icon: the rest is transparent",
         [](IconCanvas& c) {
             c.takePicture(Picture::fromPixels(PictureKind::Icon, 2, 1,
                                               {makePixel(Colour(kRed), 7), 0x80FF0000u}));
         },
         [] {
             Plane plane = transparentPlane();
             plane[at(0, 0)] = makePixel(Colour(kRed), 7);
             plane[at(1, 0)] = 0x80FF0000u;
             return plane;
         }},
        {"a bitmap is opaque",
         [](IconCanvas& c) {
             c.takePicture(Picture::fromPixels(PictureKind::Bitmap, 32, 32,
                                               std::vector<Pixel>(32 * 32, 0x000000FFu)));
         },
         [] { return Plane(32 * 32, kOpaqueRed); }},
        {"a bitmap read through the view is opaque, its white transparent",
         [](IconCanvas& c) {
             std::vector<Pixel> pixels(64 * 64, 0x00123456u);
             pixels[0] = 0x00FFFFFFu;
             c.LargePicture.PaintPicture(Picture::fromPixels(PictureKind::Bitmap, 64, 64, pixels),
                                         0, 0, 321, 321);
             c.opacity.takeThroughView(Picture::fromPixels(PictureKind::Bitmap, 64, 64, pixels));
             c.readBackIcon();
         },
         [] {
             Plane plane(32 * 32, 0xFF123456u);
             plane[0] = kTransparentPixel;
             return plane;
         }},
        {"an icon read through the view takes each sampled pixel's opacity",
         [](IconCanvas& c) {
             // 2 × 2 blocks of one pixel each: the samplings take one pixel of each block.
             std::vector<Pixel> pixels(64 * 64);
             for (int y = 0; y < 64; ++y) {
                 for (int x = 0; x < 64; ++x) {
                     pixels[static_cast<std::size_t>(y * 64 + x)] =
                         makePixel(Colour(static_cast<std::uint32_t>(x / 2 * 0x0800 + y / 2)),
                                   static_cast<std::uint8_t>(x / 2 + y / 2 * 8));
                 }
             }
             const Picture picture = Picture::fromPixels(PictureKind::Icon, 64, 64, pixels);
             c.LargePicture.setPicture(Picture{});
             c.LargePicture.PaintPicture(picture, 0, 0, 321, 321);
             c.opacity.takeThroughView(picture);
             c.readBackIcon();
         },
         [] {
             Plane plane(32 * 32);
             for (int y = 0; y < 32; ++y) {
                 for (int x = 0; x < 32; ++x) {
                     plane[at(x, y)] = makePixel(Colour(static_cast<std::uint32_t>(x * 0x0800 + y)),
                                                 static_cast<std::uint8_t>(x + y * 8));
                 }
             }
             return plane;
         }},
        {"paint stroke: opaque in its colour",
         [](IconCanvas& c) {
             c.state.CurrentColor = Colour(kRed);
             c.LargePicture_MouseDown(1, 0, viewPixel(4), viewPixel(5));
             c.LargePicture_MouseMove(1, 0, viewPixel(6), viewPixel(5));
         },
         [] {
             return withCells(softPlane(), {{4, 5}, {6, 5}}, kOpaqueRed);
         }},
        {"paint in pure white: transparent",
         [](IconCanvas& c) {
             c.state.CurrentColor = colours::kWhite;
             c.LargePicture_MouseDown(1, 0, viewPixel(7), viewPixel(8));
         },
         [] {
             return withCells(softPlane(), {{7, 8}}, kTransparentPixel);
         }},
        {"paint mirrored",
         [](IconCanvas& c) {
             c.setMirroring(Mirroring::On);
             c.state.CurrentColor = Colour(kRed);
             c.LargePicture_MouseDown(1, 0, viewPixel(2), viewPixel(9));
         },
         [] {
             return withCells(softPlane(), {{2, 9}, {29, 9}}, kOpaqueRed);
         }},
        {"eraser: transparent",
         [](IconCanvas& c) {
             useTool(c, Tool::Eraser, {10, 10}, {12, 10}, kRed);
         },
         [] {
             return withCells(softPlane(), {{10, 10}, {11, 10}, {12, 10}}, kTransparentPixel);
         }},
        {"line",
         [](IconCanvas& c) {
             useTool(c, Tool::Line, {1, 1}, {3, 1}, kRed);
         },
         [] {
             return withCells(softPlane(), {{1, 1}, {2, 1}, {3, 1}}, kOpaqueRed);
         }},
        {"filled rectangle",
         [](IconCanvas& c) {
             useTool(c, Tool::FilledRectangle, {5, 20}, {6, 21}, kBlue);
         },
         [] {
             return withCells(softPlane(), {{5, 20}, {6, 20}, {5, 21}, {6, 21}},
                              opaquePixel(Colour(kBlue)));
         }},
        {"fill over a region of one shown colour",
         [](IconCanvas& c) {
             c.ClearIcon();
             useTool(c, Tool::Fill, {0, 0}, {0, 0}, kRed);
         },
         [] { return Plane(32 * 32, kOpaqueRed); }},
        {"Change: the replaced pixels opaque in the new colour",
         [](IconCanvas& c) {
             c.state.CurrentColor = Colour(kRed);
             c.LargePicture_MouseDown(1, 0, viewPixel(4), viewPixel(5));
             c.state.CurrentColor = Colour(kBlue);
             c.LargePicture.setMousePointer(pointers::kUpArrow);
             c.LargePicture_MouseDown(1, 0, viewPixel(4), viewPixel(5));
         },
         [] {
             return withCells(softPlane(), {{4, 5}}, opaquePixel(Colour(kBlue)));
         }},
        {"Change to pure white: transparent",
         [](IconCanvas& c) {
             c.state.CurrentColor = Colour(kRed);
             c.LargePicture_MouseDown(1, 0, viewPixel(4), viewPixel(5));
             c.state.CurrentColor = colours::kWhite;
             c.LargePicture.setMousePointer(pointers::kUpArrow);
             c.LargePicture_MouseDown(1, 0, viewPixel(4), viewPixel(5));
         },
         [] {
             return withCells(softPlane(), {{4, 5}}, kTransparentPixel);
         }},
        {"clear", [](IconCanvas& c) { c.ClearIcon(); }, transparentPlane},
        {"new", [](IconCanvas& c) { c.New_Icon(); }, transparentPlane},
        {"move left", [](IconCanvas& c) { c.MoveIcon("left"); },
         [] { return moved(softPlane(), -1, 0); }},
        {"move right", [](IconCanvas& c) { c.MoveIcon("right"); },
         [] { return moved(softPlane(), 1, 0); }},
        {"move up", [](IconCanvas& c) { c.MoveIcon("up"); },
         [] { return moved(softPlane(), 0, -1); }},
        {"move down", [](IconCanvas& c) { c.MoveIcon("down"); },
         [] { return moved(softPlane(), 0, 1); }},
        {"flip left-right", [](IconCanvas& c) { c.FlipHorizontal(); },
         [] { return mapped(softPlane(), [](int x, int y) { return at(31 - x, y); }); }},
        {"flip top-bottom", [](IconCanvas& c) { c.FlipVertical(); },
         [] { return mapped(softPlane(), [](int x, int y) { return at(x, 31 - y); }); }},
        {"quarter turn clockwise", [](IconCanvas& c) { c.Rotat_Icon(); },
         [] { return mapped(softPlane(), [](int x, int y) { return at(y, 31 - x); }); }},
        {"four quarter turns",
         [](IconCanvas& c) {
             for (int i = 0; i < 4; ++i) c.Rotat_Icon();
         },
         softPlane},
        {"a selection moved carries its opacity and leaves transparency",
         [](IconCanvas& c) {
             useTool(c, Tool::Select, {0, 0}, {1, 1}, kRed);
             c.toolPress({0, 0}, MouseButton::Primary);
             c.toolMove({2, 3});
             c.toolRelease({2, 3});
         },
         [] {
             const Plane soft = softPlane();
             Plane plane = withCells(soft, {{0, 0}, {1, 0}, {0, 1}, {1, 1}}, kTransparentPixel);
             for (int y = 0; y < 2; ++y) {
                 for (int x = 0; x < 2; ++x) plane[at(x + 2, y + 3)] = soft[at(x, y)];
             }
             return plane;
         }},
        {"a selection flipped",
         [](IconCanvas& c) {
             useTool(c, Tool::Select, {0, 0}, {1, 0}, kRed);
             c.flipSelection(FlipAxis::LeftRight);
         },
         [] {
             Plane plane = softPlane();
             std::swap(plane[at(0, 0)], plane[at(1, 0)]);
             return plane;
         }},
        {"a selection deleted",
         [](IconCanvas& c) {
             useTool(c, Tool::Select, {0, 0}, {1, 0}, kRed);
             c.deleteSelection();
         },
         [] {
             return withCells(softPlane(), {{0, 0}, {1, 0}}, kTransparentPixel);
         }},
        {"a picture pasted floats with its opacity",
         [](IconCanvas& c) {
             c.pasteFloating(Picture::fromPixels(PictureKind::Icon, 1, 2,
                                                 {makePixel(Colour(kBlue), 9), 0x40000000u}));
         },
         [] {
             Plane plane = softPlane();
             plane[at(0, 0)] = makePixel(Colour(kBlue), 9);
             plane[at(0, 1)] = 0x40000000u;
             return plane;
         }},
    };
}

TEST(OpacityPlane, EveryOperationLeavesTheExpectedPlaneAndThePlaneOverWhiteIsTheIconSurface) {
    for (const PlaneCase& planeCase : planeCases()) {
        SCOPED_TRACE(planeCase.name);
        IconCanvas canvas = softCanvas();
        ASSERT_TRUE(invariantHolds(canvas));
        planeCase.operation(canvas);
        EXPECT_TRUE(planeIs(canvas, planeCase.expected()));
        EXPECT_TRUE(invariantHolds(canvas));
        EXPECT_TRUE(canvas.opacity.matches(canvas.SmallPicture));
    }
}

TEST(OpacityPlane, UndoAndRedoOfEveryOperationRestoreThePlaneWithTheSurfaces) {
    for (const PlaneCase& planeCase : planeCases()) {
        SCOPED_TRACE(planeCase.name);
        IconCanvas canvas = softCanvas();
        EditHistory history(canvas.SmallPicture, canvas.LargePicture, canvas.opacity);
        const Plane before = canvas.opacity.pixels();
        const IconPixels iconBefore = canvas.SmallPicture.pixels();
        planeCase.operation(canvas);
        const Plane after = canvas.opacity.pixels();
        if (!history.record(canvas.SmallPicture, canvas.LargePicture, canvas.opacity,
                            canvas.selectionRecord())) {
            EXPECT_EQ(after, before);  // opening the same icon again changes nothing
            continue;
        }
        ASSERT_TRUE(history.undo(canvas.SmallPicture, canvas.LargePicture, canvas.opacity));
        EXPECT_TRUE(planeIs(canvas, before));
        EXPECT_TRUE(iconIs(canvas, iconBefore));
        ASSERT_TRUE(history.redo(canvas.SmallPicture, canvas.LargePicture, canvas.opacity));
        EXPECT_TRUE(planeIs(canvas, after));
        EXPECT_TRUE(invariantHolds(canvas));
    }
}

TEST(OpacityPlane, AChangeOfThePlaneAloneIsAStepOfItsOwn) {
    // Opaque white and transparency show alike on the icon surface; only the plane differs.
    IconCanvas canvas = startedCanvas();
    canvas.takePicture(Picture::fromPixels(PictureKind::Icon, 1, 1, {makePixel(Colour(kRed), 0)}));
    EditHistory history(canvas.SmallPicture, canvas.LargePicture, canvas.opacity);
    canvas.ClearIcon();
    EXPECT_TRUE(history.record(canvas.SmallPicture, canvas.LargePicture, canvas.opacity, nullptr));
    ASSERT_TRUE(history.undo(canvas.SmallPicture, canvas.LargePicture, canvas.opacity));
    EXPECT_EQ(canvas.opacity.at(0, 0), makePixel(Colour(kRed), 0));
}

TEST(OpacityPlane, AHistoryKeptWithThePlaneRefusesCallsWithoutIt) {
    IconCanvas canvas = startedCanvas();
    EditHistory history(canvas.SmallPicture, canvas.LargePicture, canvas.opacity);
    EXPECT_THROW(history.record(canvas.SmallPicture, canvas.LargePicture), std::invalid_argument);
}

TEST(OpacityPlane, FollowingTheSurfaceMakesWhatWasDrawnWithoutThePlaneOpaque) {
    IconCanvas canvas = softCanvas();
    canvas.SmallPicture.PSet(5, 5, Colour(kRed));
    canvas.SmallPicture.PSet(6, 5, colours::kWhite);
    EXPECT_FALSE(canvas.opacity.matches(canvas.SmallPicture));
    canvas.opacity.follow(canvas.SmallPicture);
    EXPECT_EQ(canvas.opacity.at(5, 5), kOpaqueRed);
    EXPECT_EQ(canvas.opacity.at(6, 5), kTransparentPixel);
    EXPECT_EQ(canvas.opacity.at(7, 5), softPlane()[at(7, 5)]);
    EXPECT_TRUE(invariantHolds(canvas));
}

TEST(OpacityPlane, PartialOpacityIsToldApartFromOpaqueAndClearPixels) {
    IconCanvas canvas = startedCanvas();
    EXPECT_FALSE(canvas.opacity.hasPartialOpacity());
    canvas.takePicture(Picture::fromPixels(PictureKind::Icon, 2, 1, {0xFF0000FFu, 0x00000000u}));
    EXPECT_FALSE(canvas.opacity.hasPartialOpacity());
    canvas.takePicture(softIcon());
    EXPECT_TRUE(canvas.opacity.hasPartialOpacity());
    EXPECT_FALSE(usesPartialOpacity(
        Picture::fromPixels(PictureKind::Bitmap, 1, 1, {makePixel(Colour(kRed), 9)})));
}

TEST(OpacityPlane, TheExportedPictureIsThePlane) {
    const IconCanvas canvas = softCanvas();
    const Picture exported = canvas.opacity.picture();
    EXPECT_EQ(exported.kind(), PictureKind::Icon);
    EXPECT_EQ(exported.allPixels(), softPlane());
}

}  // namespace
}  // namespace mosaikon
