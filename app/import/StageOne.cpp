#include "app/import/StageOne.h"

#include "app/import/ErrorEntries.h"
#include "app/import/ErrorListView.h"
#include "app/import/ImportContext.h"
#include "app/import/ImportLine.h"
#include "app/import/ImportLogView.h"
#include "app/import/ImportMessages.h"
#include "app/import/LayoutFiles.h"
#include "app/import/LineChecks.h"
#include "app/import/MainWindowView.h"
#include "app/import/VorlenConnection.h"

#include "platform/automation/Object.h"
#include "platform/basic/Conversions.h"
#include "platform/basic/FileIO.h"
#include "platform/basic/RuntimeError.h"
#include "platform/settings/SettingsStore.h"

#include <new>

namespace importer {

namespace {

constexpr int32_t MaxFileLines = 32000;
constexpr int32_t MaxDocumentLines = 1000;

QString num(int32_t n)
{
    return QString::number(n);
}

ObjectRef createPackageObject(ImportContext& context, const char* name)
{
    return automation::toObject(context.state.package.VdoWorkspace->call(QStringLiteral("CreateObject"),
                                                                         {QString::fromLatin1(name)}));
}

class StageOneRun
{
public:
    StageOneRun(ImportContext& context, const QString& callerForm, const QString& mode)
        : m_context(context), m_state(context.state), m_window(context.mainWindow), m_callerForm(callerForm),
          m_validateMode(mode == QLatin1String("validate") || mode == QLatin1String("VALIDATE")),
          m_importMode(mode == QLatin1String("import") || mode == QLatin1String("IMPORT"))
    {
    }

    void run()
    {
        try {
            if (!checkFile())
                return;
            walkLines();
        } catch (const basic::RuntimeError& e) {
            handleRuntimeError(e.number());
        } catch (const std::bad_alloc&) {
            handleRuntimeError(7); // out of memory
        }
    }

private:
    bool batch() const { return m_state.batch.BatchRunning; }

    void stopAnimation()
    {
        if (m_importMode)
            m_window.stopAnimation1();
    }

    // Every early exit of the file checks.
    void stageOneStop()
    {
        ShowErrorIndicator(m_context);
        m_state.pass.StageOneCompleted = false;
    }

    void closeImportFile() { m_state.line.ImportFile.reset(); }

    // Steps up to the connection; false when the stage stopped.
    bool checkFile()
    {
        auto& pass = m_state.pass;
        auto& layout = m_state.layout;

        pass.FileValid = false;
        layout.TaxCodeMapped = false;
        pass.ValidateOK = false;
        pass.ImportOK = false;
        // Nothing of an earlier pass may label or number this pass's entries: a
        // file-level error is row 0, and the list and the count start afresh.
        m_state.line.Row = 0;
        pass.ErrCount = 0;
        m_context.errorList.clearListView1();
        m_window.setErrorsFoundIMG(false, true);
        m_window.setNoErrorFoundIMG(false, true);
        m_window.setImgRedVisible(true);

        pass.ImportToSop = basic::CInt(settings::readSetting(QStringLiteral("iors"), QStringLiteral("0")));
        pass.TransNoFromFile =
            basic::CInt(settings::readSetting(QStringLiteral("importtransno"), QStringLiteral("0")));
        layout.ColPos.fill(0);
        const QString folder = LayoutFiles::configFolder();

        m_window.setValidationProgressBarValue(0);
        m_window.setLblStatus(QStringLiteral("Stage One - Opening File. "));
        if (batch()) {
            m_window.setToolbarButtonCaption(2, QStringLiteral("&Validate"));
            m_window.setToolbarButtonEnabled(2, false);
            m_window.setToolbarButtonEnabled(1, false);
            m_window.setToolbarButtonEnabled(6, false);
        }

        const ImportLayout read = LayoutFiles::readColumnLayout(LayoutFiles::columnFilePath(folder));
        layout.ColPos = read.colPos;
        layout.LastCol = read.lastCol;
        layout.TaxCodeMapped = read.taxCodeMapped;
        pass.RateValid = true;
        pass.AmountValid = true;

        if (const auto titles = LayoutFiles::readGroupTitles(LayoutFiles::groupFilePath(folder)))
            layout.GroupCol = *titles;
        pass.CurrentStep = QStringLiteral("InvoiceGroup");
        layout.GroupSpec = LayoutFiles::buildGroupSpec(layout.GroupCol, layout.ColPos);

        const QString path = m_window.txtImportFile();
        if (path.isEmpty()) {
            stageOneStop();
            return false;
        }
        if (importFileIsEmpty(path)) {
            importMessage(m_context, QStringLiteral("This File is Empty"), forms::OKOnly,
                          QStringLiteral("Quillar"));
            stageOneStop();
            return false;
        }
        if (batch())
            m_window.setMnuFilenewEnabled(false);

        if (m_validateMode) {
            m_window.setAnimation1Visible(false);
            m_window.setValidationProgressBarVisible(true);
        } else {
            m_window.playAnimation1(m_context.programFolder + QStringLiteral("/import.dll"));
        }

        layout.ExpectedCommas = int16_t(layout.LastCol - 1);
        int32_t firstLineCommas = 0;
        int32_t counter = 1;
        {
            const auto file = openImportFile(path, batch());
            firstLineCommas = countCommas(file->lineInput());
            while (!file->eof() && counter < MaxFileLines + 1) {
                m_window.setLblStatus(QStringLiteral("Stage One - Reading File. Record ") + num(counter));
                const QString text = file->lineInput();
                m_window.setTxtLineNo(num(counter));
                m_window.setTxtCurrentLine(text);
                ++counter;
            }
            file->close();
        }
        pass.CurrentStep = QStringLiteral("LineCountChk");
        if (counter > MaxFileLines) {
            importMessage(
                m_context,
                QStringLiteral("Quillar will not import files greater than 32,000 lines, please split "
                               "into smaller files"),
                forms::OKOnly);
            stageOneStop();
            return false;
        }
        m_window.setValidationProgressBarMax(counter + 1);

        if (layout.LastCol == 0) {
            importMessage(m_context,
                          QStringLiteral("File Structure has not been setup - Please setup in settings"),
                          forms::OKOnly, QStringLiteral("Quillar"));
            stopAnimation();
            stageOneStop();
            return false;
        }
        pass.ErrCount = 0;
        if (firstLineCommas != layout.ExpectedCommas) {
            importMessage(
                m_context,
                QStringLiteral("File is not in the correct format , commas found ") +
                    basic::Str(basic::Variant(firstLineCommas)) + QStringLiteral(".  File structure of ") +
                    basic::Str(basic::Variant(int32_t(layout.LastCol))) + QStringLiteral(" fields expected"),
                forms::OKOnly, QStringLiteral("Tarnby"));
            stopAnimation();
            stageOneStop();
            return false;
        }

        if (settings::readSetting(QStringLiteral("CheckFileFormat"), QStringLiteral("0")) ==
                QLatin1String("1") &&
            !checkEveryLine(path))
            return false;
        return true;
    }

