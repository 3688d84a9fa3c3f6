// This editor's own kept copy, written on a thread of its own.
#include <algorithm>
#include <array>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <system_error>

#include "AtomicFile.h"
#include "FileError.h"
#include "KeptCopies.h"
#include "icon/IconWriter.h"
#include "platform/StateFolderCalls.h"
#include "recovery/KeptCopyNames.h"
#include "saving/SaveTemporaries.h"

namespace mosaikon {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kIconPixels = IconCanvas::kIconEdge * IconCanvas::kIconEdge;

}  // namespace

// What the editor and the writing thread share. The thread holds it too, so a thread still
// writing when the editor has stopped waiting for it (a hung disk) never reaches freed memory.
struct KeptCopyWriter::Shared {
    explicit Shared(HeldLock held) : lock(std::move(held)) {}

    HeldLock lock;
    std::mutex mutex;
    std::condition_variable work;      // the thread waits here for an icon or the end
    std::condition_variable progress;  // callers wait here for writes
    std::array<std::uint32_t, kIconPixels> pending{};
    bool hasPending = false;
    bool writing = false;
    bool stop = false;
    bool finished = false;
    std::string failure;
    std::uint64_t writesDone = 0;
};

namespace {

void writeCopy(const std::string& path, const std::array<std::uint32_t, kIconPixels>& plain) {
    std::vector<Pixel> pixels(plain.size());
    for (std::size_t i = 0; i < plain.size(); ++i) {
        pixels[i] = opaquePixel(Colour(plain[i]));
    }
    const Picture icon = Picture::fromPixels(PictureKind::Icon, IconCanvas::kIconEdge,
                                             IconCanvas::kIconEdge, std::move(pixels));
    const std::vector<std::uint8_t> bytes = encodeIcon(icon, path);
    AtomicFile file(path);
    file.write(bytes);
    file.commit();
}

void runWriter(const std::shared_ptr<KeptCopyWriter::Shared>& shared, const std::string& folder,
               const std::string& path) {
    try {
        KeptCopyFolder(folder).removeOlderThan(kKeptCopyLifetime);
        removeStaleTemporaries(folder);  // of copies whose editor was killed while writing
    } catch (const std::exception&) {
        // An unreadable folder shows up as a failed write soon enough.
    }
    std::unique_lock lock(shared->mutex);
    for (;;) {
        shared->work.wait(lock, [&] { return shared->hasPending || shared->stop; });
        if (!shared->hasPending) {
            break;
        }
        const std::array<std::uint32_t, kIconPixels> icon = shared->pending;
        shared->hasPending = false;
        shared->writing = true;
        lock.unlock();
        std::string failure;
        try {
            writeCopy(path, icon);
        } catch (const std::exception& error) {
            failure = error.what();
        }
        lock.lock();
        shared->writing = false;
        shared->failure = std::move(failure);
        ++shared->writesDone;
        shared->progress.notify_all();
    }
    shared->finished = true;
    shared->progress.notify_all();
}

}  // namespace

KeptCopyWriter::KeptCopyWriter(const std::string& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
        throw FileError(folder,
                        "cannot be made for the kept copy of the icon: " + error.message() + ".");
    }
    const std::string stem = newKeptCopyStem();
    m_path = (fs::path(folder) / (stem + ".ico")).string();
    m_shared =
        std::make_shared<Shared>(HeldLock::createAndLock(fs::path(folder) / (stem + ".lock")));
    m_thread = std::thread(runWriter, m_shared, folder, m_path);
}

KeptCopyWriter::~KeptCopyWriter() {
    {
        const std::lock_guard lock(m_shared->mutex);
        m_shared->stop = true;
    }
    m_shared->work.notify_all();
    std::unique_lock lock(m_shared->mutex);
    const bool ended =
        m_shared->progress.wait_for(lock, kFinalWriteBound, [this] { return m_shared->finished; });
    lock.unlock();
    if (ended) {
        m_thread.join();
    } else {
        m_thread.detach();  // the process ends without waiting longer for the disk
    }
}

void KeptCopyWriter::keep(std::span<const std::uint32_t> pixels) {
    if (pixels.size() != kIconPixels) {
        throw std::invalid_argument("A kept copy holds a 32 × 32 icon.");
    }
    {
        const std::lock_guard lock(m_shared->mutex);
        std::copy(pixels.begin(), pixels.end(), m_shared->pending.begin());
        m_shared->hasPending = true;
    }
    m_shared->work.notify_one();
}

bool KeptCopyWriter::waitUntilWritten(std::chrono::milliseconds bound) {
    std::unique_lock lock(m_shared->mutex);
    return m_shared->progress.wait_for(
        lock, bound, [this] { return !m_shared->hasPending && !m_shared->writing; });
}

std::string KeptCopyWriter::failure() const {
    const std::lock_guard lock(m_shared->mutex);
    return m_shared->failure;
}

std::uint64_t KeptCopyWriter::writesDone() const {
    const std::lock_guard lock(m_shared->mutex);
    return m_shared->writesDone;
}

}  // namespace mosaikon
