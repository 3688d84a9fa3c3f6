#include <cerrno>
#include <filesystem>
#include <map>
#include <memory>
#include <utility>

#include "AtomicFile.h"
#include "platform/FileSystemCalls.h"
#include "saving/SaveProblems.h"
#include "saving/SaveTemporaries.h"

namespace mosaikon {

namespace fs = std::filesystem;

void AtomicFileBatch::add(std::string target, std::span<const std::uint8_t> bytes) {
    auto file = std::make_unique<AtomicFile>(std::move(target));
    file->write(bytes);
    m_files.push_back(std::move(file));
}

std::vector<FileError> AtomicFileBatch::commit() {
    std::vector<FileError> failures;
    std::vector<std::unique_ptr<AtomicFile>> files = std::move(m_files);
    m_files.clear();
    // Every new file reaches the disk before any name points at it: one flush per file system
    // where the system can flush a whole one (the files of one folder share theirs), else one
    // per file. A file whose flush failed is not put in place.
    const bool wholeFileSystem = platform::flushesWholeFileSystem();
    std::map<fs::path, int> folderFlushes;  // folder → errno of its flush, 0 when it worked
    std::map<const AtomicFile*, int> fileFlushes;
    for (const std::unique_ptr<AtomicFile>& file : files) {
        if (!wholeFileSystem) {
            fileFlushes[file.get()] =
                platform::flushFileSystemOf(file->m_descriptor) == 0 ? 0 : errno;
        } else if (!folderFlushes.contains(file->m_folder)) {
            folderFlushes[file->m_folder] =
                platform::flushFileSystemOf(file->m_descriptor) == 0 ? 0 : errno;
        }
    }
    std::map<fs::path, std::vector<std::string>> placed;  // each folder's saved targets
    for (std::unique_ptr<AtomicFile>& file : files) {
        const int flushError =
            wholeFileSystem ? folderFlushes[file->m_folder] : fileFlushes[file.get()];
        if (flushError != 0) {
            failures.emplace_back(file->m_target, writeProblem(flushError));
            file.reset();  // removes its temporary file
            continue;
        }
        try {
            file->closeAndPlace();
            placed[file->m_folder].push_back(file->m_target);
        } catch (const FileError& failure) {
            failures.push_back(failure);
        }
    }
    // Then each folder once, so that the renames last.
    for (const auto& [folder, targets] : placed) {
        removeStaleTemporaries(folder);
        if (platform::flushFolder(folder) != 0) {
            const int error = errno;
            for (const std::string& target : targets) {
                failures.push_back(notMadePermanent(target, error));
            }
        }
    }
    return failures;
}

}  // namespace mosaikon
