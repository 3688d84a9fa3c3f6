// Taking an icon out of a program file built by the test, substituting for a missing one,
// drawing it and releasing it.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <memory>
#include <new>
#include <stdexcept>

#include "ByteSource.h"
#include "FileError.h"
#include "PictureFiles.h"
#include "PictureTestSupport.h"
#include "ProgramFileBuilder.h"
#include "ProgramIconReader.h"
#include "ProgramIcons.h"
#include "program/GenericAppIcon.h"

namespace mosaikon {
namespace {

using test::GroupEntry;
using test::GroupResource;
using test::ProgramFileBuilder;
using test::ProgramFormat;

constexpr Pixel kRed = 0xFF0000FFu;
constexpr Pixel kGreen = 0xFF00FF00u;
constexpr Pixel kBlue = 0xFFFF0000u;
constexpr Pixel kGrey = 0xFF808080u;

GroupResource group(std::uint16_t id, std::vector<GroupEntry> entries) {
    return {std::nullopt, id, std::move(entries), std::nullopt};
}

// The top left pixel of the icon of group `index`; `index` becomes the group it came from.
Pixel colourAt(ByteSource& file, std::uint16_t& index) {
    const ProgramIcon icon = readProgramIcon(file, index);
    index = icon.group;
    return icon.picture.pixelAt(0, 0);
}

class EveryFormat : public ::testing::TestWithParam<ProgramFormat> {};
INSTANTIATE_TEST_SUITE_P(Formats, EveryFormat,
                         ::testing::Values(ProgramFormat::Pe32, ProgramFormat::Pe32Plus,
                                           ProgramFormat::Ne));

TEST_P(EveryFormat, TheGroupDirectoryChoosesTheImageFor32) {
    ProgramFileBuilder b;
    // Size decides first (16 and 48 lose to 32), then the depth closest to 32, then the first.
    b.addGroup(group(
        1, {{16, 16, 32, 1}, {48, 48, 32, 2}, {32, 32, 8, 3}, {32, 32, 32, 4}, {32, 32, 32, 5}}));
    // No 32 × 32: 24 is nearer than 48; the 256 image (stored as 0) is farthest.
    b.addGroup(group(2, {{0, 0, 32, 6}, {48, 48, 32, 2}, {24, 24, 32, 7}}));
    // A directory that gives only the colour count: 16 colours (4 bits) lose to 255 colours (8
    // bits). An entry that gives no depth at all is ranked by its image: see the test below.
    b.addGroup(group(3, {{32, 32, 0, 8, 16}, {32, 32, 0, 9, 255}}));
    b.addImage(1, test::solidIconImage(16, 16, kRed))
        .addImage(2, test::solidIconImage(48, 48, kRed));
    b.addImage(3, test::solidIconImage(32, 32, kRed))
        .addImage(4, test::solidIconImage(32, 32, kGreen));
    b.addImage(5, test::solidIconImage(32, 32, kRed))
        .addImage(6, test::solidIconImage(256, 256, kRed));
    b.addImage(7, test::solidIconImage(24, 24, kBlue))
        .addImage(8, test::solidIconImage(32, 32, kRed));
    b.addImage(9, test::solidIconImage(32, 32, kGrey));
    const std::vector<std::uint8_t> bytes = b.build(GetParam());
    MemoryBytes file(bytes, "choice.exe");

    std::uint16_t index = 0;
    EXPECT_EQ(colourAt(file, index), kGreen);
    index = 1;
    const Picture second = readProgramIcon(file, index).picture;
    EXPECT_EQ(second.width(), 24);
    EXPECT_EQ(second.pixelAt(23, 23), kBlue);
    index = 2;
    EXPECT_EQ(colourAt(file, index), kGrey);
    EXPECT_EQ(index, 2);
}

// A group entry that gives neither a bit count nor a colour count ("256 colours or more") is
// ranked by the depth its image's own header gives; when that image cannot be read it ranks
// as the best depth, so the file is refused rather than another image taken in its place.
TEST_P(EveryFormat, AnEntryWithoutDepthIsRankedByItsImage) {
    const std::vector<std::uint8_t> iconFile =
        test::readBytes(test::dataPath("pillow/hopper_draw.ico"));
    const std::vector<std::uint8_t> png(iconFile.begin() + 22, iconFile.end());  // RGBA, 8 bits
    const Pixel pngCorner = LoadPicture(test::dataPath("pillow/hopper_draw.ico")).pixelAt(0, 0);
    struct Case {
        const char* what;
        std::vector<GroupEntry> entries;  // images: 1 red, 2 blue, 3 the PNG, 9 missing
        std::optional<Pixel> expected;    // empty: refused
    };
    const std::vector<Case> cases = {
        {"a 32-bit image behind 0/0 beats 16 colours",
         {{32, 32, 0, 1, 16}, {32, 32, 0, 2, 0}},
         kBlue},
        {"and beats 8 bits given first", {{32, 32, 8, 1}, {32, 32, 0, 2, 0}}, kBlue},
        {"a PNG's depth is its channels times its bit depth",
         {{16, 16, 8, 1}, {16, 16, 0, 3, 0}},
         pngCorner},
        {"size still decides first", {{32, 32, 4, 1}, {16, 16, 0, 2, 0}}, kRed},
        {"an unreadable image that loses does not matter",
         {{32, 32, 32, 1}, {32, 32, 0, 9, 0}},
         kRed},
        {"an unreadable image that may win refuses the file",
         {{32, 32, 0, 9, 0}, {32, 32, 4, 1}},
         std::nullopt},
    };
    for (const Case& c : cases) {
        ProgramFileBuilder b;
        b.addGroup(group(1, c.entries));
        b.addImage(1, test::solidIconImage(32, 32, kRed))
            .addImage(2, test::solidIconImage(32, 32, kBlue))
            .addImage(3, png);
        const std::vector<std::uint8_t> bytes = b.build(GetParam());
        MemoryBytes file(bytes, "depth.exe");
        try {
            const ProgramIcon icon = readProgramIcon(file, 0);
            EXPECT_EQ(c.expected, icon.picture.pixelAt(0, 0)) << c.what;
        } catch (const FileError& error) {
            EXPECT_FALSE(c.expected) << c.what << ": " << error.what();
        }
    }
}

TEST_P(EveryFormat, AnIndexPastTheLastGroupTakesTheFirstAndBecomesZero) {
    ProgramFileBuilder b;
    b.addGroup(group(10, {{32, 32, 32, 1}})).addGroup(group(20, {{32, 32, 32, 2}}));
    b.addImage(1, test::solidIconImage(32, 32, kRed))
        .addImage(2, test::solidIconImage(32, 32, kBlue));
    const std::vector<std::uint8_t> bytes = b.build(GetParam());
    MemoryBytes file(bytes, "two.exe");
    for (std::uint16_t asked : {std::uint16_t{2}, std::uint16_t{3}, std::uint16_t{0xFFFF}}) {
        std::uint16_t index = asked;
        EXPECT_EQ(colourAt(file, index), kRed) << asked;
        EXPECT_EQ(index, 0) << asked;
    }
    std::uint16_t index = 1;
    EXPECT_EQ(colourAt(file, index), kBlue);
    EXPECT_EQ(index, 1);
}

TEST_P(EveryFormat, AGroupCountPastItsBytesUsesTheEntriesThatAreThere) {
    std::vector<std::uint8_t> groupBytes =
        test::groupDirectoryBytes({{16, 16, 32, 1}, {32, 32, 32, 2}});
    test::putU16At(groupBytes, 4, 0xFFFF);
    ProgramFileBuilder b;
    b.addGroup({std::nullopt, 1, {}, groupBytes});
    b.addImage(1, test::solidIconImage(16, 16, kRed))
        .addImage(2, test::solidIconImage(32, 32, kBlue));
    const std::vector<std::uint8_t> bytes = b.build(GetParam());
    MemoryBytes file(bytes, "count.exe");
    std::uint16_t index = 0;
    EXPECT_EQ(colourAt(file, index), kBlue);
}

TEST_P(EveryFormat, BrokenGroupsAndImagesAreReportedNotGuessed) {
    auto readError = [&](ProgramFileBuilder b) -> std::string {
        const std::vector<std::uint8_t> bytes = b.build(GetParam());
        MemoryBytes file(bytes, "broken.exe");
        std::uint16_t index = 0;
        try {
            index = readProgramIcon(file, index).group;
            return "";
        } catch (const FileError& error) {
            EXPECT_EQ(index, 0);
            return error.what();
        }
    };
    ProgramFileBuilder missingImage;
    missingImage.addGroup(group(1, {{32, 32, 32, 7}}))
        .addImage(1, test::solidIconImage(32, 32, kRed));
    EXPECT_NE(readError(missingImage).find("refers to image 7"), std::string::npos);

    ProgramFileBuilder emptyGroup;
    emptyGroup.addGroup(group(1, {})).addImage(1, test::solidIconImage(32, 32, kRed));
    EXPECT_NE(readError(emptyGroup).find("lists no images"), std::string::npos);

    ProgramFileBuilder shortGroup;
    shortGroup.addGroup({std::nullopt, 1, {}, std::vector<std::uint8_t>{0, 0, 1}});
    // NE pads every resource to its alignment, so there the group merely lists nothing.
    EXPECT_NE(readError(shortGroup)
                  .find(GetParam() == ProgramFormat::Ne ? "lists no images" : "cut short"),
              std::string::npos);

    ProgramFileBuilder garbage;
    garbage.addGroup(group(1, {{32, 32, 32, 1}})).addImage(1, std::vector<std::uint8_t>(64, 0xAB));
    EXPECT_NE(readError(garbage), "");

    ProgramFileBuilder noGroups;
    noGroups.addImage(1, test::solidIconImage(32, 32, kRed));
    EXPECT_NE(readError(noGroups).find("holds no icons"), std::string::npos);
}

// Files on disk, through the extraction function itself.
class Extraction : public ::testing::Test {
protected:
    std::string write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        const std::string path = m_folder.file(name);
        test::writeBytes(path, bytes);
        return path;
    }
    static std::vector<char> buffer(const std::string& path) {
        std::vector<char> text(std::max(kMaxPath, path.size() + 1), '\0');
        std::copy(path.begin(), path.end(), text.begin());
        return text;
    }
    static bool isSubstitute(const IconHandle& icon) {
        return icon.picture().sharesWith(genericApplicationIcon());
    }

