#pragma once

#include <string>
#include <vector>

namespace mosaikon {

// What the program was asked to do by its arguments.
struct CommandLine {
    enum class Action { Run, Help, Version, Usage };
    Action action = Action::Run;
    // The files named, as the system's bytes, in the order given.
    std::vector<std::string> files;
    // The option that was not understood (Action::Usage).
    std::string unknownOption;
    // --restore: the newest icon kept by an editor that no longer runs is restored at start.
    bool restore = false;
};

// Reads the arguments before any display is opened. Qt's own options (-platform, -style, …)
// and their values are passed over and left for the application object; "--" ends the options.
CommandLine parseCommandLine(int argc, const char* const* argv);

// The texts printed for --help, --version and a wrong option.
std::string helpText();
std::string versionText();
std::string usageLine();

}  // namespace mosaikon
