// The preview window's refresh after a change: the opacity plane taken as a picture and every
// view of the preview sheet drawn from it (the window then only shows the sheet's pixels).
#include <benchmark/benchmark.h>

#include "OpacityPlane.h"
#include "PreviewSheet.h"

namespace mosaikon {
namespace {

// A soft-edged icon: every pixel partly transparent, so every view blends.
OpacityPlane softPlane() {
    OpacityPlane plane;
    for (int y = 0; y < OpacityPlane::kEdge; ++y) {
        for (int x = 0; x < OpacityPlane::kEdge; ++x) {
            plane.set(x, y,
                      makePixel(Colour(static_cast<std::uint32_t>(x * 0x0800 + y * 0x08)),
                                static_cast<std::uint8_t>(1 + (x + 32 * y) % 254)));
        }
    }
    return plane;
}

void BM_PreviewRefreshAfterAChange(benchmark::State& state) {
    OpacityPlane plane = softPlane();
    PreviewSheet sheet;
    int step = 0;
    for (auto _ : state) {
        plane.paint(step % 32, step / 32 % 32, static_cast<std::uint32_t>(step));  // the change
        ++step;
        sheet.draw(plane.picture());
        benchmark::DoNotOptimize(sheet.sheet().pixels().data());
    }
}
BENCHMARK(BM_PreviewRefreshAfterAChange)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace mosaikon
