#include "png/PngImage.h"

#include <spng.h>

#include <array>
#include <cstdlib>
#include <memory>
#include <numeric>
#include <utility>

#include "FileError.h"
#include "bytes/FieldReader.h"
#include "bytes/OwnedBytes.h"
#include "png/PngStream.h"
#include "png/StreamedPng.h"

namespace mosaikon {

namespace {

struct ContextDeleter {
    void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};
using Context = std::unique_ptr<spng_ctx, ContextDeleter>;

}  // namespace

bool hasPngSignature(std::span<const std::uint8_t> bytes) {
    static constexpr std::array<std::uint8_t, 8> kSignature{0x89, 'P',  'N',  'G',
                                                            0x0D, 0x0A, 0x1A, 0x0A};
    return startsWith(bytes, kSignature);
}

bool pngDeclaresSize(std::span<const std::uint8_t> head, std::uint32_t width,
                     std::uint32_t height) {
    // After the signature: the header chunk's length and type, then its width and height,
    // big-endian.
    const auto bigEndian = [&head](std::size_t at) {
        return (std::uint32_t{head[at]} << 24) | (std::uint32_t{head[at + 1]} << 16) |
               (std::uint32_t{head[at + 2]} << 8) | std::uint32_t{head[at + 3]};
    };
    return hasPngSignature(head) && head.size() >= kPngSizeBytes && bigEndian(16) == width &&
           bigEndian(20) == height;
}

PngSize readPngSize(std::span<const std::uint8_t> png, const std::string& path) {
    MemoryBytes bytes(png, path);
    const PngHeader header = readPngHeader(bytes, 0);
    return PngSize{header.width, header.height, header.bitCount};
}

DecodedPng decodePng(std::span<const std::uint8_t> png, const std::string& path) {
    MemoryBytes bytes(png, path);
    const PngHeader header = readPngHeader(bytes, 0);
    const std::uint64_t pixelCount =
        static_cast<std::uint64_t>(header.width) * static_cast<std::uint64_t>(header.height);
    if (pixelCount > kWholePngPixels) {
        throw FileError(path, "has a PNG image of " + std::to_string(header.width) + " × " +
                                  std::to_string(header.height) +
                                  " pixels, more than is decoded whole here.");
    }
    std::vector<int> rows(static_cast<std::size_t>(header.height));
    std::iota(rows.begin(), rows.end(), 0);
    std::vector<int> columns(static_cast<std::size_t>(header.width));
    std::iota(columns.begin(), columns.end(), 0);
    SampleGrid grid(rows, columns);
    decodePngSamples(bytes, 0, grid);
    return DecodedPng{header.width, header.height, grid.takePixels()};
}

Picture iconPictureFromPng(std::span<const std::uint8_t> png, const std::string& path) {
    const std::span<const std::uint8_t> stream = png.first(pngStreamLength(png));
    return pngPicture(
        std::make_unique<OwnedBytes>(std::vector<std::uint8_t>(stream.begin(), stream.end()), path),
        0, PictureKind::Icon, PngOpacity::Kept);
}

std::vector<std::uint8_t> encodePng(const Picture& picture, const std::string& path) {
    if (picture.isEmpty()) {
        throw FileError(path, "cannot be saved: there is no picture to save.");
    }
    const std::vector<Pixel> pixels = picture.allPixels();
    std::vector<std::uint8_t> rgba;
    rgba.reserve(pixels.size() * 4);
    for (const Pixel p : pixels) {
        const std::uint8_t alpha = pixelAlpha(p);
        const Colour c = alpha == 0 ? colours::kWhite : pixelColour(p);
        rgba.insert(rgba.end(), {c.red(), c.green(), c.blue(), alpha});
    }

    Context context(spng_ctx_new(SPNG_CTX_ENCODER));
    if (!context) {
        throw FileError(path, "could not be written: out of memory.");
    }
    spng_ihdr header{};
    header.width = static_cast<std::uint32_t>(picture.width());
    header.height = static_cast<std::uint32_t>(picture.height());
    header.bit_depth = 8;
    header.color_type = SPNG_COLOR_TYPE_TRUECOLOR_ALPHA;
    int error = spng_set_option(context.get(), SPNG_ENCODE_TO_BUFFER, 1);
    if (error == 0) {
        // Pixel art repeats whole rows: "up" alone finds that, and fast deflate is enough then.
        error = spng_set_option(context.get(), SPNG_FILTER_CHOICE, SPNG_FILTER_CHOICE_UP);
    }
    if (error == 0) {
        error = spng_set_option(context.get(), SPNG_IMG_COMPRESSION_LEVEL, 1);
    }
    if (error == 0) {
        error = spng_set_ihdr(context.get(), &header);
    }
    if (error == 0) {
        error = spng_encode_image(context.get(), rgba.data(), rgba.size(), SPNG_FMT_PNG,
                                  SPNG_ENCODE_FINALIZE);
    }
    std::size_t length = 0;
    // The buffer is the caller's to free, with free().
    const std::unique_ptr<std::uint8_t, decltype(&std::free)> stream(
        error == 0 ? static_cast<std::uint8_t*>(spng_get_png_buffer(context.get(), &length, &error))
                   : nullptr,
        &std::free);
    if (error != 0 || !stream) {
        throw FileError(path, "could not be encoded as PNG.");
    }
    return {stream.get(), stream.get() + length};
}

}  // namespace mosaikon
