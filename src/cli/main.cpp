// mosaikon-cli: the editor's file readers and writers without a window, for scripts.
#include <algorithm>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "CliCommon.h"

namespace {

constexpr const char* kHelp =
    "Usage: mosaikon-cli COMMAND [ARGUMENTS]\n"
    "\n"
    "  extract PROGRAM [--out DIR] [--group N|NAME ...] [--list]\n"
    "                  write the icon groups of a program file as icon files\n"
    "  info FILE [--json]\n"
    "                  describe an icon, cursor, bitmap, PNG or program file\n"
    "  convert IN OUT [--sizes 16,32,...]\n"
    "                  open IN as the editor does and write OUT as a .ico or .png file\n"
    "  thumbnail IN OUT SIZE\n"
    "                  write a PNG of at most SIZE x SIZE showing an icon, cursor or program\n"
    "                  file, for file managers\n"
    "\n"
    "mosaikon-cli COMMAND --help describes each. Exit status: 0 done, 1 nothing to extract,\n"
    "2 usage error, 3 a file could not be read or written.\n";

}  // namespace

int main(int argc, char* argv[]) {
    using namespace mosaikon::cli;
    const std::vector<std::string> all(argv + 1, argv + argc);
    if (all.empty()) {
        std::cerr << kHelp;
        return kUsageError;
    }
    const std::string& command = all.front();
    if (command == "--help" || command == "-h") {
        std::cout << kHelp;
        return kSuccess;
    }
    if (command == "--version") {
        std::cout << "mosaikon-cli " MOSAIKON_VERSION "\n";
        return kSuccess;
    }
    struct SubCommand {
        const char* name;
        int (*run)(const std::vector<std::string>&);
        const char* help;
    };
    const SubCommand commands[] = {{"extract", runExtract, kExtractHelp},
                                   {"info", runInfo, kInfoHelp},
                                   {"convert", runConvert, kConvertHelp},
                                   {"thumbnail", runThumbnail, kThumbnailHelp}};
    const std::vector<std::string> arguments(all.begin() + 1, all.end());
    for (const SubCommand& sub : commands) {
        if (command != sub.name) continue;
        if (std::find(arguments.begin(), arguments.end(), "--help") != arguments.end()) {
            std::cout << sub.help;
            return kSuccess;
        }
        try {
            return sub.run(arguments);
        } catch (const CliFailure& failure) {
            std::cerr << "mosaikon-cli: " << failure.what() << '\n';
            return failure.status();
        } catch (const std::bad_alloc&) {
            std::cerr << "mosaikon-cli: not enough memory for " << command << ".\n";
            return kFileFailure;
        } catch (const std::exception& error) {
            std::cerr << "mosaikon-cli: " << command << " failed: " << error.what() << '\n';
            return kFileFailure;
        }
    }
    std::cerr << "mosaikon-cli: unknown command '" << command << "'\n" << kHelp;
    return kUsageError;
}
