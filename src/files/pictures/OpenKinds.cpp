#include "OpenKinds.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "FileBytes.h"
#include "FileError.h"
#include "icon/IconFileReader.h"
#include "png/PngImage.h"

namespace mosaikon {

namespace {

// A PNG's signature, its header chunk's length and type, then width and height (big-endian).
constexpr std::size_t kPngSizeEnd = 24;

std::uint32_t bigEndian(std::span<const std::uint8_t> bytes) {
    return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
           (std::uint32_t{bytes[2]} << 8) | std::uint32_t{bytes[3]};
}

std::optional<OpenCommand> byContent(std::span<const std::uint8_t> head) {
    switch (fileKindOf(head)) {
        case FileKind::Icon:
            return OpenCommand::OpenIcon;
        case FileKind::Bitmap:
            return OpenCommand::OpenBitmap;
        case FileKind::Program:
            return OpenCommand::ExtractIcon;
        case FileKind::Png: {
            const bool iconSized = head.size() >= kPngSizeEnd &&
                                   bigEndian(head.subspan(16)) == 32 &&
                                   bigEndian(head.subspan(20)) == 32;
            return iconSized ? OpenCommand::OpenIcon : OpenCommand::OpenBitmap;
        }
        case FileKind::Unknown:
            break;
    }
    return std::nullopt;
}

OpenCommand byExtension(const std::string& path) {
    static constexpr std::array<std::string_view, 5> kProgramExtensions = {"exe", "dll", "cpl",
                                                                           "ocx", "scr"};
    const std::string extension = lowerExtension(path);
    if (extension == "bmp") {
        return OpenCommand::OpenBitmap;
    }
    if (std::find(kProgramExtensions.begin(), kProgramExtensions.end(), extension) !=
        kProgramExtensions.end()) {
        return OpenCommand::ExtractIcon;
    }
    return OpenCommand::OpenIcon;
}

}  // namespace

FileKind fileKindOf(std::span<const std::uint8_t> head) {
    if (looksLikeIconFile(head)) {
        return FileKind::Icon;
    }
    if (head.size() >= 2 && head[0] == 'B' && head[1] == 'M') {
        return FileKind::Bitmap;
    }
    if (head.size() >= 2 && head[0] == 'M' && head[1] == 'Z') {
        return FileKind::Program;
    }
    return hasPngSignature(head) ? FileKind::Png : FileKind::Unknown;
}

std::string lowerExtension(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return {};
    }
    std::string extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

FileKind fileKindOf(ByteSource& file) { return fileKindOf(readUpTo(file, 0, kFileKindBytes)); }

OpenCommand openCommandFor(const std::string& path) {
    std::vector<std::uint8_t> head;
    try {
        FileBytes file(path);
        head = readUpTo(file, 0, kPngSizeEnd);
    } catch (const FileError&) {
        // Left to the command, which reports why the file cannot be read.
    }
    return byContent(head).value_or(byExtension(path));
}

}  // namespace mosaikon