    // The per-line comma check; false when a line failed and the stage stopped.
    bool checkEveryLine(const QString& path)
    {
        const int32_t expected = m_state.layout.ExpectedCommas;
        bool allGood = true;
        const auto file = openImportFile(path, batch());
        int32_t& row = m_state.line.Row;
        row = 0;
        while (!file->eof()) {
            const QString text = file->lineInput();
            ++row; // rows as they stand in the file: the first line is 1
            m_window.setTxtLineNo(num(row));
            m_window.setTxtCurrentLine(text);
            const int32_t commas = countCommas(text);
            m_window.setLblStatus(QStringLiteral("Stage One - Validating File Structure. Record ") +
                                  num(row));
            if (commas != expected) {
                recordError(m_context,
                            QStringLiteral("Line  ") + num(row) + QStringLiteral(" has ") + num(commas) +
                                QStringLiteral(" Commas, should have ") + num(expected) +
                                QStringLiteral(" for a ") + num(expected + 1) +
                                QStringLiteral(" column file"),
                            row, 0);
                allGood = false;
            }
        }
        file->close();
        if (allGood)
            return true;
        // Batch mode has the entries already; nothing else goes to its list.
        if (!batch())
            forms::MsgBox(
                QStringLiteral("Unable to import the customer file as some lines do not have correct "
                               "number of fields"),
                forms::Exclamation, QStringLiteral("Line Columns"));
        m_window.setToolbarButtonCaption(3, QStringLiteral("Error Log"));
        if (!batch())
            m_context.errorList.showModal();
        m_window.setLblStatus(QString());
        stopAnimation();
        stageOneStop();
        return false;
    }

    void finishDocument(int32_t linesInDocument)
    {
        if (linesInDocument <= MaxDocumentLines)
            return;
        const int32_t lastRow = m_state.line.Row - 1;
        m_state.pass.FileValid = false;
        recordError(m_context,
                    QStringLiteral("Maximum of 1000 lines per document allowed ") + QStringLiteral(" Row ") +
                        num(lastRow) + QStringLiteral("."),
                    lastRow, 0);
    }

