#include "app/import/ImportMessages.h"

#include "app/import/ImportContext.h"

namespace importer {

forms::Answer defaultAnswer(int32_t style)
{
    static constexpr forms::Answer buttons[][3] = {
        {forms::AnswerOK, forms::AnswerOK, forms::AnswerOK},
        {forms::AnswerOK, forms::AnswerCancel, forms::AnswerCancel},
        {forms::AnswerAbort, forms::AnswerRetry, forms::AnswerIgnore},
        {forms::AnswerYes, forms::AnswerNo, forms::AnswerCancel},
        {forms::AnswerYes, forms::AnswerNo, forms::AnswerNo},
        {forms::AnswerRetry, forms::AnswerCancel, forms::AnswerCancel},
    };
    const int set = style & forms::ButtonsMask;
    const int which = (style & forms::DefaultButtonMask) >> 8;
    if (set > 5 || which > 2)
        return forms::AnswerOK;
    return buttons[set][which];
}

void addBatchError(BatchState& batch, const QString& text)
{
    batch.BatchErrors.push_back(text);
}

forms::Answer importMessage(ImportContext& context, const QString& text, int32_t style, const QString& title)
{
    if (context.state.batch.BatchRunning) {
        addBatchError(context.state.batch, text);
        return defaultAnswer(style);
    }
    return forms::MsgBox(text, style, title);
}

} // namespace importer
