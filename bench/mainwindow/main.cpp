// Times a whole import (RunImport: stage one, the validate pass, the confirmation,
// the import pass) of a generated 32,000-line file (4,000 invoices of 8 lines)
// against a stand-in company of 10,000 customers and 20,000 products, six times each
// way in turn: headless (recorded windows) and from the real main window shown on
// the offscreen platform (Select File, then the Validate button; the window's
// status display and the log form kept current). The window's import should take at
// most 1.10 times the headless one, on the clock and in processor time: the machine
// is shared, so the clock varies with what else runs; the processor time is the work
// each way did. The median run of each way is compared on both clocks. The ways take turns,
// each going first in half the runs. The status display's paints during the window's import are
// counted, with the longest time between two of them, overall and during the validate
// (there the display should not stand still for more than 100 ms).
#include "bench/common/BenchCompany.h"
#include "bench/common/ImportBench.h"
#include "bench/common/Offscreen.h"
#include "bench/common/Stopwatch.h"

#include "app/import/driver/ImportDriver.h"
#include "app/mainwindow/MainWindowForms.h"
#include "app/mainwindow/frmmain.h"
#include "ui_frmmain.h"
#include "app/session/ProgramSession.h"
#include "app/setup/SetupForms.h"

#include "package/company/Ledger.h"
#include "platform/automation/ClassRegistry.h"
#include "platform/forms/DefaultInstance.h"
#include "platform/forms/End.h"
#include "platform/forms/FileDialog.h"
#include "platform/forms/Timer.h"
#include "platform/settings/SettingsStore.h"
#include "platform/widgets/ToolBar.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <vector>

using bench::seconds;
using bench::Stopwatch;
using bench::Times;

namespace {

constexpr int Customers = 10000;
constexpr int Products = 20000;
constexpr int Documents = 4000;
constexpr int LinesPerDocument = 8;
constexpr int Runs = 6; // each way goes first three times
constexpr double Target = 1.10;
constexpr qint64 LongestGapMs = 100; // the display stands still no longer during the validate

qsizetype postedIn(const QString& companyFolder)
{
    return company::Ledger::open(companyFolder + QStringLiteral("/ACCDATA/ledger.sqlite"))->listDocuments().size();
}

// One headless import into the bench's own company.
Times headlessImport(bench::ImportBench& bench)
{
    const qsizetype before = postedIn(bench.companyFolder);
    bench.boxes.service().clear();
    bench.boxes.service().queueAnswer(forms::AnswerYes); // "Proceed with invoice import?"
    bench.log.text.clear();
    const Stopwatch watch;
    importer::RunImport(bench.context);
    const Times times = watch.elapsed();
    if (postedIn(bench.companyFolder) - before != Documents || !bench.context.state.pass.ImportOK)
        qFatal("the headless import did not post %d invoices:\n%s", Documents, qPrintable(bench.problems()));
    return times;
}

// Counts the paints of the window's status display (its status line) and the
// longest time between two of them, overall and while the validate runs (the status
// reads "Stage One ..." at the paint that ends the gap; the import pass reads
// "Stage Two - Importing ...").
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(frmmain& window) : m_status(*window.m_ui->lblStatus) { m_status.installEventFilter(this); }
    ~PaintCounter() override { m_status.removeEventFilter(this); }

    int paints() const { return m_paints; }
    qint64 longestGapMs() const { return m_longestGapMs; }
    qint64 longestValidateGapMs() const { return m_longestValidateGapMs; }
    int validatePaints() const { return m_validatePaints; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &m_status && event->type() == QEvent::Paint) {
            const bool validating = m_status.text().startsWith(QLatin1String("Stage One"));
            m_validatePaints += validating ? 1 : 0;
            if (m_paints++ > 0) {
                const qint64 gap = m_sincePaint.elapsed();
                m_longestGapMs = std::max(m_longestGapMs, gap);
                if (validating)
                    m_longestValidateGapMs = std::max(m_longestValidateGapMs, gap);
            }
            m_sincePaint.start();
        }
        return false;
    }

private:
    QLabel& m_status;
    int m_paints = 0;
    int m_validatePaints = 0;
    qint64 m_longestGapMs = 0;
    qint64 m_longestValidateGapMs = 0;
    QElapsedTimer m_sincePaint;
};

