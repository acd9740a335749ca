#include "platform/shell/TextEditor.h"

#include "platform/shell/Paths.h"
#include "platform/shell/ProgramStarter.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QProcess>

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

QString writeTextToTempFile(const QByteArray& text, const QString& fileName)
{
    // Made new in the temporary folder (never an existing file or link another user
    // left there), readable and writable by its owner only; kept after this program,
    // since the editor reads it later.
    const QFileInfo name(fileName);
    const QString pattern = name.completeBaseName() + QStringLiteral("-XXXXXX") +
                            (name.suffix().isEmpty() ? QString() : QStringLiteral(".") + name.suffix());
    QTemporaryFile file(QDir(QDir::tempPath()).filePath(pattern));
    file.setAutoRemove(false);
    if (!file.open())
        return {};
    if (file.write(text) != text.size() || !file.flush()) {
        file.remove();
        return {};
    }
    file.close();
    return file.fileName();
}

bool openTextInEditor(const QByteArray& text, const QString& fileName)
{
    const QString path = writeTextToTempFile(text, fileName);
    return !path.isEmpty() && openInEditor(path);
}

} // namespace shell
