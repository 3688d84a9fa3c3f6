// PNG images of any size the format allows, on their own and inside icon files: decoded row by
// row (an interlaced one pass by pass) as they are drawn, giving the pixels a whole decode gives,
// and damage always told in this program's words.
#include <gtest/gtest.h>
#include <spng.h>

#include <cstdlib>
#include <memory>

#include "FileError.h"
#include "PictureBox.h"
#include "PictureFiles.h"
#include "PictureTestSupport.h"
#include "png/PngImage.h"
#include "png/PngStream.h"

namespace mosaikon {
namespace {

// A pattern with every channel varying, and opacity too when `withAlpha`.
Pixel patternAt(int x, int y, bool withAlpha) {
    const auto alpha = static_cast<std::uint8_t>(withAlpha ? (x + 2 * y) % 256 : 255);
    return makePixel(
        Colour::fromRgb(static_cast<std::uint8_t>(x * 7 ^ y),
                        static_cast<std::uint8_t>(y * 3 + x / 5), static_cast<std::uint8_t>(x + y)),
        alpha);
}

std::vector<Pixel> pattern(int width, int height, bool withAlpha) {
    std::vector<Pixel> pixels;
    pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels.push_back(patternAt(x, y, withAlpha));
        }
    }
    return pixels;
}

// The pixels as an RGBA PNG stream, interlaced or not, written by libspng.
std::vector<std::uint8_t> encode(int width, int height, const std::vector<Pixel>& pixels,
                                 bool interlaced) {
    std::vector<std::uint8_t> rgba;
    rgba.reserve(pixels.size() * 4);
    for (const Pixel p : pixels) {
        const Colour c = pixelColour(p);
        rgba.insert(rgba.end(), {c.red(), c.green(), c.blue(), pixelAlpha(p)});
    }
    spng_ctx* context = spng_ctx_new(SPNG_CTX_ENCODER);
    spng_ihdr header{};
    header.width = static_cast<std::uint32_t>(width);
    header.height = static_cast<std::uint32_t>(height);
    header.bit_depth = 8;
    header.color_type = SPNG_COLOR_TYPE_TRUECOLOR_ALPHA;
    header.interlace_method = interlaced ? 1 : 0;
    spng_set_option(context, SPNG_ENCODE_TO_BUFFER, 1);
    spng_set_ihdr(context, &header);
    int error =
        spng_encode_image(context, rgba.data(), rgba.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE);
    std::size_t length = 0;
    auto* stream = static_cast<std::uint8_t*>(spng_get_png_buffer(context, &length, &error));
    std::vector<std::uint8_t> png(stream, stream + length);
    std::free(stream);
    spng_ctx_free(context);
    EXPECT_EQ(error, 0);
    return png;
}

// What `picture` gives painted over the whole magnified view, as opening a bitmap paints it.
std::vector<std::uint32_t> painted(const Picture& picture) {
    PictureBox view(319, 319, colours::kWhite);
    view.PaintPicture(picture, 0, 0, 321, 321);
    return view.pixels();
}

struct SizeCase {
    int width;
    int height;
};

TEST(PngAnySize, EverySizeAndInterlacingPaintsAsItsPixelsDo) {
    test::TemporaryFolder folder;
    // Small ones are decoded whole, large ones as they are drawn; 5000 is past the edge the
    // reader once refused, 1100 × 1000 past the pixels it holds decoded.
    for (const SizeCase size : {SizeCase{300, 200}, SizeCase{5000, 3}, SizeCase{1100, 1000}}) {
        const std::vector<Pixel> pixels = pattern(size.width, size.height, false);
        const Picture expected =
            Picture::fromPixels(PictureKind::Bitmap, size.width, size.height, pixels);
        for (const bool interlaced : {false, true}) {
            SCOPED_TRACE(std::to_string(size.width) + " x " + std::to_string(size.height) +
                         (interlaced ? " interlaced" : ""));
            const std::string path = folder.file("any.png");
            test::writeBytes(path, encode(size.width, size.height, pixels, interlaced));
            const Picture picture = LoadPicture(path);
            ASSERT_EQ(picture.kind(), PictureKind::Bitmap);
            ASSERT_EQ(picture.width(), size.width);
            ASSERT_EQ(picture.height(), size.height);
            EXPECT_EQ(painted(picture), painted(expected));
            // Rows asked for one at a time, unprepared, give the same pixels too.
            const int columns[] = {size.width - 1, 0, size.width / 2, 0};
            Pixel row[4];
            for (const int y : {size.height - 1, 0, size.height / 2}) {
                picture.source()->sampleRow(y, columns, row);
                for (std::size_t i = 0; i < 4; ++i) {
                    ASSERT_EQ(row[i], patternAt(columns[i], y, false)) << columns[i] << ", " << y;
                }
            }
        }
    }
}

