// The undo history: what 1,000 steps of typical editing hold, and what an undo or redo costs.
#include <benchmark/benchmark.h>

#include <random>

#include "EditHistory.h"
#include "IconCanvas.h"

namespace mosaikon {
namespace {

// A colourful icon, so transforms change most cells.
IconCanvas busyCanvas() {
    IconCanvas canvas;
    canvas.Form_Load();
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            canvas.SmallPicture.PSet(
                x, y, Colour(static_cast<std::uint32_t>((x / 4) * 0x200000 + (y / 4) * 0x002000)));
        }
    }
    canvas.opacity.follow(canvas.SmallPicture);  // the plane as the tools would have left it
    canvas.rebuildView();
    return canvas;
}

// One step of a typical session: mostly strokes of a few cells, now and then a colour
// replacement or a whole-icon command.
void typicalStep(IconCanvas& canvas, std::mt19937& random) {
    const auto cell = [&] { return static_cast<float>(random() % 32) * 10.0f + 5.0f; };
    const unsigned kind = random() % 100;
    if (kind < 70) {
        canvas.state.CurrentColor = Colour(random() % 16 * 0x0F0F0F);
        float x = cell();
        float y = cell();
        canvas.LargePicture_MouseDown(1, 0, x, y);
        for (unsigned i = random() % 12; i > 0; --i) {
            x = std::min(x + 10.0f, 315.0f);
            canvas.LargePicture_MouseMove(1, 0, x, y);
        }
    } else if (kind < 78) {
        canvas.state.CurrentColor = Colour(random() % 0x1000000);
        canvas.LargePicture.setMousePointer(pointers::kUpArrow);
        canvas.LargePicture_MouseDown(1, 0, cell(), cell());
    } else if (kind < 86) {
        static const char* const kDirections[] = {"left", "right", "up", "down"};
        canvas.MoveIcon(kDirections[random() % 4]);
    } else if (kind < 92) {
        (random() % 2 ? canvas.FlipHorizontal() : canvas.FlipVertical());
    } else if (kind < 96) {
        canvas.Rotat_Icon();
    } else if (kind < 98) {
        canvas.ClearIcon();
    } else {
        canvas = busyCanvas();
    }
}

// The history the window keeps: both surfaces and the opacity plane.
EditHistory historyOf(const IconCanvas& canvas) {
    return EditHistory(canvas.SmallPicture, canvas.LargePicture, canvas.opacity);
}

bool record(EditHistory& history, const IconCanvas& canvas) {
    return history.record(canvas.SmallPicture, canvas.LargePicture, canvas.opacity, nullptr);
}

// Records 1,000 typical steps, the same ones every time.
void recordTypicalSession(IconCanvas& canvas, EditHistory& history) {
    std::mt19937 random(7);
    while (history.undoCount() < 1000) {
        typicalStep(canvas, random);
        record(history, canvas);
    }
}

void BM_ThousandTypicalSteps(benchmark::State& state) {
    std::size_t bytes = 0;
    for (auto _ : state) {
        IconCanvas canvas = busyCanvas();
        EditHistory history = historyOf(canvas);
        recordTypicalSession(canvas, history);
        bytes = history.memoryBytes();
    }
    state.counters["history_MiB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
}
BENCHMARK(BM_ThousandTypicalSteps)->Unit(benchmark::kMillisecond)->Iterations(3);

// The largest step there is: a flip of an icon whose every pixel has its own colour.
void BM_ThousandFlipsOfADistinctIcon(benchmark::State& state) {
    std::size_t bytes = 0;
    for (auto _ : state) {
        IconCanvas canvas;
        canvas.Form_Load();
        for (int i = 0; i < 1024; ++i) {
            canvas.SmallPicture.PSet(i % 32, i / 32, Colour(static_cast<std::uint32_t>(i * 4099)));
        }
        canvas.rebuildView();
        EditHistory history = historyOf(canvas);
        for (int i = 0; i < 1000; ++i) {
            (i % 2 ? canvas.FlipVertical() : canvas.FlipHorizontal());
            record(history, canvas);
        }
        bytes = history.memoryBytes();
    }
    state.counters["history_MiB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
}
BENCHMARK(BM_ThousandFlipsOfADistinctIcon)->Unit(benchmark::kMillisecond)->Iterations(1);

// Every step of a 1,000-step typical history undone and then redone; the counter gives the
// time of one undo or redo.
void BM_UndoAllThenRedoAll(benchmark::State& state) {
    IconCanvas canvas = busyCanvas();
    EditHistory history = historyOf(canvas);
    recordTypicalSession(canvas, history);
    std::size_t operations = 0;
    for (auto _ : state) {
        while (history.undo(canvas.SmallPicture, canvas.LargePicture, canvas.opacity)) {
            ++operations;
        }
        while (history.redo(canvas.SmallPicture, canvas.LargePicture, canvas.opacity)) {
            ++operations;
        }
    }
    state.counters["per_undo_or_redo"] = benchmark::Counter(
        static_cast<double>(operations), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_UndoAllThenRedoAll)->Unit(benchmark::kMillisecond);

// The window records after every handler, a pointer move over the grid included; most change
// nothing, and this is what each of those costs.
void BM_RecordWhenNothingChanged(benchmark::State& state) {
    IconCanvas canvas = busyCanvas();
    EditHistory history = historyOf(canvas);
    for (auto _ : state) {
        benchmark::DoNotOptimize(record(history, canvas));
    }
}
BENCHMARK(BM_RecordWhenNothingChanged)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace mosaikon
