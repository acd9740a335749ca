// The file-system work of batch mode: listing, names, creation dates, the same
// folder however it is written, and a move that never loses the file.
#include "tests/batch/BatchRig.h"

#include "platform/basic/RuntimeError.h"
#include "platform/shell/FileSystem.h"

#include <QDir>
#include <QFile>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>

using batchtest::readFile;
using batchtest::writeFile;

namespace {

QStringList nameList(const std::vector<shell::FileEntry>& entries)
{
    QStringList out;
    for (const auto& e : entries)
        out << e.name;
    return out;
}

} // namespace

class TestFileSystem : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listsFilesInAStableOrder()
    {
        QTemporaryDir dir;
        for (const char* name : {"b.csv", "A.csv", "a.txt", ".hidden", "c"})
            writeFile(dir.filePath(QLatin1String(name)), name);
        QDir(dir.path()).mkdir(QStringLiteral("sub.csv"));
        const auto entries = shell::listFiles(dir.path());
        QCOMPARE(nameList(entries), (QStringList{".hidden", "A.csv", "a.txt", "b.csv", "c"}));
        QCOMPARE(entries[3].size, int64_t(5));
        QCOMPARE(entries[3].path, dir.filePath(QStringLiteral("b.csv")));
        // The folder found in any case and with "\".
        QCOMPARE(nameList(shell::listFiles(dir.path().toUpper().replace(QLatin1Char('/'), QLatin1Char('\\')) +
                                           QStringLiteral("\\"))),
                 nameList(entries));
        QVERIFY(shell::listFiles(dir.filePath(QStringLiteral("none"))).empty());
        QVERIFY(shell::listFiles(QStringLiteral("  ")).empty());
    }

    void creationTimeFallsBackToModification()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("a.csv"));
        writeFile(file, "x");
        const auto entry = shell::fileEntry(file);
        QVERIFY(entry);
        QVERIFY(entry->created.isValid());
        QVERIFY(entry->created <= entry->modified); // birth time, or the modification time itself
        QCOMPARE(shell::creationTime(file), entry->created);
        QVERIFY(!shell::creationTime(dir.filePath(QStringLiteral("none"))).isValid());
        QVERIFY(!shell::fileEntry(dir.path())); // a folder is no file
    }

    void names_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("parent");
        QTest::newRow("plain") << "/s/orders.csv"
                               << "orders"
                               << "orders.csv"
                               << "/s";
        QTest::newRow("last extension only") << "/s/a.b.csv"
                                             << "a.b"
                                             << "a.b.csv"
                                             << "/s";
        QTest::newRow("no extension") << "/s/a"
                                      << "a"
                                      << "a"
                                      << "/s";
        QTest::newRow("dot file") << "/s/.profile"
                                  << ".profile"
                                  << ".profile"
                                  << "/s";
        QTest::newRow("backslashes") << "c:\\s\\x.txt"
                                     << "x"
                                     << "x.txt"
                                     << "c:\\s";
        QTest::newRow("doubled separator") << "/s//x.csv"
                                           << "x"
                                           << "x.csv"
                                           << "/s";
        QTest::newRow("root") << "/x.csv"
                              << "x"
                              << "x.csv"
                              << "/";
        QTest::newRow("bare name") << "x.csv"
                                   << "x"
                                   << "x.csv"
                                   << "";
    }
    void names()
    {
        QFETCH(QString, path);
        QFETCH(QString, base);
        QFETCH(QString, name);
        QFETCH(QString, parent);
        QCOMPARE(shell::baseName(path), base);
        QCOMPARE(shell::fileName(path), name);
        QCOMPARE(shell::parentFolder(path), parent);
    }

    void sameFolder_data()
    {
        QTest::addColumn<QString>("spelling"); // below the temporary folder; "" a blank path
        QTest::addColumn<bool>("same");
        QTest::newRow("as spelt") << "src" << true;
        QTest::newRow("trailing /") << "src/" << true;
        QTest::newRow("trailing \\") << "src\\" << true;
        QTest::newRow("other case") << "SRC" << true;
        QTest::newRow("through a link") << "link" << true;
        QTest::newRow("another folder") << "other" << false;
        QTest::newRow("missing") << "none" << false;
        QTest::newRow("blank") << "" << false;
    }
    void sameFolder()
    {
        QFETCH(QString, spelling);
        QFETCH(bool, same);
        QTemporaryDir dir;
        QDir(dir.path()).mkdir(QStringLiteral("src"));
        QDir(dir.path()).mkdir(QStringLiteral("other"));
        QFile::link(dir.filePath(QStringLiteral("src")), dir.filePath(QStringLiteral("link")));
        const QString path =
            spelling.isEmpty() ? QStringLiteral(" ") : dir.path() + QLatin1Char('/') + spelling;
        QCOMPARE(shell::sameFolder(path, dir.filePath(QStringLiteral("src"))), same);
    }

    void moveWithinOneFileSystem()
    {
        QTemporaryDir dir;
        const QString from = dir.filePath(QStringLiteral("a.csv"));
        const QString to = dir.filePath(QStringLiteral("sub/b.csv"));
        QDir(dir.path()).mkdir(QStringLiteral("sub"));
        writeFile(from, "content");
        shell::moveFile(from, to);
        QVERIFY(!QFile::exists(from));
        QCOMPARE(readFile(to), QByteArray("content"));
    }

    void moveNeverReplacesOrLoses_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::newRow("target taken") << "taken";
        QTest::newRow("target folder missing") << "folder";
        QTest::newRow("source missing") << "source";
    }
    void moveNeverReplacesOrLoses()
    {
        QFETCH(QString, failure);
        QTemporaryDir dir;
        const QString from = dir.filePath(QStringLiteral("a.csv"));
        QString to = dir.filePath(QStringLiteral("b.csv"));
        if (failure != QLatin1String("source"))
            writeFile(from, "mine");
        if (failure == QLatin1String("taken"))
            writeFile(to, "theirs");
        if (failure == QLatin1String("folder"))
            to = dir.filePath(QStringLiteral("none/b.csv"));
        try {
            shell::moveFile(from, to);
            QFAIL("the move did not fail");
        } catch (const basic::RuntimeError& e) {
            const int expected = failure == QLatin1String("taken")    ? 58
                                 : failure == QLatin1String("folder") ? basic::err::PathNotFound
                                                                      : basic::err::FileNotFound;
            QCOMPARE(e.number(), expected);
        }
        if (failure != QLatin1String("source"))
            QCOMPARE(readFile(from), QByteArray("mine"));
        if (failure == QLatin1String("taken"))
            QCOMPARE(readFile(to), QByteArray("theirs"));
    }

    // Onto another file system the file is copied whole, then the source goes; a
    // taken target leaves both and no half copy behind.
    void moveAcrossFileSystems()
    {
        QTemporaryDir here;
        const QString otherRoot = QStringLiteral("/dev/shm");
        if (!QFileInfo(otherRoot).isDir() ||
            QStorageInfo(otherRoot).device() == QStorageInfo(here.path()).device())
            QSKIP("no second file system to move onto");
        QTemporaryDir there(otherRoot + QStringLiteral("/quillar-move-XXXXXX"));
        QVERIFY(there.isValid());
        const QString from = here.filePath(QStringLiteral("a.csv"));
        QByteArray big(300000, 'x');
        big.append("end");
        writeFile(from, big);
        const QDateTime modified = QFileInfo(from).lastModified();

        writeFile(there.filePath(QStringLiteral("taken.csv")), "theirs");
        QVERIFY_THROWS_EXCEPTION(basic::RuntimeError,
                                 shell::moveFile(from, there.filePath(QStringLiteral("taken.csv"))));
        QCOMPARE(readFile(from), big);
        QCOMPARE(QDir(there.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"taken.csv"});

        const QString to = there.filePath(QStringLiteral("b.csv"));
        shell::moveFile(from, to);
        QVERIFY(!QFile::exists(from));
        QCOMPARE(readFile(to), big);
        QCOMPARE(QFileInfo(to).lastModified(), modified);
        QCOMPARE(QDir(there.path()).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{"b.csv", "taken.csv"}));
    }
};

QTEST_GUILESS_MAIN(TestFileSystem)
#include "tst_filesystem.moc"
