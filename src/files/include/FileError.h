#pragma once

#include <stdexcept>
#include <string>

namespace mosaikon {

// A file could not be read or written. The message names the file and says what is wrong, in
// words a person can act on.
class FileError : public std::runtime_error {
public:
    FileError(const std::string& path, const std::string& problem);
    const std::string& path() const { return m_path; }
    const std::string& problem() const { return m_problem; }

private:
    std::string m_path;
    std::string m_problem;
};

}  // namespace mosaikon
