// Opening pictures: bitmaps loaded and painted into the 321 × 321 view (what opening a bitmap
// does), and a typical multi-image icon file. Each bitmap case also reports how much its peak
// resident memory grew ("peak_MiB"); run one case per process (--benchmark_filter) for a
// figure no earlier case can hide.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "FileError.h"
#include "OpenAndPaint.h"
#include "PeakMemory.h"
#include "PictureBox.h"
#include "PictureFiles.h"

namespace {

using mosaikon::bench::openAndPaint;

namespace fs = std::filesystem;

void put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

// A bitmap file header and info header, then `paletteEntries` grey palette entries.
std::vector<std::uint8_t> bitmapHead(std::int32_t width, std::int32_t height, int bitCount,
                                     std::uint32_t compression, std::uint32_t paletteEntries) {
    std::vector<std::uint8_t> head(54 + 4 * paletteEntries, 0);
    head[0] = 'B';
    head[1] = 'M';
    put32(head, 10, static_cast<std::uint32_t>(head.size()));
    put32(head, 14, 40);
    put32(head, 18, static_cast<std::uint32_t>(width));
    put32(head, 22, static_cast<std::uint32_t>(height));
    head[26] = 1;
    head[28] = static_cast<std::uint8_t>(bitCount);
    put32(head, 30, compression);
    put32(head, 46, paletteEntries);
    for (std::uint32_t i = 0; i < paletteEntries; ++i) {
        put32(head, 54 + 4 * i, i * 0x010101u);
    }
    return head;
}

std::string benchFile(const std::string& name) {
    return (fs::temp_directory_path() / ("mosaikon-bench-" + name)).string();
}

// A bitmap of `size` bytes whose header is `head` and whose pixels are a hole in the file: it
// takes no disk space, and reading it costs what reading any cached file does.
const std::string& sparseBitmap(const std::string& name, const std::vector<std::uint8_t>& head,
                                std::uint64_t size) {
    static std::string path;
    path = benchFile(name);
    std::error_code error;
    if (fs::file_size(path, error) != size) {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(head.data()),
                   static_cast<std::streamsize>(head.size()));
        fs::resize_file(path, size);
    }
    return path;
}

constexpr int kEdge = 20000;

// Writes the 1.2 GB bitmap once, row by row, into the temporary folder.
const std::string& hugeBitmap() {
    static const std::string path = [] {
        const std::string file = benchFile("20000.bmp");
        const std::uint32_t stride = (kEdge * 3 + 3) / 4 * 4;
        const std::uint64_t size = 54 + static_cast<std::uint64_t>(stride) * kEdge;
        std::error_code error;
        if (fs::file_size(file, error) == size) {
            return file;
        }
        std::FILE* out = std::fopen(file.c_str(), "wb");
        const std::vector<std::uint8_t> head = bitmapHead(kEdge, kEdge, 24, 0, 0);
        std::fwrite(head.data(), 1, head.size(), out);
        std::vector<std::uint8_t> row(stride, 0);
        for (int y = 0; y < kEdge; ++y) {
            for (int x = 0; x < kEdge; ++x) {
                row[static_cast<std::size_t>(x) * 3] = static_cast<std::uint8_t>(x);
                row[static_cast<std::size_t>(x) * 3 + 1] = static_cast<std::uint8_t>(y);
                row[static_cast<std::size_t>(x) * 3 + 2] = static_cast<std::uint8_t>(x ^ y);
            }
            std::fwrite(row.data(), 1, row.size(), out);
        }
        std::fclose(out);
        return file;
    }();
    return path;
}

