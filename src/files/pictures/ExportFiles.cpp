#include "ExportFiles.h"

#include "AtomicFile.h"
#include "FileError.h"
#include "IconScaling.h"
#include "icon/IconWriter.h"
#include "png/PngImage.h"

namespace mosaikon {

namespace {

void writeWhole(const std::vector<std::uint8_t>& bytes, const std::string& path) {
    AtomicFile out(path);
    out.write(bytes);
    out.commit();
}

void checkIcon(const Picture& icon, const std::string& path) {
    if (icon.isEmpty() || icon.width() != 32 || icon.height() != 32) {
        throw FileError(path, "cannot be exported: there is no 32 × 32 icon to export.");
    }
}

}  // namespace

std::vector<std::uint8_t> encodeIconSizes(const Picture& icon, const std::string& path,
                                          std::span<const int> sides) {
    checkIcon(icon, path);
    std::vector<Picture> images;
    images.reserve(sides.size());
    for (const int side : sides) {
        images.push_back(iconAtSide(icon, side));
    }
    return encodeIconImages(images, path);
}

void ExportPng(const Picture& icon, const std::string& path) {
    checkIcon(icon, path);
    writeWhole(encodePng(icon, path), path);
}

void ExportIconSizes(const Picture& icon, const std::string& path, std::span<const int> sides) {
    writeWhole(encodeIconSizes(icon, path, sides), path);
}

}  // namespace mosaikon
