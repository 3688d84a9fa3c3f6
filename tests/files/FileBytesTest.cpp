// Opening a file for reading: the message names the real cause of a failure, and the bytes
// come out as they are in the file, from disk or from memory alike.
#include <gtest/gtest.h>

#include <filesystem>

#include "ByteSource.h"
#include "FileBytes.h"
#include "FileError.h"
#include "PictureTestSupport.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace mosaikon {
namespace {

namespace fs = std::filesystem;

#ifndef _WIN32

// The problems FileBytes and fileLength report for `path` ("ok" where there is none), seen by
// an ordinary user: the administrator is not bound by permissions, so a test run as root
// asks from a child process that has given up its rights.
std::pair<std::string, std::string> problemsOf(const std::string& path) {
    auto problem = [](auto attempt) -> std::string {
        try {
            attempt();
            return "ok";
        } catch (const FileError& error) {
            return error.problem();
        }
    };
    if (::geteuid() != 0) {
        return {problem([&] { FileBytes file(path); }), problem([&] { (void)fileLength(path); })};
    }
    int channel[2];
    if (::pipe(channel) != 0) return {"pipe failed", ""};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        constexpr uid_t kNobody = 65534;
        std::string both = "no rights to give up";
        if (::setgid(kNobody) == 0 && ::setuid(kNobody) == 0) {
            both = problem([&] { FileBytes file(path); }) + '\n' +
                   problem([&] { (void)fileLength(path); });
        }
        const auto written = ::write(channel[1], both.data(), both.size());
        ::_exit(written == static_cast<ssize_t>(both.size()) ? 0 : 1);
    }
    ::close(channel[1]);
    std::string both;
    char buffer[512];
    for (ssize_t got; (got = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        both.append(buffer, static_cast<std::size_t>(got));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    const auto split = both.find('\n');
    if (split == std::string::npos) return {both, ""};
    return {both.substr(0, split), both.substr(split + 1)};
}

TEST(OpeningFiles, TheMessageNamesTheRealCause) {
    test::TemporaryFolder folder;
    fs::permissions(folder.path(),
                    fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    test::writeBytes(folder.file("plain.bmp"), {'B', 'M'});
    fs::permissions(folder.file("plain.bmp"), fs::perms::all);
    test::writeBytes(folder.file("secret.bmp"), {'B', 'M'});
    fs::permissions(folder.file("secret.bmp"), fs::perms::owner_read);
    fs::create_directory(folder.file("locked"));
    test::writeBytes(folder.file("locked/inside.bmp"), {'B', 'M'});
    fs::permissions(folder.file("locked/inside.bmp"), fs::perms::all);
    fs::permissions(folder.file("locked"), fs::perms::owner_all);  // others may not enter
    fs::create_directory(folder.file("folder.bmp"));
    ASSERT_EQ(::mkfifo(folder.file("pipe.bmp").c_str(), 0666), 0);
    fs::create_symlink("loop-b.bmp", folder.file("loop-a.bmp"));
    fs::create_symlink("loop-a.bmp", folder.file("loop-b.bmp"));

    struct Case {
        std::string path;
        const char* openProblem;    // what opening the file says
        const char* lengthProblem;  // what asking its length for the status line says
    };
    const Case cases[] = {
        {folder.file("plain.bmp"), "ok", "ok"},
        {folder.file("missing.bmp"), "does not exist (it may have been moved or deleted).",
         "does not exist (it may have been moved or deleted)."},
        {folder.file("locked/inside.bmp"), "permission to open a folder that leads to it",
         "permission to open a folder that leads to it"},
        {folder.file("secret.bmp"), "you have no permission to read it", "ok"},
        {folder.file("plain.bmp/inside.bmp"), "a part of its path is a file, not a folder",
         "a part of its path is a file, not a folder"},
        {folder.file("folder.bmp"), "is a folder", "is a folder"},
        {folder.file("pipe.bmp"), "is not a regular file", "is not a regular file"},
        {folder.file("loop-a.bmp"), "loop of symbolic links", "loop of symbolic links"},
        {folder.file(std::string(300, 'n')), "longer than the system allows",
         "longer than the system allows"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const auto [openProblem, lengthProblem] = problemsOf(c.path);
        EXPECT_NE(openProblem.find(c.openProblem), std::string::npos) << openProblem;
        EXPECT_NE(lengthProblem.find(c.lengthProblem), std::string::npos) << lengthProblem;
    }
}

#endif

// A name that is not valid UTF-8 is opened exactly as the system spells it.
TEST(OpeningFiles, ANameThatIsNotUtf8OpensAsItIs) {
    test::TemporaryFolder folder;
    const std::string name = folder.file("caf\xE9-\xFF.bmp");
    test::writeBytes(name, {1, 2, 3, 4, 5});
    FileBytes file(name);
    EXPECT_EQ(file.size(), 5u);
    EXPECT_EQ(fileLength(name), 5u);
    EXPECT_EQ(readUpTo(file, 3, 10), (std::vector<std::uint8_t>{4, 5}));
}

// Both sources refuse a range past their end in the same words, however large the numbers.
TEST(ByteSources, RefuseRangesPastTheirEndAlike) {
    test::TemporaryFolder folder;
    const std::vector<std::uint8_t> bytes = {10, 20, 30, 40};
    test::writeBytes(folder.file("four"), bytes);
    FileBytes onDisk(folder.file("four"));
    MemoryBytes inMemory(bytes, "four");
    for (ByteSource* source :
         {static_cast<ByteSource*>(&onDisk), static_cast<ByteSource*>(&inMemory)}) {
        std::array<std::uint8_t, 2> two{};
        source->read(2, two);
        EXPECT_EQ(two, (std::array<std::uint8_t, 2>{30, 40}));
        for (std::uint64_t offset : {std::uint64_t{3}, std::uint64_t{5}, ~std::uint64_t{0}}) {
            try {
                source->read(offset, two);
                ADD_FAILURE() << "read past the end at " << offset;
            } catch (const FileError& error) {
                EXPECT_NE(error.problem().find("is truncated"), std::string::npos);
            }
        }
    }
}

}  // namespace
}  // namespace mosaikon
