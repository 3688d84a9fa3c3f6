#include "bitmap/RleDecoder.h"

#include <algorithm>
#include <cstddef>

#include "FileError.h"
#include "bitmap/FileBackedBitmap.h"

namespace mosaikon {

namespace {

// The escape codes that follow a zero count, as Microsoft's "Bitmap Compression" page lists
// them.
constexpr std::uint8_t kEndOfLine = 0;
constexpr std::uint8_t kEndOfBitmap = 1;
constexpr std::uint8_t kDelta = 2;

// The stream read forward in pieces: at most kPiece bytes are held at a time.
class StreamReader {
public:
    StreamReader(ByteSource& file, std::uint64_t offset, std::uint64_t length)
        : m_file(file), m_next(offset), m_end(offset + length) {}

    // The next `count` bytes (at most 256), or fewer when the stream ends before.
    std::span<const std::uint8_t> take(std::size_t count) {
        if (m_buffer.size() - m_at < count && m_next < m_end) {
            refill();
        }
        const std::size_t got = std::min(count, m_buffer.size() - m_at);
        const auto bytes = std::span<const std::uint8_t>(m_buffer).subspan(m_at, got);
        m_at += got;
        return bytes;
    }

private:
    static constexpr std::size_t kPiece = 64 * 1024;

    void refill() {
        m_buffer.erase(m_buffer.begin(), m_buffer.begin() + static_cast<std::ptrdiff_t>(m_at));
        m_at = 0;
        const std::size_t kept = m_buffer.size();
        const auto more = static_cast<std::size_t>(std::min<std::uint64_t>(kPiece, m_end - m_next));
        m_buffer.resize(kept + more);
        m_file.read(m_next, std::span<std::uint8_t>(m_buffer).subspan(kept));
        m_next += more;
    }

    ByteSource& m_file;
    std::uint64_t m_next;
    std::uint64_t m_end;
    std::vector<std::uint8_t> m_buffer;
    std::size_t m_at = 0;
};

// Where decoded pixels go: the grid's rows, looked up by stored row (from the bottom, the order
// of the stream), and its columns in increasing order. The cursor only ever moves forward.
class GridWriter {
public:
    GridWriter(const RleStream& stream, SampleGrid& grid)
        : m_width(static_cast<std::uint64_t>(stream.header.width)),
          m_height(static_cast<std::uint64_t>(stream.header.height)),
          m_palette(stream.palette),
          m_grid(grid),
          m_columnOrder(increasingOrder(grid.columns())) {
        for (std::size_t i = 0; i < grid.rows().size(); ++i) {
            m_rows.push_back({m_height - 1 - static_cast<std::uint64_t>(grid.rows()[i]), i});
        }
        std::sort(m_rows.begin(), m_rows.end());
        startRow();
    }

    bool finished() const { return m_y >= m_height; }

    // `count` pixels from the cursor on, the i-th being palette index `index(i)`.
    template <typename Index>
    void run(std::size_t count, Index index) {
        const std::uint64_t end = std::min(m_x + count, m_width);
        if (m_firstRow != m_endRow) {
            const auto& columns = m_grid.columns();
            for (; m_column < m_columnOrder.size(); ++m_column) {
                const auto x = static_cast<std::uint64_t>(columns[m_columnOrder[m_column]]);
                if (x >= end) break;
                if (x < m_x) continue;  // skipped by a delta: stays black
                const std::size_t i = index(static_cast<std::size_t>(x - m_x));
                const Pixel colour =
                    i < m_palette.size() ? m_palette[i] : opaquePixel(colours::kBlack);
                for (std::size_t r = m_firstRow; r < m_endRow; ++r) {
                    m_grid.row(m_rows[r].second)[m_columnOrder[m_column]] = colour;
                }
            }
        }
        m_x += count;
    }
    void endLine() { move(0, 1, true); }
    void skip(std::uint8_t dx, std::uint8_t dy) { move(dx, dy, false); }

private:
    void move(std::uint64_t dx, std::uint64_t dy, bool toLineStart) {
        m_x = toLineStart ? 0 : m_x + dx;
        if (dy > 0) {
            m_y += dy;
            startRow();
        }
    }
    // Finds the grid rows of stored row m_y, and starts again from the first column.
    void startRow() {
        m_firstRow = m_endRow;
        while (m_firstRow < m_rows.size() && m_rows[m_firstRow].first < m_y) ++m_firstRow;
        m_endRow = m_firstRow;
        while (m_endRow < m_rows.size() && m_rows[m_endRow].first == m_y) ++m_endRow;
        m_column = 0;
    }

    std::uint64_t m_width;
    std::uint64_t m_height;
    const std::vector<Pixel>& m_palette;
    SampleGrid& m_grid;
    std::vector<std::size_t> m_columnOrder;
    std::vector<std::pair<std::uint64_t, std::size_t>> m_rows;  // stored row, grid row
    std::size_t m_firstRow = 0;
    std::size_t m_endRow = 0;
    std::size_t m_column = 0;
    std::uint64_t m_x = 0;
    std::uint64_t m_y = 0;
};

}  // namespace

void decodeRle(ByteSource& file, const RleStream& stream, SampleGrid& grid) {
    const bool fourBit = stream.header.compression == DibCompression::Rle4;
    const std::string& path = file.name();
    StreamReader in(file, stream.offset, stream.length);
    GridWriter out(stream, grid);
    // Every pass consumes at least two bytes, so the loop ends with the stream.
    while (!out.finished()) {
        const auto command = in.take(2);
        if (command.size() < 2) {
            throw FileError(
                path, "is truncated: its compressed pixels end before the picture is complete.");
        }
        const std::uint8_t count = command[0];
        const std::uint8_t value = command[1];
        if (count > 0) {
            // An encoded run: one index, or for RLE4 two alternating ones.
            out.run(count, [&](std::size_t i) -> std::size_t {
                return fourBit ? ((i % 2 == 0) ? value >> 4 : value & 0x0F) : value;
            });
            continue;
        }
        if (value == kEndOfLine) {
            out.endLine();
        } else if (value == kEndOfBitmap) {
            break;
        } else if (value == kDelta) {
            const auto delta = in.take(2);
            if (delta.size() < 2) {
                throw FileError(path, "is truncated inside a compressed skip.");
            }
            out.skip(delta[0], delta[1]);
        } else {
            // A literal run of `value` indices, padded to an even number of bytes; the padding
            // may be missing at the very end.
            const std::size_t literalBytes = fourBit ? (value + 1u) / 2u : value;
            const auto literal = in.take(literalBytes);
            if (literal.size() < literalBytes) {
                throw FileError(path, "is truncated inside a run of compressed pixels.");
            }
            out.run(value, [&](std::size_t i) -> std::size_t {
                if (!fourBit) return literal[i];
                return (i % 2 == 0) ? literal[i / 2] >> 4 : literal[i / 2] & 0x0F;
            });
            if (literalBytes % 2 != 0) {
                in.take(1);
            }
        }
    }
}

}  // namespace mosaikon
