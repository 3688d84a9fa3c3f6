// The drawing surface: colours, points, lines, scaled paints, images and picture assignment.
#include <gtest/gtest.h>

#include <functional>

#include "PictureBox.h"
#include "SurfaceExpectations.h"

namespace mosaikon {
namespace {

using test::kBlack;
using test::kRed;
using test::kWhite;

Picture distinctPicture(int width, int height, PictureKind kind = PictureKind::Bitmap) {
    std::vector<Pixel> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels.push_back(0xFF000000u | static_cast<std::uint32_t>(x * 0x100 + y * 0x10000 + 1));
        }
    }
    return Picture::fromPixels(kind, width, height, std::move(pixels));
}

std::uint32_t plainAt(const Picture& picture, int x, int y) {
    return picture.pixelAt(x, y) & 0x00FFFFFFu;
}

TEST(ColourTest, SystemReferencesResolveThroughTheClassicScheme) {
    const std::pair<std::uint32_t, std::uint32_t> expected[] = {
        {1, 0x00808000},  {3, 0x00808080},  {5, 0x00FFFFFF},  {11, 0x00C0C0C0}, {13, 0x00800000},
        {14, 0x00FFFFFF}, {20, 0x00FFFFFF}, {22, 0x00DFDFDF}, {24, 0x00E1FFFF}};
    for (const auto& [index, value] : expected) {
        EXPECT_EQ(Colour::system(index).resolved().value(), value) << "system colour " << index;
    }
    EXPECT_EQ(Colour(0x80000005u).resolved(), colours::kWhite);
    EXPECT_EQ(Colour(0x8000FFFFu).resolved(), colours::kBlack) << "an unknown index";
    EXPECT_EQ(Colour(0x000000FFu).resolved().value(), 0xFFu) << "plain colours pass unchanged";
    EXPECT_NE(Colour(0x80000005u), Colour(0x00FFFFFFu)) << "compared as whole values";
}

TEST(SurfaceTest, SystemColourPaintsItsPresentValueAndReadsBackPlain) {
    PictureBox box(32, 32, colours::kWhite);
    box.PSet(3, 4, Colour(0x80000001u));
    EXPECT_EQ(box.Point(3, 4).value(), 0x00808000u);
    EXPECT_NE(box.Point(3, 4), Colour(0x80000001u));
    box.Line(0, 0, 2, 2, Colour(0x8000000Du), LineShape::FilledBox);
    EXPECT_EQ(box.Point(2, 2).value(), 0x00800000u);
}

TEST(SurfaceTest, PointOutsideTheDrawingAreaMatchesNoPixel) {
    PictureBox box(32, 32, colours::kWhite);
    EXPECT_EQ(box.Point(-1, 0).value(), 0xFFFFFFFFu);
    EXPECT_EQ(box.Point(32, 5).value(), 0xFFFFFFFFu);
    EXPECT_EQ(box.Point(31.9, 31.9), colours::kWhite) << "fractions lie on the pixel they fall in";
}

TEST(SurfaceTest, ImageIsUnaffectedByLaterClearingAndDrawing) {
    PictureBox box(32, 32, colours::kWhite);
    box.PSet(0, 0, Colour(kRed));
    const Picture taken = box.Image();
    box.setPicture(Picture{});
    box.Line(0, 0, 31, 31, colours::kBlack, LineShape::FilledBox);
    EXPECT_EQ(plainAt(taken, 0, 0), kRed);
    EXPECT_EQ(plainAt(taken, 1, 0), kWhite);
    EXPECT_EQ(taken.kind(), PictureKind::Bitmap);
    EXPECT_EQ(box.Point(0, 0), colours::kBlack);
}

TEST(SurfaceTest, FilledBoxColoursExactlyOneCellInterior) {
    PictureBox view(319, 319, colours::kWhite);
    view.Line(1, 1, 9, 9, Colour(kRed), LineShape::FilledBox);
    int red = 0;
    for (int y = 0; y < 319; ++y) {
        for (int x = 0; x < 319; ++x) {
            const bool inside = x >= 1 && x <= 9 && y >= 1 && y <= 9;
            EXPECT_EQ(view.pixel(x, y).value(), inside ? kRed : kWhite) << x << "," << y;
            red += inside ? 1 : 0;
        }
    }
    EXPECT_EQ(red, 81);
}

