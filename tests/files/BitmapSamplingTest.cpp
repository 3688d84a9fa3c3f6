// Large bitmaps are read only where they are drawn: memory and reads stay bounded by the
// sampled pixels whatever the bitmap declares, a read that fails never becomes pixels, and a
// picture does not keep its file open.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "ByteSource.h"
#include "FileError.h"
#include "IconCanvas.h"
#include "PictureBox.h"
#include "PictureFiles.h"
#include "PictureTestSupport.h"
#include "bytes/FieldWriter.h"

namespace mosaikon {
namespace {

namespace fs = std::filesystem;

struct ReadCounts {
    std::uint64_t reads = 0;
    std::uint64_t bytes = 0;
    std::uint64_t largest = 0;
};

// A file that exists only as a rule: `head`, then bytes computed from their offset. It counts
// what is read from it, so a test sees what a reader would have cost on a real disk.
class RuleFile final : public ByteSource {
public:
    RuleFile(std::vector<std::uint8_t> head, std::uint64_t size,
             std::uint8_t (*byteAt)(std::uint64_t), std::shared_ptr<ReadCounts> counts)
        : m_head(std::move(head)),
          m_size(size),
          m_byteAt(std::move(byteAt)),
          m_counts(std::move(counts)) {}
    std::uint64_t size() const override { return m_size; }
    const std::string& name() const override { return m_name; }
    void read(std::uint64_t offset, std::span<std::uint8_t> out) override {
        checkInside(*this, offset, out.size());
        ++m_counts->reads;
        m_counts->bytes += out.size();
        m_counts->largest = std::max<std::uint64_t>(m_counts->largest, out.size());
        for (std::size_t i = 0; i < out.size(); ++i, ++offset) {
            out[i] = offset < m_head.size() ? m_head[offset] : m_byteAt(offset);
        }
    }

private:
    std::vector<std::uint8_t> m_head;
    std::uint64_t m_size;
    std::uint8_t (*m_byteAt)(std::uint64_t);
    std::shared_ptr<ReadCounts> m_counts;
    std::string m_name = "rule.bmp";
};

// A bitmap file header and info header, then `paletteEntries` grey entries.
std::vector<std::uint8_t> bitmapHead(std::int64_t width, std::int64_t height, int bitCount,
                                     std::uint32_t compression, std::uint32_t paletteEntries) {
    std::vector<std::uint8_t> out{'B', 'M'};
    putU32(out, 0);
    putU32(out, 0);
    putU32(out, 54 + 4 * paletteEntries);
    putU32(out, 40);
    putU32(out, static_cast<std::uint32_t>(width));
    putU32(out, static_cast<std::uint32_t>(height));
    putU16(out, 1);
    putU16(out, static_cast<std::uint16_t>(bitCount));
    putU32(out, compression);
    for (int i = 0; i < 3; ++i) putU32(out, 0);
    putU32(out, paletteEntries);
    putU32(out, 0);
    for (std::uint32_t i = 0; i < paletteEntries; ++i) putU32(out, i * 0x010101u);
    return out;
}

std::uint8_t scrambled(std::uint64_t offset) {
    return static_cast<std::uint8_t>((offset ^ (offset >> 9) ^ (offset >> 21)) * 37);
}

TEST(LargeBitmaps, CostWhatTheirSampledPixelsCostWhateverTheirSize) {
    struct Case {
        std::int64_t width, height;
        int bitCount;
    };
    const Case cases[] = {
        {100'000'000, 1, 32},  {2'000'000'000, 1, 32}, {60000, 60000, 8},    {2'000'000'000, 3, 1},
        {1'500'000'000, 2, 4}, {2'147'483'647, 1, 8},  {3'000'000, 700, 16}, {7'000'000, 5, 24},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height) + " x " +
                     std::to_string(c.bitCount));
        const std::uint32_t palette = c.bitCount <= 8 ? (1u << c.bitCount) : 0;
        std::vector<std::uint8_t> head = bitmapHead(c.width, c.height, c.bitCount, 0, palette);
        const std::uint64_t stride =
            (static_cast<std::uint64_t>(c.width) * static_cast<std::uint64_t>(c.bitCount) + 31) /
            32 * 4;
        const std::uint64_t pixelOffset = head.size();
        auto counts = std::make_shared<ReadCounts>();
        const Picture picture = readPicture(std::make_unique<RuleFile>(
            head, pixelOffset + stride * static_cast<std::uint64_t>(c.height), scrambled, counts));

