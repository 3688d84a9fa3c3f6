#include "bitmap/DibRowDecoder.h"

#include <bit>
#include <cstddef>
#include <utility>

#include "bytes/FieldReader.h"

namespace mosaikon {

std::uint8_t DibRowDecoder::Channel::scale(std::uint32_t value) const {
    if (bits == 0) {
        return 0;
    }
    const std::uint32_t v = (value & mask) >> shift;
    if (bits >= 8) {
        return static_cast<std::uint8_t>(v >> (bits - 8));
    }
    // Bit replication: five bits abcde become abcdeabc, so full intensity stays 255.
    std::uint32_t scaled = 0;
    int have = 0;
    while (have < 8) {
        scaled = (scaled << bits) | v;
        have += bits;
    }
    return static_cast<std::uint8_t>(scaled >> (have - 8));
}

DibRowDecoder::DibRowDecoder(const DibHeader& header, std::vector<Pixel> palette, DibUse use)
    : m_bitCount(header.bitCount),
      m_alphaFromFourthByte(use == DibUse::IconImage && header.bitCount == 32 &&
                            header.compression == DibCompression::Rgb),
      m_palette(std::move(palette)) {
    for (std::size_t i = 0; i < 3; ++i) {
        Channel& channel = m_channels[i];
        channel.mask = header.masks[i];
        if (channel.mask != 0) {
            channel.shift = std::countr_zero(channel.mask);
            // The span from the lowest to the highest set bit; gaps inside a mask count as bits.
            channel.bits = 32 - std::countl_zero(channel.mask) - channel.shift;
        }
    }
}

Pixel DibRowDecoder::fromMasks(std::uint32_t value) const {
    return opaquePixel(Colour::fromRgb(m_channels[0].scale(value), m_channels[1].scale(value),
                                       m_channels[2].scale(value)));
}

std::uint64_t DibRowDecoder::firstByteOf(int column) const {
    return static_cast<std::uint64_t>(column) * static_cast<std::uint64_t>(m_bitCount) / 8;
}

std::uint64_t DibRowDecoder::endByteOf(int column) const {
    return (static_cast<std::uint64_t>(column) + 1) * static_cast<std::uint64_t>(m_bitCount) / 8 +
           (m_bitCount < 8 ? 1 : 0);
}

Pixel DibRowDecoder::pixel(std::span<const std::uint8_t> bytes, std::uint64_t firstByte,
                           int x) const {
    const std::uint64_t bit =
        static_cast<std::uint64_t>(x) * static_cast<std::uint64_t>(m_bitCount);
    // Callers pass the bytes of column x; should they not, the checked reads below give black
    // rather than touch memory outside `bytes`.
    const std::uint64_t at64 = bit / 8 - firstByte;
    const auto at = static_cast<std::size_t>(bit / 8 >= firstByte ? at64 : bytes.size());
    const Pixel black = opaquePixel(colours::kBlack);
    switch (m_bitCount) {
        case 1:
        case 4:
        case 8: {
            const auto byte = bytesAt(bytes, at, 1);
            if (!byte) return black;
            const int shift = 8 - m_bitCount - static_cast<int>(bit % 8);
            const std::size_t index = ((*byte)[0] >> shift) & ((1u << m_bitCount) - 1);
            return index < m_palette.size() ? m_palette[index] : black;
        }
        case 16: {
            const auto field = bytesAt(bytes, at, 2);
            return field ? fromMasks(le16(*field, 0)) : black;
        }
        case 24: {
            const auto bgr = bytesAt(bytes, at, 3);
            return bgr ? opaquePixel(Colour::fromRgb((*bgr)[2], (*bgr)[1], (*bgr)[0])) : black;
        }
        default: {
            const auto field = bytesAt(bytes, at, 4);
            if (!field) return black;
            const std::uint32_t value = le32(*field, 0);
            const Pixel colour = fromMasks(value);
            return m_alphaFromFourthByte
                       ? makePixel(pixelColour(colour), static_cast<std::uint8_t>(value >> 24))
                       : colour;
        }
    }
}

void DibRowDecoder::decodeRow(std::span<const std::uint8_t> row, std::span<Pixel> out) const {
    for (std::size_t x = 0; x < out.size(); ++x) {
        out[x] = pixel(row, 0, static_cast<int>(x));
    }
}

}  // namespace mosaikon
