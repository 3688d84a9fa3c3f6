#include "app/CommandLine.h"

#include <algorithm>
#include <span>
#include <string_view>

namespace mosaikon {

namespace {

// Qt's options that take the next argument as their value.
constexpr std::string_view kQtOptionsWithValue[] = {"platform",
                                                    "platformpluginpath",
                                                    "platformtheme",
                                                    "plugin",
                                                    "qwindowgeometry",
                                                    "qwindowtitle",
                                                    "qwindowicon",
                                                    "geometry",
                                                    "title",
                                                    "name",
                                                    "display",
                                                    "style",
                                                    "stylesheet",
                                                    "session",
                                                    "visual",
                                                    "ncols",
                                                    "font",
                                                    "fn",
                                                    "background",
                                                    "foreground",
                                                    "inputstyle",
                                                    "im",
                                                    "btn",
                                                    "button",
                                                    "bg",
                                                    "fg"};
// Qt's options that stand alone.
constexpr std::string_view kQtFlags[] = {"reverse", "widgetcount", "nograb",      "dograb",
                                         "sync",    "cmap",        "testability", "qmljsdebugger"};

bool contains(std::span<const std::string_view> names, std::string_view name) {
    return std::ranges::find(names, name) != names.end();
}

}  // namespace

CommandLine parseCommandLine(int argc, const char* const* argv) {
    CommandLine result;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            result.files.emplace_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help" || argument == "-h") {
            result.action = CommandLine::Action::Help;
            return result;
        } else if (argument == "--restore") {
            result.restore = true;
        } else if (argument == "--version") {
            result.action = CommandLine::Action::Version;
            return result;
        } else {
            // Qt takes its options with one dash or two, and a value after '=' or as the next
            // argument.
            std::string_view name = argument.substr(argument[1] == '-' ? 2 : 1);
            const bool hasInlineValue = name.find('=') != std::string_view::npos;
            name = name.substr(0, name.find('='));
            if (contains(kQtOptionsWithValue, name)) {
                if (!hasInlineValue) {
                    ++i;
                }
            } else if (!contains(kQtFlags, name) && !name.starts_with("qmljsdebugger")) {
                result.action = CommandLine::Action::Usage;
                result.unknownOption = std::string(argument);
                return result;
            }
        }
    }
    if (result.restore && !result.files.empty()) {
        // The editor holds one icon: the restored one or the file's, not both.
        result.action = CommandLine::Action::Usage;
        result.unknownOption = "--restore";
    }
    return result;
}

std::string helpText() {
    return usageLine() +
           "\n"
           "Edits a 32 x 32 icon. FILE, if given, is opened as soon as the window is up: an icon\n"
           "or cursor (.ico, .cur), a bitmap (.bmp), a PNG image (.png), or a program file or\n"
           "library (.exe, .dll, .cpl, .ocx, .scr) whose icon is taken. The file's content tells\n"
           "its kind when the extension is missing or wrong.\n"
           "\n"
           "  -h, --help     show this help and exit\n"
           "  --version      show the version and exit\n"
           "  --restore      restore the icon kept by an editor that has ended (not with FILE)\n"
           "  --             every argument after this is a file name\n"
           "\n"
           "The window system's own options (-platform, -style, -display, ...) are accepted.\n";
}

std::string versionText() { return "Mosaikon " MOSAIKON_VERSION "\n"; }

std::string usageLine() { return "Usage: mosaikon [--help] [--version] [--restore | FILE]\n"; }

}  // namespace mosaikon