        PictureBox view(319, 319, colours::kWhite);
        view.PaintPicture(picture, 0, 0, 321, 321);
        // Memory: no read larger than one piece. Time: a bounded cost per sampled pixel.
        constexpr std::uint64_t kSamples = 319 * 319;
        EXPECT_LE(counts->largest, 1u << 20);
        EXPECT_LE(counts->bytes, 64 * 1024 + kSamples * (4096 + 4));
        EXPECT_LE(counts->reads, 8 + 2 * kSamples);

        // The sampled pixels are the right ones.
        for (int y : {0, 160, 318}) {
            for (int x : {0, 77, 318}) {
                const std::uint64_t sx = (2 * static_cast<std::uint64_t>(x) + 1) *
                                         static_cast<std::uint64_t>(c.width) / 642;
                const std::uint64_t sy = (2 * static_cast<std::uint64_t>(y) + 1) *
                                         static_cast<std::uint64_t>(c.height) / 642;
                const std::uint64_t row =
                    pixelOffset + (static_cast<std::uint64_t>(c.height) - 1 - sy) * stride;
                const std::uint64_t bit = sx * static_cast<std::uint64_t>(c.bitCount);
                const std::uint64_t at = row + bit / 8;
                std::uint32_t expected = 0;
                switch (c.bitCount) {
                    case 16: {  // five bits a channel, replicated to eight
                        const unsigned v = scrambled(at) | (scrambled(at + 1) << 8);
                        auto eight = [](unsigned five) { return (five << 3) | (five >> 2); };
                        expected = Colour::fromRgb(static_cast<std::uint8_t>(eight((v >> 10) & 31)),
                                                   static_cast<std::uint8_t>(eight((v >> 5) & 31)),
                                                   static_cast<std::uint8_t>(eight(v & 31)))
                                       .value();
                        break;
                    }
                    case 24:
                    case 32:
                        expected =
                            Colour::fromRgb(scrambled(at + 2), scrambled(at + 1), scrambled(at))
                                .value();
                        break;
                    default: {  // grey palette: index i is (i, i, i)
                        const unsigned index =
                            (scrambled(at) >> (8 - static_cast<unsigned>(c.bitCount) - bit % 8)) &
                            ((1u << c.bitCount) - 1);
                        expected = index * 0x010101u;
                    }
                }
                EXPECT_EQ(view.pixel(x, y).value(), expected) << x << "," << y;
            }
        }
    }
}

// An RLE8 file whose every row is two encoded runs and one literal run, so both kinds of run
// and the row ends are exercised; pixel (x, y) from the top is index (x / 7 + y) mod 256 in
// the left half and (x + y) mod 256 in the right.
std::vector<std::uint8_t> runLengthFile(int width, int height) {
    std::vector<std::uint8_t> file = bitmapHead(width, height, 8, 1, 256);
    for (int stored = 0; stored < height; ++stored) {
        const int y = height - 1 - stored;
        for (int x = 0; x < width / 2;) {
            const int run = std::min(7 - x % 7, width / 2 - x);
            file.push_back(static_cast<std::uint8_t>(run));
            file.push_back(static_cast<std::uint8_t>(x / 7 + y));
            x += run;
        }
        for (int x = width / 2; x < width;) {
            const int run = std::min(254, width - x);
            file.push_back(0);
            file.push_back(static_cast<std::uint8_t>(run));
            for (int i = 0; i < run; ++i, ++x) file.push_back(static_cast<std::uint8_t>(x + y));
            if (run % 2 == 1) file.push_back(0);
        }
        file.push_back(0);
        file.push_back(0);
    }
    file.push_back(0);
    file.push_back(1);
    return file;
}

