// Cost of the whole-icon transforms and of one paint scan on a typical icon.
#include <benchmark/benchmark.h>

#include "BusyCanvas.h"
#include "IconCanvas.h"

namespace mosaikon {
namespace {

using bench::busyCanvas;

template <typename Operation>
void runOn(benchmark::State& state, Operation operation) {
    IconCanvas canvas = busyCanvas();
    for (auto _ : state) {
        operation(canvas);
        benchmark::DoNotOptimize(canvas.SmallPicture.pixels().data());
    }
}

void BM_MoveLeft(benchmark::State& s) {
    runOn(s, [](IconCanvas& c) { c.MoveIcon("left"); });
}
void BM_MoveDown(benchmark::State& s) {
    runOn(s, [](IconCanvas& c) { c.MoveIcon("down"); });
}
void BM_FlipHorizontal(benchmark::State& s) {
    runOn(s, [](IconCanvas& c) { c.FlipHorizontal(); });
}
void BM_FlipVertical(benchmark::State& s) {
    runOn(s, [](IconCanvas& c) { c.FlipVertical(); });
}
void BM_Rotate(benchmark::State& s) {
    runOn(s, [](IconCanvas& c) { c.Rotat_Icon(); });
}
void BM_Clear(benchmark::State& s) {
    runOn(s, [](IconCanvas& c) { c.ClearIcon(); });
}
void BM_New(benchmark::State& s) {
    runOn(s, [](IconCanvas& c) { c.New_Icon(); });
}
void BM_PaintScan(benchmark::State& s) {
    runOn(s, [](IconCanvas& c) { c.LargePicture_MouseMove(1, 0, 155, 155); });
}
void BM_ChangeTool(benchmark::State& s) {
    runOn(s, [](IconCanvas& c) {
        c.state.CurrentColor = Colour(c.state.CurrentColor.value() ^ 0x10);
        c.LargePicture.setMousePointer(10);
        c.LargePicture_MouseDown(1, 0, 155, 155);
    });
}

BENCHMARK(BM_MoveLeft);
BENCHMARK(BM_MoveDown);
BENCHMARK(BM_FlipHorizontal);
BENCHMARK(BM_FlipVertical);
BENCHMARK(BM_Rotate);
BENCHMARK(BM_Clear);
BENCHMARK(BM_New);
BENCHMARK(BM_PaintScan);
BENCHMARK(BM_ChangeTool);

}  // namespace
}  // namespace mosaikon
