#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>

namespace mosaikon {

// Writes a file so that it appears whole or not at all: the bytes go to a new file beside the
// target, which replaces the target only when everything was written. A writer dropped without
// commit() removes its temporary file, so a failed save leaves an existing target untouched.
class AtomicFile {
public:
    // Throws FileError when the target is a folder, read-only, or its folder is not writable.
    explicit AtomicFile(std::string target);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    void write(std::span<const std::uint8_t> bytes);
    // Closes the temporary file and renames it over the target. Throws FileError.
    void commit();

private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    [[noreturn]] void fail(const std::string& problem);

    std::string m_target;
    std::string m_temporary;
    std::unique_ptr<std::FILE, Closer> m_file;
    bool m_committed = false;
};

}  // namespace mosaikon
