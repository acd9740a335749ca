#pragma once

#include <QComboBox>
#include <QString>

// The drive list of the folder picker: one entry per drive of Drives.h, shown as
// "c: [/]", "d: [/media/data]". drive() is the lower-case letter and ":" ("c:").
namespace widgets {

class DriveList : public QComboBox
{
    Q_OBJECT

public:
    explicit DriveList(QWidget* parent = nullptr);

    // Reads the drives again (mounts come and go), keeping the chosen one when it is still there.
    void refresh();
    QString drive() const;
    // Takes the drive of the text's first character ("D", "d:", "D:\data"). A letter
    // that names no drive raises run-time error 68 (device unavailable); the list
    // stays where it was.
    void setDrive(const QString& text);

Q_SIGNALS:
    // The chosen drive changed, by the user or by setDrive.
    void driveChange();

private:
    int indexOfLetter(QChar letter) const;
    bool m_filling = false;
};

} // namespace widgets
