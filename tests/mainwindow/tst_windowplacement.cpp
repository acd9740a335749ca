// The program's windows on a 1,366 x 768 screen: each lies within the screen's free
// area, opens centred over the main window, and the layout editor, taller than the
// screen, scrolls to its Save and Cancel buttons.

#include "tests/mainwindow/MainWindowFixture.h"

#include "app/mainwindow/OtherForms.h"
#include "app/mainwindow/frmmain.h"
#include "app/setup/FrmFileStructure.h"

#include "platform/forms/DefaultInstance.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// What a modal window showed as it opened, then it is hidden.
struct Opened
{
    QString name;
    QRect frame;
};

Opened openModal(const std::function<void()>& open, const std::function<void(QWidget*)>& inspect = {})
{
    Opened seen;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget(); modal && seen.name.isEmpty()) {
            seen = {modal->objectName(), modal->frameGeometry()};
            if (inspect)
                inspect(modal);
            modal->hide();
        }
    });
    poll.start(5);
    open();
    return seen;
}

QString describe(const QRect& r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

} // namespace

class TestWindowPlacement : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(MainWindowFixture::registerLibraries()); }

    void opensWithinTheScreenOverTheMainWindow_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addRow("settings") << "frmSettings";
        QTest::addRow("about") << "frmAbout";
        QTest::addRow("import log") << "frmErrors";
        QTest::addRow("error list") << "FrmErrlog";
        QTest::addRow("layout editor") << "FrmFileStructure";
    }

    void opensWithinTheScreenOverTheMainWindow()
    {
        QFETCH(QString, form);
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(screen.size(), QSize(1366, 768));
        MainWindowFixture f;
        frmmain& w = f.window();
        w.resize(900, 560);
        w.move(300, 120);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const std::map<QString, std::function<void()>> opens{
            {"frmSettings", [&] { mainwindow::otherforms::showSettings(&w); }},
            {"frmAbout", [&] { mainwindow::otherforms::showAbout(&w); }},
            {"frmErrors", [&] { mainwindow::otherforms::showImportLog(&w); }},
            {"FrmErrlog", [&] { mainwindow::otherforms::showErrorList(&w); }},
            {"FrmFileStructure", [&] { forms::DefaultInstance<FrmFileStructure>::get().showModal(&w); }},
        };
        bool saveReachable = false;
        const Opened opened = openModal(opens.at(form), [&](QWidget* modal) {
            auto* area = modal->findChild<QScrollArea*>(QStringLiteral("formScrollArea"));
            auto* save = modal->findChild<QPushButton*>(QStringLiteral("btnSave"));
            if (area && save) {
                area->ensureWidgetVisible(save);
                const QPoint at = save->mapTo(area->viewport(), save->rect().bottomRight());
                saveReachable = area->viewport()->rect().contains(at);
            }
        });
        QCOMPARE(opened.name, form);
        QVERIFY2(screen.contains(opened.frame), qPrintable(describe(opened.frame)));
        if (opened.frame.width() < screen.width() && opened.frame.height() < screen.height()) {
            const QPoint offset = opened.frame.center() - w.frameGeometry().center();
            QVERIFY2(std::abs(offset.x()) <= 20 && std::abs(offset.y()) <= 40,
                     qPrintable(describe(opened.frame) + " over " + describe(w.frameGeometry())));
        }
        if (form == QLatin1String("FrmFileStructure"))
            QVERIFY(saveReachable);
    }
};

int main(int argc, char** argv)
{
    // The offscreen platform with one screen of 1,366 x 768.
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("screen.json"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(R"({"screens": [{"name": "small", "x": 0, "y": 0, "width": 1366, "height": 768,
                       "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})") < 0)
        return 1;
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config));
    QApplication app(argc, argv);
    TestWindowPlacement test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_windowplacement.moc"
