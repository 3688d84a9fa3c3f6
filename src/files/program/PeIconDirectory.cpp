// The resource directory of PE32 and PE32+ files, read for the icon groups and images only.
// Layouts follow the Microsoft "PE Format" document (PE/COFF): "COFF File Header",
// "Optional Header Data Directories", "Section Table" and "The .rsrc Section".
#include <algorithm>
#include <optional>
#include <span>
#include <vector>

#include "FileError.h"
#include "bytes/FieldReader.h"
#include "program/ProgramIconDirectory.h"

namespace mosaikon {

namespace {

// COFF File Header (Object and Image).
struct CoffHeader {
    static constexpr std::size_t kSize = 20;
    std::uint16_t numberOfSections = 0;
    std::uint16_t sizeOfOptionalHeader = 0;
};

std::optional<CoffHeader> parseCoffHeader(std::span<const std::uint8_t> bytes) {
    return parseFields<CoffHeader>(bytes, [](FieldReader& in, CoffHeader& header) {
        in.skip(2);  // Machine
        header.numberOfSections = in.u16();
        in.skip(12);  // TimeDateStamp, PointerToSymbolTable, NumberOfSymbols
        header.sizeOfOptionalHeader = in.u16();
        in.skip(2);  // Characteristics
    });
}

// Optional Header, from its magic to the resource table's entry among the data directories.
// PE32 and PE32+ differ in the width of some fields in front of the directories, so the magic,
// read on its own first, says where NumberOfRvaAndSizes and the directories lie.
struct OptionalHeaderMagic {
    static constexpr std::size_t kSize = 2;
    std::uint16_t magic = 0;
};

struct OptionalHeaderLayout {
    std::uint16_t magic = 0;
    std::size_t directoryCountOffset = 0;  // of NumberOfRvaAndSizes; the directories follow it
};
constexpr OptionalHeaderLayout kPe32{0x10B, 92};
constexpr OptionalHeaderLayout kPe32Plus{0x20B, 108};
constexpr std::size_t kDataDirectorySize = 8;
// The export and import tables come first, then the resource table.
constexpr std::uint32_t kResourceDirectoryIndex = 2;

struct OptionalHeader {
    static constexpr std::size_t sizeFor(const OptionalHeaderLayout& layout) {
        return layout.directoryCountOffset + 4 + (kResourceDirectoryIndex + 1) * kDataDirectorySize;
    }
    std::uint32_t numberOfRvaAndSizes = 0;
    std::uint32_t resourceTableRva = 0;
    std::uint32_t resourceTableSize = 0;
};

std::optional<OptionalHeaderMagic> parseOptionalHeaderMagic(std::span<const std::uint8_t> bytes) {
    return parseFields<OptionalHeaderMagic>(
        bytes, [](FieldReader& in, OptionalHeaderMagic& header) { header.magic = in.u16(); });
}

std::optional<OptionalHeader> parseOptionalHeader(std::span<const std::uint8_t> bytes,
                                                  const OptionalHeaderLayout& layout) {
    return parseFields<OptionalHeader>(
        bytes, OptionalHeader::sizeFor(layout), [&](FieldReader& in, OptionalHeader& header) {
            in.skip(layout.directoryCountOffset);  // the magic, standard and Windows fields
            header.numberOfRvaAndSizes = in.u32();
            in.skip(kResourceDirectoryIndex * kDataDirectorySize);
            header.resourceTableRva = in.u32();
            header.resourceTableSize = in.u32();
        });
}

// Section Table: one Section Header.
struct SectionHeader {
    static constexpr std::size_t kSize = 40;
    std::uint32_t virtualSize = 0;
    std::uint32_t virtualAddress = 0;
    std::uint32_t sizeOfRawData = 0;
    std::uint32_t pointerToRawData = 0;
};

std::optional<SectionHeader> parseSectionHeader(std::span<const std::uint8_t> bytes) {
    return parseFields<SectionHeader>(bytes, [](FieldReader& in, SectionHeader& section) {
        in.skip(8);  // Name
        section.virtualSize = in.u32();
        section.virtualAddress = in.u32();
        section.sizeOfRawData = in.u32();
        section.pointerToRawData = in.u32();
        in.skip(16);  // relocations and line numbers, their counts, Characteristics
    });
}

// Resource Directory Table: the header in front of every directory's entries.
struct ResourceDirectoryTable {
    static constexpr std::size_t kSize = 16;
    std::uint16_t numberOfNameEntries = 0;
    std::uint16_t numberOfIdEntries = 0;
};

std::optional<ResourceDirectoryTable> parseResourceDirectoryTable(
    std::span<const std::uint8_t> bytes) {
    return parseFields<ResourceDirectoryTable>(
        bytes, [](FieldReader& in, ResourceDirectoryTable& table) {
            in.skip(12);  // Characteristics, TimeDateStamp, MajorVersion, MinorVersion
            table.numberOfNameEntries = in.u16();
            table.numberOfIdEntries = in.u16();
        });
}

// Resource Directory Entries: a name offset or an integer ID, then the offset of a data entry
// or, with the top bit set, of the next level's directory table.
struct ResourceDirectoryEntry {
    static constexpr std::size_t kSize = 8;
    std::uint32_t nameOffsetOrId = 0;
    std::uint32_t dataOrSubdirectoryOffset = 0;
};

std::optional<ResourceDirectoryEntry> parseResourceDirectoryEntry(
    std::span<const std::uint8_t> bytes) {
    return parseFields<ResourceDirectoryEntry>(bytes, [](FieldReader& in, auto& entry) {
        entry.nameOffsetOrId = in.u32();
        entry.dataOrSubdirectoryOffset = in.u32();
    });
}

// Resource Data Entry: where a leaf's bytes are, as an address in the loaded image.
struct ResourceDataEntry {
    static constexpr std::size_t kSize = 16;
    std::uint32_t dataRva = 0;
    std::uint32_t size = 0;
};

std::optional<ResourceDataEntry> parseResourceDataEntry(std::span<const std::uint8_t> bytes) {
    return parseFields<ResourceDataEntry>(bytes, [](FieldReader& in, ResourceDataEntry& data) {
        data.dataRva = in.u32();
        data.size = in.u32();
        in.skip(8);  // Codepage, Reserved
    });
}

constexpr std::uint32_t kHighBit = 0x80000000u;
// The largest directory table: 65535 named and 65535 numbered entries.
constexpr std::uint64_t kMaxDirectoryBytes =
    ResourceDirectoryTable::kSize + 2ull * 0xFFFF * ResourceDirectoryEntry::kSize;

struct ResourceLevel {
    std::uint32_t offset = 0;  // of its directory table, from the start of the resources
    std::vector<ResourceDirectoryEntry> entries;  // named entries first, as stored
};

class PeIconDirectory final : public ProgramIconDirectory {
public:
    PeIconDirectory(ByteSource& file, std::vector<SectionHeader> sections,
                    std::uint32_t resourceRva, const char* format)
        : m_file(file),
          m_sections(std::move(sections)),
          m_resourceRva(resourceRva),
          m_format(format) {
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

    // A named entry points at a Resource Directory String: a count of UTF-16 units, then them.
    ResourceName groupName(std::size_t index) override {
        const std::uint32_t nameOrId = m_groups.entries.at(index).nameOffsetOrId;
        if ((nameOrId & kHighBit) == 0) {
            return ResourceName{std::nullopt, static_cast<std::uint16_t>(nameOrId)};
        }
        const std::uint32_t offset = nameOrId & ~kHighBit;
        const std::vector<std::uint8_t> count = readResource(offset, 2, 2, "an icon group's name");
        const std::size_t units = count[0] | (std::size_t{count[1]} << 8);
        const std::vector<std::uint8_t> raw =
            readResource(std::uint64_t{offset} + 2, 2 * units, 2 * 0xFFFF, "an icon group's name");
        std::vector<std::uint16_t> text(units);
        for (std::size_t i = 0; i < units; ++i) {
            text[i] = static_cast<std::uint16_t>(raw[2 * i] | (raw[2 * i + 1] << 8));
        }
        return ResourceName{utf8FromUtf16(text), 0};
    }

    const char* format() const override { return m_format; }

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

    // Reads the structure at `offset` from the start of the resources and parses it.
    template <typename Structure>
    Structure readResourceStructure(
        std::uint64_t offset, const char* what,
        std::optional<Structure> (*parse)(std::span<const std::uint8_t>)) {
        return parse(readResource(offset, Structure::kSize, Structure::kSize, what)).value();
    }

    ResourceLevel readLevel(std::uint32_t offset, const char* what) {
        const ResourceDirectoryTable table =
            readResourceStructure(offset, what, parseResourceDirectoryTable);
        const std::uint64_t count =
            std::uint64_t{table.numberOfNameEntries} + table.numberOfIdEntries;
        const std::vector<std::uint8_t> raw =
            readResource(std::uint64_t{offset} + ResourceDirectoryTable::kSize,
                         count * ResourceDirectoryEntry::kSize, kMaxDirectoryBytes, what);
        ResourceLevel level;
        level.offset = offset;
        level.entries.reserve(static_cast<std::size_t>(count));
        for (std::size_t i = 0; i < count; ++i) {
            level.entries.push_back(*parseResourceDirectoryEntry(
                std::span(raw).subspan(i * ResourceDirectoryEntry::kSize)));
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
        const ResourceDataEntry data =
            readResourceStructure(first.dataOrSubdirectoryOffset, what, parseResourceDataEntry);
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
    const char* m_format;
    ResourceLevel m_groups;
    ResourceLevel m_images;
    bool m_groupsFound = false;
    bool m_imagesFound = false;
};

}  // namespace

std::unique_ptr<ProgramIconDirectory> readPeIconDirectory(ByteSource& file,
                                                          std::uint64_t peHeaderOffset) {
    const std::uint64_t coffOffset = peHeaderOffset + 4;  // after "PE\0\0"
    const CoffHeader coff = readStructure(file, coffOffset, "the COFF header", parseCoffHeader);
    const std::uint64_t optionalOffset = coffOffset + CoffHeader::kSize;

    const std::uint16_t magic =
        readStructure(file, optionalOffset, "the optional header", parseOptionalHeaderMagic).magic;
    OptionalHeaderLayout layout;
    const char* format = nullptr;
    if (magic == kPe32.magic) {
        layout = kPe32;
        format = "PE32";
    } else if (magic == kPe32Plus.magic) {
        layout = kPe32Plus;
        format = "PE32+";
    } else {
        throw FileError(file.name(),
                        "is not a program file this editor can read: its optional header is of the "
                        "unknown kind " +
                            std::to_string(magic) + ".");
    }
    // The resource entry counts only if the header is long enough to hold it and the count of
    // data directories includes it; otherwise the file simply has no resources.
    const std::size_t optionalSize = OptionalHeader::sizeFor(layout);
    if (coff.sizeOfOptionalHeader < optionalSize) {
        return emptyIconDirectory(format);
    }
    const OptionalHeader optional =
        parseOptionalHeader(
            readRange(file, optionalOffset, optionalSize, optionalSize, "the optional header"),
            layout)
            .value();
    if (optional.numberOfRvaAndSizes <= kResourceDirectoryIndex) {
        return emptyIconDirectory(format);
    }
    if (optional.resourceTableRva == 0 || optional.resourceTableSize == 0) {
        return emptyIconDirectory(format);
    }

    const std::uint64_t sectionTable = optionalOffset + coff.sizeOfOptionalHeader;
    const std::vector<std::uint8_t> rawSections =
        readRange(file, sectionTable, std::uint64_t{coff.numberOfSections} * SectionHeader::kSize,
                  0xFFFFull * SectionHeader::kSize, "the section table");
    std::vector<SectionHeader> sections;
    sections.reserve(coff.numberOfSections);
    for (std::size_t i = 0; i < coff.numberOfSections; ++i) {
        sections.push_back(
            *parseSectionHeader(std::span(rawSections).subspan(i * SectionHeader::kSize)));
    }
    return std::make_unique<PeIconDirectory>(file, std::move(sections), optional.resourceTableRva,
                                             format);
}

}  // namespace mosaikon
