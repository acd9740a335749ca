#pragma once

#include <QListWidget>
#include <QString>

// The folder list of the folder picker: the open folder's ancestors from its drive's
// root down to it, then its sub-folders (by name, without regard to case; hidden
// ones, whose names start with ".", left out). Opening an entry (double-click or
// Enter) makes it the open folder. Paths are in the "X:\..." form, without a
// trailing "\" except for a drive root.
namespace widgets {

class FolderList : public QListWidget
{
    Q_OBJECT

public:
    // Opens the program's current folder.
    explicit FolderList(QWidget* parent = nullptr);

    QString path() const { return m_path; }
    // Opens a folder: "X:\..." (any case), a native path, or a drive alone ("d:",
    // "d: [/media/data]"), which opens the folder last open on that drive in this
    // program, else its root. A letter that names no drive raises run-time error 68,
    // a folder that does not exist or cannot be read error 76; the list stays as it was.
    void setPath(const QString& path);

Q_SIGNALS:
    // The open folder changed.
    void change();

private:
    void fill(const QString& nativeFolder);

    QString m_path;
};

} // namespace widgets
