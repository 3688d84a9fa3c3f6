// Choosing which icon to take from a file of several: the listing of an icon file's images and
// a program's groups, and the chosen one taken in as Open Icon, Open Bitmap and Extract Icon
// take theirs.
#include <gtest/gtest.h>

#include <algorithm>

#include "FileBytes.h"
#include "FileCommands.h"
#include "ImageChoices.h"
#include "OpacityPlane.h"
#include "PictureFiles.h"
#include "PictureTestSupport.h"
#include "ProgramFileBuilder.h"
#include "ScriptedDialogHost.h"
#include "icon/IconWriter.h"

namespace mosaikon {
namespace {

// An opaque picture whose pixels tell where they are, so a wrong image or scaling shows.
Picture gradient(int side, std::uint8_t blue) {
    std::vector<Pixel> pixels;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            pixels.push_back(
                opaquePixel(Colour::fromRgb(static_cast<std::uint8_t>(x * 255 / side),
                                            static_cast<std::uint8_t>(y * 255 / side), blue)));
        }
    }
    return Picture::fromPixels(PictureKind::Icon, side, side, std::move(pixels));
}

class ImageChoicesTest : public ::testing::Test {
protected:
    ImageChoicesTest() { canvas.Form_Load(); }

    // The opacity plane drawn over white is the icon surface, whatever came in.
    bool planeMatchesIcon() const {
        const auto plane = canvas.opacity.pixels();
        const auto icon = canvas.SmallPicture.pixels();
        return std::equal(
            plane.begin(), plane.end(), icon.begin(), icon.end(),
            [](Pixel pixel, std::uint32_t shown) { return overWhite(pixel) == shown; });
    }

    std::string iconFileOf(const std::vector<Picture>& pictures) {
        const std::string path = folder.file("several.ico");
        test::writeBytes(path, encodeIconImages(pictures, path));
        return path;
    }

    test::ScriptedDialogHost host;
    CommonDialog dialog{host};
    IconCanvas canvas;
    FileCommands commands{canvas, dialog};
    test::TemporaryFolder folder;
};

TEST_F(ImageChoicesTest, AnIconFilesImagesAreListedInOrderWithTheOneOpenIconTakes) {
    const std::vector<Picture> pictures = {gradient(16, 1), gradient(48, 2), gradient(32, 3),
                                           gradient(256, 4)};
    std::string path = iconFileOf(pictures);
    std::vector<std::uint8_t> bytes = test::readBytes(path);
    FileBytes file(path);
    const IconFileImages listed = readIconFileImages(file);
    ASSERT_EQ(listed.images.size(), pictures.size());
    EXPECT_EQ(listed.opened, 2u) << "the 32 × 32 image";
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const ChoosableImage& image = listed.images[i];
        EXPECT_EQ(image.width, pictures[i].width()) << i;
        EXPECT_EQ(image.bitCount, 32) << i;
        EXPECT_EQ(image.png, i == 3) << i;
        EXPECT_FALSE(image.problem) << i;
        EXPECT_TRUE(image.picture.allPixels() == pictures[i].allPixels()) << i;
        EXPECT_TRUE(readIconFileImage(file, i).allPixels() == pictures[i].allPixels()) << i;
    }
    EXPECT_THROW(readIconFileImage(file, 4), FileError);

    // An image whose bytes lie past the end is listed with its reason, and cannot be opened.
    test::putU32At(bytes, 6 + 16 * 1 + 12, static_cast<std::uint32_t>(bytes.size() + 10));
    test::writeBytes(path, bytes);
    FileBytes damaged(path);
    const IconFileImages withDamage = readIconFileImages(damaged);
    ASSERT_EQ(withDamage.images.size(), 4u);
    EXPECT_TRUE(withDamage.images[1].problem);
    EXPECT_TRUE(withDamage.images[1].picture.isEmpty());
    EXPECT_FALSE(withDamage.images[2].problem);
    EXPECT_THROW(readIconFileImage(damaged, 1), FileError);
}

