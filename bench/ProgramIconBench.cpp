// Taking the icon out of a program file and drawing it on the magnified view, as GetAppIcon
// does. Reads are bounded, so the cost must not depend on how large the file is: the same work
// on a 1 GiB file with its resources at the end must take as long as on a small one.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "ProgramFileBuilder.h"
#include "ProgramIcons.h"

namespace {

using namespace mosaikon;

void extractAndDraw(benchmark::State& state, const std::string& path) {
    PictureBox view(319, 319, Colour(0x00FFFFFF));
    std::vector<char> text(std::max(kMaxPath, path.size() + 1), '\0');
    std::copy(path.begin(), path.end(), text.begin());
    {
        // Timing the substitute would say nothing about reading the file.
        std::int32_t index = 1;
        const IconHandle icon = ExtractAssociatedIconA(ModuleInstance::program(), text, &index);
        if (icon.picture().sharesWith(ModuleInstance::program().substituteIcon())) {
            state.SkipWithError(("no icon could be read from " + path).c_str());
            return;
        }
    }
    for (auto _ : state) {
        std::int32_t index = 1;
        IconHandle icon = ExtractAssociatedIconA(ModuleInstance::program(), text, &index);
        DrawIconEx(view, 0, 0, icon, 321, 321, 0, std::nullopt, iconflags::kNormal);
        DestroyIcon(icon);
        benchmark::DoNotOptimize(view.pixels().data());
    }
}

// The largest program file at hand: MOSAIKON_BENCH_PROGRAM, or the largest one the tests keep.
void BM_ExtractAndDraw_CorpusFile(benchmark::State& state) {
    const char* chosen = std::getenv("MOSAIKON_BENCH_PROGRAM");
    const std::string path = chosen != nullptr ? chosen : MOSAIKON_BENCH_DEFAULT_PROGRAM;
    if (!std::filesystem::exists(path)) {
        state.SkipWithError(("no program file at " + path).c_str());
        return;
    }
    state.SetLabel(std::filesystem::path(path).filename().string() + ", " +
                   std::to_string(std::filesystem::file_size(path) / 1024) + " KiB");
    extractAndDraw(state, path);
}
BENCHMARK(BM_ExtractAndDraw_CorpusFile)->Unit(benchmark::kMicrosecond);

// A sparse file of `size` bytes: the headers at the start and the resource section at the end,
// with two groups of 16, 32, 48 and 256 pixel images.
std::string writeProgram(std::uint64_t size) {
    using namespace mosaikon::test;
    ProgramFileBuilder builder;
    for (std::uint16_t g = 0; g < 2; ++g) {
        const auto base = static_cast<std::uint16_t>(1 + 4 * g);
        builder.addGroup({std::nullopt,
                          static_cast<std::uint16_t>(100 + g),
                          {{256, 256, 32, base},
                           {48, 48, 32, static_cast<std::uint16_t>(base + 1)},
                           {32, 32, 32, static_cast<std::uint16_t>(base + 2)},
                           {16, 16, 32, static_cast<std::uint16_t>(base + 3)}},
                          std::nullopt});
        builder.addImage(base, solidIconImage(256, 256, 0xFF3060C0u));
        builder.addImage(static_cast<std::uint16_t>(base + 1), solidIconImage(48, 48, 0xFF3060C0u));
        builder.addImage(static_cast<std::uint16_t>(base + 2), iconImage(32, 32, [](int x, int y) {
                             return (x + y) % 2 == 0 ? Pixel{0xFF2040E0u} : Pixel{0x80000000u};
                         }));
        builder.addImage(static_cast<std::uint16_t>(base + 3), solidIconImage(16, 16, 0xFF3060C0u));
    }
    ProgramLayout layout;
    std::vector<std::uint8_t> small = builder.build(ProgramFormat::Pe32Plus, &layout);
    const std::uint64_t section = (size - (small.size() - layout.resourceStart)) / 0x200 * 0x200;
    putU32At(small, layout.sectionHeader + 20, static_cast<std::uint32_t>(section));

    const std::string path =
        (std::filesystem::temp_directory_path() / "mosaikon-bench-1gib.exe").string();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(small.data()),
              static_cast<std::streamsize>(layout.resourceStart));
    out.seekp(static_cast<std::streamoff>(section));  // the gap stays a hole on disk
    out.write(reinterpret_cast<const char*>(small.data() + layout.resourceStart),
              static_cast<std::streamsize>(small.size() - layout.resourceStart));
    out.seekp(static_cast<std::streamoff>(size - 1));
    out.put('\0');
    return path;
}

void BM_ExtractAndDraw_Generated(benchmark::State& state) {
    const auto size = static_cast<std::uint64_t>(state.range(0));
    const std::string path = writeProgram(size);
    state.SetLabel(std::to_string(std::filesystem::file_size(path) >> 20) + " MiB file");
    extractAndDraw(state, path);
    std::filesystem::remove(path);
}
BENCHMARK(BM_ExtractAndDraw_Generated)->Arg(4 << 20)->Arg(1 << 30)->Unit(benchmark::kMicrosecond);

}  // namespace
