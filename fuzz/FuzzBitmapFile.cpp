// Feeds arbitrary bytes to the bitmap reader as a file and samples every row of the result, so a
// file-backed picture is read through as well.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "FileError.h"
#include "PictureFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path =
        "/tmp/mosaikon-fuzz-bitmap-" + std::to_string(getpid()) + ".bmp";
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    try {
        const mosaikon::Picture picture = mosaikon::LoadPicture(path);
        // Corners and the centre of each row, the way drawing asks for them.
        const int columns[] = {0, picture.width() / 2, picture.width() - 1};
        mosaikon::Pixel out[3];
        for (int y = 0; y < picture.height() && y < 4096; ++y) {
            picture.source()->sampleRow(y, columns, out);
        }
    } catch (const mosaikon::FileError&) {
    }
    return 0;
}
