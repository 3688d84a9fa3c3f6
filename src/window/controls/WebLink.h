#pragma once

#include <string>

namespace mosaikon {

// The maker's home page. The link label shows it with a final "/".
inline constexpr const char* kMakerAddress = "https://mosaikon.example.org";

// What the web link needs from the system: an environment variable (an absent one reads as
// the empty string) and starting a program from a command line. Either may throw.
class Shell {
public:
    virtual ~Shell() = default;
    virtual std::string Environ(const std::string& name) = 0;
    // Starts `commandLine` with window style `windowStyle` (1: normal, activated) and does not
    // wait for it.
    virtual void start(const std::string& commandLine, int windowStyle) = 0;
};

// The command line that hands `url` to the system file explorer in `windowsDirectory`:
// W\explorer.exe "A".
std::string explorerCommandLine(const std::string& windowsDirectory, const std::string& url);

// The address inside the command line's last pair of double quotes, or the empty string.
std::string quotedAddress(const std::string& commandLine);

// Opens the page at `sURL` through the system file explorer. Every step that fails is skipped
// and nothing is ever reported.
void OpenWebsite(Shell& shell, const std::string& sURL);

}  // namespace mosaikon
