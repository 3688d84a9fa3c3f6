// The resource walkers on program files built by the tests: group order, where each group's
// and image's bytes are found, and damaged directories refused with a FileError.
#include <gtest/gtest.h>

#include <algorithm>

#include "ByteSource.h"
#include "FileError.h"
#include "ProgramFileBuilder.h"
#include "ProgramIconReader.h"
#include "bytes/FieldReader.h"
#include "program/ProgramIconDirectory.h"

namespace mosaikon {
namespace {

using test::GroupResource;
using test::ProgramFileBuilder;
using test::ProgramFormat;
using test::ProgramLayout;

GroupResource numbered(std::uint16_t id, std::uint16_t imageId) {
    return {std::nullopt, id, {{32, 32, 32, imageId}}, std::nullopt};
}
GroupResource named(std::string name, std::uint16_t imageId) {
    return {std::move(name), 0, {{32, 32, 32, imageId}}, std::nullopt};
}

// Groups stored as ALPHA, ZED, 2, 5, 7 (named first, numbers ascending), one image each.
ProgramFileBuilder orderedFile() {
    ProgramFileBuilder b;
    b.addGroup(named("ALPHA", 1))
        .addGroup(named("ZED", 2))
        .addGroup(numbered(2, 3))
        .addGroup(numbered(5, 4))
        .addGroup(numbered(7, 5));
    for (std::uint16_t id = 1; id <= 5; ++id)
        b.addImage(id, test::solidIconImage(32, 32, 0xFF000000u | id));
    return b;
}

std::unique_ptr<ProgramIconDirectory> directoryOf(ByteSource& file, ProgramFormat format,
                                                  const ProgramLayout& layout) {
    return format == ProgramFormat::Ne ? readNeIconDirectory(file, layout.newHeader)
                                       : readPeIconDirectory(file, layout.newHeader);
}

std::vector<std::uint8_t> bytesAt(const std::vector<std::uint8_t>& file, ResourceSpan span) {
    return {file.begin() + static_cast<std::ptrdiff_t>(span.offset),
            file.begin() + static_cast<std::ptrdiff_t>(span.offset + span.size)};
}

// The error a damaged file gives, or "" when it reads.
std::string countError(const std::vector<std::uint8_t>& bytes) {
    MemoryBytes file(bytes, "test.exe");
    try {
        countProgramIconGroups(file);
        return "";
    } catch (const FileError& error) {
        return error.what();
    }
}

class EveryFormat : public ::testing::TestWithParam<ProgramFormat> {};

INSTANTIATE_TEST_SUITE_P(Formats, EveryFormat,
                         ::testing::Values(ProgramFormat::Pe32, ProgramFormat::Pe32Plus,
                                           ProgramFormat::Ne),
                         [](const auto& param) {
                             switch (param.param) {
                                 case ProgramFormat::Pe32:
                                     return std::string("Pe32");
                                 case ProgramFormat::Pe32Plus:
                                     return std::string("Pe32Plus");
                                 default:
                                     return std::string("Ne");
                             }
                         });

TEST_P(EveryFormat, GroupsComeInStoredOrderAndLeadToTheirOwnBytes) {
    ProgramLayout layout;
    const std::vector<std::uint8_t> bytes = orderedFile().build(GetParam(), &layout);
    MemoryBytes file(bytes, "ordered.exe");
    EXPECT_EQ(countProgramIconGroups(file), 5u);

    const auto directory = directoryOf(file, GetParam(), layout);
    ASSERT_EQ(directory->groupCount(), 5u);
    const std::uint16_t firstImage[] = {1, 2, 3, 4, 5};
    for (std::size_t i = 0; i < 5; ++i) {
        const ResourceSpan group = directory->group(i);
        EXPECT_EQ(group.offset, layout.groupData[i]) << "group " << i;
        const std::vector<std::uint8_t> groupBytes = bytesAt(bytes, group);
        ASSERT_GE(groupBytes.size(), 20u);
        EXPECT_EQ(le16(groupBytes, 6 + 12), firstImage[i]) << "group " << i;
    }
    for (std::uint16_t id = 1; id <= 5; ++id) {
        const std::optional<ResourceSpan> image = directory->image(id);
        ASSERT_TRUE(image.has_value()) << "image " << id;
        const std::vector<std::uint8_t> imageBytes = bytesAt(bytes, *image);
        ASSERT_GE(imageBytes.size(), 44u);
        EXPECT_EQ(imageBytes[40 + 2], id) << "the red byte of image " << id;  // first pixel, red
    }
    EXPECT_FALSE(directory->image(6).has_value());
    EXPECT_FALSE(directory->image(0).has_value());
}

TEST_P(EveryFormat, AFileWithoutGroupsHasNone) {
    ProgramFileBuilder b;
    b.addImage(1, test::solidIconImage(16, 16, 0xFF0000FFu));
    const std::vector<std::uint8_t> bytes = b.build(GetParam());
    MemoryBytes file(bytes, "images-only.dll");
    EXPECT_EQ(countProgramIconGroups(file), 0u);
}

TEST(ProgramResources, StorageOrderIsKeptEvenWhenTheDirectoryIsUnsorted) {
    ProgramFileBuilder b;
    b.addGroup(named("ZED", 1))
        .addGroup(named("ALPHA", 2))
        .addGroup(numbered(5, 3))
        .addGroup(numbered(2, 4));
    for (std::uint16_t id = 1; id <= 4; ++id)
        b.addImage(id, test::solidIconImage(32, 32, 0xFF000000u));
    ProgramLayout layout;
    const std::vector<std::uint8_t> bytes = b.build(ProgramFormat::Pe32, &layout);
    MemoryBytes file(bytes, "unsorted.exe");
    const auto directory = readPeIconDirectory(file, layout.newHeader);
    ASSERT_EQ(directory->groupCount(), 4u);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(directory->group(i).offset, layout.groupData[i]);
}

TEST(ProgramResources, TheFirstLanguageStandsForTheGroup) {
    ProgramFileBuilder b;
    b.addGroup(numbered(1, 3)).addSecondLanguage(0, numbered(1, 4));
    b.addImage(3, test::solidIconImage(32, 32, 0xFF000000u))
        .addImage(4, test::solidIconImage(32, 32, 0xFFFFFFFFu));
    ProgramLayout layout;
    const std::vector<std::uint8_t> bytes = b.build(ProgramFormat::Pe32Plus, &layout);
    MemoryBytes file(bytes, "two-languages.dll");
    const auto directory = readPeIconDirectory(file, layout.newHeader);
    ASSERT_EQ(directory->groupCount(), 1u);
    EXPECT_EQ(le16(bytesAt(bytes, directory->group(0)), 6 + 12), 3);
}

TEST(ProgramResources, FilesThatAreNotProgramsAreRefusedByName) {
    // An empty file is named so, in the words every reader uses.
    EXPECT_NE(countError({}).find("\" is empty."), std::string::npos);
    EXPECT_NE(countError(std::vector<std::uint8_t>(10, 'M')).find("too short"), std::string::npos);
    std::vector<std::uint8_t> text(200, 'a');
    EXPECT_NE(countError(text).find("\"MZ\""), std::string::npos);

    std::vector<std::uint8_t> pe = orderedFile().build(ProgramFormat::Pe32);
    test::putU32At(pe, 0x3C, 0x7FFFFFF0u);
    EXPECT_NE(countError(pe).find("no PE or NE header"), std::string::npos);
    test::putU32At(pe, 0x3C, static_cast<std::uint32_t>(pe.size() - 2));
    EXPECT_NE(countError(pe).find("no PE or NE header"), std::string::npos);

    std::vector<std::uint8_t> unknownMagic = orderedFile().build(ProgramFormat::Pe32);
    test::putU16At(unknownMagic, 0x80 + 24, 0x107);
    EXPECT_NE(countError(unknownMagic).find("unknown kind"), std::string::npos);
}

// Each header of a program file cut off inside it names what is missing; in the NE resource
// table a type ID cut in two means the end marker is missing, a whole one a record cut short.
TEST(ProgramResources, HeadersCutShortAreRefusedByName) {
    struct Cut {
        ProgramFormat format;
        std::size_t (*at)(const ProgramLayout&);
        const char* message;
    };
    const Cut cuts[] = {
        {ProgramFormat::Pe32, [](const auto& l) { return l.newHeader + 4 + 10; }, "COFF header"},
        {ProgramFormat::Pe32, [](const auto& l) { return l.newHeader + 24 + 1; },
         "optional header"},
        {ProgramFormat::Pe32, [](const auto& l) { return l.newHeader + 24 + 119; }, "optional"},
        {ProgramFormat::Pe32Plus, [](const auto& l) { return l.newHeader + 24 + 135; }, "optional"},
        {ProgramFormat::Pe32, [](const auto& l) { return l.sectionHeader + 39; }, "section table"},
        {ProgramFormat::Ne, [](const auto& l) { return l.newHeader + 63; }, "the NE header"},
        {ProgramFormat::Ne, [](const auto& l) { return l.resourceStart + 1; }, "cut short"},
        {ProgramFormat::Ne, [](const auto& l) { return l.resourceStart + 70 + 1; }, "end marker"},
        {ProgramFormat::Ne, [](const auto& l) { return l.resourceStart + 70 + 7; }, "cut short"},
    };
    for (const Cut& cut : cuts) {
        ProgramLayout layout;
        std::vector<std::uint8_t> bytes = orderedFile().build(cut.format, &layout);
        bytes.resize(cut.at(layout));
        EXPECT_NE(countError(bytes).find(cut.message), std::string::npos)
            << bytes.size() << ": " << countError(bytes);
    }
}

TEST(ProgramResources, MissingResourceDirectoryMeansNoIcons) {
    ProgramLayout layout;
    std::vector<std::uint8_t> noCount = orderedFile().build(ProgramFormat::Pe32, &layout);
    test::putU32At(noCount, layout.newHeader + 24 + 92,
                   2);  // only export and import directories
    EXPECT_EQ(countError(noCount), "");
    MemoryBytes file(noCount, "x.exe");
    EXPECT_EQ(countProgramIconGroups(file), 0u);

    std::vector<std::uint8_t> shortHeader = orderedFile().build(ProgramFormat::Pe32Plus, &layout);
    test::putU16At(shortHeader, layout.newHeader + 4 + 16,
                   112 + 16);  // ends before the resource entry
    // The section table now starts elsewhere, but it is never needed.
    MemoryBytes shortFile(shortHeader, "x.dll");
    EXPECT_EQ(countProgramIconGroups(shortFile), 0u);
}

TEST(ProgramResources, DamagedPeDirectoriesAreRefused) {
    ProgramLayout layout;
    const std::vector<std::uint8_t> good = orderedFile().build(ProgramFormat::Pe32, &layout);

    auto damaged = [&](auto change) {
        std::vector<std::uint8_t> bytes = good;
        change(bytes);
        return countError(bytes);
    };
    // The resource directory in no section.
    EXPECT_NE(damaged([&](auto& b) {
                  test::putU32At(b, layout.resourceDirectoryEntry, 0x50000);
              }).find("outside every section"),
              std::string::npos);
    // A section whose raw data lies past the end of the file.
    EXPECT_NE(damaged([&](auto& b) {
                  test::putU32At(b, layout.sectionHeader + 20, 0xFFFFFE00u);
              }).find("past the end"),
              std::string::npos);
    // Raw data that ends before the directory does.
    EXPECT_NE(damaged([&](auto& b) {
                  test::putU32At(b, layout.sectionHeader + 16, 8);
              }).find("outside every section"),
              std::string::npos);
    // 65535 sections in a small file.
    EXPECT_NE(damaged([&](auto& b) {
                  test::putU16At(b, layout.newHeader + 6, 0xFFFF);
              }).find("section table"),
              std::string::npos);
    // The group type pointing back at the root, and a type entry that is a leaf.
    EXPECT_NE(damaged([&](auto& b) {
                  test::putU32At(b, layout.groupTypeEntry + 4, 0x80000000u);
              }).find("loops back"),
              std::string::npos);
    EXPECT_NE(damaged([&](auto& b) {
                  test::putU32At(b, layout.groupTypeEntry + 4, 0x10);
              }).find("not a directory"),
              std::string::npos);
    // A root claiming 65535 + 65535 entries.
    EXPECT_NE(damaged([&](auto& b) {
                  test::putU16At(b, layout.resourceStart + 12, 0xFFFF);
                  test::putU16At(b, layout.resourceStart + 14, 0xFFFF);
              }).find("outside every section"),
              std::string::npos);
}

TEST(ProgramResources, DamagedPeLeavesAreRefusedWhenAskedFor) {
    ProgramLayout layout;
    const std::vector<std::uint8_t> good = orderedFile().build(ProgramFormat::Pe32Plus, &layout);
    auto groupError = [&](auto change) -> std::string {
        std::vector<std::uint8_t> bytes = good;
        change(bytes);
        MemoryBytes file(bytes, "x.dll");
        const auto directory = readPeIconDirectory(file, layout.newHeader);
        EXPECT_EQ(directory->groupCount(), 5u);  // counting needs no leaf
        try {
            directory->group(0);
            return "";
        } catch (const FileError& error) {
            return error.what();
        }
    };
    EXPECT_EQ(groupError([](auto&) {}), "");
    EXPECT_NE(groupError([&](auto& b) {
                  test::putU32At(b, layout.groupDataEntry[0], 0x7FFFFFF0u);
              }).find("outside every section"),
              std::string::npos);
    EXPECT_NE(groupError([&](auto& b) {
                  test::putU32At(b, layout.groupDataEntry[0] + 4, 0xFFFFFFF0u);
              }).find("claims"),
              std::string::npos);
    EXPECT_NE(groupError([&](auto& b) {
                  test::putU32At(b, layout.groupDataEntry[0] + 4, 0x100000);
              }).find("outside every section"),
              std::string::npos);
    // The group's entry pointing back at the directory that lists it.
    EXPECT_NE(groupError([&](auto& b) {
                  const std::uint32_t names = le32(b, layout.groupTypeEntry + 4) & 0x7FFFFFFFu;
                  test::putU32At(b, layout.resourceStart + names + 16 + 4, 0x80000000u | names);
              }).find("loops back"),
              std::string::npos);
    // The language entry pointing at a directory again: a fourth level.
    EXPECT_NE(groupError([&](auto& b) {
                  const std::size_t languages = layout.groupDataEntry[0] - 16 - 8;
                  test::putU32At(b, languages + 16 + 4, 0x80000000u | 0x10);
              }).find("deeper than three levels"),
              std::string::npos);
}

TEST(ProgramResources, OverlappingSectionsResolveToTheFirst) {
    // A second section header claiming the same addresses but pointing at garbage: the first
    // section in the table still gives the directory.
    ProgramLayout layout;
    std::vector<std::uint8_t> bytes = orderedFile().build(ProgramFormat::Pe32, &layout);
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(layout.sectionHeader), 40,
                bytes.begin() + static_cast<std::ptrdiff_t>(layout.sectionHeader + 40));
    test::putU32At(bytes, layout.sectionHeader + 40 + 20, 0);  // the DOS header, as raw data
    test::putU16At(bytes, layout.newHeader + 6, 2);
    MemoryBytes file(bytes, "overlap.exe");
    EXPECT_EQ(countProgramIconGroups(file), 5u);
}

TEST(ProgramResources, DamagedNeTablesAreRefused) {
    ProgramLayout layout;
    const std::vector<std::uint8_t> good = orderedFile().build(ProgramFormat::Ne, &layout);
    EXPECT_EQ(countError(good), "");
    auto damaged = [&](auto change) {
        std::vector<std::uint8_t> bytes = good;
        change(bytes);
        return countError(bytes);
    };
    EXPECT_NE(damaged([&](auto& b) {
                  test::putU16At(b, layout.resourceStart, 40);
              }).find("alignment shift"),
              std::string::npos);
    EXPECT_NE(damaged([&](auto& b) {
                  test::putU16At(b, layout.resourceStart + 2 + 2, 0xFFFF);
              }).find("more resources"),
              std::string::npos);
    EXPECT_NE(damaged([&](auto& b) {
                  test::putU16At(b, layout.newHeader + 0x24, 0xFFF0);
              }).find("past the end"),
              std::string::npos);
    // A table cut off before its end marker.
    EXPECT_NE(damaged([&](auto& b) {
                  b.resize(layout.resourceStart + 2 + 8 + 12 * 5);
              }).find("end marker"),
              std::string::npos);
}

TEST(ProgramResources, NeResourcesPastTheEndAreRefusedAndPaddingIsClipped) {
    ProgramLayout layout;
    std::vector<std::uint8_t> bytes = orderedFile().build(ProgramFormat::Ne, &layout);
    // The last resource's padded length runs past the end of an unpadded file.
    bytes.resize(layout.imageData.back() + 100);
    {
        MemoryBytes file(bytes, "short.exe");
        const auto directory = readNeIconDirectory(file, layout.newHeader);
        const std::optional<ResourceSpan> image = directory->image(5);
        ASSERT_TRUE(image.has_value());
        EXPECT_EQ(image->offset + image->size, bytes.size());
    }
    test::putU16At(bytes, layout.groupDataEntry[0], 0xFFFF);
    MemoryBytes file(bytes, "short.exe");
    const auto directory = readNeIconDirectory(file, layout.newHeader);
    EXPECT_THROW(directory->group(0), FileError);
    EXPECT_NO_THROW(directory->group(1));
}

}  // namespace
}  // namespace mosaikon
