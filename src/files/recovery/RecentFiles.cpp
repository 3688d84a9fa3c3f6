// The recent files' list in the state folder.
#include "RecentFiles.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "AtomicFile.h"
#include "FileBytes.h"
#include "FileError.h"
#include "recovery/StateFolderCalls.h"

namespace mosaikon {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kFirstLine = "mosaikon recent files 1";
// Ten names of the longest a system allows, each of its bytes escaped, fit with room to spare;
// a larger file is not one of ours and only its start is read.
constexpr std::uint64_t kMostBytesRead = 256 * 1024;

bool escaped(std::uint8_t byte) { return byte < 0x20 || byte == 0x7F || byte == '%'; }

int hexValue(std::uint8_t digit) {
    if (digit >= '0' && digit <= '9') {
        return digit - '0';
    }
    if (digit >= 'A' && digit <= 'F') {
        return digit - 'A' + 10;
    }
    if (digit >= 'a' && digit <= 'f') {
        return digit - 'a' + 10;
    }
    return -1;
}

// One line's name, or empty when the line is not a well-formed one.
std::string decodeLine(std::span<const std::uint8_t> line) {
    std::string name;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const std::uint8_t byte = line[i];
        if (byte != '%') {
            if (escaped(byte)) {
                return {};
            }
            name.push_back(static_cast<char>(byte));
            continue;
        }
        if (i + 2 >= line.size()) {
            return {};
        }
        const int high = hexValue(line[i + 1]);
        const int low = hexValue(line[i + 2]);
        if (high < 0 || low < 0) {
            return {};
        }
        name.push_back(static_cast<char>(high * 16 + low));
        i += 2;
    }
    return name;
}

// `path` from the root, its "." parts left out; ".." stays, since a link before it decides
// where it leads.
std::string absoluteName(const std::string& path) {
    std::error_code error;
    const fs::path whole = fs::absolute(fs::path(path), error);
    if (error) {
        return path;
    }
    fs::path result;
    for (const fs::path& part : whole) {
        if (part != ".") {
            result /= part;
        }
    }
    return result.string();
}

}  // namespace

std::string defaultRecentFilesPath() {
    const fs::path state = defaultStateFolder();
    return state.empty() ? std::string() : (state / "recent-files").string();
}

std::vector<std::uint8_t> formatRecentFiles(const std::vector<std::string>& names) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::vector<std::uint8_t> bytes(kFirstLine.begin(), kFirstLine.end());
    bytes.push_back('\n');
    for (const std::string& name : names) {
        for (const char character : name) {
            const auto byte = static_cast<std::uint8_t>(character);
            if (escaped(byte)) {
                bytes.push_back('%');
                bytes.push_back(static_cast<std::uint8_t>(kDigits[byte >> 4]));
                bytes.push_back(static_cast<std::uint8_t>(kDigits[byte & 0xF]));
            } else {
                bytes.push_back(byte);
            }
        }
        bytes.push_back('\n');
    }
    return bytes;
}

std::vector<std::string> parseRecentFiles(std::span<const std::uint8_t> bytes) {
    std::vector<std::string> names;
    const auto lineEnd = [&bytes](std::size_t from) {
        return static_cast<std::size_t>(std::find(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                                                  bytes.end(), std::uint8_t{'\n'}) -
                                        bytes.begin());
    };
    std::size_t end = lineEnd(0);
    if (end == bytes.size() || !std::equal(kFirstLine.begin(), kFirstLine.end(), bytes.begin(),
                                           bytes.begin() + static_cast<std::ptrdiff_t>(end))) {
        return names;
    }
    // Only whole lines count: a last line without its line break may have been cut short.
    for (std::size_t start = end + 1; start < bytes.size() && names.size() < kRecentFilesKept;
         start = end + 1) {
        end = lineEnd(start);
        if (end == bytes.size()) {
            break;
        }
        std::string name = decodeLine(bytes.subspan(start, end - start));
        if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end()) {
            names.push_back(std::move(name));
        }
    }
    return names;
}

std::vector<std::string> RecentFiles::names() const {
    std::error_code error;
    if (m_listPath.empty() || !fs::exists(fs::path(m_listPath), error)) {
        return {};
    }
    FileBytes file(m_listPath);
    return parseRecentFiles(readUpTo(file, 0, kMostBytesRead));
}

void RecentFiles::add(const std::string& path) {
    if (path.empty()) {
        return;
    }
    const std::string name = absoluteName(path);
    std::vector<std::string> list;
    try {
        list = names();
    } catch (const FileError&) {
        // A list that cannot be read is started anew.
    }
    std::erase(list, name);
    list.insert(list.begin(), name);
    list.resize(std::min(list.size(), kRecentFilesKept));
    save(list);
}

void RecentFiles::remove(const std::string& name) {
    std::vector<std::string> list = names();
    if (std::erase(list, name) > 0) {
        save(list);
    }
}

void RecentFiles::clear() { save({}); }

void RecentFiles::save(const std::vector<std::string>& names) const {
    if (m_listPath.empty()) {
        throw FileError("the recent files", "have no folder: the environment names no home.");
    }
    std::error_code error;
    fs::create_directories(fs::path(m_listPath).parent_path(), error);
    if (error) {
        throw FileError(fs::path(m_listPath).parent_path().string(),
                        "could not be made: " + error.message() + ".");
    }
    AtomicFile file(m_listPath);
    file.write(formatRecentFiles(names));
    file.commit();
}

bool recentFileIsGone(const std::string& name) {
    std::error_code error;
    const fs::file_status status = fs::status(fs::path(name), error);
    return status.type() == fs::file_type::not_found;
}

}  // namespace mosaikon
