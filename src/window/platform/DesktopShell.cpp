#include "platform/DesktopShell.h"

#include <QDesktopServices>
#include <QUrl>
#include <stdexcept>

#include "platform/NativeCalls.h"

namespace mosaikon {

std::string DesktopShell::Environ(const std::string& name) {
    return qEnvironmentVariable(name.c_str()).toStdString();
}

void DesktopShell::start(const std::string& commandLine, int /*windowStyle*/) {
    const std::string address = quotedAddress(commandLine);
    const std::size_t programEnd = commandLine.rfind(" \"");
    const QString program = QString::fromStdString(
        commandLine.substr(0, programEnd == std::string::npos ? 0 : programEnd));
    if (programEnd != std::string::npos &&
        startWithNativeArguments(program,
                                 QString::fromStdString(commandLine.substr(programEnd + 1)))) {
        return;
    }
    const QUrl url(QString::fromStdString(address), QUrl::StrictMode);
    if (!url.isValid() || url.isRelative() || !QDesktopServices::openUrl(url)) {
        throw std::runtime_error("The web page could not be opened.");
    }
}

}  // namespace mosaikon
