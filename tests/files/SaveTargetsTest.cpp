// Where a save writes: through symbolic links, under long names, past files this user may not
// write, and what it does with the temporary files that interrupted saves left behind.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "FileError.h"
#include "PictureFiles.h"
#include "PictureTestSupport.h"

namespace mosaikon {
namespace {

namespace fs = std::filesystem;
using test::dataPath;
using test::readBytes;
using test::writeBytes;

const std::vector<std::uint8_t> kOld = {1, 2, 3, 4};

Picture anIcon() { return LoadPicture(dataPath("gen/hand/bpp32.ico")); }

bool holdsOurTemporaries(const fs::path& folder) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().native().starts_with(".mosaikon-")) return true;
    }
    return false;
}

TEST(SaveTargets, ALinkKeepsBeingALinkAndItsTargetGetsTheNewFile) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::string>> links;  // name, where it points
        std::string saveAs;
        std::string written;
    };
    const Case cases[] = {
        {"relative", {{"a.ico", "real/icon.ico"}}, "a.ico", "real/icon.ico"},
        {"from another folder", {{"sub/a.ico", "../real/icon.ico"}}, "sub/a.ico", "real/icon.ico"},
        {"absolute", {{"a.ico", "@real/icon.ico"}}, "a.ico", "real/icon.ico"},
        {"chain", {{"a.ico", "b.ico"}, {"b.ico", "real/icon.ico"}}, "a.ico", "real/icon.ico"},
        {"dangling", {{"a.ico", "real/new.ico"}}, "a.ico", "real/new.ico"},
    };
    const Picture icon = anIcon();
    for (const Case& c : cases) {
        test::TemporaryFolder folder;
        fs::create_directories(folder.path() / "real");
        fs::create_directories(folder.path() / "sub");
        writeBytes(folder.file("real/icon.ico"), kOld);
        fs::permissions(folder.file("real/icon.ico"), fs::perms(0640));
        for (const auto& [name, to] : c.links) {
            fs::create_symlink(to.starts_with('@') ? folder.file(to.substr(1)) : to,
                               folder.path() / name);
        }
        SavePicture(icon, folder.file(c.saveAs));
        EXPECT_EQ(LoadPicture(folder.file(c.written)).allPixels(), icon.allPixels()) << c.what;
        for (const auto& [name, to] : c.links) {
            EXPECT_TRUE(fs::is_symlink(folder.path() / name)) << c.what << ": " << name;
        }
        EXPECT_EQ(fs::status(folder.file("real/icon.ico")).permissions(), fs::perms(0640));
        EXPECT_FALSE(holdsOurTemporaries(folder.path()) ||
                     holdsOurTemporaries(folder.path() / "real"))
            << c.what;
    }
    test::TemporaryFolder folder;
    fs::create_symlink("b.ico", folder.path() / "a.ico");
    fs::create_symlink("a.ico", folder.path() / "b.ico");
    try {
        SavePicture(icon, folder.file("a.ico"));
        ADD_FAILURE() << "saved through a circle of links";
    } catch (const FileError& error) {
        EXPECT_NE(error.problem().find("circle"), std::string::npos) << error.what();
    }
}

TEST(SaveTargets, AnyNameTheDiskAcceptsSaves) {
    test::TemporaryFolder folder;
    const std::string longest = std::string(251, 'n') + ".ico";  // 255 bytes, the usual limit
    writeBytes(folder.file(longest), kOld);
    SavePicture(anIcon(), folder.file(longest));
    EXPECT_EQ(LoadPicture(folder.file(longest)).allPixels(), anIcon().allPixels());
    try {
        SavePicture(anIcon(), folder.file("n" + longest));
        ADD_FAILURE() << "a name longer than the disk allows was saved";
    } catch (const FileError& error) {
        EXPECT_NE(error.problem().find("too long"), std::string::npos) << error.what();
    }
}

TEST(SaveTargets, AFileThisUserMayNotWriteIsRefusedWhoeverOwnsIt) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs the administrator to make a file owned by someone else";
    }
    test::TemporaryFolder folder;
    fs::permissions(folder.path(), fs::perms::all);  // anyone may write in the folder
    writeBytes(folder.file("theirs.ico"), kOld);
    fs::permissions(folder.file("theirs.ico"), fs::perms(0644));
    EXPECT_TRUE(test::withoutPrivileges([&] {
        try {
            SavePicture(anIcon(), folder.file("theirs.ico"));
        } catch (const FileError& error) {
            return error.problem() == "cannot be saved: it is read-only.";
        }
        return false;
    }));
    EXPECT_EQ(readBytes(folder.file("theirs.ico")), kOld);
    // The owner of a writable file may replace it; the new file keeps the file's group.
    ASSERT_EQ(chown(folder.file("theirs.ico").c_str(), 65534, 65534), 0);
    EXPECT_TRUE(test::withoutPrivileges([&] {
        SavePicture(anIcon(), folder.file("theirs.ico"));
        return true;
    }));
    struct stat info {};
    ASSERT_EQ(stat(folder.file("theirs.ico").c_str(), &info), 0);
    EXPECT_NE(readBytes(folder.file("theirs.ico")), kOld);
    // The administrator may write any file not marked read-only, and keeps its group.
    SavePicture(anIcon(), folder.file("theirs.ico"));
    ASSERT_EQ(stat(folder.file("theirs.ico").c_str(), &info), 0);
    EXPECT_EQ(info.st_gid, 65534u);
}

TEST(SaveTargets, ASaveRemovesOnlyOurOwnLeftoversOfDeadSaves) {
    const pid_t gone = fork();
    if (gone == 0) _exit(0);
    ASSERT_EQ(waitpid(gone, nullptr, 0), gone);
    const std::string deadSave = ".mosaikon-" + std::to_string(gone) + "-0a1b2c3d.tmp";
    const std::string liveSave = ".mosaikon-" + std::to_string(getpid()) + "-0a1b2c3d.tmp";
    struct Case {
        std::string name;
        bool old;
        bool removed;
    };
    const Case cases[] = {
        {deadSave, true, true},
        {deadSave + "x", true, false},               // not our pattern
        {"mosaikon-1-0a1b2c3d.tmp", true, false},    // no dot: not ours
        {".mosaikon-0-0a1b2c3d.tmp", true, false},   // no process
        {".mosaikon--1-0a1b2c3d.tmp", true, false},  // a process group
        {liveSave, true, false},                     // its process still runs
    };
    test::TemporaryFolder folder;
    for (const Case& c : cases) {
        writeBytes(folder.file(c.name), kOld);
        if (c.old) {
            fs::last_write_time(folder.file(c.name),
                                fs::file_time_type::clock::now() - std::chrono::minutes(2));
        }
    }
    writeBytes(folder.file(deadSave.substr(0, deadSave.size() - 5) + "f.tmp"), kOld);  // recent
    SavePicture(anIcon(), folder.file("icon.ico"));
    for (const Case& c : cases) {
        EXPECT_EQ(fs::exists(folder.file(c.name)), !c.removed) << c.name;
    }
    EXPECT_TRUE(fs::exists(folder.file(deadSave.substr(0, deadSave.size() - 5) + "f.tmp")));
}

}  // namespace
}  // namespace mosaikon
