#pragma once

#include "platform/forms/MessageService.h"

#include <QString>

#include <cstdint>

namespace importer {

class ImportContext;
struct BatchState;

// The one path for every message the import would show in a box. While batch mode
// runs no box is shown: the text goes into the batch error list and the box's
// default button is taken as the answer.
forms::Answer importMessage(ImportContext& context, const QString& text, int32_t style = forms::OKOnly,
                            const QString& title = {});

// Appends one text to the batch error list, without its line breaks.
void addBatchError(BatchState& batch, const QString& text);

} // namespace importer
