// PNG files opened on their own: every colour type, the icon size kept as an icon, other sizes
// as opaque bitmaps over white, and oversized or bomb-like streams refused.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "FileError.h"
#include "OpenKinds.h"
#include "PictureFiles.h"
#include "PictureTestSupport.h"

namespace mosaikon {
namespace {

using test::dataPath;

void appendBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void appendChunk(std::vector<std::uint8_t>& out, const char* type,
                 const std::vector<std::uint8_t>& data) {
    appendBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    appendBigEndian(out, test::pngCrc32(std::span(out).subspan(start)));
}

// An RGBA PNG that declares `width` × `height` pixels but carries only a few bytes of data.
std::vector<std::uint8_t> pngClaiming(std::uint32_t width, std::uint32_t height) {
    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<std::uint8_t> header;
    appendBigEndian(header, width);
    appendBigEndian(header, height);
    header.insert(header.end(), {8, 6, 0, 0, 0});
    appendChunk(png, "IHDR", header);
    appendChunk(png, "IDAT", {0x78, 0x9C, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01});
    appendChunk(png, "IEND", {});
    return png;
}

TEST(PngFiles, EveryColourTypeOpensWithTransparentPartsWhite) {
    // Grey, RGB, palette and RGBA at 127 × 64, and an RGBA with transparent parts at 16 × 16.
    for (const char* name :
         {"pillow/bmp/html/pal1.png", "pillow/bmp/html/rgb24.png", "pillow/bmp/html/pal8.png",
          "pillow/bmp/ref/pal8.png", "pillow/ref/hopper_mask.png"}) {
        SCOPED_TRACE(name);
        const Picture picture = LoadPicture(dataPath(name));
        const test::Reference reference = test::readReferencePng(dataPath(name));
        ASSERT_EQ(picture.kind(), PictureKind::Bitmap);
        ASSERT_EQ(picture.width(), reference.width);
        ASSERT_EQ(picture.height(), reference.height);
        const std::vector<Pixel> pixels = picture.allPixels();
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            const Pixel expected =
                pixelAlpha(reference.pixels[i]) == 0 ? 0xFFFFFFFFu : reference.pixels[i];
            if (pixelAlpha(reference.pixels[i]) % 255 == 0) {
                ASSERT_EQ(pixels[i], expected) << "pixel " << i;
            } else {
                ASSERT_EQ(pixelAlpha(pixels[i]), 255) << "pixel " << i;
            }
        }
    }
}

TEST(PngFiles, IconSizedPngIsAnIconPictureWithItsOpacity) {
    const std::string path = dataPath("gen/expected/hand__bpp32_alpha_vs_and.pick.png");
    const Picture picture = LoadPicture(path);
    EXPECT_EQ(picture.kind(), PictureKind::Icon);
    EXPECT_EQ(test::compareWithReference(picture, test::readReferencePng(path), false), "");
    EXPECT_EQ(openCommandFor(path), OpenCommand::OpenIcon);
    EXPECT_EQ(openCommandFor(dataPath("pillow/ref/hopper_mask.png")), OpenCommand::OpenBitmap);
}

TEST(PngFiles, OversizedAndBombStreamsAreRefusedByName) {
    test::TemporaryFolder folder;
    // Streams whose few bytes cannot fill what they claim: a wide one whose rows are missing, a
    // huge one and a large one far beyond what deflate can compress to so few bytes.
    for (const auto& [width, height] : std::array<std::pair<std::uint32_t, std::uint32_t>, 3>{
             {{4097, 16}, {70000, 70000}, {4000, 4000}}}) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        const std::string path = folder.file("claim.png");
        test::writeBytes(path, pngClaiming(width, height));
        try {
            LoadPicture(path);
            ADD_FAILURE() << "accepted";
        } catch (const FileError& error) {
            EXPECT_EQ(error.path(), path);
            EXPECT_FALSE(error.problem().empty());
        }
    }
}

}  // namespace
}  // namespace mosaikon
