#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace mosaikon {

// The files this user opened or saved last, newest first, shared by every editor the user runs:
// one small file in the state folder, read afresh each time it is asked for and replaced whole
// (an atomic save) each time it changes, so two editors never leave it half written.
//
// Names are the system's own bytes, kept as they are whether or not they are valid text.

inline constexpr std::size_t kRecentFilesKept = 10;

// The list's file: "recent-files" in the user's state folder; empty when the environment names
// no home.
std::string defaultRecentFilesPath();

class RecentFiles {
public:
    explicit RecentFiles(std::string listPath) : m_listPath(std::move(listPath)) {}
    const std::string& listPath() const { return m_listPath; }

    // The names as the list's file holds them now. A missing file is an empty list; a file that
    // is not a list, or lines that are not names, give what could be read of it. Throws
    // FileError when the file exists and cannot be read.
    std::vector<std::string> names() const;
    // Puts `path`, made absolute, at the head of the list, once, and keeps the newest
    // kRecentFilesKept. Throws FileError when the list cannot be saved (the folder is made).
    void add(const std::string& path);
    void remove(const std::string& name);
    void clear();

private:
    void save(const std::vector<std::string>& names) const;

    std::string m_listPath;
};

// Whether the file a recent name names has gone: it no longer exists. A name whose state cannot
// be told (a folder that may not be read) is not called gone.
bool recentFileIsGone(const std::string& name);

// The list's file format: a first line naming it, then one name a line, with '%', control
// characters and DEL written as %XX so that any name, line breaks included, fits on its line.
std::vector<std::uint8_t> formatRecentFiles(const std::vector<std::string>& names);
// Reads that format as hostile input: at most kRecentFilesKept names, each non-empty, each from
// a well-formed line; anything else is left out. Nothing is read without the first line.
std::vector<std::string> parseRecentFiles(std::span<const std::uint8_t> bytes);

}  // namespace mosaikon
