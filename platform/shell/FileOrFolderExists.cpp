#include "platform/shell/FileOrFolderExists.h"

#include "platform/shell/Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

bool isSeparator(QChar c)
{
    return c == QLatin1Char('\\') || c == QLatin1Char('/');
}

bool hasWildcards(const QString& text)
{
    return text.contains(QLatin1Char('*')) || text.contains(QLatin1Char('?'));
}

// "*" any run of characters, "?" any one; everything else literal, in any case.
QRegularExpression wildcardExpression(const QString& pattern)
{
    QString expression;
    for (QChar c : pattern) {
        if (c == QLatin1Char('*'))
            expression += QLatin1String(".*");
        else if (c == QLatin1Char('?'))
            expression += QLatin1Char('.');
        else
            expression += QRegularExpression::escape(QString(c));
    }
    return QRegularExpression(QRegularExpression::anchoredPattern(expression),
                              QRegularExpression::CaseInsensitiveOption);
}

bool wildcardMatches(const QString& pattern, const QString& name)
{
    if (wildcardExpression(pattern).match(name).hasMatch())
        return true;
    // "name.*" also matches a name without any extension ("*.*" matches every name).
    if (pattern.endsWith(QLatin1String(".*")))
        return wildcardExpression(pattern.chopped(2)).match(name).hasMatch();
    return false;
}

bool entriesMatch(QString path, bool foldersToo)
{
    if (path.contains(QChar(0)))
        return false;
    if (shell::namesUnknownDrive(path))
        return false;

    // Split into the folder and the last component, which alone may hold wildcards.
    qsizetype cut = path.size() - 1;
    while (cut >= 0 && !isSeparator(path.at(cut)))
        --cut;
    QString folder = path.left(cut + 1);
    QString last = path.mid(cut + 1);
    if (cut < 0 && path.size() >= 2 && path.at(1) == QLatin1Char(':')) {
        folder = path.left(2);
        last = path.mid(2);
    }
    if (hasWildcards(folder))
        return false;

    const QString nativeFolder = folder.isEmpty() ? QStringLiteral(".") : shell::nativePath(folder);
    const QFileInfo folderInfo(nativeFolder);
    if (!folderInfo.isDir())
        return false;

    if (last.isEmpty() || hasWildcards(last)) {
        const QString pattern = last.isEmpty() ? QStringLiteral("*") : last;
        QDir::Filters filters = QDir::Files | QDir::Hidden;
        if (foldersToo)
            filters |= QDir::Dirs; // "." and ".." included
        const QFileInfoList entries =
            QDir(folderInfo.absoluteFilePath()).entryInfoList(filters, QDir::NoSort);
        for (const QFileInfo& entry : entries) {
            if (wildcardMatches(pattern, entry.fileName()))
                return true;
        }
        return false;
    }

    const QFileInfo entry(shell::nativePath(path));
    return foldersToo ? entry.exists() : entry.isFile();
}

} // namespace

bool FileOrFolderExists(QString path, int32_t folderFlag)
{
    try {
        if (path.trimmed().isEmpty())
            return false;
        if (folderFlag > 0 && !path.endsWith(QLatin1Char('\\')))
            path += QLatin1Char('\\');
        return entriesMatch(path, folderFlag != 0);
    } catch (...) {
        // Whatever fails while looking counts as not there.
        return false;
    }
}