std::uint32_t runLengthIndex(int width, int x, int y) {
    return static_cast<std::uint8_t>(x < width / 2 ? x / 7 + y : x + y);
}

TEST(RunLengthBitmaps, LargeOnesAreDecodedInOrderKeepingOnlyWhatIsDrawn) {
    // 2.6 million pixels: more than is ever decoded whole, however it is drawn.
    const int width = 2600;
    const int height = 1000;
    const std::vector<std::uint8_t> bytes = runLengthFile(width, height);
    const auto counts = std::make_shared<ReadCounts>();
    const Picture picture = readPicture(std::make_unique<RuleFile>(
        bytes, bytes.size(), [](std::uint64_t) { return std::uint8_t{0}; }, counts));
    for (auto [x1, y1, w, h] : {std::array{0, 0, 321, 321}, std::array{318, 10, -400, 250}}) {
        PictureBox view(319, 319, colours::kWhite);
        view.PaintPicture(picture, x1, y1, w, h);
        PictureBox reference(319, 319, colours::kWhite);
        std::vector<Pixel> all(static_cast<std::size_t>(width) * height);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                all[static_cast<std::size_t>(y * width + x)] =
                    opaquePixel(Colour(runLengthIndex(width, x, y) * 0x010101u));
            }
        }
        reference.PaintPicture(Picture::fromPixels(PictureKind::Bitmap, width, height, all), x1, y1,
                               w, h);
        EXPECT_EQ(view.pixels(), reference.pixels());
    }
    // The stream is read in pieces, never whole.
    EXPECT_LE(counts->largest, 64u * 1024u);
}

TEST(RunLengthBitmaps, TheOpacityPlaneTakesThePixelsTheViewDrewWithoutReadingAgain) {
    const std::vector<std::uint8_t> bytes = runLengthFile(2600, 1000);
    const auto counts = std::make_shared<ReadCounts>();
    const Picture picture = readPicture(std::make_unique<RuleFile>(
        bytes, bytes.size(), [](std::uint64_t) { return std::uint8_t{0}; }, counts));
    IconCanvas canvas;
    canvas.Form_Load();
    canvas.LargePicture.PaintPicture(picture, 0, 0, IconCanvas::kViewOuterEdge,
                                     IconCanvas::kViewOuterEdge);
    const std::uint64_t drawn = counts->bytes;
    canvas.opacity.takeThroughView(picture);  // as Open Bitmap does next
    canvas.readBackIcon();
    EXPECT_EQ(counts->bytes, drawn) << "every tenth pixel of the view is one it already holds";
    EXPECT_TRUE(canvas.opacity.matches(canvas.SmallPicture));
}

TEST(RunLengthBitmaps, TheLargestAcceptedSizeCostsOnePieceOfMemory) {
    // 16384 × 16384 with a stream of zero bytes (row ends) as long as a sparse file makes it:
    // decoded in order, the stream needs no more than one piece in memory at a time.
    for (auto [width, height, accepted] :
         {std::array{16384, 16384, 1}, std::array{16385, 16384, 0}, std::array{8192, 4096, 1}}) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        const std::vector<std::uint8_t> head = bitmapHead(width, height, 8, 1, 256);
        const auto pixels = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
        const auto counts = std::make_shared<ReadCounts>();
        auto file = std::make_unique<RuleFile>(
            head, head.size() + 8 * pixels, [](std::uint64_t) { return std::uint8_t{0}; }, counts);
        if (!accepted) {
            EXPECT_THROW(readPicture(std::move(file)), FileError);
            continue;
        }
        const Picture picture = readPicture(std::move(file));
        PictureBox view(319, 319, colours::kWhite);
        view.PaintPicture(picture, 0, 0, 321, 321);
        EXPECT_EQ(view.pixel(100, 100).value(), 0u);  // rows ended at once: black
        EXPECT_LE(counts->largest, 64u * 1024u);
    }
}

