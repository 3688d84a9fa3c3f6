#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "ByteSource.h"
#include "FileError.h"
#include "Picture.h"

namespace mosaikon {

// What a person chooses from when a file holds several icons: the images of an icon or cursor
// file, or the icon groups of a program file, each with a picture to show. Reading them treats
// the file as hostile, as every reader does: a damaged image or group is listed with what is
// wrong with it, and at most kMostChoices are read.
inline constexpr std::size_t kMostChoices = 256;

struct ChoosableImage {
    int width = 0;
    int height = 0;
    int bitCount = 0;  // 0 when neither the image nor its entry says
    bool png = false;
    Picture picture;  // empty when the image cannot be read
    std::optional<FileError> problem;
};

struct IconFileImages {
    std::vector<ChoosableImage> images;  // in the file's order
    std::size_t opened = 0;              // the image Open Icon takes (a 32 × 32 request's)
};

// Throws FileError when `file` is not an icon or cursor file or its directory is cut short.
IconFileImages readIconFileImages(ByteSource& file);

// Image `index` of the icon or cursor file in `file`. Throws FileError.
Picture readIconFileImage(ByteSource& file, std::size_t index);

struct ChoosableGroup {
    std::string name;  // "#7" for a group known by number, else its own name
    // The sizes its images declare, as "16 × 16, 32 bits" texts, in the group's order.
    std::vector<std::string> sizes;
    Picture picture;  // the image a 32 × 32 request gets, empty when the group cannot be read
    std::optional<FileError> problem;
};

// The icon groups of a program file in the order the editor counts them (the index Extract Icon
// asks for). Throws FileError when `file` is not a program file or its resources cannot be read
// at all; a program without icons gives none.
std::vector<ChoosableGroup> readProgramIconGroups(ByteSource& file);

}  // namespace mosaikon
