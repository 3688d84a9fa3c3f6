// The system calls of the window on POSIX systems.
#include <QByteArray>
#include <QFile>

#include "platform/FileNames.h"
#include "platform/NativeCalls.h"

namespace mosaikon {

// Names are the bytes the system stores, in the locale's encoding.
std::string toFileName(const QString& name) { return QFile::encodeName(name).toStdString(); }

QString fromFileName(const std::string& name) {
    return QFile::decodeName(QByteArray::fromStdString(name));
}

// There is no file explorer to hand a command line to; the caller opens the address itself.
bool startWithNativeArguments(const QString& /*program*/, const QString& /*arguments*/) {
    return false;
}

}  // namespace mosaikon
