// What a file is by its first bytes, and which command opens a file named from outside.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "OpenKinds.h"
#include "PictureTestSupport.h"

namespace mosaikon {
namespace {

using Bytes = std::vector<std::uint8_t>;

const Bytes kPngSignature{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

// The first bytes of a PNG file whose header chunk declares `side` × `side` pixels.
Bytes pngHead(std::uint8_t side) {
    Bytes head = kPngSignature;
    const Bytes chunk{0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 0, 0, side, 0, 0, 0, side};
    head.insert(head.end(), chunk.begin(), chunk.end());
    return head;
}

TEST(FileKinds, EachFormatKnowsItsOwnFirstBytes) {
    const std::pair<Bytes, FileKind> cases[] = {
        {{0, 0, 1, 0, 1, 0}, FileKind::Icon},
        {{0, 0, 2, 0, 1, 0}, FileKind::Icon},  // a cursor
        {{0, 0, 3, 0, 1, 0}, FileKind::Unknown},
        {{0, 1, 1, 0, 1, 0}, FileKind::Unknown},  // reserved must be 0
        {{0, 0, 1, 0}, FileKind::Unknown},        // cut before the count
        {{'B', 'M', 0x36, 0, 0, 0}, FileKind::Bitmap},
        {{'B', 'm'}, FileKind::Unknown},
        {{'M', 'Z', 0x90, 0}, FileKind::Program},
        {{'M'}, FileKind::Unknown},
        {kPngSignature, FileKind::Png},
        {Bytes(kPngSignature.begin(), kPngSignature.end() - 1), FileKind::Unknown},
        {{}, FileKind::Unknown},
    };
    for (const auto& [head, kind] : cases) {
        EXPECT_EQ(fileKindOf(head), kind) << testing::PrintToString(head);
    }
}

TEST(OpenCommands, ContentDecidesAndOnlyAFileThatTellsNothingGoesByItsName) {
    test::TemporaryFolder folder;
    const Bytes program{'M', 'Z', 0, 0};
    struct Case {
        const char* name;
        std::optional<Bytes> content;  // none: the file does not exist
        OpenCommand command;
    };
    const Case cases[] = {
        {"program.ico", program, OpenCommand::ExtractIcon},
        {"small-png", pngHead(32), OpenCommand::OpenIcon},
        {"large.png", pngHead(48), OpenCommand::OpenBitmap},
        {"bitmap.exe", Bytes{'B', 'M', 0, 0}, OpenCommand::OpenBitmap},
        {"empty.DLL", Bytes{}, OpenCommand::ExtractIcon},
        {"notes.txt", Bytes(40, 'x'), OpenCommand::OpenIcon},
        {"missing.Bmp", std::nullopt, OpenCommand::OpenBitmap},
        {"missing.scr", std::nullopt, OpenCommand::ExtractIcon},
        {"missing", std::nullopt, OpenCommand::OpenIcon},
    };
    for (const Case& c : cases) {
        const std::string path = folder.file(c.name);
        if (c.content) {
            test::writeBytes(path, *c.content);
        }
        EXPECT_EQ(openCommandFor(path), c.command) << c.name;
    }
}

TEST(LowerExtension, IsTheLastNamesOwnExtensionLowered) {
    const std::pair<const char*, const char*> cases[] = {
        {"icon.ICO", "ico"},      {"/a/b/Setup.Exe", "exe"},
        {"archive.tar.GZ", "gz"}, {"no-extension", ""},
        {"folder.d/plain", ""},   {"trailing.", ""},
        {".hidden", "hidden"},    {"", ""},
        {"dir.x/y.BMP", "bmp"},
    };
    for (const auto& [path, extension] : cases) {
        EXPECT_EQ(lowerExtension(path), extension) << path;
    }
}

}  // namespace
}  // namespace mosaikon