    test::TemporaryFolder m_folder;
};

std::vector<std::uint8_t> threeGroups() {
    ProgramFileBuilder b;
    b.addGroup(group(1, {{32, 32, 32, 1}}))
        .addGroup(group(2, {{32, 32, 32, 2}}))
        .addGroup(group(3, {{32, 32, 32, 3}}));
    b.addImage(1, test::solidIconImage(32, 32, kRed))
        .addImage(2, test::solidIconImage(32, 32, kGreen));
    b.addImage(3, test::solidIconImage(32, 32, kBlue));
    return b.build(ProgramFormat::Pe32);
}

TEST_F(Extraction, TheIndexIsReadFromItsLow16BitsAndWrittenBack) {
    std::vector<char> path = buffer(write("three.exe", threeGroups()));
    std::int32_t index = 0x00030001;  // the high half is not part of the index
    IconHandle icon = ExtractAssociatedIconA(ModuleInstance::program(), path, &index);
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon.picture().pixelAt(5, 5), kGreen);
    EXPECT_EQ(index, 1);

    index = 7;
    icon = ExtractAssociatedIconA(ModuleInstance::program(), path, &index);
    EXPECT_EQ(icon.picture().pixelAt(5, 5), kRed);
    EXPECT_EQ(index, 0);
}

