// A small host window with one titled frame made through the library, as the main
// window places its batch history frame; saves a picture of the screen.
//   usercontrols_framehost <png> [milliseconds] [large]   ("large": LargeFont on)
#include "platform/controlframework/ControlSite.h"

#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: usercontrols_framehost <png> [milliseconds]\n");
        return 1;
    }
    QTemporaryDir hives;
    qputenv("QUILLAR_MACHINE_HIVE", QFile::encodeName(hives.filePath(QStringLiteral("machine.hive"))));
    qputenv("QUILLAR_USER_HIVE", QFile::encodeName(hives.filePath(QStringLiteral("user.hive"))));
    if (QProcess::execute(QStringLiteral(REGSVR_PATH), {QStringLiteral("/s"), QStringLiteral(VLHMCOMCTL_PATH)}) != 0)
        return 2;

    QWidget window;
    window.setWindowTitle(QStringLiteral("Frame host"));
    window.resize(420, 320);
    controlframework::ControlSite site(QStringLiteral("VLHMComCtl.vlHmFrame"), QStringLiteral("FrameHistroy"), &window);
    const auto bag = controlframework::PropertyBag::fromText(
        QStringLiteral(R"({"caption": "Batch Upload History", "titlecolor": 8388608, "backcolor": -2147483633})"));
    site.load(*bag);
    site.move(150, 150, 6000, 4500);
    if (argc > 3 && QString::fromLocal8Bit(argv[3]) == QLatin1String("large"))
        site.object()->put(QStringLiteral("LargeFont"), true);

    QListWidget list(site.widget());
    list.setObjectName(QStringLiteral("ListViewBatchStatus"));
    list.addItems({QStringLiteral("INV0001.CSV    Loaded"), QStringLiteral("INV0002.CSV    Pending"),
                   QStringLiteral("INV0003.CSV    Error(s) Found")});
    list.setGeometry(8, 36, 384, 200);
    QPushButton close(QStringLiteral("&Close"), site.widget());
    close.setObjectName(QStringLiteral("Command1"));
    close.setGeometry(312, 246, 80, 24);
    window.show();

    const QString out = QString::fromLocal8Bit(argv[1]);
    const int wait = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 700;
    QTimer::singleShot(wait, [&] {
        QScreen* screen = window.screen();
        const QPixmap shot = screen->grabWindow(0);
        app.exit(shot.save(out) ? 0 : 3);
    });
    return app.exec();
}
