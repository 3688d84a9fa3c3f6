#pragma once

#include <stdexcept>
#include <string>

namespace mosaikon {

// A file could not be read or written. The message names the file and says what is wrong, in
// words a person can act on.
//
// One rule for damage, in every reader of this layer:
// - A reader that cannot give what it was asked for throws FileError.
// - A reader that can give its result although a part of the file is damaged (one image of an
//   icon file, one icon group of a program file) gives it, and keeps that damage as the FileError
//   that says what is wrong, beside the part it concerns (a `problem` member). A caller that then
//   needs the damaged part throws that same error; a listing for a person shows its problem().
// - FileError alone means "this file is damaged or cannot be read". Where damage turns into a
//   fallback (the substitute icon of a program file, a depth left to the image's own header, a
//   listing's entry), the catch names FileError and nothing else, so a programming error
//   (std::logic_error) and exhausted memory (std::bad_alloc) always reach the caller.
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
