// The kept copies left in the copies folder: finding those whose editor has ended, reading one
// back and removing those that have aged out.
#include "KeptCopies.h"

#include <algorithm>
#include <system_error>

#include "FileBytes.h"
#include "FileError.h"
#include "PictureFiles.h"
#include "platform/StateFolderCalls.h"
#include "recovery/KeptCopyNames.h"

namespace mosaikon {

namespace fs = std::filesystem;

namespace {

// A copy is one 32 × 32 image of 32 bits with its mask: a little over 4 KiB. Anything much
// larger is not one of ours and is not read.
constexpr std::uint64_t kLargestCopy = 64 * 1024;

std::chrono::system_clock::time_point systemTime(fs::file_time_type time) {
    return std::chrono::time_point_cast<std::chrono::system_clock::duration>(
        fs::file_time_type::clock::to_sys(time));
}

struct FoundCopy {
    fs::path copy;
    fs::path lock;
    fs::file_time_type written;
};

// The copies in `folder` (with their lock files, which may be missing) and the lone lock files
// of editors that ended before their first write.
void listFolder(const fs::path& folder, std::vector<FoundCopy>& copies,
                std::vector<fs::path>& loneLocks) {
    std::error_code error;
    if (!fs::exists(folder, error)) {
        return;
    }
    fs::directory_iterator entries(folder, error);
    if (error) {
        throw FileError(folder.string(), "cannot be read: " + error.message() + ".");
    }
    for (const fs::directory_entry& entry : entries) {
        const fs::path& path = entry.path();
        if (!isKeptCopyName(path.filename().string())) {
            if (isKeptCopyLockName(path.filename().string()) &&
                !fs::exists(copyOfLock(path), error)) {
                loneLocks.push_back(path);
            }
            continue;
        }
        if (!entry.is_regular_file(error)) {
            continue;
        }
        const fs::file_time_type written = entry.last_write_time(error);
        if (!error) {
            copies.push_back({path, lockOfCopy(path), written});
        }
    }
}

}  // namespace

std::string defaultKeptCopyFolder() {
    const fs::path state = defaultStateFolder();
    return state.empty() ? std::string() : (state / "copies").string();
}

std::vector<KeptCopy> KeptCopyFolder::leftBehind(std::size_t count) const {
    std::vector<FoundCopy> copies;
    std::vector<fs::path> loneLocks;
    listFolder(m_folder, copies, loneLocks);
    std::sort(copies.begin(), copies.end(),
              [](const FoundCopy& a, const FoundCopy& b) { return a.written > b.written; });
    std::vector<KeptCopy> result;
    for (const FoundCopy& found : copies) {
        if (result.size() == count) {
            break;
        }
        if (!lockIsHeld(found.lock)) {
            result.push_back({found.copy.string(), systemTime(found.written)});
        }
    }
    return result;
}

int KeptCopyFolder::removeOlderThan(std::chrono::system_clock::duration lifetime) const {
    std::vector<FoundCopy> copies;
    std::vector<fs::path> loneLocks;
    listFolder(m_folder, copies, loneLocks);
    const auto now = fs::file_time_type::clock::now();
    std::error_code error;
    int removed = 0;
    for (const FoundCopy& found : copies) {
        if (now - found.written > lifetime && !lockIsHeld(found.lock)) {
            // The copy first: a copy without its lock still counts as left behind.
            if (fs::remove(found.copy, error)) {
                ++removed;
            }
            fs::remove(found.lock, error);
        }
    }
    // A lock made moments ago may not be locked yet, so only old ones go.
    for (const fs::path& lock : loneLocks) {
        const fs::file_time_type made = fs::last_write_time(lock, error);
        if (!error && now - made > lifetime && !lockIsHeld(lock)) {
            fs::remove(lock, error);
        }
    }
    return removed;
}

Picture readKeptCopy(const std::string& path) {
    auto bytes = std::make_unique<FileBytes>(path);
    if (bytes->size() > kLargestCopy) {
        throw FileError(path, "is too large to be a kept copy of the icon.");
    }
    const Picture picture = readPicture(std::move(bytes));
    if (picture.kind() != PictureKind::Icon || picture.width() != IconCanvas::kIconEdge ||
        picture.height() != IconCanvas::kIconEdge) {
        throw FileError(path, "is not a kept copy of the icon: it holds no 32 × 32 icon.");
    }
    return picture;
}

void restoreKeptCopy(IconCanvas& canvas, const std::string& path) {
    const Picture picture = readKeptCopy(path);
    canvas.SmallPicture.setPicture(picture);
    canvas.rebuildView();
}

}  // namespace mosaikon
