// mosaikon-cli convert: any picture the editor opens, to an icon file or a PNG image, through
// the editor's own commands, so the result is what opening and saving in the editor gives.
#include <algorithm>
#include <optional>

#include "CliCommon.h"
#include "FileBytes.h"
#include "FileCommands.h"
#include "FileError.h"
#include "OpenKinds.h"
#include "ProgramIconReader.h"

namespace mosaikon::cli {

const char* const kConvertHelp =
    "Usage: mosaikon-cli convert IN OUT [--sizes 16,32,...]\n"
    "\n"
    "Opens IN as the editor opens it (an icon, cursor, bitmap or PNG image, or the icon the\n"
    "editor takes from a program file or library) and writes OUT as the editor saves it: a .ico\n"
    "file holds the 32 x 32 icon with pure white transparent, a .png file is the icon as a PNG\n"
    "with its soft edges (partial opacity) as IN gave them.\n"
    "\n"
    "  --sizes LIST   write a .ico holding the icon at these sides, each one of\n"
    "                 16, 32, 48, 64, 128 and 256, as the editor's Export Icon Sizes draws them\n";

namespace {

std::vector<int> parseSizes(const std::string& list) {
    std::vector<int> sides;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t end = std::min(list.find(',', start), list.size());
        const std::string item = list.substr(start, end - start);
        const auto known = std::find_if(kExportedIconSides.begin(), kExportedIconSides.end(),
                                        [&item](int side) { return item == std::to_string(side); });
        if (known == kExportedIconSides.end()) {
            throw CliFailure(kUsageError,
                             "convert: not one of 16, 32, 48, 64, 128, 256: '" + item + "'");
        }
        if (std::find(sides.begin(), sides.end(), *known) == sides.end()) sides.push_back(*known);
        start = end + 1;
    }
    std::sort(sides.begin(), sides.end());
    return sides;
}

// A program file whose icon the editor would replace with its stand-in gives nothing to convert.
void checkProgramIcon(const std::string& path) {
    FileBytes file(path);
    if (countProgramIconGroups(file) == 0) {
        throw CliFailure(kNothingToExtract, path + " holds no icon.");
    }
    static_cast<void>(readProgramIcon(file, 1));
}

}  // namespace

int runConvert(const std::vector<std::string>& arguments) {
    std::vector<std::string> paths;
    std::optional<std::vector<int>> sides;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--sizes" && i + 1 < arguments.size()) {
            sides = parseSizes(arguments[++i]);
        } else if (arguments[i].starts_with("-") && arguments[i] != "-") {
            throw CliFailure(kUsageError,
                             "convert: unknown option or missing value: " + arguments[i]);
        } else {
            paths.push_back(arguments[i]);
        }
    }
    if (paths.size() != 2) {
        throw CliFailure(kUsageError, "convert: give one input and one output file");
    }
    const std::string& in = paths[0];
    const std::string& out = paths[1];
    const std::string extension = lowerExtension(out);
    if (extension != "ico" && extension != "png") {
        throw CliFailure(kUsageError, "convert: the output must be a .ico or a .png file");
    }
    if (sides && extension != "ico") {
        throw CliFailure(kUsageError, "convert: --sizes needs a .ico output");
    }

    try {
        CommonDialog noDialog;  // every command below is given its path
        IconCanvas canvas;
        FileCommands commands(canvas, noDialog);
        const OpenCommand opening = openCommandFor(in);
        if (opening == OpenCommand::ExtractIcon) {
            checkProgramIcon(in);
        }
        commands.openAsChosen(opening, in);
        if (sides) {
            commands.exportIconSizesFile(out, *sides);
        } else if (extension == "png") {
            commands.exportPngFile(out);
        } else {
            commands.saveIconFile(out);
        }
    } catch (const FileError& error) {
        throw CliFailure(kFileFailure, error.what());
    }
    return kSuccess;
}

}  // namespace mosaikon::cli
