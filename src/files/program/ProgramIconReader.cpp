#include "ProgramIconReader.h"

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "FileError.h"
#include "bytes/FieldReader.h"
#include "icon/IconChoice.h"
#include "icon/IconDirectory.h"
#include "icon/IconImage.h"
#include "program/ProgramIconDirectory.h"

namespace mosaikon {

namespace {

// The MS-DOS header every Windows program starts with; e_lfanew at 0x3C leads to the real
// header (Microsoft "PE Format" document, "MS-DOS Stub (Image Only)").
struct DosHeader {
    static constexpr std::size_t kSize = 64;
    std::array<std::uint8_t, 2> magic{};  // "MZ"
    std::uint32_t newHeaderOffset = 0;    // e_lfanew
};

std::optional<DosHeader> parseDosHeader(std::span<const std::uint8_t> bytes) {
    return parseFields<DosHeader>(bytes, [](FieldReader& in, DosHeader& header) {
        header.magic = in.bytes<2>();
        in.skip(0x3C - 2);  // the fields of MS-DOS itself
        header.newHeaderOffset = in.u32();
    });
}

// The four bytes e_lfanew leads to: "PE\0\0" in front of a PE header ("Signature (Image Only)"),
// or "NE" and the linker version that open an NE header.
struct NewHeaderSignature {
    static constexpr std::size_t kSize = 4;
    std::array<std::uint8_t, 2> letters{};
    std::array<std::uint8_t, 2> following{};
};

std::optional<NewHeaderSignature> parseNewHeaderSignature(std::span<const std::uint8_t> bytes) {
    return parseFields<NewHeaderSignature>(bytes, [](FieldReader& in, NewHeaderSignature& s) {
        s.letters = in.bytes<2>();
        s.following = in.bytes<2>();
    });
}

constexpr std::array<std::uint8_t, 2> kDosMagic{'M', 'Z'};
constexpr std::array<std::uint8_t, 2> kPeLetters{'P', 'E'};
constexpr std::array<std::uint8_t, 2> kPeFollowing{0, 0};
constexpr std::array<std::uint8_t, 2> kNeLetters{'N', 'E'};

constexpr std::uint64_t kMaxGroupBytes =
    IconDirectoryHeader::kSize + 0xFFFFull * IconGroupEntry::kSize;
// Enough of an image resource for its own header: a PNG signature and header chunk, or the
// largest bitmap header with its colour masks.
constexpr std::uint64_t kImageHeaderBytes = 1024;

}  // namespace

std::unique_ptr<ProgramIconDirectory> readProgramIconDirectory(ByteSource& file) {
    if (file.size() < DosHeader::kSize) {
        throw FileError(file.name(), "is not a program file: it is too short.");
    }
    const DosHeader dos = readStructure(file, 0, "the MS-DOS header", parseDosHeader);
    if (dos.magic != kDosMagic) {
        throw FileError(file.name(), "is not a program file: it does not start with \"MZ\".");
    }
    const std::uint32_t newHeader = dos.newHeaderOffset;
    if (newHeader > file.size() || file.size() - newHeader < NewHeaderSignature::kSize) {
        throw FileError(file.name(), "is not a Windows program file: it has no PE or NE header.");
    }
    const NewHeaderSignature signature =
        readStructure(file, newHeader, "the program header", parseNewHeaderSignature);
    if (signature.letters == kPeLetters && signature.following == kPeFollowing) {
        return readPeIconDirectory(file, newHeader);
    }
    if (signature.letters == kNeLetters) {
        return readNeIconDirectory(file, newHeader);
    }
    throw FileError(file.name(), "is not a Windows program file: it has no PE or NE header.");
}

std::uint64_t maxIconGroupBytes() { return kMaxGroupBytes; }

std::vector<IconGroupEntry> parseIconGroup(std::span<const std::uint8_t> bytes,
                                           const std::string& path) {
    const std::optional<IconDirectoryHeader> header = parseIconDirectoryHeader(bytes);
    if (!header) {
        throw FileError(path, "is damaged: an icon group is cut short.");
    }
    // The count may claim more entries than the resource holds; only those inside are used.
    const std::size_t fits = (bytes.size() - IconDirectoryHeader::kSize) / IconGroupEntry::kSize;
    const std::size_t count = std::min<std::size_t>(header->count, fits);
    if (count == 0) {
        throw FileError(path, "is damaged: an icon group lists no images.");
    }
    std::vector<IconGroupEntry> entries;
    entries.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        entries.push_back(*parseIconGroupEntry(
            bytes.subspan(IconDirectoryHeader::kSize + i * IconGroupEntry::kSize)));
    }
    return entries;
}

