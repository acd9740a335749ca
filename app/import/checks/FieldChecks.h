#pragma once

#include "app/import/LineChecks.h"

#include <QString>

#include <functional>

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

    // Without a label source the checks take the main window's edition label as
    // stage one read it before the line walk (PassState::EditionLabel).
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
};

} // namespace importer
