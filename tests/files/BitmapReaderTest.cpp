// Bitmap files: the bmpsuite images decode to their references, odd but real files are read or
// refused cleanly, and a huge bitmap is read from its file only where it is drawn.
#include <gtest/gtest.h>

#include <filesystem>

#include "FileError.h"
#include "PictureBox.h"
#include "PictureFiles.h"
#include "PictureTestSupport.h"
#include "bitmap/FileBackedBitmap.h"
#include "bytes/FieldWriter.h"

namespace mosaikon {
namespace {

using test::compareWithReference;
using test::dataPath;
using test::readReferencePng;

std::vector<std::string> suiteFiles(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry :
         std::filesystem::directory_iterator(dataPath("pillow/bmp/" + folder))) {
        names.push_back(entry.path().stem().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// What the reader refuses or accepts does not throw anything but FileError.
bool loadsOrRefuses(const std::string& path, Picture& picture, std::string& message) {
    try {
        picture = LoadPicture(path);
        return true;
    } catch (const FileError& error) {
        message = error.what();
        return false;
    }
}

TEST(BitmapSuite, GoodFilesMatchTheirReferences) {
    // The manifest names each good file's reference ("ref bmp/html/pal8.png"); the suite's
    // rendering of RLE4 is not used, as it blanks every other pixel.
    int compared = 0;
    for (const auto& row : test::readTsv(dataPath("pillow/MANIFEST.tsv"))) {
        if (row.size() < 5 || !row[0].starts_with("bmp/g/")) continue;
        SCOPED_TRACE(row[0]);
        std::string ref = row[4].substr(row[4].rfind('/') + 1);
        if (!std::filesystem::exists(dataPath("pillow/bmp/ref/" + ref))) {
            ref = row[0].substr(6, row[0].size() - 10) + ".png";  // the file's own reference
        }
        const Picture picture = LoadPicture(dataPath("pillow/" + row[0]));
        EXPECT_EQ(picture.kind(), PictureKind::Bitmap);
        // The suite's 16-bit references shift 5-bit channels where ours replicate bits: 1 apart.
        const int tolerance = row[0].find("rgb16") != std::string::npos ? 1 : 0;
        EXPECT_EQ(compareWithReference(picture, readReferencePng(dataPath("pillow/bmp/ref/" + ref)),
                                       true, tolerance),
                  "");
        ++compared;
    }
    EXPECT_EQ(compared, 23);
    // Full intensity in 5 bits stays full intensity.
    const std::vector<Pixel> rgb16 = LoadPicture(dataPath("pillow/bmp/g/rgb16.bmp")).allPixels();
    EXPECT_NE(std::find(rgb16.begin(), rgb16.end(), opaquePixel(colours::kWhite)), rgb16.end());
}

TEST(BitmapSuite, QuestionableFilesDecodeOrAreRefusedCleanly) {
    for (const std::string& name : suiteFiles("q")) {
        SCOPED_TRACE(name);
        Picture picture;
        std::string message;
        if (loadsOrRefuses(dataPath("pillow/bmp/q/" + name + ".bmp"), picture, message)) {
            EXPECT_GT(picture.width(), 0);
        } else {
            EXPECT_NE(message.find(name), std::string::npos) << message;
        }
    }
}

TEST(BitmapSuite, OddButValidLayoutsDecodeExactly) {
    const auto pal8 = readReferencePng(dataPath("pillow/bmp/ref/pal8.png"));
    const auto rgb24 = readReferencePng(dataPath("pillow/bmp/ref/rgb24.png"));
    // A gap between palette and pixels; a short OS/2 palette; the suite's V2/V3 headers.
    EXPECT_EQ(compareWithReference(LoadPicture(dataPath("pillow/bmp/q/pal8offs.bmp")), pal8, true),
              "");
    EXPECT_EQ(compareWithReference(LoadPicture(dataPath("pillow/bmp/q/pal8os2sp.bmp")), pal8, true),
              "");
    EXPECT_EQ(compareWithReference(LoadPicture(dataPath("pillow/bmp/q/pal8os2v2.bmp")), pal8, true),
              "");
    EXPECT_EQ(
        compareWithReference(LoadPicture(dataPath("pillow/bmp/q/pal8os2v2-16.bmp")), pal8, true),
        "");
    // 32 bits without bit fields: the fourth byte is not opacity.
    EXPECT_EQ(
        compareWithReference(LoadPicture(dataPath("pillow/bmp/q/rgb32fakealpha.bmp")), rgb24, true),
        "");
    EXPECT_EQ(compareWithReference(LoadPicture(dataPath("pillow/bmp/q/rgb32h52.bmp")), rgb24, true),
              "");
    EXPECT_EQ(
        compareWithReference(LoadPicture(dataPath("pillow/bmp/q/rgb24largepal.bmp")), rgb24, true),
        "");
}

TEST(BitmapSuite, EmbeddedJpegAndPngAreRefusedByName) {
    try {
        LoadPicture(dataPath("pillow/bmp/q/rgb24jpeg.bmp"));
        ADD_FAILURE() << "accepted";
    } catch (const FileError& error) {
        EXPECT_NE(error.problem().find("JPEG"), std::string::npos) << error.what();
    }
    try {
        LoadPicture(dataPath("pillow/bmp/q/rgb24png.bmp"));
        ADD_FAILURE() << "accepted";
    } catch (const FileError& error) {
        EXPECT_NE(error.problem().find("PNG"), std::string::npos) << error.what();
    }
}

TEST(BitmapSuite, BadFilesNeverCrashAndImpossibleOnesAreRefused) {
    for (const std::string& name : suiteFiles("b")) {
        SCOPED_TRACE(name);
        Picture picture;
        std::string message;
        loadsOrRefuses(dataPath("pillow/bmp/b/" + name + ".bmp"), picture, message);
    }
    for (const char* name :
         {"badbitcount", "badheadersize", "badwidth", "reallybig", "shortfile", "rletopdown"}) {
        EXPECT_THROW(LoadPicture(dataPath(std::string("pillow/bmp/b/") + name + ".bmp")), FileError)
            << name;
    }
    for (const char* name : {"l2rgb_read.bmp", "clipboard.dib"}) {
        EXPECT_THROW(LoadPicture(dataPath(std::string("pillow/") + name)), FileError) << name;
    }
}

TEST(BitmapFiles, PillowsOwnBitmaps) {
    const Picture hopper = LoadPicture(dataPath("pillow/hopper.bmp"));
    EXPECT_EQ(hopper.width(), 128);
    // The RLE8 copy has the same size; its palette is the V5 file's colours reduced to 256.
    EXPECT_EQ(LoadPicture(dataPath("pillow/hopper_rle8.bmp")).height(), 128);
    EXPECT_EQ(LoadPicture(dataPath("pillow/hopper_rle8_grayscale.bmp")).width(), 256);
    EXPECT_EQ(LoadPicture(dataPath("pillow/hopper_rle8_row_overflow.bmp")).allPixels(),
              LoadPicture(dataPath("pillow/hopper_rle8.bmp")).allPixels());
    // Alpha masks of bitmaps are ignored: bitmaps are opaque.
    const Picture abgr = LoadPicture(dataPath("pillow/rgb32bf-abgr.bmp"));
    EXPECT_EQ(abgr.allPixels(), LoadPicture(dataPath("pillow/bmp/q/rgb32bf-xbgr.bmp")).allPixels());
    for (Pixel p : LoadPicture(dataPath("pillow/rgb32bf-rgba.bmp")).allPixels()) {
        ASSERT_EQ(pixelAlpha(p), 255);
    }
}

TEST(PictureKinds, AreToldApartByContentNotByName) {
    test::TemporaryFolder folder;
    std::filesystem::copy_file(dataPath("gen/hand/bpp8.ico"), folder.file("icon.bmp"));
    std::filesystem::copy_file(dataPath("pillow/bmp/g/pal8.bmp"), folder.file("bitmap.ico"));
    EXPECT_EQ(LoadPicture(folder.file("icon.bmp")).kind(), PictureKind::Icon);
    EXPECT_EQ(LoadPicture(folder.file("bitmap.ico")).kind(), PictureKind::Bitmap);
    EXPECT_TRUE(LoadPicture().isEmpty());
    EXPECT_TRUE(LoadPicture("").isEmpty());
    test::writeBytes(folder.file("empty.ico"), {});
    EXPECT_THROW(LoadPicture(folder.file("empty.ico")), FileError);
    test::writeBytes(folder.file("text.ico"), {'h', 'e', 'l', 'l', 'o'});
    EXPECT_THROW(LoadPicture(folder.file("text.ico")), FileError);
    EXPECT_THROW(LoadPicture(folder.file("missing.ico")), FileError);
    EXPECT_THROW(LoadPicture(folder.path().string()), FileError);
}

// A bitmap file header and info header for `width` × `height` at `bitCount`, then the pixels.
std::vector<std::uint8_t> bitmapHeader(std::int32_t width, std::int32_t height,
                                       std::uint16_t bitCount, std::uint32_t compression,
                                       std::uint32_t paletteEntries, std::uint32_t pixelBytes) {
    std::vector<std::uint8_t> out{'B', 'M'};
    const std::uint32_t offBits = 54 + paletteEntries * 4;
    putU32(out, offBits + pixelBytes);
    putU32(out, 0);
    putU32(out, offBits);
    putU32(out, 40);
    putU32(out, static_cast<std::uint32_t>(width));
    putU32(out, static_cast<std::uint32_t>(height));
    putU16(out, 1);
    putU16(out, bitCount);
    putU32(out, compression);
    putU32(out, pixelBytes);
    putU32(out, 0);
    putU32(out, 0);
    putU32(out, paletteEntries);
    putU32(out, 0);
    return out;
}

TEST(RunLengthBitmaps, DeltaAndEarlyEndLeaveBlack) {
    // 4 × 3 RLE8, palette 0 red, 1 green. Bottom row: two green; then a skip of (1, 1); a literal
    // run of two red, green; end of bitmap with the top row untouched.
    const std::vector<std::uint8_t> stream = {2, 1, 0, 2, 1, 1, 0, 3, 0, 0, 1, 0, 0, 1};
    std::vector<std::uint8_t> file =
        bitmapHeader(4, 3, 8, 1, 2, static_cast<std::uint32_t>(stream.size()));
    for (std::uint32_t entry : {0x00FF0000u, 0x0000FF00u}) putU32(file, entry);  // red, green
    file.insert(file.end(), stream.begin(), stream.end());
    test::TemporaryFolder folder;
    test::writeBytes(folder.file("rle.bmp"), file);
    const Picture picture = LoadPicture(folder.file("rle.bmp"));
    const Pixel black = opaquePixel(colours::kBlack);
    const Pixel red = opaquePixel(Colour::fromRgb(255, 0, 0));
    const Pixel green = opaquePixel(Colour::fromRgb(0, 255, 0));
    EXPECT_EQ(picture.allPixels(), (std::vector<Pixel>{black, black, black, black,  //
                                                       black, black, black, red,    //
                                                       green, green, black, black}));
    // Delta codes that run off the picture, runs past the row end: clipped, never written outside.
    EXPECT_NO_THROW(LoadPicture(dataPath("hostile/bmp/rle8_overrun.bmp")));
}

TEST(RunLengthBitmaps, AStreamTooShortForItsSizeIsRefused) {
    // 8000 × 8000 pixels claimed by an 8-byte stream that ends the bitmap at once.
    const std::vector<std::uint8_t> stream = {0, 1, 0, 0, 0, 0, 0, 0};
    std::vector<std::uint8_t> file = bitmapHeader(8000, 8000, 8, 1, 1, 8);
    putU32(file, 0);
    file.insert(file.end(), stream.begin(), stream.end());
    test::TemporaryFolder folder;
    test::writeBytes(folder.file("bomb.bmp"), file);
    EXPECT_THROW(LoadPicture(folder.file("bomb.bmp")), FileError);
}

// A 24-bit bitmap whose pixel (x, y) is (x mod 256, y mod 256, (x + y) mod 256), written without
// holding it whole.
void writeGradientBitmap(const std::string& path, int width, int height, bool topDown) {
    const std::uint32_t stride = (static_cast<std::uint32_t>(width) * 3 + 3) / 4 * 4;
    std::vector<std::uint8_t> file = bitmapHeader(width, topDown ? -height : height, 24, 0, 0,
                                                  stride * static_cast<std::uint32_t>(height));
    std::vector<std::uint8_t> row(stride, 0);
    for (int stored = 0; stored < height; ++stored) {
        const int y = topDown ? stored : height - 1 - stored;
        for (int x = 0; x < width; ++x) {
            row[static_cast<std::size_t>(x) * 3] = static_cast<std::uint8_t>(x + y);
            row[static_cast<std::size_t>(x) * 3 + 1] = static_cast<std::uint8_t>(y);
            row[static_cast<std::size_t>(x) * 3 + 2] = static_cast<std::uint8_t>(x);
        }
        file.insert(file.end(), row.begin(), row.end());
    }
    test::writeBytes(path, file);
}

Pixel gradient(int x, int y) {
    return opaquePixel(Colour::fromRgb(static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y),
                                       static_cast<std::uint8_t>(x + y)));
}

TEST(LargeBitmaps, StayInTheirFileAndAreReadWhereDrawn) {
    test::TemporaryFolder folder;
    for (bool topDown : {false, true}) {
        SCOPED_TRACE(topDown ? "top-down" : "bottom-up");
        const std::string path = folder.file(topDown ? "down.bmp" : "up.bmp");
        writeGradientBitmap(path, 2600, 1700, topDown);  // 4.4 million pixels
        const Picture picture = LoadPicture(path);
        const auto* source = dynamic_cast<const FileBackedBitmap*>(picture.source());
        ASSERT_NE(source, nullptr);
        EXPECT_EQ(picture.kind(), PictureKind::Bitmap);
        EXPECT_EQ(picture.pixelAt(0, 0), gradient(0, 0));
        EXPECT_EQ(picture.pixelAt(2599, 0), gradient(2599, 0));
        EXPECT_EQ(picture.pixelAt(1234, 1699), gradient(1234, 1699));

        PictureBox view(319, 319, colours::kWhite);
        const std::uint64_t before = source->readCount();
        view.PaintPicture(picture, 0, 0, 321, 321);
        // One read per drawn row at most, however large the file.
        EXPECT_LE(source->readCount() - before, 319u);
        for (int y : {0, 100, 318}) {
            for (int x : {0, 57, 318}) {
                const int sx = (2 * x + 1) * 2600 / (2 * 321);
                const int sy = (2 * y + 1) * 1700 / (2 * 321);
                EXPECT_EQ(view.pixel(x, y).value(), gradient(sx, sy) & 0x00FFFFFFu)
                    << x << "," << y;
            }
        }
    }
}

TEST(LargeBitmaps, ATruncatedOneIsRefusedAtOnce) {
    test::TemporaryFolder folder;
    const std::string path = folder.file("cut.bmp");
    writeGradientBitmap(path, 2600, 1700, false);
    std::filesystem::resize_file(path, std::filesystem::file_size(path) - 1);
    EXPECT_THROW(LoadPicture(path), FileError);
}

}  // namespace
}  // namespace mosaikon
