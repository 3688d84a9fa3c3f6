// The painting process of the crash test: paints through the canvas and keeps its copy as the
// editor does, reporting each change ("step nanoseconds" on standard output, steady clock)
// before the icon that holds it is handed to the writer, until it is killed.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "KeptCopies.h"
#include "KeptCopySchedule.h"
#include "PainterSteps.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: kept_copy_painter FOLDER RUN GAP_MS\n", stderr);
        return 2;
    }
    using namespace mosaikon;
    const auto run = static_cast<std::uint32_t>(std::stoul(argv[2]));
    const std::chrono::milliseconds gap(std::stoi(argv[3]));
    IconCanvas canvas;
    canvas.Form_Load();
    KeptCopyWriter writer(argv[1]);
    KeptCopySchedule schedule(gap);
    for (std::uint32_t step = 1; step < test::kMostSteps; ++step) {
        test::paintStep(canvas, run, step);
        const auto now = KeptCopySchedule::Clock::now();
        const std::string line =
            std::to_string(step) + " " + std::to_string(now.time_since_epoch().count()) + "\n";
        if (::write(STDOUT_FILENO, line.data(), line.size()) != static_cast<ssize_t>(line.size())) {
            return 1;
        }
        if (schedule.changed(now) <= now) {
            writer.keep(canvas.SmallPicture.pixels());
            schedule.handedOver(now);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    return 0;
}
