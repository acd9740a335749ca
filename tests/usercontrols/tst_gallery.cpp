// The gallery host: all ten controls placed through the library, their design saved
// to a file and loaded back.
#include "tests/usercontrols/Gallery.h"
#include "tests/usercontrols/TestMain.h"

#include "platform/basic/Conversions.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using basic::Variant;

class tst_gallery : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void savedAndLoadedBack();
    void brokenDesignRefused();
    void cleanupTestCase();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<RegisteredLibrary> m_library;
};

void tst_gallery::initTestCase()
{
    QVERIFY(m_dir.isValid());
    qputenv("QUILLAR_MACHINE_HIVE", QFile::encodeName(m_dir.filePath(QStringLiteral("machine.hive"))));
    qputenv("QUILLAR_USER_HIVE", QFile::encodeName(m_dir.filePath(QStringLiteral("user.hive"))));
    m_library = std::make_unique<RegisteredLibrary>();
    QVERIFY(m_library->ok());
}

void tst_gallery::savedAndLoadedBack()
{
    const QString path = m_dir.filePath(QStringLiteral("gallery.json"));
    QWidget designed;
    Gallery original(&designed);
    original.placeNew();
    QString error;
    QVERIFY2(original.saveDesign(path, &error), qPrintable(error));

    QWidget window;
    Gallery loaded(&window);
    QVERIFY2(loaded.loadDesign(path, &error), qPrintable(error));
    QCOMPARE(loaded.sites().size(), original.sites().size());
    QCOMPARE(loaded.designText(), original.designText());

    // All ten classes, the contained ones on their containers.
    QStringList classes;
    for (const auto& s : loaded.sites())
        if (!classes.contains(s->control().className()))
            classes << s->control().className();
    QCOMPARE(classes.size(), 10);
    QCOMPARE(loaded.site(QStringLiteral("cmdPost"))->widget()->parentWidget(), loaded.site(QStringLiteral("vlcPanel"))->widget());
    QCOMPARE(loaded.site(QStringLiteral("vllHelp"))->widget()->parentWidget(), loaded.site(QStringLiteral("vlfLinks"))->widget());
    // What the loaded controls show.
    QCOMPARE(loaded.site(QStringLiteral("vlbHeading"))->object()->get(QStringLiteral("Caption")), Variant(QStringLiteral("Batch Upload")));
    QCOMPARE(loaded.site(QStringLiteral("cmdCancel"))->object()->get(QStringLiteral("Enabled")), Variant(false));
    QCOMPARE(loaded.site(QStringLiteral("vlcPanel"))->object()->get(QStringLiteral("BorderWidth")), Variant(int16_t(2)));
    QCOMPARE(loaded.site(QStringLiteral("vloDocuments"))->object()->get(QStringLiteral("Options")), Variant(int32_t(3)));
    QCOMPARE(loaded.site(QStringLiteral("vlmLedgers"))->object()->get(QStringLiteral("Options")), Variant(int32_t(3)));
    QCOMPARE(loaded.site(QStringLiteral("vllMail"))->object()->get(QStringLiteral("URL")), Variant(QStringLiteral("mailto:support@example.com")));
    QCOMPARE(loaded.site(QStringLiteral("vllMail"))->object()->get(QStringLiteral("Hover")), Variant(false));
}

void tst_gallery::brokenDesignRefused()
{
    const QString path = m_dir.filePath(QStringLiteral("broken.json"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(R"({"controls": [{"class": "VLHMComCtl.vlHmBanner", "name": "b", "properties": "{\"Caption\": "}]})");
    file.close();
    QWidget window;
    Gallery loaded(&window);
    QString error;
    QVERIFY(!loaded.loadDesign(path, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(loaded.sites().empty());
    QVERIFY(!loaded.loadDesign(m_dir.filePath(QStringLiteral("missing.json")), &error));
}

void tst_gallery::cleanupTestCase()
{
    m_library.reset();
}

QUILLAR_TEST_CLASS(tst_gallery)
#include "tst_gallery.moc"
