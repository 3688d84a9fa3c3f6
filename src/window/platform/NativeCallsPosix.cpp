// The system calls of the window on POSIX systems.
#include <QByteArray>
#include <QFile>
#include <QUrl>

#include "platform/FileNames.h"
#include "platform/NativeCalls.h"

namespace mosaikon {

// Names are the bytes the system stores, in the locale's encoding.
std::string toFileName(const QString& name) { return QFile::encodeName(name).toStdString(); }

QString fromFileName(const std::string& name) {
    return QFile::decodeName(QByteArray::fromStdString(name));
}

std::string fileNameOfUrl(const QUrl& url) {
    if (!url.host().isEmpty()) {
        return toFileName(url.toLocalFile());  // a name on another machine, as Qt spells it
    }
    // The encoded path keeps the bytes that are no UTF-8 as %XX, which decode to those bytes.
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
}

// There is no file explorer to hand a command line to; the caller opens the address itself.
bool startWithNativeArguments(const QString& /*program*/, const QString& /*arguments*/) {
    return false;
}

}  // namespace mosaikon
