// The gallery host: places all ten user controls, saves the design to a file,
// loads it back into the window it shows and compares the two designs.
//   usercontrols_gallery [design.json] [--check]
// With --check it ends at once with 0 when the designs are the same; otherwise it
// shows the loaded gallery until it is closed (for scripts/screenshot).
#include "tests/usercontrols/Gallery.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool check = args.removeAll(QStringLiteral("--check")) > 0;
    QTemporaryDir temp;
    const QString designPath = args.isEmpty() ? temp.filePath(QStringLiteral("gallery.json")) : args.first();
    qputenv("QUILLAR_MACHINE_HIVE", QFile::encodeName(temp.filePath(QStringLiteral("machine.hive"))));
    qputenv("QUILLAR_USER_HIVE", QFile::encodeName(temp.filePath(QStringLiteral("user.hive"))));
    RegisteredLibrary library;
    if (!library.ok()) {
        std::fprintf(stderr, "the library could not be registered\n");
        return 2;
    }

    QString error;
    QWidget designed;
    Gallery original(&designed);
    original.placeNew();
    if (!original.saveDesign(designPath, &error)) {
        std::fprintf(stderr, "saving %s: %s\n", qPrintable(designPath), qPrintable(error));
        return 2;
    }

    QWidget window;
    window.setWindowTitle(QStringLiteral("User controls"));
    window.resize(900, 440);
    window.setAutoFillBackground(true);
    Gallery loaded(&window);
    if (!loaded.loadDesign(designPath, &error)) {
        std::fprintf(stderr, "loading %s: %s\n", qPrintable(designPath), qPrintable(error));
        return 2;
    }
    const bool same = loaded.designText() == original.designText();
    std::printf("%s\n", same ? "the loaded design is the saved one" : "the loaded design differs");
    if (check)
        return same ? 0 : 1;
    loaded.showRunTimeState();
    window.show();
    return app.exec();
}
