#include "X11Session.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>
#include <thread>

namespace mosaikon::e2e {

namespace {

int ignoreXErrors(Display*, XErrorEvent*) { return 0; }

void pause(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace

X11Session::X11Session() {
    // Xvfb picks a free display itself and reports its number through the pipe.
    int fds[2];
    if (pipe(fds) != 0) throw std::runtime_error("pipe failed");
    m_server = fork();
    if (m_server == 0) {
        close(fds[0]);
        const std::string fd = std::to_string(fds[1]);
        const int devnull = open("/dev/null", O_WRONLY);
        dup2(devnull, 1);
        dup2(devnull, 2);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x800x24", "-nolisten",
               "tcp", "-ac", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string number;
    char c = 0;
    while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (number.empty()) throw std::runtime_error("Xvfb did not start (is it installed?)");
    const std::string name = ":" + number;
    setenv("DISPLAY", name.c_str(), 1);
    m_display = XOpenDisplay(name.c_str());
    if (m_display == nullptr) throw std::runtime_error("cannot connect to Xvfb");
    XSetErrorHandler(ignoreXErrors);
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(m_display, &event, &error, &major, &minor)) {
        throw std::runtime_error("the X server has no XTest extension");
    }
}

X11Session::~X11Session() {
    if (m_program > 0 && programRunning()) {
        kill(m_program, SIGKILL);
        waitpid(m_program, nullptr, 0);
    }
    if (m_display != nullptr) XCloseDisplay(m_display);
    if (m_server > 0) {
        kill(m_server, SIGTERM);
        waitpid(m_server, nullptr, 0);
    }
}

void X11Session::startProgram(const std::string& program, const std::string& workingDirectory,
                              const std::vector<std::string>& arguments) {
    // Made before the fork: the child only calls what is safe there.
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    m_program = fork();
    if (m_program == 0) {
        if (chdir(workingDirectory.c_str()) != 0) _exit(126);
        setenv("HOME", workingDirectory.c_str(), 1);
        unsetenv("XDG_STATE_HOME");  // the kept icon goes under the session's own home
        const std::string runtime = workingDirectory + "/runtime";
        mkdir(runtime.c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        unsetenv("QT_SCALE_FACTOR");
        execv(program.c_str(), argv.data());
        _exit(127);
    }
}

bool X11Session::programRunning() {
    if (m_program <= 0) return false;
    int status = 0;
    const pid_t done = waitpid(m_program, &status, WNOHANG);
    if (done == m_program) {
        m_program = 0;
        return false;
    }
    return true;
}

void X11Session::signalProgram(int signal) {
    if (m_program > 0) kill(m_program, signal);
}

bool X11Session::waitForExit(std::chrono::milliseconds timeout) {
    return waitUntil([this] { return !programRunning(); }, timeout);
}

std::vector<TopLevel> X11Session::topLevels() {
    std::vector<TopLevel> result;
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(m_display, DefaultRootWindow(m_display), &root, &parent, &children, &count) ==
        0) {
        return result;
    }
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(m_display, children[i], &attributes) == 0 ||
            attributes.map_state != IsViewable) {
            continue;
        }
        TopLevel top;
        top.id = children[i];
        char* name = nullptr;
        if (XFetchName(m_display, children[i], &name) != 0 && name != nullptr) {
            top.name = name;
            XFree(name);
        }
        top.geometry = {attributes.x, attributes.y, attributes.width, attributes.height};
        result.push_back(top);
    }
    if (children != nullptr) XFree(children);
    return result;
}

unsigned long X11Session::focusedTopLevel() {
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(m_display, &focus, &revert);
    const Window rootWindow = DefaultRootWindow(m_display);
    if (focus == None || focus == PointerRoot || focus == rootWindow) return 0;
    // Walk up to the child of the root: that is the top-level window.
    for (Window current = focus;;) {
        Window root = 0, parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(m_display, current, &root, &parent, &children, &count) == 0) return 0;
        if (children != nullptr) XFree(children);
        if (parent == rootWindow || parent == 0) return current;
        current = parent;
    }
}

