#pragma once

#include <thread>

namespace mosaikon {

// Reads the system's font configuration on a thread of its own while the program connects to
// the display. Showing the first line of text needs it, and reading it is most of what the
// editor costs at start beyond an empty window; done beside the display connection, the wait
// overlaps. Where fonts are not configured that way this does nothing.
class FontWarmUp {
public:
    FontWarmUp();
    ~FontWarmUp();  // waits for the thread, so nothing runs on after the program ends
    FontWarmUp(const FontWarmUp&) = delete;
    FontWarmUp& operator=(const FontWarmUp&) = delete;

private:
    std::thread m_thread;
};

}  // namespace mosaikon
