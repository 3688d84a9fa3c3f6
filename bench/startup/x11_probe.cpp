// Starts a program, waits for its top-level window to be mapped and for given pixels of it to
// show given colours, and prints how long each took and the program's peak memory by then.
//
//   x11-probe NAME X,Y,RRGGBB [X,Y,RRGGBB ...] -- PROGRAM [ARGS...]
//
// Output: "map_ms=… frame_ms=… peak_rss_kb=… rss_kb=…". Times count from just before exec.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

struct PixelCheck {
    int x = 0;
    int y = 0;
    unsigned long rgb = 0;
};

Window findMappedWindow(Display* display, Window parent, const std::string& name) {
    Window root = 0;
    Window parentReturn = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, parent, &root, &parentReturn, &children, &count) == 0) {
        return 0;
    }
    Window found = 0;
    for (unsigned int i = 0; i < count && found == 0; ++i) {
        char* windowName = nullptr;
        if (XFetchName(display, children[i], &windowName) != 0 && windowName != nullptr) {
            XWindowAttributes attributes;
            if (name == windowName &&
                XGetWindowAttributes(display, children[i], &attributes) != 0 &&
                attributes.map_state == IsViewable) {
                found = children[i];
            }
            XFree(windowName);
        }
    }
    if (children != nullptr) {
        XFree(children);
    }
    return found;
}

bool pixelsShow(Display* display, Window window, const std::vector<PixelCheck>& checks) {
    for (const PixelCheck& check : checks) {
        XImage* image = XGetImage(display, window, check.x, check.y, 1, 1, AllPlanes, ZPixmap);
        if (image == nullptr) {
            return false;
        }
        const unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
        XDestroyImage(image);
        if (pixel != check.rgb) {
            return false;
        }
    }
    return true;
}

long statusField(pid_t pid, const char* field) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) {
            return std::strtol(line.c_str() + std::strlen(field), nullptr, 10);
        }
    }
    return -1;
}

int ignoreErrors(Display*, XErrorEvent*) { return 0; }

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s NAME X,Y,RRGGBB... -- PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    const std::string name = argv[1];
    std::vector<PixelCheck> checks;
    int i = 2;
    for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        PixelCheck check;
        if (std::sscanf(argv[i], "%d,%d,%lx", &check.x, &check.y, &check.rgb) != 3) {
            std::fprintf(stderr, "bad pixel check: %s\n", argv[i]);
            return 2;
        }
        checks.push_back(check);
    }
    if (i + 1 >= argc) {
        std::fprintf(stderr, "no program given\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "cannot open the display\n");
        return 1;
    }
    XSetErrorHandler(ignoreErrors);  // windows may vanish between queries

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[i + 1], argv + i + 1);
        _exit(127);
    }
    const auto elapsedMs = [&] {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count();
    };
    double mapMs = -1;
    double frameMs = -1;
    Window window = 0;
    while (elapsedMs() < 20000) {
        if (window == 0) {
            window = findMappedWindow(display, DefaultRootWindow(display), name);
            if (window != 0) mapMs = elapsedMs();
        }
        if (window != 0 && pixelsShow(display, window, checks)) {
            frameMs = elapsedMs();
            break;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    const long peak = statusField(child, "VmHWM:");
    const long rss = statusField(child, "VmRSS:");
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    XCloseDisplay(display);
    std::printf("map_ms=%.1f frame_ms=%.1f peak_rss_kb=%ld rss_kb=%ld\n", mapMs, frameMs, peak,
                rss);
    return frameMs < 0 ? 1 : 0;
}