TEST_F(Extraction, FilesWithoutAUsableIconGiveTheInstancesSubstitute) {
    ProgramFileBuilder noGroups;
    noGroups.addImage(1, test::solidIconImage(32, 32, kRed));
    ProgramFileBuilder garbage;
    garbage.addGroup(group(1, {{32, 32, 32, 1}})).addImage(1, std::vector<std::uint8_t>(64, 0xAB));
    const std::string paths[] = {
        write("no-groups.dll", noGroups.build(ProgramFormat::Pe32Plus)),
        write("garbage.exe", garbage.build(ProgramFormat::Ne)),
        write("notes.txt", std::vector<std::uint8_t>(100, 'x')),
        write("empty.exe", {}),
        m_folder.file("missing.exe"),
        m_folder.path().string(),  // a folder
    };
    for (const std::string& path : paths) {
        std::vector<char> text = buffer(path);
        std::int32_t index = 1;
        const IconHandle icon = ExtractAssociatedIconA(ModuleInstance::program(), text, &index);
        EXPECT_TRUE(isSubstitute(icon)) << path;
        EXPECT_EQ(index, 0) << path;
        EXPECT_EQ(std::string(text.data()), path) << "the path buffer is left as it was";
    }
    // Another instance substitutes its own picture; one without a picture gives no icon at all.
    const Picture own = Picture::fromPixels(PictureKind::Icon, 1, 1, {kRed});
    std::vector<char> text = buffer(paths[0]);
    std::int32_t index = 0;
    EXPECT_TRUE(
        ExtractAssociatedIconA(ModuleInstance(own), text, &index).picture().sharesWith(own));
    EXPECT_FALSE(ExtractAssociatedIconA(ModuleInstance(Picture{}), text, &index));
}

