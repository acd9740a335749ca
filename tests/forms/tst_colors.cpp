#include "platform/forms/OleColor.h"
#include "platform/forms/Twips.h"

#include <QGuiApplication>
#include <QPalette>
#include <QTest>

using namespace forms;

class tst_colors : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void plainColours_data()
    {
        QTest::addColumn<uint>("ole");
        QTest::addColumn<QColor>("drawn");
        QTest::addRow("navy title colour") << 0x00800000u << QColor(0, 0, 0x80);
        QTest::addRow("red in the low byte") << 0x000000FFu << QColor(0xFF, 0, 0);
        QTest::addRow("high byte ignored") << 0x0100FF00u << QColor(0, 0xFF, 0);
    }
    void plainColours()
    {
        QFETCH(uint, ole);
        QFETCH(QColor, drawn);
        QCOMPARE(toQColor(ole), drawn);
        QCOMPARE(fromQColor(drawn), ole & 0x00FFFFFFu);
    }

    void systemColoursFollowThePalette()
    {
        QVERIFY(isSystemColor(0x8000000Fu));
        QCOMPARE(toQColor(0x8000000Fu), QGuiApplication::palette().color(QPalette::Button));
        QCOMPARE(toQColor(systemOleColor(SystemColor::Window)), QGuiApplication::palette().color(QPalette::Base));
        QCOMPARE(toQColor(0x800000FEu), QGuiApplication::palette().color(QPalette::Button));
    }

    void parsing_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<uint>("value");
        QTest::addRow("forms notation") << "&H8000000F&" << true << 0x8000000Fu;
        QTest::addRow("without closing ampersand") << "&H00800000" << true << 0x00800000u;
        QTest::addRow("C notation") << "0xff" << true << 0xFFu;
        QTest::addRow("decimal") << "255" << true << 255u;
        QTest::addRow("garbage") << "navy" << false << 0u;
        QTest::addRow("too wide") << "&H100000000" << false << 0u;
    }
    void parsing()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(uint, value);
        OleColor color = 0;
        QCOMPARE(parseOleColor(text, color), ok);
        QCOMPARE(color, value);
    }

    void twips()
    {
        QCOMPARE(twipsToPixels(4800), 320);
        QCOMPARE(twipsToPixels(14), 0);
        QCOMPARE(pixelsToTwips(8), 120);
    }
};

QTEST_MAIN(tst_colors)
#include "tst_colors.moc"
