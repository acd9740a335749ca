// The settings form on one of its tabs, filled as a user would see it: the demo
// program folder made by the package's tool on drive D:, its company ticked, a few
// options and batch folders set. For scripts/screenshot:
//   scripts/screenshot build/dev/bin/settingsform_screens tab1.png 0
// The argument is the tab (0, 1 or 2); "picker" shows the folder picker instead,
// "report" the installation search report of five installations, as its box shows it.
//   settingsform_screens --demo <folder> <tab 0..2 | picker>
// shows the form on the demo folder of scripts/run-demo instead (the environment
// names its hives): its settings, this machine's drives and printers.
#include "app/session/ProgramSession.h"
#include "app/setup/companies/InstallationSearch.h"
#include "app/setup/frmDirPath.h"
#include "app/setup/frmSettings.h"
#include "ui_frmSettings.h"
#include "tests/settingsform/SettingsFixture.h"

#include "platform/forms/DefaultInstance.h"
#include "platform/forms/WidgetMessageService.h"
#include "platform/settings/SettingsStore.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

int showForm(QApplication& app, const QString& what, const QString& pickerFolder)
{
    if (what == QLatin1String("picker")) {
        frmDirPath& picker = forms::DefaultInstance<frmDirPath>::get();
        picker.setWindowTitle(QStringLiteral("Select CSV file Source Path...."));
        picker.FormLoadValue(pickerFolder);
        picker.show();
        return app.exec();
    }
    frmSettings& form = forms::DefaultInstance<frmSettings>::get();
    form.m_ui->SSTab1->setCurrentIndex(what.toInt());
    form.show();
    return app.exec();
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc > 3 && qstrcmp(argv[1], "--demo") == 0) {
        session::ProgramSession session;
        wireSession(session, registeredFileSearch());
        forms::DefaultInstance<TestMainWindow>::get().LblCorvelVersion = QStringLiteral("V23");
        // The picker as the Source Path's browse button opens it, on that box's folder.
        return showForm(app, QString::fromLocal8Bit(argv[3]), settings::readSetting(QStringLiteral("BatchSourcePath")));
    }
    const QString what = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("0");
    QTemporaryDir dir;
    qputenv("QUILLAR_MACHINE_HIVE", QFile::encodeName(dir.filePath(QStringLiteral("machine.hive"))));
    qputenv("QUILLAR_USER_HIVE", QFile::encodeName(dir.filePath(QStringLiteral("user.hive"))));
    const QString driveD = dir.filePath(QStringLiteral("disk"));
    makeCompany(driveD + QStringLiteral("/Companies/Demo"), QStringLiteral("23.0"),
                QStringLiteral("Demo Trading Ltd"), driveD + QStringLiteral("/Vorlen"));
    makeCompany(driveD + QStringLiteral("/Companies/Archive"), QStringLiteral("21.0"),
                QStringLiteral("Archive 2019 Ltd"), driveD + QStringLiteral("/Vorlen"));
    writeLayout(driveD + QStringLiteral("/config"), {QStringLiteral("Account Reference")});
    mountDrives(dir.filePath(QStringLiteral("mounts")), {driveD});

    using settings::writeSetting;
    writeSetting(QStringLiteral("VorlenProgramPath"), QStringLiteral("D:\\Vorlen"));
    writeSetting(QStringLiteral("VorlenDataPath"), driveD + QStringLiteral("/Companies/Demo"));
    writeSetting(QStringLiteral("VorlenCompanyName"), QStringLiteral("Demo Trading Ltd"));
    writeSetting(QStringLiteral("VorlenVersion"), QStringLiteral("23.0"));
    writeSetting(QStringLiteral("VorlenUsername"), QStringLiteral("manager"));
    writeSetting(QStringLiteral("VorlenPassword"), QStringLiteral("secret"));
    writeSetting(QStringLiteral("pellmoorconfigdir"), QStringLiteral("D:\\config"));
    writeSetting(QStringLiteral("ImportHeaders"), QStringLiteral("1"));
    writeSetting(QStringLiteral("CheckCustomerPricing"), QStringLiteral("1"));
    writeSetting(QStringLiteral("BatchSourcePath"), QStringLiteral("D:\\Batch\\In"));
    writeSetting(QStringLiteral("BatchSuccessPath"), QStringLiteral("D:\\Batch\\Loaded"));
    writeSetting(QStringLiteral("BatchErrorlogPath"), QStringLiteral("D:\\Batch\\Errors"));
    writeSetting(QStringLiteral("BatchInterval"), QStringLiteral("300000"));

    session::ProgramSession session;
    wireSession(session, registeredFileSearch());
    forms::DefaultInstance<TestMainWindow>::get().LblCorvelVersion = QStringLiteral("V23");

    if (what == QLatin1String("report")) {
        QStringList folders;
        for (const char* folder : {"C:\\Program Files\\Vorlen", "D:\\Vorlen", "D:\\Accounts\\Vorlen 2016",
                                   "E:\\Old Programs\\Vorlen Corvel Accounts", "F:\\Vorlen"})
            folders << QLatin1String(folder);
        forms::WidgetMessageService().inputBox(companies::InstallationSearch::report(folders),
                                               QStringLiteral("Vorlen Installation Search Report"),
                                               QStringLiteral("1"), forms::InputEcho::Normal);
        return 0;
    }
    return showForm(app, what, QStringLiteral("D:\\Companies"));
}
