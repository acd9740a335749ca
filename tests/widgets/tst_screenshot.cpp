#include <QImage>
#include <QProcess>
#include <QSet>
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
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3)
            colours.insert(image.pixel(x, y));
    QVERIFY2(colours.size() > 20, qPrintable(QString::number(colours.size()))); // text, icons, frames
}

QTEST_GUILESS_MAIN(tst_screenshot)
#include "tst_screenshot.moc"
