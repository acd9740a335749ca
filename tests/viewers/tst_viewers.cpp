// The import-log and error-list viewers: their controls and layout, the printer
// choice across restarts, printing the log, Refresh, the editor and the double-click.
#include "tests/viewers/StandInForms.h"

#include "app/import/driver/ImportDriver.h"
#include "app/mainwindow/FrmErrlog.h"
#include "app/mainwindow/ImportLogFile.h"
#include "app/mainwindow/ImportLogPrinting.h"
#include "app/mainwindow/MainWindowForms.h"
#include "app/mainwindow/ReadOnlyFileViewer.h"
#include "app/mainwindow/frmErrors.h"
#include "app/session/ProgramSession.h"

#include "package/company/CompanyFolder.h"
#include "package/company/Ledger.h"
#include "tools/demo/DemoKit.h"

#include "platform/basic/RuntimeError.h"
#include "platform/forms/DefaultInstance.h"
#include "platform/forms/MessageService.h"
#include "platform/forms/Twips.h"
#include "platform/settings/SettingsStore.h"
#include "platform/shell/Printers.h"
#include "platform/shell/ProgramStarter.h"
#include "platform/shell/TextEditor.h"
#include "platform/widgets/ListView.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <sys/stat.h>

using forms::DefaultInstance;
using forms::pixelsToTwips;
using forms::twipsToPixels;

namespace {

const QString BinDir = QStringLiteral(QUILLAR_BIN_DIR);

// Lines for the demo company and its invoice layout.
const QByteArray GoodLine = "I,ABB001,01/12/2026,PO-4471,FEND-L,2,39.50\r\n";
const QByteArray UnknownCustomerLine = "I,XYZ999,04/12/2026,PO-4481,ROPE-10,20,1.85\r\n";

const QString Passed = QStringLiteral("File has passed validation, please run import to update to Vorlen");

// A fixed printer list for the lifetime of the guard.
struct ScopedPrinters
{
    ScopedPrinters(QStringList names, QString defaultName)
        : previous(shell::setPrinters(std::make_unique<shell::FixedPrinterCatalog>(names, defaultName)))
    {
    }
    ~ScopedPrinters() { shell::setPrinters(std::move(previous)); }
    std::unique_ptr<shell::PrinterCatalog> previous;
};

// An editor command for the lifetime of the guard.
struct ScopedEditor
{
    explicit ScopedEditor(const QByteArray& command) : previous(qgetenv(shell::EditorVariable))
    {
        qputenv(shell::EditorVariable, command);
    }
    ~ScopedEditor() { qputenv(shell::EditorVariable, previous); }
    QByteArray previous;
};

template <class W> W* control(QWidget& form, const char* name)
{
    W* found = form.findChild<W*>(QLatin1String(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

frmErrors& importLogWindow()
{
    return DefaultInstance<frmErrors>::get();
}
FrmErrlog& errorListWindow()
{
    return DefaultInstance<FrmErrlog>::get();
}
StandInMainWindow& mainWindow()
{
    return DefaultInstance<StandInMainWindow>::get();
}

// The read-only viewers on screen.
QList<mainwindow::ReadOnlyFileViewer*> shownViewers()
{
    QList<mainwindow::ReadOnlyFileViewer*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* v = dynamic_cast<mainwindow::ReadOnlyFileViewer*>(w); v && v->isVisible())
            found << v;
    return found;
}

// A click on a button as the window system delivers it: refused while a modal
// window blocks the button's window.
void clickThroughWindow(QPushButton* button)
{
    QWidget* window = button->window();
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                      button->mapTo(window, button->rect().center()));
}

QString shownLog()
{
    return control<QTextEdit>(importLogWindow(), "txtImportText")->toPlainText();
}

QStringList row(widgets::ListView* list, int index)
{
    const widgets::ListItem* item = list->item(index);
    return {item->text(), item->subItem(1), item->subItem(2), item->subItem(3)};
}

int pdfPages(const QString& pdf)
{
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    if (!info.waitForFinished(30000) || info.exitCode() != 0)
        return -1;
    const auto match =
        QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption)
            .match(QString::fromUtf8(info.readAllStandardOutput()));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QString pdfText(const QString& pdf)
{
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    text.waitForFinished(30000);
    return QString::fromUtf8(text.readAllStandardOutput());
}

// The first page at 72 dots per inch (one inch is 72 pixels) and the box around its ink.
QRect inkOfFirstPage(const QString& pdf, QSize* pageSize)
{
    QProcess render;
    render.start(QStringLiteral("pdftoppm"),
                 {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-png"),
                  QStringLiteral("-singlefile"), QStringLiteral("-f"), QStringLiteral("1"),
                  QStringLiteral("-l"), QStringLiteral("1"), pdf, pdf + QStringLiteral("-page1")});
    render.waitForFinished(30000);
    const QImage image(pdf + QStringLiteral("-page1.png"));
    *pageSize = image.size();
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 200)
                ink |= QRect(x, y, 1, 1);
    return ink;
}

// The demo folder (company, settings store, layout files, import files), made once.
const demo::DemoPaths* Demo = nullptr;

qsizetype postedDocuments()
{
    return company::Ledger::open(company::folder::ledgerFileOf(company::folder::accdataOf(Demo->company)))
        ->listDocuments()
        .size();
}

// The session with both viewers and the stand-ins, on the demo's company.
struct Fixture
{
    Fixture() : programSession(BinDir)
    {
        mainwindow::registerForms(programSession);
        registerStandInForms(programSession);
        // The engine was registered once for the test.
        programSession.context().startCommand = [](const QString&, const QStringList&) {};
        settings::writeSetting(QStringLiteral("DefaultPrinter"), QString());
    }

