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
#include "bitmap/BmpReader.h"
#include "icon/IconFileReader.h"
#include "png/PngImage.h"
#include "program/ProgramIconDirectory.h"

namespace mosaikon {

namespace {

// Each format's own test of a file's first bytes, tried in this order; the first that passes
// tells the file's kind. None passes for more than one kind.
struct KindTest {
    FileKind kind;
    bool (*matches)(std::span<const std::uint8_t> head);
};
constexpr std::array<KindTest, 4> kKindTests{{
    {FileKind::Icon, looksLikeIconFile},
    {FileKind::Bitmap, looksLikeBitmapFile},
    {FileKind::Program, looksLikeProgramFile},
    {FileKind::Png, hasPngSignature},
}};

std::optional<OpenCommand> byContent(std::span<const std::uint8_t> head) {
    switch (fileKindOf(head)) {
        case FileKind::Icon:
            return OpenCommand::OpenIcon;
        case FileKind::Bitmap:
            return OpenCommand::OpenBitmap;
        case FileKind::Program:
            return OpenCommand::ExtractIcon;
        case FileKind::Png:
            return pngDeclaresSize(head, 32, 32) ? OpenCommand::OpenIcon : OpenCommand::OpenBitmap;
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
    for (const KindTest& test : kKindTests) {
        if (test.matches(head)) {
            return test.kind;
        }
    }
    return FileKind::Unknown;
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

void refuseEmptyFile(ByteSource& file) {
    if (file.size() == 0) {
        throw FileError(file.name(), "is empty.");
    }
}

FileKind fileKindOf(ByteSource& file) { return fileKindOf(readUpTo(file, 0, kFileKindBytes)); }

OpenCommand openCommandFor(const std::string& path) {
    std::vector<std::uint8_t> head;
    try {
        FileBytes file(path);
        head = readUpTo(file, 0, std::max(kFileKindBytes, kPngSizeBytes));
    } catch (const FileError&) {
        // Left to the command, which reports why the file cannot be read.
    }
    return byContent(head).value_or(byExtension(path));
}

}  // namespace mosaikon
