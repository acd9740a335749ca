#include "platform/widgets/FolderList.h"

#include "platform/basic/RuntimeError.h"
#include "platform/shell/DisplayPath.h"
#include "platform/shell/Drives.h"
#include "platform/shell/Paths.h"

#include <QDir>
#include <QHash>
#include <QStyle>

namespace widgets {

namespace {

constexpr int32_t DeviceUnavailable = 68;
constexpr int32_t PathNotFound = 76;
constexpr int PathRole = Qt::UserRole + 1;
constexpr int IndentPerLevel = 2;

// The folder last open on each drive, as the process keeps a current folder per drive.
QHash<QChar, QString>& lastFolderOfDrive()
{
    static QHash<QChar, QString> folders;
    return folders;
}

bool isDriveAlone(const QString& path)
{
    return path.size() >= 2 && path.at(0).isLetter() && path.at(1) == QLatin1Char(':') &&
           (path.size() == 2 || path.at(2) == QLatin1Char(' '));
}

} // namespace

FolderList::FolderList(QWidget* parent) : QListWidget(parent)
{
    connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        try {
            setPath(item->data(PathRole).toString());
        } catch (const basic::RuntimeError&) {
            fill(shell::nativePath(m_path)); // the folder went away: show what is there now
        }
    });
    setPath(QDir::currentPath());
}

void FolderList::setPath(const QString& path)
{
    QString wanted = path.trimmed();
    if (isDriveAlone(wanted)) {
        const QChar letter = wanted.at(0).toUpper();
        if (shell::driveType(QString(letter) + QLatin1Char(':')) == shell::DriveType::NoRootDir)
            throw basic::RuntimeError(DeviceUnavailable, QStringLiteral("Device unavailable"));
        wanted = lastFolderOfDrive().value(letter, QString(letter) + QStringLiteral(":\\"));
    }
    if (shell::namesUnknownDrive(wanted))
        throw basic::RuntimeError(DeviceUnavailable, QStringLiteral("Device unavailable"));
    const QString native = shell::nativePath(wanted);
    const QDir folder(native);
    if (native.isEmpty() || !folder.exists() || !folder.isReadable())
        throw basic::RuntimeError(PathNotFound, QStringLiteral("Path not found"));

    const QString shown = shell::displayPath(QDir::cleanPath(folder.absolutePath()));
    fill(QDir::cleanPath(folder.absolutePath()));
    lastFolderOfDrive().insert(shown.at(0).toUpper(), shown);
    if (shown != m_path) {
        m_path = shown;
        Q_EMIT change();
    }
}

void FolderList::fill(const QString& nativeFolder)
{
    clear();
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);

    // Ancestors: from the folder up to its drive's root.
    QStringList chain;
    const QString shown = shell::displayPath(nativeFolder);
    QString display = shown;
    while (true) {
        chain.prepend(display);
        const int cut = display.lastIndexOf(QLatin1Char('\\'));
        if (cut < 0 || display.size() <= 3) // "X:\" is the top
            break;
        display = cut == 2 ? display.left(3) : display.left(cut);
    }
    int level = 0;
    for (const QString& step : chain) {
        const QString name = step.size() <= 3 ? step : step.mid(step.lastIndexOf(QLatin1Char('\\')) + 1);
        auto* item =
            new QListWidgetItem(openIcon, QString(level * IndentPerLevel, QLatin1Char(' ')) + name, this);
        item->setData(PathRole, step);
        ++level;
    }
    const QStringList children =
        QDir(nativeFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    const QString prefix = shown.endsWith(QLatin1Char('\\')) ? shown : shown + QLatin1Char('\\');
    for (const QString& child : children) {
        auto* item =
            new QListWidgetItem(closedIcon, QString(level * IndentPerLevel, QLatin1Char(' ')) + child, this);
        item->setData(PathRole, prefix + child);
    }
    setCurrentRow(int(chain.size()) - 1);
}

} // namespace widgets