TEST_F(Extraction, APathBufferWithoutItsEndIsNotTrusted) {
    const std::string path = write("three.exe", threeGroups());
    std::vector<char> text(path.begin(), path.end());  // no terminating NUL
    std::int32_t index = 0;
    EXPECT_TRUE(isSubstitute(ExtractAssociatedIconA(ModuleInstance::program(), text, &index)));
    std::vector<char> empty(kMaxPath, '\0');
    EXPECT_TRUE(isSubstitute(ExtractAssociatedIconA(ModuleInstance::program(), empty, nullptr)));
}

TEST_F(Extraction, LongAndNonAsciiPathsAreOpenedWhole) {
    // Deeper than 260 characters, with UTF-8 names on the way.
    std::filesystem::path folder = m_folder.path();
    for (int i = 0; i < 6; ++i) {
        folder /= std::u8string(u8"Programme-\u00fc\u00df\u00e9-") + std::u8string(40, u8'x');
    }
    std::filesystem::create_directories(folder);
    const std::filesystem::path file = folder / u8"\u00e4pp.exe";
    const std::u8string utf8 = file.u8string();
    const std::string path(utf8.begin(), utf8.end());
    ASSERT_GT(path.size(), kMaxPath);
    test::writeBytes(file.string(), threeGroups());
    std::vector<char> text = buffer(path);
    std::int32_t index = 2;
    const IconHandle icon = ExtractAssociatedIconA(ModuleInstance::program(), text, &index);
    EXPECT_FALSE(isSubstitute(icon));
    EXPECT_EQ(icon.picture().pixelAt(0, 0), kBlue);
}

// The bytes of a sound program file whose reads fail as `fail` says.
class FailingBytes final : public ByteSource {
public:
    FailingBytes(std::vector<std::uint8_t> bytes, std::function<void()> fail)
        : m_bytes(std::move(bytes)), m_memory(m_bytes, "failing.exe"), m_fail(std::move(fail)) {}
    std::uint64_t size() const override { return m_memory.size(); }
    void read(std::uint64_t offset, std::span<std::uint8_t> out) override {
        m_fail();
        m_memory.read(offset, out);
    }
    const std::string& name() const override { return m_memory.name(); }

private:
    std::vector<std::uint8_t> m_bytes;
    MemoryBytes m_memory;
    std::function<void()> m_fail;
};