// A 24-bit gradient bitmap of 2600 × 1700 pixels, large enough to stay in its file.
std::string writeLargeBitmap(const test::TemporaryFolder& folder, const std::string& name) {
    const int width = 2600;
    const int height = 1700;
    std::vector<std::uint8_t> file = bitmapHead(width, height, 24, 0, 0);
    const std::size_t stride = (width * 3 + 3) / 4 * 4;
    file.resize(file.size() + stride * height);
    for (std::size_t i = 54; i < file.size(); ++i) file[i] = scrambled(i);
    test::writeBytes(folder.file(name), file);
    return folder.file(name);
}

TEST(LargeBitmaps, AFailedReadNeverBecomesPixelsAndLeavesTheSurfaceAsItWas) {
    test::TemporaryFolder folder;
    using Change = std::function<void(const std::string&)>;
    const std::pair<const char*, Change> changes[] = {
        {"cut short", [](const std::string& path) { fs::resize_file(path, 100); }},
        {"removed", [](const std::string& path) { fs::remove(path); }},
        {"replaced",
         [&](const std::string& path) {
             fs::remove(path);
             test::writeBytes(path, std::vector<std::uint8_t>(
                                        fs::file_size(writeLargeBitmap(folder, "other.bmp"))));
         }},
    };
    for (const auto& [what, change] : changes) {
        SCOPED_TRACE(what);
        const std::string path = writeLargeBitmap(folder, "large.bmp");
        const Picture fresh = LoadPicture(path);
        const Picture painted = LoadPicture(path);
        PictureBox view(319, 319, colours::kWhite);
        view.PaintPicture(painted, 0, 0, 321, 321);
        const std::vector<std::uint32_t> first = view.pixels();
        change(path);

        // Opened but not yet drawn: the drawing fails before it changes anything.
        PictureBox other(319, 319, colours::kWhite);
        other.Line(0, 0, 318, 318, colours::kBlack, LineShape::Plain);
        const std::vector<std::uint32_t> before = other.pixels();
        EXPECT_THROW(other.PaintPicture(fresh, 0, 0, 321, 321), FileError);
        EXPECT_THROW(other.setPicture(fresh), FileError);
        EXPECT_EQ(other.pixels(), before);
        // Drawn before: the same drawing again gives the same pixels, from what was read then;
        // any other drawing needs the file and fails.
        view.PaintPicture(painted, 0, 0, 321, 321);
        EXPECT_EQ(view.pixels(), first);
        EXPECT_THROW(view.PaintPicture(painted, 0, 0, 100, 100), FileError);
        EXPECT_EQ(view.pixels(), first);
        fs::remove(path);
    }
}

#ifdef __linux__
// Whether this process has `path` open, as the system lists its open files.
bool holdsOpen(const std::string& path) {
    for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        if (fs::read_symlink(entry.path(), error) == fs::path(path)) return true;
    }
    return false;
}

TEST(LargeBitmaps, APictureDoesNotKeepItsFileOpen) {
    test::TemporaryFolder folder;
    const std::string path = writeLargeBitmap(folder, "large.bmp");
    const Picture picture = LoadPicture(path);
    EXPECT_FALSE(holdsOpen(path));
    PictureBox view(319, 319, colours::kWhite);
    view.PaintPicture(picture, 0, 0, 321, 321);
    (void)picture.pixelAt(5, 5);
    EXPECT_FALSE(holdsOpen(path));
}
#endif

}  // namespace
}  // namespace mosaikon
