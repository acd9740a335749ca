#include "app/import/driver/ImportDriver.h"

#include "app/import/ErrorEntries.h"
#include "app/import/ErrorListView.h"
#include "app/import/ImportContext.h"
#include "app/import/ImportLogView.h"
#include "app/import/ImportMessages.h"
#include "app/import/MainWindowView.h"
#include "app/import/StageOne.h"
#include "app/import/StageTwo.h"
#include "app/import/VorlenConnection.h"
#include "app/import/checks/FieldChecks.h"

#include "platform/basic/Dates.h"
#include "platform/basic/RuntimeError.h"
#include "platform/forms/MessageService.h"

#include <memory>
#include <new>

namespace importer {

namespace {

const char* const FailedValidation = "Unable to import the invoice file as the file has failed validation";

class ImportDriverRun
{
public:
    explicit ImportDriverRun(ImportContext& context)
        : m_context(context), m_state(context.state), m_window(context.mainWindow)
    {
    }

    void run()
    {
        try {
            runImport();
        } catch (const basic::RuntimeError& e) {
            handleRuntimeError(e.number());
        } catch (const std::bad_alloc&) {
            handleRuntimeError(7); // out of memory
        }
    }

private:
    bool batch() const { return m_state.batch.BatchRunning; }
    bool logEmpty() const { return m_context.importLog.txtImportText().isEmpty(); }
    void closeImportFile() { m_state.line.ImportFile.reset(); }

    void lockToolbarInBatch()
    {
        if (!batch())
            return;
        m_window.setToolbarButtonCaption(2, QStringLiteral("&Validate"));
        m_window.setToolbarButtonEnabled(2, false);
        m_window.setToolbarButtonEnabled(1, false);
        m_window.setToolbarButtonEnabled(6, false);
    }

    // Every stop after stage one began: the connection and the file are closed.
    void stopFailed(bool showErrorList)
    {
        m_window.setToolbarButtonCaption(3, QStringLiteral("Error Log"));
        closeImportFile();
        if (showErrorList && !batch())
            m_context.errorList.showModal();
        DisconnectFromVorlen(m_context);
        m_window.setLblStatus(QString());
        ShowValidationFailed(m_context);
    }

    void showFailedValidation()
    {
        forms::MsgBox(QLatin1String(FailedValidation) +
                          QStringLiteral(". Please correct these problems before retrying the import."),
                      forms::Exclamation, QStringLiteral("Quillar Validation"));
    }

    void runImport()
    {
        auto& pass = m_state.pass;
        auto& driver = m_state.driver;
        pass.StageOneCompleted = true;
        m_context.importLog.setTxtImportText(QString());
        lockToolbarInBatch();
        driver.LockDownEnabled = false;
        driver.LockDownHit = false;

        ValidateImportFile(m_context, QStringLiteral("frmmain"), QStringLiteral("validate"));
        lockToolbarInBatch();
        if (!pass.StageOneCompleted) {
            // Stage one has said why it stopped.
            closeImportFile();
            pass.ValidateOK = false;
            DisconnectFromVorlen(m_context);
            m_window.setLblStatus(QString());
            ShowValidationFailed(m_context);
            return;
        }
        if (!logEmpty()) {
            pass.ValidateOK = false;
            if (batch())
                addBatchError(m_state.batch, QLatin1String(FailedValidation));
            else
                showFailedValidation();
            stopFailed(true);
            return;
        }

        ShowValidationPassed(m_context);
        PostImportFile(m_context, QStringLiteral("frmmain"), QStringLiteral("validate"));
        checkLockDown();
        if (!logEmpty()) {
            if (!batch())
                showFailedValidation();
            pass.ValidateOK = false;
            pass.ImportOK = false;
            stopFailed(true);
            return;
        }

        driver.ConfirmText = pass.ImportToSop == 1 ? QStringLiteral("Proceed with SOP import?")
                                                   : QStringLiteral("Proceed with invoice import?");
        if (!batch() && forms::MsgBox(driver.ConfirmText, forms::YesNo | forms::Question | forms::DefaultButton2,
                                      QStringLiteral("Confirm")) == forms::AnswerNo) {
            m_window.setMnuFileStartImportCaption(QStringLiteral("&Import"));
            m_window.setToolbarButtonCaption(2, QStringLiteral("&Import"));
            m_window.setLblStatus(QString());
            closeImportFile();
            m_window.setToolbarButtonEnabled(1, true);
            m_window.setMnuFilenewEnabled(true);
            m_window.setMnuFileStartImportEnabled(true);
            DisconnectFromVorlen(m_context);
            return;
        }

        m_context.importLog.setTxtImportText(QString());
        m_window.setLblStatus(QString());
        m_window.setAnimation1Visible(true);
        m_window.setValidationProgressBarVisible(true);
        m_window.playAnimation1(m_context.programFolder + QStringLiteral("/import.dll"));
        if (m_state.batch.ImportPassStarting)
            m_state.batch.ImportPassStarting(m_state.batch.PassDocuments);
        PostImportFile(m_context, QStringLiteral("frmmain"), QStringLiteral("import"));
    }