TEST(ExtractionFailures, OnlyAFileWithoutUsableIconGivesTheSubstituteOtherFailuresPassThrough) {
    const std::vector<std::uint8_t> sound = threeGroups();
    std::vector<std::uint8_t> damaged = sound;
    damaged.resize(damaged.size() / 2);
    // A file that cannot give its icon, each in its own way.
    const std::vector<std::function<std::unique_ptr<ByteSource>()>> withoutIcon = {
        [&] {
            return std::make_unique<FailingBytes>(sound, [] {
                throw FileError("failing.exe", "could not be read: the disk reported an error.");
            });
        },
        [&] { return std::make_unique<FailingBytes>(damaged, [] {}); },
        [&] { return std::make_unique<FailingBytes>(std::vector<std::uint8_t>(90, 'M'), [] {}); },
    };
    for (std::size_t i = 0; i < withoutIcon.size(); ++i) {
        const std::unique_ptr<ByteSource> file = withoutIcon[i]();
        std::int32_t index = 2;
        const IconHandle icon = extractIconOf(ModuleInstance::program(), *file, &index);
        EXPECT_TRUE(icon.picture().sharesWith(genericApplicationIcon())) << i;
        EXPECT_EQ(index, 0) << i;
    }
    // Failures no file can cause are not hidden behind the substitute.
    std::int32_t index = 2;
    FailingBytes exhausted(sound, [] { throw std::bad_alloc(); });
    EXPECT_THROW(extractIconOf(ModuleInstance::program(), exhausted, &index), std::bad_alloc);
    FailingBytes mistaken(sound, [] { throw std::logic_error("a reader read past its bytes"); });
    EXPECT_THROW(extractIconOf(ModuleInstance::program(), mistaken, &index), std::logic_error);
    EXPECT_EQ(index, 2) << "the index is left alone when the extraction fails";
    // The same sound file, read without failing, gives its own icon.
    FailingBytes fine(sound, [] {});
    EXPECT_EQ(extractIconOf(ModuleInstance::program(), fine, &index).picture().pixelAt(0, 0),
              kBlue);
    EXPECT_EQ(index, 2);
}

// Drawing: a 2 × 2 icon, transparent, half opaque, opaque red, opaque blue.
IconHandle smallIcon() {
    return IconHandle(
        Picture::fromPixels(PictureKind::Icon, 2, 2, {0x00FFFFFFu, 0x80FF0000u, kRed, kBlue}));
}

TEST(DrawIconEx, NormalDrawingKeepsTheSurfaceUnderTransparencyAndBlendsPartialOpacity) {
    PictureBox surface(10, 10, Colour(0x00FFFFFF));
    surface.Line(0, 0, 9, 9, Colour(0x0000FF00), LineShape::FilledBox);  // green underneath
    const IconHandle icon = smallIcon();
    ASSERT_TRUE(DrawIconEx(surface, 0, 0, icon, 4, 4, 0, std::nullopt, iconflags::kNormal));

    PictureBox expected(10, 10, Colour(0x00FFFFFF));
    expected.Line(0, 0, 9, 9, Colour(0x0000FF00), LineShape::FilledBox);
    expected.PaintPicture(icon.picture(), 0, 0, 4, 4);
    EXPECT_EQ(surface.pixels(), expected.pixels());

    EXPECT_EQ(surface.pixel(1, 1).value(), 0x0000FF00u);  // transparent: the green stays
    EXPECT_EQ(surface.pixel(0, 3).value(), 0x000000FFu);  // opaque red, scaled 2 ×
    EXPECT_EQ(surface.pixel(3, 3).value(), 0x00FF0000u);
    const std::uint32_t half = surface.pixel(3, 0).value();
    EXPECT_NE(half, 0x0000FF00u);
    EXPECT_NE(half, 0x00FF0000u);  // neither the green below nor the blue above: a blend
    EXPECT_EQ(surface.pixel(4, 4).value(), 0x0000FF00u);  // outside the rectangle
}

