#pragma once

#include <cstddef>
#include <cstdint>

#include "ByteSource.h"
#include "Picture.h"

namespace mosaikon {

// How many icon groups the program file (PE32, PE32+ or 16-bit NE) in `file` holds.
// Throws FileError when it is not a program file or its resources cannot be read.
std::size_t countProgramIconGroups(ByteSource& file);

// The image a 32 × 32 request gets from icon group `index` of the program file in `file`,
// groups counted from 0 in the order the resource directory stores them. An index past the
// last group takes the first group and becomes 0. Throws FileError when the file holds no icon
// group or the chosen group or image cannot be read.
Picture readProgramIcon(ByteSource& file, std::uint16_t& index);

}  // namespace mosaikon
