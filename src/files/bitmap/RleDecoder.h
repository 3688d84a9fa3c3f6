#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "ByteSource.h"
#include "bitmap/DibFormat.h"
#include "bitmap/SampleGrid.h"

namespace mosaikon {

// Where a run-length compressed bitmap's stream lies in its file and what it decodes to.
struct RleStream {
    DibHeader header;
    std::vector<Pixel> palette;
    std::uint64_t offset = 0;  // the stream's first byte in the file
    std::uint64_t length = 0;  // how much of the file from there the stream may use
};

// Decodes an RLE8 or RLE4 stream in order, reading it in pieces of at most 64 KiB, and keeps
// only the pixels `grid` was made for (rows from the top). Runs that reach past a row's end
// are cut there; pixels the stream skips with a delta or an early end of bitmap stay black;
// nothing is written outside the grid. Memory is the grid and one piece, whatever the size.
// Throws FileError when the stream ends before its end-of-bitmap mark with rows still
// missing, or when the file cannot be read.
void decodeRle(ByteSource& file, const RleStream& stream, SampleGrid& grid);

}  // namespace mosaikon
