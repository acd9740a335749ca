// The program session: the import reaches real (small) forms through the
// forwarding views, across unloads and reloads of every form, against the package
// stand-in's engine.
#include "tests/session/TestForms.h"
#include "tests/support/TestCompanySettings.h"

#include "app/import/StageOne.h"
#include "app/import/driver/ImportDriver.h"
#include "app/session/ProgramSession.h"

#include "package/company/CompanyFolder.h"
#include "package/company/Ledger.h"
#include "package/company/Seed.h"

#include "platform/automation/Object.h"
#include "platform/basic/RuntimeError.h"
#include "platform/forms/DefaultInstance.h"
#include "platform/forms/MessageService.h"
#include "platform/settings/SettingsStore.h"
#include "utilities/drivewalk/filesech.h"
#include "utilities/keelbox/DoSecurity.h"

#include <QFile>
#include <QLineEdit>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <stdexcept>

using forms::DefaultInstance;
using session::ProgramSession;

namespace {

const QString BinDir = QStringLiteral(QUILLAR_BIN_DIR);

const char* const Seed = R"({
  "version": "23.0", "name": "Session Test Ltd", "program_type": 1,
  "users": [{"name": "MANAGER", "password": "secret"}],
  "setup": {"STOCK_UNITDP": 2, "STOCK_QTYDP": 2, "INVOICE_CARR_NET": 0, "INVOICE_CARR_NOMINAL": "4905"},
  "control": {"T0_RATE": 0, "T1_RATE": 20},
  "currencies": [{"CODE": "GBP", "EXCHANGE_RATE": 1}],
  "customers": [{"ACCOUNT_REF": "C001", "NAME": "First Customer", "DEF_NOM_CODE": "4000"}],
  "products": [{"STOCK_CODE": "P1", "DESCRIPTION": "Widget", "NOMINAL_CODE": "4000", "SALES_PRICE": 10,
                "TAX_CODE": 1}],
  "nominals": [{"ACCOUNT_REF": "4000"}, {"ACCOUNT_REF": "4905"}, {"ACCOUNT_REF": "1200"}],
  "banks": [{"ACCOUNT_REF": "1200", "NAME": "Current", "CURRENCY": 0}]
})";

const QStringList Layout = {"Transaction Type", "Account Reference", "Transaction Date", "Product Code",
                            "Quantity", "Unit Price"};

const QByteArray GoodLine = "I,C001,01/12/2026,P1,2,10\r\n";
const QByteArray UnknownCustomerLine = "I,C999,01/12/2026,P1,2,10\r\n";

// A company, its settings and layout, and the session with the test forms.
struct SessionFixture
{
    SessionFixture() : programSession(BinDir)
    {
        resetFormCounts();
        registerTestForms(programSession);
        // The engine is registered once for the test; the connection's own
        // registration is not started again.
        programSession.context().startCommand = [](const QString&, const QStringList&) {};

        company = dir.filePath(QStringLiteral("company"));
        company::createCompany(QJsonDocument::fromJson(Seed).object(), company, QStringLiteral("session seed"));
        testsupport::writeCompanySettings(company, QStringLiteral("Session Test Ltd"),
                                          dir.filePath(QStringLiteral("config")), Layout);
    }

    ~SessionFixture() { unloadTestForms(); }

    static void write(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(f.write(bytes), bytes.size());
    }

    // Writes an import file and names it in the main window, as Select File does.
    void selectImport(const QString& name, const QByteArray& bytes)
    {
        write(dir.filePath(name), bytes);
        programSession.mainWindow().setTxtImportFile(dir.filePath(name));
    }

    qsizetype posted()
    {
        auto ledger = company::Ledger::open(company::folder::ledgerFileOf(company::folder::accdataOf(company)));
        return ledger->listDocuments().size();
    }

    QTemporaryDir dir;
    QString company;
    ProgramSession programSession;
};

// A made object that answers nothing.
class MadeObject : public automation::Object
{
public:
    QString className() const override { return QStringLiteral("Made"); }
    automation::DispId idOfName(const QString&) const override { return 0; }
    basic::Variant invoke(automation::DispId, automation::Invoke, automation::Args&, const basic::Variant&) override
    {
        return {};
    }
};

QString shownLog()
{
    return DefaultInstance<TestImportLog>::get().txtImportTextBox->toPlainText();
}

