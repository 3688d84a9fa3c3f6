// A painting process killed with SIGKILL at random moments, again and again: after each kill the
// newest copy left behind opens whole with the editor's reader and holds the icon as it was at
// most a second before the kill, and at most a second older than the last change reported.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <random>
#include <sstream>

#include "KeptCopies.h"
#include "PainterSteps.h"
#include "PictureTestSupport.h"

namespace mosaikon {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int kKills = 120;
constexpr std::chrono::milliseconds kMostAge{1000};

// One run of the painter: the changes it reported, by step, with when it made them.
struct PaintedRun {
    std::map<std::uint32_t, Clock::time_point> changes;
    Clock::time_point killedAt;
};

// Starts the painter, lets it paint for `paintFor` after its first report, kills it and reads
// everything it had reported.
PaintedRun paintAndKill(const std::string& folder, std::uint32_t run,
                        std::chrono::microseconds paintFor) {
    int out[2];
    EXPECT_EQ(pipe(out), 0);
    const std::string runText = std::to_string(run);
    const pid_t child = fork();
    if (child == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::close(out[0]);
        ::close(out[1]);
        ::execl(MOSAIKON_KEPT_COPY_PAINTER, MOSAIKON_KEPT_COPY_PAINTER, folder.c_str(),
                runText.c_str(), "10", static_cast<char*>(nullptr));
        _exit(127);
    }
    ::close(out[1]);
    std::string text;
    const auto readSome = [&](int timeoutMs) {
        pollfd ready{out[0], POLLIN, 0};
        if (::poll(&ready, 1, timeoutMs) <= 0) return false;
        char buffer[4096];
        const ssize_t got = ::read(out[0], buffer, sizeof buffer);
        if (got <= 0) return false;
        text.append(buffer, static_cast<std::size_t>(got));
        return true;
    };
    while (text.find('\n') == std::string::npos && readSome(5000)) {
    }
    const auto deadline = Clock::now() + paintFor;
    while (Clock::now() < deadline) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        readSome(static_cast<int>(left.count()));
    }
    PaintedRun result;
    result.killedAt = Clock::now();
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    while (readSome(0)) {
    }
    ::close(out[0]);
    std::istringstream lines(text);
    std::uint32_t step = 0;
    Clock::rep nanoseconds = 0;
    while (lines >> step >> nanoseconds) {
        result.changes[step] = Clock::time_point(Clock::duration(nanoseconds));
    }
    return result;
}

std::vector<std::uint32_t> iconAfter(std::uint32_t run, std::uint32_t steps) {
    IconCanvas canvas;
    canvas.Form_Load();
    for (std::uint32_t step = 1; step <= steps; ++step) {
        test::paintStep(canvas, run, step);
    }
    return canvas.SmallPicture.pixels();
}

TEST(KeptCopyCrashes, AfterEveryKillTheNewestCopyIsWholeAndAtMostASecondOld) {
    test::TemporaryFolder folder;
    const std::string copies = folder.file("copies");
    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<int> paintForUs(2'000, 40'000);
    int runsWithTheirOwnCopy = 0;
    for (std::uint32_t run = 1; run <= kKills; ++run) {
        const PaintedRun painted =
            paintAndKill(copies, run, std::chrono::microseconds(paintForUs(random)));
        ASSERT_FALSE(painted.changes.empty()) << "run " << run << " never painted";
        const auto left = KeptCopyFolder(copies).leftBehind(1);
        if (left.empty()) {
            continue;  // killed before its first copy was on disk, as every run before it
        }
        Picture copy;
        ASSERT_NO_THROW(copy = readKeptCopy(left[0].path)) << "run " << run;
        const std::uint32_t label = pixelColour(copy.pixelAt(0, 0)).value();
        if (label >> test::kStepBits != run) {
            // Killed before its first copy was on disk: within a second of its first change.
            ASSERT_LT(painted.killedAt - painted.changes.begin()->second, kMostAge) << run;
            continue;
        }
        ++runsWithTheirOwnCopy;
        const std::uint32_t step = label & (test::kMostSteps - 1);
        ASSERT_TRUE(painted.changes.contains(step)) << "run " << run << " holds an unreported step";
        std::vector<std::uint32_t> plain;
        for (const Pixel pixel : copy.allPixels()) plain.push_back(pixelColour(pixel).value());
        ASSERT_EQ(plain, iconAfter(run, step)) << "run " << run << " step " << step;
        const auto lastChange = painted.changes.rbegin()->second;
        EXPECT_LE(lastChange - painted.changes.at(step), kMostAge) << "run " << run;
        // The icon at one second before the kill: the copy holds it or a later one.
        const auto next = painted.changes.upper_bound(step);
        if (next != painted.changes.end()) {
            EXPECT_GT(next->second, painted.killedAt - kMostAge) << "run " << run;
        }
    }
    // Most runs live long enough to write; a run that never did would test nothing.
    EXPECT_GE(runsWithTheirOwnCopy, kKills / 4);
    std::printf("%d of %d killed runs had written a copy of their own\n", runsWithTheirOwnCopy,
                kKills);
}

}  // namespace
}  // namespace mosaikon
