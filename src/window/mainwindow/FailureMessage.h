#pragma once

#include <QString>
#include <exception>
#include <string>

namespace mosaikon {

// The command a handler is running, as far as the window knows it, so that a failure can say
// what could not be done.
enum class Command { Unnamed, OpenIcon, OpenBitmap, SaveIcon, SaveBitmap, ExtractIcon };

// What a person reads when `command` stopped with `failure`. A file error already says which
// file and what is wrong with it, and is shown as it is; any other failure becomes a sentence
// that names the command and, once one was chosen, the file, instead of the library's own text.
QString failureMessage(const std::exception_ptr& failure, Command command,
                       const std::string& fileName, const QString& programName);

}  // namespace mosaikon
