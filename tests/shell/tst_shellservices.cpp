#include "platform/shell/DisplayPath.h"
#include "platform/shell/FolderBrowser.h"
#include "platform/shell/Paths.h"
#include "platform/shell/ProgramStarter.h"
#include "platform/shell/TextEditor.h"
#include "tests/shell/TestDriveD.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileDialog>
#include <QTest>
#include <QTimer>

// The program starter, the text editor, the display form of paths and the folder browser.
class tst_shellservices : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void editorArguments_data();
    void editorArguments();
    void openInEditorRecordsTheStart_data();
    void openInEditorRecordsTheStart();
    void openTextInEditorWritesTheText();
    void startCommandLine_data();
    void startCommandLine();
    void displayPath_data();
    void displayPath();
    void displayPathRoundTrip();
    void scriptedFolderBrowser();
    void folderDialogScripted();

private:
    TestDriveD m_drive{{QStringLiteral("In Box/Sub")}};
    QString m_mountD = m_drive.mountPoint();
};

void tst_shellservices::initTestCase()
{
    QVERIFY(m_drive.isValid());
    QVERIFY(QDir().mkpath(m_drive.tempPath() + QStringLiteral("/mntother")));
}

void tst_shellservices::cleanupTestCase()
{
    qunsetenv(shell::EditorVariable);
}

void tst_shellservices::editorArguments_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("line");
    QTest::addColumn<QStringList>("expected");
    const QString f = QStringLiteral("/data/in box/a.csv");
    QTest::addRow("default opener ignores the line")
        << QString::fromLatin1(shell::DefaultEditorCommand) << f << 7 << QStringList{"xdg-open", f};
    QTest::addRow("line as an option word") << "gedit +{line} {file}" << f << 12 << QStringList{"gedit", "+12", f};
    QTest::addRow("line option as two words")
        << "kate --line {line} {file}" << f << 3 << QStringList{"kate", "--line", "3", f};
    QTest::addRow("no line gives line 1") << "gedit +{line} {file}" << f << 0 << QStringList{"gedit", "+1", f};
    QTest::addRow("file and line in one word")
        << "code --goto {file}:{line}" << f << 5 << QStringList{"code", "--goto", f + ":5"};
    QTest::addRow("command without {file} gets it last") << "mousepad" << f << 0 << QStringList{"mousepad", f};
    QTest::addRow("quoted program path")
        << "\"/opt/my editor/ed\" {file}" << f << 0 << QStringList{"/opt/my editor/ed", f};
    // The file's own name is never read as the template's placeholders.
    const QString tagged = QStringLiteral("/data/orders{line}{file}.csv");
    QTest::addRow("path holding {line}")
        << "gedit +{line} {file}" << tagged << 7 << QStringList{"gedit", "+7", tagged};
    QTest::addRow("path holding {line} in a word with the line")
        << "code --goto {file}:{line}" << tagged << 7 << QStringList{"code", "--goto", tagged + ":7"};
    QTest::addRow("path holding {line}, added last") << "mousepad +{line}" << tagged << 2
                                                     << QStringList{"mousepad", "+2", tagged};
}

void tst_shellservices::editorArguments()
{
    QFETCH(QString, command);
    QFETCH(QString, file);
    QFETCH(int, line);
    QFETCH(QStringList, expected);
    QCOMPARE(shell::editorArguments(command, file, line), expected);
}

void tst_shellservices::openInEditorRecordsTheStart_data()
{
    QTest::addColumn<QByteArray>("editor");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("line");
    QTest::addColumn<QStringList>("expected"); // program first; "@D" is the mount of D:
    QTest::addRow("no setting: the desktop's opener")
        << QByteArray() << "D:\\In Box\\Sub" << 0 << QStringList{"xdg-open", "@D/In Box/Sub"};
    QTest::addRow("lower-cased drive path finds the file's own case")
        << QByteArray("gedit +{line} {file}") << "d:\\in box\\sub" << 42
        << QStringList{"gedit", "+42", "@D/In Box/Sub"};
}

void tst_shellservices::openInEditorRecordsTheStart()
{
    QFETCH(QByteArray, editor);
    QFETCH(QString, path);
    QFETCH(int, line);
    QFETCH(QStringList, expected);
    if (editor.isEmpty())
        qunsetenv(shell::EditorVariable);
    else
        qputenv(shell::EditorVariable, editor);
    shell::ScopedRecordingProgramStarter recording;
    QVERIFY(shell::openInEditor(path, line));
    QCOMPARE(recording.starter().started().size(), size_t(1));
    const auto& started = recording.starter().started().front();
    QStringList got = QStringList{started.program} + started.arguments;
    got.replaceInStrings(m_mountD, QStringLiteral("@D"));
    QCOMPARE(got, expected);
    qunsetenv(shell::EditorVariable);
}

