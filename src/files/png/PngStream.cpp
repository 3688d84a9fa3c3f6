#include "png/PngStream.h"

#include <spng.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "FileError.h"
#include "bitmap/FileBackedBitmap.h"
#include "bytes/FieldReader.h"

namespace mosaikon {

namespace {

// Chunks other than the image data (text, colour profiles, …) are held whole while they are
// read; larger ones are more than any picture needs.
constexpr std::size_t kMaxChunkBytes = 4u << 20;
constexpr std::size_t kMaxChunkCache = 4u << 20;
// Deflate cannot compress better than about 1032 : 1; rows beyond that ratio of the stream's
// length cannot be in it, unless the picture is small anyway.
constexpr std::uint64_t kDeflateRatio = 1032;
constexpr std::uint64_t kAlwaysJustifiedBytes = 1u << 20;
// The signature, then the header chunk's length and type; its width follows, big-endian.
constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr std::size_t kPngWidthEnd = 20;
// The format's largest width and height.
constexpr std::uint32_t kMaxPngEdge = 0x7FFFFFFFu;
// The stream is read from its source in pieces of this size.
constexpr std::size_t kPiece = 64u << 10;

// Adam7, as the W3C's PNG recommendation ("Interlacing") gives it: where each pass's columns
// start and how far apart they lie.
constexpr std::uint32_t kPassColumnStart[7] = {0, 4, 0, 2, 0, 1, 0};
constexpr std::uint32_t kPassColumnStep[7] = {8, 8, 4, 4, 2, 2, 1};

// The stream as libspng reads it: forward from `offset`, through a buffer, without the
// ancillary chunks nothing here uses (texts, colour profiles, times, …), which may be of any
// length the format allows and would otherwise be held whole; the transparency chunk is kept. A
// failure of the source is kept and thrown again once libspng has returned, so no exception
// crosses it.
class StreamReader {
public:
    StreamReader(ByteSource& file, std::uint64_t offset) : m_file(file), m_position(offset) {}

    static int read(spng_ctx* /*context*/, void* user, void* destination, std::size_t length) {
        return static_cast<StreamReader*>(user)->fill(static_cast<std::uint8_t*>(destination),
                                                      length);
    }
    void rethrowFailure() const {
        if (m_failure) {
            std::rethrow_exception(m_failure);
        }
    }

private:
    static constexpr std::uint64_t kChunkHeader = 8;     // length and type
    static constexpr std::uint64_t kChunkOverhead = 12;  // and the checksum after the data

    int fill(std::uint8_t* destination, std::size_t length) {
        try {
            while (length > 0) {
                if (m_deliverable == 0) {
                    startChunk();
                }
                const auto count =
                    static_cast<std::size_t>(std::min<std::uint64_t>(length, m_deliverable));
                if (!take(destination, count)) {
                    return SPNG_IO_EOF;
                }
                m_deliverable -= count;
                destination += count;
                length -= count;
            }
            return 0;
        } catch (...) {
            m_failure = std::current_exception();
            return SPNG_IO_ERROR;
        }
    }

    // At a chunk's start: skips the chunks not needed, then lets the next one through whole.
    void startChunk() {
        std::uint8_t header[kChunkHeader];
        while (take(header, sizeof header)) {
            const std::uint64_t length = (std::uint64_t{header[0]} << 24) |
                                         (std::uint64_t{header[1]} << 16) |
                                         (std::uint64_t{header[2]} << 8) | header[3];
            // A lower-case first letter marks an ancillary chunk; "tRNS" gives transparency.
            const bool ancillary = (header[4] & 0x20) != 0;
            const bool transparency = std::equal(header + 4, header + 8, "tRNS");
            if (!ancillary || transparency) {
                m_position -= kChunkHeader;  // handed on with the chunk
                m_deliverable = kChunkOverhead + length;
                return;
            }
            m_position += length + (kChunkOverhead - kChunkHeader);
        }
        m_deliverable = kChunkHeader;  // the end: libspng is told so when it reads on
    }

