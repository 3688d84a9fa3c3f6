#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace mosaikon {

// What the kept copies and the recent list ask of the system in a way that differs between
// platforms: where the user's state lives, and locks that the system lets go of when the process
// holding them ends, however it ends. One source file per platform holds all of it
// (platform/StateFolderPosix.cpp, platform/StateFolderWindows.cpp); the build compiles the one
// for its target.

// The folder for this program's state: $XDG_STATE_HOME/mosaikon, or ~/.local/state/mosaikon
// when that is unset, on POSIX systems; %LOCALAPPDATA%\Mosaikon on Windows. Empty when the
// environment names no home at all.
std::filesystem::path defaultStateFolder();

// A lock held on a file for as long as this object lives, or until the process ends.
class HeldLock {
public:
    // Creates `path`, which must not exist yet, and locks it. Throws FileError.
    static HeldLock createAndLock(const std::filesystem::path& path);
    HeldLock(HeldLock&& other) noexcept;
    HeldLock& operator=(HeldLock&& other) noexcept;
    HeldLock(const HeldLock&) = delete;
    HeldLock& operator=(const HeldLock&) = delete;
    ~HeldLock();

private:
    explicit HeldLock(std::intptr_t handle) : m_handle(handle) {}
    std::intptr_t m_handle;
};

// Whether some process, this one included, holds the lock of `path` now. A missing file is held
// by no one.
bool lockIsHeld(const std::filesystem::path& path);

}  // namespace mosaikon
