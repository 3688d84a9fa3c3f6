#pragma once

#include <benchmark/benchmark.h>

#include <string>

#include "FileError.h"
#include "PeakMemory.h"
#include "PictureBox.h"
#include "PictureFiles.h"

namespace mosaikon::bench {

// Opens the picture at `path` and paints it into the view, as opening a bitmap does, with the
// peak memory it costs as the counter "peak_MiB".
inline void openAndPaint(benchmark::State& state, const std::string& path) {
    PictureBox view(319, 319, colours::kWhite);
    const PeakMemory peak;
    try {
        for (auto _ : state) {
            const Picture picture = LoadPicture(path);
            view.PaintPicture(picture, 0, 0, 321, 321);
            benchmark::DoNotOptimize(view.pixels().data());
        }
    } catch (const FileError& error) {
        state.SkipWithError(error.what());
    }
    state.counters["peak_MiB"] = peak.grownMiB();
}

}  // namespace mosaikon::bench
