// The state folder and the copies' locks on Windows: a lock taken with LockFileEx belongs to
// the open handle, and the system drops it when the process ends.
#include <windows.h>

#include <cstdlib>

#include "FileError.h"
#include "platform/StateFolderCalls.h"

namespace mosaikon {

namespace fs = std::filesystem;

fs::path defaultStateFolder() {
    const wchar_t* local = _wgetenv(L"LOCALAPPDATA");
    if (local == nullptr || local[0] == L'\0') {
        return {};
    }
    return fs::path(local) / L"Mosaikon";
}

namespace {

bool lockWithoutWaiting(HANDLE file) {
    OVERLAPPED place{};
    return ::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                        &place) != 0;
}

}  // namespace

HeldLock HeldLock::createAndLock(const fs::path& path) {
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        throw FileError(path.string(), "could not be made.");
    }
    if (!lockWithoutWaiting(file)) {
        ::CloseHandle(file);
        throw FileError(path.string(), "could not be locked.");
    }
    return HeldLock(reinterpret_cast<std::intptr_t>(file));
}

HeldLock::HeldLock(HeldLock&& other) noexcept : m_handle(other.m_handle) { other.m_handle = -1; }

HeldLock& HeldLock::operator=(HeldLock&& other) noexcept {
    if (this != &other) {
        if (m_handle != -1) {
            ::CloseHandle(reinterpret_cast<HANDLE>(m_handle));
        }
        m_handle = other.m_handle;
        other.m_handle = -1;
    }
    return *this;
}

HeldLock::~HeldLock() {
    if (m_handle != -1) {
        ::CloseHandle(reinterpret_cast<HANDLE>(m_handle));
    }
}

bool lockIsHeld(const fs::path& path) {
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    const bool held = !lockWithoutWaiting(file);
    ::CloseHandle(file);
    return held;
}

}  // namespace mosaikon
