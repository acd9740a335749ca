#include "bench/stageone/GenerateImportFile.h"

#include <QFile>

void generateImportFile(const QString& path, int32_t lines, int32_t customers)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    for (int32_t i = 0; i < lines; ++i) {
        const int32_t document = i / 20;
        const QByteArray line = "I,CUST" + QByteArray::number(document % customers).rightJustified(5, '0') +
                                ",10/12/2026," + QByteArray::number(100000 + document) + "\r\n";
        f.write(line);
    }
}

void generateLayout(const QString& folder)
{
    QFile column(folder + QStringLiteral("/qfm.cfg"));
    if (!column.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write the layout");
    column.write("Transaction Type\r\nAccount Reference\r\nTransaction Date\r\nOrder Number\r\n");
    for (int i = 4; i < 54; ++i)
        column.write("\r\n");
    QFile group(folder + QStringLiteral("/qfm2.cfg"));
    if (!group.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write the grouping file");
    group.write("Account Reference\r\nOrder Number\r\n\r\n\r\n");
}
