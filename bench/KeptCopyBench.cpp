// The kept copy: what a change costs the event thread, and how long the writer takes to put a
// copy on disk (encoded, written, flushed and renamed into place).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <vector>

#include "KeptCopies.h"
#include "KeptCopySchedule.h"

namespace {

using namespace mosaikon;

std::filesystem::path benchFolder() {
    return std::filesystem::temp_directory_path() / "mosaikon-kept-copy-bench";
}

std::vector<std::uint32_t> icon(std::uint32_t seed) {
    std::vector<std::uint32_t> pixels(32 * 32);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = (seed + static_cast<std::uint32_t>(i) * 40503u) & 0x00FFFFFFu;
    }
    return pixels;
}

// The event thread's part of a change when it is handed over: the schedule asked, the 4 KiB
// icon handed to the writer. Every change is handed over here, more often than the schedule
// ever does, so this is the most a change costs.
void BM_KeptCopyChangeOnEventThread(benchmark::State& state) {
    std::filesystem::remove_all(benchFolder());
    KeptCopyWriter writer(benchFolder().string());
    KeptCopySchedule schedule(KeptCopySchedule::Clock::duration::zero());
    const auto pixels = icon(1);
    for (auto _ : state) {
        const auto now = KeptCopySchedule::Clock::now();
        if (schedule.changed(now) <= now) {
            writer.keep(pixels);
            schedule.handedOver(now);
        }
    }
    writer.waitUntilWritten(std::chrono::seconds(10));
}
BENCHMARK(BM_KeptCopyChangeOnEventThread);

// One copy from hand-over to being on disk, on the writer's thread.
void BM_KeptCopyWrite(benchmark::State& state) {
    std::filesystem::remove_all(benchFolder());
    KeptCopyWriter writer(benchFolder().string());
    std::uint32_t seed = 0;
    for (auto _ : state) {
        writer.keep(icon(++seed));
        writer.waitUntilWritten(std::chrono::seconds(10));
    }
}
BENCHMARK(BM_KeptCopyWrite)->Unit(benchmark::kMillisecond);

}  // namespace
