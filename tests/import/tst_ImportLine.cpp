#include "tests/import/ImportHarness.h"

#include "app/import/ErrorEntries.h"
#include "app/import/ImportLine.h"
#include "app/import/ImportMessages.h"

#include "platform/basic/RuntimeError.h"
#include "platform/forms/MessageService.h"

#include <QTest>

using importer::LineFieldArray;

class TestImportLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void split_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("fields"); // fields 1.. (the rest must be empty)
        QTest::addRow("empty middle field") << "I,C001,,10" << QStringList{"I", "C001", "", "10"};
        QTest::addRow("quotes dropped anywhere") << "AB\"C,\"x\"" << QStringList{"ABC", "x"};
        QTest::addRow("quotes do not protect a comma") << "\"A,B\",C" << QStringList{"A", "B", "C"};
        QTest::addRow("blanks only becomes empty, inner blanks stay")
            << "   ,  a b  " << QStringList{"", "a b"};
        QTest::addRow("tabs stay") << "\ta\t" << QStringList{"\ta\t"};
        QTest::addRow("trailing comma adds an empty field") << "a," << QStringList{"a", ""};
        QTest::addRow("no comma is one field") << "abc" << QStringList{"abc"};
        QTest::addRow("empty line") << "" << QStringList{""};
    }

    void split()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, fields);
        LineFieldArray out;
        out[7] = QStringLiteral("stale");
        importer::splitImportLine(line, out);
        QCOMPARE(out[0], QString());
        for (int i = 1; i <= 54; ++i)
            QCOMPARE(out[size_t(i)], i <= fields.size() ? fields.at(i - 1) : QString());
    }

    // The fields of one line are written over by the next: a copy taken of a field
    // keeps its text, and a shorter line leaves no field of the longer one behind.
    void nextLineLeavesCopiesAlone()
    {
        LineFieldArray out;
        importer::splitImportLine(QStringLiteral("ALPHA, BETA ,GAMMA"), out);
        const QString held = out[1];
        importer::splitImportLine(QStringLiteral("XY,  "), out);
        QCOMPARE(held, QStringLiteral("ALPHA"));
        QCOMPARE(out[1], QStringLiteral("XY"));
        QCOMPARE(out[2], QString());
        QCOMPARE(out[3], QString());
        importer::splitImportLine(QStringLiteral("LONGER TEXT,Z"), out);
        QCOMPARE(out[1], QStringLiteral("LONGER TEXT"));
        QCOMPARE(out[2], QStringLiteral("Z"));
        QCOMPARE(held, QStringLiteral("ALPHA"));
    }

    void fieldsPast54AreDropped()
    {
        QStringList parts;
        for (int i = 1; i <= 60; ++i)
            parts << QString::number(i);
        LineFieldArray out;
        importer::splitImportLine(parts.join(QLatin1Char(',')), out);
        QCOMPARE(out[54], QStringLiteral("54"));
        QCOMPARE(importer::countCommas(parts.join(QLatin1Char(','))), 59);
    }

    void countCommas()
    {
        QCOMPARE(importer::countCommas(QStringLiteral("\"a,b\",c")), 2);
        QCOMPARE(importer::countCommas(QString()), 0);
    }

    void groupKeys_data()
    {
        QTest::addColumn<QString>("groupSpec");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("compareKey");
        QTest::addRow("2+4") << "2+4"
                             << "I,C001,x,5001"
                             << "C0015001"
                             << "C001,5001";
        QTest::addRow("4+2") << "4+2"
                             << "x,A,x,B"
                             << "BA"
                             << "B,A";
        QTest::addRow("single column") << "3"
                                       << "a,b,c"
                                       << "c"
                                       << "c";
        QTest::addRow("column 0 adds nothing") << "2+0"
                                               << "a,b"
                                               << "b"
                                               << "b,";
        QTest::addRow("four two-digit columns")
            << "12+23+34+45" << QStringList(QList<QString>(45, QStringLiteral("v"))).join(QLatin1Char(','))
            << "vvvv"
            << "v,v,v,v";
    }

    void groupKeys()
    {
        QFETCH(QString, groupSpec);
        QFETCH(QString, line);
        QFETCH(QString, key);
        QFETCH(QString, compareKey);
        ImportHarness h;
        h.context.state.layout.GroupSpec = groupSpec;
        importer::splitImportLine(line, h.context.state.line.LineFields);
        QString built = QStringLiteral("old");
        importer::BuildGroupKey(h.context, built);
        QCOMPARE(built, key);
        QString appended = QStringLiteral("x");
        importer::AppendGroupKey(h.context, appended);
        QCOMPARE(appended, QStringLiteral("x") + key);
        QCOMPARE(importer::groupCompareKey(h.context), compareKey);
    }

    void splitValuesKeepDocumentsApart()
    {
        ImportHarness h;
        h.context.state.layout.GroupSpec = QStringLiteral("1+2");
        importer::splitImportLine(QStringLiteral("AB,C"), h.context.state.line.LineFields);
        QString first;
        importer::BuildGroupKey(h.context, first);
        const QString firstCompare = importer::groupCompareKey(h.context);
        importer::splitImportLine(QStringLiteral("A,BC"), h.context.state.line.LineFields);
        QString second;
        importer::BuildGroupKey(h.context, second);
        QCOMPARE(first, second); // the shown key stays the joined values
        QVERIFY(firstCompare != importer::groupCompareKey(h.context));
    }

    void badGroupSpecIsTypeMismatch_data()
    {
        QTest::addColumn<QString>("groupSpec");
        QTest::addRow("empty") << "";
        QTest::addRow("trailing plus") << "2+";
    }

    void badGroupSpecIsTypeMismatch()
    {
        QFETCH(QString, groupSpec);
        ImportHarness h;
        h.context.state.layout.GroupSpec = groupSpec;
        QString key;
        try {
            importer::BuildGroupKey(h.context, key);
            QFAIL("no error raised");
        } catch (const basic::RuntimeError& e) {
            QCOMPARE(e.number(), basic::err::TypeMismatch);
        }
    }

    void errorEntries()
    {
        ImportHarness h;
        importer::recordError(h.context, QStringLiteral("first"), 1, 2, QStringLiteral("v1"));
        importer::recordError(h.context, QStringLiteral("second"), 0, 0);
        importer::recordError(h.context, QStringLiteral("third"), 7, 3, QStringLiteral("v3"));
        QCOMPARE(h.log.text, QStringLiteral("first\r\nsecond\r\nthird\r\n"));
        QCOMPARE(h.errors.rows.size(), size_t(3));
        QCOMPARE(h.errors.rows[0].description, QStringLiteral("first"));
        QCOMPARE(h.errors.rows[1].lineNo, QStringLiteral("0"));
        QCOMPARE(h.errors.rows[1].column, QStringLiteral("0"));
        QCOMPARE(h.errors.rows[2].value, QStringLiteral("v3"));
        QCOMPARE(h.context.state.pass.ErrCount, 3);
        QVERIFY(h.context.state.batch.BatchErrors.empty());
    }

    void batchEntryText()
    {
        ImportHarness h;
        h.context.state.batch.BatchRunning = true;
        importer::recordError(h.context, QStringLiteral("Bad value"), 5, 2);
        QCOMPARE(h.context.state.batch.BatchErrors,
                 std::vector<QString>{QStringLiteral("Bad value  row 5 Column 2")});
    }

    // The error file holds one entry per line: a message with a line break in it
    // must not split its entry.
    void batchEntryKeepsOneLine()
    {
        ImportHarness h;
        h.context.state.batch.BatchRunning = true;
        importer::recordError(h.context, QStringLiteral("Too long\r\n"), 3, 4);
        importer::addBatchError(h.context.state.batch, QStringLiteral("a\nb\rc"));
        QCOMPARE(h.context.state.batch.BatchErrors,
                 (std::vector<QString>{QStringLiteral("Too long  row 3 Column 4"), QStringLiteral("abc")}));
        QCOMPARE(h.log.text, QStringLiteral("Too long\r\n\r\n"));
    }

    void errorCounterIsWide()
    {
        ImportHarness h;
        h.context.state.pass.ErrCount = 40000;
        h.errors.rows.resize(40000);
        importer::recordError(h.context, QStringLiteral("e"), 32000, 1);
        QCOMPARE(h.context.state.pass.ErrCount, 40001);
        QCOMPARE(h.errors.rows.back().description, QStringLiteral("e"));
    }

    void messagePath_data()
    {
        QTest::addColumn<bool>("batch");
        QTest::addRow("interactive") << false;
        QTest::addRow("batch") << true;
    }

    void messagePath()
    {
        QFETCH(bool, batch);
        forms::ScopedScriptedMessages boxes;
        ImportHarness h;
        h.context.state.batch.BatchRunning = batch;
        const auto answer =
            importer::importMessage(h.context, QStringLiteral("Proceed?"),
                                    forms::YesNo | forms::DefaultButton2, QStringLiteral("Confirm"));
        if (batch) {
            QCOMPARE(answer, forms::AnswerNo);
            QVERIFY(boxes.service().shown().empty());
            QCOMPARE(h.context.state.batch.BatchErrors, std::vector<QString>{QStringLiteral("Proceed?")});
        } else {
            QCOMPARE(boxes.service().shown().size(), size_t(1));
            QCOMPARE(boxes.service().shown()[0].title, QStringLiteral("Confirm"));
            QVERIFY(h.context.state.batch.BatchErrors.empty());
        }
    }

    void statusRoutines()
    {
        ImportHarness h;
        h.context.state.batch.CurrentFilePath = QStringLiteral("/src/a.csv");
        importer::ResetImportStatus(h.context);
        QCOMPARE(h.window.status, QString());
        QCOMPARE(h.window.importFile, QStringLiteral("/src/a.csv"));
        QCOMPARE(h.window.toolbarCaption.value(2), QStringLiteral("&Validate"));
        QVERIFY(!h.window.errorsFoundVisible);
        QVERIFY(!h.window.errorsFoundEnabled);
        QVERIFY(h.window.noErrorFoundVisible);
        importer::ShowValidationFailed(h.context);
        QVERIFY(h.window.errorsFoundVisible);
        QVERIFY(h.window.mnuFileViewErrors);
        QCOMPARE(h.window.toolbarEnabled.value(3), true);
        importer::ShowValidationPassed(h.context);
        QVERIFY(h.window.noErrorFoundVisible);
        QCOMPARE(h.window.toolbarEnabled.value(1), false);
    }
};

int runImportLineTests(int argc, char** argv)
{
    TestImportLine t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_ImportLine.moc"
