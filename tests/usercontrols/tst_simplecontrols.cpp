// The flat button, the bordered container and the banner.
#include "tests/usercontrols/ControlFixture.h"
#include "tests/usercontrols/TestMain.h"

#include "controls/usercontrols/Identities.h"
#include "controls/usercontrols/MemberIds.h"
#include "controls/usercontrols/vlHmBanner.h"
#include "controls/usercontrols/vlHmButton.h"
#include "controls/usercontrols/vlHmContainer.h"
#include "controls/usercontrols/vlHmWarnMsg.h"
#include "platform/controlframework/Font.h"
#include "platform/basic/RuntimeError.h"
#include "platform/forms/Pump.h"

#include <QLineEdit>
#include <QTest>

using basic::Variant;
using controlframework::Label;
using controlframework::PropertyBag;
using controlframework::Shape;
using usercontrols::vlHmBanner;
using usercontrols::vlHmButton;
using usercontrols::vlHmContainer;
using usercontrols::vlHmWarnMsg;
using Icon = usercontrols::WarnIconStyles;

namespace {

// Records the sleeps instead of sleeping, and what the button's face showed then.
struct RecordedSleeps
{
    RecordedSleeps()
    {
        previous = forms::setSleepFunction([this](int32_t ms) {
            sleeps << ms;
            if (during)
                during();
        });
    }
    ~RecordedSleeps() { forms::setSleepFunction(previous); }
    QList<int32_t> sleeps;
    std::function<void()> during;
    forms::SleepFunction previous;
};

} // namespace

class tst_simplecontrols : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void buttonNewInstance();
    void buttonPersistence_data();
    void buttonPersistence();
    void buttonLayout_data();
    void buttonLayout();
    void buttonHoverAndClick_data();
    void buttonHoverAndClick();
    void buttonClickSequence();
    void buttonDisabled();
    void buttonAccessKeys_data();
    void buttonAccessKeys();
    void buttonColoursWhileHovering();
    void buttonDefaultAndFocusFrames();
    void buttonDefaultFramePixels();
    void buttonHostsEnterAndEsc_data();
    void buttonHostsEnterAndEsc();

    void containerNewInstance();
    void containerBorderWidth_data();
    void containerBorderWidth();
    void containerWidthRefusedBeforeStored();
    void containerBorderReachesEdges_data();
    void containerBorderReachesEdges();
    void containerBorderStyle_data();
    void containerBorderStyle();
    void containerPersistence_data();
    void containerPersistence();

    void bannerLayout_data();
    void bannerLayout();
    void bannerBorderColour();
    void bannerPersistence_data();
    void bannerPersistence();
    void bannerSubCaptionVisible();

    void warnArrangement_data();
    void warnArrangement();
    void warnShowAndHide_data();
    void warnShowAndHide();
    void warnBackStyle();
    void warnUserMode_data();
    void warnUserMode();
    void warnPersistence_data();
    void warnPersistence();
    void warnEvents();
    void warnFontObjectWritesThrough();
};

// --- Flat button

void tst_simplecontrols::buttonNewInstance()
{
    Placed<vlHmButton> b(QStringLiteral("cmdSend"));
    b.site.initNew();
    QCOMPARE(b.control->width(), 1095);
    QCOMPARE(b.control->height(), 315);
    QCOMPARE(b.control->caption(), QStringLiteral("cmdSend"));
    QCOMPARE(b.element<Shape>(QStringLiteral("shpBtn")).fillColor(), 0xE0E0E0u);
    QCOMPARE(b.element<Shape>(QStringLiteral("shpBtn")).borderColor(), 0x80000008u);
    QVERIFY(b.control->enabled());
    QVERIFY(b.changed.isEmpty());
    const PropertyBag bag = b.site.save();
    QCOMPARE(bag.names(), (QStringList{"Caption", "BackColor", "ForeColor", "BorderColor", "HoverColor", "ClickColor", "Enabled"}));
    QCOMPARE(bag.read(QStringLiteral("Enabled")), Variant(true));
}

void tst_simplecontrols::buttonPersistence_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<uint>("back");
    QTest::addColumn<uint>("fore");
    QTest::addColumn<uint>("hover");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("empty bag: read defaults") << "{}" << "cmdOK" << 0xE0E0E0u << 0x80000008u << 0xC0C0C0u << true;
    QTest::newRow("names in lower case") << R"({"caption": "Send", "backcolor": 255, "forecolor": 0, "hovercolor": 65280, "enabled": false})"
                                         << "Send" << 255u << 0u << 0xFF00u << false;
    QTest::newRow("written defaults") << R"({"Caption": "cmdOK", "BackColor": 14737632, "Enabled": true})"
                                      << "cmdOK" << 0xE0E0E0u << 0x80000008u << 0xC0C0C0u << true;
}

