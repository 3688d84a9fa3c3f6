#include "png/PngImage.h"

#include <spng.h>

#include <array>
#include <cstdlib>
#include <memory>
#include <utility>

#include "FileError.h"
#include "bytes/FieldReader.h"

namespace mosaikon {

namespace {

constexpr std::size_t kMaxAncillaryCache = 4u * 1024u * 1024u;
// Deflate cannot compress better than about 1032 : 1; a declared size beyond that ratio of the
// stream's length is a lie, refused unless the picture is small anyway.
constexpr std::uint64_t kDeflateRatio = 1032;
constexpr std::uint64_t kAlwaysJustifiedBytes = 1024u * 1024u;

struct ContextDeleter {
    void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};
using Context = std::unique_ptr<spng_ctx, ContextDeleter>;

Context openPng(std::span<const std::uint8_t> png, const std::string& path, spng_ihdr& header) {
    Context context(spng_ctx_new(0));
    if (!context) {
        throw FileError(path, "could not be read: out of memory.");
    }
    constexpr auto kEdgeLimit = static_cast<std::uint32_t>(kMaxPngEdge);
    spng_set_image_limits(context.get(), kEdgeLimit, kEdgeLimit);
    spng_set_chunk_limits(context.get(), png.size(), kMaxAncillaryCache);
    spng_set_png_buffer(context.get(), png.data(), png.size());
    if (const int error = spng_get_ihdr(context.get(), &header); error != 0) {
        throw FileError(path,
                        std::string("has a damaged PNG image: ") + spng_strerror(error) + ".");
    }
    return context;
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
    spng_ihdr header{};
    openPng(png, path, header);
    return PngSize{static_cast<int>(header.width), static_cast<int>(header.height),
                   channelsOf(header.color_type) * header.bit_depth};
}

DecodedPng decodePng(std::span<const std::uint8_t> png, const std::string& path) {
    spng_ihdr header{};
    Context context = openPng(png, path, header);
    const std::uint64_t pixelCount = static_cast<std::uint64_t>(header.width) * header.height;
    // The raw rows: one filter byte per row plus the stored bits of each pixel.
    const std::uint64_t rawBytes =
        header.height *
        (1 + (static_cast<std::uint64_t>(header.width) *
                  static_cast<std::uint64_t>(channelsOf(header.color_type) * header.bit_depth) +
              7) /
                 8);
    if (rawBytes > kAlwaysJustifiedBytes && rawBytes / kDeflateRatio > png.size()) {
        throw FileError(path, "has a PNG image that claims " + std::to_string(header.width) +
                                  " × " + std::to_string(header.height) +
                                  " pixels, far more than its compressed data can hold.");
    }
    std::size_t length = 0;
    if (const int error = spng_decoded_image_size(context.get(), SPNG_FMT_RGBA8, &length);
        error != 0 || length != pixelCount * 4) {
        throw FileError(path, "has a PNG image that cannot be decoded.");
    }
    std::vector<std::uint8_t> rgba(length);
    if (const int error = spng_decode_image(context.get(), rgba.data(), rgba.size(), SPNG_FMT_RGBA8,
                                            SPNG_DECODE_TRNS);
        error != 0) {
        throw FileError(path,
                        std::string("has a damaged PNG image: ") + spng_strerror(error) + ".");
    }
    std::vector<Pixel> pixels(static_cast<std::size_t>(pixelCount));
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const std::uint8_t* p = rgba.data() + i * 4;
        pixels[i] = makePixel(Colour::fromRgb(p[0], p[1], p[2]), p[3]);
    }
    return DecodedPng{static_cast<int>(header.width), static_cast<int>(header.height),
                      std::move(pixels)};
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
        throw FileError(path,
                        std::string("could not be encoded as PNG: ") + spng_strerror(error) + ".");
    }
    return {stream.get(), stream.get() + length};
}

}  // namespace mosaikon
