#include "controls/WebLink.h"

namespace mosaikon {

std::string explorerCommandLine(const std::string& windowsDirectory, const std::string& url) {
    return windowsDirectory + "\\explorer.exe " + '"' + url + '"';
}

std::string quotedAddress(const std::string& commandLine) {
    const std::size_t close = commandLine.rfind('"');
    if (close == std::string::npos || close == 0) {
        return {};
    }
    const std::size_t open = commandLine.rfind('"', close - 1);
    if (open == std::string::npos) {
        return {};
    }
    return commandLine.substr(open + 1, close - open - 1);
}

void OpenWebsite(Shell& shell, const std::string& sURL) {
    constexpr int kNormalWindow = 1;
    // The link is a courtesy: a missing variable or a program that will not start is no
    // reason to trouble the person at work on an icon.
    std::string windowsDirectory;
    try {
        windowsDirectory = shell.Environ("windir");
    } catch (...) {
        windowsDirectory.clear();
    }
    std::string commandLine;
    try {
        commandLine = explorerCommandLine(windowsDirectory, sURL);
    } catch (...) {
        return;
    }
    try {
        shell.start(commandLine, kNormalWindow);
    } catch (...) {
        return;
    }
}

}  // namespace mosaikon
