// A save killed at any moment leaves the old file or the new one, whole: a forked process saves
// over one file again and again and is killed with SIGKILL after a random delay, many times.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "PictureFiles.h"
#include "PictureTestSupport.h"

namespace mosaikon {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono;

constexpr int kKills = 200;
constexpr int kKillsInsideASaveWanted = 20;
constexpr int kMostKills = 3000;

// Starts a process that saves `first` and `second` over `target` by turns until it is killed,
// and waits until its first save is done, so the delays that follow fall among saves rather than
// in the start of a freshly forked process, however slow that is; -1 when it could not start.
pid_t startSaving(const std::string& target, const Picture& first, const Picture& second) {
    int ready[2];
    if (pipe(ready) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        try {
            SavePicture(second, target);
            SavePicture(first, target);
            if (write(ready[1], "s", 1) != 1) _exit(1);
            for (;;) {
                SavePicture(second, target);
                SavePicture(first, target);
            }
        } catch (...) {
            _exit(1);
        }
    }
    ::close(ready[1]);
    char signal = 0;
    const bool started = child > 0 && read(ready[0], &signal, 1) == 1;
    ::close(ready[0]);
    if (!started && child > 0) waitpid(child, nullptr, 0);
    return started ? child : -1;
}

std::vector<fs::path> temporariesIn(const fs::path& folder) {
    std::vector<fs::path> found;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().native().starts_with(".mosaikon-")) found.push_back(entry);
    }
    return found;
}

TEST(SaveCrashes, AKilledSaveLeavesTheOldFileOrTheNewOneWhole) {
    test::TemporaryFolder folder;
    const Picture first = LoadPicture(test::dataPath("gen/hand/bpp32.ico"));
    std::vector<Pixel> pixels = first.allPixels();
    pixels[0] ^= 0x00FFFFFFu;
    const Picture second = Picture::fromPixels(PictureKind::Icon, 32, 32, pixels);
    SavePicture(first, folder.file("first.ico"));
    SavePicture(second, folder.file("second.ico"));
    const auto firstBytes = test::readBytes(folder.file("first.ico"));
    const auto secondBytes = test::readBytes(folder.file("second.ico"));
    ASSERT_NE(firstBytes, secondBytes);

    fs::create_directory(folder.path() / "saves");
    const std::string target = folder.file("saves/icon.ico");
    // The saving process never pauses, so delays spread over two whole saves land in every step.
    const auto start = steady_clock::now();
    for (int i = 0; i < 4; ++i) SavePicture(first, target);
    const auto aSave = duration_cast<microseconds>(steady_clock::now() - start) / 4;
    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<std::int64_t> delay(0, 2 * aSave.count() + 100);

    // A machine where kills rarely find a temporary file in place gets more of them.
    int killedInsideASave = 0;
    int kills = 0;
    std::size_t leftoversBefore = 0;
    for (int kill = 0; kill < kMostKills; ++kill) {
        if (kill >= kKills && killedInsideASave >= kKillsInsideASaveWanted) break;
        ++kills;
        const pid_t saver = startSaving(target, first, second);
        ASSERT_GT(saver, 0) << "the saving process did not start";
        std::this_thread::sleep_for(microseconds(delay(random)));
        ::kill(saver, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(saver, &status, 0), saver);
        ASSERT_TRUE(WIFSIGNALED(status))
            << "the saving process stopped by itself, status " << status;
        const auto bytes = test::readBytes(target);
        ASSERT_TRUE(bytes == firstBytes || bytes == secondBytes)
            << "kill " << kill << " left " << bytes.size() << " bytes of neither save";
        const std::size_t leftovers = temporariesIn(folder.path() / "saves").size();
        killedInsideASave += leftovers > leftoversBefore ? 1 : 0;
        leftoversBefore = leftovers;
    }
    // Some kills must find a save under way, or the test tested nothing.
    EXPECT_GT(killedInsideASave, 0);
    std::cout << killedInsideASave << " of " << kills << " kills landed inside a save ("
              << aSave.count() << " µs each)\n";

    // What the killed saves left behind goes with the next save once it is old enough.
    for (const fs::path& leftover : temporariesIn(folder.path() / "saves")) {
        fs::last_write_time(leftover, fs::file_time_type::clock::now() - minutes(2));
    }
    SavePicture(first, target);
    EXPECT_TRUE(temporariesIn(folder.path() / "saves").empty());
}

}  // namespace
}  // namespace mosaikon
