// The recent files' list without a window: any name survives the list's file, the list keeps
// the newest ten once each, and a damaged or hostile file gives only what it holds whole.
#include <gtest/gtest.h>

#include <filesystem>

#include "FileError.h"
#include "PictureTestSupport.h"
#include "RecentFiles.h"

namespace mosaikon {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

TEST(RecentFiles, EveryNameComesBackExactlyWhateverBytesItHolds) {
    const std::vector<std::string> names = {
        "/icons/plain.ico",
        "/icons/with space & ampersand.ico",
        std::string("/icons/line\nbreak\r.ico"),
        "/icons/100%25 not an escape %zz.ico",
        std::string("/icons/latin1-\xE9t\xE9.ico"),  // not UTF-8
        std::string("/icons/\x01\x1F\x7F\xFF.ico"),
        "/icons/\xC3\xA9l\xC3\xA8ve.ico",
    };
    const std::vector<std::uint8_t> file = formatRecentFiles(names);
    EXPECT_EQ(parseRecentFiles(file), names);
    // One line a name after the first: no name's bytes break a line.
    EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), static_cast<long>(names.size() + 1));
}

TEST(RecentFiles, AHostileFileGivesOnlyItsWholeWellFormedLines) {
    const std::string head = "mosaikon recent files 1\n";
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"empty", "", {}},
        {"another file", "not a list\n/a.ico\n", {}},
        {"the first line alone, cut short", "mosaikon recent files 1", {}},
        {"a last line cut short", head + "/a.ico\n/b.i", {"/a.ico"}},
        {"bad escapes", head + "/%4\n/%G1\n/ok%41\n/%\n", {"/okA"}},
        {"a raw control byte", head + std::string("/a\tb\n/c\n"), {"/c"}},
        {"empty lines and repeats", head + "\n/a\n\n/a\n/b\n", {"/a", "/b"}},
        {"more than ten",
         head + "/1\n/2\n/3\n/4\n/5\n/6\n/7\n/8\n/9\n/10\n/11\n",
         {"/1", "/2", "/3", "/4", "/5", "/6", "/7", "/8", "/9", "/10"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parseRecentFiles(bytesOf(c.text)), c.names) << c.what;
    }
}

TEST(RecentFiles, TheListKeepsTheNewestTenOnceEachAndSurvivesAnotherEditor) {
    test::TemporaryFolder folder;
    const RecentFiles list(folder.file("state/recent-files"));  // the folder is made
    EXPECT_TRUE(list.names().empty()) << "no file yet is an empty list";
    RecentFiles writer = list;
    for (int i = 0; i < 12; ++i) {
        writer.add("/icons/" + std::to_string(i) + ".ico");
    }
    writer.add("/icons/5.ico");  // opened again: to the head, not twice
    const std::vector<std::string> expected = {
        "/icons/5.ico", "/icons/11.ico", "/icons/10.ico", "/icons/9.ico", "/icons/8.ico",
        "/icons/7.ico", "/icons/6.ico",  "/icons/4.ico",  "/icons/3.ico", "/icons/2.ico"};
    EXPECT_EQ(RecentFiles(folder.file("state/recent-files")).names(), expected)
        << "a second editor reads what the first wrote";

    writer.remove("/icons/11.ico");
    EXPECT_EQ(list.names().size(), 9u);
    EXPECT_EQ(list.names()[1], "/icons/10.ico");
    writer.clear();
    EXPECT_TRUE(list.names().empty());
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path() / "state"), {}), 1)
        << "each save replaced the file whole, leaving no temporary file";
}

TEST(RecentFiles, ARelativeNameIsKeptFromTheRootAndAGoneFileIsTold) {
    test::TemporaryFolder folder;
    RecentFiles list(folder.file("recent-files"));
    const fs::path before = fs::current_path();
    fs::current_path(folder.path());
    list.add("./here.ico");
    fs::current_path(before);
    ASSERT_EQ(list.names().size(), 1u);
    EXPECT_EQ(list.names().front(), (folder.path() / "here.ico").string());

    EXPECT_TRUE(recentFileIsGone(list.names().front()));
    test::writeBytes(list.names().front(), {0});
    EXPECT_FALSE(recentFileIsGone(list.names().front()));
}

TEST(RecentFiles, AListThatCannotBeSavedThrows) {
    test::TemporaryFolder folder;
    test::writeBytes(folder.file("plain-file"), {0});
    RecentFiles blocked(folder.file("plain-file/recent-files"));  // its folder is a file
    EXPECT_THROW(blocked.add("/a.ico"), FileError);
    EXPECT_TRUE(blocked.names().empty());
    EXPECT_THROW(RecentFiles("").add("/a.ico"), FileError) << "no home named";
}

}  // namespace
}  // namespace mosaikon
