#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "FileError.h"

namespace mosaikon {

// Writes a file so that it appears whole or not at all, also after a crash or a power cut: the
// bytes go to a hidden temporary file in the target's folder and are flushed to the disk; only
// then does the file replace the target by a rename, and the folder is flushed too before
// commit() returns. A writer dropped without commit() removes its temporary file, so a failed
// save leaves an existing target as it was.
//
// Paths are the system's own bytes, used as given (on Windows UTF-8, which is widened for the
// system), never through a lossy conversion. A symbolic link is followed to the file it names,
// which is replaced in its own folder, so the link stays a link. A replaced file keeps its
// permission bits and, where this user may set it, its group. Other hard links to a replaced file
// keep the old content: the rename gives the name a new file.
class AtomicFile {
public:
    // Throws FileError when the target is a folder, a file marked read-only or that this user
    // may not write, a link that leads round in a circle, or its folder cannot be written.
    explicit AtomicFile(std::string target);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    void write(std::span<const std::uint8_t> bytes);
    // Flushes the new file, puts it in place of the target and flushes the folder. Throws
    // FileError; the save has then not happened, except when only the last flush failed.
    void commit();

private:
    friend class AtomicFileBatch;
    // Closes the new file, already flushed, and puts it in place of the target.
    void closeAndPlace();
    [[noreturn]] void fail(int error);
    void discardTemporary() noexcept;

    std::string m_target;                 // as the caller named it, for messages
    std::filesystem::path m_destination;  // the file that is replaced, links followed
    std::filesystem::path m_folder;       // its folder, where the temporary file lives
    std::filesystem::path m_temporary;    // empty once renamed or removed
    int m_descriptor = -1;
};

// Several files saved together, each whole or not at all as AtomicFile saves one, with fewer
// flushes: every new file is written first, then one flush of each file system holding them
// puts them all on the disk, then each replaces its target, and each folder is flushed once.
// A batch holds one open file per added target until commit(), so callers commit every few
// hundred files.
class AtomicFileBatch {
public:
    // Writes `bytes` to a new hidden file beside `target`. Throws FileError for this target
    // alone; the files added before stay in the batch.
    void add(std::string target, std::span<const std::uint8_t> bytes);
    // Saves every file added since the last commit and returns the ones that could not be
    // saved, each as the error that says why; the others are saved.
    std::vector<FileError> commit();

private:
    std::vector<std::unique_ptr<AtomicFile>> m_files;
};

}  // namespace mosaikon
