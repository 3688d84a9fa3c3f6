// Writing icons and bitmaps: the layout of the written icon, round trips through the readers, and
// saves that fail without harming the file they were to replace.
#include <gtest/gtest.h>

#include <filesystem>

#include "FileError.h"
#include "IconConversion.h"
#include "PictureFiles.h"
#include "PictureTestSupport.h"

namespace mosaikon {
namespace {

namespace fs = std::filesystem;
using test::dataPath;

Picture bitmapOf(const test::Reference& reference) {
    std::vector<Pixel> pixels = reference.pixels;
    for (Pixel& p : pixels) p = opaquePixel(pixelColour(p));
    return Picture::fromPixels(PictureKind::Bitmap, reference.width, reference.height,
                               std::move(pixels));
}

TEST(IconWriting, WhitePixelsBecomeTransparentAndNothingElse) {
    const Picture source =
        bitmapOf(test::readReferencePng(dataPath("gen/write/pattern32_opaque.png")));
    test::TemporaryFolder folder;
    SavePicture(iconWithWhiteTransparent(source), folder.file("out.ico"));

    const Picture written = LoadPicture(folder.file("out.ico"));
    const Picture expected = LoadPicture(dataPath("gen/write/white_transparent_expected.ico"));
    EXPECT_EQ(written.kind(), PictureKind::Icon);
    // The reference keeps white under its clear pixels; ours stores colour 0 there. Clear pixels
    // compare by their clearness only.
    const std::vector<Pixel> want = expected.allPixels();
    const std::vector<Pixel> got = written.allPixels();
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(pixelAlpha(want[i]) == 0 ? 0u : want[i], got[i]) << i;
    }
    int clear = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const Pixel original = source.pixelAt(x, y);
            const Pixel saved = written.pixelAt(x, y);
            if (pixelColour(original) == colours::kWhite) {
                ++clear;
                EXPECT_EQ(saved, 0u) << x << "," << y;  // colour 0, opacity 0
            } else {
                EXPECT_EQ(saved, original) << x << "," << y;
            }
        }
    }
    EXPECT_GT(clear, 0);
}

TEST(IconWriting, LayoutIsOne32BitImageWithPaddedMask) {
    std::vector<Pixel> pixels(32 * 32, opaquePixel(Colour::fromRgb(1, 2, 3)));
    pixels[0] = makePixel(colours::kWhite, 0);  // top-left clear
    test::TemporaryFolder folder;
    SavePicture(Picture::fromPixels(PictureKind::Icon, 32, 32, pixels), folder.file("a.ico"));
    const std::vector<std::uint8_t> bytes = test::readBytes(folder.file("a.ico"));
    ASSERT_EQ(bytes.size(), 6u + 16 + 40 + 32 * 32 * 4 + 32 * 4);
    EXPECT_EQ(bytes[2], 1);        // icon
    EXPECT_EQ(bytes[4], 1);        // one image
    EXPECT_EQ(bytes[6], 32);       // 32 × 32
    EXPECT_EQ(bytes[12], 32);      // 32 bits per pixel
    EXPECT_EQ(bytes[22 + 8], 64);  // header height: colour rows and mask rows
    // The top row is stored last: its first pixel is colour 0 with opacity 0 and mask bit 1.
    const std::size_t topRow = 22 + 40 + 31 * 32 * 4;
    EXPECT_EQ((std::vector<std::uint8_t>(bytes.begin() + topRow, bytes.begin() + topRow + 8)),
              (std::vector<std::uint8_t>{0, 0, 0, 0, 3, 2, 1, 255}));
    const std::size_t maskTop = 22 + 40 + 32 * 32 * 4 + 31 * 4;
    EXPECT_EQ(bytes[maskTop], 0x80);
    EXPECT_EQ(bytes[maskTop - 4], 0x00);  // the row below: opaque
}

TEST(IconWriting, AnyIconRoundTrips) {
    test::TemporaryFolder folder;
    for (const char* name :
         {"gen/hand/bpp1.ico", "gen/hand/bpp4.ico", "gen/hand/bpp8.ico", "gen/hand/bpp24.ico",
          "gen/hand/bpp32.ico", "gen/hand/pad_20x20_4bpp.ico", "pillow/hopper_draw.ico",
          "pillow/hopper_256x256.ico"}) {
        SCOPED_TRACE(name);
        const Picture icon = LoadPicture(dataPath(name));
        SavePicture(icon, folder.file("copy.ico"));
        const std::vector<Pixel> original = icon.allPixels();
        const std::vector<Pixel> copy = LoadPicture(folder.file("copy.ico")).allPixels();
        ASSERT_EQ(copy.size(), original.size());
        for (std::size_t i = 0; i < copy.size(); ++i) {
            // Fully clear pixels keep only their clearness.
            ASSERT_EQ(pixelAlpha(original[i]) == 0 ? 0u : original[i], copy[i]) << i;
        }
    }
}

