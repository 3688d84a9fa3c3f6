#include "bitmap/BmpWriter.h"

#include <limits>
#include <numeric>

#include "FileError.h"
#include "bitmap/DibFormat.h"
#include "bytes/FieldWriter.h"

namespace mosaikon {

namespace {

// BITMAPFILEHEADER (14 bytes) and BITMAPINFOHEADER (40 bytes) as Microsoft's wingdi.h pages
// document them; BmpReader.cpp and DibFormat.cpp check the layouts' sizes.
constexpr std::uint32_t kFileHeaderSize = 14;

}  // namespace

void writeBitmap(const Picture& picture, AtomicFile& out, const std::string& path) {
    if (picture.isEmpty()) {
        throw FileError(path, "cannot be saved: there is no picture to save.");
    }
    const auto w = static_cast<std::uint64_t>(picture.width());
    const auto h = static_cast<std::uint64_t>(picture.height());
    const std::uint64_t stride = (w * 3 + 3) / 4 * 4;
    const std::uint64_t pixelBytes = stride * h;
    const std::uint64_t fileBytes = kFileHeaderSize + dibheadersize::kInfo + pixelBytes;
    if (fileBytes > std::numeric_limits<std::uint32_t>::max()) {
        throw FileError(
            path, "cannot be saved: the picture is too large for a bitmap file (4 GB at most).");
    }

    std::vector<std::uint8_t> head;
    head.push_back('B');
    head.push_back('M');
    putU32(head, static_cast<std::uint32_t>(fileBytes));
    putU32(head, 0);  // two reserved words
    putU32(head, kFileHeaderSize + dibheadersize::kInfo);
    putU32(head, dibheadersize::kInfo);
    putU32(head, static_cast<std::uint32_t>(w));
    putU32(head, static_cast<std::uint32_t>(h));  // positive: rows from the bottom
    putU16(head, 1);
    putU16(head, 24);
    putU32(head, codeOf(DibCompression::Rgb));
    putU32(head, static_cast<std::uint32_t>(pixelBytes));
    putU32(head, 2835);  // 72 dots per inch, in pixels per metre
    putU32(head, 2835);
    putU32(head, 0);
    putU32(head, 0);
    out.write(head);

    std::vector<int> columns(static_cast<std::size_t>(w));
    std::iota(columns.begin(), columns.end(), 0);
    std::vector<Pixel> pixels(columns.size());
    std::vector<std::uint8_t> row(static_cast<std::size_t>(stride), 0);
    for (int y = picture.height(); y-- > 0;) {
        picture.source()->sampleRow(y, columns, pixels);
        for (std::size_t x = 0; x < pixels.size(); ++x) {
            const Colour c = pixelColour(pixels[x]);
            row[x * 3] = c.blue();
            row[x * 3 + 1] = c.green();
            row[x * 3 + 2] = c.red();
        }
        out.write(row);
    }
}

}  // namespace mosaikon
