// Feeds arbitrary bytes to the recent files' reader, then checks that what it read is written
// and read back unchanged, so no name it accepts can come back as another.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "RecentFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> names =
        mosaikon::parseRecentFiles(std::span<const std::uint8_t>(data, size));
    if (names.size() > mosaikon::kRecentFilesKept ||
        mosaikon::parseRecentFiles(mosaikon::formatRecentFiles(names)) != names) {
        std::abort();
    }
    return 0;
}