void tst_simplecontrols::buttonPersistence()
{
    QFETCH(QString, stored);
    QFETCH(QString, caption);
    QFETCH(uint, back);
    QFETCH(uint, fore);
    QFETCH(uint, hover);
    QFETCH(bool, enabled);
    Placed<vlHmButton> b(QStringLiteral("cmdOK"));
    b.site.load(bagOf(stored));
    QCOMPARE(b.control->caption(), caption);
    QCOMPARE(b.control->backColorProperty(), back);
    QCOMPARE(b.control->foreColor(), fore);
    QCOMPARE(b.control->hoverColor(), hover);
    QCOMPARE(b.control->enabled(), enabled);
    QCOMPARE(b.element<Label>(QStringLiteral("lblCaption")).isEnabled(), enabled);
    // Written back whole, whatever the values.
    const PropertyBag again = b.site.save();
    QCOMPARE(again.names().size(), 7);
    QCOMPARE(again.read(QStringLiteral("caption")), Variant(caption));
    QCOMPARE(again.read(QStringLiteral("Enabled")), Variant(enabled));
}

void tst_simplecontrols::buttonLayout_data()
{
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("h");
    QTest::addColumn<QRect>("defaultFrame");
    QTest::addColumn<QRect>("focusFrame");
    QTest::addColumn<QRect>("caption");
    QTest::newRow("new size") << 1095 << 315 << QRect(15, 15, 1065, 285) << QRect(45, 45, 1005, 225) << QRect(60, 60, 1035, 195);
    QTest::newRow("tall") << 2000 << 1000 << QRect(15, 15, 1970, 970) << QRect(45, 45, 1910, 910) << QRect(60, 402, 1940, 195);
}

void tst_simplecontrols::buttonLayout()
{
    QFETCH(int, w);
    QFETCH(int, h);
    QFETCH(QRect, defaultFrame);
    QFETCH(QRect, focusFrame);
    QFETCH(QRect, caption);
    Placed<vlHmButton> b;
    b.site.initNew();
    b.site.move(0, 0, w, h);
    QCOMPARE(twipsRect(b.element(QStringLiteral("shpBtn"))), QRect(0, 0, w, h));
    QCOMPARE(twipsRect(b.element(QStringLiteral("shpDefault"))), defaultFrame);
    QCOMPARE(twipsRect(b.element(QStringLiteral("shpFocus"))), focusFrame);
    QCOMPARE(twipsRect(b.element(QStringLiteral("lblCaption"))), caption);
    QCOMPARE(twipsRect(b.element(QStringLiteral("lblDragArea"))), QRect(0, 0, w, h));
    QCOMPARE(b.control->elements().back()->name(), QStringLiteral("lblDragArea"));
}

void tst_simplecontrols::buttonHoverAndClick_data()
{
    QTest::addColumn<QString>("moves");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<bool>("hoverLookAfter");
    // o: onto the button, x: off it, p: press, r: release
    QTest::newRow("move over and off: no click") << "ox" << 0 << false;
    QTest::newRow("over: hover look") << "o" << 0 << true;
    QTest::newRow("press and release over it: one click") << "opr" << 1 << false;
    QTest::newRow("released after leaving: none") << "opxr" << 0 << false;
    QTest::newRow("left by the window's edge: none") << "oLpr" << 0 << false;
}

void tst_simplecontrols::buttonHoverAndClick()
{
    QFETCH(QString, moves);
    QFETCH(int, clicks);
    QFETCH(bool, hoverLookAfter);
    RecordedSleeps sleeps;
    Placed<vlHmButton> b;
    b.site.initNew();
    b.control->setHoverColor(0x00FF00);
    Pointer pointer(b.site.widget());
    const auto& area = b.element(QStringLiteral("lblDragArea"));
    for (const QChar c : moves) {
        switch (c.toLatin1()) {
        case 'o': pointer.moveOnto(area); break;
        case 'x': pointer.moveOff(); break;
        case 'L': pointer.leave(); break;
        case 'p': pointer.press(); break;
        case 'r': pointer.release(); break;
        }
    }
    QCOMPARE(int(b.events.size()), clicks);
    QCOMPARE(b.element<Shape>(QStringLiteral("shpBtn")).fillColor(), hoverLookAfter ? 0x00FF00u : 0xE0E0E0u);
    QCOMPARE(b.control->isHovering(), hoverLookAfter);
}

void tst_simplecontrols::buttonClickSequence()
{
    RecordedSleeps sleeps;
    Placed<vlHmButton> b;
    b.site.initNew();
    const Shape& face = b.element<Shape>(QStringLiteral("shpBtn"));
    QList<uint> duringHandler;
    QList<uint> duringSleep;
    b.onEvent = [&](automation::DispId id, const QString& name, automation::Args&) {
        QCOMPARE(id, usercontrols::button::event::Click);
        QCOMPARE(name, QStringLiteral("Click"));
        duringHandler << face.fillColor();
    };
    sleeps.during = [&] { duringSleep << face.fillColor(); };
    Pointer pointer(b.site.widget());
    pointer.clickOn(b.element(QStringLiteral("lblDragArea")));
    QCOMPARE(duringHandler, QList<uint>{0x808080u});
    QCOMPARE(sleeps.sleeps, QList<int32_t>{100});
    QCOMPARE(duringSleep, QList<uint>{0x808080u});
    // Back colour afterwards, though the pointer is still over it.
    QCOMPARE(face.fillColor(), 0xE0E0E0u);
    QVERIFY(!b.control->isHovering());
}

