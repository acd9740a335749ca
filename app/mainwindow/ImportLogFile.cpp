#include "app/mainwindow/ImportLogFile.h"

#include "app/mainwindow/ReadOnlyFileViewer.h"

#include "platform/forms/MessageService.h"
#include "platform/shell/TextEditor.h"

#include <QDir>
#include <QFile>

namespace mainwindow {

QString writeImportLogFile(const QString& logText)
{
    return shell::writeTextToTempFile(logText.toUtf8(), QStringLiteral("quillar-import-log.txt"));
}

bool openImportLogInEditor(const QString& logText, QWidget* owner)
{
    const QString path = writeImportLogFile(logText);
    if (path.isEmpty()) {
        forms::MsgBox(QStringLiteral("Unable to write the import log to a file in ") + QDir::tempPath() +
                          QStringLiteral("."),
                      forms::Exclamation);
        return false;
    }
    if (shell::openInEditor(path))
        return true;
    // Nothing will read the copy: it goes, and the log is shown here instead.
    QFile::remove(path);
    ReadOnlyFileViewer::showText(QStringLiteral("Import Log"), logText, owner);
    return false;
}

} // namespace mainwindow
