// Feeds arbitrary bytes to the icon and cursor reader as a file, and to the single-image decoder.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "FileError.h"
#include "IconImage.h"
#include "PictureFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = "/tmp/mosaikon-fuzz-icon-" + std::to_string(getpid()) + ".ico";
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    try {
        const mosaikon::Picture picture = mosaikon::LoadPicture(path);
        (void)picture.allPixels();
    } catch (const mosaikon::FileError&) {
    }
    try {
        (void)mosaikon::decodeIconImage(std::span(data, size), "fuzz");
    } catch (const mosaikon::FileError&) {
    }
    return 0;
}
