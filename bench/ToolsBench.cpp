// Cost of one apply of each tool after Paint and Change, of a fill of the whole icon and of a
// selection move, on a typical icon.
#include <benchmark/benchmark.h>

#include "BusyCanvas.h"
#include "IconCanvas.h"

namespace mosaikon {
namespace {

using grid::Cell;

IconCanvas busyCanvas(Tool tool) {
    IconCanvas canvas = bench::busyCanvas();
    canvas.selectTool(tool);
    return canvas;
}

// A press, one move and the release, from corner to corner, in a colour of its own each time.
void dragAcross(benchmark::State& state, Tool tool, Mirroring mirroring = Mirroring::Off) {
    IconCanvas canvas = busyCanvas(tool);
    canvas.setMirroring(mirroring);
    std::uint32_t colour = 0;
    for (auto _ : state) {
        canvas.state.CurrentColor = Colour(++colour & 0xFFFFFF);
        canvas.toolPress({0, 0}, MouseButton::Primary);
        canvas.toolMove({20, 25});
        canvas.toolRelease({31, 31});
        benchmark::DoNotOptimize(canvas.SmallPicture.pixels().data());
    }
}

void BM_LineTool(benchmark::State& s) { dragAcross(s, Tool::Line); }
void BM_LineToolMirrored(benchmark::State& s) { dragAcross(s, Tool::Line, Mirroring::On); }
void BM_RectangleTool(benchmark::State& s) { dragAcross(s, Tool::Rectangle); }
void BM_FilledRectangleTool(benchmark::State& s) { dragAcross(s, Tool::FilledRectangle); }
void BM_EllipseTool(benchmark::State& s) { dragAcross(s, Tool::Ellipse); }
void BM_FilledEllipseTool(benchmark::State& s) { dragAcross(s, Tool::FilledEllipse); }
void BM_EraserStroke(benchmark::State& s) { dragAcross(s, Tool::Eraser, Mirroring::On); }

// One pointer move while a rectangle is dragged: the preview only.
void BM_RectanglePreviewMove(benchmark::State& state) {
    IconCanvas canvas = busyCanvas(Tool::Rectangle);
    canvas.toolPress({2, 3}, MouseButton::Primary);
    int step = 0;
    for (auto _ : state) {
        canvas.toolMove({20 + (++step & 7), 25});
        benchmark::DoNotOptimize(canvas.preview().cells.data());
    }
}

// The whole blank icon takes another colour each time.
void BM_FillWholeIcon(benchmark::State& state) {
    IconCanvas canvas;
    canvas.Form_Load();
    canvas.selectTool(Tool::Fill);
    std::uint32_t colour = 0;
    for (auto _ : state) {
        canvas.state.CurrentColor = Colour(++colour & 0xFFFFFF);
        canvas.toolPress({13, 17}, MouseButton::Primary);
        canvas.toolRelease({13, 17});
        benchmark::DoNotOptimize(canvas.SmallPicture.pixels().data());
    }
}

// A 16 × 16 selection floating over the busy icon, dragged by one cell, right and left in
// turn: one press-to-release each time.
void BM_SelectionMove(benchmark::State& state) {
    IconCanvas canvas = busyCanvas(Tool::Select);
    canvas.toolPress({8, 8}, MouseButton::Primary);
    canvas.toolRelease({23, 23});
    int column = 10;
    for (auto _ : state) {
        const int to = column == 10 ? 11 : 10;
        canvas.toolPress({column, 10}, MouseButton::Primary);
        canvas.toolRelease({to, 10});
        column = to;
        benchmark::DoNotOptimize(canvas.SmallPicture.pixels().data());
    }
}

void BM_SelectionFlip(benchmark::State& state) {
    IconCanvas canvas = busyCanvas(Tool::Select);
    canvas.selectAll();
    for (auto _ : state) {
        canvas.flipSelection(FlipAxis::LeftRight);
        benchmark::DoNotOptimize(canvas.SmallPicture.pixels().data());
    }
}

// The Paint tool's scan, with its mirror image painted too.
void BM_PaintScanMirrored(benchmark::State& state) {
    IconCanvas canvas = busyCanvas(Tool::Paint);
    canvas.setMirroring(Mirroring::On);
    for (auto _ : state) {
        canvas.LargePicture_MouseMove(1, 0, 155, 155);
        benchmark::DoNotOptimize(canvas.SmallPicture.pixels().data());
    }
}

BENCHMARK(BM_LineTool);
BENCHMARK(BM_LineToolMirrored);
BENCHMARK(BM_RectangleTool);
BENCHMARK(BM_FilledRectangleTool);
BENCHMARK(BM_EllipseTool);
BENCHMARK(BM_FilledEllipseTool);
BENCHMARK(BM_EraserStroke);
BENCHMARK(BM_RectanglePreviewMove);
BENCHMARK(BM_FillWholeIcon);
BENCHMARK(BM_SelectionMove);
BENCHMARK(BM_SelectionFlip);
BENCHMARK(BM_PaintScanMirrored);

}  // namespace
}  // namespace mosaikon
