// Both exports read back by our readers, by Pillow and through the file commands, whose shared
// dialog they leave alone. The pixels of each exported size are tested with the icon scaling.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "ExportFiles.h"
#include "FileCommands.h"
#include "PatternIcon.h"
#include "PictureTestSupport.h"
#include "ScriptedDialogHost.h"
#include "bytes/FieldReader.h"
#include "icon/IconImage.h"
#include "png/PngImage.h"

namespace mosaikon {
namespace {

using test::kBlue;
using test::kClear;
using test::kRed;
using test::patternIcon;

// Clear pixels compare by their clearness only: each format stores its own colour under them.
Pixel normalised(Pixel p) { return pixelAlpha(p) == 0 ? kClear : p; }

std::vector<Pixel> normalised(std::vector<Pixel> pixels) {
    for (Pixel& p : pixels) p = normalised(p);
    return pixels;
}

struct StoredEntry {
    int side;
    std::span<const std::uint8_t> image;
};

// The directory of an icon file as written, checked as it is read.
std::vector<StoredEntry> entriesOf(const std::vector<std::uint8_t>& file) {
    std::vector<StoredEntry> entries;
    const std::uint16_t count = le16(file, 4);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = 6 + 16 * i;
        const int side = file[entry] == 0 ? 256 : file[entry];
        EXPECT_EQ(file[entry + 1], file[entry]);
        EXPECT_EQ(le16(file, entry + 6), 32) << side;
        const std::uint32_t length = le32(file, entry + 8);
        const std::uint32_t offset = le32(file, entry + 12);
        EXPECT_LE(std::uint64_t{offset} + length, file.size()) << side;
        entries.push_back({side, std::span(file).subspan(offset, length)});
    }
    return entries;
}

TEST(IconSizesExport, OurReaderReadsEverySizeBackWithAMaskOfExactlyItsClearPixels) {
    const Picture icon = patternIcon();
    const std::vector<std::uint8_t> file = encodeIconSizes(icon, "sizes.ico");
    const std::vector<StoredEntry> entries = entriesOf(file);
    ASSERT_EQ(entries.size(), kExportedIconSides.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const int side = entries[i].side;
        ASSERT_EQ(side, kExportedIconSides[i]);
        const std::vector<Pixel> expected = normalised(iconAtSide(icon, side).allPixels());
        const Picture read = decodeIconImage(entries[i].image, "sizes.ico");
        ASSERT_EQ(read.width(), side);
        EXPECT_EQ(normalised(read.allPixels()), expected) << side;

        const std::span<const std::uint8_t> image = entries[i].image;
        if (side == 256) {
            EXPECT_EQ(image[1], 'P') << "stored as PNG";
            continue;
        }
        ASSERT_EQ(le32(image, 0), 40u) << side;
        const auto edge = static_cast<std::size_t>(side);
        const std::size_t stride = (edge + 31) / 32 * 4;
        const std::size_t mask = 40 + edge * edge * 4;
        ASSERT_EQ(image.size(), mask + stride * edge);
        for (std::size_t y = 0; y < edge; ++y) {
            for (std::size_t x = 0; x < edge; ++x) {
                const std::uint8_t byte = image[mask + (edge - 1 - y) * stride + x / 8];
                const bool maskBit = (byte & (0x80u >> (x % 8))) != 0;
                ASSERT_EQ(maskBit, expected[y * edge + x] == kClear)
                    << side << " at " << x << "," << y;
            }
        }
    }
}

TEST(PngExport, OurReaderReadsTheIconBackAsEightBitRgba) {
    const Picture icon = patternIcon();
    test::TemporaryFolder folder;
    ExportPng(icon, folder.file("icon.png"));
    const std::vector<std::uint8_t> png = test::readBytes(folder.file("icon.png"));
    const PngSize size = readPngSize(png, "icon.png");
    EXPECT_EQ(size.width, 32);
    EXPECT_EQ(size.height, 32);
    EXPECT_EQ(size.bitCount, 32);
    const std::vector<Pixel> read = decodePng(png, "icon.png").pixels;
    EXPECT_EQ(read[0], makePixel(colours::kWhite, 0)) << "clear pixels are clear white";
    EXPECT_EQ(normalised(read), normalised(icon.allPixels()));
}

// Pillow reads both exports and writes every image's RGBA bytes to `<side>.rgba` next to them.
constexpr const char* kPillowScript = R"(
import sys
from PIL import Image
folder = sys.argv[1]
open(folder + '/png.rgba', 'wb').write(Image.open(folder + '/icon.png').convert('RGBA').tobytes())
ico = Image.open(folder + '/sizes.ico')
for side in sorted(s[0] for s in ico.info['sizes']):
    open('%s/%d.rgba' % (folder, side), 'wb').write(ico.ico.getimage((side, side)).convert('RGBA').tobytes())
)";

