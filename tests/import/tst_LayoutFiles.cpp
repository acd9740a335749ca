#include "app/import/LayoutFiles.h"

#include "platform/basic/RuntimeError.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using importer::ColumnTable;
using importer::GroupTitles;
using importer::LayoutFiles;

namespace {

QString writeTemp(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return {};
    f.write(bytes);
    return path;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestLayoutFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void slotTable()
    {
        QCOMPARE(importer::layoutSlots().size(), size_t(54));
        QCOMPARE(importer::slotTitle(1), QStringLiteral("Transaction Type"));
        QCOMPARE(importer::slotTitle(54), QStringLiteral("Net Value Discount Description"));
        QCOMPARE(importer::slotOfTitle(QStringLiteral("Global-Tax Code")), 39);
        QCOMPARE(importer::slotOfTitle(QStringLiteral("quantity")), 0);
        for (int s = 1; s <= 54; ++s)
            QCOMPARE(importer::layoutSlots()[size_t(s - 1)].slot, s);
        for (int s : {25, 26, 27, 28, 47, 48, 49, 50, 51, 52, 53, 54})
            QVERIFY(!importer::layoutSlots()[size_t(s - 1)].groups);
    }

    void readColumnLayout_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QList<int>>("slotColumns"); // pairs: slot, column
        QTest::addColumn<int>("lastCol");
        QTest::addColumn<bool>("taxCode");

        QTest::addRow("titles on lines 3 and 7")
            << QByteArray("\r\n\r\nTransaction Date\r\n\r\n\r\n\r\nQuantity\r\n\r\n\r\n")
            << QList<int>{3, 3, 11, 7} << 7 << false;
        QTest::addRow("blanks around a title match")
            << QByteArray("  Quantity  \r\n") << QList<int>{11, 1} << 1 << false;
        QTest::addRow("case counts") << QByteArray("quantity\r\n") << QList<int>{11, 0} << 0 << false;
        QTest::addRow("unrecognised title still takes its column")
            << QByteArray("Account Reference\r\nNo Such Field\r\nOrder Number\r\n") << QList<int>{2, 1, 4, 3}
            << 3 << false;
        QTest::addRow("title twice, later position wins")
            << QByteArray("\r\n\r\n\r\nQuantity\r\n\r\n\r\n\r\n\r\nQuantity\r\n") << QList<int>{11, 9} << 9
            << false;
        QTest::addRow("trailing empty lines do not move LastCol")
            << QByteArray("Account Reference\r\n\r\n\r\n\r\n") << QList<int>{2, 1} << 1 << false;
        QTest::addRow("Global-Tax Code sets the tax flag")
            << QByteArray("Account Reference\r\nGlobal-Tax Code\r\n") << QList<int>{39, 2} << 2 << true;
        QTest::addRow("hand-made commas are several columns")
            << QByteArray("Account Reference,Order Number\r\n") << QList<int>{2, 1, 4, 2} << 2 << false;
        QTest::addRow("quoted item may hold a comma")
            << QByteArray("\"Account Reference\"\r\nOrder Number\r\n") << QList<int>{2, 1, 4, 2} << 2
            << false;
        QTest::addRow("no file content, no layout") << QByteArray() << QList<int>{2, 0} << 0 << false;

        QByteArray sixty;
        for (int i = 1; i <= 60; ++i)
            sixty += (i == 2    ? QByteArray("Account Reference")
                      : i == 58 ? QByteArray("Quantity")
                                : QByteArray()) +
                     "\r\n";
        QTest::addRow("60 items: a title past column 54 is ignored")
            << sixty << QList<int>{2, 2, 11, 0} << 2 << false;
    }

    void readColumnLayout()
    {
        QFETCH(QByteArray, file);
        QFETCH(QList<int>, slotColumns);
        QFETCH(int, lastCol);
        QFETCH(bool, taxCode);
        QTemporaryDir dir;
        const auto layout = LayoutFiles::readColumnLayout(writeTemp(dir, QStringLiteral("qfm.cfg"), file));
        for (int i = 0; i + 1 < slotColumns.size(); i += 2)
            QCOMPARE(int(layout.colPos[size_t(slotColumns[i])]), slotColumns[i + 1]);
        QCOMPARE(int(layout.lastCol), lastCol);
        QCOMPARE(layout.taxCodeMapped, taxCode);
        QCOMPARE(int(layout.colPos[0]), 0);
    }

    void missingFilesRaiseFileNotFound()
    {
        QTemporaryDir dir;
        for (const auto& read : {+[](const QString& p) { LayoutFiles::readColumnLayout(p); },
                                 +[](const QString& p) { LayoutFiles::readGroupTitles(p); }}) {
            try {
                read(dir.filePath(QStringLiteral("missing.cfg")));
                QFAIL("no error raised");
            } catch (const basic::RuntimeError& e) {
                QCOMPARE(e.number(), basic::err::FileNotFound);
            }
        }
    }

    void readGroupTitles()
    {
        QTemporaryDir dir;
        QVERIFY(!LayoutFiles::readGroupTitles(writeTemp(dir, QStringLiteral("empty.cfg"), {})).has_value());

        const auto titles = LayoutFiles::readGroupTitles(
            writeTemp(dir, QStringLiteral("one.cfg"), "  Account Reference \r\n\r\n\r\n\r\n"));
        QVERIFY(titles.has_value());
        QCOMPARE((*titles)[0], QStringLiteral("Account Reference"));
        QCOMPARE((*titles)[3], QString());

        try {
            LayoutFiles::readGroupTitles(
                writeTemp(dir, QStringLiteral("two.cfg"), "Account Reference\r\n\r\n"));
            QFAIL("a grouping file of two items must not read as four");
        } catch (const basic::RuntimeError& e) {
            QCOMPARE(e.number(), basic::err::InputPastEndOfFile);
        }
    }

