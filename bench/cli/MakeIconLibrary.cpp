// Writes the library the command-line benchmark extracts from: a PE32 file of 200 icon groups,
// each with 16, 32 and 48 pixel 32-bit bitmaps and a 256 pixel PNG, as the tests build them.
//
//   make_icon_library OUT.dll
#include <cstdio>
#include <fstream>

#include "PictureFiles.h"
#include "ProgramFileBuilder.h"
#include "png/PngImage.h"

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icon_library OUT.dll\n");
        return 2;
    }
    using namespace mosaikon;
    constexpr int kGroups = 200;
    test::ProgramFileBuilder builder;
    for (int g = 0; g < kGroups; ++g) {
        const auto colour = static_cast<Pixel>(0xFF000000u | static_cast<std::uint32_t>(g * 977));
        std::vector<test::GroupEntry> entries;
        const auto firstId = static_cast<std::uint16_t>(4 * g + 1);
        for (const int side : {16, 32, 48}) {
            const auto id = static_cast<std::uint16_t>(firstId + entries.size());
            std::vector<std::uint8_t> image = test::solidIconImage(side, side, colour);
            entries.push_back({side, side, 32, id, 0, static_cast<std::uint32_t>(image.size())});
            builder.addImage(id, std::move(image));
        }
        const auto pngId = static_cast<std::uint16_t>(firstId + 3);
        std::vector<std::uint8_t> png = encodePng(
            Picture::fromPixels(PictureKind::Icon, 256, 256, std::vector<Pixel>(256 * 256, colour)),
            argv[1]);
        entries.push_back({256, 256, 32, pngId, 0, static_cast<std::uint32_t>(png.size())});
        builder.addImage(pngId, std::move(png));
        builder.addGroup({std::nullopt, static_cast<std::uint16_t>(g + 1), entries, std::nullopt});
    }
    const std::vector<std::uint8_t> bytes = builder.build(test::ProgramFormat::Pe32);
    std::ofstream(argv[1], std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return 0;
}