TEST(SurfaceTest, PlainLineStopsBeforeItsEndPointAndBoxIncludesBothCorners) {
    PictureBox box(20, 20, colours::kWhite);
    box.Line(2, 5, 8, 5, colours::kBlack);
    EXPECT_EQ(box.Point(2, 5), colours::kBlack);
    EXPECT_EQ(box.Point(7, 5), colours::kBlack);
    EXPECT_EQ(box.Point(8, 5), colours::kWhite);
    box.Line(10, 10, 10, 10, colours::kBlack);
    EXPECT_EQ(box.Point(10, 10), colours::kWhite) << "a line of no length draws nothing";

    PictureBox outline(20, 20, colours::kWhite);
    outline.Line(12, 14, 3, 2, Colour(kRed), LineShape::Box);
    int red = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            const bool edge = (x >= 3 && x <= 12 && (y == 2 || y == 14)) ||
                              (y >= 2 && y <= 14 && (x == 3 || x == 12));
            EXPECT_EQ(outline.pixel(x, y).value(), edge ? kRed : kWhite) << x << "," << y;
            red += edge ? 1 : 0;
        }
    }
    EXPECT_EQ(red, 2 * 10 + 2 * 11);
}

TEST(SurfaceTest, DiagonalLinesAreClippedAndConnected) {
    PictureBox box(10, 10, colours::kWhite);
    box.Line(-5, -5, 15, 15, colours::kBlack);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(box.Point(i, i), colours::kBlack) << i;
    }
    EXPECT_EQ(box.Point(1, 0), colours::kWhite);
}

TEST(SurfaceTest, TwipScaleLandsOnWholePixels) {
    PictureBox strip(79, 271, Colour(0x80000005u), ScaleUnit::Twips);
    EXPECT_EQ(strip.ScaleWidth(), 1185.0);
    EXPECT_EQ(strip.ScaleHeight(), 4065.0);
    strip.PSet(14, 29, colours::kBlack);
    EXPECT_EQ(strip.pixel(0, 1), colours::kBlack);
    strip.PSet(15, 30, Colour(kRed));
    EXPECT_EQ(strip.pixel(1, 2).value(), kRed);
    EXPECT_EQ(strip.Point(16, 44).value(), kRed);
    // A box from (0, 30) to (1185, 60) twips: rows 2 and 4, columns 0 and 79 (outside).
    strip.Line(0, 30, 1185, 60, Colour(kRed), LineShape::Box);
    EXPECT_EQ(strip.pixel(78, 2).value(), kRed);
    EXPECT_EQ(strip.pixel(78, 4).value(), kRed);
    EXPECT_EQ(strip.pixel(0, 3).value(), kRed);
    EXPECT_EQ(strip.pixel(78, 3).value(), kWhite) << "the right edge falls outside the strip";
}

// The scaling rule written out plainly: offset o takes source index ((2o + 1) · n) / (2 · |w|).
int sourceIndex(int offset, int sourceSize, int extent) {
    return ((2 * offset + 1) * sourceSize) / (2 * std::abs(extent));
}

TEST(PaintPictureTest, MirroredPaintFillsTheViewWithColumnZeroOnTheRight) {
    PictureBox view(319, 319, Colour(0x123456));
    const Picture picture = distinctPicture(32, 32);
    view.PaintPicture(picture, 318, 0, -319, 319);
    for (int y = 0; y < 319; ++y) {
        for (int x = 0; x < 319; ++x) {
            const int column = sourceIndex(318 - x, 32, 319);
            const int row = sourceIndex(y, 32, 319);
            ASSERT_EQ(view.pixel(x, y).value(), plainAt(picture, column, row)) << x << "," << y;
        }
    }
    EXPECT_EQ(view.pixel(318, 0).value(), plainAt(picture, 0, 0));
    EXPECT_EQ(view.pixel(0, 318).value(), plainAt(picture, 31, 31));
}

TEST(PaintPictureTest, EnlargingGivesEveryCellInteriorItsPixel) {
    PictureBox view(319, 319, colours::kWhite);
    const Picture picture = distinctPicture(32, 32);
    view.PaintPicture(picture, 0, 0, 321, 321);
    for (int c = 0; c < 32; ++c) {
        for (int i = 10 * c + 1; i <= std::min(10 * c + 9, 318); ++i) {
            ASSERT_EQ(view.pixel(i, 5).value(), plainAt(picture, c, 0)) << "column " << i;
            ASSERT_EQ(view.pixel(5, i).value(), plainAt(picture, 0, c)) << "row " << i;
        }
    }
}

TEST(PaintPictureTest, ShrinkingTheViewSamplesCellInteriorsOnly) {
    for (int k = 0; k < 32; ++k) {
        const int sampled = sourceIndex(k, 319, 32);
        EXPECT_GT(sampled % 10, 0) << "icon pixel " << k << " would read a grid line";
        EXPECT_EQ(sampled / 10, k);
    }
}