void tst_simplecontrols::buttonDisabled()
{
    RecordedSleeps sleeps;
    Placed<vlHmButton> b;
    b.site.initNew();
    b.site.setDefault(true);
    b.site.setCancel(true);
    b.object()->put(QStringLiteral("Enabled"), false);
    QVERIFY(!b.element<Label>(QStringLiteral("lblCaption")).isEnabled());
    Pointer pointer(b.site.widget());
    pointer.moveOnto(b.element(QStringLiteral("lblDragArea")));
    QCOMPARE(b.element<Shape>(QStringLiteral("shpBtn")).fillColor(), 0xE0E0E0u);
    pointer.press();
    pointer.release();
    // A disabled button never clicks: not by the mouse, not by Enter or Esc, not by
    // its own Click.
    b.control->accessKeyPress(13);
    b.control->accessKeyPress(27);
    b.control->click();
    QVERIFY(b.events.empty());
    QVERIFY(sleeps.sleeps.isEmpty());
}

void tst_simplecontrols::buttonAccessKeys_data()
{
    QTest::addColumn<bool>("isDefault");
    QTest::addColumn<bool>("isCancel");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("clicks");
    QTest::newRow("Enter on the default button") << true << false << 13 << 1;
    QTest::newRow("Enter on another button") << false << true << 13 << 0;
    QTest::newRow("Esc on the cancel button") << false << true << 27 << 1;
    QTest::newRow("Esc on another button") << true << false << 27 << 0;
    QTest::newRow("another key") << true << true << 32 << 0;
}

void tst_simplecontrols::buttonAccessKeys()
{
    QFETCH(bool, isDefault);
    QFETCH(bool, isCancel);
    QFETCH(int, key);
    QFETCH(int, clicks);
    RecordedSleeps sleeps;
    Placed<vlHmButton> b;
    b.site.initNew();
    b.site.setDefault(isDefault);
    b.site.setCancel(isCancel);
    b.control->accessKeyPress(key);
    QCOMPARE(int(b.events.size()), clicks);
    QCOMPARE(int(sleeps.sleeps.size()), clicks);
}

void tst_simplecontrols::buttonColoursWhileHovering()
{
    Placed<vlHmButton> b;
    b.site.initNew();
    Pointer pointer(b.site.widget());
    pointer.moveOnto(b.element(QStringLiteral("lblDragArea")));
    const Shape& face = b.element<Shape>(QStringLiteral("shpBtn"));
    QCOMPARE(face.fillColor(), 0xC0C0C0u);
    // A new hover colour shows only at the next Refresh.
    b.object()->put(QStringLiteral("HoverColor"), Variant(int32_t(0xFF)));
    QCOMPARE(face.fillColor(), 0xC0C0C0u);
    b.object()->call(QStringLiteral("Refresh"));
    QCOMPARE(face.fillColor(), 0xFFu);
    // A new back colour replaces the hover colour at once.
    b.object()->put(QStringLiteral("BackColor"), Variant(int32_t(0xFF0000)));
    QCOMPARE(face.fillColor(), 0xFF0000u);
    QVERIFY(b.changed.isEmpty());
}

void tst_simplecontrols::buttonDefaultAndFocusFrames()
{
    Placed<vlHmButton> b;
    b.site.initNew();
    const Shape& defaultFrame = b.element<Shape>(QStringLiteral("shpDefault"));
    const Shape& focusFrame = b.element<Shape>(QStringLiteral("shpFocus"));
    QVERIFY(!defaultFrame.isVisible());
    QVERIFY(!focusFrame.isVisible());
    b.site.setDisplayAsDefault(true);
    QVERIFY(defaultFrame.isVisible());
    QCOMPARE(defaultFrame.borderColor(), 0x80000008u);
    b.control->ambientChanged(QStringLiteral("displayasdefault")); // names compare exactly
    QVERIFY(defaultFrame.isVisible());
    b.site.setDisplayAsDefault(false);
    QVERIFY(!defaultFrame.isVisible());
    b.control->enterFocus();
    QVERIFY(focusFrame.isVisible());
    QCOMPARE(focusFrame.borderColor(), 0x808080u);
    b.control->exitFocus();
    QVERIFY(!focusFrame.isVisible());
}

void tst_simplecontrols::buttonDefaultFramePixels()
{
    OnHost<vlHmButton> shown(QStringLiteral("cmdOK"));
    Placed<vlHmButton>& b = shown.placed;
    b.site.initNew();
    b.object()->put(QStringLiteral("BorderColor"), Variant(int32_t(0xFF)));
    b.object()->put(QStringLiteral("BackColor"), Variant(int32_t(0xFFFFFF)));
    b.object()->put(QStringLiteral("Caption"), QString());
    b.site.setDefault(true);
    shown.show();
    const QImage image = shown.drawn();
    QCOMPARE(image.size(), QSize(73, 21));
    auto at = [&](int x, int y) { return QColor(image.pixel(x, y)); };
    const QColor border = forms::toQColor(0xFF);
    const QColor face = forms::toQColor(0xFFFFFF);
    // The face's one-pixel border on the control's edges, the default frame just
    // inside it, on every side alike.
    const int x = image.width() - 1, y = image.height() - 1, midX = 30, midY = 10;
    for (int i : {0, 1}) {
        QCOMPARE(at(i, midY), border);
        QCOMPARE(at(x - i, midY), border);
        QCOMPARE(at(midX, i), border);
        QCOMPARE(at(midX, y - i), border);
    }
    QCOMPARE(at(2, midY), face);
    QCOMPARE(at(x - 2, midY), face);
    QCOMPARE(at(midX, 2), face);
    QCOMPARE(at(midX, y - 2), face);
}

