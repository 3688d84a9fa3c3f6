#include "saving/SaveProblems.h"

#include <cerrno>
#include <system_error>

namespace mosaikon {

std::string writeProblem(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
            return "cannot be saved: you have no permission to write in its folder.";
        case EROFS:
            return "cannot be saved: its disk can only be read.";
        case ENOENT:
        case ENOTDIR:
            return "cannot be saved: its folder does not exist.";
        case ENOSPC:
#ifdef EDQUOT
        case EDQUOT:
#endif
            return "cannot be saved: the disk is full.";
        case ENAMETOOLONG:
            return "cannot be saved: its name is too long for the disk.";
        case ELOOP:
            return "cannot be saved: it is a link that leads round in a circle.";
        case EIO:
            return "cannot be saved: the disk reported an error while writing it.";
        default:
            return "cannot be saved: " + std::generic_category().message(error) + ".";
    }
}

FileError notMadePermanent(const std::string& target, int error) {
    return FileError(target, "may not be saved: the disk failed to make the save permanent (" +
                                 std::generic_category().message(error) + ").");
}

}  // namespace mosaikon
