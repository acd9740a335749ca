#include "app/import/ImportMessages.h"

#include "app/import/ImportContext.h"

namespace importer {

void addBatchError(BatchState& batch, const QString& text)
{
    // Each entry becomes one line of the failed file's error file.
    QString entry = text;
    entry.remove(QLatin1Char('\r'));
    entry.remove(QLatin1Char('\n'));
    batch.BatchErrors.push_back(entry);
}

forms::Answer importMessage(ImportContext& context, const QString& text, int32_t style, const QString& title)
{
    if (context.state.batch.BatchRunning) {
        addBatchError(context.state.batch, text);
        return forms::defaultAnswer(style);
    }
    return forms::MsgBox(text, style, title);
}

} // namespace importer
