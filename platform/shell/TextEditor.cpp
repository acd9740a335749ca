#include "platform/shell/TextEditor.h"

#include "platform/shell/Paths.h"
#include "platform/shell/ProgramStarter.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QProcess>

#include <algorithm>

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
        // One pass over the template's word: what is put in (a path holding
        // "{line}") is never read as a tag again.
        QString out;
        qsizetype from = 0;
        for (;;) {
            const qsizetype file = word.indexOf(fileTag, from);
            const qsizetype at = word.indexOf(lineTag, from);
            const qsizetype next = file < 0 ? at : at < 0 ? file : std::min(file, at);
            if (next < 0)
                break;
            out += QStringView(word).mid(from, next - from);
            if (next == file) {
                fileNamed = true;
                out += nativeFile;
            } else {
                out += lineText;
            }
            from = next + fileTag.size(); // both tags are six characters
        }
        out += QStringView(word).mid(from);
        word = out;
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
