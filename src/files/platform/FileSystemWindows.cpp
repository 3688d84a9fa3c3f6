// The file layer's system calls on Windows.
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>

#include "platform/FileSystemCalls.h"

namespace mosaikon::platform {

namespace fs = std::filesystem;

namespace {

// Reads and writes take an unsigned int count; longer ones are done in parts.
constexpr std::size_t kMostAtOnce = 1u << 30;

FileStatus statusFrom(const struct ::_stat64& info) {
    FileStatus status;
    status.type = (info.st_mode & _S_IFMT) == _S_IFREG   ? FileStatus::Type::Regular
                  : (info.st_mode & _S_IFMT) == _S_IFDIR ? FileStatus::Type::Folder
                                                         : FileStatus::Type::Other;
    status.size = static_cast<std::uint64_t>(info.st_size);
    const auto changed = static_cast<long long>(info.st_mtime);
    status.identity = std::to_string(info.st_dev) + ':' + std::to_string(info.st_ino) + ':' +
                      std::to_string(info.st_size) + ':' + std::to_string(changed);
    return status;
}

}  // namespace

int openForReading(const std::string& path) {
    return ::_wopen(pathOf(path).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}

int statusOfPath(const std::string& path, FileStatus& status) {
    struct ::_stat64 info {};
    if (::_wstat64(pathOf(path).c_str(), &info) != 0) {
        return -1;
    }
    status = statusFrom(info);
    return 0;
}

int statusOfDescriptor(int descriptor, FileStatus& status) {
    struct ::_stat64 info {};
    if (::_fstat64(descriptor, &info) != 0) {
        return -1;
    }
    status = statusFrom(info);
    return 0;
}

long long readAt(int descriptor, std::uint64_t offset, std::span<std::uint8_t> out) {
    if (::_lseeki64(descriptor, static_cast<long long>(offset), SEEK_SET) < 0) return -1;
    return ::_read(descriptor, out.data(),
                   static_cast<unsigned>(std::min(out.size(), kMostAtOnce)));
}

int closeFile(int descriptor) { return ::_close(descriptor); }

fs::path pathOf(const std::string& name) {
    // Windows names reach the program as UTF-8; the wide form is what the system takes.
    return fs::path(std::u8string(name.begin(), name.end()));
}

ExistingFile examine(const fs::path& path) {
    ExistingFile found;
    struct ::_stat64 info {};
    if (::_wstat64(path.c_str(), &info) == 0) {
        found.exists = true;
        found.folder = (info.st_mode & _S_IFDIR) != 0;
        found.readOnly = (info.st_mode & _S_IWRITE) == 0;  // the read-only attribute
    }
    return found;
}

int createNew(const fs::path& path) {
    return ::_wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                    _S_IREAD | _S_IWRITE);
}

void keepOwnership(int, const ExistingFile&) {}

long long writeSome(int descriptor, std::span<const std::uint8_t> bytes) {
    return ::_write(descriptor, bytes.data(),
                    static_cast<unsigned>(std::min(bytes.size(), kMostAtOnce)));
}

int flushToDisk(int descriptor) { return ::_commit(descriptor); }

// Windows has no flush of a whole disk from a file; each file is flushed on its own.
bool flushesWholeFileSystem() { return false; }
int flushFileSystemOf(int descriptor) { return flushToDisk(descriptor); }

// With "write through" the move is on the disk, folder entry included, when it returns.
int replaceFile(const fs::path& from, const fs::path& to) {
    if (::MoveFileExW(from.c_str(), to.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0) {
        return 0;
    }
    errno = ::GetLastError() == ERROR_ACCESS_DENIED ? EACCES : EIO;
    return -1;
}

int flushFolder(const fs::path&) { return 0; }

void removeFile(const fs::path& path) { ::_wunlink(path.c_str()); }

long thisProcess() { return ::_getpid(); }

bool processRuns(long process) {
    const HANDLE handle = ::OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(process));
    if (handle == nullptr) {
        // Access denied means it runs under another user.
        return ::GetLastError() != ERROR_INVALID_PARAMETER;
    }
    const bool running = ::WaitForSingleObject(handle, 0) == WAIT_TIMEOUT;
    ::CloseHandle(handle);
    return running;
}

std::string fileNameOf(const fs::path& path) {
    const std::u8string name = path.filename().u8string();
    return std::string(name.begin(), name.end());
}

}  // namespace mosaikon::platform
