// Malformed icons and bitmaps, each modelled on a published fault of another reader: every one
// is refused with a FileError or decoded within bounds, and those that cannot be pictures are
// refused.
#include <gtest/gtest.h>

#include "FileError.h"
#include "PictureFiles.h"
#include "PictureTestSupport.h"

namespace mosaikon {
namespace {

using test::dataPath;

TEST(HostileFiles, AreRefusedOrDecodedNeverCrash) {
    int refusals = 0;
    for (const auto& row : test::readTsv(dataPath("hostile/MANIFEST.tsv"))) {
        ASSERT_GE(row.size(), 5u);
        const std::string& file = row[0];
        const std::string& expected = row[4];
        SCOPED_TRACE(file + ": " + expected);
        // "refuse" alone, or "refuse; …" / "refuse: …", leaves no choice; "… or …" does.
        const bool mustRefuse = expected.starts_with("refuse") &&
                                expected.find(" or ") == std::string::npos &&
                                expected.find("(or ") == std::string::npos;
        try {
            const Picture picture = LoadPicture(dataPath("hostile/" + file));
            EXPECT_FALSE(mustRefuse) << "decoded " << picture.width() << "x" << picture.height();
            EXPECT_LE(picture.width(), 256);
        } catch (const FileError& error) {
            ++refusals;
            EXPECT_EQ(error.path(), dataPath("hostile/" + file));
        }
    }
    EXPECT_GE(refusals, 15);
}

}  // namespace
}  // namespace mosaikon