TEST(IconWriting, PicturesLargerThanAnIconAreRefusedBeforeTouchingTheTarget) {
    test::TemporaryFolder folder;
    test::writeBytes(folder.file("keep.ico"), {1, 2, 3});
    const Picture big =
        Picture::fromPixels(PictureKind::Icon, 257, 1, std::vector<Pixel>(257, 0xFF000000u));
    EXPECT_THROW(SavePicture(big, folder.file("keep.ico")), FileError);
    EXPECT_EQ(test::readBytes(folder.file("keep.ico")), (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST(BitmapWriting, TwentyFourBitsAtTheExactSize) {
    // 5 × 3: rows of 15 bytes padded to 16.
    std::vector<Pixel> pixels;
    for (int i = 0; i < 15; ++i) {
        pixels.push_back(opaquePixel(Colour::fromRgb(static_cast<std::uint8_t>(i * 16), 7,
                                                     static_cast<std::uint8_t>(255 - i))));
    }
    const Picture picture = Picture::fromPixels(PictureKind::Bitmap, 5, 3, pixels);
    test::TemporaryFolder folder;
    SavePicture(picture, folder.file("a.bmp"));
    const std::vector<std::uint8_t> bytes = test::readBytes(folder.file("a.bmp"));
    ASSERT_EQ(bytes.size(), 54u + 16 * 3);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[28], 24);
    // The bottom row comes first, blue green red.
    EXPECT_EQ(bytes[54], 255 - 10);
    EXPECT_EQ(bytes[55], 7);
    EXPECT_EQ(bytes[56], 10 * 16);
    const Picture back = LoadPicture(folder.file("a.bmp"));
    EXPECT_EQ(back.kind(), PictureKind::Bitmap);
    EXPECT_EQ(back.allPixels(), pixels);
}

TEST(AtomicSaves, LeaveNoTemporaryFilesAndReplaceTheTarget) {
    test::TemporaryFolder folder;
    test::writeBytes(folder.file("icon.ico"), {9, 9, 9});
    const Picture icon = LoadPicture(dataPath("gen/hand/bpp32.ico"));
    SavePicture(icon, folder.file("icon.ico"));
    EXPECT_EQ(LoadPicture(folder.file("icon.ico")).allPixels(), icon.allPixels());
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder.path())) ++files;
    EXPECT_EQ(files, 1);
}

TEST(AtomicSaves, AFailedSaveLeavesTheOldFileExactlyAsItWas) {
    test::TemporaryFolder folder;
    const Picture icon = LoadPicture(dataPath("gen/hand/bpp32.ico"));
    // A folder where the file should go.
    fs::create_directory(folder.file("folder.ico"));
    EXPECT_THROW(SavePicture(icon, folder.file("folder.ico")), FileError);
    EXPECT_TRUE(fs::is_directory(folder.file("folder.ico")));
    // A folder that does not exist.
    try {
        SavePicture(icon, folder.file("missing/icon.ico"));
        ADD_FAILURE() << "saved into a missing folder";
    } catch (const FileError& error) {
        EXPECT_NE(error.problem().find("folder does not exist"), std::string::npos) << error.what();
    }
    // The empty picture.
    EXPECT_THROW(SavePicture(Picture{}, folder.file("none.bmp")), FileError);
    EXPECT_FALSE(fs::exists(folder.file("none.bmp")));

    // A read-only target is refused by its permissions, whoever saves.
    const std::vector<std::uint8_t> old = {1, 2, 3, 4};
    test::writeBytes(folder.file("readonly.ico"), old);
    fs::permissions(folder.file("readonly.ico"), fs::perms::owner_read);
    EXPECT_THROW(SavePicture(icon, folder.file("readonly.ico")), FileError);
    EXPECT_EQ(test::readBytes(folder.file("readonly.ico")), old);
}

TEST(AtomicSaves, AReadOnlyFolderKeepsItsFile) {
    test::TemporaryFolder folder;
    const Picture icon = LoadPicture(dataPath("gen/hand/bpp32.ico"));
    const std::vector<std::uint8_t> old = {1, 2, 3, 4};

    fs::create_directory(folder.file("locked"));
    test::writeBytes(folder.file("locked/icon.ico"), old);
    // Anyone may write the file itself; only its folder stands in the way.
    fs::permissions(folder.file("locked/icon.ico"), fs::perms(0666));
    fs::permissions(folder.file("locked"), fs::perms(0555));
    EXPECT_TRUE(test::withoutPrivileges([&] {
        try {
            SavePicture(icon, folder.file("locked/icon.ico"));
        } catch (const FileError& error) {
            return error.problem().find("permission") != std::string::npos;
        }
        return false;
    }));
    fs::permissions(folder.file("locked"), fs::perms::owner_all);
    EXPECT_EQ(test::readBytes(folder.file("locked/icon.ico")), old);
}

}  // namespace
}  // namespace mosaikon
