#include "PictureInfo.h"

#include "OpacityPlane.h"
#include "bitmap/BmpReader.h"
#include "icon/IconFileReader.h"
#include "icon/IconImage.h"

namespace mosaikon {

IconFileInfo describeIconFile(ByteSource& file) {
    const IconFileListing listing = listIconFile(file);
    IconFileInfo info;
    info.cursor = listing.cursor;
    info.chosen = listing.chosen;
    for (const IconFileImage& image : listing.images) {
        IconFileImageInfo out;
        out.width = image.candidate.width;
        out.height = image.candidate.height;
        out.bitCount = image.candidate.bitCount;
        out.png = image.png;
        if (listing.cursor) {
            out.hotspotX = image.entry.image.planes;
            out.hotspotY = image.entry.image.bitCount;
        }
        out.offset = image.entry.imageOffset;
        out.bytesInDirectory = image.entry.image.bytesInResource;
        out.problem = image.problem;
        if (!image.problem) {
            try {
                out.partialOpacity = usesPartialOpacity(decodeIconImage(
                    std::span(listing.bytes).subspan(image.entry.imageOffset), file.name()));
            } catch (const FileError&) {
                // Described but not decodable: its opacity is not known, and info says nothing.
            }
        }
        info.images.push_back(std::move(out));
    }
    return info;
}

namespace {

const char* compressionName(DibCompression compression) {
    switch (compression) {
        case DibCompression::Rgb:
            return "none";
        case DibCompression::Rle8:
            return "RLE8";
        case DibCompression::Rle4:
            return "RLE4";
        case DibCompression::Bitfields:
            return "bit fields";
        case DibCompression::Jpeg:
            return "JPEG";
        case DibCompression::Png:
            return "PNG";
        case DibCompression::AlphaBitfields:
            return "alpha bit fields";
    }
    return "unknown";
}

}  // namespace

BitmapFileInfo describeBitmapFile(ByteSource& file) {
    const BitmapHeaders headers = readBitmapHeaders(file);
    BitmapFileInfo info;
    info.width = headers.dib.width;
    info.height = headers.dib.height;
    info.topDown = headers.dib.topDown;
    info.bitCount = headers.dib.bitCount;
    info.compression = compressionName(headers.dib.compression);
    info.headerSize = headers.dib.headerSize;
    info.coloursUsed = headers.dib.colorsUsed;
    info.pixelsOffset = headers.pixelsOffset;
    return info;
}

}  // namespace mosaikon
