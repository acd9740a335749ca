#pragma once

#include "app/session/ProgramSession.h"

#include "platform/forms/End.h"
#include "platform/forms/FileDialog.h"
#include "platform/forms/MessageService.h"
#include "platform/forms/Timer.h"

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

class frmmain;

// The real main window with the program's forms, over a company of the package
// stand-in with its settings and layout; boxes, file dialogs, timers and the end of
// the program scripted. The libraries must be registered (registerLibraries) once.
struct MainWindowFixture
{
    // Registers the V23 engine and the user-control library into the test's hives;
    // false when they are not built.
    static bool registerLibraries();

    // programType: the edition the company's package reports (1 "Ferriby", 2 "Aldwick Plus");
    // programFolder: the program's folder (the build's bin folder when empty).
    explicit MainWindowFixture(int programType = 1, const QString& programFolder = {});
    // On the demo folder of scripts/run-demo instead (its company and settings, the
    // hives the environment names): nothing is made.
    struct OnDemo
    {
        QString folder;
    };
    explicit MainWindowFixture(const OnDemo& demo);
    ~MainWindowFixture();
    MainWindowFixture(const MainWindowFixture&) = delete;
    MainWindowFixture& operator=(const MainWindowFixture&) = delete;

    // The window's default instance (loading it runs Form_Load).
    frmmain& window();
    void writeFile(const QString& name, const QByteArray& bytes) const;
    QString path(const QString& name) const { return dir.filePath(name); }
    // Documents posted to the company.
    qsizetype posted() const;

    // The window as the login form shows it (user and version labels), at
    // 900 x 600 in the screen's corner: the picture programs' start.
    frmmain& showAfterLogin(const QString& user = QStringLiteral("MANAGER"));

    // Batch mode offered (before the window loads): the folders "source",
    // "success" and "error" made in the fixture's folder, the interval setting as
    // given, the journal in the fixture's folder too.
    void enableBatchMode(const QString& interval);
    QString batchFolder(const char* name) const { return path(QLatin1String(name)); }
    // "Now" stands at `at` until the fixture ends; advanceClock moves it on.
    void setClock(const QDateTime& at);
    void advanceClock(int seconds);

    forms::ScopedRecordedEnd end;
    forms::ScopedScriptedMessages boxes;
    forms::ScopedScriptedFileDialogs dialogs;
    forms::ScopedManualTimers manualTimers;
    QTemporaryDir dir;
    QString company;
    session::ProgramSession programSession;

private:
    std::shared_ptr<QDateTime> m_now;
};

// Hides every modal window as soon as it shows and records its name, so that a
// handler that shows a form modal returns.
class ModalCloser : public QObject
{
public:
    ModalCloser();
    QStringList closed;

private:
    QTimer m_poll;
};

// The boxes shown, each "title: text".
QStringList shownTexts(const forms::ScriptedMessageService& boxes);

// A small invoice file in the fixture's layout (type, account, date, product,
// quantity, price): `documents` invoices of two lines each.
QByteArray invoiceLines(int documents);