void tst_simplecontrols::buttonHostsEnterAndEsc_data()
{
    QTest::addColumn<bool>("isDefault");
    QTest::addColumn<bool>("isCancel");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("clicks");
    QTest::newRow("Enter, default") << true << false << int(Qt::Key_Return) << 1;
    QTest::newRow("keypad Enter, default") << true << false << int(Qt::Key_Enter) << 1;
    QTest::newRow("Enter, not default") << false << true << int(Qt::Key_Return) << 0;
    QTest::newRow("Esc, cancel") << false << true << int(Qt::Key_Escape) << 1;
    QTest::newRow("Esc, not cancel") << true << false << int(Qt::Key_Escape) << 0;
}

void tst_simplecontrols::buttonHostsEnterAndEsc()
{
    QFETCH(bool, isDefault);
    QFETCH(bool, isCancel);
    QFETCH(int, key);
    QFETCH(int, clicks);
    RecordedSleeps sleeps;
    QWidget form;
    form.resize(300, 120);
    QLineEdit field(&form);
    field.setGeometry(10, 10, 150, 24);
    Placed<vlHmButton> b(QStringLiteral("cmdOK"), &form);
    b.site.initNew();
    b.site.move(150, 750, 1095, 315);
    b.site.setDefault(isDefault);
    b.site.setCancel(isCancel);
    // The host shows its default button as default.
    QCOMPARE(b.element(QStringLiteral("shpDefault")).isVisible(), isDefault);
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    field.setFocus();
    // The key goes to the form's focused text field; the form's handling sends it on.
    QTest::keyClick(&field, Qt::Key(key));
    QCOMPARE(int(b.events.size()), clicks);
    // Taken back: neither the frame nor the key.
    b.site.setDefault(false);
    b.site.setCancel(false);
    QVERIFY(!b.element(QStringLiteral("shpDefault")).isVisible());
    QTest::keyClick(&field, Qt::Key(key));
    QCOMPARE(int(b.events.size()), clicks);
}

// --- Bordered container

void tst_simplecontrols::containerNewInstance()
{
    Placed<vlHmContainer> c;
    c.site.initNew();
    c.site.move(0, 0, 3000, 2000);
    const Shape& shape = c.element<Shape>(QStringLiteral("shpBorder"));
    QCOMPARE(shape.fillColor(), 0xE0E0E0u);
    QCOMPARE(shape.borderColor(), 0u);
    QCOMPARE(shape.kind(), controlframework::ShapeKind::Rectangle);
    QCOMPARE(shape.borderWidth(), 1);
    QCOMPARE(twipsRect(shape), QRect(7, 7, 2985, 1985));
    QCOMPARE(c.control->backColor(), 0x80000005u);
    QVERIFY(c.site.save().isEmpty());
}

void tst_simplecontrols::containerBorderWidth_data()
{
    QTest::addColumn<int>("given");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QRect>("shape");
    QTest::newRow("one unit") << 1 << 1 << QRect(7, 7, 2985, 1985);
    QTest::newRow("two units") << 2 << 2 << QRect(15, 15, 2970, 1970);
    QTest::newRow("zero becomes one") << 0 << 1 << QRect(7, 7, 2985, 1985);
    QTest::newRow("negative becomes one") << -5 << 1 << QRect(7, 7, 2985, 1985);
    QTest::newRow("the widest") << 1092 << 1092 << QRect(8190, 8190, 3000 - 16380, 2000 - 16380);
}

void tst_simplecontrols::containerBorderWidth()
{
    QFETCH(int, given);
    QFETCH(int, stored);
    QFETCH(QRect, shape);
    Placed<vlHmContainer> c;
    c.site.initNew();
    c.site.move(0, 0, 3000, 2000);
    c.changed.clear();
    int16_t argument = int16_t(given);
    c.control->setBorderWidth(argument);
    QCOMPARE(int(argument), stored); // the caller's argument too
    QCOMPARE(int(c.control->borderWidth()), stored);
    QCOMPARE(c.element<Shape>(QStringLiteral("shpBorder")).borderWidth(), stored);
    QCOMPARE(twipsRect(c.element(QStringLiteral("shpBorder"))), shape);
    QCOMPARE(c.changed, QStringList{QStringLiteral("BorderWidth")});
    // By name through the host's object, the value in a variable passed by
    // reference: the correction comes back into it, a width left as it is keeps
    // the variable as it was.
    Variant variable{int32_t(given)};
    c.object()->putByRef(QStringLiteral("BorderWidth"), variable);
    QCOMPARE(int(c.control->borderWidth()), stored);
    QCOMPARE(variable, given == stored ? Variant(int32_t(given)) : Variant(int16_t(stored)));
}

void tst_simplecontrols::containerWidthRefusedBeforeStored()
{
    Placed<vlHmContainer> c;
    c.site.initNew();
    c.site.move(0, 0, 3000, 2000);
    c.changed.clear();
    try {
        c.object()->put(QStringLiteral("BorderWidth"), Variant(int16_t(1093)));
        QFAIL("1093 taken");
    } catch (const basic::RuntimeError& e) {
        QCOMPARE(e.number(), basic::err::Overflow);
    }
    // Nothing stored, so the saved design still loads.
    QCOMPARE(int(c.control->borderWidth()), 1);
    QCOMPARE(c.element<Shape>(QStringLiteral("shpBorder")).borderWidth(), 1);
    QVERIFY(c.changed.isEmpty());
    Placed<vlHmContainer> reloaded;
    reloaded.site.load(c.site.save());
    QCOMPARE(int(reloaded.control->borderWidth()), 1);
}

