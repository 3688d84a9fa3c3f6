// The system calls of the window on Windows.
#include <QFileInfo>
#include <QProcess>
#include <QUrl>
#include <stdexcept>

#include "platform/FileNames.h"
#include "platform/NativeCalls.h"

namespace mosaikon {

// The file layer takes UTF-8 names and widens them itself.
std::string toFileName(const QString& name) { return name.toStdString(); }

QString fromFileName(const std::string& name) { return QString::fromStdString(name); }

// Windows names are text, which Qt decodes from the URL whole.
std::string fileNameOfUrl(const QUrl& url) { return toFileName(url.toLocalFile()); }

bool startWithNativeArguments(const QString& program, const QString& arguments) {
    if (program.isEmpty() || !QFileInfo(program).isFile()) {
        return false;
    }
    QProcess process;
    process.setProgram(program);
    process.setNativeArguments(arguments);
    if (!process.startDetached()) {
        throw std::runtime_error("The file explorer could not be started.");
    }
    return true;
}

}  // namespace mosaikon
