// The resource directory of PE32 and PE32+ files, read for the icon groups and images only.
// Layouts follow the Microsoft "PE Format" document (PE/COFF): "COFF File Header",
// "Optional Header Data Directories", "Section Table" and "The .rsrc Section".
#include <algorithm>
#include <array>
#include <vector>

#include "ByteReader.h"
#include "FileError.h"
#include "ProgramResources.h"

namespace mosaikon {

namespace {

// COFF File Header (Object and Image).
struct CoffHeader {
    std::uint16_t machine;
    std::uint16_t numberOfSections;
    std::uint32_t timeDateStamp;
    std::uint32_t pointerToSymbolTable;
    std::uint32_t numberOfSymbols;
    std::uint16_t sizeOfOptionalHeader;
    std::uint16_t characteristics;
};
static_assert(sizeof(CoffHeader) == 20);

// Section Table: one Section Header.
struct SectionHeader {
    std::array<std::uint8_t, 8> name;
    std::uint32_t virtualSize;
    std::uint32_t virtualAddress;
    std::uint32_t sizeOfRawData;
    std::uint32_t pointerToRawData;
    std::uint32_t pointerToRelocations;
    std::uint32_t pointerToLinenumbers;
    std::uint16_t numberOfRelocations;
    std::uint16_t numberOfLinenumbers;
    std::uint32_t characteristics;
};
static_assert(sizeof(SectionHeader) == 40);

// Resource Directory Table: the header in front of every directory's entries.
struct ResourceDirectoryTable {
    std::uint32_t characteristics;
    std::uint32_t timeDateStamp;
    std::uint16_t majorVersion;
    std::uint16_t minorVersion;
    std::uint16_t numberOfNameEntries;
    std::uint16_t numberOfIdEntries;
};
static_assert(sizeof(ResourceDirectoryTable) == 16);

// Resource Directory Entries: a name offset or an integer ID, then the offset of a data entry
// or, with the top bit set, of the next level's directory table.
struct ResourceDirectoryEntry {
    std::uint32_t nameOffsetOrId;
    std::uint32_t dataOrSubdirectoryOffset;
};
static_assert(sizeof(ResourceDirectoryEntry) == 8);

// Resource Data Entry: where a leaf's bytes are, as an address in the loaded image.
struct ResourceDataEntry {
    std::uint32_t dataRva;
    std::uint32_t size;
    std::uint32_t codepage;
    std::uint32_t reserved;
};
static_assert(sizeof(ResourceDataEntry) == 16);

constexpr std::uint32_t kHighBit = 0x80000000u;
constexpr std::uint16_t kMagicPe32 = 0x10B;
constexpr std::uint16_t kMagicPe32Plus = 0x20B;
// Where NumberOfRvaAndSizes and the data directories start in each optional header.
constexpr std::uint32_t kDirectoryCountPe32 = 92;
constexpr std::uint32_t kDirectoriesPe32 = 96;
constexpr std::uint32_t kDirectoryCountPe32Plus = 108;
constexpr std::uint32_t kDirectoriesPe32Plus = 112;
constexpr std::uint32_t kResourceDirectoryIndex = 2;
// The largest directory table: 65535 named and 65535 numbered entries.
constexpr std::uint64_t kMaxDirectoryBytes =
    sizeof(ResourceDirectoryTable) + 2ull * 0xFFFF * sizeof(ResourceDirectoryEntry);

CoffHeader parseCoffHeader(std::span<const std::uint8_t> b) {
    return {le16(b, 0), le16(b, 2), le32(b, 4), le32(b, 8), le32(b, 12), le16(b, 16), le16(b, 18)};
}

SectionHeader parseSectionHeader(std::span<const std::uint8_t> b) {
    SectionHeader s{};
    std::copy_n(b.begin(), 8, s.name.begin());
    s.virtualSize = le32(b, 8);
    s.virtualAddress = le32(b, 12);
    s.sizeOfRawData = le32(b, 16);
    s.pointerToRawData = le32(b, 20);
    s.pointerToRelocations = le32(b, 24);
    s.pointerToLinenumbers = le32(b, 28);
    s.numberOfRelocations = le16(b, 32);
    s.numberOfLinenumbers = le16(b, 34);
    s.characteristics = le32(b, 36);
    return s;
}

struct ResourceLevel {
    std::uint32_t offset = 0;  // of its directory table, from the start of the resources
    std::vector<ResourceDirectoryEntry> entries;  // named entries first, as stored
};

class PeIconDirectory final : public ProgramIconDirectory {
public:
    PeIconDirectory(ByteSource& file, std::vector<SectionHeader> sections,
                    std::uint32_t resourceRva)
        : m_file(file), m_sections(std::move(sections)), m_resourceRva(resourceRva) {
        const ResourceLevel root = readLevel(0, "the resource directory");
        for (const ResourceDirectoryEntry& type : root.entries) {
            if ((type.nameOffsetOrId & kHighBit) != 0) {
                continue;  // a named resource type; icons are stored under numbered ones
            }
            if (type.nameOffsetOrId == kResourceTypeGroupIcon && !m_groupsFound) {
                m_groups = readTypeLevel(type, "icon groups");
                m_groupsFound = true;
            } else if (type.nameOffsetOrId == kResourceTypeIcon && !m_imagesFound) {
                m_images = readTypeLevel(type, "icon images");
                m_imagesFound = true;
            }
        }
    }