void tst_simplecontrols::containerBorderReachesEdges_data()
{
    QTest::addColumn<int>("units");
    QTest::addColumn<int>("style");
    QTest::newRow("one unit") << 1 << 0;
    QTest::newRow("two units") << 2 << 0;
    QTest::newRow("three units") << 3 << 0;
    QTest::newRow("four units") << 4 << 0;
    QTest::newRow("four units, rounded") << 4 << 4;
}

void tst_simplecontrols::containerBorderReachesEdges()
{
    QFETCH(int, units);
    QFETCH(int, style);
    OnHost<vlHmContainer> shown(QStringLiteral("Container1"));
    Placed<vlHmContainer>& c = shown.placed;
    c.site.initNew();
    c.site.move(0, 0, 3000, 2000); // 200 by 133 pixels
    c.object()->put(QStringLiteral("BorderColor"), Variant(int32_t(0xFF)));
    c.object()->put(QStringLiteral("BorderWidth"), Variant(int16_t(units)));
    c.object()->put(QStringLiteral("BorderStyle"), Variant(int32_t(style)));
    shown.show();
    const QImage image = shown.drawn();
    QCOMPARE(image.size(), QSize(200, 133));
    const QColor border = forms::toQColor(0xFF);
    const QColor fill = forms::toQColor(0xE0E0E0);
    auto at = [&](int x, int y) { return QColor(image.pixel(x, y)); };
    const int midX = image.width() / 2;
    const int midY = image.height() / 2;
    // Along each edge: the border from the outermost pixel inwards, as thick as
    // it is wide, then the fill.
    for (int i = 0; i < units; ++i) {
        QCOMPARE(at(i, midY), border);
        QCOMPARE(at(image.width() - 1 - i, midY), border);
        QCOMPARE(at(midX, i), border);
        QCOMPARE(at(midX, image.height() - 1 - i), border);
    }
    QCOMPARE(at(units, midY), fill);
    QCOMPARE(at(image.width() - 1 - units, midY), fill);
    QCOMPARE(at(midX, units), fill);
    QCOMPARE(at(midX, image.height() - 1 - units), fill);
    if (style == 0) {
        // Square corners: the whole outermost ring.
        for (int x = 0; x < image.width(); ++x) {
            QCOMPARE(at(x, 0), border);
            QCOMPARE(at(x, image.height() - 1), border);
        }
        for (int y = 0; y < image.height(); ++y) {
            QCOMPARE(at(0, y), border);
            QCOMPARE(at(image.width() - 1, y), border);
        }
    } else {
        // Rounded corners show the control's window-colour background.
        QCOMPARE(at(0, 0), forms::toQColor(0x80000005));
    }
}

void tst_simplecontrols::containerBorderStyle_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("error");
    QTest::newRow("rounded") << 4 << 0;
    QTest::newRow("square") << 0 << 0;
    QTest::newRow("oval, a kind of the shape") << 2 << 0;
    QTest::newRow("no kind of the shape") << 7 << basic::err::InvalidPropertyValue;
    QTest::newRow("beyond 16 bits") << 40000 << basic::err::Overflow;
}

void tst_simplecontrols::containerBorderStyle()
{
    QFETCH(int, style);
    QFETCH(int, error);
    Placed<vlHmContainer> c;
    c.site.initNew();
    c.site.move(0, 0, 3000, 2000);
    c.changed.clear();
    const QRect before = twipsRect(c.element(QStringLiteral("shpBorder")));
    try {
        c.object()->put(QStringLiteral("BorderStyle"), Variant(int32_t(style)));
        QCOMPARE(error, 0);
        QCOMPARE(c.control->borderStyle(), style);
        QCOMPARE(int(c.element<Shape>(QStringLiteral("shpBorder")).kind()), style);
        QCOMPARE(c.changed, QStringList{QStringLiteral("BorderStyle")});
    } catch (const basic::RuntimeError& e) {
        QCOMPARE(e.number(), error);
        QCOMPARE(c.control->borderStyle(), 0);
        QVERIFY(c.changed.isEmpty());
    }
    // The style and the colours do not move the shape.
    c.object()->put(QStringLiteral("BorderColor"), Variant(int32_t(0xFF)));
    c.object()->put(QStringLiteral("BackColor"), Variant(int32_t(0xFFFFFF)));
    QCOMPARE(twipsRect(c.element(QStringLiteral("shpBorder"))), before);
}

void tst_simplecontrols::containerPersistence_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<uint>("back");
    QTest::addColumn<uint>("border");
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("width");
    QTest::addColumn<QStringList>("written");
    QTest::newRow("empty bag") << "{}" << 0xE0E0E0u << 0u << 0 << 1 << QStringList{};
    QTest::newRow("names in another case") << R"({"BACKCOLOR": 16777215, "bordercolor": 255, "borderStyle": 4, "BorderWIDTH": 3})"
                                           << 0xFFFFFFu << 255u << 4 << 3
                                           << QStringList{"BackColor", "BorderColor", "BorderStyle", "BorderWidth"};
    QTest::newRow("defaults stored") << R"({"BackColor": 14737632, "BorderWidth": 1})" << 0xE0E0E0u << 0u << 0 << 1 << QStringList{};
}

