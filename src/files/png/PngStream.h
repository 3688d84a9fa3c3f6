#pragma once

#include <cstdint>
#include <span>

#include "ByteSource.h"
#include "bitmap/SampleGrid.h"

namespace mosaikon {

// PNG streams of any size the format allows, read forward through a byte source and decoded row
// by row (an interlaced one pass by pass), keeping only the pixels asked for. Memory is a few
// rows, whatever the height; the time is what the stream's length asks for.

// The widest row decoded: a row and the one above it are held, as the row filters need, so this
// bounds the memory (a few MiB) of any PNG.
inline constexpr std::uint32_t kMaxPngRowPixels = 1u << 18;

// What a PNG stream's header chunk declares, once checked.
struct PngHeader {
    int width = 0;
    int height = 0;
    int bitCount = 0;  // bits per pixel as stored: channels × bit depth
    bool interlaced = false;
};

// The header of the PNG stream that starts at `offset` in `file` and may use the rest of it.
// Throws FileError when it is no PNG header, when the image is wider than kMaxPngRowPixels, or
// when its compressed data could not hold its rows.
PngHeader readPngHeader(ByteSource& file, std::uint64_t offset);

// Decodes that stream to its end and fills `grid` with the pixels it was made for, colour and
// opacity, rows from the top; `grid`'s rows and columns lie inside the image. Throws FileError
// when the stream is damaged or cut short, or when `file` cannot be read.
void decodePngSamples(ByteSource& file, std::uint64_t offset, SampleGrid& grid);

// How many bytes of `bytes` the PNG stream at their start takes, through its last chunk, found
// by its chunk lengths; all of them when it has no end chunk within them.
std::uint64_t pngStreamLength(std::span<const std::uint8_t> bytes);

}  // namespace mosaikon
