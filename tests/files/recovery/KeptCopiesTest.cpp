// The kept copy's rules without a window: two editors side by side, copies left behind, copies
// that have aged out, a folder that cannot be written, and copies that are not what they seem.
#include <gtest/gtest.h>

#include <filesystem>

#include "FileError.h"
#include "KeptCopies.h"
#include "KeptCopySchedule.h"
#include "PictureFiles.h"
#include "PictureTestSupport.h"

namespace mosaikon {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr std::size_t kPixels = 32 * 32;

std::vector<std::uint32_t> patternIcon(std::uint32_t seed) {
    std::vector<std::uint32_t> pixels(kPixels);
    for (std::size_t i = 0; i < kPixels; ++i) {
        pixels[i] = (seed * 2654435761u + static_cast<std::uint32_t>(i) * 40503u) & 0x00FFFFFFu;
    }
    return pixels;
}

std::vector<std::uint32_t> plainColours(const Picture& picture) {
    std::vector<std::uint32_t> plain;
    for (const Pixel pixel : picture.allPixels()) {
        plain.push_back(pixelColour(pixel).value());
    }
    return plain;
}

void keepAndWait(KeptCopyWriter& writer, const std::vector<std::uint32_t>& pixels) {
    writer.keep(pixels);
    ASSERT_TRUE(writer.waitUntilWritten(5s));
    ASSERT_EQ(writer.failure(), "");
}

void age(const std::string& path, std::chrono::hours by) {
    fs::last_write_time(path, fs::file_time_type::clock::now() - by);
}

TEST(KeptCopies, ACopyHoldsTheIconExactlyAndEveryWriteReplacesItWhole) {
    test::TemporaryFolder folder;
    KeptCopyWriter writer(folder.file("copies"));
    for (std::uint32_t seed : {1u, 2u, 3u}) {
        keepAndWait(writer, patternIcon(seed));
        const Picture copy = readKeptCopy(writer.path());
        EXPECT_EQ(plainColours(copy), patternIcon(seed)) << "seed " << seed;
        for (const Pixel pixel : copy.allPixels()) {
            ASSERT_EQ(pixelAlpha(pixel), 255) << "every pixel opaque, pure white too";
        }
    }
    // The atomic save leaves no temporary file beside the copy and its lock.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path() / "copies"), {}), 2);
}

TEST(KeptCopies, TwoEditorsKeepTheirOwnCopiesAndOnlyAnEndedOnesIsLeftBehind) {
    test::TemporaryFolder folder;
    const std::string copies = folder.file("copies");
    auto first = std::make_unique<KeptCopyWriter>(copies);
    KeptCopyWriter second(copies);
    ASSERT_NE(first->path(), second.path());
    keepAndWait(*first, patternIcon(1));
    keepAndWait(second, patternIcon(2));
    EXPECT_TRUE(KeptCopyFolder(copies).leftBehind().empty()) << "both still hold their locks";

    const std::string firstPath = first->path();
    first.reset();
    keepAndWait(second, patternIcon(3));
    const auto left = KeptCopyFolder(copies).leftBehind();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].path, firstPath);
    EXPECT_EQ(plainColours(readKeptCopy(firstPath)), patternIcon(1));
    EXPECT_EQ(plainColours(readKeptCopy(second.path())), patternIcon(3));
}

TEST(KeptCopies, TheWriterWritesWhatWasHandedOverBeforeItEnds) {
    test::TemporaryFolder folder;
    std::string path;
    {
        KeptCopyWriter writer(folder.file("copies"));
        path = writer.path();
        writer.keep(patternIcon(7));
    }
    EXPECT_EQ(plainColours(readKeptCopy(path)), patternIcon(7));
}

TEST(KeptCopies, LeftBehindCopiesComeNewestFirstAndOtherFilesAreNotTaken) {
    test::TemporaryFolder folder;
    const std::string copies = folder.file("copies");
    std::vector<std::string> paths;
    for (std::uint32_t seed = 0; seed < 4; ++seed) {
        KeptCopyWriter writer(copies);
        keepAndWait(writer, patternIcon(seed));
        paths.push_back(writer.path());
        age(writer.path(), std::chrono::hours(10 - seed));  // the last one is the newest
    }
    test::writeBytes(folder.file("copies/copy-notours.ico"), {1, 2, 3});
    test::writeBytes(folder.file("copies/notes.txt"), {1, 2, 3});

    const auto all = KeptCopyFolder(copies).leftBehind();
    ASSERT_EQ(all.size(), 4u);
    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(all[i].path, paths[3 - i]);
    }
    EXPECT_GT(all[0].written, all[1].written);
    EXPECT_EQ(KeptCopyFolder(copies).leftBehind(2).size(), 2u);
    EXPECT_TRUE(KeptCopyFolder(folder.file("missing")).leftBehind().empty());
}

