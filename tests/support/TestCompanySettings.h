#pragma once

#include "platform/settings/SettingsStore.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

namespace testsupport {

// Every setting at its default, then the settings that point the import at
// `company` (user MANAGER, password "secret", version 23.0) and at a fresh
// configuration folder `config` holding a layout of `columns` grouped by
// account: what the window and session tests start from.
inline void writeCompanySettings(const QString& company, const QString& companyName, const QString& config,
                                 const QStringList& columns)
{
    for (const auto& key : settings::knownKeys())
        settings::writeSetting(QLatin1String(key.key), QLatin1String(key.defaultValue));
    QDir().mkpath(config);
    settings::writeSetting(QStringLiteral("pellmoorconfigdir"), config);
    settings::writeSetting(QStringLiteral("VorlenDataPath"), company);
    settings::writeSetting(QStringLiteral("VorlenUsername"), QStringLiteral("MANAGER"));
    settings::writeSetting(QStringLiteral("VorlenPassword"), QStringLiteral("secret"));
    settings::writeSetting(QStringLiteral("VorlenVersion"), QStringLiteral("23.0"));
    settings::writeSetting(QStringLiteral("VorlenCompanyName"), companyName);

    QByteArray layout;
    for (int i = 0; i < 54; ++i)
        layout += (i < columns.size() ? columns.at(i).toLatin1() : QByteArray()) + "\r\n";
    QFile qfm(config + QStringLiteral("/qfm.cfg"));
    if (qfm.open(QIODevice::WriteOnly))
        qfm.write(layout);
    QFile qfm2(config + QStringLiteral("/qfm2.cfg"));
    if (qfm2.open(QIODevice::WriteOnly))
        qfm2.write("Account Reference\r\n\r\n\r\n\r\n");
}

} // namespace testsupport
