#include "app/import/ImportMessages.h"

#include "app/import/ImportContext.h"

namespace importer {

void addBatchError(BatchState& batch, const QString& text)
{
    batch.BatchErrors.push_back(text);
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
