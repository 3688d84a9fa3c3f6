#include "ProgramIconReader.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "FileError.h"
#include "icon/IconChoice.h"
#include "icon/IconDirectory.h"
#include "icon/IconImage.h"
#include "program/ProgramIconDirectory.h"

namespace mosaikon {

namespace {

// Enough of an image resource for its own header: a PNG signature and header chunk, or the
// largest bitmap header with its colour masks.
constexpr std::uint64_t kImageHeaderBytes = 1024;

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
        readRange(file, groupSpan.offset, groupSpan.size, kMaxIconGroupBytes, "an icon group");
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
