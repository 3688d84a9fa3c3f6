#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "Picture.h"

namespace mosaikon {

// The largest edge a PNG we decode may have: an icon's PNG image is at most a few hundred pixels
// a side, and the icon reader takes no larger images of any kind.
inline constexpr int kMaxPngEdge = 4096;

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

// The size a PNG stream's header declares. Throws FileError naming `path`.
PngSize readPngSize(std::span<const std::uint8_t> png, const std::string& path);

// A decoded PNG: its size and its pixels with their opacity, rows from the top.
struct DecodedPng {
    int width = 0;
    int height = 0;
    std::vector<Pixel> pixels;
};

// Decodes a PNG stream (as stored in an icon), of at most kMaxPngEdge pixels a side. A stream whose
// declared size its compressed data could not fill is refused before anything is allocated. Throws
// FileError naming `path`.
DecodedPng decodePng(std::span<const std::uint8_t> png, const std::string& path);

// Encodes `picture` as an 8-bit RGBA PNG stream, rows from the top, each pixel with its colour and
// opacity; a fully clear pixel is stored as clear white, the editor's transparent colour, so a
// viewer that ignores opacity shows it white. Throws FileError naming `path`.
std::vector<std::uint8_t> encodePng(const Picture& picture, const std::string& path);

}  // namespace mosaikon