void tst_simplecontrols::containerPersistence()
{
    QFETCH(QString, stored);
    QFETCH(uint, back);
    QFETCH(uint, border);
    QFETCH(int, style);
    QFETCH(int, width);
    QFETCH(QStringList, written);
    Placed<vlHmContainer> c;
    c.site.load(bagOf(stored));
    QCOMPARE(c.control->backColorProperty(), back);
    QCOMPARE(c.control->borderColor(), border);
    QCOMPARE(c.control->borderStyle(), style);
    QCOMPARE(int(c.control->borderWidth()), width);
    QCOMPARE(c.site.save().names(), written);
}

// --- Banner

void tst_simplecontrols::bannerLayout_data()
{
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("h");
    QTest::addColumn<int>("width");
    QTest::newRow("too small") << 500 << 1000 << 720;
    QTest::newRow("any height gives 495") << 6000 << 100 << 6000;
    QTest::newRow("the narrowest") << 720 << 495 << 720;
}

void tst_simplecontrols::bannerLayout()
{
    QFETCH(int, w);
    QFETCH(int, h);
    QFETCH(int, width);
    Placed<vlHmBanner> b;
    b.site.initNew();
    b.site.move(0, 0, w, h);
    QCOMPARE(b.control->width(), width);
    QCOMPARE(b.control->height(), 495);
    QCOMPARE(twipsRect(b.element(QStringLiteral("shpBanner"))), QRect(0, 0, width, 495));
    QCOMPARE(twipsRect(b.element(QStringLiteral("lblCaption"))), QRect(60, 60, width - 120, 375));
    QCOMPARE(twipsRect(b.element(QStringLiteral("lblSubCaption"))), QRect(60, 120, width - 150, 255));
    QCOMPARE(b.control->elements().back()->name(), QStringLiteral("lblCaption"));
}

void tst_simplecontrols::bannerBorderColour()
{
    Placed<vlHmBanner> b;
    b.site.initNew();
    const Shape& shape = b.element<Shape>(QStringLiteral("shpBanner"));
    b.control->setBackColorProperty(0x800000);
    QCOMPARE(shape.fillColor(), 0x800000u);
    QCOMPARE(shape.borderColor(), 0x800000u);
    b.control->setBorderColor(0xFF);
    QCOMPARE(shape.borderColor(), 0xFFu);
    QCOMPARE(shape.fillColor(), 0x800000u);
    b.control->setBackColorProperty(0x8000);
    QCOMPARE(shape.borderColor(), 0x8000u);
    b.control->setLockBorderColor(false);
    QCOMPARE(shape.borderColor(), 0xFFu);
    b.control->setBackColorProperty(0x80);
    QCOMPARE(shape.borderColor(), 0xFFu);
    b.control->setLockBorderColor(true);
    QCOMPARE(shape.borderColor(), 0x80u);
    QVERIFY(b.changed.isEmpty());
}

void tst_simplecontrols::bannerPersistence_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("subCaption");
    QTest::addColumn<bool>("subVisible");
    QTest::addColumn<bool>("lock");
    QTest::newRow("empty bag: read defaults") << "{}" << "Caption" << "SubCaption" << true << true;
    QTest::newRow("names in lower case") << R"({"caption": "Sales", "subcaption": "2026", "subcaptionvisible": false, "lockbordercolor": false})"
                                         << "Sales" << "2026" << false << false;
}

void tst_simplecontrols::bannerPersistence()
{
    QFETCH(QString, stored);
    QFETCH(QString, caption);
    QFETCH(QString, subCaption);
    QFETCH(bool, subVisible);
    QFETCH(bool, lock);
    Placed<vlHmBanner> b;
    b.site.load(bagOf(stored));
    QCOMPARE(b.control->caption(), caption);
    QCOMPARE(b.element<Label>(QStringLiteral("lblCaption")).caption(), caption);
    QCOMPARE(b.control->subCaption(), subCaption);
    QCOMPARE(b.control->subCaptionVisible(), subVisible);
    QCOMPARE(b.control->lockBorderColor(), lock);
    QCOMPARE(b.control->foreColor(), 0xFFFFFFu);
    QCOMPARE(b.site.save().names(), (QStringList{"Caption", "SubCaption", "SubCaptionVisible", "BackColor", "BorderColor",
                                                 "ForeColor", "LockBorderColor", "BorderWidth"}));
}

void tst_simplecontrols::bannerSubCaptionVisible()
{
    Placed<vlHmBanner> b(QStringLiteral("vlbHeading"));
    b.site.initNew();
    QCOMPARE(b.control->caption(), QStringLiteral("vlbHeading"));
    QCOMPARE(b.control->subCaption(), QStringLiteral("Sub Banner"));
    // Every value at its default is still stored.
    QCOMPARE(b.site.save().names().size(), 8);
    const QRect caption = twipsRect(b.element(QStringLiteral("lblCaption")));
    b.object()->put(QStringLiteral("SubCaptionVisible"), false);
    QVERIFY(!b.element(QStringLiteral("lblSubCaption")).isVisible());
    QVERIFY(b.element(QStringLiteral("lblCaption")).isVisible());
    QCOMPARE(twipsRect(b.element(QStringLiteral("lblCaption"))), caption);
}

