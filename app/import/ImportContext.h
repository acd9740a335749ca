#pragma once

#include "app/import/ImportState.h"
#include "app/import/LineChecks.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace importer {

class MainWindowView;
class ImportLogView;
class ErrorListView;
class SettingsFormView;

// Everything the import routines work with: the shared state, the windows they
// report to, and the few outside actions tests replace.
class ImportContext
{
public:
    using EngineFactory = std::function<ObjectRef(const QString& classIdOrProgId)>;
    using CommandStarter = std::function<void(const QString& program, const QStringList& arguments)>;

    ImportContext(MainWindowView& mainWindow, ImportLogView& importLog, ErrorListView& errorList,
                  SettingsFormView& settingsForm);

    ImportState state;

    MainWindowView& mainWindow;
    ImportLogView& importLog;
    ErrorListView& errorList;
    SettingsFormView& settingsForm;

    // The per-line field checks; none installed means the walk only reads and groups.
    LineChecks* lineChecks = nullptr;
    // Checks the context owns, when the driver installed its own.
    std::unique_ptr<LineChecks> ownedLineChecks;
    // Creates a package engine object (automation::createObject by default).
    EngineFactory createEngine;
    // Starts a program detached, without waiting (QProcess::startDetached by default).
    CommandStarter startCommand;
    // The program's folder: the registration tool, the engine libraries below "vdo"
    // and the clip "import.dll" lie there (the application's folder by default).
    QString programFolder;
};

} // namespace importer
