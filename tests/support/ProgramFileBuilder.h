#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Picture.h"

namespace mosaikon::test {

// One image of an icon group as the group's directory describes it.
struct GroupEntry {
    int width = 32;  // 256 is stored as 0
    int height = 32;
    int bitCount = 32;
    std::uint16_t imageId = 1;
    int colourCount = 0;
    std::uint32_t bytesInResource = 40;  // the image's length as the group gives it
};

// An icon group resource: a name or a number, and its entries.
struct GroupResource {
    std::optional<std::string> name;  // ASCII; empty optional: numbered by `id`
    std::uint16_t id = 1;
    std::vector<GroupEntry> entries;
    // When set, stored instead of the directory built from `entries`.
    std::optional<std::vector<std::uint8_t>> rawBytes;
};

// Where the builder put things, so a test can damage one field on purpose.
struct ProgramLayout {
    std::size_t newHeader = 0;                // "PE\0\0" or "NE"
    std::size_t resourceDirectoryEntry = 0;   // PE: the optional header's resource RVA field
    std::size_t sectionHeader = 0;            // PE: the .rsrc section header
    std::size_t resourceStart = 0;            // PE: the .rsrc section; NE: the resource table
    std::size_t groupTypeEntry = 0;           // PE: the root entry of the icon group type
    std::vector<std::size_t> groupData;       // file offset of each group's bytes
    std::vector<std::size_t> groupDataEntry;  // PE: each group's data entry; NE: its NAMEINFO
    std::vector<std::size_t> imageData;       // file offset of each image's bytes, in added order
};

enum class ProgramFormat { Pe32, Pe32Plus, Ne };

// Writes small but well-formed program files holding the icon groups and images a test asks
// for: a PE32 or PE32+ file with one .rsrc section, or a 16-bit NE file with a resource table.
// Groups and images are stored in the order they were added.
class ProgramFileBuilder {
public:
    ProgramFileBuilder& addGroup(GroupResource group);
    ProgramFileBuilder& addImage(std::uint16_t id, std::vector<std::uint8_t> bytes);
    // Adds the same group with a second language after the first (PE only).
    ProgramFileBuilder& addSecondLanguage(std::size_t groupIndex, GroupResource inThatLanguage);

    std::vector<std::uint8_t> build(ProgramFormat format, ProgramLayout* layout = nullptr) const;

private:
    std::vector<std::uint8_t> buildPe(bool plus, ProgramLayout& layout) const;
    std::vector<std::uint8_t> buildNe(ProgramLayout& layout) const;

    std::vector<GroupResource> m_groups;
    std::vector<std::pair<std::size_t, GroupResource>> m_secondLanguages;
    std::vector<std::pair<std::uint16_t, std::vector<std::uint8_t>>> m_images;
};

// The bytes of an icon group directory for `entries`.
std::vector<std::uint8_t> groupDirectoryBytes(const std::vector<GroupEntry>& entries);

// A 32-bit icon image (bitmap header, bottom-up colour rows, AND mask) of one colour.
std::vector<std::uint8_t> solidIconImage(int width, int height, Pixel colour);

// A simple icon image whose pixel (x, y) is `pattern(x, y)`.
std::vector<std::uint8_t> iconImage(int width, int height, Pixel (*pattern)(int x, int y));

void putU16At(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint16_t value);
void putU32At(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value);

}  // namespace mosaikon::test
