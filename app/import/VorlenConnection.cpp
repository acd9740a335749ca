#include "app/import/VorlenConnection.h"

#include "app/import/ImportContext.h"
#include "app/import/ImportMessages.h"
#include "app/import/MainWindowView.h"
#include "app/import/SettingsFormView.h"

#include "platform/automation/ClassRegistry.h"
#include "platform/automation/Object.h"
#include "platform/basic/Conversions.h"
#include "platform/basic/FileIO.h"
#include "platform/basic/RuntimeError.h"
#include "platform/basic/Strings.h"
#include "platform/settings/SettingsStore.h"

#include <QStringList>

namespace importer {

namespace {

const QString NotRecognised = QStringLiteral("Vorlen Version not recognised - check Vorlen data path");
const QString WorkspaceName = QStringLiteral("Quillar");

int engineNumber(const QString& versionCode)
{
    if (versionCode.size() != 3 || !versionCode.startsWith(QLatin1Char('V')))
        return 0;
    bool ok = false;
    const int n = versionCode.mid(1).toInt(&ok);
    return (ok && n >= 10 && n <= 23 && versionCode.at(1).isDigit()) ? n : 0;
}

QString descriptionOf(const basic::RuntimeError& e)
{
    return e.description().isEmpty() ? basic::errorDescription(e.number()) : e.description();
}

void startRegistration(ImportContext& context, const QString& library)
{
    const QString folder = context.programFolder;
    context.startCommand(folder + QLatin1Char('/') + QString::fromLatin1(automation::RegistrationToolName),
                         QStringList{folder + QStringLiteral("/vdo/") + library, QStringLiteral("/s")});
}

// Closes whatever a failed connect left open, ignoring a second failure: the
// connection must not stay open once VdoConnected says it is closed.
void dropWorkspace(ImportContext& context)
{
    auto& package = context.state.package;
    if (package.VdoConnected && package.VdoWorkspace) {
        try {
            package.VdoWorkspace->call(QStringLiteral("Disconnect"));
        } catch (const basic::RuntimeError&) {
        }
    }
    package.VdoWorkspace.reset();
    package.VdoConnected = false;
}

} // namespace

std::optional<QString> versionCodeFor(const QString& dataVersion)
{
    const QString two = dataVersion.left(2);
    if (two.isEmpty())
        return NotRecognised;
    if (two == QLatin1String("9."))
        return QStringLiteral("V9");
    if (two == QLatin1String("8."))
        return QStringLiteral("V8");
    if (engineNumber(QLatin1Char('V') + two) != 0)
        return QLatin1Char('V') + two;
    return std::nullopt;
}

QString engineLibraryFor(const QString& versionCode)
{
    const int n = engineNumber(versionCode);
    if (n == 0)
        return {};
    if (n <= 13)
        return QStringLiteral("VdoEng%1.dll").arg(n * 10);
    if (n == 14)
        return QStringLiteral("vlvdo0engine140.dll");
    return QStringLiteral("vlvdoengine%1.dll").arg(n * 10);
}

QString engineClassFor(const QString& versionCode)
{
    const int n = engineNumber(versionCode);
    return n == 0 ? QString() : QStringLiteral("VorlenVDO.Engine.%1").arg(n);
}

bool hasLockDownDate(const QString& versionCode)
{
    static const char* const codes[] = {"V18", "V19", "V20", "V21", "V22", "V23"};
    for (const char* code : codes) {
        if (versionCode == QLatin1String(code))
            return true;
    }
    return false;
}

bool ConnectToVorlen(ImportContext& context)
{
    auto& package = context.state.package;
    const QString dataPath = basic::Trim(settings::readSetting(QStringLiteral("VorlenDataPath")));
    const QString userName = basic::Trim(settings::readSetting(QStringLiteral("VorlenUsername")));
    const QString password = basic::Trim(settings::readSetting(QStringLiteral("VorlenPassword")));
    const QString dataFolder = dataPath + QStringLiteral("\\accdata");

    if (package.VdoConnected) {
        ShowVorlenVersion(context, dataFolder);
        return true;
    }

    bool result = false;
    try {
        const QString code = context.mainWindow.lblCorvelVersion();
        if (code.isEmpty())
            return false;
        const QString library = engineLibraryFor(code);
        if (!library.isEmpty()) {
            // The engine of the oldest version is created before it is registered.
            if (code == QLatin1String("V10")) {
                package.VdoEngine = context.createEngine(engineClassFor(code));
                startRegistration(context, library);
            } else {
                startRegistration(context, library);
                package.VdoEngine = context.createEngine(engineClassFor(code));
            }
        }
        if (!package.VdoEngine)
            throw basic::RuntimeError(basic::err::ObjectVariableNotSet);

        const ObjectRef workspaces =
            automation::toObject(package.VdoEngine->get(QStringLiteral("Workspaces")));
        package.VdoWorkspace = automation::toObject(workspaces->call(QStringLiteral("Add"), {WorkspaceName}));
        const basic::Variant connected = package.VdoWorkspace->call(
            QStringLiteral("Connect"), {dataFolder, userName, password, WorkspaceName});
        if (basic::compare(connected, basic::Variant(true)) == 0) {
            package.VdoConnected = true;
            result = true;
            const int32_t edition = basic::CLng(package.VdoWorkspace->get(QStringLiteral("ProgramType")));
            if (edition == 2)
                context.mainWindow.setLblVersion(QStringLiteral("Aldwick Plus"));
            else if (edition == 4)
                context.mainWindow.setLblVersion(QStringLiteral("Aldwick"));
            else if (edition == 1)
                context.mainWindow.setLblVersion(QStringLiteral("Ferriby"));
        } else {
            package.VdoConnected = false;
            package.VdoWorkspace.reset();
            result = false;
        }
    } catch (const basic::RuntimeError& e) {
        // A failure after the connect succeeded closes that connection again, so the
        // result, VdoConnected and the package agree.
        dropWorkspace(context);
        importMessage(context,
                      descriptionOf(e) + QStringLiteral(" . Enter correct Vorlen login in settings."),
                      forms::OKOnly);
        return false;
    }
    ShowVorlenVersion(context, dataFolder);
    return result;
}

void DisconnectFromVorlen(ImportContext& context)
{
    auto& package = context.state.package;
    if (!package.VdoConnected)
        return;
    if (package.VdoWorkspace)
        package.VdoWorkspace->call(QStringLiteral("Disconnect"));
    package.VdoWorkspace.reset();
    package.VdoConnected = false;
}

void disconnectAfterError(ImportContext& context)
{
    try {
        DisconnectFromVorlen(context);
    } catch (const basic::RuntimeError&) {
        context.state.package.VdoWorkspace.reset();
        context.state.package.VdoConnected = false;
    }
}

void ShowVorlenVersion(ImportContext& context, const QString& dataFolder)
{
    try {
        basic::FileLen(basic::Trim(dataFolder + QStringLiteral("\\setup.dta")));
        if (const auto code = versionCodeFor(context.settingsForm.txtHiddenVersion()))
            context.mainWindow.setLblCorvelVersion(*code);
        context.mainWindow.setLblconame(context.settingsForm.txthiddencompanyname());
    } catch (const basic::RuntimeError& e) {
        if (e.number() == basic::err::FileNotFound || e.number() == basic::err::FileAlreadyOpen) {
            if (context.settingsForm.txtDatapath().isEmpty())
                return;
            importMessage(
                context,
                e.number() == basic::err::FileNotFound
                    ? QStringLiteral("Vorlen data not found - check settings ")
                    : QStringLiteral("File already Open unable to read Vorlen version - check settings "),
                forms::OKOnly, QStringLiteral("Quillar"));
            context.settingsForm.setTxtDatapath(QString());
            context.mainWindow.setLblCorvelVersion(
                QStringLiteral("Unable to read version information please check datapath in settings"));
            return;
        }
        importMessage(context,
                      QStringLiteral("An error has occurred, error number ") + QString::number(e.number()),
                      forms::OKOnly, QStringLiteral("Quillar - Vorlen Version"));
    }
}

} // namespace importer
