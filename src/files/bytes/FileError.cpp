#include "FileError.h"

namespace mosaikon {

FileError::FileError(const std::string& path, const std::string& problem)
    : std::runtime_error("The file \"" + path + "\" " + problem),
      m_path(path),
      m_problem(problem) {}

}  // namespace mosaikon
