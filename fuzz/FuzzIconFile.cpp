// Feeds arbitrary bytes from memory to the icon and cursor reader, and to the single-image
// decoder.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "ByteSource.h"
#include "FileError.h"
#include "PictureFiles.h"
#include "icon/IconImage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    try {
        const mosaikon::Picture picture =
            mosaikon::readPicture(std::make_unique<mosaikon::MemoryBytes>(bytes, "fuzz.ico"));
        (void)picture.allPixels();
    } catch (const mosaikon::FileError&) {
    }
    try {
        (void)mosaikon::decodeIconImage(bytes, "fuzz");
    } catch (const mosaikon::FileError&) {
    }
    return 0;
}
