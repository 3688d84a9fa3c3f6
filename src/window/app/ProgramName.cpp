#include "app/ProgramName.h"

#include <QCoreApplication>

namespace mosaikon {

void nameProgram() { QCoreApplication::setApplicationName(QStringLiteral("Mosaikon")); }

}  // namespace mosaikon
