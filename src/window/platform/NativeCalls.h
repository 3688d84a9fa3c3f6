#pragma once

#include <QString>

namespace mosaikon {

// What the window asks of the system in a way that differs between platforms. Each platform
// has one source file with all of it (NativeCallsPosix.cpp, NativeCallsWindows.cpp), and the
// build compiles the one for its target; the file names of FileNames.h live there too.

// Starts `program` with `arguments` given to it as they are, unsplit and unquoted, and does
// not wait for it. Returns false where the platform cannot (no such program, or no such way of
// starting one); throws when starting it failed.
bool startWithNativeArguments(const QString& program, const QString& arguments);

}  // namespace mosaikon