// An RLE8 bitmap whose every row is stored as literal runs (the longest stream a real encoder
// writes), pixel (x, y) being palette index (x + y) mod 256.
const std::string& literalRunLengthBitmap(int width, int height) {
    static std::string path;
    path = benchFile("rle-" + std::to_string(width) + "x" + std::to_string(height) + ".bmp");
    std::vector<std::uint8_t> row;
    for (int x = 0; x < width;) {
        const int run = std::min(254, width - x);  // even and above 2: no padding, no escape
        row.push_back(0);
        row.push_back(static_cast<std::uint8_t>(run));
        for (int i = 0; i < run; ++i, ++x) row.push_back(static_cast<std::uint8_t>(x));
        if (run % 2 == 1) row.push_back(0);
    }
    row.push_back(0);
    row.push_back(0);  // end of line
    const std::vector<std::uint8_t> head = bitmapHead(width, height, 8, 1, 256);
    const std::uint64_t size = head.size() + row.size() * static_cast<std::uint64_t>(height) + 2;
    std::error_code error;
    if (fs::file_size(path, error) == size) {
        return path;
    }
    std::FILE* out = std::fopen(path.c_str(), "wb");
    std::fwrite(head.data(), 1, head.size(), out);
    for (int y = 0; y < height; ++y) {
        std::fwrite(row.data(), 1, row.size(), out);
    }
    const std::uint8_t endOfBitmap[] = {0, 1};
    std::fwrite(endOfBitmap, 1, 2, out);
    std::fclose(out);
    return path;
}

void BM_OpenHugeBitmapAndPaintView(benchmark::State& state) { openAndPaint(state, hugeBitmap()); }
BENCHMARK(BM_OpenHugeBitmapAndPaintView)->Unit(benchmark::kMillisecond);

void BM_OpenSparseWideBitmap(benchmark::State& state) {
    // One row of 2,000,000,000 pixels at 32 bits: an 8 GB file.
    constexpr std::int32_t kWidth = 2'000'000'000;
    const auto head = bitmapHead(kWidth, 1, 32, 0, 0);
    openAndPaint(state, sparseBitmap("wide.bmp", head, head.size() + 4ull * kWidth));
}
BENCHMARK(BM_OpenSparseWideBitmap)->Unit(benchmark::kMillisecond);

void BM_OpenSparseSquareBitmap(benchmark::State& state) {
    // 60000 × 60000 pixels at 32 bits: a 14.4 GB file.
    constexpr std::int32_t kSide = 60000;
    const auto head = bitmapHead(kSide, kSide, 32, 0, 0);
    openAndPaint(state, sparseBitmap("square.bmp", head, head.size() + 4ull * kSide * kSide));
}
BENCHMARK(BM_OpenSparseSquareBitmap)->Unit(benchmark::kMillisecond);

// Run-length bitmaps: state.range(0) × state.range(1) pixels. A sparse file's stream is all
// zero bytes (a row end each two bytes) as long as the reader would ever look at.
void BM_OpenSparseRunLengthBitmap(benchmark::State& state) {
    const auto width = static_cast<std::int32_t>(state.range(0));
    const auto height = static_cast<std::int32_t>(state.range(1));
    const auto head = bitmapHead(width, height, 8, 1, 256);
    const std::uint64_t pixels = static_cast<std::uint64_t>(width) * height;
    openAndPaint(state, sparseBitmap("rle-sparse-" + std::to_string(width) + ".bmp", head,
                                     head.size() + 8 * pixels + 16ull * height + 1024));
}
BENCHMARK(BM_OpenSparseRunLengthBitmap)
    ->Args({8192, 4096})
    ->Args({16384, 16384})
    ->Unit(benchmark::kMillisecond);

void BM_OpenLiteralRunLengthBitmap(benchmark::State& state) {
    openAndPaint(state, literalRunLengthBitmap(static_cast<int>(state.range(0)),
                                               static_cast<int>(state.range(1))));
}
BENCHMARK(BM_OpenLiteralRunLengthBitmap)
    ->Args({8192, 4096})
    ->Args({16384, 16384})
    ->Unit(benchmark::kMillisecond);

void BM_OpenTypicalIcon(benchmark::State& state) {
    // Six images from 16 × 16 to 256 × 256 (PNG), the 32 × 32 one chosen.
    const std::string path =
        std::string(MOSAIKON_BENCH_DATA) + "/pictures/gen/hand/multi_unsorted.ico";
    for (auto _ : state) {
        const mosaikon::Picture picture = mosaikon::LoadPicture(path);
        benchmark::DoNotOptimize(picture.source());
    }
}
BENCHMARK(BM_OpenTypicalIcon)->Unit(benchmark::kMicrosecond);

}  // namespace