    // Copies `count` bytes from the current position on and moves past them; false when the
    // source ends first.
    bool take(std::uint8_t* destination, std::size_t count) {
        while (count > 0) {
            if (m_position < m_bufferStart || m_position >= m_bufferStart + m_buffer.size()) {
                const std::uint64_t left = m_file.size() - std::min(m_position, m_file.size());
                if (left == 0) {
                    return false;
                }
                m_buffer.resize(static_cast<std::size_t>(std::min<std::uint64_t>(kPiece, left)));
                m_file.read(m_position, m_buffer);
                m_bufferStart = m_position;
            }
            const auto at = static_cast<std::size_t>(m_position - m_bufferStart);
            const std::size_t taken = std::min(count, m_buffer.size() - at);
            std::memcpy(destination, m_buffer.data() + at, taken);
            m_position += taken;
            destination += taken;
            count -= taken;
        }
        return true;
    }

    ByteSource& m_file;
    std::uint64_t m_position;
    std::uint64_t m_deliverable = sizeof kSignature;  // of the chunk let through, or the signature
    std::vector<std::uint8_t> m_buffer;
    std::uint64_t m_bufferStart = 0;
    std::exception_ptr m_failure;
};

struct ContextDeleter {
    void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};
using Context = std::unique_ptr<spng_ctx, ContextDeleter>;

// What a failure of libspng means for the person, in our words.
std::string problemOf(int error) {
    switch (error) {
        case SPNG_IO_EOF:
        case SPNG_EIDAT_TOO_SHORT:
            return "is truncated: its PNG image ends before its last row.";
        case SPNG_ECHUNK_LIMITS:
            return "has a PNG image with a part (a text or a colour profile) larger than this "
                   "program reads (" +
                   std::to_string(kMaxChunkBytes >> 20) + " MiB).";
        case SPNG_EMEM:
            throw std::bad_alloc();
        case SPNG_ESIGNATURE:
            return "is not a PNG image: it does not start with the PNG signature.";
        case SPNG_ECHUNK_CRC:
        case SPNG_ECHUNK_STDLEN:
        case SPNG_ECHUNK_POS:
        case SPNG_ECHUNK_SIZE:
        case SPNG_ECHUNKAVAIL:
        case SPNG_ECHUNK_TYPE:
        case SPNG_ECHUNK_UNKNOWN_CRITICAL:
        case SPNG_EDUP_PLTE:
        case SPNG_EDUP_CHRM:
        case SPNG_EDUP_GAMA:
        case SPNG_EDUP_ICCP:
        case SPNG_EDUP_SBIT:
        case SPNG_EDUP_SRGB:
        case SPNG_EDUP_BKGD:
        case SPNG_EDUP_HIST:
        case SPNG_EDUP_TRNS:
        case SPNG_EDUP_PHYS:
        case SPNG_EDUP_TIME:
        case SPNG_EDUP_OFFS:
        case SPNG_EDUP_EXIF:
            return "is damaged: a part of its PNG image is cut, misplaced or fails its checksum.";
        case SPNG_EIDAT_STREAM:
        case SPNG_EZLIB:
        case SPNG_EFILTER:
            return "is damaged: the compressed pixels of its PNG image are corrupt.";
        case SPNG_EPLTE_IDX:
        case SPNG_ENOPLTE:
        case SPNG_ETRNS_COLOR_TYPE:
        case SPNG_ETRNS_NO_PLTE:
            return "is damaged: its PNG image's colour table is missing or too short.";
        case SPNG_EWIDTH:
        case SPNG_EHEIGHT:
        case SPNG_EBIT_DEPTH:
        case SPNG_ECOLOR_TYPE:
        case SPNG_ECOMPRESSION_METHOD:
        case SPNG_EFILTER_METHOD:
        case SPNG_EINTERLACE_METHOD:
        case SPNG_EIHDR_SIZE:
        case SPNG_ENOIHDR:
            return "is damaged: its PNG image's header is not valid.";
        default:
            return "is damaged: its PNG image cannot be decoded.";
    }
}

// Throws the FileError for libspng's `error`, or the source's own failure that caused it.
[[noreturn]] void fail(const StreamReader& reader, const std::string& path, int error) {
    reader.rethrowFailure();
    throw FileError(path, problemOf(error));
}

int channelsOf(std::uint8_t colourType) {
    switch (colourType) {
        case SPNG_COLOR_TYPE_TRUECOLOR:
            return 3;
        case SPNG_COLOR_TYPE_GRAYSCALE_ALPHA:
            return 2;
        case SPNG_COLOR_TYPE_TRUECOLOR_ALPHA:
            return 4;
        default:
            return 1;
    }
}

// Refuses an image wider than kMaxPngRowPixels, before libspng, which would call some of the
// widths the format allows an overflow.
void refuseTooWide(ByteSource& file, std::uint64_t offset) {
    const std::vector<std::uint8_t> head = readUpTo(file, offset, kPngWidthEnd);
    if (head.size() < kPngWidthEnd || !std::equal(kSignature, kSignature + 8, head.begin())) {
        return;  // libspng says what is wrong
    }
    const std::uint32_t width = (std::uint32_t{head[16]} << 24) | (std::uint32_t{head[17]} << 16) |
                                (std::uint32_t{head[18]} << 8) | head[19];
    if (width > kMaxPngRowPixels && width <= kMaxPngEdge) {
        throw FileError(file.name(), "has a PNG image " + std::to_string(width) +
                                         " pixels wide, wider than this program opens (" +
                                         std::to_string(kMaxPngRowPixels) + " pixels at most).");
    }
}

Context openStream(StreamReader& reader, const std::string& path, spng_ihdr& header) {
    Context context(spng_ctx_new(0));
    if (!context) {
        throw std::bad_alloc();
    }
    spng_set_chunk_limits(context.get(), kMaxChunkBytes, kMaxChunkCache);
    spng_set_png_stream(context.get(), &StreamReader::read, &reader);
    if (const int error = spng_get_ihdr(context.get(), &header); error != 0) {
        fail(reader, path, error);
    }
    return context;
}

// Where the decoded rows go: the grid's rows looked up by image row, its columns in increasing
// order.
class GridWriter {
public:
    explicit GridWriter(SampleGrid& grid)
        : m_grid(grid), m_columnOrder(increasingOrder(grid.columns())) {
        for (std::size_t i = 0; i < grid.rows().size(); ++i) {
            m_rows.emplace_back(grid.rows()[i], i);
        }
        std::sort(m_rows.begin(), m_rows.end());
    }

