#include "icon/IconWriter.h"

#include "FileError.h"
#include "bitmap/DibFormat.h"
#include "bytes/FieldWriter.h"
#include "png/PngImage.h"

namespace mosaikon {

namespace {

// The icon directory, its one entry and the image header follow Microsoft's "Icons" article and
// "BITMAPINFOHEADER structure (wingdi.h)"; their sizes are checked where they are read
// (IconFileReader.cpp, DibFormat.cpp).
constexpr std::uint32_t kDirectorySize = 6;
constexpr std::uint32_t kEntrySize = 16;
constexpr int kLargestIconEdge = 256;

// One image as it is stored: the bytes after the directory, and what its entry says.
struct StoredImage {
    std::uint32_t width;
    std::uint32_t height;
    std::vector<std::uint8_t> bytes;
};

// A 32-bit device-independent bitmap with its AND mask: pixels of opacity 0 are stored as colour
// 0 with mask bit 1, every other pixel with its colour, its opacity and mask bit 0.
std::vector<std::uint8_t> dibImage(const Picture& picture) {
    const auto w = static_cast<std::uint32_t>(picture.width());
    const auto h = static_cast<std::uint32_t>(picture.height());
    const std::uint32_t colourBytes = w * h * 4;
    const std::uint32_t maskStride = (w + 31) / 32 * 4;

    std::vector<std::uint8_t> out;
    out.reserve(dibheadersize::kInfo + colourBytes + maskStride * h);
    // BITMAPINFOHEADER: the height counts the colour rows and the mask rows.
    putU32(out, dibheadersize::kInfo);
    putU32(out, w);
    putU32(out, h * 2);
    putU16(out, 1);
    putU16(out, 32);
    putU32(out, codeOf(DibCompression::Rgb));
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

void checkIconSize(const Picture& picture, const std::string& path) {
    if (picture.isEmpty() || picture.width() > kLargestIconEdge ||
        picture.height() > kLargestIconEdge) {
        throw FileError(path,
                        "cannot be saved: an icon must be between 1 and 256 pixels on each side.");
    }
}

// The icon directory, one entry per image, then the images in the same order.
std::vector<std::uint8_t> iconFile(const std::vector<StoredImage>& images) {
    std::vector<std::uint8_t> out;
    // ICONDIR: reserved, type 1 (icon), the number of images.
    putU16(out, 0);
    putU16(out, 1);
    putU16(out, static_cast<std::uint16_t>(images.size()));
    auto offset = static_cast<std::uint32_t>(kDirectorySize + kEntrySize * images.size());
    for (const StoredImage& image : images) {
        // ICONDIRENTRY: a side of 256 is written as 0.
        out.push_back(static_cast<std::uint8_t>(image.width % 256));
        out.push_back(static_cast<std::uint8_t>(image.height % 256));
        out.push_back(0);  // no palette
        out.push_back(0);
        putU16(out, 1);   // planes
        putU16(out, 32);  // bits per pixel
        putU32(out, static_cast<std::uint32_t>(image.bytes.size()));
        putU32(out, offset);
        offset += static_cast<std::uint32_t>(image.bytes.size());
    }
    for (const StoredImage& image : images) {
        out.insert(out.end(), image.bytes.begin(), image.bytes.end());
    }
    return out;
}

}  // namespace

std::vector<std::uint8_t> encodeIcon(const Picture& picture, const std::string& path) {
    checkIconSize(picture, path);
    return iconFile({{static_cast<std::uint32_t>(picture.width()),
                      static_cast<std::uint32_t>(picture.height()), dibImage(picture)}});
}

std::vector<std::uint8_t> encodeIconImages(const std::vector<Picture>& pictures,
                                           const std::string& path) {
    if (pictures.empty() || pictures.size() > 0xFFFF) {
        throw FileError(path, "cannot be saved: an icon file holds 1 to 65535 images.");
    }
    std::vector<StoredImage> images;
    images.reserve(pictures.size());
    for (const Picture& picture : pictures) {
        checkIconSize(picture, path);
        const bool largest =
            picture.width() == kLargestIconEdge && picture.height() == kLargestIconEdge;
        images.push_back({static_cast<std::uint32_t>(picture.width()),
                          static_cast<std::uint32_t>(picture.height()),
                          largest ? encodePng(picture, path) : dibImage(picture)});
    }
    return iconFile(images);
}

}  // namespace mosaikon