QString asShown(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

class TestSession : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (!QFile::exists(BinDir + QStringLiteral("/vdo/vlvdoengine230.dll")))
            QSKIP("the package stand-in is not built");
        QCOMPARE(QProcess::execute(BinDir + QStringLiteral("/regsvr"),
                                   {BinDir + QStringLiteral("/vdo/vlvdoengine230.dll"), QStringLiteral("/s")}),
                 0);
    }

    // Each form unloaded between two imports is loaded again, hidden, by the second
    // import's first touch; nothing of the first instance is used (the address
    // sanitizer build checks that no freed form is touched).
    void formsReloadedBetweenImports_data()
    {
        QTest::addColumn<QStringList>("unloaded");
        QTest::addRow("main window") << QStringList{"frmmain"};
        QTest::addRow("import log") << QStringList{"frmErrors"};
        QTest::addRow("error list") << QStringList{"FrmErrlog"};
        QTest::addRow("settings form") << QStringList{"frmSettings"};
        QTest::addRow("all four") << QStringList{"frmmain", "frmErrors", "FrmErrlog", "frmSettings"};
    }

    void formsReloadedBetweenImports()
    {
        QFETCH(QStringList, unloaded);
        forms::ScopedScriptedMessages boxes;
        SessionFixture f;
        importer::ImportContext& context = f.programSession.context();

        f.selectImport(QStringLiteral("first.csv"), GoodLine);
        boxes.service().queueAnswer(forms::AnswerYes); // "Proceed with invoice import?"
        importer::RunImport(context);
        QVERIFY2(context.state.pass.ImportOK, qPrintable(context.importLog.txtImportText()));
        QCOMPARE(f.posted(), 1);
        QCOMPARE(TestErrorList::modalShown, 0);

        const bool all = unloaded.size() == 4;
        if (unloaded.contains(QLatin1String("frmmain")))
            DefaultInstance<TestMainWindow>::unload();
        if (unloaded.contains(QLatin1String("frmErrors")))
            DefaultInstance<TestImportLog>::unload();
        if (unloaded.contains(QLatin1String("FrmErrlog")))
            DefaultInstance<TestErrorList>::unload();
        if (unloaded.contains(QLatin1String("frmSettings")))
            DefaultInstance<TestSettingsForm>::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(DefaultInstance<TestMainWindow>::isLoaded(), !unloaded.contains(QLatin1String("frmmain")));
        QCOMPARE(DefaultInstance<TestErrorList>::isLoaded(), !unloaded.contains(QLatin1String("FrmErrlog")));

        boxes.service().clear();
        f.selectImport(QStringLiteral("second.csv"), UnknownCustomerLine);
        importer::RunImport(context);

        // Stage one found the unknown customer: nothing more is posted, the error
        // list was shown modal over the main window and holds the entry.
        QCOMPARE(f.posted(), 1);
        QVERIFY(!context.state.pass.ImportOK);
        QCOMPARE(TestErrorList::modalShown, 1);
        QCOMPARE(TestErrorList::shownOver, &DefaultInstance<TestMainWindow>::get());
        QTreeWidget* list = DefaultInstance<TestErrorList>::get().ListView1;
        QVERIFY(list->topLevelItemCount() >= 1);
        QVERIFY2(list->topLevelItem(0)->text(0).startsWith(QLatin1String("Account No C999 does not exist")),
                 qPrintable(list->topLevelItem(0)->text(0)));
        QCOMPARE(DefaultInstance<TestMainWindow>::get().txtImportFile(), f.dir.filePath(QStringLiteral("second.csv")));
        QVERIFY(DefaultInstance<TestMainWindow>::get().errorsFound);
        QCOMPARE(DefaultInstance<TestSettingsForm>::get().TxtDatapath->text(), f.company);
        QVERIFY(context.importLog.txtImportText().contains(QLatin1String("Account No C999 does not exist")));
        QCOMPARE(shownLog(), asShown(context.importLog.txtImportText()));

        // Every unloaded form was loaded once more, hidden; the others stayed.
        const auto expectLoads = [&](const char* name, int loads, int unloads) {
            const bool again = unloaded.contains(QLatin1String(name));
            QVERIFY2(loads == (again ? 2 : 1) && unloads == (again ? 1 : 0), name);
        };
        expectLoads("frmmain", TestMainWindow::loads, TestMainWindow::unloads);
        expectLoads("frmErrors", TestImportLog::loads, TestImportLog::unloads);
        expectLoads("FrmErrlog", TestErrorList::loads, TestErrorList::unloads);
        expectLoads("frmSettings", TestSettingsForm::loads, TestSettingsForm::unloads);
        if (all)
            QVERIFY(!DefaultInstance<TestSettingsForm>::get().isVisible());
    }

    // The log is the text the import appended, CR LF and all: reading it back gives
    // the same text whatever the form shows, and across the form's unload.
    void importLogKeepsExactText()
    {
        SessionFixture f;
        importer::ImportLogView& log = f.programSession.context().importLog;
        const QString first = QStringLiteral("Account No C999 does not exist  Row 1\r\n\r\nLine two\r\n");
        log.setTxtImportText(QString());
        log.appendTxtImportText(first);
        QCOMPARE(log.txtImportText().toUtf8(), first.toUtf8());
        QCOMPARE(shownLog(), asShown(first));

        DefaultInstance<TestImportLog>::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(log.txtImportText().toUtf8(), first.toUtf8());
        QVERIFY2(!DefaultInstance<TestImportLog>::isLoaded(), "reading the log does not load the form");

        // The next append loads the form, which shows the earlier text once, then the new.
        const QString more = QStringLiteral("Invoice 1 posted\r\n");
        log.appendTxtImportText(more);
        QCOMPARE(TestImportLog::loads, 2);
        QCOMPARE(log.txtImportText().toUtf8(), (first + more).toUtf8());
        QCOMPARE(shownLog(), asShown(first + more));
    }

    // The field checks come with the session: stage one called as the error list's
    // Refresh calls it runs them too, not only through RunImport.
    void fieldChecksRunForEveryCaller()
    {
        forms::ScopedScriptedMessages boxes;
        SessionFixture f;
        importer::ImportContext& context = f.programSession.context();
        QVERIFY(context.lineChecks);
        f.selectImport(QStringLiteral("refresh.csv"), UnknownCustomerLine);

        importer::ValidateImportFile(context, QStringLiteral("frmerrlog"), QStringLiteral("validate"));

        QCOMPARE(context.state.pass.ErrCount, 1);
        QTreeWidget* list = DefaultInstance<TestErrorList>::get().ListView1;
        QCOMPARE(list->topLevelItemCount(), 1);
        QVERIFY(list->topLevelItem(0)->text(0).startsWith(QLatin1String("Account No C999 does not exist")));
    }

    // DoSecurity and FileSearchObj: made by class id at the first use, then kept.
    void keptObjectsMadeOnceByClassId()
    {
        SessionFixture f;
        ProgramSession& s = f.programSession;
        QStringList made;
        bool fail = false;
        s.createObject = [&](const QString& id) -> basic::ObjectRef {
            if (fail)
                throw basic::RuntimeError(429, QStringLiteral("test"), QStringLiteral("cannot create"));
            made << id;
            return std::make_shared<MadeObject>();
        };
        fail = true;
        QVERIFY_THROWS_EXCEPTION(basic::RuntimeError, s.doSecurity());
        fail = false;
        const basic::ObjectRef security = s.doSecurity();
        QCOMPARE(s.doSecurity(), security);
        const basic::ObjectRef search = s.fileSearchObj();
        QCOMPARE(s.fileSearchObj(), search);
        QCOMPARE(made, (QStringList{keelbox::DoSecurityClassId, drivewalk::FilesechClassId}));
        s.releaseKeptObjects();
        QVERIFY(s.doSecurity() != security);
    }

    // The class ids are those the two libraries register.
    void keptObjectsAreTheUtilityClasses()
    {
        for (const char* library : {KEELBOX_PATH, DRIVEWALK_PATH})
            QCOMPARE(QProcess::execute(BinDir + QStringLiteral("/regsvr"), {QStringLiteral("/s"), QLatin1String(library)}), 0);
        SessionFixture f;
        QCOMPARE(f.programSession.doSecurity()->className(), QStringLiteral("DoSecurity"));
        QCOMPARE(f.programSession.fileSearchObj()->className(), QStringLiteral("filesech"));
    }

    void sessionIsOneAtATime()
    {
        QVERIFY(!ProgramSession::current());
        {
            ProgramSession first;
            QCOMPARE(ProgramSession::current(), &first);
            QVERIFY_THROWS_EXCEPTION(std::logic_error, ProgramSession second);
            QCOMPARE(ProgramSession::current(), &first);
            // A view whose form no library registered is a wiring fault, not a crash.
            QVERIFY_THROWS_EXCEPTION(std::logic_error, first.mainWindow().txtImportFile());
        }
        QVERIFY(!ProgramSession::current());
        QCOMPARE(ProgramSession::versionText(), QStringLiteral("Version ") + QStringLiteral(QUILLAR_EXPECTED_VERSION));
    }
};

QTEST_MAIN(TestSession)
#include "tst_session.moc"