    // Row `row` of the image, as RGBA bytes, of which `pass` (of an interlaced image) gave the
    // columns it holds; the others are left as earlier passes gave them.
    void take(std::uint32_t row, std::span<const std::uint8_t> rgba, bool interlaced, int pass) {
        const auto found = std::equal_range(
            m_rows.begin(), m_rows.end(), std::pair<int, std::size_t>(static_cast<int>(row), 0),
            [](const auto& a, const auto& b) { return a.first < b.first; });
        if (found.first == found.second) {
            return;
        }
        const auto& columns = m_grid.columns();
        const std::uint32_t start = interlaced ? kPassColumnStart[pass] : 0;
        const std::uint32_t step = interlaced ? kPassColumnStep[pass] : 1;
        for (auto r = found.first; r != found.second; ++r) {
            const std::span<Pixel> out = m_grid.row(r->second);
            for (const std::size_t i : m_columnOrder) {
                const auto x = static_cast<std::uint32_t>(columns[i]);
                if (x < start || (x - start) % step != 0) {
                    continue;
                }
                const std::uint8_t* p = rgba.data() + std::size_t{x} * 4;
                out[i] = makePixel(Colour::fromRgb(p[0], p[1], p[2]), p[3]);
            }
        }
    }

private:
    SampleGrid& m_grid;
    std::vector<std::size_t> m_columnOrder;
    std::vector<std::pair<int, std::size_t>> m_rows;  // image row, grid row
};

}  // namespace

PngHeader readPngHeader(ByteSource& file, std::uint64_t offset) {
    const std::string& path = file.name();
    refuseTooWide(file, offset);
    StreamReader reader(file, offset);
    spng_ihdr header{};
    openStream(reader, path, header);
    if (header.width > kMaxPngRowPixels) {
        throw FileError(path, "has a PNG image wider than this program opens.");
    }
    const int bitCount = channelsOf(header.color_type) * header.bit_depth;
    // The rows as stored: a filter byte, then the pixels' bits (the passes of an interlaced
    // image add no more than a few bytes a row).
    const std::uint64_t rawBytes =
        std::uint64_t{header.height} *
        (1 + (std::uint64_t{header.width} * static_cast<std::uint64_t>(bitCount) + 7) / 8);
    const std::uint64_t streamBytes = file.size() - std::min(offset, file.size());
    if (rawBytes > kAlwaysJustifiedBytes && rawBytes / kDeflateRatio > streamBytes) {
        throw FileError(path, "has a PNG image that claims " + std::to_string(header.width) +
                                  " × " + std::to_string(header.height) +
                                  " pixels, far more than its compressed data can hold.");
    }
    return PngHeader{static_cast<int>(header.width), static_cast<int>(header.height), bitCount,
                     header.interlace_method != 0};
}

void decodePngSamples(ByteSource& file, std::uint64_t offset, SampleGrid& grid) {
    const std::string& path = file.name();
    StreamReader reader(file, offset);
    spng_ihdr header{};
    Context context = openStream(reader, path, header);
    if (header.width > kMaxPngRowPixels) {
        throw FileError(path, "has a PNG image wider than this program opens.");
    }
    if (const int error = spng_decode_image(context.get(), nullptr, 0, SPNG_FMT_RGBA8,
                                            SPNG_DECODE_TRNS | SPNG_DECODE_PROGRESSIVE);
        error != 0) {
        fail(reader, path, error);
    }
    GridWriter writer(grid);
    std::vector<std::uint8_t> row(std::size_t{header.width} * 4);
    const bool interlaced = header.interlace_method != 0;
    int error = 0;
    while (error == 0) {
        spng_row_info info{};
        if (error = spng_get_row_info(context.get(), &info); error != 0) {
            break;
        }
        error = spng_decode_row(context.get(), row.data(), row.size());
        if ((error == 0 || error == SPNG_EOI) && info.row_num < header.height && info.pass < 7) {
            writer.take(info.row_num, row, interlaced, info.pass);
        }
    }
    if (error != SPNG_EOI) {
        fail(reader, path, error);
    }
}

std::uint64_t pngStreamLength(std::span<const std::uint8_t> bytes) {
    constexpr std::uint64_t kChunkOverhead = 12;  // length, type, checksum
    static constexpr std::uint8_t kEnd[4] = {'I', 'E', 'N', 'D'};
    std::uint64_t at = sizeof kSignature;
    while (at + kChunkOverhead <= bytes.size()) {
        const auto where = static_cast<std::size_t>(at);
        const std::uint64_t length = (std::uint64_t{bytes[where]} << 24) |
                                     (std::uint64_t{bytes[where + 1]} << 16) |
                                     (std::uint64_t{bytes[where + 2]} << 8) | bytes[where + 3];
        at += kChunkOverhead + length;  // at most 2^32 + 12 more: no overflow
        if (std::equal(kEnd, kEnd + 4, bytes.begin() + static_cast<std::ptrdiff_t>(where) + 4)) {
            break;
        }
    }
    return std::min<std::uint64_t>(at, bytes.size());
}

}  // namespace mosaikon
