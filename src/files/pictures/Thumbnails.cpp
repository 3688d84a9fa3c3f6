#include "Thumbnails.h"

#include <algorithm>
#include <span>
#include <stdexcept>
#include <vector>

#include "AtomicFile.h"
#include "FileBytes.h"
#include "FileError.h"
#include "OpenKinds.h"
#include "ProgramIconReader.h"
#include "icon/IconFileReader.h"
#include "png/PngImage.h"

namespace mosaikon {

namespace {

// At most this many samples a side per thumbnail pixel, and this many sampled rows or columns
// in all, so the samples of any thumbnail take at most 16 MiB.
constexpr int kMostSamplesPerPixel = 4;
constexpr int kMostSampledEdge = 2048;

// The centre samples of `count` × `perPixel` equal parts of `edge` pixels.
std::vector<int> samplesAcross(int edge, int count, int perPixel) {
    const long long parts = static_cast<long long>(count) * perPixel;
    std::vector<int> samples(static_cast<std::size_t>(parts));
    for (long long o = 0; o < parts; ++o) {
        samples[static_cast<std::size_t>(o)] = static_cast<int>(((2 * o + 1) * edge) / (2 * parts));
    }
    return samples;
}

}  // namespace

Picture fittedPicture(const Picture& picture, int side) {
    const int width = picture.width();
    const int height = picture.height();
    if (width <= side && height <= side) {
        return Picture::fromPixels(PictureKind::Icon, width, height, picture.allPixels());
    }
    const int longest = std::max(width, height);
    const auto scaled = [&](int edge) {
        return std::max(1, static_cast<int>(static_cast<long long>(edge) * side / longest));
    };
    const int outWidth = scaled(width);
    const int outHeight = scaled(height);
    // Whole samples per pixel, fewer than the pixels each covers, so no row is sampled twice.
    const int limit = std::max(1, std::min(kMostSamplesPerPixel, kMostSampledEdge / side));
    const int perX = std::clamp(width / outWidth, 1, limit);
    const int perY = std::clamp(height / outHeight, 1, limit);
    const std::vector<int> columns = samplesAcross(width, outWidth, perX);
    const std::vector<int> rows = samplesAcross(height, outHeight, perY);
    const PixelSource& source = *picture.source();
    source.prepareSamples(rows, columns);

    std::vector<Pixel> pixels;
    pixels.reserve(static_cast<std::size_t>(outWidth) * static_cast<std::size_t>(outHeight));
    std::vector<Pixel> band(columns.size() * static_cast<std::size_t>(perY));
    for (int y = 0; y < outHeight; ++y) {
        for (int r = 0; r < perY; ++r) {
            source.sampleRow(rows[static_cast<std::size_t>(y * perY + r)], columns,
                             std::span(band).subspan(static_cast<std::size_t>(r) * columns.size(),
                                                     columns.size()));
        }
        for (int x = 0; x < outWidth; ++x) {
            std::uint64_t alpha = 0;
            std::uint64_t channel[3] = {0, 0, 0};
            for (int r = 0; r < perY; ++r) {
                for (int c = 0; c < perX; ++c) {
                    const Pixel p = band[static_cast<std::size_t>(r) * columns.size() +
                                         static_cast<std::size_t>(x * perX + c)];
                    const std::uint64_t a = pixelAlpha(p);
                    alpha += a;
                    for (int i = 0; i < 3; ++i) {
                        channel[i] += a * ((p >> (8 * i)) & 0xFFu);
                    }
                }
            }
            const auto count = static_cast<std::uint64_t>(perX) * static_cast<std::uint64_t>(perY);
            std::uint32_t colour = 0;
            for (int i = 0; i < 3 && alpha > 0; ++i) {
                colour |= static_cast<std::uint32_t>((channel[i] + alpha / 2) / alpha) << (8 * i);
            }
            pixels.push_back(static_cast<std::uint32_t>((alpha + count / 2) / count) << 24 |
                             colour);
        }
    }
    return Picture::fromPixels(PictureKind::Icon, outWidth, outHeight, std::move(pixels));
}

Picture thumbnailOf(ByteSource& file, int side) {
    if (side < 1 || side > kMaxThumbnailSide) {
        throw std::invalid_argument("A thumbnail's side must be from 1 to " +
                                    std::to_string(kMaxThumbnailSide) + " pixels.");
    }
    refuseEmptyFile(file);
    Picture image;
    switch (fileKindOf(file)) {
        case FileKind::Icon:
            image = readIconFile(file, side);
            break;
        case FileKind::Program:
            // The first group: the program's own icon, which file managers show.
            image = readProgramIconForSide(file, 0, side).picture;
            break;
        case FileKind::Bitmap:
        case FileKind::Png:
        case FileKind::Unknown:
            throw FileError(file.name(), "is neither an icon, a cursor nor a program file.");
    }
    if (static_cast<long long>(image.width()) * image.height() > kMaxThumbnailSourcePixels) {
        throw FileError(file.name(), "has an icon image of " + std::to_string(image.width()) +
                                         " × " + std::to_string(image.height()) +
                                         " pixels, too large to make a thumbnail of.");
    }
    return fittedPicture(image, side);
}

void writeThumbnail(const std::string& in, const std::string& out, int side) {
    FileBytes file(in);
    // Encoded whole first, so a file that gives no thumbnail never touches the target.
    const std::vector<std::uint8_t> png = encodePng(thumbnailOf(file, side), out);
    AtomicFile target(out);
    target.write(png);
    target.commit();
}

}  // namespace mosaikon
