// mosaikon-cli thumbnail: the picture a file manager shows for an icon, cursor or program file.
#include <charconv>
#include <string>

#include "CliCommon.h"
#include "FileError.h"
#include "Thumbnails.h"

namespace mosaikon::cli {

const char* const kThumbnailHelp =
    "Usage: mosaikon-cli thumbnail IN OUT SIZE\n"
    "\n"
    "Writes OUT, a PNG image no larger than SIZE x SIZE pixels (1 to 1024) with the opacity IN\n"
    "gives: for an icon or cursor file its image closest to SIZE, for a program file or library\n"
    "its first icon group's image closest to SIZE (the program's own icon), scaled down to fit\n"
    "when larger. Nothing but OUT is written. File managers run it through the .thumbnailer\n"
    "file the package installs.\n";

int runThumbnail(const std::vector<std::string>& arguments) {
    if (arguments.size() != 3) {
        throw CliFailure(kUsageError, "thumbnail: give IN, OUT and SIZE");
    }
    const std::string& size = arguments[2];
    int side = 0;
    const auto [end, error] = std::from_chars(size.data(), size.data() + size.size(), side);
    if (error != std::errc() || end != size.data() + size.size() || side < 1 ||
        side > kMaxThumbnailSide) {
        throw CliFailure(kUsageError, "thumbnail: SIZE must be a number of pixels from 1 to " +
                                          std::to_string(kMaxThumbnailSide) + ": " + size);
    }
    try {
        writeThumbnail(arguments[0], arguments[1], side);
    } catch (const FileError& failure) {
        throw CliFailure(kFileFailure, failure.what());
    }
    return kSuccess;
}

}  // namespace mosaikon::cli
