#include "app/mainwindow/ImportLogFile.h"

#include "platform/forms/MessageService.h"
#include "platform/shell/TextEditor.h"

#include <QDir>
#include <QTemporaryFile>

namespace mainwindow {

QString writeImportLogFile(const QString& logText)
{
    // A temporary file is created new (never an existing file or link) and
    // readable and writable by its owner only.
    QTemporaryFile file(QDir(QDir::tempPath()).filePath(QStringLiteral("quillar-import-log-XXXXXX.txt")));
    file.setAutoRemove(false);
    if (!file.open())
        return {};
    const QByteArray bytes = logText.toUtf8();
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.remove();
        return {};
    }
    file.close();
    return file.fileName();
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
