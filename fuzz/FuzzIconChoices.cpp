// Feeds arbitrary bytes to the listings a person chooses an icon from: the images of an icon
// file and the icon groups of a program file. A listing that reads must be usable as it is.
#include <cstddef>
#include <cstdint>

#include "ByteSource.h"
#include "FileError.h"
#include "ImageChoices.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    mosaikon::MemoryBytes file({data, size}, "fuzz");
    try {
        const mosaikon::IconFileImages listed = mosaikon::readIconFileImages(file);
        if (listed.images.size() > mosaikon::kMostChoices) __builtin_trap();
        for (const mosaikon::ChoosableImage& image : listed.images) {
            // An image listed as sound has its picture, at the size it was listed with.
            if (!image.problem && image.picture.isEmpty()) __builtin_trap();
        }
    } catch (const mosaikon::FileError&) {
    }
    try {
        const auto groups = mosaikon::readProgramIconGroups(file);
        if (groups.size() > mosaikon::kMostChoices) __builtin_trap();
    } catch (const mosaikon::FileError&) {
    }
    return 0;
}
