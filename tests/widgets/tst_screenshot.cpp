#include "tests/support/PictureCheck.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// scripts/screenshot on a small window: the picture shows it, not a blank screen.
class tst_screenshot : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pictureOfTheGallery();
};

void tst_screenshot::pictureOfTheGallery()
{
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("xvfb-run")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("import")).isEmpty())
        QSKIP("Xvfb or ImageMagick is not installed: run scripts/deps");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString png = dir.filePath(QStringLiteral("gallery.png"));
    QProcess shot;
    shot.setProcessChannelMode(QProcess::ForwardedChannels);
    shot.start(QStringLiteral(QUILLAR_SOURCE_DIR "/scripts/screenshot"),
               {QStringLiteral(QUILLAR_BIN_DIR "/widgets_gallery"), png});
    QVERIFY(shot.waitForFinished(120000));
    QCOMPARE(shot.exitCode(), 0);

    const QImage image(png);
    QVERIFY2(!image.isNull(), "no picture was written");
    // The window is 640 by 460; trimmed to what was drawn, the picture keeps about that size.
    QVERIFY2(image.width() >= 400 && image.height() >= 300,
             qPrintable(QStringLiteral("%1x%2").arg(image.width()).arg(image.height())));
    const qsizetype colours = testsupport::sampledColours(image, 3);
    QVERIFY2(colours > 20, qPrintable(QString::number(colours))); // text, icons, frames
}

QTEST_GUILESS_MAIN(tst_screenshot)
#include "tst_screenshot.moc"