    // The closed-ledger date of the package versions that have one.
    void checkLockDown()
    {
        auto& driver = m_state.driver;
        if (!hasLockDownDate(m_window.lblCorvelVersion()) || !driver.LockDownHit)
            return;
        const QString date = basic::formatDate(driver.LockDownDate);
        if (batch()) {
            logLockDown(date);
            return;
        }
        const forms::Answer answer =
            forms::MsgBox(QStringLiteral("Lock down date is ") + date +
                              QStringLiteral(" There are transactions on or before this date - do you want to "
                                             "override"),
                          forms::YesNo, QStringLiteral("Override Lock Down Date"));
        driver.OverrideAnswer = QString::number(int32_t(answer));
        if (answer == forms::AnswerNo)
            logLockDown(date);
    }

    // The entry's text names the date of the first document on or before the
    // lock-down date; its value stays the fixed "0" of an entry of no field.
    void logLockDown(const QString& lockDownDate)
    {
        recordError(m_context,
                    QStringLiteral("Lock down date is  ") + lockDownDate +
                        QStringLiteral(" There are transactions on or before this date ") +
                        m_state.driver.LockDownValue + QStringLiteral(". Row 0 column 0."),
                    0, 0, QStringLiteral("0"));
    }

    void handleRuntimeError(int32_t number)
    {
        m_state.pass.ImportOK = false;
        try {
            m_window.setLblStatus(QString());
            const auto report = [this](const QString& message, int32_t style, const QString& title,
                                       const QString& batchText) {
                if (batch())
                    addBatchError(m_state.batch, batchText);
                else
                    forms::MsgBox(message, style, title);
            };
            if (number == basic::err::TypeMismatch) {
                report(QStringLiteral("Numeric field contains invalid characters, Please check file structure in "
                                      "settings and try again."),
                       forms::Information, QStringLiteral("Import"),
                       QStringLiteral("field contains invalid values -check file structure"));
                closeImportFile();
            } else if (number == basic::err::FileNotFound) {
                report(QStringLiteral("File not found, Please check file structure in settings and try again."),
                       forms::Information, QStringLiteral("Import"),
                       QStringLiteral("file not found - check location/settings"));
                closeImportFile();
            } else {
                report(QStringLiteral("An error has occurred, error number ") + QString::number(number) +
                           QStringLiteral(" ") + m_state.pass.CurrentStep +
                           QStringLiteral(". Please check file structure"),
                       forms::OKOnly, QStringLiteral("Quillar Error"),
                       QStringLiteral("An error has occurred  error no ") + QString::number(number));
                m_window.setLblStatus(QString());
                closeImportFile();
                ShowErrorIndicator(m_context);
            }
        } catch (const basic::RuntimeError&) {
            // A window that fails while the error is reported must not end the program.
            closeImportFile();
        }
    }

    ImportContext& m_context;
    ImportState& m_state;
    MainWindowView& m_window;
};

} // namespace

void RunImport(ImportContext& context)
{
    // Every import checks every field: a context built without checks gets them.
    if (!context.lineChecks) {
        context.ownedLineChecks = std::make_unique<FieldChecks>();
        context.lineChecks = context.ownedLineChecks.get();
    }
    ImportDriverRun(context).run();
}

} // namespace importer