std::vector<Pixel> pixelsFromRgba(const std::vector<std::uint8_t>& rgba) {
    std::vector<Pixel> pixels;
    for (std::size_t i = 0; i + 3 < rgba.size(); i += 4) {
        pixels.push_back(
            normalised(makePixel(Colour::fromRgb(rgba[i], rgba[i + 1], rgba[i + 2]), rgba[i + 3])));
    }
    return pixels;
}

TEST(ExportsInPillow, PillowReadsThePngAndEverySizeAsWeWroteThem) {
    // Debian's own interpreter first: python3 on the path may be another one, without PIL.
    std::string python;
    for (const char* candidate : {"/usr/bin/python3", "python3"}) {
        const std::string probe = std::string(candidate) + " -c 'import PIL' >/dev/null 2>&1";
        if (std::system(probe.c_str()) == 0) {
            python = candidate;
            break;
        }
    }
    if (python.empty()) {
        GTEST_SKIP() << "python3 with PIL (Debian's python3-pil) is not installed here; "
                        "tools/mosaikon-setup.sh installs it";
    }
    const Picture icon = patternIcon();
    test::TemporaryFolder folder;
    ExportPng(icon, folder.file("icon.png"));
    ExportIconSizes(icon, folder.file("sizes.ico"));
    const std::string script = folder.file("read.py");
    std::ofstream(script) << kPillowScript;
    const std::string command = python + " '" + script + "' '" + folder.path().string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    EXPECT_EQ(pixelsFromRgba(test::readBytes(folder.file("png.rgba"))),
              normalised(icon.allPixels()));
    for (const int side : kExportedIconSides) {
        const std::string rgba = folder.file(std::to_string(side) + ".rgba");
        ASSERT_TRUE(std::filesystem::exists(rgba)) << "Pillow lists no " << side << " image";
        EXPECT_EQ(pixelsFromRgba(test::readBytes(rgba)),
                  normalised(iconAtSide(icon, side).allPixels()))
            << side;
    }
}

TEST(ExportCommands, EachAsksApartLeavesTheSharedDialogAndCanvasAloneAndWritesItsFile) {
    struct Case {
        void (FileCommands::*command)();
        const char* name;
        const char* filter;
    };
    const Case cases[] = {
        {&FileCommands::ExportPng, "out.png", "PNG images (*.png)|*.png"},
        {&FileCommands::ExportIconSizes, "out.ico", "Icons of several sizes (*.ico)|*.ico"},
    };
    for (const Case& c : cases) {
        test::ScriptedDialogHost host;
        CommonDialog dialog{host};
        IconCanvas canvas;
        canvas.Form_Load();
        canvas.SmallPicture.PSet(4, 5, Colour::fromRgb(1, 2, 3));
        canvas.opacity.follow(canvas.SmallPicture);  // the exports write the opacity plane
        FileCommands commands{canvas, dialog};
        const Picture snapshot = canvas.state.Snapshot;
        dialog.FileName = "earlier.ico";
        dialog.Filter = "Icons (*.ico)|*.ico";
        dialog.Flags = 7;
        dialog.FilterIndex = 2;
        dialog.CancelError = true;
        test::TemporaryFolder folder;

        host.cancel();
        (commands.*c.command)();  // a cancel writes nothing and does not throw
        host.choose(folder.file(c.name));
        (commands.*c.command)();

        ASSERT_EQ(host.requests().size(), 2u);
        EXPECT_EQ(host.requests()[1].mode, DialogRequest::Mode::Save);
        EXPECT_EQ(host.requests()[1].filter, c.filter);
        EXPECT_EQ(host.requests()[1].fileName, "");
        EXPECT_EQ(dialog.FileName, "earlier.ico");
        EXPECT_EQ(dialog.Filter, "Icons (*.ico)|*.ico");
        EXPECT_EQ(dialog.Flags, 7);
        EXPECT_EQ(dialog.FilterIndex, 2);
        EXPECT_TRUE(dialog.CancelError);
        EXPECT_EQ(commands.iconListCount(), 0);
        EXPECT_EQ(canvas.state.Snapshot.isEmpty(), snapshot.isEmpty());
        if (!snapshot.isEmpty()) {
            EXPECT_EQ(canvas.state.Snapshot.allPixels(), snapshot.allPixels());
        }

        const std::vector<std::uint8_t> written = test::readBytes(folder.file(c.name));
        ASSERT_FALSE(written.empty()) << c.name;
        const Picture icon =
            c.command == &FileCommands::ExportPng
                ? Picture::fromPixels(PictureKind::Icon, 32, 32, decodePng(written, c.name).pixels)
                : decodeIconImage(entriesOf(written)[1].image, c.name);
        EXPECT_EQ(icon.pixelAt(4, 5), opaquePixel(Colour::fromRgb(1, 2, 3))) << c.name;
        EXPECT_EQ(pixelAlpha(icon.pixelAt(0, 0)), 0) << "white is clear, as Save Icon writes it";
    }
}

}  // namespace
}  // namespace mosaikon
