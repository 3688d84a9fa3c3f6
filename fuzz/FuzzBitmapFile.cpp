// Feeds arbitrary bytes from memory to the bitmap reader, paints the result into the 321 × 321
// view as opening a bitmap does, and samples rows of it, so a file-backed picture is read
// through as well.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "ByteSource.h"
#include "FileError.h"
#include "PictureBox.h"
#include "PictureFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const mosaikon::Picture picture =
            mosaikon::readPicture(std::make_unique<mosaikon::MemoryBytes>(
                std::span<const std::uint8_t>(data, size), "fuzz.bmp"));
        mosaikon::PictureBox view(319, 319, mosaikon::colours::kWhite);
        view.PaintPicture(picture, 0, 0, 321, 321);
        // Corners and the centre of the first rows, asked for one row at a time as a caller
        // that did not prepare them would.
        const int columns[] = {0, picture.width() / 2, picture.width() - 1};
        mosaikon::Pixel out[3];
        for (int y = 0; y < picture.height() && y < 64; ++y) {
            picture.source()->sampleRow(y, columns, out);
        }
    } catch (const mosaikon::FileError&) {
    }
    return 0;
}