TEST(PaintPictureTest, RectanglePartlyOffTheSurfaceDrawsOnlyItsInsidePart) {
    PictureBox view(319, 319, colours::kWhite);
    const Picture red = Picture::fromPixels(PictureKind::Bitmap, 1, 1, {0xFF0000FFu});
    view.PaintPicture(red, 10, 10, 319, 319);
    for (int y = 0; y < 319; ++y) {
        for (int x = 0; x < 319; ++x) {
            ASSERT_EQ(view.pixel(x, y).value(), (x >= 10 && y >= 10) ? kRed : kWhite)
                << x << "," << y;
        }
    }
    PictureBox other(40, 40, colours::kWhite);
    other.PaintPicture(red, -100, -100, -5, 5);
    other.PaintPicture(red, 45, 0, 5, 5);
    EXPECT_EQ(other.pixels(), std::vector<std::uint32_t>(1600, kWhite))
        << "nothing visible, nothing drawn";
}

TEST(PaintPictureTest, HugeExtentCostsOnlyTheVisibleArea) {
    PictureBox box(32, 32, colours::kWhite);
    const Picture picture = distinctPicture(2, 2);
    box.PaintPicture(picture, 0, 0, 2e8,
                     2e8);  // would take minutes if the whole extent were walked
    EXPECT_EQ(box.pixel(31, 31).value(), plainAt(picture, 0, 0));
    box.PaintPicture(picture, 0, 0, 0, 32);
    EXPECT_EQ(box.pixel(31, 31).value(), plainAt(picture, 0, 0)) << "a zero width draws nothing";
}

TEST(PictureAssignmentTest, ClearsThenDrawsAtOwnSizeWithIconTransparency) {
    PictureBox box(32, 32, colours::kWhite);
    box.Line(0, 0, 31, 31, colours::kBlack, LineShape::FilledBox);
    // A 2 × 2 icon: opaque red, fully transparent, half-opaque black, opaque blue.
    const Picture icon = Picture::fromPixels(PictureKind::Icon, 2, 2,
                                             {0xFF0000FFu, 0x00000000u, 0x80000000u, 0xFFFF0000u});
    box.setPicture(icon);
    EXPECT_EQ(box.pixel(0, 0).value(), kRed);
    EXPECT_EQ(box.pixel(1, 0).value(), kWhite) << "transparent shows the background";
    EXPECT_EQ(box.pixel(0, 1).value(), 0x7F7F7Fu) << "half black over white";
    EXPECT_EQ(box.pixel(1, 1).value(), test::kBlue);
    EXPECT_EQ(box.pixel(2, 0).value(), kWhite) << "no scaling: the rest is background";

    box.setPicture(distinctPicture(40, 40));
    EXPECT_EQ(box.pixel(31, 31).value(), (31u * 0x100 + 31u * 0x10000 + 1))
        << "cut off at the edge";

    box.setPicture(Picture{});
    EXPECT_EQ(box.pixels(), std::vector<std::uint32_t>(32 * 32, kWhite));
}

// Whatever a change draws, every pixel it changed lies in the area the surface reports for it,
// and that area is no larger than the drawing's outline.
TEST(SurfaceTest, ChangedAreaHoldsEveryChangedPixel) {
    PictureBox box(40, 30, colours::kWhite);
    const Picture picture = distinctPicture(3, 2);
    const struct {
        const char* what;
        std::function<void()> draw;
        PixelArea expected;
    } changes[] = {
        {"a point", [&] { box.PSet(7, 9, colours::kBlack); }, {7, 9, 8, 10}},
        {"a point outside", [&] { box.PSet(-1, 9, colours::kBlack); }, {}},
        {"a filled box",
         [&] { box.Line(11, 21, 19, 29, Colour(kRed), LineShape::FilledBox); },
         {11, 21, 20, 30}},
        {"the same box again",
         [&] { box.Line(11, 21, 19, 29, Colour(kRed), LineShape::FilledBox); },
         {}},
        {"a box past the edge",
         [&] { box.Line(35, -5, 45, 3, colours::kBlack, LineShape::Box); },
         {35, 0, 40, 4}},
        {"a mirrored line", [&] { box.Line(30, 2, 20, 12, Colour(kRed)); }, {20, 2, 31, 13}},
        {"a scaled paint", [&] { box.PaintPicture(picture, 5, 5, -10, 8); }, {0, 0, 40, 30}},
        {"a picture", [&] { box.setPicture(picture); }, {0, 0, 40, 30}},
        {"restored pixels",
         [&] { box.restorePixels(std::vector<std::uint32_t>(40 * 30, kWhite)); },
         {0, 0, 40, 30}},
    };
    for (const auto& change : changes) {
        SCOPED_TRACE(change.what);
        const auto before = box.pixels();
        const std::uint64_t revision = box.revision();
        change.draw();
        const PixelArea area = box.changedSince(revision);
        EXPECT_EQ(area, change.expected);
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 40; ++x) {
                const bool inArea =
                    x >= area.left && x < area.right && y >= area.top && y < area.bottom;
                if (!inArea) {
                    ASSERT_EQ(box.pixel(x, y).value(), before[static_cast<std::size_t>(y * 40 + x)])
                        << x << "," << y;
                }
            }
        }
    }
}