void tst_shellservices::openTextInEditorWritesTheText()
{
    shell::ScopedRecordingProgramStarter recording;
    const QByteArray text("first line\r\nsecond line\r\n");
    QVERIFY(shell::openTextInEditor(text, QStringLiteral("ImportLog.txt")));
    QCOMPARE(recording.starter().started().size(), size_t(1));
    const QString file = recording.starter().started().front().arguments.last();
    QVERIFY(QFileInfo(file).fileName().startsWith(QStringLiteral("ImportLog-")));
    QVERIFY(file.endsWith(QStringLiteral(".txt")));
    // Never readable by another user of the machine.
    QCOMPARE(QFile::permissions(file) & (QFileDevice::ReadGroup | QFileDevice::ReadOther), QFileDevice::Permissions());
    QFile written(file);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), text); // the bytes as given, CR LF kept
}

void tst_shellservices::startCommandLine_data()
{
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<bool>("started");
    QTest::addColumn<QStringList>("expected");
    QTest::addRow("program and arguments") << "regsvr -u \"/opt/lib/engine one.so\"" << true
                                           << QStringList{"regsvr", "-u", "/opt/lib/engine one.so"};
    QTest::addRow("program alone") << "sysinfo" << true << QStringList{"sysinfo"};
    QTest::addRow("empty line starts nothing") << "   " << false << QStringList{};
}

void tst_shellservices::startCommandLine()
{
    QFETCH(QString, commandLine);
    QFETCH(bool, started);
    QFETCH(QStringList, expected);
    shell::ScopedRecordingProgramStarter recording;
    QCOMPARE(shell::startCommandLine(commandLine), started);
    QStringList got;
    for (const auto& s : recording.starter().started())
        got << s.program << s.arguments;
    QCOMPARE(got, expected);
}

void tst_shellservices::displayPath_data()
{
    QTest::addColumn<QString>("path"); // "@D" is the mount of D:, "@T" the temporary folder
    QTest::addColumn<QString>("expected");
    QTest::addRow("root") << "/"
                          << "C:\\";
    QTest::addRow("below the root") << "/usr/lib/"
                                    << "C:\\usr\\lib";
    QTest::addRow("a mount point is its drive's root") << "@D"
                                                       << "D:\\";
    QTest::addRow("below a mount point") << "@D/In Box/Sub"
                                         << "D:\\In Box\\Sub";
    QTest::addRow("dots resolved") << "@D/In Box/../In Box/./Sub"
                                   << "D:\\In Box\\Sub";
    QTest::addRow("a sibling named like the mount is not on it") << "@T/mntother"
                                                                 << "C:\\@T\\mntother";
    QTest::addRow("drive form kept") << "E:\\data\\x.csv"
                                     << "E:\\data\\x.csv";
    QTest::addRow("empty") << ""
                           << "";
}

void tst_shellservices::displayPath()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    const QString tempInC = m_drive.tempPath().mid(1).replace(QLatin1Char('/'), QLatin1Char('\\'));
    path.replace(QStringLiteral("@D"), m_mountD).replace(QStringLiteral("@T"), m_drive.tempPath());
    expected.replace(QStringLiteral("@T"), tempInC);
    QCOMPARE(shell::displayPath(path), expected);
}

void tst_shellservices::displayPathRoundTrip()
{
    for (const QString& path :
         {m_mountD + QStringLiteral("/In Box/Sub"), m_drive.tempPath(), QStringLiteral("/")})
        QCOMPARE(shell::nativePath(shell::displayPath(path)), path);
}

void tst_shellservices::scriptedFolderBrowser()
{
    shell::ScopedScriptedFolderBrowser scripted;
    scripted.browser().queueAnswer(m_mountD + QStringLiteral("/In Box"));
    scripted.browser().queueAnswer(std::nullopt);
    QCOMPARE(shell::BrowseForFolder(QStringLiteral("Pick the source folder"), nullptr),
             QStringLiteral("D:\\In Box"));
    QCOMPARE(shell::BrowseForFolder(QStringLiteral("Again"), nullptr), QString()); // cancelled
    QCOMPARE(shell::BrowseForFolder(QStringLiteral("Nothing queued"), nullptr), QString());
    QCOMPARE(scripted.browser().titlesShown(),
             (std::vector<QString>{"Pick the source folder", "Again", "Nothing queued"}));
}

// The real dialog, driven offscreen: its title is the prompt and its answer comes
// back in the drive form.
void tst_shellservices::folderDialogScripted()
{
    const QString wanted = m_mountD + QStringLiteral("/In Box/Sub");
    QString titleSeen;
    QTimer::singleShot(0, this, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        titleSeen = dialog->windowTitle();
        dialog->setDirectory(wanted);
        static_cast<QDialog*>(dialog)->accept();
    });
    QCOMPARE(shell::BrowseForFolder(QStringLiteral("Select CSV file Source Path...."), nullptr),
             QStringLiteral("D:\\In Box\\Sub"));
    QCOMPARE(titleSeen, QStringLiteral("Select CSV file Source Path...."));

    QTimer::singleShot(0, this, [] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget()))
            dialog->reject();
    });
    QCOMPARE(shell::BrowseForFolder(QStringLiteral("Cancel me"), nullptr), QString());
}

QTEST_MAIN(tst_shellservices)
#include "tst_shellservices.moc"
