#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "IconCanvas.h"
#include "Picture.h"

namespace mosaikon {

// A copy of the icon kept on disk while the editor runs, so that a crash, a killed session or
// Exit loses nothing. Each running editor keeps one copy file of its own in the copies folder,
// beside a lock file that it holds for its whole life; the system lets go of the lock when the
// process ends, however it ends. A copy is "left behind" exactly when no process holds its lock.
//
// A copy is an ordinary 32 × 32, 32-bit icon file, read back with the editor's own icon reader.

// How long a copy left behind is kept.
inline constexpr std::chrono::hours kKeptCopyLifetime{24 * 30};

// The folder of the copies: "copies" in the user's state folder (see defaultStateFolder in the
// platform calls); empty when the environment names no home.
std::string defaultKeptCopyFolder();

struct KeptCopy {
    std::string path;
    std::chrono::system_clock::time_point written;
};

// The copies in one folder, as other editors left them.
class KeptCopyFolder {
public:
    explicit KeptCopyFolder(std::string folder) : m_folder(std::move(folder)) {}
    const std::string& folder() const { return m_folder; }

    // The copies whose editor no longer runs, newest first, at most `count` of them. A folder
    // that does not exist holds none. Throws FileError when the folder cannot be read.
    std::vector<KeptCopy> leftBehind(
        std::size_t count = std::numeric_limits<std::size_t>::max()) const;
    // Removes the copies left behind that were written longer ago than `lifetime`, with their
    // locks, and returns how many. Copies of running editors are never touched.
    int removeOlderThan(std::chrono::system_clock::duration lifetime) const;

private:
    std::string m_folder;
};

// The icon a kept copy holds, read as hostile input: throws FileError unless the file is a
// whole icon file of one 32 × 32 image.
Picture readKeptCopy(const std::string& path);

// Takes the icon of a kept copy into the editor as opening an icon does (the view rebuilt, the
// grid drawn), without writing the status line. The surfaces change only once it has been read.
void restoreKeptCopy(IconCanvas& canvas, const std::string& path);

// This editor's own copy: takes its lock when made and writes the copy on a thread of its own,
// so the caller never waits for the disk. Each write replaces the copy whole (an atomic save).
class KeptCopyWriter {
public:
    // Makes `folder` if needed and takes a new copy's lock in it; the copy itself appears with
    // the first write. Throws FileError when the folder cannot be made or written.
    explicit KeptCopyWriter(const std::string& folder);
    // Writes what was handed over and not yet written, waiting at most `kFinalWriteBound`.
    ~KeptCopyWriter();
    KeptCopyWriter(const KeptCopyWriter&) = delete;
    KeptCopyWriter& operator=(const KeptCopyWriter&) = delete;

    static constexpr std::chrono::milliseconds kFinalWriteBound{800};

    // Hands over the icon surface's plain colours (32 × 32, row by row) to be written. A newer
    // icon handed over before the older one was written replaces it. Copies the 4 KiB and
    // returns; the writing thread does the rest.
    void keep(std::span<const std::uint32_t> pixels);
    // Waits until every icon handed over is written (or has failed), at most `bound`. True when
    // nothing is left to write.
    bool waitUntilWritten(std::chrono::milliseconds bound);
    // Why the latest write failed; empty when it worked or none was made yet.
    std::string failure() const;
    // How many writes have finished, failed ones included.
    std::uint64_t writesDone() const;
    const std::string& path() const { return m_path; }

    struct Shared;

private:
    std::string m_path;
    std::shared_ptr<Shared> m_shared;
    std::thread m_thread;
};

}  // namespace mosaikon