namespace {

// The depth image resource `id` declares in its own header, for a group entry that gives none;
// 0 when the image is missing or its header unreadable. Such an image then ranks as the best
// depth, so the file is refused if it might be the one asked for.
int depthOfImage(ProgramIconDirectory& directory, ByteSource& file, std::uint16_t id) {
    try {
        const std::optional<ResourceSpan> span = directory.image(id);
        if (!span) {
            return 0;
        }
        const std::vector<std::uint8_t> head =
            readRange(file, span->offset, std::min<std::uint64_t>(span->size, kImageHeaderBytes),
                      kImageHeaderBytes, "an icon image");
        return describeIconImage(head, file.name()).bitCount;
    } catch (const FileError&) {
        return 0;
    }
}

}  // namespace

std::unique_ptr<ProgramIconDirectory> emptyIconDirectory(const char* format) {
    class NoIcons final : public ProgramIconDirectory {
    public:
        explicit NoIcons(const char* format) : m_format(format) {}
        std::size_t groupCount() const override { return 0; }
        ResourceSpan group(std::size_t) override { return {}; }
        std::optional<ResourceSpan> image(std::uint16_t) override { return std::nullopt; }
        ResourceName groupName(std::size_t) override { return {}; }
        const char* format() const override { return m_format; }

    private:
        const char* m_format;
    };
    return std::make_unique<NoIcons>(format);
}

std::size_t countProgramIconGroups(ByteSource& file) {
    return readProgramIconDirectory(file)->groupCount();
}

ProgramIcon readProgramIcon(ByteSource& file, std::uint16_t group) {
    const std::unique_ptr<ProgramIconDirectory> directory = readProgramIconDirectory(file);
    if (directory->groupCount() == 0) {
        throw FileError(file.name(), "holds no icons.");
    }
    const std::uint16_t used = group < directory->groupCount() ? group : std::uint16_t{0};

    const ResourceSpan groupSpan = directory->group(used);
    const std::vector<std::uint8_t> groupBytes =
        readRange(file, groupSpan.offset, groupSpan.size, kMaxGroupBytes, "an icon group");
    const std::vector<IconGroupEntry> entries = parseIconGroup(groupBytes, file.name());

    std::vector<IconCandidate> candidates;
    candidates.reserve(entries.size());
    for (const IconGroupEntry& entry : entries) {
        int depth = directoryBitCount(entry.image.bitCount, entry.image.colourCount);
        if (depth == 0) {
            depth = depthOfImage(*directory, file, entry.imageId);
        }
        candidates.push_back(
            IconCandidate{entry.image.widthInPixels(), entry.image.heightInPixels(), depth});
    }
    const IconGroupEntry& chosen = entries[chooseIconFor32(candidates)];
    const std::optional<ResourceSpan> imageSpan = directory->image(chosen.imageId);
    if (!imageSpan) {
        throw FileError(file.name(), "is damaged: an icon group refers to image " +
                                         std::to_string(chosen.imageId) +
                                         ", which the file does not contain.");
    }
    const std::vector<std::uint8_t> imageBytes =
        readRange(file, imageSpan->offset, imageSpan->size, kMaxResourceBytes, "an icon image");
    return ProgramIcon{decodeIconImage(imageBytes, file.name()), used};
}

}  // namespace mosaikon
