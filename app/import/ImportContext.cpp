#include "app/import/ImportContext.h"

#include "platform/automation/ClassRegistry.h"

#include <QCoreApplication>
#include <QProcess>

namespace importer {

ImportContext::ImportContext(MainWindowView& mainWindow_, ImportLogView& importLog_,
                             ErrorListView& errorList_, SettingsFormView& settingsForm_)
    : mainWindow(mainWindow_), importLog(importLog_), errorList(errorList_), settingsForm(settingsForm_),
      createEngine([](const QString& id) { return automation::createObject(id); }),
      startCommand([](const QString& program, const QStringList& arguments) {
          QProcess::startDetached(program, arguments);
      }),
      programFolder(QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString())
{
}

} // namespace importer
