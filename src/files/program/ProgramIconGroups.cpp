// Every icon group of a program file: described for a listing, and rebuilt as an icon file.
#include "ProgramIconGroups.h"

#include <algorithm>
#include <memory>

#include "FileError.h"
#include "bytes/FieldWriter.h"
#include "icon/IconDirectory.h"
#include "icon/IconImage.h"
#include "png/PngImage.h"
#include "program/ProgramIconDirectory.h"

namespace mosaikon {

namespace {

// Real icon groups hold a few hundred KiB; a rebuilt icon file never holds more than this.
constexpr std::uint64_t kMaxGroupImageBytes = 64u << 20;

std::vector<std::uint8_t> readGroupBytes(ProgramIconDirectory& directory, ByteSource& file,
                                         std::size_t index) {
    const ResourceSpan span = directory.group(index);
    return readRange(file, span.offset, span.size, kMaxIconGroupBytes, "an icon group");
}

IconGroupImage describeImage(ProgramIconDirectory& directory, ByteSource& file,
                             const IconGroupEntry& entry) {
    IconGroupImage image;
    image.width = entry.image.widthInPixels();
    image.height = entry.image.heightInPixels();
    image.colourCount = entry.image.colourCount;
    image.planes = entry.image.planes;
    image.bitCount = entry.image.bitCount;
    image.bytesInGroup = entry.image.bytesInResource;
    image.imageId = entry.imageId;
    if (const std::optional<ResourceSpan> span = directory.image(entry.imageId)) {
        image.bytesInFile = span->size;
        // The signature is the first eight bytes; no more of the image is read here.
        image.png =
            hasPngSignature(readUpTo(file, span->offset, std::min<std::uint64_t>(span->size, 8)));
    }
    return image;
}

}  // namespace

struct ProgramIconGroups::SoundGroup {
    std::vector<IconGroupEntry> entries;
    std::vector<std::vector<std::uint8_t>> images;
};

ProgramIconGroups::ProgramIconGroups(ByteSource& file)
    : m_file(file), m_directory(readProgramIconDirectory(file)) {}

ProgramIconGroups::~ProgramIconGroups() = default;

const char* ProgramIconGroups::format() const { return m_directory->format(); }

std::size_t ProgramIconGroups::count() const { return m_directory->groupCount(); }

ResourceName ProgramIconGroups::name(std::size_t index) { return m_directory->groupName(index); }

IconGroupDescription ProgramIconGroups::describe(std::size_t index) {
    IconGroupDescription group;
    try {
        group.name = m_directory->groupName(index);
        const std::vector<std::uint8_t> bytes = readGroupBytes(*m_directory, m_file, index);
        for (const IconGroupEntry& entry : parseIconGroup(bytes, m_file.name())) {
            group.images.push_back(describeImage(*m_directory, m_file, entry));
        }
        static_cast<void>(soundGroup(bytes));
    } catch (const FileError& problem) {
        group.problem = problem;
    }
    return group;
}

ProgramIconGroups::SoundGroup ProgramIconGroups::soundGroup(
    std::span<const std::uint8_t> groupBytes) {
    SoundGroup group{parseIconGroup(groupBytes, m_file.name()), {}};
    // A count the group's bytes cannot hold would be written as a different directory.
    const std::uint16_t listed = parseIconDirectoryHeader(groupBytes)->count;
    if (listed != group.entries.size()) {
        throw FileError(m_file.name(), "is damaged: an icon group lists " + std::to_string(listed) +
                                           " images but holds " +
                                           std::to_string(group.entries.size()) + ".");
    }
    group.images.reserve(group.entries.size());
    std::uint64_t total = 0;
    for (const IconGroupEntry& entry : group.entries) {
        const std::optional<ResourceSpan> span = m_directory->image(entry.imageId);
        if (!span) {
            throw FileError(m_file.name(), "is damaged: an icon group refers to image " +
                                               std::to_string(entry.imageId) +
                                               ", which the file does not contain.");
        }
        // Where the file gives the length only in alignment units, the group's own count says
        // where the image ends.
        const std::uint32_t length = span->padded && entry.image.bytesInResource <= span->size
                                         ? entry.image.bytesInResource
                                         : span->size;
        // Entries may name one large image again and again; what a group may add up to is
        // bounded, so memory is bounded whatever the group lists.
        total += length;
        if (total > kMaxGroupImageBytes) {
            throw FileError(m_file.name(),
                            "is damaged: an icon group's images add up to more "
                            "than " +
                                std::to_string(kMaxGroupImageBytes >> 20) + " MiB.");
        }
        group.images.push_back(
            readRange(m_file, span->offset, length, kMaxResourceBytes, "an icon image"));
        // An image no reader can take apart is not passed on as an icon.
        static_cast<void>(describeIconImage(group.images.back(), m_file.name()));
    }
    return group;
}

std::vector<std::uint8_t> ProgramIconGroups::iconFile(std::size_t index) {
    const SoundGroup group = soundGroup(readGroupBytes(*m_directory, m_file, index));
    const std::vector<IconGroupEntry>& entries = group.entries;
    const std::vector<std::vector<std::uint8_t>>& images = group.images;

    // Offsets are 32-bit; 65535 images of at most 16 MiB could pass that, so it is checked.
    std::vector<std::uint8_t> out;
    putU16(out, 0);
    putU16(out, 1);
    putU16(out, static_cast<std::uint16_t>(entries.size()));
    std::uint64_t offset = IconDirectoryHeader::kSize + entries.size() * IconFileEntry::kSize;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const IconEntryDescription& image = entries[i].image;
        if (offset > 0xFFFFFFFFu) {
            throw FileError(m_file.name(), "has an icon group too large for one icon file.");
        }
        out.insert(out.end(), {image.width, image.height, image.colourCount, image.reserved});
        putU16(out, image.planes);
        putU16(out, image.bitCount);
        putU32(out, static_cast<std::uint32_t>(images[i].size()));
        putU32(out, static_cast<std::uint32_t>(offset));
        offset += images[i].size();
    }
    for (const std::vector<std::uint8_t>& image : images) {
        out.insert(out.end(), image.begin(), image.end());
    }
    return out;
}

}  // namespace mosaikon
