// The state folder and the copies' locks on POSIX systems: flock() locks belong to the open
// file, so the system drops them when the process ends, and a second open of the same file, in
// this process or another, cannot take one while it is held.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "FileError.h"
#include "platform/StateFolderCalls.h"

namespace mosaikon {

namespace fs = std::filesystem;

fs::path defaultStateFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    // The base directory rules ignore a relative value.
    if (state != nullptr && state[0] == '/') {
        return fs::path(state) / "mosaikon";
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') {
        return {};
    }
    return fs::path(home) / ".local" / "state" / "mosaikon";
}

namespace {

int lockWithoutWaiting(int descriptor) {
    int result = 0;
    do {
        result = ::flock(descriptor, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    return result;
}

}  // namespace

HeldLock HeldLock::createAndLock(const fs::path& path) {
    const int descriptor =
        ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (descriptor < 0) {
        throw FileError(path.string(),
                        std::string("could not be made: ") + std::strerror(errno) + ".");
    }
    if (lockWithoutWaiting(descriptor) != 0) {
        const int error = errno;
        ::close(descriptor);
        throw FileError(path.string(),
                        std::string("could not be locked: ") + std::strerror(error) + ".");
    }
    return HeldLock(descriptor);
}

HeldLock::HeldLock(HeldLock&& other) noexcept : m_handle(other.m_handle) { other.m_handle = -1; }

HeldLock& HeldLock::operator=(HeldLock&& other) noexcept {
    if (this != &other) {
        if (m_handle >= 0) {
            ::close(static_cast<int>(m_handle));
        }
        m_handle = other.m_handle;
        other.m_handle = -1;
    }
    return *this;
}

HeldLock::~HeldLock() {
    if (m_handle >= 0) {
        ::close(static_cast<int>(m_handle));  // closing the only descriptor drops the lock
    }
}

bool lockIsHeld(const fs::path& path) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (descriptor < 0) {
        return false;
    }
    const bool held = lockWithoutWaiting(descriptor) != 0 && errno == EWOULDBLOCK;
    ::close(descriptor);
    return held;
}

}  // namespace mosaikon
