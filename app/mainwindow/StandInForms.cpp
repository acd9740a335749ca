#include "app/mainwindow/StandInForms.h"

namespace mainwindow {

StandInAbout::StandInAbout()
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Quillar"));
    resize(320, 160);
}

} // namespace mainwindow