TEST(SurfaceTest, ChangedAreaJoinsRecentChangesAndIsWholeBeyondThem) {
    PictureBox box(40, 30, colours::kWhite);
    const std::uint64_t start = box.revision();
    EXPECT_TRUE(box.changedSince(start).isEmpty());
    box.PSet(2, 3, colours::kBlack);
    box.PSet(10, 1, colours::kBlack);
    EXPECT_EQ(box.changedSince(start), (PixelArea{2, 1, 11, 4}));
    for (int i = 0; i < 8; ++i) {
        box.PSet(0, 0, colours::kBlack);
    }
    EXPECT_EQ(box.changedSince(start), (PixelArea{0, 0, 40, 30})) << "too far back";
    EXPECT_EQ(box.changedSince(box.revision() - 8), (PixelArea{0, 0, 1, 1}));
    EXPECT_EQ(box.changedSince(box.revision() + 1), (PixelArea{0, 0, 40, 30})) << "never had";
}

// Rectangles of every width from 1 to 13 (a short row takes another path than a long one, and
// the last four pixels of a row overlap the four before), some past the edges, some in the
// colour already there, against the same rectangles drawn as filled boxes.
TEST(SurfaceTest, ABatchFillsAsFilledBoxesDoAndRecordsOneChangeCoveringWhatChanged) {
    PictureBox boxes(23, 17, colours::kWhite);
    PictureBox batched(23, 17, colours::kWhite);
    const std::uint64_t start = batched.revision();
    PixelArea changed;
    PictureBox::Batch batch(batched);
    for (int i = 0; i < 60; ++i) {
        const int left = i * 7 % 26 - 3;
        const int top = i * 5 % 20 - 2;
        const PixelArea area{left, top, left + 1 + i % 13, top + 1 + i % 4};
        const std::uint32_t plain = i % 3 == 0 ? kWhite : (i % 2 ? kRed : test::kBlue);
        const std::uint64_t revision = boxes.revision();
        boxes.Line(area.left, area.top, area.right - 1, area.bottom - 1, Colour(plain),
                   LineShape::FilledBox);
        changed = changed.united(boxes.changedSince(revision));
        batch.fill(area, plain);
    }
    batch.fill({5, 5, 5, 9}, kBlack);  // empty
    EXPECT_EQ(batched.revision(), start) << "recorded before the batch ends";
    batch.finish();
    batch.finish();
    EXPECT_EQ(batched.pixels(), boxes.pixels());
    EXPECT_EQ(batched.revision(), start + 1);
    EXPECT_EQ(batched.changedSince(start), changed);
}

TEST(SurfaceTest, MousePointerAndRefreshAreKept) {
    PictureBox box(4, 4, colours::kWhite);
    EXPECT_EQ(box.MousePointer(), pointers::kDefault);
    box.setMousePointer(pointers::kUpArrow);
    EXPECT_EQ(box.MousePointer(), 10);
    box.Refresh();
    box.Refresh();
    EXPECT_EQ(box.refreshCount(), 2);
}

}  // namespace
}  // namespace mosaikon

namespace mosaikon {
namespace {

// Opacity blending against the plain rounding formula, over every opacity and a spread of
// channel values, each channel different so that a mix-up between channels shows.
TEST(PictureAssignmentTest, PartialOpacityRoundsEveryChannelToNearest) {
    for (std::uint32_t alpha = 1; alpha < 255; alpha += 3) {
        for (std::uint32_t s = 0; s < 256; s += 17) {
            const std::uint32_t below = 0x00FFFFFFu;  // the white background
            const std::uint32_t source = s | ((255 - s) << 8) | ((s / 2) << 16);
            PictureBox box(1, 1, colours::kWhite);
            box.setPicture(Picture::fromPixels(PictureKind::Icon, 1, 1, {(alpha << 24) | source}));
            std::uint32_t expected = 0;
            for (int shift = 0; shift < 24; shift += 8) {
                const std::uint32_t sc = (source >> shift) & 0xFF;
                const std::uint32_t bc = (below >> shift) & 0xFF;
                expected |= ((sc * alpha + bc * (255 - alpha) + 127) / 255) << shift;
            }
            ASSERT_EQ(box.pixel(0, 0).value(), expected)
                << "alpha " << alpha << " source " << source;
        }
    }
}

}  // namespace
}  // namespace mosaikon
