#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ByteSource.h"
#include "ProgramIconGroups.h"

namespace mosaikon {

// Where one resource's bytes lie in the file, already checked to lie inside it.
struct ResourceSpan {
    std::uint64_t offset = 0;
    std::uint32_t size = 0;
    // NE files give lengths in alignment units, so the last unit may hold padding after the
    // resource's own bytes.
    bool padded = false;
};

// The icon resources of a program file as its resource directory lists them: the icon groups
// in stored order, and the single images they refer to by number. Only the directory levels
// are read when it is made; a group or image is located when it is asked for, so a file with
// thousands of resources costs no more than the one that is used.
class ProgramIconDirectory {
public:
    virtual ~ProgramIconDirectory() = default;
    virtual std::size_t groupCount() const = 0;
    // The group at `index` (below groupCount()), in the order the directory stores them.
    virtual ResourceSpan group(std::size_t index) = 0;
    // The image resource numbered `id`, if the file has one.
    virtual std::optional<ResourceSpan> image(std::uint16_t id) = 0;
    // The name of the group at `index`. Throws FileError when a text name cannot be read.
    virtual ResourceName groupName(std::size_t index) = 0;
    // "PE32", "PE32+" or "NE".
    virtual const char* format() const = 0;
};

// Resource types the icon groups and their images are stored under.
inline constexpr std::uint16_t kResourceTypeIcon = 3;
inline constexpr std::uint16_t kResourceTypeGroupIcon = 14;

// Largest resource either reader hands out. A 256 × 256 image with 32 bits per pixel takes
// about 270 KiB; anything near this limit is a damaged size field, not an icon.
inline constexpr std::uint64_t kMaxResourceBytes = 16u << 20;

// Reads the structure at `offset` of `file` and parses it with `parse`; FileError as from
// readRange(), naming `what`, when the structure does not lie inside the file.
template <typename Structure>
Structure readStructure(ByteSource& file, std::uint64_t offset, const char* what,
                        std::optional<Structure> (*parse)(std::span<const std::uint8_t>)) {
    // The bytes are exactly Structure::kSize long, so the parse cannot come back empty.
    return parse(readRange(file, offset, Structure::kSize, Structure::kSize, what)).value();
}

// The directory of a program file of `format` without resources.
std::unique_ptr<ProgramIconDirectory> emptyIconDirectory(const char* format);

// True when `head`, the first bytes of a file, start as a Windows program or library does
// ("MZ", the MS-DOS header's magic): the program format's test of a file's first bytes.
bool looksLikeProgramFile(std::span<const std::uint8_t> head);

// The icon directory of the program file in `file`, PE or NE as its headers say. Throws
// FileError when it is not a program file or its resource directory cannot be read.
std::unique_ptr<ProgramIconDirectory> readProgramIconDirectory(ByteSource& file);

// Text of a name stored as UTF-16 (little-endian) code units, as UTF-8; a unit that is not
// part of a valid character becomes U+FFFD.
std::string utf8FromUtf16(const std::vector<std::uint16_t>& units);

// The resource directory of a PE32 or PE32+ file whose PE header starts at `peHeaderOffset`.
// Throws FileError when the headers or the directory cannot be read.
std::unique_ptr<ProgramIconDirectory> readPeIconDirectory(ByteSource& file,
                                                          std::uint64_t peHeaderOffset);

// The resource table of a 16-bit NE file whose header starts at `neHeaderOffset`.
std::unique_ptr<ProgramIconDirectory> readNeIconDirectory(ByteSource& file,
                                                          std::uint64_t neHeaderOffset);

}  // namespace mosaikon
