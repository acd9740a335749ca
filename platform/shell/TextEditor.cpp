#include "platform/shell/TextEditor.h"

#include "platform/shell/Paths.h"
#include "platform/shell/ProgramStarter.h"

#include <QDir>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

#include <unistd.h>

namespace shell {

QString editorCommand()
{
    const QString fromEnvironment = qEnvironmentVariable(EditorVariable).trimmed();
    return fromEnvironment.isEmpty() ? QString::fromLatin1(DefaultEditorCommand) : fromEnvironment;
}

QStringList editorArguments(const QString& command, const QString& nativeFile, int line)
{
    const QString fileTag = QStringLiteral("{file}");
    const QString lineTag = QStringLiteral("{line}");
    const QString lineText = QString::number(line > 0 ? line : 1);
    QStringList words = QProcess::splitCommand(command);
    bool fileNamed = false;
    for (QString& word : words) {
        if (word.contains(fileTag)) {
            fileNamed = true;
            word.replace(fileTag, nativeFile);
        }
        word.replace(lineTag, lineText);
    }
    if (!fileNamed)
        words << nativeFile;
    return words;
}

bool openInEditor(const QString& path, int line)
{
    QStringList words = editorArguments(editorCommand(), nativePath(path), line);
    const QString program = words.takeFirst();
    return startProgram(program, words);
}

bool openTextInEditor(const QByteArray& text, const QString& fileName)
{
    const QString folder = QDir(QStandardPaths::writableLocation(QStandardPaths::TempLocation))
                               .filePath(QStringLiteral("quillar-%1").arg(getuid()));
    if (!QDir().mkpath(folder))
        return false;
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QSaveFile file(QDir(folder).filePath(fileName));
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        return false;
    return openInEditor(file.fileName());
}

} // namespace shell
