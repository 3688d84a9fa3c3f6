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

#include "AtomicFile.h"
#include "FileError.h"
#include "PictureFiles.h"
#include "PictureTestSupport.h"

namespace {

enum class Call { Write, FlushFile, FlushFileSystem, Close, Rename, FlushFolder };

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

extern "C" int syncfs(int descriptor) {
    static auto* real = next<int(int)>("syncfs");
    return g_watch.folder.empty() || !watched(Call::FlushFileSystem, pathOf(descriptor))
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

// A batch: every file written, one flush of the disk, every rename, one flush of the folder.
TEST_F(SaveDurability, ABatchFlushesTheDiskOnceBeforeItsRenamesAndTheFolderOnceAfter) {
    const std::vector<std::uint8_t> kNew = {5, 6, 7};
    const std::vector<std::string> targets = {target, folder.file("b.ico"), folder.file("c.ico")};
    AtomicFileBatch batch;
    for (const std::string& name : targets) batch.add(name, kNew);
    EXPECT_TRUE(batch.commit().empty());
    EXPECT_EQ(g_watch.seen,
              (std::vector<Call>{Call::Write, Call::Write, Call::Write, Call::FlushFileSystem,
                                 Call::Close, Call::Rename, Call::Close, Call::Rename, Call::Close,
                                 Call::Rename, Call::FlushFolder, Call::Close}));
    for (const std::string& name : targets) EXPECT_EQ(test::readBytes(name), kNew) << name;

    // A failed flush of the disk puts no file in place and reports every one.
    for (const std::string& name : targets) test::writeBytes(name, kOld);
    g_watch.failing = Call::FlushFileSystem;
    for (const std::string& name : targets) batch.add(name, kNew);
    const std::vector<FileError> failures = batch.commit();
    g_watch.failing.reset();
    ASSERT_EQ(failures.size(), targets.size());
    for (std::size_t i = 0; i < targets.size(); ++i) {
        EXPECT_EQ(failures[i].path(), targets[i]);
        EXPECT_EQ(test::readBytes(targets[i]), kOld) << targets[i];
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()),
              static_cast<std::ptrdiff_t>(targets.size()));
}

}  // namespace
}  // namespace mosaikon