    void buildGroupSpec_data()
    {
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QString>("groupSpec");
        QTest::addRow("two titles") << QStringList{"Account Reference", "Order Number", "", ""} << "2+4";
        QTest::addRow("order kept") << QStringList{"Order Number", "Account Reference", "", ""} << "4+2";
        QTest::addRow("empty first title skipped") << QStringList{"", "Order Number", "", ""} << "4";
        QTest::addRow("non-grouping slot ignored") << QStringList{"Unit Discount Price", "", "", ""} << "";
        QTest::addRow("unknown text ignored") << QStringList{"Customer", "Order Number", "", ""} << "4";
        QTest::addRow("title not in the layout adds column 0")
            << QStringList{"Account Reference", "Notes 3", "", ""} << "2+0";
        QTest::addRow("four two-digit columns") << QStringList{"Details Line 1", "Delivery Address 5",
                                                               "Consignment Reference", "Line Information"}
                                                << "12+23+34+45";
        QTest::addRow("no titles") << QStringList{"", "", "", ""} << "";
    }

    void buildGroupSpec()
    {
        QFETCH(QStringList, titles);
        QFETCH(QString, groupSpec);
        ColumnTable col{};
        col[2] = 2;
        col[4] = 4;
        col[13] = 12;
        col[24] = 23;
        col[34] = 34;
        col[45] = 45;
        col[27] = 5;
        GroupTitles g;
        for (int i = 0; i < 4; ++i)
            g[size_t(i)] = titles.at(i);
        QCOMPARE(LayoutFiles::buildGroupSpec(g, col), groupSpec);
    }

    void pathsJoinWithBackslash()
    {
        QCOMPARE(LayoutFiles::columnFilePath(QStringLiteral("C:\\cfg")), QStringLiteral("C:\\cfg\\qfm.cfg"));
        QCOMPARE(LayoutFiles::groupFilePath(QStringLiteral("C:\\cfg"), QStringLiteral(" ACME ")),
                 QStringLiteral("C:\\cfg\\ACMEqfm2.cfg"));
        QCOMPARE(LayoutFiles::columnFilePath(QString()), QStringLiteral("\\qfm.cfg"));
        QCOMPARE(LayoutFiles::columnFilePath(QStringLiteral("C:\\cfg\\")),
                 QStringLiteral("C:\\cfg\\\\qfm.cfg"));
    }

    void writeThenRead_data()
    {
        QTest::addColumn<QString>("templateName");
        QTest::addColumn<QString>("columnFile");
        QTest::addColumn<QString>("groupFile");
        QTest::addRow("layout") << QString() << "qfm.cfg"
                                << "qfm2.cfg";
        QTest::addRow("template name trimmed") << " ACME "
                                               << "ACMEqfm.cfg"
                                               << "ACMEqfm2.cfg";
    }

    void writeThenRead()
    {
        QFETCH(QString, templateName);
        QFETCH(QString, columnFile);
        QFETCH(QString, groupFile);
        QTemporaryDir dir;
        std::array<QString, 54> columns;
        columns[0] = QStringLiteral("Transaction Type");
        columns[1] = QStringLiteral("Account Reference");
        columns[3] = QStringLiteral("Own Title");
        GroupTitles groups{QStringLiteral("Account Reference"), QString(), QString(), QString()};
        LayoutFiles::write(dir.path(), columns, groups, templateName);

        QByteArray expected = "Transaction Type\r\nAccount Reference\r\n\r\nOwn Title\r\n";
        for (int i = 4; i < 54; ++i)
            expected += "\r\n";
        QCOMPARE(readAll(dir.filePath(columnFile)), expected);
        QCOMPARE(readAll(dir.filePath(groupFile)), QByteArray("Account Reference\r\n\r\n\r\n\r\n"));

        const auto read = LayoutFiles::readForEditor(dir.path(), templateName);
        QCOMPARE(read.columns, columns);
        QCOMPARE(read.groups, groups);

        const auto layout =
            LayoutFiles::readColumnLayout(LayoutFiles::columnFilePath(dir.path(), templateName));
        QCOMPARE(int(layout.colPos[2]), 2);
        QCOMPARE(int(layout.lastCol), 2);
    }

    void editorReadsShortAndLongFiles()
    {
        QTemporaryDir dir;
        QByteArray sixty;
        for (int i = 1; i <= 60; ++i)
            sixty += "T" + QByteArray::number(i) + "\r\n";
        writeTemp(dir, QStringLiteral("qfm.cfg"), sixty);
        writeTemp(dir, QStringLiteral("qfm2.cfg"), "Account Reference\r\n");
        const auto read = LayoutFiles::readForEditor(dir.path());
        QCOMPARE(read.columns[53], QStringLiteral("T54"));
        QCOMPARE(read.groups[0], QStringLiteral("Account Reference"));
        QCOMPARE(read.groups[1], QString());
    }
};

int runLayoutFilesTests(int argc, char** argv)
{
    TestLayoutFiles t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_LayoutFiles.moc"