// --- Warning strip

namespace {

// Which of the three icons the strip's icon image shows ("" for none).
QString iconShown(const Placed<vlHmWarnMsg>& w)
{
    const QImage shown = w.element<controlframework::Image>(QStringLiteral("imgDisplayIcon")).picture().toImage();
    if (shown.isNull())
        return QString();
    const char* names[] = {"Information", "Critical", "Warning"};
    for (int i = 0; i < 3; ++i)
        if (w.element<controlframework::Image>(QStringLiteral("imgIconXP(%1)").arg(i)).picture().toImage() == shown)
            return QString::fromLatin1(names[i]);
    return QStringLiteral("?");
}

} // namespace

void tst_simplecontrols::warnArrangement_data()
{
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("h");
    QTest::addColumn<QSize>("size");
    QTest::newRow("too small both ways") << 600 << 100 << QSize(1200, 300);
    QTest::newRow("too narrow") << 1000 << 900 << QSize(1200, 900);
    QTest::newRow("large enough") << 6000 << 600 << QSize(6000, 600);
}

void tst_simplecontrols::warnArrangement()
{
    QFETCH(int, w);
    QFETCH(int, h);
    QFETCH(QSize, size);
    Placed<vlHmWarnMsg> m;
    m.site.initNew();
    m.site.move(0, 0, w, h);
    QCOMPARE(QSize(m.control->width(), m.control->height()), size);
    QCOMPARE(twipsRect(m.element(QStringLiteral("lblCaption"))), QRect(300, 30, size.width() - 300, size.height() - 30));
    QCOMPARE(twipsRect(m.element(QStringLiteral("imgDisplayIcon"))), QRect(0, 0, 240, 240));
    QCOMPARE(m.object()->get(QStringLiteral("ScaleWidth")), Variant(int32_t(size.width())));
    QCOMPARE(m.object()->get(QStringLiteral("ScaleHeight")), Variant(int32_t(size.height())));
}

void tst_simplecontrols::warnShowAndHide_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<bool>("hideBetween");
    QTest::addColumn<int>("then");
    QTest::addColumn<QString>("icon");
    QTest::addColumn<bool>("iconVisible");
    QTest::newRow("warning") << 2 << false << 2 << "Warning" << true;
    QTest::newRow("critical after information") << 0 << false << 1 << "Critical" << true;
    QTest::newRow("none: text without icon") << 2 << false << 3 << "" << true;
    QTest::newRow("4 keeps the last icon") << 1 << false << 4 << "Critical" << true;
    QTest::newRow("negative keeps icon and visibility") << 2 << false << -1 << "Warning" << true;
    QTest::newRow("negative after Hide keeps it hidden") << 2 << true << -1 << "" << false;
}

void tst_simplecontrols::warnShowAndHide()
{
    QFETCH(int, first);
    QFETCH(bool, hideBetween);
    QFETCH(int, then);
    QFETCH(QString, icon);
    QFETCH(bool, iconVisible);
    Placed<vlHmWarnMsg> m;
    m.site.load(PropertyBag());
    QVERIFY(!m.element(QStringLiteral("imgDisplayIcon")).isVisible());
    m.object()->call(QStringLiteral("Show"), {Variant(int32_t(first)), Variant(QStringLiteral("First"))});
    if (hideBetween)
        m.object()->call(QStringLiteral("Hide"));
    automation::Args args{Variant(int32_t(then)), Variant(QStringLiteral("File INV0001.CSV has 3 errors"))};
    m.object()->callByRef(QStringLiteral("Show"), args);
    QCOMPARE(args[0], Variant(int32_t(then))); // by reference, unchanged
    QCOMPARE(iconShown(m), icon);
    QCOMPARE(m.element(QStringLiteral("imgDisplayIcon")).isVisible(), iconVisible);
    const Label& message = m.element<Label>(QStringLiteral("lblCaption"));
    QVERIFY(message.isVisible());
    QCOMPARE(message.caption(), QStringLiteral("File INV0001.CSV has 3 errors"));

    m.object()->call(QStringLiteral("Hide"));
    QVERIFY(!m.element(QStringLiteral("imgDisplayIcon")).isVisible());
    QVERIFY(!message.isVisible());
    QCOMPARE(message.caption(), QString());
    QCOMPARE(m.control->iconStyle(), int32_t(Icon::None));
}

void tst_simplecontrols::warnBackStyle()
{
    Placed<vlHmWarnMsg> m;
    m.site.initNew();
    m.changed.clear();
    m.object()->put(QStringLiteral("BackStyle"), Variant(int32_t(2)));
    QCOMPARE(m.object()->get(QStringLiteral("BackStyle")), Variant(int32_t(1)));
    QVERIFY(m.changed.isEmpty());
    m.object()->put(QStringLiteral("BackStyle"), Variant(int32_t(0)));
    QVERIFY(!m.control->isOpaque());
    QCOMPARE(m.changed, QStringList{QStringLiteral("BackStyle")});
    m.object()->put(QStringLiteral("ForeColor"), Variant(int32_t(0xFF)));
    QCOMPARE(m.element<Label>(QStringLiteral("lblCaption")).foreColor(), 0xFFu);
    const PropertyBag bag = m.site.save();
    QCOMPARE(bag.names(), (QStringList{"BackStyle", "ForeColor"}));
    QCOMPARE(bag.read(QStringLiteral("BackStyle")), Variant(int16_t(0)));
    // The button-text colour is the write default: no entry.
    m.object()->put(QStringLiteral("ForeColor"), Variant(int32_t(0x80000012)));
    QVERIFY(!m.site.save().contains(QStringLiteral("ForeColor")));
}