TEST(KeptCopies, OnlyCopiesLeftBehindLongerThanTheLifetimeAreRemoved) {
    test::TemporaryFolder folder;
    const std::string copies = folder.file("copies");
    std::string old;
    std::string recent;
    for (std::string* path : {&old, &recent}) {
        KeptCopyWriter writer(copies);
        keepAndWait(writer, patternIcon(1));
        *path = writer.path();
    }
    // A writer clears the folder of old copies when it starts, before its first write.
    KeptCopyWriter running(copies);
    keepAndWait(running, patternIcon(2));
    age(old, std::chrono::hours(24 * 31));
    age(recent, std::chrono::hours(24 * 29));
    age(running.path(), std::chrono::hours(24 * 31));  // old, but its editor still runs

    EXPECT_EQ(KeptCopyFolder(copies).removeOlderThan(kKeptCopyLifetime), 1);
    EXPECT_FALSE(fs::exists(old));
    EXPECT_FALSE(fs::exists(fs::path(old).replace_extension(".lock")));
    EXPECT_TRUE(fs::exists(recent));
    EXPECT_TRUE(fs::exists(running.path()));
}

TEST(KeptCopies, AFolderThatCannotBeMadeIsAFileErrorAndAFailedWriteIsReportedNotThrown) {
    test::TemporaryFolder folder;
    test::writeBytes(folder.file("plain-file"), {0});
    EXPECT_THROW(KeptCopyWriter(folder.file("plain-file/copies")), FileError);

    KeptCopyWriter writer(folder.file("copies"));
    fs::remove_all(folder.file("copies"));
    writer.keep(patternIcon(1));
    ASSERT_TRUE(writer.waitUntilWritten(5s));
    EXPECT_NE(writer.failure(), "");
    EXPECT_EQ(writer.writesDone(), 1u);
}

TEST(KeptCopies, ACopyIsReadAsHostileInput) {
    test::TemporaryFolder folder;
    const std::string whole = folder.file("whole.ico");
    SavePicture(Picture::fromPixels(PictureKind::Icon, 32, 32, std::vector<Pixel>(kPixels, ~0u)),
                whole);
    const auto bytes = test::readBytes(whole);
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
    };
    const std::vector<Case> cases = {
        {"empty", {}},
        {"cut in half", {bytes.begin(), bytes.begin() + static_cast<long>(bytes.size() / 2)}},
        {"header only", {bytes.begin(), bytes.begin() + 6}},
        {"too large", std::vector<std::uint8_t>(200 * 1024, 0)},
    };
    for (const Case& bad : cases) {
        const std::string path = folder.file(std::string(bad.name) + ".ico");
        test::writeBytes(path, bad.bytes);
        EXPECT_THROW(readKeptCopy(path), FileError) << bad.name;
    }
    const std::string small = folder.file("small.ico");
    SavePicture(Picture::fromPixels(PictureKind::Icon, 16, 16, std::vector<Pixel>(256, ~0u)),
                small);
    EXPECT_THROW(readKeptCopy(small), FileError) << "an icon of another size";
    const std::string bitmap = folder.file("bitmap.ico");
    SavePicture(Picture::fromPixels(PictureKind::Bitmap, 32, 32, std::vector<Pixel>(kPixels, ~0u)),
                bitmap);
    EXPECT_THROW(readKeptCopy(bitmap), FileError) << "a bitmap under an icon's name";
}

TEST(KeptCopies, ARestoreRebuildsTheViewFromTheCopyAndABadCopyChangesNothing) {
    test::TemporaryFolder folder;
    KeptCopyWriter writer(folder.file("copies"));
    keepAndWait(writer, patternIcon(5));
    IconCanvas canvas;
    canvas.Form_Load();
    const auto viewBefore = canvas.LargePicture.pixels();

    test::writeBytes(folder.file("bad.ico"), {0, 0, 1, 0});
    EXPECT_THROW(restoreKeptCopy(canvas, folder.file("bad.ico")), FileError);
    EXPECT_EQ(canvas.LargePicture.pixels(), viewBefore);

    restoreKeptCopy(canvas, writer.path());
    EXPECT_EQ(canvas.SmallPicture.pixels(), patternIcon(5));
    // Cell (3, 2) shows icon pixel (3, 2) inside its grid lines, and the grid is drawn.
    EXPECT_EQ(canvas.LargePicture.pixel(35, 25).value(), patternIcon(5)[2 * 32 + 3]);
    EXPECT_EQ(canvas.LargePicture.pixel(30, 25).value(), 0u);
}

TEST(KeptCopySchedule, HandsOverAtOnceThenAtMostOncePerGap) {
    using Clock = KeptCopySchedule::Clock;
    const Clock::time_point t0{};
    struct Step {
        const char* what;
        int changeAtMs;
        int dueAtMs;
        bool handOver;  // the window hands the icon over when it is due
    };
    // One schedule through a first change, a drag that keeps changing and a pause.
    const std::vector<Step> steps = {
        {"a first change is kept at once", 0, 0, true},
        {"a change soon after waits out the gap", 100, 900, false},
        {"more changes in the gap keep that time", 500, 900, true},
        {"the drag goes on", 950, 1800, true},
        {"after a pause a change is kept at once", 5000, 5000, true},
    };
    KeptCopySchedule schedule;
    for (const Step& step : steps) {
        const auto at = t0 + std::chrono::milliseconds(step.changeAtMs);
        EXPECT_EQ(schedule.changed(at), t0 + std::chrono::milliseconds(step.dueAtMs)) << step.what;
        if (step.handOver) {
            schedule.handedOver(*schedule.due());
            EXPECT_FALSE(schedule.due()) << step.what;
        }
    }
}

}  // namespace
}  // namespace mosaikon
