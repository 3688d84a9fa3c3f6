#pragma once

#include <fstream>
#include <string>

namespace mosaikon::bench {

// The growth of peak resident memory (mapped file pages included) from construction on. The
// peak is reset first where the system allows it (Linux: clear_refs), so earlier cases do not
// hide this one.
class PeakMemory {
public:
    PeakMemory() {
        std::ofstream("/proc/self/clear_refs") << "5";
        m_start = statusField("VmRSS:");
    }
    double grownMiB() const { return (statusField("VmHWM:") - m_start) / 1024.0; }

private:
    static double statusField(const std::string& name) {
        std::ifstream status("/proc/self/status");
        std::string line;
        while (std::getline(status, line)) {
            if (line.rfind(name, 0) == 0) return std::stod(line.substr(name.size()));
        }
        return 0;
    }
    double m_start = 0;
};

}  // namespace mosaikon::bench
