// What a file is by its first bytes, and which command opens a file named from outside.
#include <gtest/gtest.h>

#include "OpenKinds.h"

namespace mosaikon {
namespace {

TEST(LowerExtension, IsTheLastNamesOwnExtensionLowered) {
    const std::pair<const char*, const char*> cases[] = {
        {"icon.ICO", "ico"},      {"/a/b/Setup.Exe", "exe"},
        {"archive.tar.GZ", "gz"}, {"no-extension", ""},
        {"folder.d/plain", ""},   {"trailing.", ""},
        {".hidden", "hidden"},    {"", ""},
        {"dir.x/y.BMP", "bmp"},
    };
    for (const auto& [path, extension] : cases) {
        EXPECT_EQ(lowerExtension(path), extension) << path;
    }
}

}  // namespace
}  // namespace mosaikon