    ~Fixture() { unloadAllForms(); }

    static void write(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(f.write(bytes), bytes.size());
    }

    // Writes an import file and names it in the main window, as Select File does.
    QString selectImport(const QString& name, const QByteArray& bytes)
    {
        write(dir.filePath(name), bytes);
        programSession.mainWindow().setTxtImportFile(dir.filePath(name));
        return dir.filePath(name);
    }

    QTemporaryDir dir;
    session::ProgramSession programSession;
};

} // namespace

class tst_viewers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_demoRoot.isValid());
        static const demo::DemoPaths paths(m_demoRoot.path());
        demo::useDemoHives(paths);
        demo::SetupOptions options;
        options.seedFile = QStringLiteral(QUILLAR_DEMO_SEED);
        options.importFiles = QStringLiteral(QUILLAR_DEMO_FILES);
        demo::setUpDemo(paths, options);
        Demo = &paths;
        QVERIFY(QFile::exists(BinDir + QStringLiteral("/vdo/vlvdoengine230.dll")));
        QCOMPARE(
            QProcess::execute(BinDir + QStringLiteral("/regsvr"),
                              {BinDir + QStringLiteral("/vdo/vlvdoengine230.dll"), QStringLiteral("/s")}),
            0);
    }

    void controls_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QSize>("twips");
        const QSize button(1440, 375);
        for (const char* form : {"frmErrors", "FrmErrlog"}) {
            const auto add = [&](const char* name, const char* caption, QSize size) {
                QTest::addRow("%s.%s", form, name) << form << name << caption << size;
            };
            add("lblPrinter", "Select Printer", QSize(1215, 255));
            add("cmbPrinter", "", QSize(2295, 315));
            add("btnPrint", "&Print", button);
            add("CmdOpeninNotePad", "&Open in Notepad", button);
            add("btnClose", "&Close", QSize(1455, 375));
        }
        QTest::addRow("FrmErrlog.CmdRefresh") << "FrmErrlog"
                                              << "CmdRefresh"
                                              << "&Refresh" << button;
        QTest::addRow("FrmErrlog.ListView1") << "FrmErrlog"
                                             << "ListView1"
                                             << "" << QSize(9975, 5055);
    }

    // Every control by its name, with its caption and its design size (in whole pixels).
    void controls()
    {
        QFETCH(QString, form);
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QSize, twips);
        Fixture f;
        QWidget& window = form == QLatin1String("frmErrors") ? static_cast<QWidget&>(importLogWindow())
                                                             : static_cast<QWidget&>(errorListWindow());
        QWidget* c = window.findChild<QWidget*>(name);
        QVERIFY(c);
        QCOMPARE(c->size(), QSize(twipsToPixels(twips.width()), twipsToPixels(twips.height())));
        QCOMPARE(c->font().family(), QStringLiteral("Tahoma"));
        if (auto* button = qobject_cast<QPushButton*>(c))
            QCOMPARE(button->text(), caption);
        if (auto* label = qobject_cast<QLabel*>(c))
            QCOMPARE(label->text(), caption);
    }

    void captionsColumnsAndHidden()
    {
        Fixture f;
        QCOMPARE(importLogWindow().windowTitle(), QStringLiteral("Import Log"));
        QCOMPARE(errorListWindow().windowTitle(), QStringLiteral("Error Log"));
        widgets::ListView* list = errorListWindow().listView1();
        QCOMPARE(list->columnCount(), 4);
        const QStringList headers = {"Error Description", "Line No.", "Error Column", "Error Value"};
        const int widths[] = {6575, 760, 1125, 1180};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(list->headerItem()->text(i), headers.at(i));
            QCOMPARE(list->columnWidth(i), twipsToPixels(widths[i]));
        }
        QCOMPARE(list->toolTip(), QStringLiteral("Double Click to view the this line in notepad"));
        QCOMPARE(list->pos(), QPoint(twipsToPixels(120), twipsToPixels(120)));
        QCOMPARE(control<QPushButton>(errorListWindow(), "CmdRefresh")->pos(),
                 QPoint(twipsToPixels(120), twipsToPixels(5400)));
        QCOMPARE(control<QPushButton>(errorListWindow(), "CmdOpeninNotePad")->pos(),
                 QPoint(twipsToPixels(1680), twipsToPixels(5400)));

        // Loaded hidden; the window's close and "&Close" both only hide it.
        for (forms::Form* form :
             {static_cast<forms::Form*>(&importLogWindow()), static_cast<forms::Form*>(&errorListWindow())}) {
            QVERIFY(!form->isVisible());
            form->QWidget::show();
            QVERIFY(QTest::qWaitForWindowExposed(form));
            form->close();
            QVERIFY(!form->isVisible());
            QVERIFY(form->isFormLoaded());
            form->QWidget::show();
            control<QPushButton>(*form, "btnClose")->click();
            QVERIFY(!form->isVisible());
            QVERIFY(form->isFormLoaded());
        }
    }

    void resizeTable_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addRow("design size") << QSize(697, 440);
        QTest::addRow("larger") << QSize(1000, 700);
    }

    // The moved controls keep their own size and follow the window's inner size.
    void resizeTable()
    {
        QFETCH(QSize, size);
        Fixture f;
        for (forms::Form* form :
             {static_cast<forms::Form*>(&importLogWindow()), static_cast<forms::Form*>(&errorListWindow())}) {
            form->QWidget::show();
            QVERIFY(QTest::qWaitForWindowExposed(form));
            form->resize(size);
            QTRY_COMPARE(form->size(), size);
            const int W = pixelsToTwips(size.width());
            const int H = pixelsToTwips(size.height());
            const auto expectAt = [&](const char* name, int fromRight, int fromBottom) {
                QWidget* c = control<QWidget>(*form, name);
                const QPoint at(twipsToPixels(W - pixelsToTwips(c->width()) - fromRight),
                                twipsToPixels(H - pixelsToTwips(c->height()) - fromBottom));
                QVERIFY2(c->pos() == at, name);
            };
            expectAt("btnClose", 120, 200);
            expectAt("btnPrint", 1620, 200);
            expectAt("cmbPrinter", 3620, 210);
            expectAt("lblPrinter", 6020, 210);
            if (form == &importLogWindow()) {
                expectAt("CmdOpeninNotePad", 7400, 200);
                auto* text = control<QTextEdit>(*form, "txtImportText");
                QCOMPARE(text->geometry(), QRect(twipsToPixels(100), twipsToPixels(100),
                                                 twipsToPixels(W - 200), twipsToPixels(H - 800)));
                QCOMPARE(text->lineWrapColumnOrWidth(), twipsToPixels(pixelsToTwips(text->width()) - 400));
            } else {
                // The list and the two left buttons stay where they were designed.
                QCOMPARE(
                    control<QWidget>(*form, "ListView1")->geometry(),
                    QRect(twipsToPixels(120), twipsToPixels(120), twipsToPixels(9975), twipsToPixels(5055)));
                QCOMPARE(control<QWidget>(*form, "CmdOpeninNotePad")->pos(),
                         QPoint(twipsToPixels(1680), twipsToPixels(5400)));
            }
            form->hide();
        }
    }

    void printerChoiceAtLoad_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::addRow("nothing stored: the default printer") << ""
                                                             << "Office";
        QTest::addRow("the stored printer") << "Warehouse"
                                            << "Warehouse";
        QTest::addRow("a stored name of no printer: the default") << "Gone"
                                                                  << "Office";
        QTest::addRow("case counts") << "warehouse"
                                     << "Office";
    }

    void printerChoiceAtLoad()
    {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        ScopedPrinters printers({"Reception", "Office", "Warehouse"}, "Office");
        Fixture f;
        settings::writeSetting(QStringLiteral("DefaultPrinter"), stored);
        for (QWidget* form :
             {static_cast<QWidget*>(&importLogWindow()), static_cast<QWidget*>(&errorListWindow())}) {
            auto* combo = control<QComboBox>(*form, "cmbPrinter");
            QCOMPARE(combo->count(), 3);
            QCOMPARE(combo->itemText(0), QStringLiteral("Reception"));
            QCOMPARE(combo->currentText(), shown);
        }
    }

    void printerChoiceSurvivesRestart_data()
    {
        QTest::addColumn<QString>("chosenIn");
        QTest::addColumn<QString>("storedAfter");
        // The error list unloads after the import log; its unchanged combo must not
        // overwrite the import log's choice.
        QTest::addRow("chosen in the import log only") << "frmErrors"
                                                       << "Warehouse";
        QTest::addRow("chosen in the error list only") << "FrmErrlog"
                                                       << "Warehouse";
        QTest::addRow("chosen in neither: stored value kept") << ""
                                                              << "Reception";
    }

    void printerChoiceSurvivesRestart()
    {
        QFETCH(QString, chosenIn);
        QFETCH(QString, storedAfter);
        ScopedPrinters printers({"Reception", "Office", "Warehouse"}, "Office");
        Fixture f;
        settings::writeSetting(QStringLiteral("DefaultPrinter"), QStringLiteral("Reception"));
        importLogWindow();
        errorListWindow();
        if (!chosenIn.isEmpty()) {
            QWidget& window = chosenIn == QLatin1String("frmErrors")
                                  ? static_cast<QWidget&>(importLogWindow())
                                  : static_cast<QWidget&>(errorListWindow());
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            auto* combo = control<QComboBox>(window, "cmbPrinter");
            combo->setFocus();
            QTest::keyClick(combo, Qt::Key_End); // as a user picks the last entry
            QCOMPARE(combo->currentText(), QStringLiteral("Warehouse"));
        }
        unloadAllForms(); // the program's end
        QCOMPARE(settings::readSetting(QStringLiteral("DefaultPrinter")), storedAfter);

        // The next start shows the stored printer in both windows.
        QCOMPARE(control<QComboBox>(importLogWindow(), "cmbPrinter")->currentText(), storedAfter);
        QCOMPARE(control<QComboBox>(errorListWindow(), "cmbPrinter")->currentText(), storedAfter);
    }

    // The import log is the text as appended (CR LF kept) and is shown as lines;
    // a reloaded window shows it again.
    void importLogShowsTheLog()
    {
        Fixture f;
        importer::ImportLogView& log = f.programSession.context().importLog;
        log.setTxtImportText(QString());
        log.appendTxtImportText(QStringLiteral("First error\r"));
        log.appendTxtImportText(QStringLiteral("\nSecond error\r\n"));
        QCOMPARE(log.txtImportText(), QStringLiteral("First error\r\nSecond error\r\n"));
        QCOMPARE(importLogWindow().txtImportText(), log.txtImportText());
        QCOMPARE(shownLog(), QStringLiteral("First error\nSecond error\n"));
        DefaultInstance<frmErrors>::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(shownLog(), QStringLiteral("First error\nSecond error\n"));
    }

    void errorListRowsInOrder()
    {
        Fixture f;
        importer::ErrorListView& list = f.programSession.context().errorList;
        list.clearListView1();
        list.addListView1Row(1, QStringLiteral("second"), QStringLiteral("2"), QStringLiteral("3"),
                             QStringLiteral("x"));
        list.addListView1Row(1, QStringLiteral("first"), QStringLiteral("0"), QStringLiteral("0"), QString());
        list.addListView1Row(3, QStringLiteral("third"), QStringLiteral("9"), QStringLiteral("1"),
                             QStringLiteral("y"));
        QCOMPARE(list.listView1Count(), 3);
        widgets::ListView* view = errorListWindow().listView1();
        QCOMPARE(row(view, 1), (QStringList{"first", "0", "0", ""}));
        QCOMPARE(row(view, 2), (QStringList{"second", "2", "3", "x"}));
        QCOMPARE(row(view, 3), (QStringList{"third", "9", "1", "y"}));
        QCOMPARE(view->item(2)->tag().toString(), QStringLiteral("second"));
        QCOMPARE(view->item(2)->data(3, widgets::ListItem::TagRole).toString(), QStringLiteral("x"));
        try {
            list.addListView1Row(5, QStringLiteral("past the end"), {}, {}, {});
            QFAIL("a position past the end was taken");
        } catch (const basic::RuntimeError& e) {
            QCOMPARE(e.number(), 35600);
        }
        QCOMPARE(list.listView1Count(), 3);
    }

    // The main window's import of a file that fails: the error list is shown modal
    // with the entries, the log holds their lines.
    void failedRunFillsListAndLog()
    {
        forms::ScopedScriptedMessages boxes;
        Fixture f;
        f.selectImport(QStringLiteral("bad.csv"), GoodLine + UnknownCustomerLine + UnknownCustomerLine);
        bool shownModal = false;
        QTimer::singleShot(0, &errorListWindow(), [&] {
            shownModal = errorListWindow().isVisible() && errorListWindow().isModal();
            control<QPushButton>(errorListWindow(), "btnClose")->click();
        });
        importer::RunImport(f.programSession.context());
        QVERIFY(shownModal);
        QVERIFY(!errorListWindow().isVisible());

        widgets::ListView* list = errorListWindow().listView1();
        QCOMPARE(list->count(), 2);
        QVERIFY2(list->item(1)->text().startsWith(QLatin1String("Account No XYZ999 does not exist")),
                 qPrintable(list->item(1)->text()));
        QCOMPARE(list->item(1)->subItem(1), QStringLiteral("2"));
        QCOMPARE(list->item(2)->subItem(1), QStringLiteral("3"));
        const QString log = f.programSession.importLog().text();
        QCOMPARE(log, list->item(1)->text() + QStringLiteral("\r\n") + list->item(2)->text() +
                          QStringLiteral("\r\n"));
        QCOMPARE(shownLog(), QString(log).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    }

    void refresh_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("errors");
        QTest::addRow("passes both passes") << GoodLine + GoodLine << 0;
        QTest::addRow("an unknown customer") << GoodLine + UnknownCustomerLine << 1;
        QTest::addRow("a line too short for the layout") << QByteArray("I,C001,01/12/2026\r\n") << -1;
    }

    // Refresh validates again from the error list; only a file that passes both
    // passes is reported as passed, and nothing is ever posted.
    void refresh()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, errors);
        forms::ScopedScriptedMessages boxes;
        Fixture f;
        const qsizetype postedBefore = postedDocuments();
        f.selectImport(QStringLiteral("file.csv"), file);
        mainWindow().toolbarCaption[2] = QStringLiteral("&Validate");
        mainWindow().mnuFileStartImportCaption = QStringLiteral("&Validate");
        f.programSession.importLog().setTxtImportText(QStringLiteral("old entry\r\n"));
        errorListWindow().show();
        QVERIFY(QTest::qWaitForWindowExposed(&errorListWindow()));

        control<QPushButton>(errorListWindow(), "CmdRefresh")->click();

        const auto& shown = boxes.service().shown();
        if (errors == 0) {
            QCOMPARE(shown.size(), size_t(1));
            QCOMPARE(shown.front().text, Passed);
            QCOMPARE(shown.front().title, QStringLiteral("Quillar-Validation"));
            QCOMPARE(shown.front().buttons(), int(forms::OKOnly));
            QCOMPARE(shown.front().icon(), 0);
            QCOMPARE(mainWindow().toolbarCaption.value(2), QStringLiteral("&Import"));
            QCOMPARE(mainWindow().mnuFileStartImportCaption, QStringLiteral("&Import"));
            QCOMPARE(f.programSession.importLog().text(), QString());
            QCOMPARE(errorListWindow().listView1()->count(), 0);
        } else {
            for (const auto& box : shown)
                QVERIFY2(box.text != Passed, "a failed file was reported as passed");
            QCOMPARE(mainWindow().toolbarCaption.value(2), QStringLiteral("&Validate"));
            QCOMPARE(mainWindow().mnuFileStartImportCaption, QStringLiteral("&Validate"));
            if (errors > 0) {
                QCOMPARE(errorListWindow().listView1()->count(), errors);
                QCOMPARE(f.programSession.importLog().text(),
                         errorListWindow().listView1()->item(1)->text() + QStringLiteral("\r\n"));
            }
        }
        QVERIFY(!f.programSession.importLog().text().contains(QLatin1String("old entry")));
        QVERIFY(errorListWindow().isVisible());
        QCOMPARE(postedDocuments(), postedBefore);
    }

    void printing_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<int>("lines");
        QTest::addColumn<bool>("severalPages");
        QTest::addRow("empty log from the import log") << "frmErrors" << 0 << false;
        QTest::addRow("one line from the error list") << "FrmErrlog" << 1 << false;
        QTest::addRow("long log from the import log") << "frmErrors" << 200 << true;
        QTest::addRow("long log from the error list") << "FrmErrlog" << 200 << true;
    }

    // Both windows print the import log (never the list) on the printer chosen in
    // the combo, within one-inch margins; an empty log is one blank page.
    void printing()
    {
        QFETCH(QString, from);
        QFETCH(int, lines);
        QFETCH(bool, severalPages);
        if (QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty() ||
            QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
            QSKIP("poppler-utils are not installed: run scripts/deps");
        ScopedPrinters printers({"Reception", "Office"}, "Office");
        mainwindow::ScopedPdfLogPrintTarget target;
        Fixture f;
        target.service().pdfFile = f.dir.filePath(QStringLiteral("log.pdf"));
        QString log;
        for (int i = 1; i <= lines; ++i)
            log += QStringLiteral("Account No C%1 does not exist in Vorlen  Row %1\r\n").arg(i);
        f.programSession.importLog().setTxtImportText(log);
        f.programSession.errorList().addListView1Row(1, QStringLiteral("Only in the list"), "1", "1", "v");

        QWidget& window = from == QLatin1String("frmErrors") ? static_cast<QWidget&>(importLogWindow())
                                                             : static_cast<QWidget&>(errorListWindow());
        control<QComboBox>(window, "cmbPrinter")->setCurrentIndex(0);
        control<QPushButton>(window, "btnPrint")->click();
        QCOMPARE(target.service().printersAsked, QStringList{QStringLiteral("Reception")});

        const QString pdf = target.service().pdfFile;
        if (qEnvironmentVariableIsSet("QUILLAR_KEEP_TEST_FILES"))
            QFile::copy(pdf, QDir::temp().filePath(
                                 QStringLiteral("tst_viewers %1.pdf").arg(QTest::currentDataTag())));
        const int pages = pdfPages(pdf);
        if (severalPages)
            QVERIFY2(pages > 1, qPrintable(QString::number(pages)));
        else
            QCOMPARE(pages, 1);
        const QString text = pdfText(pdf);
        QVERIFY(!text.contains(QLatin1String("Only in the list")));
        QSize page;
        const QRect ink = inkOfFirstPage(pdf, &page);
        if (lines == 0) {
            QVERIFY2(ink.isNull(), "an empty log prints a blank page");
            return;
        }
        QVERIFY(text.contains(QLatin1String("Account No C1 does not exist")));
        QVERIFY(!ink.isNull());
        QVERIFY2(QRect(QPoint(72, 72), page - QSize(144, 144)).adjusted(-1, -1, 1, 1).contains(ink),
                 qPrintable(QStringLiteral("ink %1,%2 %3x%4 on %5x%6")
                                .arg(ink.x())
                                .arg(ink.y())
                                .arg(ink.width())
                                .arg(ink.height())
                                .arg(page.width())
                                .arg(page.height())));
        QVERIFY2(ink.left() < 80 && ink.top() < 90, "the text starts at the margins");
    }

    void printingWithoutAPrinter_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addRow("import log") << "frmErrors";
        QTest::addRow("error list") << "FrmErrlog";
    }

    // No printer installed: said plainly, and nothing is sent anywhere.
    void printingWithoutAPrinter()
    {
        QFETCH(QString, from);
        forms::ScopedScriptedMessages boxes;
        ScopedPrinters printers({}, {});
        mainwindow::ScopedPdfLogPrintTarget target;
        Fixture f;
        f.programSession.importLog().setTxtImportText(QStringLiteral("Account No C1 does not exist\r\n"));
        QWidget& window = from == QLatin1String("frmErrors") ? static_cast<QWidget&>(importLogWindow())
                                                             : static_cast<QWidget&>(errorListWindow());
        control<QPushButton>(window, "btnPrint")->click();
        QCOMPARE(boxes.service().shown().size(), size_t(1));
        QCOMPARE(boxes.service().shown()[0].text,
                 QStringLiteral("No printer is installed on this computer: the import log cannot be printed."));
        QCOMPARE(target.service().printersAsked, QStringList{});
    }

    // "&Open in Notepad" hands the editor a new owner-only file holding the log as it
    // stands; nothing is typed anywhere.
    void openInNotepad_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addRow("import log") << "frmErrors";
        QTest::addRow("error list") << "FrmErrlog";
    }

    void openInNotepad()
    {
        QFETCH(QString, from);
        ScopedEditor editor("gedit +{line} {file}");
        shell::ScopedRecordingProgramStarter starter;
        Fixture f;
        const QString log = QStringLiteral("Account No C999 does not exist  Row 2\r\nSecond line\r\n");
        f.programSession.importLog().setTxtImportText(log);
        QWidget& window = from == QLatin1String("frmErrors") ? static_cast<QWidget&>(importLogWindow())
                                                             : static_cast<QWidget&>(errorListWindow());
        control<QPushButton>(window, "CmdOpeninNotePad")->click();
        control<QPushButton>(window, "CmdOpeninNotePad")->click();

        const auto& started = starter.starter().started();
        QCOMPARE(started.size(), size_t(2));
        QCOMPARE(started[0].program, QStringLiteral("gedit"));
        QCOMPARE(started[0].arguments.size(), 2);
        QCOMPARE(started[0].arguments.at(0), QStringLiteral("+1"));
        const QString file = started[0].arguments.at(1);
        QVERIFY2(file != started[1].arguments.at(1), "each click writes a new file");
        QFile written(file);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), log.toUtf8());
        struct stat info
        {
        };
        QCOMPARE(::stat(QFile::encodeName(file).constData(), &info), 0);
        QCOMPARE(int(info.st_mode & 0777), 0600);
        QCOMPARE(info.st_uid, ::getuid());
        for (const auto& s : started)
            QFile::remove(s.arguments.at(1));
    }

    // Where no text editor can be started, "&Open in Notepad" shows the log in the
    // read-only viewer over its window, and the copy it wrote for the editor is gone:
    // nothing else would ever remove it.
    void openInNotepadWithoutEditor_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QByteArray>("editor");
        QTest::addRow("import log, the editor named is missing")
            << "frmErrors" << QByteArray("/nonexistent/quillar-editor {file}");
        QTest::addRow("error list, the editor named is missing")
            << "FrmErrlog" << QByteArray("/nonexistent/quillar-editor {file}");
        QTest::addRow("import log, no editor named, no opener on PATH") << "frmErrors" << QByteArray();
        QTest::addRow("error list, no editor named, no opener on PATH") << "FrmErrlog" << QByteArray();
    }

    void openInNotepadWithoutEditor()
    {
        QFETCH(QString, from);
        QFETCH(QByteArray, editor);
        QTemporaryDir emptyBin;
        QTemporaryDir temp;
        const QByteArray previousPath = qgetenv("PATH");
        const QByteArray previousTemp = qgetenv("TMPDIR");
        qputenv("PATH", QFile::encodeName(emptyBin.path()));
        qputenv("TMPDIR", QFile::encodeName(temp.path()));
        const auto restore = qScopeGuard([&] {
            qputenv("PATH", previousPath);
            qputenv("TMPDIR", previousTemp);
        });
        ScopedEditor command(editor);
        forms::ScopedScriptedMessages boxes;
        Fixture f;
        const QString log = QStringLiteral("Account No C999 does not exist  Row 2\r\nSecond line\r\n");
        f.programSession.importLog().setTxtImportText(log);
        QWidget& window = from == QLatin1String("frmErrors") ? static_cast<QWidget&>(importLogWindow())
                                                             : static_cast<QWidget&>(errorListWindow());
        window.show();
        control<QPushButton>(window, "CmdOpeninNotePad")->click();

        QVERIFY(boxes.service().shown().empty());
        QCOMPARE(QDir(temp.path()).entryList({QStringLiteral("quillar-import-log*")}, QDir::Files),
                 QStringList{});
        const auto viewers = shownViewers();
        QCOMPARE(viewers.size(), 1);
        QCOMPARE(viewers.front()->parentWidget(), &window);
        QVERIFY(viewers.front()->textView()->isReadOnly());
        QCOMPARE(viewers.front()->textView()->toPlainText(),
                 QStringLiteral("Account No C999 does not exist  Row 2\nSecond line"));
        viewers.front()->close();
        window.hide();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void doubleClick_data()
    {
        QTest::addColumn<QByteArray>("editor");
        QTest::addColumn<bool>("editorStarts");
        QTest::addColumn<bool>("viewer");
        QTest::addColumn<bool>("fileExists");
        QTest::addRow("an editor that takes a line")
            << QByteArray("gedit +{line} {file}") << true << false << true;
        QTest::addRow("an opener without a line: our viewer")
            << QByteArray("xdg-open {file}") << true << true << true;
        QTest::addRow("an editor that cannot start: our viewer")
            << QByteArray("gedit +{line} {file}") << false << true << true;
        QTest::addRow("a missing import file: told, no editor")
            << QByteArray("gedit +{line} {file}") << true << false << false;
    }

    // A double-click on an error opens the import file at the error's line: in the
    // editor when it takes a line, else in the read-only viewer with the value marked.
    void doubleClick()
    {
        QFETCH(QByteArray, editor);
        QFETCH(bool, editorStarts);
        QFETCH(bool, viewer);
        QFETCH(bool, fileExists);
        forms::ScopedScriptedMessages boxes;
        ScopedEditor command(editor);
        shell::ScopedRecordingProgramStarter starter;
        starter.starter().result = editorStarts;
        Fixture f;
        const QString path =
            f.selectImport(QStringLiteral("errors.csv"), GoodLine + GoodLine + UnknownCustomerLine);
        if (!fileExists)
            QVERIFY(QFile::remove(path));
        f.programSession.errorList().addListView1Row(1, QStringLiteral("Account No XYZ999 does not exist"),
                                                     QStringLiteral(" 3 "), QStringLiteral("2"),
                                                     QStringLiteral(" XYZ999 "));
        FrmErrlog& window = errorListWindow();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        widgets::ListView* list = window.listView1();
        const QRect cell = list->visualItemRect(list->item(1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());

        const auto viewers = shownViewers;
        const auto& started = starter.starter().started();
        if (!fileExists) {
            QVERIFY(started.empty());
            QCOMPARE(boxes.service().shown().size(), size_t(1));
            QVERIFY(boxes.service().shown().front().text.startsWith(
                QStringLiteral("Unable to open the import file ") + path));
            QVERIFY(viewers().isEmpty());
            return;
        }
        if (editor.contains("{line}")) {
            QCOMPARE(started.size(), size_t(1));
            QCOMPARE(started[0].program, QStringLiteral("gedit"));
            QCOMPARE(started[0].arguments, (QStringList{QStringLiteral("+3"), path}));
        } else {
            QVERIFY(started.empty());
        }
        if (!viewer) {
            QVERIFY(viewers().isEmpty());
            return;
        }
        QCOMPARE(viewers().size(), 1);
        mainwindow::ReadOnlyFileViewer* shown = viewers().front();
        QCOMPARE(shown->filePath(), path);
        QCOMPARE(shown->currentLine(), 3);
        QCOMPARE(shown->markedText(), QStringLiteral("XYZ999"));
        QVERIFY(shown->textView()->isReadOnly());
        shown->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(viewers().isEmpty());
    }

    // The viewer closes with its "&Close" button, Esc and Ctrl+W, each delivered as
    // the window system delivers it: without a window manager there is no close box.
    void viewerCloses_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addRow("the Close button") << "button";
        QTest::addRow("Esc") << "Esc";
        QTest::addRow("Ctrl+W") << "Ctrl+W";
    }

    void viewerCloses()
    {
        QFETCH(QString, how);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("one.csv"));
        Fixture::write(path, GoodLine);
        QPointer<mainwindow::ReadOnlyFileViewer> viewer(
            mainwindow::ReadOnlyFileViewer::showFile(path, 1, QString()));
        QVERIFY(viewer);
        QVERIFY(QTest::qWaitForWindowExposed(viewer));
        auto* close = control<QPushButton>(*viewer, "btnClose");
        QCOMPARE(close->text(), QStringLiteral("&Close"));
        QVERIFY(close->isVisible());
        if (how == QLatin1String("button"))
            clickThroughWindow(close);
        else if (how == QLatin1String("Esc"))
            QTest::keyClick(viewer->windowHandle(), Qt::Key_Escape);
        else
            QTest::keyClick(viewer->windowHandle(), Qt::Key_W, Qt::ControlModifier);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY2(!viewer, "the viewer is still open");
    }

    // The error list is shown application-modal, as the main window shows it; the
    // viewer its double-click opens takes keys and clicks all the same, and closes.
    void viewerUsableOverModalErrorList()
    {
        forms::ScopedScriptedMessages boxes;
        ScopedEditor command("xdg-open {file}"); // takes no line: our viewer
        shell::ScopedRecordingProgramStarter starter;
        Fixture f;
        f.selectImport(QStringLiteral("errors.csv"), GoodLine + GoodLine + UnknownCustomerLine);
        f.programSession.errorList().addListView1Row(1, QStringLiteral("Account No XYZ999 does not exist"),
                                                     QStringLiteral("3"), QStringLiteral("2"),
                                                     QStringLiteral("XYZ999"));
        FrmErrlog& window = errorListWindow();
        bool ran = false;
        QTimer::singleShot(0, &window, [&] {
            ran = true;
            const auto finish = qScopeGuard([&] { window.hide(); });
            QCOMPARE(QApplication::activeModalWidget(), &window);
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            widgets::ListView* list = window.listView1();
            const QRect cell = list->visualItemRect(list->item(1));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
            QCOMPARE(shownViewers().size(), 1);
            QPointer<mainwindow::ReadOnlyFileViewer> viewer(shownViewers().front());
            QVERIFY(QTest::qWaitForWindowExposed(viewer));
            QCOMPARE(viewer->currentLine(), 3);
            QTest::keyClick(viewer->windowHandle(), Qt::Key_Home, Qt::ControlModifier);
            QCOMPARE(viewer->currentLine(), 1);
            clickThroughWindow(control<QPushButton>(*viewer, "btnClose"));
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY2(!viewer, "the viewer did not close");
            QVERIFY(window.isVisible());
        });
        window.showModal();
        QVERIFY(ran);
        QVERIFY(!window.isVisible());
    }

    void viewerMarks_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("shownLine");
        QTest::addColumn<QString>("marked");
        QTest::addRow("the value on its line") << 2 << "P1" << 2 << "P1";
        QTest::addRow("no value: the whole line") << 2 << "" << 2 << "I,C002,01/12/2026,P1,2,10";
        QTest::addRow("value only further down") << 1 << "C003" << 3 << "C003";
        QTest::addRow("row 0: the first line") << 0 << "" << 1 << "I,C001,01/12/2026,P1,2,10";
        QTest::addRow("past the end: the last line") << 99 << "" << 3 << "I,C003,01/12/2026,P1,2,10";
    }

    void viewerMarks()
    {
        QFETCH(int, line);
        QFETCH(QString, value);
        QFETCH(int, shownLine);
        QFETCH(QString, marked);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("three.csv"));
        Fixture::write(
            path, "I,C001,01/12/2026,P1,2,10\r\nI,C002,01/12/2026,P1,2,10\r\nI,C003,01/12/2026,P1,2,10\r\n");
        std::unique_ptr<mainwindow::ReadOnlyFileViewer> viewer(
            mainwindow::ReadOnlyFileViewer::showFile(path, line, value));
        QVERIFY(viewer);
        viewer->setAttribute(Qt::WA_DeleteOnClose, false);
        QCOMPARE(viewer->currentLine(), shownLine);
        QCOMPARE(viewer->markedText(), marked);
    }

    void viewerOfMissingFileTellsTheUser()
    {
        forms::ScopedScriptedMessages boxes;
        QTemporaryDir dir;
        QVERIFY(!mainwindow::ReadOnlyFileViewer::showFile(dir.filePath(QStringLiteral("gone.csv")), 1, "x"));
        QCOMPARE(boxes.service().shown().size(), size_t(1));
        QVERIFY(boxes.service().shown().front().text.contains(QLatin1String("gone.csv")));
    }

private:
    QTemporaryDir m_demoRoot;
};

QTEST_MAIN(tst_viewers)
#include "tst_viewers.moc"