void tst_simplecontrols::warnUserMode_data()
{
    QTest::addColumn<bool>("userMode");
    QTest::addColumn<QString>("icon");
    QTest::addColumn<QString>("text");
    QTest::newRow("run time: empty") << true << "" << "";
    QTest::newRow("designer: information and the name") << false << "Information" << "vlwStatus";
}

void tst_simplecontrols::warnUserMode()
{
    QFETCH(bool, userMode);
    QFETCH(QString, icon);
    QFETCH(QString, text);
    Placed<vlHmWarnMsg> m(QStringLiteral("vlwStatus"));
    m.site.setUserMode(userMode);
    m.site.load(bagOf(R"({"forecolor": 255})"));
    QCOMPARE(iconShown(m), icon);
    QCOMPARE(m.element(QStringLiteral("imgDisplayIcon")).isVisible(), !userMode);
    QCOMPARE(m.element<Label>(QStringLiteral("lblCaption")).caption(), text);
    QCOMPARE(m.element<Label>(QStringLiteral("lblCaption")).foreColor(), 255u);
}

void tst_simplecontrols::warnPersistence_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<uint>("back");
    QTest::addColumn<QString>("fontName");
    QTest::addColumn<int>("backStyle");
    QTest::newRow("empty bag: ambient font") << "{}" << 0x8000000Fu << "Tahoma" << 1;
    QTest::newRow("names in another case")
        << R"({"BACKCOLOR": 16777215, "font": {"font": {"name": "Verdana", "size": 10, "bold": false, "italic": false, "underline": false, "strikethrough": false, "charset": 0}}, "backstyle": 0})"
        << 0xFFFFFFu << "Verdana" << 0;
}

void tst_simplecontrols::warnPersistence()
{
    QFETCH(QString, stored);
    QFETCH(uint, back);
    QFETCH(QString, fontName);
    QFETCH(int, backStyle);
    Placed<vlHmWarnMsg> m;
    controlframework::FontInfo ambient;
    ambient.name = QStringLiteral("Tahoma");
    m.site.setAmbientFont(ambient);
    m.site.load(bagOf(stored));
    QCOMPARE(m.control->backColorProperty(), back);
    QCOMPARE(m.control->backColor(), back);
    QCOMPARE(m.control->font().name, fontName);
    QCOMPARE(m.control->backStyle(), backStyle);
    // Saved and loaded again: the same strip.
    Placed<vlHmWarnMsg> again;
    again.site.setAmbientFont(ambient);
    again.site.load(*PropertyBag::fromText(m.site.save().toText()));
    QCOMPARE(again.control->backColorProperty(), back);
    QCOMPARE(again.control->font().name, fontName);
    QCOMPARE(again.control->backStyle(), backStyle);
    QCOMPARE(again.site.save().names(), m.site.save().names());
}

void tst_simplecontrols::warnEvents()
{
    Placed<vlHmWarnMsg> m;
    m.site.initNew();
    m.site.move(0, 0, 4800, 600);
    m.object()->call(QStringLiteral("Show"), {Variant(int32_t(1)), Variant(QStringLiteral("Posting refused"))});
    Pointer pointer(m.site.widget());
    pointer.clickOn(m.element(QStringLiteral("imgDisplayIcon")));
    pointer.clickOn(m.element(QStringLiteral("lblCaption")));
    QCOMPARE(m.eventNames(), (QStringList{"IconClick", "Click"}));
    QCOMPARE(m.events[0].id, usercontrols::warnmsg::event::IconClick);
    QCOMPARE(m.events[1].id, usercontrols::warnmsg::event::Click);
}

void tst_simplecontrols::warnFontObjectWritesThrough()
{
    Placed<vlHmWarnMsg> w;
    w.site.initNew();
    w.site.move(0, 0, 3000, 600);
    w.changed.clear();
    const Label& message = w.element<Label>(QStringLiteral("lblCaption"));
    const automation::ObjectRef font = automation::toObject(w.object()->get(QStringLiteral("Font")));
    font->put(QStringLiteral("Bold"), true);
    font->put(QStringLiteral("Size"), Variant(14.0));
    QVERIFY(message.font().bold);
    QCOMPARE(message.font().size, 14.0);
    QCOMPARE(w.changed, (QStringList{"Font", "Font"}));
    // The message keeps the place the arrangement gives it.
    QCOMPARE(twipsRect(message), QRect(300, 30, 2700, 570));
    QCOMPARE(controlframework::fontOf(w.site.save().read(QStringLiteral("Font")))->size, 14.0);
    // Set ctl.Font = another font still works.
    w.object()->put(QStringLiteral("Font"), controlframework::makeFont(controlframework::FontInfo{QStringLiteral("Tahoma"), 9}));
    QCOMPARE(message.font().name, QStringLiteral("Tahoma"));
}

QUILLAR_TEST_CLASS(tst_simplecontrols)
#include "tst_simplecontrols.moc"
