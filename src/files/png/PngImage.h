#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "Picture.h"

namespace mosaikon {

struct PngSize {
    int width = 0;
    int height = 0;
    int bitCount = 0;  // bits per pixel as stored: channels × bit depth
};

// True when `bytes` start with the eight-byte PNG signature: the PNG format's test of a file's
// first bytes.
bool hasPngSignature(std::span<const std::uint8_t> bytes);

// How many first bytes of a PNG file give its size: the signature, then the header chunk's
// length, type, width and height.
inline constexpr std::size_t kPngSizeBytes = 24;

// True when `head`, the first bytes of a file, are a PNG's whose header chunk declares
// `width` × `height` pixels (the chunk is not checked; kPngSizeBytes are needed).
bool pngDeclaresSize(std::span<const std::uint8_t> head, std::uint32_t width, std::uint32_t height);

// The size a PNG stream's header declares. Throws FileError naming `path` when the header cannot
// be read or declares an image this program cannot open.
PngSize readPngSize(std::span<const std::uint8_t> png, const std::string& path);

// A decoded PNG: its size and its pixels with their opacity, rows from the top.
struct DecodedPng {
    int width = 0;
    int height = 0;
    std::vector<Pixel> pixels;
};

// Decodes a PNG stream whole, for pictures small enough to hold decoded (at most kWholePngPixels
// pixels; a larger one is refused, see pngPicture for those). A stream whose declared size its
// compressed data could not fill is refused before anything is allocated. Throws FileError
// naming `path`.
inline constexpr std::uint64_t kWholePngPixels = 1024u * 1024u;
DecodedPng decodePng(std::span<const std::uint8_t> png, const std::string& path);

// The PNG stream at the start of `png` as an icon picture of any size, with its opacity: decoded
// whole when it is small, otherwise a copy of the stream's bytes decoded as it is drawn. Throws
// FileError naming `path`.
Picture iconPictureFromPng(std::span<const std::uint8_t> png, const std::string& path);

// Encodes `picture` as an 8-bit RGBA PNG stream, rows from the top, each pixel with its colour and
// opacity; a fully clear pixel is stored as clear white, the editor's transparent colour, so a
// viewer that ignores opacity shows it white. Throws FileError naming `path`.
std::vector<std::uint8_t> encodePng(const Picture& picture, const std::string& path);

}  // namespace mosaikon
