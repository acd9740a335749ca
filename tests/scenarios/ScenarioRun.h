#pragma once

#include "tests/scenarios/Scenario.h"

#include "tests/import/FakeViews.h"

#include "platform/forms/MessageService.h"

#include <QJsonArray>
#include <QString>
#include <QStringList>

#include <map>
#include <vector>

namespace scenarios {

// What one import did.
struct Outcome
{
    QString log;                  // the import log's text
    std::vector<ErrorRow> errors; // the error list's rows, in order
    std::vector<forms::ScriptedMessageService::Shown> messages;
    QJsonArray posted; // documents the import committed, in posting order
    // What went wrong around the import itself: a registration command that
    // failed, an exception out of RunImport, the seeded documents changed.
    QStringList problems;
    // Batch runs: every file of the three folders ("folder<TAB>name", sorted) and
    // the bytes of each file of the error folder.
    QStringList batchFiles;
    std::map<QString, QByteArray> errorFolder;
};

// Runs RunImport on `scenario` with a fresh company and a fresh settings store,
// both inside `work` (an empty folder that outlives the call). Throws
// ScenarioError when the scenario cannot be set up as written.
Outcome runScenario(const Scenario& scenario, const QString& work);

// The folder of the engine libraries and of the tools the import starts.
QString programFolder();

} // namespace scenarios