TEST(PngAnySize, AnIconImageOfAnySizeOpensWithItsOpacity) {
    for (const SizeCase size : {SizeCase{256, 256}, SizeCase{1100, 1000}}) {
        SCOPED_TRACE(std::to_string(size.width));
        const std::vector<Pixel> pixels = pattern(size.width, size.height, true);
        const std::vector<std::uint8_t> icon =
            test::iconHolding(encode(size.width, size.height, pixels, true));
        const Picture picture = readPicture(std::make_unique<MemoryBytes>(icon, "large.ico"));
        ASSERT_EQ(picture.kind(), PictureKind::Icon);
        ASSERT_EQ(picture.width(), size.width);
        const Picture expected =
            Picture::fromPixels(PictureKind::Icon, size.width, size.height, pixels);
        EXPECT_EQ(painted(picture), painted(expected));
    }
}

// Every text libspng has for its errors; none may reach a person.
bool hasLibraryWords(const std::string& message) {
    for (int code = SPNG_IO_ERROR; code <= SPNG_EINTERNAL + 8; ++code) {
        const std::string words = spng_strerror(code);
        if (!words.empty() && words != "unknown error" &&
            message.find(words) != std::string::npos) {
            return true;
        }
    }
    return false;
}

TEST(PngAnySize, DamageIsToldInOurWordsAndOnlyDamageIsCalledDamaged) {
    const std::vector<Pixel> pixels = pattern(300, 200, true);
    const std::vector<std::uint8_t> sound = encode(300, 200, pixels, true);
    std::vector<std::vector<std::uint8_t>> broken;
    const std::size_t step = sound.size() / 45 + 1;
    for (std::size_t cut = 8; cut < sound.size(); cut += step) {
        broken.emplace_back(sound.begin(), sound.begin() + static_cast<std::ptrdiff_t>(cut));
    }
    for (std::size_t at = 12; at < sound.size(); at += step - 7) {
        broken.push_back(sound);
        broken.back()[at] ^= 0x5A;
    }
    int refused = 0;
    for (const std::vector<std::uint8_t>& bytes : broken) {
        for (const auto& file : {bytes, test::iconHolding(bytes)}) {
            try {
                painted(readPicture(std::make_unique<MemoryBytes>(file, "broken")));
            } catch (const FileError& error) {
                ++refused;
                EXPECT_FALSE(hasLibraryWords(error.what())) << error.what();
                EXPECT_TRUE(error.problem().starts_with("is ") ||
                            error.problem().starts_with("has "))
                    << error.what();
            }
        }
    }
    EXPECT_GT(refused, static_cast<int>(broken.size())) << "most of the broken ones are refused";

    // Allowed but wider than the rows this program holds: said so, never called damaged.
    std::vector<std::uint8_t> wide = sound;
    wide[16] = 0x7F;  // the width's high byte: 2130706732 pixels
    const std::uint32_t crc = test::pngCrc32(std::span(wide).subspan(12, 17));
    for (std::size_t i = 0; i < 4; ++i) {
        wide[29 + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    }
    try {
        readPicture(std::make_unique<MemoryBytes>(wide, "wide.png"));
        ADD_FAILURE() << "accepted";
    } catch (const FileError& error) {
        EXPECT_EQ(error.problem(),
                  "has a PNG image 2130706732 pixels wide, wider than this "
                  "program opens (262144 pixels at most).");
    }
}

TEST(PngAnySize, ExtraPartsOfAnyLengthAreSkippedNotHeld) {
    const std::vector<Pixel> pixels = pattern(5, 4, true);
    const std::vector<std::uint8_t> plain = encode(5, 4, pixels, false);
    std::vector<std::uint8_t> padded(plain.begin(), plain.begin() + 33);  // through the header
    for (const char* type : {"tEXt", "zzZz", "iCCP"}) {
        std::vector<std::uint8_t> chunk = {0x00, 0x50, 0x00, 0x00};  // 5 MiB of data
        chunk.insert(chunk.end(), type, type + 4);
        chunk.resize(chunk.size() + (5u << 20), 'x');
        const std::uint32_t crc = test::pngCrc32(std::span(chunk).subspan(4));
        for (int shift = 24; shift >= 0; shift -= 8) {
            chunk.push_back(static_cast<std::uint8_t>(crc >> shift));
        }
        padded.insert(padded.end(), chunk.begin(), chunk.end());
    }
    padded.insert(padded.end(), plain.begin() + 33, plain.end());
    EXPECT_EQ(decodePng(padded, "padded").pixels, pixels);
    EXPECT_EQ(decodePng(plain, "plain").pixels, pixels);
}

TEST(PngAnySize, TheStreamLengthEndsAtItsLastChunk) {
    std::vector<std::uint8_t> png = encode(3, 2, pattern(3, 2, false), false);
    const std::size_t length = png.size();
    png.insert(png.end(), {1, 2, 3, 4, 5});
    EXPECT_EQ(pngStreamLength(png), length);
    EXPECT_EQ(pngStreamLength(std::span(png).first(20)), 20u) << "no end chunk: all of it";
}

}  // namespace
}  // namespace mosaikon
