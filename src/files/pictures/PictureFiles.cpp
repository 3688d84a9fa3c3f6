#include "PictureFiles.h"

#include <memory>
#include <utility>

#include "AtomicFile.h"
#include "FileBytes.h"
#include "FileError.h"
#include "OpenKinds.h"
#include "bitmap/BmpReader.h"
#include "bitmap/BmpWriter.h"
#include "icon/IconFileReader.h"
#include "icon/IconWriter.h"
#include "png/PngFileReader.h"
#include "png/PngImage.h"

namespace mosaikon {

Picture readPicture(std::unique_ptr<ByteSource> source) {
    refuseEmptyFile(*source);
    switch (fileKindOf(*source)) {
        case FileKind::Bitmap:
            return readBitmapFile(std::move(source));
        case FileKind::Icon:
            return readIconFile(*source);
        case FileKind::Png:
            return readPngFile(std::move(source));
        case FileKind::Program:
        case FileKind::Unknown:
            break;
    }
    throw FileError(source->name(), "is neither an icon, a bitmap nor a PNG file.");
}

Picture LoadPicture(const std::string& path) {
    if (path.empty()) {
        return {};
    }
    return readPicture(std::make_unique<FileBytes>(path));
}

Picture pictureFromPng(std::span<const std::uint8_t> png, const std::string& name) {
    return iconPictureFromPng(png, name);
}

void SavePicture(const Picture& picture, const std::string& path) {
    if (picture.isEmpty()) {
        throw FileError(path, "cannot be saved: there is no picture to save.");
    }
    if (picture.kind() == PictureKind::Icon) {
        // Encoded first, so a picture that cannot be an icon never touches the disk.
        const std::vector<std::uint8_t> bytes = encodeIcon(picture, path);
        AtomicFile out(path);
        out.write(bytes);
        out.commit();
        return;
    }
    AtomicFile out(path);
    writeBitmap(picture, out, path);
    out.commit();
}

}  // namespace mosaikon
