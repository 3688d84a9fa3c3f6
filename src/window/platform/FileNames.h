#pragma once

#include <QString>
#include <string>

class QUrl;

namespace mosaikon {

// File names cross between the window and the file layer here and nowhere else. The file layer
// keeps a name as the bytes the system stores (UTF-8 on Windows, which it widens itself), so
// every name it is given opens and saves unchanged; the window shows such bytes as text.
std::string toFileName(const QString& name);
// Meant for showing only: bytes that are no text in the system's encoding show as replacement
// characters, so the text cannot serve to name the file again.
QString fromFileName(const std::string& name);
// The name a local `file:` URL stands for, as the system's bytes: on POSIX systems its
// percent-encoded path decoded byte for byte, so a name that is no valid text (a drop from a file
// manager of a name in another encoding) names the same file as it does on the command line.
std::string fileNameOfUrl(const QUrl& url);

}  // namespace mosaikon
