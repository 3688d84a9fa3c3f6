#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "ByteSource.h"

namespace mosaikon {

// What a file's first bytes say it is: an icon or cursor directory, "BM", the PNG signature, or
// "MZ" in front of a program file; the first eight bytes are enough to tell.
enum class FileKind { Icon, Bitmap, Png, Program, Unknown };
inline constexpr std::size_t kFileKindBytes = 8;
FileKind fileKindOf(std::span<const std::uint8_t> head);
// The same for the file in `file`. Throws FileError when its first bytes cannot be read.
FileKind fileKindOf(ByteSource& file);

// Throws FileError when `file` is empty, in the words the editor and mosaikon-cli both use for
// such a file, whatever kind it was meant to be.
void refuseEmptyFile(ByteSource& file);

// The extension of the last name in `path` (after its last '/'): what follows that name's last
// dot, in lower case, without the dot; empty when the name has no dot.
std::string lowerExtension(const std::string& path);

// The command that opens a file named from outside the editor (the command line, a drop).
enum class OpenCommand { OpenIcon, OpenBitmap, ExtractIcon };

// Which command opens `path`. The file's first bytes decide (icon or cursor directory, "BM",
// the PNG signature, "MZ"), so a missing or wrong extension does not matter; only a file whose
// content tells nothing (unreadable, empty, unknown) goes by its extension, and then by Open Icon,
// whose reader reports what is wrong with it. A 32 × 32 PNG opens as an icon, any other as a
// bitmap.
OpenCommand openCommandFor(const std::string& path);

}  // namespace mosaikon
