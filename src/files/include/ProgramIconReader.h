#pragma once

#include <cstddef>
#include <cstdint>

#include "ByteSource.h"
#include "Picture.h"

namespace mosaikon {

// How many icon groups the program file (PE32, PE32+ or 16-bit NE) in `file` holds.
// Throws FileError when it is not a program file or its resources cannot be read.
std::size_t countProgramIconGroups(ByteSource& file);

// The icon group Extract Icon asks for: the second, counted from 0.
inline constexpr std::uint16_t kExtractIconGroup = 1;

// Which image a request for group `group` takes: the group used (a number past the last group
// takes the first, 0) and the image's place in that group's directory.
struct ProgramIconChoice {
    std::uint16_t group = 0;
    std::size_t image = 0;
};

// An icon taken out of a program file, with the number of the group it came from.
struct ProgramIcon {
    Picture picture;
    std::uint16_t group = 0;
};

// The image a 32 × 32 request gets from icon group `group` of the program file in `file`,
// groups counted from 0 in the order the resource directory stores them. A number past the
// last group takes the first group, 0. A group entry that gives no depth is ranked by the depth
// its image's own header gives. Throws FileError when the file holds no icon group or the
// chosen group or image cannot be read.
ProgramIcon readProgramIcon(ByteSource& file, std::uint16_t group);

// The same for a `side` × `side` request: the image of that group closest to that size.
ProgramIcon readProgramIconForSide(ByteSource& file, std::uint16_t group, int side);

// The choice readProgramIcon makes, without decoding the image. Throws FileError when the file
// holds no icon group or the chosen group cannot be read.
ProgramIconChoice chooseProgramIcon(ByteSource& file, std::uint16_t group);

}  // namespace mosaikon
