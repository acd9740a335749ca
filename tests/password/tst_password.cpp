#include "app/mainwindow/password/ChangeLoginPassword.h"
#include "app/mainwindow/password/LoginPassword.h"

#include "platform/forms/MessageService.h"
#include "platform/settings/SettingsStore.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

using namespace password;

namespace {

const QString Letters = QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
const QString Key = QStringLiteral("QuillarPassword");

// One answer of an input box: the text typed, or Cancel.
using Typed = std::optional<QString>;
const Typed Cancel = std::nullopt;

} // namespace

Q_DECLARE_METATYPE(Typed)

class tst_password : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void substitutionIsOneToOneWithoutFixedPoints();
    void roundTrip_data();
    void roundTrip();
    void storedFormDropsWhatItCannotKeep_data();
    void storedFormDropsWhatItCannotKeep();
    void storable_data();
    void storable();
    void ruleMessageSaysWhatIsAllowed();

    void changePassword_data();
    void changePassword();
    void changedPasswordIsTheOneUnscrambled();
    void failedWriteIsReported();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_userHive;
};

void tst_password::init()
{
    // A fresh store for each case.
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_userHive = m_dir->filePath(QStringLiteral("user.hive"));
    qputenv("QUILLAR_MACHINE_HIVE", QFile::encodeName(m_dir->filePath(QStringLiteral("machine.hive"))));
    qputenv("QUILLAR_USER_HIVE", QFile::encodeName(m_userHive));
}

void tst_password::substitutionIsOneToOneWithoutFixedPoints()
{
    QSet<QChar> images;
    for (const QChar c : Letters) {
        const QString image = ScrambleLoginPassword(QString(c));
        QCOMPARE(image.size(), 1);
        QVERIFY2(Letters.contains(image), qPrintable(image));
        QVERIFY2(image != QString(c), qPrintable(QStringLiteral("%1 stands for itself").arg(c)));
        QCOMPARE(UnscrambleLoginPassword(image), QString(c));
        images.insert(image.at(0));
    }
    QCOMPARE(images.size(), Letters.size());
}

void tst_password::roundTrip_data()
{
    QTest::addColumn<QString>("password");
    QTest::addRow("empty") << QString();
    QTest::addRow("letters and digits") << QStringLiteral("Secret2026");
    QTest::addRow("case is kept") << QStringLiteral("aAbBzZ");
    QTest::addRow("every digit") << QStringLiteral("0123456789");
    QTest::addRow("exactly 30") << QStringLiteral("abcdefghijABCDEFGHIJ0123456789");
}

void tst_password::roundTrip()
{
    QFETCH(QString, password);
    const QString stored = ScrambleLoginPassword(password);
    QCOMPARE(stored.size(), password.size());
    QCOMPARE(UnscrambleLoginPassword(stored), password);
    // No character stands for itself, so a stored password never shows a letter of it in place.
    for (qsizetype i = 0; i < password.size(); ++i)
        QVERIFY(stored.at(i) != password.at(i));
}

void tst_password::storedFormDropsWhatItCannotKeep_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("givenBack");
    QTest::addRow("blanks and punctuation")
        << QStringLiteral("my pass-word!") << QStringLiteral("mypassword");
    QTest::addRow("past the 30th") << QStringLiteral("abcdefghijABCDEFGHIJ0123456789XYZ")
                                   << QStringLiteral("abcdefghijABCDEFGHIJ0123456789");
    QTest::addRow("dropped ones count toward 30")
        << QStringLiteral("a-b-c-d-e-f-g-h-i-j-k-l-m-n-o-p") << QStringLiteral("abcdefghijklmno");
    QTest::addRow("letters outside A-Z") << QStringLiteral("Çafé1") << QStringLiteral("af1");
}

void tst_password::storedFormDropsWhatItCannotKeep()
{
    QFETCH(QString, typed);
    QFETCH(QString, givenBack);
    QCOMPARE(UnscrambleLoginPassword(ScrambleLoginPassword(typed)), givenBack);
    QVERIFY(!isStorablePassword(typed));
}

