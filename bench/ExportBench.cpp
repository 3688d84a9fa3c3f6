// Exporting the icon: every size drawn and encoded into one icon file, and the PNG alone. The
// command runs while the window waits, so the whole of it should take well under 5 ms.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "ExportFiles.h"
#include "png/PngImage.h"

namespace {

using namespace mosaikon;

// A busy icon: every pixel its own colour, some clear, as pixel art with edges everywhere.
Picture busyIcon() {
    std::vector<Pixel> pixels(32 * 32);
    for (int i = 0; i < 32 * 32; ++i) {
        const auto value = static_cast<std::uint32_t>(i) * 2654435761u;
        pixels[i] = i % 7 == 0 ? 0 : opaquePixel(Colour(value & 0x00FFFFFFu));
    }
    return Picture::fromPixels(PictureKind::Icon, 32, 32, std::move(pixels));
}

void BM_EncodeAllIconSizes(benchmark::State& state) {
    const Picture icon = busyIcon();
    for (auto _ : state) {
        std::vector<std::uint8_t> bytes = encodeIconSizes(icon, "bench.ico");
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_EncodeAllIconSizes)->Unit(benchmark::kMillisecond);

// The whole command after the dialog: encoded, written, flushed to the disk and renamed.
void BM_ExportIconSizesToDisk(benchmark::State& state) {
    const Picture icon = busyIcon();
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / "mosaikon-export-bench.ico";
    for (auto _ : state) {
        ExportIconSizes(icon, path.string());
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_ExportIconSizesToDisk)->Unit(benchmark::kMillisecond);

void BM_EncodePng(benchmark::State& state) {
    const Picture icon = busyIcon();
    for (auto _ : state) {
        std::vector<std::uint8_t> bytes = encodePng(icon, "bench.png");
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_EncodePng)->Unit(benchmark::kMicrosecond);

}  // namespace