bool X11Session::waitUntil(const std::function<bool()>& predicate,
                           std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
        if (predicate()) return true;
        pause(10);
    }
    return predicate();
}

std::vector<std::uint32_t> X11Session::grab(const Rect& area) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(area.width) *
                                      static_cast<std::size_t>(area.height));
    XImage* image = XGetImage(m_display, DefaultRootWindow(m_display), area.x, area.y,
                              static_cast<unsigned>(area.width), static_cast<unsigned>(area.height),
                              AllPlanes, ZPixmap);
    if (image == nullptr) return {};
    for (int y = 0; y < area.height; ++y) {
        for (int x = 0; x < area.width; ++x) {
            pixels[static_cast<std::size_t>(y * area.width + x)] =
                static_cast<std::uint32_t>(XGetPixel(image, x, y) & 0xFFFFFF);
        }
    }
    XDestroyImage(image);
    return pixels;
}

std::uint32_t X11Session::pixel(int x, int y) {
    const auto one = grab({x, y, 1, 1});
    return one.empty() ? 0xFFFFFFFFu : one.front();
}

void X11Session::moveTo(int x, int y) {
    XTestFakeMotionEvent(m_display, -1, x, y, CurrentTime);
    sync();
}

void X11Session::press(int button) {
    XTestFakeButtonEvent(m_display, static_cast<unsigned>(button), True, CurrentTime);
    sync();
}

void X11Session::release(int button) {
    XTestFakeButtonEvent(m_display, static_cast<unsigned>(button), False, CurrentTime);
    sync();
}

void X11Session::click(int x, int y, int button) {
    moveTo(x, y);
    pause(30);
    press(button);
    pause(30);
    release(button);
    pause(30);
}

void X11Session::fakeKey(unsigned long keysym) {
    const KeyCode code = XKeysymToKeycode(m_display, keysym);
    if (code == 0) throw std::runtime_error("no key for keysym " + std::to_string(keysym));
    const bool shifted = XkbKeycodeToKeysym(m_display, code, 0, 0) != keysym;
    const KeyCode shift = XKeysymToKeycode(m_display, XK_Shift_L);
    if (shifted) XTestFakeKeyEvent(m_display, shift, True, CurrentTime);
    XTestFakeKeyEvent(m_display, code, True, CurrentTime);
    XTestFakeKeyEvent(m_display, code, False, CurrentTime);
    if (shifted) XTestFakeKeyEvent(m_display, shift, False, CurrentTime);
    sync();
    pause(5);
}

void X11Session::key(const std::string& keysymName) {
    const KeySym keysym = XStringToKeysym(keysymName.c_str());
    if (keysym == NoSymbol) throw std::runtime_error("unknown key " + keysymName);
    fakeKey(keysym);
}

void X11Session::chord(const std::vector<std::string>& keysymNames) {
    std::vector<KeyCode> codes;
    for (const std::string& name : keysymNames) {
        const KeySym keysym = XStringToKeysym(name.c_str());
        const KeyCode code = keysym == NoSymbol ? 0 : XKeysymToKeycode(m_display, keysym);
        if (code == 0) throw std::runtime_error("unknown key " + name);
        codes.push_back(code);
    }
    for (const KeyCode code : codes) XTestFakeKeyEvent(m_display, code, True, CurrentTime);
    for (auto code = codes.rbegin(); code != codes.rend(); ++code) {
        XTestFakeKeyEvent(m_display, *code, False, CurrentTime);
    }
    sync();
    pause(5);
}

void X11Session::type(const std::string& text) {
    for (const char c : text) {
        fakeKey(static_cast<unsigned long>(static_cast<unsigned char>(c)));
    }
}

void X11Session::sync() { XSync(m_display, False); }

}  // namespace mosaikon::e2e
