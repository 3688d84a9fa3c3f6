#include "platform/FileNames.h"

#include <QByteArray>
#include <QFile>

namespace mosaikon {

std::string toFileName(const QString& name) {
#ifdef _WIN32
    return name.toStdString();
#else
    return QFile::encodeName(name).toStdString();
#endif
}

QString fromFileName(const std::string& name) {
#ifdef _WIN32
    return QString::fromStdString(name);
#else
    return QFile::decodeName(QByteArray::fromStdString(name));
#endif
}

}  // namespace mosaikon
