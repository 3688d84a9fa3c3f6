#include "SaveTemporaries.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <ctime>
#include <optional>
#include <random>
#include <string_view>

namespace mosaikon {

namespace {

constexpr std::string_view kPrefix = ".mosaikon-";
constexpr std::string_view kSuffix = ".tmp";
constexpr std::time_t kStaleAfterSeconds = 60;

// The process id in one of our temporary names, or nothing when the name is not one of ours.
std::optional<pid_t> creatorOf(std::string_view name) {
    if (!name.starts_with(kPrefix) || !name.ends_with(kSuffix)) {
        return std::nullopt;
    }
    name = name.substr(kPrefix.size(), name.size() - kPrefix.size() - kSuffix.size());
    const std::size_t dash = name.find('-');
    if (dash == std::string_view::npos || dash + 1 == name.size() ||
        name.find_first_not_of("0123456789abcdef", dash + 1) != std::string_view::npos) {
        return std::nullopt;
    }
    pid_t creator = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + dash, creator);
    // Zero and negative ids would address whole process groups when asked whether they run.
    if (error != std::errc() || end != name.data() + dash || creator <= 0) {
        return std::nullopt;
    }
    return creator;
}

bool stillRuns(pid_t process) {
    // EPERM means it runs under another user.
    return ::kill(process, 0) == 0 || errno != ESRCH;
}

}  // namespace

std::string makeTemporaryName() {
    thread_local std::mt19937 random{std::random_device{}()};
    constexpr char kDigits[] = "0123456789abcdef";
    std::string name = std::string(kPrefix) + std::to_string(::getpid()) + '-';
    auto bits = static_cast<std::uint32_t>(random());
    for (int i = 0; i < 8; ++i, bits >>= 4) {
        name += kDigits[bits & 15u];
    }
    return name + std::string(kSuffix);
}

void removeStaleTemporaries(const std::string& folder) {
    DIR* listing = ::opendir(folder.c_str());
    if (listing == nullptr) {
        return;
    }
    const std::time_t now = std::time(nullptr);
    while (const dirent* entry = ::readdir(listing)) {
        const std::optional<pid_t> creator = creatorOf(entry->d_name);
        struct stat info {};
        if (!creator ||
            ::fstatat(::dirfd(listing), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(info.st_mode) || now - info.st_mtime < kStaleAfterSeconds ||
            stillRuns(*creator)) {
            continue;
        }
        ::unlinkat(::dirfd(listing), entry->d_name, 0);
    }
    ::closedir(listing);
}

}  // namespace mosaikon
