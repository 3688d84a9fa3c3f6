#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

// The system calls the file layer makes, behind one interface: FileSystemPosix.cpp implements it
// for Linux, macOS and the BSDs, FileSystemWindows.cpp for Windows, and the build compiles the
// one for its system. The state folder and the kept copies' locks have their own header beside
// this one (StateFolderCalls.h, with StateFolderPosix.cpp and StateFolderWindows.cpp). Nothing
// else in the layer includes a system header or asks which system it runs on.
//
// Names are the system's own bytes as the caller has them: used as given on POSIX systems,
// whatever their encoding; UTF-8 on Windows, widened there for the system. A call that can fail
// returns -1 (a read or write a negative count) and sets errno, as POSIX calls do.
namespace mosaikon::platform {

// ---- Reading a file (FileBytes)

// What a status query says of a file.
struct FileStatus {
    enum class Type { Regular, Folder, Other };  // Other: a device, a pipe or a socket
    Type type = Type::Other;
    std::uint64_t size = 0;
    // What tells this version of the file from another: the same file number on the same
    // device, of the same size, last changed at the same moment.
    std::string identity;
};

// Opens `path` for reading only. The descriptor is not passed on to programs this one starts,
// and opening a named pipe does not wait for a writer.
int openForReading(const std::string& path);
int statusOfPath(const std::string& path, FileStatus& status);
int statusOfDescriptor(int descriptor, FileStatus& status);
// One read of at most out.size() bytes at `offset`: how many were read, 0 at the end.
long long readAt(int descriptor, std::uint64_t offset, std::span<std::uint8_t> out);
// 0 also after an interruption: the descriptor is gone all the same.
int closeFile(int descriptor);

// ---- Saving a file (AtomicFile, AtomicFileBatch)

// `name` as the system's path type.
std::filesystem::path pathOf(const std::string& name);

// What a save needs to know of the file it replaces.
struct ExistingFile {
    bool exists = false;
    bool folder = false;
    bool readOnly = false;  // marked read-only, or this user may not write it
    bool onReadOnlyDisk = false;
    // Where the system has them (POSIX): the permission bits and the group, for the new file.
    std::uint32_t mode = 0;
    std::uint32_t group = 0;
};
ExistingFile examine(const std::filesystem::path& path);

// Creates `path` for writing; fails with EEXIST when the name is taken, and does not follow a
// symbolic link there.
int createNew(const std::filesystem::path& path);
// Gives the new file the permission bits and, where this user may, the group of `existing`.
void keepOwnership(int descriptor, const ExistingFile& existing);
// One write of at most bytes.size() bytes: how many were written.
long long writeSome(int descriptor, std::span<const std::uint8_t> bytes);
// Flushes what was written through `descriptor` to the disk itself, not just to its cache.
int flushToDisk(int descriptor);
// Whether flushFileSystemOf() flushes the whole file system, every file written to it; where it
// does not, it flushes the one file, as flushToDisk() does.
bool flushesWholeFileSystem();
int flushFileSystemOf(int descriptor);
// Gives the name `to` the file named `from`, replacing what `to` named.
int replaceFile(const std::filesystem::path& from, const std::filesystem::path& to);
// Makes the renames in `folder` permanent.
int flushFolder(const std::filesystem::path& folder);
void removeFile(const std::filesystem::path& path);

// ---- Temporary files of saves (SaveTemporaries)

long thisProcess();
// Whether process `process` runs on this machine, under any user.
bool processRuns(long process);
// The own name of the file at `path` (its last part), as the system's bytes.
std::string fileNameOf(const std::filesystem::path& path);

}  // namespace mosaikon::platform