void tst_password::storable_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("storable");
    QTest::addRow("empty") << QString() << true;
    QTest::addRow("letters and digits") << QStringLiteral("Manager01") << true;
    QTest::addRow("30 characters") << QString(30, QLatin1Char('x')) << true;
    QTest::addRow("31 characters") << QString(31, QLatin1Char('x')) << false;
    QTest::addRow("a blank") << QStringLiteral("two words") << false;
    QTest::addRow("a trailing blank") << QStringLiteral("secret ") << false;
    QTest::addRow("punctuation") << QStringLiteral("s3cr3t!") << false;
    QTest::addRow("an accented letter") << QStringLiteral("passé") << false;
    QTest::addRow("a non-Latin digit") << QStringLiteral("pass\u0663") << false;
}

void tst_password::storable()
{
    QFETCH(QString, password);
    QFETCH(bool, storable);
    QCOMPARE(isStorablePassword(password), storable);
    // Storable exactly when the stored form gives the password back.
    QCOMPARE(UnscrambleLoginPassword(ScrambleLoginPassword(password)) == password, storable);
}

void tst_password::ruleMessageSaysWhatIsAllowed()
{
    const QString message = passwordRuleMessage();
    for (const char* part : {"A to Z", "a to z", "0 to 9", "30 characters"})
        QVERIFY2(message.contains(QLatin1String(part)), qPrintable(message));
}

void tst_password::changePassword_data()
{
    QTest::addColumn<QString>("storedPassword"); // as typed once; stored scrambled
    QTest::addColumn<Typed>("current");
    QTest::addColumn<Typed>("first");
    QTest::addColumn<Typed>("second");
    QTest::addColumn<QString>("message"); // empty: none
    QTest::addColumn<QString>("passwordAfter");
    QTest::addColumn<int>("boxesAsked");

    const QString incorrect = QStringLiteral("Password Incorrect - Unable to change password");
    const QString mismatch = QStringLiteral("Passwords do not match");

    QTest::addRow("changed") << "old1" << Typed("old1") << Typed("New2") << Typed("New2") << QString()
                             << "New2" << 3;
    QTest::addRow("changed from none")
        << "" << Typed("") << Typed("First1") << Typed("First1") << QString() << "First1" << 3;
    QTest::addRow("changed to empty")
        << "old1" << Typed("old1") << Typed("") << Typed("") << QString() << "" << 3;
    QTest::addRow("wrong current") << "old1" << Typed("old2") << Typed() << Typed() << incorrect << "old1"
                                   << 1;
    QTest::addRow("current differs in case")
        << "old1" << Typed("OLD1") << Typed() << Typed() << incorrect << "old1" << 1;
    QTest::addRow("new ones differ") << "old1" << Typed("old1") << Typed("New2") << Typed("new2") << mismatch
                                     << "old1" << 3;
    QTest::addRow("new one too long refused, not shortened")
        << "old1" << Typed("old1") << Typed(QString(31, QLatin1Char('a')))
        << Typed(QString(31, QLatin1Char('a'))) << passwordRuleMessage() << "old1" << 3;
    QTest::addRow("new one with a blank refused, not reduced")
        << "old1" << Typed("old1") << Typed("new pass") << Typed("new pass") << passwordRuleMessage()
        << "old1" << 3;
    QTest::addRow("cancel on current") << "old1" << Cancel << Typed() << Typed() << QString() << "old1" << 1;
    QTest::addRow("cancel on current with no password stored")
        << "" << Cancel << Typed() << Typed() << QString() << "" << 1;
    QTest::addRow("cancel on new stores nothing, not an empty password")
        << "old1" << Typed("old1") << Cancel << Typed() << QString() << "old1" << 2;
    QTest::addRow("cancel on re-enter stores nothing")
        << "old1" << Typed("old1") << Typed("New2") << Cancel << QString() << "old1" << 3;
}

