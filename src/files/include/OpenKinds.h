#pragma once

#include <string>

namespace mosaikon {

// The command that opens a file named from outside the editor (the command line, a drop).
enum class OpenCommand { OpenIcon, OpenBitmap, ExtractIcon };

// Which command opens `path`. The file's first bytes decide (icon or cursor directory, "BM",
// the PNG signature, "MZ"), so a missing or wrong extension does not matter; only a file whose
// content tells nothing (unreadable, empty, unknown) goes by its extension, and then by Open Icon,
// whose reader reports what is wrong with it. A 32 × 32 PNG opens as an icon, any other as a
// bitmap.
OpenCommand openCommandFor(const std::string& path);

}  // namespace mosaikon
