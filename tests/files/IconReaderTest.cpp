// Icon and cursor files: every corpus file decodes to its reference picture, the image chosen is
// the one a 32 × 32 request gets, and damaged files are refused.
#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "ByteSource.h"
#include "FileError.h"
#include "PictureFiles.h"
#include "PictureInfo.h"
#include "PictureTestSupport.h"
#include "ProgramFileBuilder.h"
#include "icon/IconImage.h"

namespace mosaikon {
namespace {

using test::compareWithReference;
using test::dataPath;
using test::readReferencePng;

struct CorpusEntry {
    std::string file;
    std::string expected;   // good or questionable
    std::string reference;  // reference PNG, relative to gen/
    std::string note;
};

std::vector<CorpusEntry> generatedCorpus() {
    std::vector<CorpusEntry> entries;
    for (const auto& row : test::readTsv(dataPath("gen/EXPECTED.tsv"))) {
        if (row.size() > 9 && row[7] != "-") {
            entries.push_back({row[0], row[3], row[7], row[9]});
        }
    }
    return entries;
}

class GeneratedCorpus : public ::testing::TestWithParam<CorpusEntry> {};

TEST_P(GeneratedCorpus, DecodesToItsReference) {
    const CorpusEntry& entry = GetParam();
    const bool bitmap = entry.file.ends_with(".bmp");
    Picture picture;
    try {
        picture = LoadPicture(dataPath("gen/" + entry.file));
    } catch (const FileError& error) {
        // Questionable files may be refused, with a message.
        EXPECT_EQ(entry.expected, "questionable") << error.what();
        EXPECT_NE(std::string(error.what()).find(entry.file.substr(entry.file.rfind('/') + 1)),
                  std::string::npos);
        return;
    }
    EXPECT_EQ(picture.kind(), bitmap ? PictureKind::Bitmap : PictureKind::Icon);
    // 16-bit references expand 5- and 6-bit channels; ours replicates bits as they do.
    const int tolerance = entry.note.find("tolerance 1") != std::string::npos ? 1 : 0;
    EXPECT_EQ(compareWithReference(picture, readReferencePng(dataPath("gen/" + entry.reference)),
                                   bitmap, tolerance),
              "");
}

INSTANTIATE_TEST_SUITE_P(Files, GeneratedCorpus, ::testing::ValuesIn(generatedCorpus()),
                         [](const ::testing::TestParamInfo<CorpusEntry>& param) {
                             std::string name = param.param.file;
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             }
                             return name;
                         });

TEST(IconFiles, TakeTheImageA32RequestGets) {
    // Several sizes and depths, in no particular order; the 32 × 32 32-bit image is the fourth.
    EXPECT_EQ(LoadPicture(dataPath("gen/hand/multi_unsorted.ico")).width(), 32);
    // No 32 × 32 image: the closest size wins.
    const Picture no32 = LoadPicture(dataPath("gen/hand/no32_bmp.ico"));
    EXPECT_EQ(no32.width(), 24);
    EXPECT_EQ(no32.height(), 24);
    // A 256 × 256 image (directory size 0) first, 32 × 32 second.
    EXPECT_EQ(LoadPicture(dataPath("gen/hand/bmp256_plus32.ico")).width(), 32);
    EXPECT_EQ(LoadPicture(dataPath("pillow/pillow.ico")).width(), 32);
    EXPECT_EQ(LoadPicture(dataPath("pillow/python.ico")).width(), 32);
}

TEST(IconFiles, SizesComeFromTheImageHeader) {
    const Picture only256 = LoadPicture(dataPath("pillow/hopper_256x256.ico"));
    EXPECT_EQ(only256.width(), 256);
    EXPECT_EQ(only256.height(), 256);
    // The directory says 16 × 32; the image says 16 × 16.
    const Picture unexpected = LoadPicture(dataPath("pillow/hopper_unexpected.ico"));
    EXPECT_EQ(unexpected.width(), 16);
    EXPECT_EQ(unexpected.height(), 16);
    EXPECT_EQ(LoadPicture(dataPath("pillow/hopper_draw.ico")).width(), 16);  // a PNG image
}

TEST(IconFiles, KnownPixelsOfPillowsFiles) {
    EXPECT_EQ(LoadPicture(dataPath("pillow/hopper.ico")).pixelAt(0, 0),
              makePixel(Colour::fromRgb(1, 1, 9), 255));
    const Picture cursor = LoadPicture(dataPath("pillow/deerstalker.cur"));
    EXPECT_EQ(pixelAlpha(cursor.pixelAt(10, 1)), 0);
    EXPECT_EQ(cursor.pixelAt(11, 1), makePixel(Colour::fromRgb(253, 254, 254), 1));
    EXPECT_EQ(cursor.pixelAt(16, 16), makePixel(Colour::fromRgb(84, 87, 86), 255));
    EXPECT_EQ(compareWithReference(LoadPicture(dataPath("pillow/hopper_mask.ico")),
                                   readReferencePng(dataPath("pillow/ref/hopper_mask.png")), false),
              "");
}

TEST(IconFiles, AndMaskTruthTable) {
    // Rows: colour 0 / mask 0, colour 1 / mask 0, colour 0 / mask 1, colour 1 / mask 1.
    for (const char* name : {"pillow/mask_1.cur", "pillow/mask_L.cur"}) {
        const Picture picture = LoadPicture(dataPath(name));
        ASSERT_EQ(picture.width(), 1);
        ASSERT_EQ(picture.height(), 4);
        EXPECT_EQ(picture.pixelAt(0, 0), opaquePixel(colours::kBlack)) << name;
        EXPECT_EQ(picture.pixelAt(0, 1), opaquePixel(colours::kWhite)) << name;
        EXPECT_EQ(pixelAlpha(picture.pixelAt(0, 2)), 0) << name;
        EXPECT_EQ(pixelAlpha(picture.pixelAt(0, 3)), 0) << name;
    }
}

TEST(IconFiles, DamagedFilesAreRefusedWithTheirName) {
    for (const char* name : {"pillow/no_cursors.cur", "pillow/decompression_bomb.ico"}) {
        try {
            LoadPicture(dataPath(name));
            ADD_FAILURE() << name << " was accepted";
        } catch (const FileError& error) {
            EXPECT_EQ(error.path(), dataPath(name));
            EXPECT_FALSE(error.problem().empty());
        }
    }
}

// One entry of an icon file built by the test: what its directory entry says, and its image.
struct BuiltEntry {
    int size = 32;  // width and height; 256 is stored as 0
    int bitCount = 32;
    int colourCount = 0;
    std::vector<std::uint8_t> image;
    bool offsetPastEnd = false;
};

std::vector<std::uint8_t> iconFileOf(const std::vector<BuiltEntry>& entries) {
    std::vector<std::uint8_t> file = {0, 0, 1, 0, static_cast<std::uint8_t>(entries.size()), 0};
    std::size_t offset = 6 + 16 * entries.size();
    std::vector<std::uint8_t> images;
    for (const BuiltEntry& e : entries) {
        const auto edge = static_cast<std::uint8_t>(e.size & 0xFF);
        file.insert(file.end(), {edge, edge, static_cast<std::uint8_t>(e.colourCount), 0, 1, 0,
                                 static_cast<std::uint8_t>(e.bitCount), 0, 0, 0, 0, 0, 0, 0, 0, 0});
        test::putU32At(file, file.size() - 8, static_cast<std::uint32_t>(e.image.size()));
        test::putU32At(file, file.size() - 4,
                       static_cast<std::uint32_t>(e.offsetPastEnd ? 0x7FFFFFFF : offset));
        images.insert(images.end(), e.image.begin(), e.image.end());
        offset += e.image.size();
    }
    file.insert(file.end(), images.begin(), images.end());
    return file;
}

// An entry that cannot be read stops the file only when the request would take it: it is
// ranked by what its directory entry says (with no depth there, as the best depth), and when
// it is chosen the file is refused; another image is never taken in its place.
TEST(IconFiles, AnUnreadableEntryRefusesTheFileOnlyWhenItIsChosen) {
    constexpr Pixel kRed = 0xFF0000FFu;
    constexpr Pixel kBlue = 0xFFFF0000u;
    const std::vector<std::uint8_t> garbage(40, 0xEE);  // no known bitmap header size
    std::vector<std::uint8_t> cut = test::solidIconImage(32, 32, kBlue);
    cut.resize(40 + 100);  // a sound header, the colour rows cut off
    struct Case {
        const char* what;
        std::vector<BuiltEntry> entries;
        std::optional<Pixel> expected;  // empty: refused
        int damaged = -1;               // the entry a listing reports damaged, if any
    };
    const std::vector<Case> cases = {
        {"a damaged 16 × 16 image before the 32 × 32 one",
         {{16, 32, 0, garbage}, {32, 32, 0, test::solidIconImage(32, 32, kRed)}},
         kRed,
         0},
        {"a 16 × 16 image said to lie past the end",
         {{16, 32, 0, test::solidIconImage(16, 16, kBlue), true},
          {32, 32, 0, test::solidIconImage(32, 32, kRed)}},
         kRed,
         0},
        {"a damaged image of the same size and depth after the sound one",
         {{32, 32, 0, test::solidIconImage(32, 32, kRed)}, {32, 32, 0, garbage}},
         kRed,
         1},
        {"a damaged 8-bit image beside a 32-bit one",
         {{32, 8, 0, garbage}, {32, 32, 0, test::solidIconImage(32, 32, kRed)}},
         kRed,
         0},
        {"the damaged image is the one a 32 × 32 request takes",
         {{48, 32, 0, test::solidIconImage(48, 48, kRed)}, {32, 32, 0, garbage}},
         std::nullopt,
         1},
        {"a damaged image whose entry gives no depth may be the best",
         {{32, 0, 0, garbage}, {32, 4, 0, test::solidIconImage(32, 32, kRed)}},
         std::nullopt,
         0},
        {"the chosen image's pixels are cut off",
         {{48, 32, 0, test::solidIconImage(48, 48, kRed)}, {32, 32, 0, cut}},
         std::nullopt},  // its header is sound: only the decoding finds the damage
    };
    for (const Case& c : cases) {
        const std::vector<std::uint8_t> bytes = iconFileOf(c.entries);
        try {
            const Picture picture =
                readPicture(std::make_unique<MemoryBytes>(bytes, "entries.ico"));
            EXPECT_EQ(c.expected, picture.pixelAt(0, 0)) << c.what;
        } catch (const FileError& error) {
            EXPECT_FALSE(c.expected) << c.what << ": " << error.what();
            EXPECT_EQ(error.path(), "entries.ico");
        }
        // A listing goes on past the damage and keeps it as the error, beside its image.
        MemoryBytes listed(bytes, "entries.ico");
        const IconFileInfo info = describeIconFile(listed);
        for (std::size_t i = 0; i < info.images.size(); ++i) {
            const IconFileImageInfo& image = info.images[i];
            EXPECT_EQ(image.problem.has_value(), static_cast<int>(i) == c.damaged)
                << c.what << ", image " << i;
            if (image.problem) {
                EXPECT_EQ(image.problem->path(), "entries.ico");
            }
        }
    }
}

TEST(IconImage, DecodesOneImageOfAnIconFile) {
    // The image of a one-image file starts after the 6-byte directory and its 16-byte entry.
    const std::vector<std::uint8_t> file = test::readBytes(dataPath("gen/hand/bpp8.ico"));
    const std::span<const std::uint8_t> image = std::span(file).subspan(22);
    const IconCandidate described = describeIconImage(image, "resource");
    EXPECT_EQ(described.width, 32);
    EXPECT_EQ(described.height, 32);
    EXPECT_EQ(described.bitCount, 8);
    const Picture picture = decodeIconImage(image, "resource");
    EXPECT_EQ(picture.kind(), PictureKind::Icon);
    EXPECT_EQ(picture.allPixels(), LoadPicture(dataPath("gen/hand/bpp8.ico")).allPixels());
}

TEST(IconImage, DecodesAPngImage) {
    const std::vector<std::uint8_t> file = test::readBytes(dataPath("pillow/hopper_draw.ico"));
    const std::span<const std::uint8_t> image = std::span(file).subspan(22);
    EXPECT_EQ(describeIconImage(image, "resource").width, 16);
    EXPECT_EQ(decodeIconImage(image, "resource").allPixels(),
              LoadPicture(dataPath("pillow/hopper_draw.ico")).allPixels());
}

TEST(IconImage, RefusesBytesThatAreNoImage) {
    const std::vector<std::uint8_t> garbage = {'M', 'Z', 0x90, 0, 3, 0,    0,
                                               0,   4,   0,    0, 0, 0xFF, 0xFF};
    EXPECT_THROW(decodeIconImage(garbage, "program.exe"), FileError);
    EXPECT_THROW(describeIconImage(garbage, "program.exe"), FileError);
    EXPECT_THROW(decodeIconImage({}, "program.exe"), FileError);
    // A PNG signature with nothing after it.
    const std::vector<std::uint8_t> pngStart = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    EXPECT_THROW(decodeIconImage(pngStart, "program.exe"), FileError);
    // The image of a 32-bit icon cut in the middle of its colour rows.
    const std::vector<std::uint8_t> file = test::readBytes(dataPath("gen/hand/bpp32.ico"));
    EXPECT_THROW(decodeIconImage(std::span(file).subspan(22, 40 + 2000), "resource"), FileError);
    // Only the AND mask cut: still an image, opaque where the mask is missing.
    EXPECT_NO_THROW(decodeIconImage(std::span(file).subspan(22, 40 + 4096 + 10), "resource"));
}

}  // namespace
}  // namespace mosaikon
