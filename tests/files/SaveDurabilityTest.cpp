// Saves survive a power cut: the new bytes reach the disk before the rename, the folder after it,
// and a failure of any of these steps is reported, never taken for success. The system calls of
// a save are watched and made to fail by defining them here, ahead of the C library's own.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <optional>

#include "FileError.h"
#include "PictureFiles.h"
#include "PictureTestSupport.h"

namespace {

enum class Call { Write, FlushFile, Close, Rename, FlushFolder };

struct Watch {
    std::string folder;  // calls on other files pass unseen
    std::vector<Call> seen;
    std::optional<Call> failing;
} g_watch;

std::string pathOf(int descriptor) {
    char path[4096] = {};
    const std::string link = "/proc/self/fd/" + std::to_string(descriptor);
    return readlink(link.c_str(), path, sizeof(path) - 1) > 0 ? path : "";
}

// Records `call` when it concerns the watched folder; true when it is to fail.
bool watched(Call call, const std::string& path) {
    if (g_watch.folder.empty() || !path.starts_with(g_watch.folder)) return false;
    if (call == Call::FlushFile && path == g_watch.folder) call = Call::FlushFolder;
    g_watch.seen.push_back(call);
    if (g_watch.failing != call) return false;
    errno = EIO;
    return true;
}

template <typename Function>
Function* next(const char* name) {
    return reinterpret_cast<Function*>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" ssize_t write(int descriptor, const void* bytes, size_t count) {
    static auto* real = next<ssize_t(int, const void*, size_t)>("write");
    return g_watch.folder.empty() || !watched(Call::Write, pathOf(descriptor))
               ? real(descriptor, bytes, count)
               : -1;
}

extern "C" int fsync(int descriptor) {
    static auto* real = next<int(int)>("fsync");
    return g_watch.folder.empty() || !watched(Call::FlushFile, pathOf(descriptor))
               ? real(descriptor)
               : -1;
}

extern "C" int close(int descriptor) {
    static auto* real = next<int(int)>("close");
    // The descriptor is closed either way, as when a network disk reports a late write error.
    const bool fails = !g_watch.folder.empty() && watched(Call::Close, pathOf(descriptor));
    const int result = real(descriptor);
    if (fails) errno = EIO;
    return fails ? -1 : result;
}

extern "C" int rename(const char* from, const char* to) noexcept {
    static auto* real = next<int(const char*, const char*)>("rename");
    return g_watch.folder.empty() || !watched(Call::Rename, to) ? real(from, to) : -1;
}

namespace mosaikon {
namespace {

namespace fs = std::filesystem;

class SaveDurability : public ::testing::Test {
protected:
    SaveDurability() {
        test::writeBytes(target, kOld);
        g_watch = {fs::canonical(folder.path()).string(), {}, {}};
    }
    ~SaveDurability() override { g_watch = {}; }

    const std::vector<std::uint8_t> kOld = {1, 2, 3, 4};
    const Picture icon = LoadPicture(test::dataPath("gen/hand/bpp32.ico"));
    test::TemporaryFolder folder;
    const std::string target = folder.file("icon.ico");
};

TEST_F(SaveDurability, TheBytesReachTheDiskBeforeTheRenameAndTheFolderAfterIt) {
    SavePicture(icon, target);
    const auto at = [&](Call call) {
        return std::find(g_watch.seen.begin(), g_watch.seen.end(), call) - g_watch.seen.begin();
    };
    const auto end = static_cast<std::ptrdiff_t>(g_watch.seen.size());
    EXPECT_LT(at(Call::Write), at(Call::FlushFile));
    EXPECT_LT(at(Call::FlushFile), at(Call::Rename));
    EXPECT_LT(at(Call::Rename), end);
    EXPECT_LT(at(Call::Rename), at(Call::FlushFolder));
    EXPECT_LT(at(Call::FlushFolder), end);
}

TEST_F(SaveDurability, EveryFailedStepIsReportedAndNoneBeforeTheRenameHarmsTheOldFile) {
    for (const Call step : {Call::Write, Call::FlushFile, Call::Close, Call::Rename}) {
        g_watch.failing = step;
        EXPECT_THROW(SavePicture(icon, target), FileError) << static_cast<int>(step);
        g_watch.failing.reset();
        EXPECT_EQ(test::readBytes(target), kOld) << static_cast<int>(step);
        EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()),
                  1);
    }
    // After the rename the new file is in place, but the save is not known to be permanent.
    g_watch.failing = Call::FlushFolder;
    try {
        SavePicture(icon, target);
        ADD_FAILURE() << "a failed flush of the folder was taken for a saved file";
    } catch (const FileError& error) {
        EXPECT_EQ(error.path(), target);
        EXPECT_NE(error.problem().find("permanent"), std::string::npos) << error.what();
    }
}

}  // namespace
}  // namespace mosaikon
