#include "app/mainwindow/ImportLogFile.h"

#include "platform/forms/MessageService.h"
#include "platform/shell/TextEditor.h"

#include <QDir>

namespace mainwindow {

QString writeImportLogFile(const QString& logText)
{
    return shell::writeTextToTempFile(logText.toUtf8(), QStringLiteral("quillar-import-log.txt"));
}

bool openImportLogInEditor(const QString& logText)
{
    const QString path = writeImportLogFile(logText);
    if (path.isEmpty()) {
        forms::MsgBox(QStringLiteral("Unable to write the import log to a file in ") + QDir::tempPath() +
                          QStringLiteral("."),
                      forms::Exclamation);
        return false;
    }
    if (!shell::openInEditor(path)) {
        forms::MsgBox(QStringLiteral("Unable to start the text editor for the import log ") + path +
                          QStringLiteral("."),
                      forms::Exclamation);
        return false;
    }
    return true;
}

} // namespace mainwindow
