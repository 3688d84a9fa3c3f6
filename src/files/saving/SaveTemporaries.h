#pragma once

#include <filesystem>
#include <string>

namespace mosaikon {

// The temporary files of our saves: ".mosaikon-<process id>-<random>.tmp". The leading dot keeps
// them out of file dialogs, the prefix tells them from anyone else's, and the name is short and
// never derived from the target's, so a target name of any length the disk accepts can be saved.

// A fresh temporary name for the calling process (a name only, without a folder).
std::string makeTemporaryName();

// Removes from `folder` the temporary files that interrupted saves of ours left behind. A file
// counts as left behind only when it is older than a minute and the process named in it no
// longer runs here, so no save in progress is touched: neither one of a running instance on
// this machine, nor one from another machine sharing the folder (whose process id means nothing
// here) that is still being written. Files that are not ours are never touched. Errors are
// ignored: the cleanup is a courtesy, not part of the save.
void removeStaleTemporaries(const std::filesystem::path& folder) noexcept;

}  // namespace mosaikon
