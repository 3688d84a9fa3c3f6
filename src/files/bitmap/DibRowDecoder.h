#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "Picture.h"
#include "bitmap/DibFormat.h"

namespace mosaikon {

// Turns the stored bytes of one row into pixels. Indices past the end of a short palette come out
// black, so a bad index can never read outside the palette.
class DibRowDecoder {
public:
    DibRowDecoder(const DibHeader& header, std::vector<Pixel> palette, DibUse use);

    // The pixel in column `x` of a row of which `bytes` holds the part starting at byte
    // `firstByte`; that part must include the bytes of column x.
    Pixel pixel(std::span<const std::uint8_t> bytes, std::uint64_t firstByte, int x) const;
    // Where column `column` lies in a stored row: its first byte, and the byte just after its
    // last; the bytes of columns a to b (a ≤ b) are [firstByteOf(a), endByteOf(b)).
    std::uint64_t firstByteOf(int column) const;
    std::uint64_t endByteOf(int column) const;
    // A whole stored row into `out` (width pixels).
    void decodeRow(std::span<const std::uint8_t> row, std::span<Pixel> out) const;

private:
    struct Channel {
        std::uint32_t mask = 0;
        int shift = 0;
        int bits = 0;
        std::uint8_t scale(std::uint32_t value) const;
    };
    Pixel fromMasks(std::uint32_t value) const;

    int m_bitCount;
    bool m_alphaFromFourthByte;
    std::vector<Pixel> m_palette;
    std::array<Channel, 3> m_channels{};
};

}  // namespace mosaikon
