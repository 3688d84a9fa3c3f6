// Every icon group of a program file, rebuilt as an icon file: compared byte for byte with the
// file assembled here from what the builder stored, in each program format.
#include <gtest/gtest.h>

#include "ByteSource.h"
#include "FileError.h"
#include "ProgramFileBuilder.h"
#include "ProgramIconGroups.h"

namespace mosaikon {
namespace {

using test::GroupEntry;
using test::GroupResource;
using test::ProgramFileBuilder;
using test::ProgramFormat;

void putLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// The icon file for `entries`, put together from the group's fields and the images' bytes the
// way icon files are laid out: header, 16-byte entries, then the images in entry order.
std::vector<std::uint8_t> assembled(
    const std::vector<GroupEntry>& entries,
    const std::vector<std::pair<std::uint16_t, std::vector<std::uint8_t>>>& images) {
    std::vector<std::uint8_t> out;
    putLe(out, 0, 2);
    putLe(out, 1, 2);
    putLe(out, static_cast<std::uint32_t>(entries.size()), 2);
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(entries.size());
    std::vector<std::uint8_t> data;
    for (const GroupEntry& entry : entries) {
        const auto& image = std::find_if(images.begin(), images.end(), [&](const auto& stored) {
                                return stored.first == entry.imageId;
                            })->second;
        out.insert(out.end(), {static_cast<std::uint8_t>(entry.width & 0xFF),
                               static_cast<std::uint8_t>(entry.height & 0xFF),
                               static_cast<std::uint8_t>(entry.colourCount), 0});
        putLe(out, 1, 2);
        putLe(out, static_cast<std::uint32_t>(entry.bitCount), 2);
        putLe(out, static_cast<std::uint32_t>(image.size()), 4);
        putLe(out, offset, 4);
        offset += static_cast<std::uint32_t>(image.size());
        data.insert(data.end(), image.begin(), image.end());
    }
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

TEST(ProgramIconGroups, EachGroupRebuildsAsTheIconFileOfItsDirectoryAndImagesInEveryFormat) {
    const std::vector<std::pair<std::uint16_t, std::vector<std::uint8_t>>> images = {
        {1, test::solidIconImage(16, 16, 0xFF112233u)},
        {2, test::solidIconImage(32, 32, 0xFF445566u)},
        {3, test::solidIconImage(48, 48, 0x80778899u)},
        {9, test::solidIconImage(256, 256, 0xFFAABBCCu)}};
    std::vector<GroupResource> groups = {
        {"MAIN", 0, {{16, 16, 32, 1}, {32, 32, 32, 2}, {48, 48, 32, 3}, {256, 256, 32, 9}}, {}},
        {"UP/../Out", 0, {{32, 32, 32, 2}}, {}},
        {std::nullopt, 7, {{48, 48, 8, 3, 0}, {16, 16, 4, 1, 16}}, {}}};
    // Each entry gives its image's true length, which is what NE files need to cut the padding
    // of their last alignment unit.
    for (GroupResource& group : groups) {
        for (GroupEntry& entry : group.entries) {
            entry.bytesInResource = static_cast<std::uint32_t>(
                std::find_if(images.begin(), images.end(), [&](const auto& stored) {
                    return stored.first == entry.imageId;
                })->second.size());
        }
    }
    for (const ProgramFormat format :
         {ProgramFormat::Pe32, ProgramFormat::Pe32Plus, ProgramFormat::Ne}) {
        ProgramFileBuilder builder;
        for (const GroupResource& group : groups) builder.addGroup(group);
        for (const auto& [id, bytes] : images) builder.addImage(id, bytes);
        const std::vector<std::uint8_t> bytes = builder.build(format);
        MemoryBytes file(bytes, "test.dll");
        ProgramIconGroups read(file);
        EXPECT_STREQ(read.format(), format == ProgramFormat::Ne         ? "NE"
                                    : format == ProgramFormat::Pe32Plus ? "PE32+"
                                                                        : "PE32");
        ASSERT_EQ(read.count(), groups.size());
        for (std::size_t i = 0; i < groups.size(); ++i) {
            SCOPED_TRACE(std::string(read.format()) + " group " + std::to_string(i));
            const ResourceName name = read.name(i);
            EXPECT_EQ(name.text, groups[i].name);
            EXPECT_EQ(name.number, groups[i].name ? 0 : groups[i].id);
            EXPECT_EQ(read.iconFile(i), assembled(groups[i].entries, images));
            const IconGroupDescription description = read.describe(i);
            EXPECT_FALSE(description.problem.has_value());
            ASSERT_EQ(description.images.size(), groups[i].entries.size());
            EXPECT_EQ(description.images[0].width, groups[i].entries[0].width);
        }
    }
}

TEST(ProgramIconGroups, AGroupNamingAMissingImageIsDescribedAsDamagedAndNotRebuilt) {
    ProgramFileBuilder builder;
    builder.addGroup({std::nullopt, 1, {{32, 32, 32, 1}, {16, 16, 32, 5}}, {}})
        .addGroup({std::nullopt, 2, {{32, 32, 32, 1}}, {}})
        .addImage(1, test::solidIconImage(32, 32, 0xFF000000u));
    for (const ProgramFormat format : {ProgramFormat::Pe32, ProgramFormat::Ne}) {
        const std::vector<std::uint8_t> bytes = builder.build(format);
        MemoryBytes file(bytes, "test.exe");
        ProgramIconGroups read(file);
        const IconGroupDescription damaged = read.describe(0);
        ASSERT_TRUE(damaged.problem.has_value());
        EXPECT_NE(damaged.problem->problem().find("image 5"), std::string::npos)
            << damaged.problem->problem();
        EXPECT_FALSE(damaged.images[1].bytesInFile.has_value());
        EXPECT_THROW(read.iconFile(0), FileError);
        EXPECT_NO_THROW(read.iconFile(1));
    }
}

TEST(ProgramIconGroups, AGroupNamingOneImageOverAndOverIsRefusedOnceItsImagesPassTheBound) {
    // 65535 entries naming the same 4 KiB image would rebuild as a 280 MB icon file.
    ProgramFileBuilder builder;
    builder.addGroup({std::nullopt, 1, std::vector<GroupEntry>(0xFFFF, {32, 32, 32, 1}), {}})
        .addImage(1, test::solidIconImage(32, 32, 0xFF000000u));
    const std::vector<std::uint8_t> bytes = builder.build(ProgramFormat::Pe32);
    MemoryBytes file(bytes, "test.dll");
    ProgramIconGroups read(file);
    try {
        static_cast<void>(read.iconFile(0));
        ADD_FAILURE() << "the group was rebuilt";
    } catch (const FileError& error) {
        EXPECT_NE(error.problem().find("add up"), std::string::npos) << error.what();
    }
    const IconGroupDescription described = read.describe(0);
    ASSERT_TRUE(described.problem.has_value());
    EXPECT_NE(described.problem->problem().find("add up"), std::string::npos);
}

}  // namespace
}  // namespace mosaikon