    std::size_t groupCount() const override { return m_groups.entries.size(); }

    ResourceSpan group(std::size_t index) override {
        return leafOf(m_groups, m_groups.entries.at(index), "an icon group");
    }

    std::optional<ResourceSpan> image(std::uint16_t id) override {
        for (const ResourceDirectoryEntry& entry : m_images.entries) {
            if (entry.nameOffsetOrId == id) {
                return leafOf(m_images, entry, "an icon image");
            }
        }
        return std::nullopt;
    }

private:
    [[noreturn]] void fail(const std::string& problem) const {
        throw FileError(m_file.name(), "is damaged: " + problem);
    }

    // The file offset of `length` bytes at `rva`, which must lie in one section's raw data.
    // Sections are searched in table order, so overlapping sections resolve to the first.
    std::uint64_t fileOffsetOf(std::uint64_t rva, std::uint64_t length, const char* what) const {
        for (const SectionHeader& s : m_sections) {
            std::uint64_t extent = s.sizeOfRawData;
            if (s.virtualSize != 0) {
                extent = std::min<std::uint64_t>(extent, s.virtualSize);
            }
            if (rva >= s.virtualAddress && rva - s.virtualAddress < extent &&
                length <= extent - (rva - s.virtualAddress)) {
                return std::uint64_t{s.pointerToRawData} + (rva - s.virtualAddress);
            }
        }
        fail(std::string(what) + " lies outside every section of the file.");
    }

    // Reads `length` bytes at `offset` from the start of the resources.
    std::vector<std::uint8_t> readResource(std::uint64_t offset, std::uint64_t length,
                                           std::uint64_t limit, const char* what) {
        const std::uint64_t rva = std::uint64_t{m_resourceRva} + offset;
        return readRange(m_file, fileOffsetOf(rva, length, what), length, limit, what);
    }

    ResourceLevel readLevel(std::uint32_t offset, const char* what) {
        const std::vector<std::uint8_t> header = readResource(
            offset, sizeof(ResourceDirectoryTable), sizeof(ResourceDirectoryTable), what);
        const std::uint64_t count = std::uint64_t{le16(header, 12)} + le16(header, 14);
        const std::vector<std::uint8_t> raw =
            readResource(std::uint64_t{offset} + sizeof(ResourceDirectoryTable),
                         count * sizeof(ResourceDirectoryEntry), kMaxDirectoryBytes, what);
        ResourceLevel level;
        level.offset = offset;
        level.entries.reserve(static_cast<std::size_t>(count));
        for (std::size_t i = 0; i < count; ++i) {
            level.entries.push_back({le32(raw, i * 8), le32(raw, i * 8 + 4)});
        }
        return level;
    }

    // The second level under a resource type: one entry per group or image.
    ResourceLevel readTypeLevel(const ResourceDirectoryEntry& type, const char* what) {
        if ((type.dataOrSubdirectoryOffset & kHighBit) == 0) {
            fail(std::string("the resource directory's entry for ") + what +
                 " is not a directory.");
        }
        const std::uint32_t offset = type.dataOrSubdirectoryOffset & ~kHighBit;
        if (offset == 0) {
            fail(std::string("the resource directory's entry for ") + what +
                 " loops back to the root.");
        }
        return readLevel(offset, "the resource directory");
    }

