#pragma once

#include "controls/WebLink.h"

namespace mosaikon {

// The desktop's own environment and program starter. Where the command line's program exists
// (Windows and its file explorer) it is started with the quoted address; elsewhere the address
// goes to the desktop's URL opener. A start that fails throws.
class DesktopShell final : public Shell {
public:
    std::string Environ(const std::string& name) override;
    void start(const std::string& commandLine, int windowStyle) override;
};

}  // namespace mosaikon
