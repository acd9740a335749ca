#include "bench/common/ImportBench.h"

#include "bench/common/BenchCompany.h"
#include "bench/common/BenchImportFile.h"

#include "platform/settings/SettingsStore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <cstdio>

namespace bench {

PrivateHives::PrivateHives()
{
    if (!dir.isValid())
        qFatal("no temporary folder");
    qputenv("QUILLAR_MACHINE_HIVE", QFile::encodeName(dir.filePath(QStringLiteral("machine.hive"))));
    qputenv("QUILLAR_USER_HIVE", QFile::encodeName(dir.filePath(QStringLiteral("user.hive"))));
}

ImportBench::ImportBench(int customers_, int products_)
    : context(window, log, errors, settingsForm), companyFolder(hives.dir.filePath(QStringLiteral("Bench"))),
      customers(customers_), products(products_)
{
    QElapsedTimer timer;
    timer.start();
    buildCompany(companyFolder, customers, products);
    std::printf("company of %d customers and %d products built in %.0f ms\n", customers, products,
                double(timer.nsecsElapsed()) / 1e6);
    registerEngine(context.programFolder, QStringLiteral("vlvdoengine230.dll"));
    // Registered once above; a detached regsvr at every connect would write the
    // hive while the stages read it.
    context.startCommand = [](const QString&, const QStringList&) {};

    const QString config = hives.dir.filePath(QStringLiteral("config"));
    QDir().mkpath(config);
    writeLayout(config);
    const auto set = [](const char* key, const QString& value) {
        if (!settings::writeSetting(QString::fromLatin1(key), value))
            qFatal("cannot write the setting %s", key);
    };
    set("pellmoorconfigdir", config);
    set("VorlenDataPath", companyFolder);
    set("VorlenUsername", QStringLiteral("MANAGER"));
    set("VorlenPassword", QString());
    set("CheckFileFormat", QStringLiteral("1")); // every line's commas counted too

    window.corvelVersion = QStringLiteral("V23");
    settingsForm.datapath = companyFolder;
    settingsForm.companyName = QStringLiteral("Bench Co");
}

QString ImportBench::writeImportFile(int documents, int linesPerDocument)
{
    const QString path = hives.dir.filePath(QStringLiteral("bench.csv"));
    bench::writeImportFile(path, documents, linesPerDocument, customers, products);
    window.importFile = path;
    return path;
}

QString ImportBench::problems()
{
    QString text;
    for (const auto& box : boxes.service().shown())
        text += QStringLiteral("message box: ") + box.text + QLatin1Char('\n');
    for (size_t i = 0; i < errors.rows.size() && i < 5; ++i)
        text += QStringLiteral("error: ") + errors.rows[i].description + QLatin1Char('\n');
    if (!log.text.isEmpty())
        text += QStringLiteral("import log: ") + log.text.left(600) + QLatin1Char('\n');
    return text;
}

} // namespace bench
