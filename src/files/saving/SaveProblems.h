#pragma once

#include <string>

#include "FileError.h"

namespace mosaikon {

// What a failed save means to the person who asked for it, from the system's error `error`:
// the problem FileError names after the target ("cannot be saved: the disk is full.").
std::string writeProblem(int error);

// The error of a save whose new file is in place but whose folder could not be flushed, so that
// the rename is not known to be permanent.
FileError notMadePermanent(const std::string& target, int error);

}  // namespace mosaikon
