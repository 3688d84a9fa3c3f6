#include "ByteReader.h"
#include "FileError.h"
#include "PictureWriters.h"

namespace mosaikon {

namespace {

// The icon directory, its one entry and the image header follow Microsoft's "Icons" article and
// "BITMAPINFOHEADER structure (wingdi.h)"; their sizes are checked where they are read
// (IconFileReader.cpp, DibFormat.cpp).
constexpr std::uint32_t kDirectorySize = 6;
constexpr std::uint32_t kEntrySize = 16;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr int kLargestIconEdge = 256;

}  // namespace

std::vector<std::uint8_t> encodeIcon(const Picture& picture, const std::string& path) {
    const int width = picture.width();
    const int height = picture.height();
    if (picture.isEmpty() || width > kLargestIconEdge || height > kLargestIconEdge) {
        throw FileError(path,
                        "cannot be saved: an icon must be between 1 and 256 pixels on each side.");
    }
    const auto w = static_cast<std::uint32_t>(width);
    const auto h = static_cast<std::uint32_t>(height);
    const std::uint32_t colourBytes = w * h * 4;
    const std::uint32_t maskStride = (w + 31) / 32 * 4;
    const std::uint32_t imageBytes = kInfoHeaderSize + colourBytes + maskStride * h;

    std::vector<std::uint8_t> out;
    out.reserve(kDirectorySize + kEntrySize + imageBytes);
    // ICONDIR: reserved, type 1 (icon), one image.
    putU16(out, 0);
    putU16(out, 1);
    putU16(out, 1);
    // ICONDIRENTRY: a side of 256 is written as 0.
    out.push_back(static_cast<std::uint8_t>(w % 256));
    out.push_back(static_cast<std::uint8_t>(h % 256));
    out.push_back(0);  // no palette
    out.push_back(0);
    putU16(out, 1);   // planes
    putU16(out, 32);  // bits per pixel
    putU32(out, imageBytes);
    putU32(out, kDirectorySize + kEntrySize);
    // BITMAPINFOHEADER: the height counts the colour rows and the mask rows.
    putU32(out, kInfoHeaderSize);
    putU32(out, w);
    putU32(out, h * 2);
    putU16(out, 1);
    putU16(out, 32);
    putU32(out, 0);  // BI_RGB
    putU32(out, colourBytes + maskStride * h);
    putU32(out, 0);
    putU32(out, 0);
    putU32(out, 0);
    putU32(out, 0);

    const std::vector<Pixel> pixels = picture.allPixels();
    // Colour rows from the bottom: blue, green, red, alpha.
    for (std::uint32_t row = h; row-- > 0;) {
        for (std::uint32_t x = 0; x < w; ++x) {
            const Pixel p = pixels[row * w + x];
            const bool clear = pixelAlpha(p) == 0;
            const Colour c = clear ? colours::kBlack : pixelColour(p);
            out.push_back(c.blue());
            out.push_back(c.green());
            out.push_back(c.red());
            out.push_back(pixelAlpha(p));
        }
    }
    // AND mask rows from the bottom, one bit per pixel, 1 where the pixel is fully clear.
    for (std::uint32_t row = h; row-- > 0;) {
        std::vector<std::uint8_t> bits(maskStride, 0);
        for (std::uint32_t x = 0; x < w; ++x) {
            if (pixelAlpha(pixels[row * w + x]) == 0) {
                bits[x / 8] = static_cast<std::uint8_t>(bits[x / 8] | (0x80u >> (x % 8)));
            }
        }
        out.insert(out.end(), bits.begin(), bits.end());
    }
    return out;
}

}  // namespace mosaikon