    void walkLines()
    {
        auto& pass = m_state.pass;
        auto& line = m_state.line;
        auto& package = m_state.package;

        line.ImportFile = openImportFile(m_window.txtImportFile(), batch());
        m_context.errorList.clearListView1();
        pass.ErrCount = 0;
        line.Row = 1;
        if (headingLineSkipped()) {
            ReadImportLine(m_context);
            m_window.setTxtLineNo(num(line.Row));
        }

        if (!ConnectToVorlen(m_context)) {
            closeImportFile();
            pass.StageOneCompleted = false;
            stopAnimation();
            return;
        }

        package.DocumentRec =
            createPackageObject(m_context, pass.ImportToSop == 1 ? "SOPRecord" : "InvoiceRecord");
        package.SalesRec = createPackageObject(m_context, "SalesRecord");
        package.StockRec = createPackageObject(m_context, "StockRecord");
        package.PriceRec = createPackageObject(m_context, "PriceRecord");
        package.SalesDeliveryRec = createPackageObject(m_context, "SalesDeliveryRecord");
        package.CurrencyRec = createPackageObject(m_context, "CurrencyData");
        package.BankRec = createPackageObject(m_context, "BankRecord");
        package.NominalRec = createPackageObject(m_context, "NominalRecord");
        package.ControlDataRec = createPackageObject(m_context, "ControlData");
        package.SetupDataRec = createPackageObject(m_context, "SetupData");
        package.ControlDataRec->call(QStringLiteral("Read"), {int32_t(1)});
        package.SetupDataRec->call(QStringLiteral("Read"), {int32_t(1)});
        pass.StockUnitDP = basic::CDbl(package.SetupDataRec->value({QStringLiteral("STOCK_UNITDP")}));
        pass.StockQtyDP = basic::CDbl(package.SetupDataRec->value({QStringLiteral("STOCK_QTYDP")}));

        pass.FileValid = true;
        int32_t linesInDocument = 0;
        bool lineWasRead = false;
        while (!line.ImportFile->eof()) {
            pass.RateValid = pass.AmountValid = pass.QtyValid = true;
            pass.PaymentValid = pass.PriceValid = pass.DiscPriceValid = true;
            lineWasRead = true;
            m_window.setLblStatus(QStringLiteral("Stage One - Validating File. Record ") + num(line.Row));
            if (batch())
                m_window.setMnuFilenewEnabled(false);
            ReadImportLine(m_context);
            m_window.setTxtLineNo(num(line.Row));

            if (m_context.lineChecks)
                m_context.lineChecks->checkFields(m_context);

            if (line.Row == 1) {
                BuildGroupKey(m_context, line.DocKey);
                line.DocCompareKey = groupCompareKey(m_context);
            }
            line.LineKey.clear();
            AppendGroupKey(m_context, line.LineKey);
            line.LineCompareKey = groupCompareKey(m_context);
            if (line.LineCompareKey != line.DocCompareKey) {
                finishDocument(linesInDocument);
                BuildGroupKey(m_context, line.DocKey);
                line.DocCompareKey = line.LineCompareKey;
                linesInDocument = 1;
            } else {
                ++linesInDocument;
            }

            if (m_context.lineChecks)
                m_context.lineChecks->validateTransactionNo(m_context);

            ++line.Row;
            m_window.setValidationProgressBarValue(line.Row);
        }
        finishDocument(linesInDocument);
        if (!lineWasRead)
            recordError(m_context, QStringLiteral("Nothing to Import "), 0, 0);

        if (pass.ErrCount != 0) {
            pass.ValidateOK = false;
            pass.ImportOK = false;
        }
        package.ControlDataRec->call(QStringLiteral("Close"));
        package.SetupDataRec->call(QStringLiteral("Close"));
        package.DocumentRec.reset();
        package.SalesDeliveryRec.reset();
        package.SalesRec.reset();
        package.StockRec.reset();
        package.PriceRec.reset();
        package.CurrentPost.reset();
        package.BankRec.reset();
        package.CurrencyRec.reset();
        if (m_callerForm == QLatin1String("frmerrlog"))
            closeImportFile();
        line.TotalRows = line.Row;
        if (batch())
            m_window.setMnuFilenewEnabled(false);
    }

    void handleRuntimeError(int32_t number)
    {
        auto& pass = m_state.pass;
        try {
            m_window.setLblStatus(QString());
            stopAnimation();
            const QString entry = QStringLiteral("Error no") + num(number);
            if (number == basic::err::TypeMismatch || number == basic::err::FileNotFound) {
                if (number == basic::err::TypeMismatch)
                    importMessage(
                        m_context,
                        QStringLiteral("Numeric field contains invalid characters, Please check file "
                                       "structure in settings and try again."),
                        forms::Information, QStringLiteral("Quillar - Validation"));
                else
                    importMessage(
                        m_context,
                        QStringLiteral("File not found, Please check file structure in settings and try "
                                       "again."),
                        forms::Information, QStringLiteral("Import"));
                recordError(m_context, entry, m_state.line.Row, 0);
                ShowValidationFailed(m_context);
                closeImportFile();
            } else {
                importMessage(m_context,
                              QStringLiteral("An error has occurred , error number ") + num(number) +
                                  QStringLiteral(" ") + pass.CurrentStep +
                                  QStringLiteral(". Please check file structure"),
                              forms::OKOnly, QStringLiteral("Quillar Error"));
                m_window.setLblStatus(QString());
                disconnectAfterError(m_context);
                closeImportFile();
                recordError(m_context, entry, m_state.line.Row, 0);
                ShowErrorIndicator(m_context);
            }
        } catch (const basic::RuntimeError&) {
            // A window that fails while the error is reported must not end the program.
            closeImportFile();
        }
        pass.StageOneCompleted = false;
        if (batch())
            m_window.setMnuFilenewEnabled(false);
    }

    ImportContext& m_context;
    ImportState& m_state;
    MainWindowView& m_window;
    QString m_callerForm;
    bool m_validateMode;
    bool m_importMode;
};

} // namespace

void ValidateImportFile(ImportContext& context, const QString& callerForm, const QString& mode)
{
    StageOneRun(context, callerForm, mode).run();
}

} // namespace importer
