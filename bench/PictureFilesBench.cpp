// Opening pictures: a 20000 × 20000 24-bit bitmap loaded and painted into the 321 × 321 view
// (what opening a bitmap does), and a typical multi-image icon file.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "PictureBox.h"
#include "PictureFiles.h"

namespace {

constexpr int kEdge = 20000;

// Writes the 1.2 GB bitmap once, row by row, into the temporary folder.
const std::string& hugeBitmap() {
    static const std::string path = [] {
        const std::string file =
            (std::filesystem::temp_directory_path() / "mosaikon-bench-20000.bmp").string();
        const std::uint32_t stride = (kEdge * 3 + 3) / 4 * 4;
        const std::uint64_t size = 54 + static_cast<std::uint64_t>(stride) * kEdge;
        std::error_code error;
        if (std::filesystem::file_size(file, error) == size) {
            return file;
        }
        std::FILE* out = std::fopen(file.c_str(), "wb");
        std::vector<std::uint8_t> head(54, 0);
        auto put = [&head](std::size_t at, std::uint32_t value) {
            for (int i = 0; i < 4; ++i)
                head[at + static_cast<std::size_t>(i)] =
                    static_cast<std::uint8_t>(value >> (8 * i));
        };
        head[0] = 'B';
        head[1] = 'M';
        put(2, static_cast<std::uint32_t>(size));
        put(10, 54);
        put(14, 40);
        put(18, kEdge);
        put(22, kEdge);
        head[26] = 1;
        head[28] = 24;
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

void BM_OpenHugeBitmapAndPaintView(benchmark::State& state) {
    const std::string& path = hugeBitmap();
    mosaikon::PictureBox view(319, 319, mosaikon::colours::kWhite);
    for (auto _ : state) {
        const mosaikon::Picture picture = mosaikon::LoadPicture(path);
        view.PaintPicture(picture, 0, 0, 321, 321);
        benchmark::DoNotOptimize(view.pixels().data());
    }
}
BENCHMARK(BM_OpenHugeBitmapAndPaintView)->Unit(benchmark::kMillisecond);

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
