// The splash or the About box on its own, for a picture of it:
//   scripts/screenshot build/dev/bin/show_startup shot.png <splash | about>
// The splash stays up until the program is ended.
#include "app/setup/frmAbout.h"
#include "app/setup/frmSplash.h"

#include "platform/forms/DefaultInstance.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QByteArray which = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    forms::Form* form = nullptr;
    if (which == "splash")
        form = &forms::DefaultInstance<frmSplash>::get();
    else if (which == "about")
        form = &forms::DefaultInstance<frmAbout>::get();
    if (!form) {
        std::fprintf(stderr, "usage: show_startup <splash | about>\n");
        return 2;
    }
    form->move(0, 0);
    form->show();
    return app.exec();
}
