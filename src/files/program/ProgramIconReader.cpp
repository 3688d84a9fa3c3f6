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

namespace {

// The group a request for `group` uses, its entries and which of them the request takes.
struct ChosenEntry {
    std::uint16_t group = 0;
    std::vector<IconGroupEntry> entries;
    std::size_t chosen = 0;
};

ChosenEntry chooseEntry(ProgramIconDirectory& directory, ByteSource& file, std::uint16_t group,
                        int side) {
    if (directory.groupCount() == 0) {
        throw FileError(file.name(), "holds no icons.");
    }
    ChosenEntry result;
    result.group = group < directory.groupCount() ? group : std::uint16_t{0};

    const ResourceSpan groupSpan = directory.group(result.group);
    const std::vector<std::uint8_t> groupBytes =
        readRange(file, groupSpan.offset, groupSpan.size, kMaxIconGroupBytes, "an icon group");
    result.entries = parseIconGroup(groupBytes, file.name());

    std::vector<IconCandidate> candidates;
    candidates.reserve(result.entries.size());
    for (const IconGroupEntry& entry : result.entries) {
        int depth = directoryBitCount(entry.image.bitCount, entry.image.colourCount);
        if (depth == 0) {
            depth = depthOfImage(directory, file, entry.imageId);
        }
        candidates.push_back(
            IconCandidate{entry.image.widthInPixels(), entry.image.heightInPixels(), depth});
    }
    result.chosen = chooseIconForSide(candidates, side);
    return result;
}

}  // namespace

ProgramIconChoice chooseProgramIcon(ByteSource& file, std::uint16_t group) {
    const std::unique_ptr<ProgramIconDirectory> directory = readProgramIconDirectory(file);
    const ChosenEntry entry = chooseEntry(*directory, file, group, 32);
    return ProgramIconChoice{entry.group, entry.chosen};
}

ProgramIcon readProgramIcon(ByteSource& file, std::uint16_t group) {
    return readProgramIconForSide(file, group, 32);
}

ProgramIcon readProgramIconForSide(ByteSource& file, std::uint16_t group, int side) {
    const std::unique_ptr<ProgramIconDirectory> directory = readProgramIconDirectory(file);
    const ChosenEntry entry = chooseEntry(*directory, file, group, side);
    const IconGroupEntry& chosen = entry.entries[entry.chosen];
    const std::optional<ResourceSpan> imageSpan = directory->image(chosen.imageId);
    if (!imageSpan) {
        throw FileError(file.name(), "is damaged: an icon group refers to image " +
                                         std::to_string(chosen.imageId) +
                                         ", which the file does not contain.");
    }
    const std::vector<std::uint8_t> imageBytes =
        readRange(file, imageSpan->offset, imageSpan->size, kMaxResourceBytes, "an icon image");
    return ProgramIcon{decodeIconImage(imageBytes, file.name()), entry.group};
}

}  // namespace mosaikon
