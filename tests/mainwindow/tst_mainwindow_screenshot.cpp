#include "tests/support/PictureCheck.h"

// scripts/screenshot of the main window after an import: the picture is the whole
// window, at its size, and shows its captions rather than a blank screen.
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class tst_mainwindow_screenshot : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pictureAfterAnImport()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty() ||
            QStandardPaths::findExecutable(QStringLiteral("xvfb-run")).isEmpty() ||
            QStandardPaths::findExecutable(QStringLiteral("import")).isEmpty())
            QSKIP("Xvfb or ImageMagick is not installed: run scripts/deps");
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString png = dir.filePath(QStringLiteral("mainwindow.png"));
        const QString sizeFile = dir.filePath(QStringLiteral("size.txt"));
        QProcess shot;
        shot.setProcessChannelMode(QProcess::ForwardedChannels);
        // The picture is taken a while after the first drawing; the import must be
        // done by then even on a loaded machine under the sanitizers.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QUILLAR_SCREENSHOT_DELAY"), QStringLiteral("6"));
        shot.setProcessEnvironment(env);
        shot.start(QStringLiteral(QUILLAR_SOURCE_DIR "/scripts/screenshot"),
                   {QStringLiteral(QUILLAR_BIN_DIR "/mainwindow_afterimport"), png, sizeFile});
        QVERIFY(shot.waitForFinished(180000));
        QCOMPARE(shot.exitCode(), 0);

        QFile size(sizeFile);
        QVERIFY2(size.open(QIODevice::ReadOnly), "the import did not finish before the picture");
        const QList<QByteArray> wh = size.readAll().split('x');
        QCOMPARE(wh.size(), 2);
        const QImage image(png);
        QVERIFY2(!image.isNull(), "no picture was written");
        QCOMPARE(image.size(), QSize(wh[0].toInt(), wh[1].toInt()));

        const qsizetype colours = testsupport::sampledColours(image, 2);
        QVERIFY2(colours > 40, qPrintable(QString::number(colours))); // text, icons, frames
    }
};

QTEST_GUILESS_MAIN(tst_mainwindow_screenshot)
#include "tst_mainwindow_screenshot.moc"
