// Thumbnails for file managers: the image closest to the size asked for, scaled down to fit with
// its opacity averaged, the first icon group of a program file, and limits that keep a
// thumbnailer quick.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "FileBytes.h"
#include "FileError.h"
#include "PictureTestSupport.h"
#include "ProgramIconReader.h"
#include "Thumbnails.h"
#include "png/PngImage.h"

namespace mosaikon {
namespace {

using test::dataPath;

Picture thumbnailOfBytes(const std::vector<std::uint8_t>& bytes, int side) {
    MemoryBytes file(bytes, "thumb.ico");
    return thumbnailOf(file, side);
}

TEST(Thumbnails, TheImageClosestToTheSizeIsTakenAsItIs) {
    // Images of 48, 16, 32 (three depths) and 256 pixels.
    FileBytes file(dataPath("gen/hand/multi_unsorted.ico"));
    for (const auto& [side, expected] : std::vector<std::pair<int, int>>{{16, 16},
                                                                         {20, 16},
                                                                         {32, 32},
                                                                         {48, 48},
                                                                         {100, 48},
                                                                         {128, 48},
                                                                         {256, 256},
                                                                         {1024, 256}}) {
        SCOPED_TRACE(side);
        const Picture thumbnail = thumbnailOf(file, side);
        EXPECT_EQ(thumbnail.width(), expected);
        EXPECT_EQ(thumbnail.height(), expected);
        EXPECT_EQ(thumbnail.kind(), PictureKind::Icon);
    }
    // 40 lies as near to 32 as to 48, whose depth is as good: the first of them in the file, the
    // 48 one, scaled down; so is the 256 one to fit 200.
    EXPECT_EQ(thumbnailOf(file, 40).width(), 40);
    EXPECT_EQ(thumbnailOf(file, 200).width(), 200);
}

TEST(Thumbnails, ScalingDownKeepsTheShapeAndAveragesOpacityWithoutClearColour) {
    // 64 × 32: the left half opaque red, the right half clear blue, and in the middle rows a
    // checkerboard of opaque green and clear white.
    std::vector<Pixel> pixels;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 64; ++x) {
            Pixel p = x < 32 ? opaquePixel(Colour::fromRgb(255, 0, 0))
                             : makePixel(Colour::fromRgb(0, 0, 255), 0);
            if (y >= 8 && y < 24) {
                p = (x + y) % 2 == 0 ? opaquePixel(Colour::fromRgb(0, 255, 0))
                                     : makePixel(colours::kWhite, 0);
            }
            pixels.push_back(p);
        }
    }
    const Picture source = Picture::fromPixels(PictureKind::Icon, 64, 32, pixels);
    const Picture thumbnail = thumbnailOfBytes(test::iconHolding(encodePng(source, "t")), 16);
    ASSERT_EQ(thumbnail.width(), 16);
    ASSERT_EQ(thumbnail.height(), 8);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 16; ++x) {
            const Pixel p = thumbnail.pixelAt(x, y);
            if (y >= 2 && y < 6) {
                // Half the samples opaque green: half opaque, and only green.
                EXPECT_EQ(p, makePixel(Colour::fromRgb(0, 255, 0), 128)) << x << ", " << y;
            } else if (x < 8) {
                EXPECT_EQ(p, opaquePixel(Colour::fromRgb(255, 0, 0))) << x << ", " << y;
            } else {
                EXPECT_EQ(pixelAlpha(p), 0) << x << ", " << y;
            }
        }
    }
}

TEST(Thumbnails, AProgramShowsItsFirstGroupAtTheNearestSize) {
    // One group of 256, 48, 32 and 16 pixel images.
    FileBytes file(std::string(MOSAIKON_TEST_DATA) + "/pe/pe32/hh.exe");
    for (const int side : {16, 32, 48}) {
        SCOPED_TRACE(side);
        const Picture thumbnail = thumbnailOf(file, side);
        const Picture image = readProgramIconForSide(file, 0, side).picture;
        EXPECT_EQ(thumbnail.width(), side);
        EXPECT_EQ(thumbnail.allPixels(), image.allPixels());
    }
    EXPECT_EQ(thumbnailOf(file, 200).width(), 200) << "the 256 one, scaled down";
    FileBytes none(std::string(MOSAIKON_TEST_DATA) + "/pe/pe32/icmp.dll");
    EXPECT_THROW(thumbnailOf(none, 64), FileError);
}

TEST(Thumbnails, WhatCannotBeAQuickThumbnailIsRefused) {
    // A 5000 × 5000 PNG image whose data could hold it: refused before any of it is decoded.
    std::vector<std::uint8_t> png = {0x89, 'P', 'N',  'G',  0x0D, 0x0A, 0x1A, 0x0A, 0,    0,
                                     0,    13,  'I',  'H',  'D',  'R',  0,    0,    0x13, 0x88,
                                     0,    0,   0x13, 0x88, 8,    6,    0,    0,    0};
    // The header chunk's checksum, then a long data chunk of nothing in particular.
    png.insert(png.end(), {0x5D, 0x98, 0x87, 0xCB});
    png.resize(png.size() + 200'000, 0x11);
    try {
        thumbnailOfBytes(test::iconHolding(png), 256);
        ADD_FAILURE() << "accepted";
    } catch (const FileError& error) {
        EXPECT_EQ(error.problem(),
                  "has an icon image of 5000 × 5000 pixels, too large to make a thumbnail of.");
    }
    FileBytes bitmap(dataPath("pillow/hopper.bmp"));
    EXPECT_THROW(thumbnailOf(bitmap, 64), FileError);
    FileBytes icon(dataPath("gen/hand/bpp32.ico"));
    EXPECT_THROW(thumbnailOf(icon, 0), std::invalid_argument);
    EXPECT_THROW(thumbnailOf(icon, kMaxThumbnailSide + 1), std::invalid_argument);
}

}  // namespace
}  // namespace mosaikon