// One import from the window into the window's company.
Times windowImport(bench::ImportBench& bench, session::ProgramSession& programSession, frmmain& window,
                    const QString& companyFolder, const QString& file)
{
    const qsizetype before = postedIn(companyFolder);
    forms::ScopedScriptedFileDialogs dialogs;
    dialogs.service().queueFile(file);
    window.tbToolBar->click(1); // Select File
    bench.boxes.service().clear();
    bench.boxes.service().queueAnswer(forms::AnswerYes);
    const PaintCounter painted(window);
    const Stopwatch watch;
    window.tbToolBar->click(2); // Validate, then the import
    const Times times = watch.elapsed();
    std::printf("  the status display painted %d times, at most %lld ms apart; during the validate %d times, at most "
                "%lld ms apart (target %lld ms: %s)\n",
                painted.paints(), static_cast<long long>(painted.longestGapMs()), painted.validatePaints(),
                static_cast<long long>(painted.longestValidateGapMs()), static_cast<long long>(LongestGapMs),
                painted.longestValidateGapMs() <= LongestGapMs ? "within" : "OVER");
    if (postedIn(companyFolder) - before != Documents || !programSession.state().pass.ImportOK) {
        QString boxes;
        for (const auto& box : bench.boxes.service().shown())
            boxes += box.text + QLatin1Char('\n');
        qFatal("the window's import did not post %d invoices:\n%s%s", Documents, qPrintable(boxes),
               qPrintable(programSession.importLog().text().left(600)));
    }
    QApplication::processEvents();
    return times;
}

// The middle of each clock's times: one run that met a busy moment, or one that
// came out unusually quick, moves it no more than any other run.
Times median(std::vector<Times> runs)
{
    const auto middle = [&](qint64 Times::*clock) {
        std::vector<qint64> v;
        for (const Times& t : runs)
            v.push_back(t.*clock);
        std::sort(v.begin(), v.end());
        const size_t n = v.size();
        return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
    };
    return {middle(&Times::wallNs), middle(&Times::cpuNs)};
}

} // namespace

int main(int argc, char** argv)
{
    bench::useOffscreenPlatform();
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    // The headless side, with its company; the window gets a company of its own of
    // the same size, so both post into ledgers that grow alike.
    bench::ImportBench bench(Customers, Products);
    const QString file = bench.writeImportFile(Documents, LinesPerDocument);
    const QString windowCompany = bench.hives.dir.filePath(QStringLiteral("WindowBench"));
    bench::buildCompany(windowCompany, Customers, Products);
    if (QProcess::execute(bench.context.programFolder + QStringLiteral("/regsvr"),
                          {QStringLiteral("/s"), QStringLiteral(VLHMCOMCTL_PATH)}) != 0)
        qFatal("cannot register the user-control library");

    forms::ScopedManualTimers noBatchTimers;
    forms::ScopedRecordedEnd noEnd;
    session::ProgramSession programSession(bench.context.programFolder);
    programSession.context().startCommand = [](const QString&, const QStringList&) {};
    mainwindow::registerForms(programSession);
    setup::registerForms(programSession);
    settings::writeSetting(QStringLiteral("VorlenDataPath"), windowCompany);
    settings::writeSetting(QStringLiteral("VorlenVersion"), QStringLiteral("23.0"));
    settings::writeSetting(QStringLiteral("VorlenCompanyName"), QStringLiteral("Window Bench Co"));
    frmmain& window = forms::DefaultInstance<frmmain>::get();
    window.show();
    QApplication::processEvents();

    std::vector<Times> headlessRuns;
    std::vector<Times> windowRuns;
    const auto runHeadless = [&] {
        // The headless import reads the same settings: its company while it runs.
        settings::writeSetting(QStringLiteral("VorlenDataPath"), bench.companyFolder);
        const Times t = headlessImport(bench);
        settings::writeSetting(QStringLiteral("VorlenDataPath"), windowCompany);
        return t;
    };
    for (int run = 1; run <= Runs; ++run) {
        Times headless;
        Times fromWindow;
        if (run % 2 == 1) {
            headless = runHeadless();
            fromWindow = windowImport(bench, programSession, window, windowCompany, file);
        } else {
            fromWindow = windowImport(bench, programSession, window, windowCompany, file);
            headless = runHeadless();
        }
        std::printf("run %d: headless %.3f s (processor %.3f s), from the window %.3f s (processor %.3f s)\n", run,
                    seconds(headless.wallNs), seconds(headless.cpuNs), seconds(fromWindow.wallNs),
                    seconds(fromWindow.cpuNs));
        headlessRuns.push_back(headless);
        windowRuns.push_back(fromWindow);
    }
    const Times headless = median(headlessRuns);
    const Times fromWindow = median(windowRuns);
    const double wallRatio = double(fromWindow.wallNs) / double(headless.wallNs);
    const double ratio = double(fromWindow.cpuNs) / double(headless.cpuNs);
    const auto verdict = [](double ratio) { return ratio <= Target ? "within" : "OVER"; };
    std::printf("median on the clock: headless %.3f s, from the window %.3f s: %.2f x (target %.2f x: %s)\n",
                seconds(headless.wallNs), seconds(fromWindow.wallNs), wallRatio, Target, verdict(wallRatio));
    std::printf("median processor time: headless %.3f s, from the window %.3f s: %.2f x (target %.2f x: %s)\n",
                seconds(headless.cpuNs), seconds(fromWindow.cpuNs), ratio, Target, verdict(ratio));
    forms::DefaultInstance<frmmain>::unload();
    return 0; // it ran: the verdict is the line above
}