TEST(DrawIconEx, ImageAloneIsOpaqueAndMaskAloneDarkensWhereTheIconIsOpaque) {
    const IconHandle icon = smallIcon();
    PictureBox image(2, 2, Colour(0x00FFFFFF));
    ASSERT_TRUE(
        DrawIconEx(image, 0, 0, icon, 0, 0, 0, std::nullopt, iconflags::kImage));  // 0: own size
    EXPECT_EQ(image.pixel(0, 0).value(), 0x00FFFFFFu);  // the transparent pixel's own colour
    EXPECT_EQ(image.pixel(1, 0).value(), 0x00FF0000u);
    EXPECT_EQ(image.pixel(0, 1).value(), 0x000000FFu);

    PictureBox mask(2, 2, Colour(0x0000FF00));
    mask.Line(0, 0, 1, 1, Colour(0x0000FF00), LineShape::FilledBox);
    ASSERT_TRUE(DrawIconEx(mask, 0, 0, icon, 2, 2, 0, std::nullopt, iconflags::kMask));
    EXPECT_EQ(mask.pixel(0, 0).value(), 0x0000FF00u);
    EXPECT_EQ(mask.pixel(0, 1).value(), 0u);
    EXPECT_EQ(mask.pixel(1, 1).value(), 0u);
}

TEST(DrawIconEx, ABrushFillsTheRectangleFirst) {
    PictureBox surface(6, 6, Colour(0x00FFFFFF));
    ASSERT_TRUE(
        DrawIconEx(surface, 1, 1, smallIcon(), 4, 4, 0, Colour(0x00123456), iconflags::kNormal));
    EXPECT_EQ(surface.pixel(1, 1).value(), 0x00123456u);  // under the transparent pixel
    EXPECT_EQ(surface.pixel(0, 0).value(), 0x00FFFFFFu);
    EXPECT_EQ(surface.pixel(5, 5).value(), 0x00FFFFFFu);
}

TEST(DrawIconEx, NothingIsDrawnForAnEmptyHandleANegativeSizeOrNoPart) {
    PictureBox surface(4, 4, Colour(0x00FFFFFF));
    const std::vector<std::uint32_t> before = surface.pixels();
    EXPECT_FALSE(
        DrawIconEx(surface, 0, 0, IconHandle{}, 4, 4, 0, std::nullopt, iconflags::kNormal));
    EXPECT_FALSE(
        DrawIconEx(surface, 0, 0, smallIcon(), -4, 4, 0, std::nullopt, iconflags::kNormal));
    EXPECT_FALSE(DrawIconEx(surface, 0, 0, smallIcon(), 4, 4, 0, Colour(0), 0));
    EXPECT_EQ(surface.pixels(), before);
}

// A one-pixel source that notes when the last owner lets it go.
class WatchedSource final : public PixelSource {
public:
    explicit WatchedSource(bool& released) : m_released(released) {}
    ~WatchedSource() override { m_released = true; }
    int width() const override { return 1; }
    int height() const override { return 1; }
    void sampleRow(int, std::span<const int>, std::span<Pixel> out) const override {
        out[0] = kRed;
    }

private:
    bool& m_released;
};

TEST(IconHandle, DestroyingReleasesTheIconOnceAndMovingHandsItOn) {
    bool released = false;
    IconHandle first(Picture(PictureKind::Icon, std::make_shared<WatchedSource>(released)));
    IconHandle second = std::move(first);
    EXPECT_FALSE(first);  // NOLINT(bugprone-use-after-move): a moved-from handle is empty
    ASSERT_TRUE(second);
    EXPECT_FALSE(released);
    EXPECT_TRUE(DestroyIcon(second));
    EXPECT_TRUE(released);
    EXPECT_FALSE(second);
    EXPECT_FALSE(DestroyIcon(second));

    bool droppedUnused = false;
    {
        IconHandle unused(
            Picture(PictureKind::Icon, std::make_shared<WatchedSource>(droppedUnused)));
    }
    EXPECT_TRUE(droppedUnused) << "a handle going out of scope releases its icon too";
}

}  // namespace
}  // namespace mosaikon
