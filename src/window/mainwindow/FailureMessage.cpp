#include "mainwindow/FailureMessage.h"

#include <QCoreApplication>
#include <new>

#include "FileError.h"
#include "platform/FileNames.h"

namespace mosaikon {

namespace {

class FailureTexts {
    Q_DECLARE_TR_FUNCTIONS(FailureMessage)

public:
    // The part after "<program> could not ": the command, with the file where it is known.
    static QString whatFailed(Command command, const QString& file) {
        const bool known = !file.isEmpty();
        switch (command) {
            case Command::OpenIcon:
                return known ? tr("open the icon file %1").arg(file) : tr("open an icon file");
            case Command::OpenBitmap:
                return known ? tr("open the bitmap file %1").arg(file) : tr("open a bitmap file");
            case Command::SaveIcon:
                return known ? tr("save the icon as %1").arg(file) : tr("save the icon");
            case Command::SaveBitmap:
                return known ? tr("save the magnified view as %1").arg(file)
                             : tr("save the magnified view");
            case Command::ExtractIcon:
                return known ? tr("take the icon out of %1").arg(file)
                             : tr("take the icon out of a program file");
            case Command::Unnamed:
                break;
        }
        return tr("complete the command");
    }

    static QString why(const std::exception_ptr& failure) {
        try {
            std::rethrow_exception(failure);
        } catch (const std::bad_alloc&) {
            return tr("there is not enough memory");
        } catch (...) {
            return tr("an unexpected error occurred");
        }
    }

    static QString sentence(const QString& program, const QString& what, const QString& why) {
        return tr("%1 could not %2: %3.").arg(program, what, why);
    }
};

}  // namespace

QString failureMessage(const std::exception_ptr& failure, Command command,
                       const std::string& fileName, const QString& programName) {
    try {
        std::rethrow_exception(failure);
    } catch (const FileError& error) {
        return fromFileName(error.what());  // it names the file
    } catch (const RefusedCommand& refusal) {
        return refusal.reason();
    } catch (...) {
    }
    const QString file = command == Command::Unnamed ? QString() : fromFileName(fileName);
    return FailureTexts::sentence(programName, FailureTexts::whatFailed(command, file),
                                  FailureTexts::why(failure));
}

}  // namespace mosaikon
