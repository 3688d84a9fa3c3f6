#include "RleDecoder.h"

#include <cstddef>

#include "FileError.h"

namespace mosaikon {

namespace {

// The escape codes that follow a zero count, as Microsoft's "Bitmap Compression" page lists
// them.
constexpr std::uint8_t kEndOfLine = 0;
constexpr std::uint8_t kEndOfBitmap = 1;
constexpr std::uint8_t kDelta = 2;

class RleCanvas {
public:
    RleCanvas(const DibHeader& header, const std::vector<Pixel>& palette)
        : m_width(static_cast<std::size_t>(header.width)),
          m_height(static_cast<std::size_t>(header.height)),
          m_palette(palette),
          m_pixels(m_width * m_height, opaquePixel(colours::kBlack)) {}

    bool finished() const { return m_y >= m_height; }
    // Puts one palette index at the cursor and advances; past the row's end it only advances.
    void put(std::size_t index) {
        if (m_x < m_width && m_y < m_height) {
            const Pixel colour =
                index < m_palette.size() ? m_palette[index] : opaquePixel(colours::kBlack);
            // Rows are stored from the bottom.
            m_pixels[(m_height - 1 - m_y) * m_width + m_x] = colour;
        }
        ++m_x;
    }
    void endLine() {
        m_x = 0;
        ++m_y;
    }
    void move(std::size_t dx, std::size_t dy) {
        m_x += dx;
        m_y += dy;
    }
    std::vector<Pixel> take() { return std::move(m_pixels); }

private:
    std::size_t m_width;
    std::size_t m_height;
    const std::vector<Pixel>& m_palette;
    std::vector<Pixel> m_pixels;
    std::size_t m_x = 0;
    std::size_t m_y = 0;
};

}  // namespace

std::vector<Pixel> decodeRle(std::span<const std::uint8_t> stream, const DibHeader& header,
                             const std::vector<Pixel>& palette, const std::string& path) {
    const bool fourBit = header.compression == DibCompression::Rle4;
    RleCanvas canvas(header, palette);
    std::size_t at = 0;
    const std::size_t size = stream.size();
    // Every pass consumes at least two bytes, so the loop ends with the stream.
    while (!canvas.finished()) {
        if (size - at < 2) {
            throw FileError(
                path, "is truncated: its compressed pixels end before the picture is complete.");
        }
        const std::uint8_t count = stream[at];
        const std::uint8_t value = stream[at + 1];
        at += 2;
        if (count > 0) {
            // An encoded run: one index, or for RLE4 two alternating ones.
            for (std::size_t i = 0; i < count; ++i) {
                canvas.put(fourBit ? ((i % 2 == 0) ? value >> 4 : value & 0x0F) : value);
            }
            continue;
        }
        if (value == kEndOfLine) {
            canvas.endLine();
        } else if (value == kEndOfBitmap) {
            break;
        } else if (value == kDelta) {
            if (size - at < 2) {
                throw FileError(path, "is truncated inside a compressed skip.");
            }
            canvas.move(stream[at], stream[at + 1]);
            at += 2;
        } else {
            // A literal run of `value` indices, padded to an even number of bytes.
            const std::size_t literalBytes = fourBit ? (value + 1u) / 2u : value;
            const std::size_t padded = literalBytes + (literalBytes % 2);
            if (size - at < literalBytes) {
                throw FileError(path, "is truncated inside a run of compressed pixels.");
            }
            for (std::size_t i = 0; i < value; ++i) {
                const std::uint8_t byte = stream[at + (fourBit ? i / 2 : i)];
                canvas.put(fourBit ? ((i % 2 == 0) ? byte >> 4 : byte & 0x0F) : byte);
            }
            at += std::min(padded, size - at);
        }
    }
    return canvas.take();
}

}  // namespace mosaikon