    // The bytes of one group or image: its language directory, whose first entry must be a
    // data entry, since a resource directory has exactly three levels.
    ResourceSpan leafOf(const ResourceLevel& parent, const ResourceDirectoryEntry& entry,
                        const char* what) {
        if ((entry.dataOrSubdirectoryOffset & kHighBit) == 0) {
            fail(std::string("the resource directory lists ") + what +
                 " without its language level.");
        }
        const std::uint32_t offset = entry.dataOrSubdirectoryOffset & ~kHighBit;
        if (offset == 0 || offset == parent.offset) {
            fail("the resource directory loops back on itself.");
        }
        const ResourceLevel languages = readLevel(offset, "the resource directory");
        if (languages.entries.empty()) {
            fail(std::string("the resource directory lists ") + what + " with no data.");
        }
        // The first language stands for the resource, whichever languages follow.
        const ResourceDirectoryEntry& first = languages.entries.front();
        if ((first.dataOrSubdirectoryOffset & kHighBit) != 0) {
            fail("the resource directory nests deeper than three levels.");
        }
        const std::vector<std::uint8_t> raw =
            readResource(first.dataOrSubdirectoryOffset, sizeof(ResourceDataEntry),
                         sizeof(ResourceDataEntry), what);
        const ResourceDataEntry data{le32(raw, 0), le32(raw, 4), le32(raw, 8), le32(raw, 12)};
        if (data.size > kMaxResourceBytes) {
            fail(std::string(what) + " claims " + std::to_string(data.size) + " bytes.");
        }
        const std::uint64_t fileOffset = fileOffsetOf(data.dataRva, data.size, what);
        if (fileOffset > m_file.size() || data.size > m_file.size() - fileOffset) {
            fail(std::string(what) + " lies past the end of the file.");
        }
        return {fileOffset, data.size};
    }

    ByteSource& m_file;
    std::vector<SectionHeader> m_sections;
    std::uint32_t m_resourceRva;
    ResourceLevel m_groups;
    ResourceLevel m_images;
    bool m_groupsFound = false;
    bool m_imagesFound = false;
};

}  // namespace

std::unique_ptr<ProgramIconDirectory> readPeIconDirectory(ByteSource& file,
                                                          std::uint64_t peHeaderOffset) {
    const std::uint64_t coffOffset = peHeaderOffset + 4;  // after "PE\0\0"
    const CoffHeader coff = parseCoffHeader(
        readRange(file, coffOffset, sizeof(CoffHeader), sizeof(CoffHeader), "the COFF header"));
    const std::uint64_t optionalOffset = coffOffset + sizeof(CoffHeader);

    const std::vector<std::uint8_t> magicBytes =
        readRange(file, optionalOffset, 2, 2, "the optional header");
    const std::uint16_t magic = le16(magicBytes, 0);
    std::uint32_t countField = 0;
    std::uint32_t directories = 0;
    if (magic == kMagicPe32) {
        countField = kDirectoryCountPe32;
        directories = kDirectoriesPe32;
    } else if (magic == kMagicPe32Plus) {
        countField = kDirectoryCountPe32Plus;
        directories = kDirectoriesPe32Plus;
    } else {
        throw FileError(file.name(),
                        "is not a program file this editor can read: its optional header is of the "
                        "unknown kind " +
                            std::to_string(magic) + ".");
    }
    // The resource entry counts only if the header is long enough to hold it and the count of
    // data directories includes it; otherwise the file simply has no resources.
    const std::uint32_t resourceEntry = directories + kResourceDirectoryIndex * 8;
    if (coff.sizeOfOptionalHeader < resourceEntry + 8) {
        return emptyIconDirectory();
    }
    const std::vector<std::uint8_t> optional = readRange(file, optionalOffset, resourceEntry + 8,
                                                         resourceEntry + 8, "the optional header");
    if (le32(optional, countField) <= kResourceDirectoryIndex) {
        return emptyIconDirectory();
    }
    const std::uint32_t resourceRva = le32(optional, resourceEntry);
    const std::uint32_t resourceSize = le32(optional, resourceEntry + 4);
    if (resourceRva == 0 || resourceSize == 0) {
        return emptyIconDirectory();
    }

    const std::uint64_t sectionTable = optionalOffset + coff.sizeOfOptionalHeader;
    const std::vector<std::uint8_t> rawSections =
        readRange(file, sectionTable, std::uint64_t{coff.numberOfSections} * sizeof(SectionHeader),
                  0xFFFFull * sizeof(SectionHeader), "the section table");
    std::vector<SectionHeader> sections;
    sections.reserve(coff.numberOfSections);
    for (std::size_t i = 0; i < coff.numberOfSections; ++i) {
        sections.push_back(parseSectionHeader(
            std::span(rawSections).subspan(i * sizeof(SectionHeader), sizeof(SectionHeader))));
    }
    return std::make_unique<PeIconDirectory>(file, std::move(sections), resourceRva);
}

}  // namespace mosaikon
