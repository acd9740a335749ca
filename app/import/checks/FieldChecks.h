#pragma once

#include "app/import/LineChecks.h"
#include "app/import/PackageNames.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>

// The per-line field checks of stage one and the validators they call. Each failed
// check records one error entry and the next check runs; only a value that cannot
// be converted where a number is needed (or a failed package call) raises a
// basic::RuntimeError, which ends the stage through its handler.
namespace importer {

class FieldChecks : public LineChecks
{
public:
    // The caption of the main window's edition label ("Ferriby", "Aldwick", ...).
    using EditionLabel = std::function<QString()>;

    // Without a label source the checks read the main window's edition label
    // (lblVersion), once per pass.
    explicit FieldChecks(EditionLabel editionLabel = {});

    void checkFields(ImportContext& context) override;
    void validateTransactionNo(ImportContext& context) override;

    // What the checks leave behind for the rest of the line.
    const QString& accountRef() const { return m_accountRef; }
    const QString& stockCode() const { return m_stockCode; }
    bool recordFound() const { return m_recordFound; }
    bool customerFound() const { return m_customerFound; }
    bool productFound() const { return m_productFound; }

private:
    friend class FieldCheckRun;

    EditionLabel m_editionLabel;
    QString m_accountRef;
    QString m_stockCode;
    bool m_recordFound = false;
    // Whether this line's customer and product lookups found their record; a
    // record that was not found is compared as an empty one.
    bool m_customerFound = false;
    bool m_productFound = false;

    // Read once per pass: the settings the checks test, the edition label, the
    // package's special-code setting, and the records' "Find". Each pass makes its own
    // SetupData record, so what was read holds while that record lives.
    std::weak_ptr<automation::Object> m_pass;
    std::unordered_map<const char*, double> m_settings;
    std::optional<QString> m_edition;
    std::optional<QString> m_showSpecialCodes;
    MemberId m_findId{"Find"};
};

} // namespace importer