void tst_password::changePassword()
{
    QFETCH(QString, storedPassword);
    QFETCH(Typed, current);
    QFETCH(Typed, first);
    QFETCH(Typed, second);
    QFETCH(QString, message);
    QFETCH(QString, passwordAfter);
    QFETCH(int, boxesAsked);

    if (!storedPassword.isEmpty())
        QVERIFY(settings::writeSetting(Key, ScrambleLoginPassword(storedPassword)));
    const QString storedBefore = settings::readSetting(Key);

    forms::ScopedScriptedMessages scripted;
    scripted.service().queueInput(current);
    scripted.service().queueInput(first);
    scripted.service().queueInput(second);
    ChangeLoginPassword();

    const auto& asked = scripted.service().inputsShown();
    QCOMPARE(int(asked.size()), boxesAsked);
    const QStringList prompts{QStringLiteral("Please enter current password,"),
                              QStringLiteral("Please enter new password."),
                              QStringLiteral("Please re-enter new password.")};
    const QStringList titles{QStringLiteral("Enter current password"), QStringLiteral("Enter new password"),
                             QStringLiteral("Re-enter new password")};
    for (int i = 0; i < boxesAsked; ++i) {
        QCOMPARE(asked[i].text, prompts[i]);
        QCOMPARE(asked[i].title, titles[i]);
    }

    const auto& shown = scripted.service().shown();
    if (message.isEmpty()) {
        QCOMPARE(int(shown.size()), 0);
    } else {
        QCOMPARE(int(shown.size()), 1);
        QCOMPARE(shown[0].text, message);
        QCOMPARE(shown[0].title, QStringLiteral("Quillar"));
        QCOMPARE(shown[0].buttons(), int(forms::OKOnly));
        QCOMPARE(shown[0].icon(), 0);
    }

    const QString storedAfter = settings::readSetting(Key);
    QCOMPARE(UnscrambleLoginPassword(storedAfter), passwordAfter);
    if (passwordAfter == storedPassword)
        QCOMPARE(storedAfter, storedBefore); // untouched, not rewritten
}

void tst_password::changedPasswordIsTheOneUnscrambled()
{
    // The stored value is scrambled, never the plain password.
    forms::ScopedScriptedMessages scripted;
    for (const char* typed : {"", "Abc123", "Abc123"})
        scripted.service().queueInput(QString::fromLatin1(typed));
    ChangeLoginPassword();
    const QString stored = settings::readSetting(Key);
    QCOMPARE(stored, ScrambleLoginPassword(QStringLiteral("Abc123")));
    QVERIFY(stored != QStringLiteral("Abc123"));

    // The next change asks for the new password as the current one.
    scripted.service().clear();
    for (const char* typed : {"Abc123", "Next9", "Next9"})
        scripted.service().queueInput(QString::fromLatin1(typed));
    ChangeLoginPassword();
    QCOMPARE(int(scripted.service().shown().size()), 0);
    QCOMPARE(UnscrambleLoginPassword(settings::readSetting(Key)), QStringLiteral("Next9"));
}

void tst_password::failedWriteIsReported()
{
    QVERIFY(settings::writeSetting(Key, ScrambleLoginPassword(QStringLiteral("old1"))));
    QVERIFY(QFile::setPermissions(m_userHive, QFileDevice::ReadOwner));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("QuillarPassword was not saved")));

    forms::ScopedScriptedMessages scripted;
    for (const char* typed : {"old1", "New2", "New2"})
        scripted.service().queueInput(QString::fromLatin1(typed));
    ChangeLoginPassword();

    QCOMPARE(int(scripted.service().shown().size()), 1);
    QVERIFY(scripted.service().shown()[0].text.contains(QLatin1String("has not been changed")));
    QCOMPARE(UnscrambleLoginPassword(settings::readSetting(Key)), QStringLiteral("old1"));
}

QTEST_GUILESS_MAIN(tst_password)
#include "tst_password.moc"
