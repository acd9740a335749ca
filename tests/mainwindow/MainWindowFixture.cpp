#include "tests/mainwindow/MainWindowFixture.h"

#include "app/mainwindow/MainWindowForms.h"
#include "app/mainwindow/OtherForms.h"
#include "app/mainwindow/frmmain.h"
#include "ui_frmmain.h"
#include "app/setup/SetupForms.h"

#include "package/company/CompanyFolder.h"
#include "package/company/Ledger.h"
#include "package/company/Seed.h"

#include "platform/basic/Dates.h"
#include "platform/forms/DefaultInstance.h"
#include "platform/settings/SettingsStore.h"

#include "tests/support/TestCompanySettings.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QWidget>

namespace {

const QString BinDir = QStringLiteral(QUILLAR_BIN_DIR);

const char* const Seed = R"({
  "version": "23.0", "name": "Window Test Ltd",
  "users": [{"name": "MANAGER", "password": "secret"}],
  "setup": {"STOCK_UNITDP": 2, "STOCK_QTYDP": 2, "INVOICE_CARR_NET": 0, "INVOICE_CARR_NOMINAL": "4905"},
  "control": {"T0_RATE": 0, "T1_RATE": 20},
  "currencies": [{"CODE": "GBP", "EXCHANGE_RATE": 1}],
  "customers": [{"ACCOUNT_REF": "C001", "NAME": "First Customer", "DEF_NOM_CODE": "4000"},
                {"ACCOUNT_REF": "C002", "NAME": "Second Customer", "DEF_NOM_CODE": "4000"}],
  "products": [{"STOCK_CODE": "P1", "DESCRIPTION": "Widget", "NOMINAL_CODE": "4000", "SALES_PRICE": 10,
                "TAX_CODE": 1},
               {"STOCK_CODE": "P2", "DESCRIPTION": "Gadget", "NOMINAL_CODE": "4000", "SALES_PRICE": 4,
                "TAX_CODE": 1}],
  "nominals": [{"ACCOUNT_REF": "4000"}, {"ACCOUNT_REF": "4905"}, {"ACCOUNT_REF": "1200"}],
  "banks": [{"ACCOUNT_REF": "1200", "NAME": "Current", "CURRENCY": 0}]
})";

const QStringList Layout = {"Transaction Type", "Account Reference", "Transaction Date", "Product Code",
                            "Quantity", "Unit Price", "Product Description"};

} // namespace

bool MainWindowFixture::registerLibraries()
{
    const QString engine = BinDir + QStringLiteral("/vdo/vlvdoengine230.dll");
    const QString regsvr = BinDir + QStringLiteral("/regsvr");
    return QFile::exists(engine) && QProcess::execute(regsvr, {engine, QStringLiteral("/s")}) == 0 &&
           QProcess::execute(regsvr, {QStringLiteral("/s"), QStringLiteral(VLHMCOMCTL_PATH)}) == 0;
}

namespace {

void registerWindowForms(session::ProgramSession& programSession)
{
    mainwindow::registerForms(programSession);
    setup::registerForms(programSession);
    // The engine is registered once for the test; connections start no regsvr.
    programSession.context().startCommand = [](const QString&, const QStringList&) {};
}

} // namespace

MainWindowFixture::MainWindowFixture(const OnDemo& demo)
    : company(demo.folder + QStringLiteral("/Demo")), programSession(BinDir)
{
    registerWindowForms(programSession);
}

MainWindowFixture::MainWindowFixture(int programType, const QString& programFolder)
    : programSession(programFolder.isEmpty() ? BinDir : programFolder)
{
    registerWindowForms(programSession);

    company = dir.filePath(QStringLiteral("company"));
    QJsonObject seed = QJsonDocument::fromJson(Seed).object();
    seed.insert(QStringLiteral("program_type"), programType);
    company::createCompany(seed, company, QStringLiteral("window seed"));
    testsupport::writeCompanySettings(company, QStringLiteral("Window Test Ltd"), dir.filePath(QStringLiteral("config")),
                                      Layout);
}

MainWindowFixture::~MainWindowFixture()
{
    if (m_now)
        basic::Clock::setNowForTesting({});
    forms::DefaultInstance<frmmain>::unload();
    mainwindow::otherforms::unloadOthers();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

frmmain& MainWindowFixture::window()
{
    return forms::DefaultInstance<frmmain>::get();
}

void MainWindowFixture::writeFile(const QString& name, const QByteArray& bytes) const
{
    QFile f(dir.filePath(name));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(name));
}

frmmain& MainWindowFixture::showAfterLogin(const QString& user)
{
    frmmain& w = window();
    w.m_ui->LblUserloggedin->setText(user);
    w.m_ui->lblTarnbyVersion->setText(session::ProgramSession::versionText());
    w.move(0, 0);
    w.resize(900, 600);
    w.show();
    return w;
}

void MainWindowFixture::enableBatchMode(const QString& interval)
{
    for (const char* folder : {"source", "success", "error", "xdg"})
        QDir().mkpath(batchFolder(folder));
    // The journal lives under the configuration folder.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(batchFolder("xdg")));
    settings::writeSetting(QStringLiteral("BatchUpdateEnabled"), QStringLiteral("1"));
    settings::writeSetting(QStringLiteral("BatchInterval"), interval);
    settings::writeSetting(QStringLiteral("BatchSourcePath"), batchFolder("source"));
    settings::writeSetting(QStringLiteral("BatchSuccessPath"), batchFolder("success"));
    settings::writeSetting(QStringLiteral("BatchErrorlogPath"), batchFolder("error"));
}

void MainWindowFixture::setClock(const QDateTime& at)
{
    m_now = std::make_shared<QDateTime>(at);
    basic::Clock::setNowForTesting([now = m_now] { return *now; });
}

void MainWindowFixture::advanceClock(int seconds)
{
    *m_now = m_now->addSecs(seconds);
}

qsizetype MainWindowFixture::posted() const
{
    auto ledger = company::Ledger::open(company::folder::ledgerFileOf(company::folder::accdataOf(company)));
    return ledger->listDocuments().size();
}

ModalCloser::ModalCloser()
{
    m_poll.setInterval(5);
    QObject::connect(&m_poll, &QTimer::timeout, this, [this] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            closed << modal->objectName();
            modal->hide();
        }
    });
    m_poll.start();
}

QStringList shownTexts(const forms::ScriptedMessageService& boxes)
{
    QStringList texts;
    for (const auto& box : boxes.shown())
        texts << box.title + QStringLiteral(": ") + box.text;
    return texts;
}

QByteArray invoiceLines(int documents)
{
    QByteArray lines;
    for (int d = 0; d < documents; ++d) {
        const QByteArray account = d % 2 == 0 ? "C001" : "C002";
        lines += "I," + account + ",01/12/2026,P1,2,10,Widget\r\n";
        lines += "I," + account + ",01/12/2026,P2,1,4,Gadget\r\n";
    }
    return lines;
}
