// Feeds arbitrary bytes from memory to the PNG reader, alone and as the one image of an icon
// file, paints each result into the 321 × 321 view as opening a file does, and samples a few
// rows one at a time, so a picture decoded as it is drawn is read through as well.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "ByteSource.h"
#include "FileError.h"
#include "PictureBox.h"
#include "PictureFiles.h"

namespace {

void openAndPaint(std::span<const std::uint8_t> bytes, const char* name) {
    try {
        const mosaikon::Picture picture =
            mosaikon::readPicture(std::make_unique<mosaikon::MemoryBytes>(bytes, name));
        mosaikon::PictureBox view(319, 319, mosaikon::colours::kWhite);
        view.PaintPicture(picture, 0, 0, 321, 321);
        const int columns[] = {0, picture.width() / 2, picture.width() - 1};
        mosaikon::Pixel out[3];
        for (int y = 0; y < picture.height() && y < 4; ++y) {
            picture.source()->sampleRow(y, columns, out);
        }
    } catch (const mosaikon::FileError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> png(data, size);
    openAndPaint(png, "fuzz.png");
    // An icon directory of one 32 × 32 entry whose image is these bytes.
    std::vector<std::uint8_t> icon = {0, 0, 1, 0, 1, 0, 32, 32, 0, 0, 1, 0, 32, 0};
    for (int shift = 0; shift < 32; shift += 8) {
        icon.push_back(static_cast<std::uint8_t>(size >> shift));
    }
    icon.insert(icon.end(), {22, 0, 0, 0});
    icon.insert(icon.end(), png.begin(), png.end());
    openAndPaint(icon, "fuzz.ico");
    return 0;
}
