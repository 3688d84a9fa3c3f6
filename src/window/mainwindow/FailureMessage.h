#pragma once

#include <QString>
#include <exception>
#include <stdexcept>
#include <string>

namespace mosaikon {

// The command a handler is running, as far as the window knows it, so that a failure can say
// what could not be done.
enum class Command { Unnamed, OpenIcon, OpenBitmap, SaveIcon, SaveBitmap, ExtractIcon };

// A command that cannot do what it was asked, for a reason the person can act on ("The
// clipboard holds no image to paste."): its text is shown as it is.
class RefusedCommand : public std::runtime_error {
public:
    explicit RefusedCommand(const QString& reason)
        : std::runtime_error(reason.toStdString()), m_reason(reason) {}
    const QString& reason() const { return m_reason; }

private:
    QString m_reason;
};

// What a person reads when `command` stopped with `failure`. A file error already says which
// file and what is wrong with it, and is shown as it is, as is a refused command's reason; any
// other failure becomes a sentence that names the command and, once one was chosen, the file,
// instead of the library's own text.
QString failureMessage(const std::exception_ptr& failure, Command command,
                       const std::string& fileName, const QString& programName);

}  // namespace mosaikon
