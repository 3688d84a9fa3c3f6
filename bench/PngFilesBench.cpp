// Opening PNG files of any size and painting them into the 321 × 321 view, as opening a picture
// does: a 20000 × 20000 one (decoded row by row as it is painted) and a 65535 × 1 one. Each case
// reports how much its peak resident memory grew ("peak_MiB"); run one case per process
// (--benchmark_filter) for a figure no earlier case can hide.
#include <benchmark/benchmark.h>
#include <spng.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "FileError.h"
#include "OpenAndPaint.h"
#include "PeakMemory.h"
#include "PictureBox.h"
#include "PictureFiles.h"

namespace {

// Opening and painting as a bitmap is, with the size of the file as the counter "file_MiB".
void openAndPaintPng(benchmark::State& state, const std::string& path) {
    mosaikon::bench::openAndPaint(state, path);
    state.counters["file_MiB"] = static_cast<double>(std::filesystem::file_size(path)) / (1 << 20);
}

namespace fs = std::filesystem;

// Writes an RGB PNG of `width` × `height` pixels once, row by row, into the temporary folder:
// pixel (x, y) is (x, y, x ^ y), as the huge bitmap of the bitmap benchmarks.
std::string patternPng(int width, int height, bool interlaced) {
    const std::string path =
        (fs::temp_directory_path() / ("mosaikon-bench-" + std::to_string(width) + "x" +
                                      std::to_string(height) + (interlaced ? "i" : "") + ".png"))
            .string();
    if (fs::exists(path)) {
        return path;
    }
    const std::string partial = path + ".part";
    std::FILE* out = std::fopen(partial.c_str(), "wb");
    spng_ctx* context = spng_ctx_new(SPNG_CTX_ENCODER);
    spng_set_png_file(context, out);
    spng_set_option(context, SPNG_IMG_COMPRESSION_LEVEL, 1);
    spng_ihdr header{};
    header.width = static_cast<std::uint32_t>(width);
    header.height = static_cast<std::uint32_t>(height);
    header.bit_depth = 8;
    header.color_type = SPNG_COLOR_TYPE_TRUECOLOR;
    header.interlace_method = interlaced ? 1 : 0;
    spng_set_ihdr(context, &header);
    int error = spng_encode_image(context, nullptr, 0, SPNG_FMT_PNG,
                                  SPNG_ENCODE_PROGRESSIVE | SPNG_ENCODE_FINALIZE);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 3);
    while (error == 0) {
        spng_row_info info{};
        if (spng_get_row_info(context, &info) != 0) break;
        const auto y = static_cast<int>(info.row_num);
        for (int x = 0; x < width; ++x) {
            row[static_cast<std::size_t>(x) * 3] = static_cast<std::uint8_t>(x);
            row[static_cast<std::size_t>(x) * 3 + 1] = static_cast<std::uint8_t>(y);
            row[static_cast<std::size_t>(x) * 3 + 2] = static_cast<std::uint8_t>(x ^ y);
        }
        error = spng_encode_row(context, row.data(), row.size());
    }
    spng_ctx_free(context);
    std::fclose(out);
    if (error == SPNG_EOI) {
        fs::rename(partial, path);
    }
    return path;
}

void BM_OpenHugePngAndPaintView(benchmark::State& state) {
    openAndPaintPng(state, patternPng(20000, 20000, state.range(0) != 0));
}
BENCHMARK(BM_OpenHugePngAndPaintView)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_OpenWidePngAndPaintView(benchmark::State& state) {
    openAndPaintPng(state, patternPng(65535, 1, false));
}
BENCHMARK(BM_OpenWidePngAndPaintView)->Unit(benchmark::kMillisecond);

}  // namespace
