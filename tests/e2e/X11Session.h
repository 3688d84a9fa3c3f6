#pragma once

// A private X server with the real program in it, driven by synthetic input (XTest) and read
// back pixel by pixel. Only the end-to-end tests use it.

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct _XDisplay;

namespace mosaikon::e2e {

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct TopLevel {
    unsigned long id = 0;
    std::string name;
    Rect geometry;  // on the screen
};

class X11Session {
public:
    // Starts Xvfb on a free display and connects to it.
    X11Session();
    ~X11Session();
    X11Session(const X11Session&) = delete;
    X11Session& operator=(const X11Session&) = delete;

    // Starts `program` in `workingDirectory` with its own HOME there.
    void startProgram(const std::string& program, const std::string& workingDirectory,
                      const std::vector<std::string>& arguments = {});
    // Waits for the program to end; true when it ended within the time.
    bool waitForExit(std::chrono::milliseconds timeout);
    bool programRunning();
    // Sends `signal` to the program, as a crash (SIGKILL) or a logout (SIGTERM) would end it.
    void signalProgram(int signal);

    // Every mapped top-level window, in stacking order from the bottom.
    std::vector<TopLevel> topLevels();
    // Waits until `predicate` holds, polling; false on timeout.
    static bool waitUntil(const std::function<bool()>& predicate,
                          std::chrono::milliseconds timeout = std::chrono::milliseconds(8000));

    // The top-level window that holds the keyboard focus (0 for none or the root).
    unsigned long focusedTopLevel();

    // Screen pixels as 0xRRGGBB, row by row.
    std::vector<std::uint32_t> grab(const Rect& area);
    std::uint32_t pixel(int x, int y);

    void moveTo(int x, int y);
    void press(int button);
    void release(int button);
    void click(int x, int y, int button = 1);
    void key(const std::string& keysymName);
    // Holds the keys down in order and lets them go in reverse, e.g. {"Control_L", "z"}.
    void chord(const std::vector<std::string>& keysymNames);
    void type(const std::string& text);
    void sync();

private:
    void fakeKey(unsigned long keysym);

    pid_t m_server = 0;
    pid_t m_program = 0;
    _XDisplay* m_display = nullptr;
};

}  // namespace mosaikon::e2e
