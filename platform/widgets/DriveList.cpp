#include "platform/widgets/DriveList.h"

#include "platform/basic/RuntimeError.h"
#include "platform/shell/Drives.h"

namespace widgets {

namespace {

constexpr int32_t DeviceUnavailable = 68;

} // namespace

DriveList::DriveList(QWidget* parent) : QComboBox(parent)
{
    refresh();
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling)
            Q_EMIT driveChange();
    });
}

void DriveList::refresh()
{
    const QString chosen = drive();
    m_filling = true;
    clear();
    for (const shell::Drive& d : shell::logicalDrives())
        addItem(QStringLiteral("%1: [%2]").arg(d.letter.toLower(), d.mountPoint), QString(d.letter));
    const int keep = chosen.isEmpty() ? 0 : indexOfLetter(chosen.at(0));
    setCurrentIndex(keep < 0 ? 0 : keep);
    m_filling = false;
}

QString DriveList::drive() const
{
    const QString letter = currentData().toString();
    return letter.isEmpty() ? QString() : letter.toLower() + QLatin1Char(':');
}

int DriveList::indexOfLetter(QChar letter) const
{
    return findData(QString(letter.toUpper()));
}

void DriveList::setDrive(const QString& text)
{
    const int index = text.isEmpty() ? -1 : indexOfLetter(text.at(0));
    if (index < 0)
        throw basic::RuntimeError(DeviceUnavailable, QStringLiteral("Device unavailable"));
    setCurrentIndex(index);
}

} // namespace widgets
