#include "app/mainwindow/batch/BatchSettings.h"

#include "app/mainwindow/batch/BatchMode.h"

#include "app/import/ImportContext.h"
#include "app/import/SettingsFormView.h"

#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"
#include "platform/settings/SettingsStore.h"

#include <cmath>
#include <limits>

namespace batch {

int32_t batchIntervalFrom(const QString& setting)
{
    const basic::Variant text(setting);
    if (!basic::IsNumeric(text))
        return 60;
    const double ms = basic::roundHalfEven(basic::CDbl(text));
    if (!(ms >= double(std::numeric_limits<int32_t>::min()) &&
          ms <= double(std::numeric_limits<int32_t>::max())))
        throw basic::RuntimeError(basic::err::Overflow);
    return int32_t(ms);
}

int loadBatchSettings(importer::ImportContext& context)
{
    auto& batch = context.state.batch;
    batch.SuccessFolder = context.settingsForm.textSuccessPath();
    batch.FilingCounter = 0;
    batch.ErrorFolder = settings::readSetting(QStringLiteral("BatchErrorlogPath"));
    batch.SourceFolder = settings::readSetting(QStringLiteral("BatchSourcePath"));
    batch.BatchIntervalMs = batchIntervalFrom(settings::readSetting(QStringLiteral("BatchInterval")));
    batch.BatchModeEnabled = basic::CLng(
        basic::Variant(settings::readSetting(QStringLiteral("BatchUpdateEnabled"), QStringLiteral("0"))));
    return passTimerInterval(batch.BatchIntervalMs);
}

bool batchControlsEnabled(const importer::ImportContext& context)
{
    return context.state.batch.BatchModeEnabled != 0;
}

} // namespace batch
