#include "saving/SaveTemporaries.h"

#include <charconv>
#include <chrono>
#include <cstdint>
#include <optional>
#include <random>
#include <string_view>

#include "platform/FileSystemCalls.h"

namespace mosaikon {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPrefix = ".mosaikon-";
constexpr std::string_view kSuffix = ".tmp";
constexpr auto kStaleAfter = std::chrono::minutes(1);

// The process id in one of our temporary names, or nothing when the name is not one of ours.
std::optional<long> creatorOf(std::string_view name) {
    if (!name.starts_with(kPrefix) || !name.ends_with(kSuffix)) {
        return std::nullopt;
    }
    name = name.substr(kPrefix.size(), name.size() - kPrefix.size() - kSuffix.size());
    const std::size_t dash = name.find('-');
    if (dash == std::string_view::npos || dash + 1 == name.size() ||
        name.find_first_not_of("0123456789abcdef", dash + 1) != std::string_view::npos) {
        return std::nullopt;
    }
    long creator = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + dash, creator);
    // Zero and negative ids would address whole process groups when asked whether they run.
    if (error != std::errc() || end != name.data() + dash || creator <= 0 || creator > 0x7FFFFFFF) {
        return std::nullopt;
    }
    return creator;
}

}  // namespace

std::string makeTemporaryName() {
    thread_local std::mt19937 random{std::random_device{}()};
    constexpr char kDigits[] = "0123456789abcdef";
    std::string name = std::string(kPrefix) + std::to_string(platform::thisProcess()) + '-';
    auto bits = static_cast<std::uint32_t>(random());
    for (int i = 0; i < 8; ++i, bits >>= 4) {
        name += kDigits[bits & 15u];
    }
    return name + std::string(kSuffix);
}

void removeStaleTemporaries(const fs::path& folder) noexcept {
    try {
        std::error_code error;
        const auto now = fs::file_time_type::clock::now();
        for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
             entry.increment(error)) {
            const std::optional<long> creator = creatorOf(platform::fileNameOf(entry->path()));
            std::error_code failed;
            if (!creator || entry->is_symlink(failed) || !entry->is_regular_file(failed)) {
                continue;
            }
            const auto written = entry->last_write_time(failed);
            if (failed || written > now || now - written < kStaleAfter ||
                platform::processRuns(*creator)) {
                continue;
            }
            fs::remove(entry->path(), failed);
        }
    } catch (...) {
        // A name that cannot be converted, or no memory: the cleanup waits for another save.
    }
}

}  // namespace mosaikon
