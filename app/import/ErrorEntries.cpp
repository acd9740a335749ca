#include "app/import/ErrorEntries.h"

#include "app/import/ErrorListView.h"
#include "app/import/ImportContext.h"
#include "app/import/ImportLogView.h"
#include "app/import/ImportMessages.h"
#include "app/import/MainWindowView.h"

namespace importer {

void AddErrorLogEntry(ImportContext& context, int32_t errNo, int32_t row, int32_t column,
                      const QString& message, const QString& fieldValue)
{
    context.errorList.addListView1Row(errNo, message, QString::number(row), QString::number(column),
                                      fieldValue);
    if (context.state.batch.BatchRunning)
        addBatchError(context.state.batch, message + QLatin1String("  row ") + QString::number(row) +
                                               QLatin1String(" Column ") + QString::number(column));
}

void recordError(ImportContext& context, const QString& message, int32_t row, int32_t column,
                 const QString& fieldValue)
{
    auto& pass = context.state.pass;
    pass.ErrMsg = message;
    pass.ErrCount += 1;
    context.importLog.appendTxtImportText(pass.ErrMsg + QLatin1String("\r\n"));
    AddErrorLogEntry(context, pass.ErrCount, row, column, pass.ErrMsg, fieldValue);
}

void ShowErrorIndicator(ImportContext& context)
{
    auto& w = context.mainWindow;
    w.setToolbarButtonEnabled(1, true);
    w.setErrorsFoundIMG(true, true);
    w.setNoErrorFoundIMG(false, true);
    w.setImgRedVisible(false);
}

void ShowValidationFailed(ImportContext& context)
{
    auto& w = context.mainWindow;
    w.setToolbarButtonEnabled(1, true);
    w.setToolbarButtonEnabled(3, true);
    w.setErrorsFoundIMG(true, true);
    w.setNoErrorFoundIMG(false, true);
    w.setImgRedVisible(false);
    w.setMnuFileViewErrorsEnabled(true);
}

void ShowValidationPassed(ImportContext& context)
{
    auto& w = context.mainWindow;
    w.setToolbarButtonEnabled(1, false);
    w.setNoErrorFoundIMG(true, true);
    w.setErrorsFoundIMG(false, true);
    w.setImgRedVisible(false);
}

void ResetImportStatus(ImportContext& context)
{
    auto& w = context.mainWindow;
    w.setValidationProgressBarValue(0);
    w.setTxtImportFile(context.state.batch.CurrentFilePath);
    w.setErrorsFoundIMG(false, false);
    w.setNoErrorFoundIMG(true, true);
    w.setTxtLineNo(QString());
    w.setTxtCurrentLine(QString());
    w.setLblStatus(QString()); // a status text: empty, not a counter
    w.stopAnimation1();
    w.setAnimation1Visible(false);
    w.setToolbarButtonEnabled(2, false);
    w.setMnuFilenewEnabled(false);
    w.setMnuFileViewErrorsEnabled(false);
    w.setToolbarButtonEnabled(3, false);
    w.setToolbarButtonEnabled(4, false);
    w.setToolbarButtonEnabled(5, false);
    w.setToolbarButtonCaption(2, QStringLiteral("&Validate"));
}

} // namespace importer
