#pragma once

#include "tests/import/FakeViews.h"

#include "app/import/ImportContext.h"

#include "platform/forms/MessageService.h"

#include <QString>
#include <QTemporaryDir>

namespace bench {

// A temporary folder whose registry hives stand in for the user's own, for this
// process and the regsvr it starts. Set up before anything reads the registry.
struct PrivateHives
{
    PrivateHives();
    QTemporaryDir dir;
};

// One import against the real package stand-in: the engine registered with regsvr,
// a generated company, the bench layout, the settings the stages read, recorded
// windows and scripted message boxes. The context keeps its default engine factory
// (automation by ProgID) and program folder (this program's, where the engine and
// regsvr are built).
struct ImportBench
{
    ImportBench(int customers, int products);

    // Generates the import file (BenchImportFile.h) and names it in txtImportFile.
    QString writeImportFile(int documents, int linesPerDocument);
    // Empty when the import log is empty and no message box was shown; else the
    // first few errors, to print.
    QString problems();

    PrivateHives hives;
    FakeMainWindow window;
    FakeImportLog log;
    FakeErrorList errors;
    FakeSettingsForm settingsForm;
    forms::ScopedScriptedMessages boxes;
    importer::ImportContext context;
    QString companyFolder;
    int customers;
    int products;
};

} // namespace bench