TEST_F(ImageChoicesTest, ASmallImageOpensAsOpenIconOpensItAndALargeOneAsOpenBitmapScalesIt) {
    const std::string path = iconFileOf({gradient(16, 1), gradient(64, 2)});
    commands.openIconImage(path, 0);
    EXPECT_TRUE(planeMatchesIcon());
    const auto small = canvas.SmallPicture.pixels();
    const auto smallView = canvas.LargePicture.pixels();
    EXPECT_EQ(commands.statusLine(),
              " " + path + "... " + std::to_string(test::readBytes(path).size()) + " byte");

    const std::string alone = folder.file("alone.ico");
    test::writeBytes(alone, encodeIconImages({gradient(16, 1)}, alone));
    commands.openIconFile(alone);
    EXPECT_EQ(canvas.SmallPicture.pixels(), small);
    EXPECT_EQ(canvas.LargePicture.pixels(), smallView);

    commands.openIconImage(path, 1);
    EXPECT_TRUE(planeMatchesIcon());
    const auto large = canvas.SmallPicture.pixels();
    const auto largeView = canvas.LargePicture.pixels();
    SavePicture(Picture::fromPixels(PictureKind::Bitmap, 64, 64, gradient(64, 2).allPixels()),
                folder.file("large.bmp"));
    commands.openBitmapFile(folder.file("large.bmp"));
    EXPECT_EQ(canvas.SmallPicture.pixels(), large);
    EXPECT_EQ(canvas.LargePicture.pixels(), largeView);
}

TEST_F(ImageChoicesTest, AProgramsGroupsAreListedByNameWithTheirSizesAndTheChosenIsTaken) {
    test::ProgramFileBuilder builder;
    builder.addGroup({"FOLDER", 0, {{16, 16, 32, 1, 0, 0}, {32, 32, 32, 2, 0, 0}}, {}})
        .addGroup({{}, 7, {{32, 32, 32, 3, 0, 0}}, {}})
        .addImage(1, test::solidIconImage(16, 16, opaquePixel(Colour::fromRgb(0, 0, 200))))
        .addImage(2, test::solidIconImage(32, 32, opaquePixel(Colour::fromRgb(0, 0, 200))))
        .addImage(3, test::solidIconImage(32, 32, opaquePixel(Colour::fromRgb(200, 0, 0))));
    const std::string program = folder.file("two.exe");
    test::writeBytes(program, builder.build(test::ProgramFormat::Pe32));
    FileBytes file(program);
    const std::vector<ChoosableGroup> groups = readProgramIconGroups(file);
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].name, "FOLDER");
    EXPECT_EQ(groups[0].sizes, (std::vector<std::string>{"16 × 16, 32 bits", "32 × 32, 32 bits"}));
    EXPECT_EQ(groups[1].name, "#7");
    EXPECT_EQ(groups[1].picture.pixelAt(5, 5), opaquePixel(Colour::fromRgb(200, 0, 0)));

    // Extract Icon takes the group its index names; choosing that group gives the same.
    commands.extractIconFrom(program);
    const auto extracted = canvas.LargePicture.pixels();
    commands.extractIconGroupFrom(program, 0);
    EXPECT_EQ(canvas.SmallPicture.pixel(5, 5), Colour::fromRgb(0, 0, 200));
    commands.extractIconGroupFrom(program, 1);
    EXPECT_TRUE(planeMatchesIcon());
    EXPECT_EQ(canvas.LargePicture.pixels(), extracted);
    EXPECT_EQ(canvas.SmallPicture.pixel(5, 5), Colour::fromRgb(200, 0, 0));

    const std::string bare = folder.file("bare.exe");
    test::writeBytes(bare, test::ProgramFileBuilder()
                               .addImage(1, test::solidIconImage(16, 16, opaquePixel({})))
                               .build(test::ProgramFormat::Pe32));
    FileBytes none(bare);
    EXPECT_TRUE(readProgramIconGroups(none).empty()) << "a program without icons";
}

}  // namespace
}  // namespace mosaikon
