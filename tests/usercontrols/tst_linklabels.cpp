// The link label and its multi-line twin.
#include "tests/usercontrols/ControlFixture.h"
#include "tests/usercontrols/TestMain.h"

#include "controls/usercontrols/MemberIds.h"
#include "controls/usercontrols/vlHmLinkLabel.h"
#include "platform/basic/RuntimeError.h"
#include "platform/controlframework/Font.h"
#include "platform/forms/MessageService.h"
#include "platform/shell/ProgramStarter.h"

#include <QTest>

using basic::Variant;
using controlframework::Label;
using controlframework::MousePointer;
using controlframework::PropertyBag;
using usercontrols::vlHmLinkLabel;
using usercontrols::vlHmLinkLabelMultiLine;

namespace {

// A link label, single-line or multi-line, placed and shown so that it gets the mouse.
struct PlacedLink
{
    explicit PlacedLink(bool multi = false, const QString& name = QStringLiteral("vllHelp"))
    {
        if (multi)
            multiLine = std::make_unique<Placed<vlHmLinkLabelMultiLine>>(name);
        else
            singleLine = std::make_unique<Placed<vlHmLinkLabel>>(name);
    }
    vlHmLinkLabel& control() const { return multiLine ? *multiLine->control : *singleLine->control; }
    controlframework::ControlSite& site() const { return multiLine ? multiLine->site : singleLine->site; }
    QStringList events() const { return multiLine ? multiLine->eventNames() : singleLine->eventNames(); }
    void clearEvents() const
    {
        if (multiLine)
            multiLine->events.clear();
        else
            singleLine->events.clear();
    }
    std::vector<RaisedEvent>& raised() const { return multiLine ? multiLine->events : singleLine->events; }
    void onEvent(std::function<void(automation::DispId, const QString&, automation::Args&)> f) const
    {
        if (multiLine)
            multiLine->onEvent = std::move(f);
        else
            singleLine->onEvent = std::move(f);
    }
    Label& caption() const { return static_cast<Label&>(*control().element(QStringLiteral("lblCaption"))); }
    automation::ObjectRef object() const { return site().object(); }

    std::unique_ptr<Placed<vlHmLinkLabel>> singleLine;
    std::unique_ptr<Placed<vlHmLinkLabelMultiLine>> multiLine;
};

} // namespace

class tst_linklabels : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void persistence_data();
    void persistence();
    void multiLineCaptionAtItsWriteDefault();
    void captionSizesTheControl();
    void fontObjectWritesThrough_data();
    void fontObjectWritesThrough();
    void hostResizeSnapsBack_data();
    void hostResizeSnapsBack();
    void selectedLooks();
    void hoverLooks();
    void hoverOff();
    void pointerRules_data();
    void pointerRules();
    void selectedStillClicks();
    void cancelledJump();
    void hyperJumpOpens_data();
    void hyperJumpOpens();
    void hyperJumpRefused_data();
    void hyperJumpRefused();
    void failedOpenReported();
    void clickOnRefusedAddressShowsNothing();
    void backStyleChecked();
    void disabledNeitherHoversNorClicks();
};

void tst_linklabels::persistence_data()
{
    QTest::addColumn<bool>("multi");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("hover");
    QTest::addColumn<QString>("url");
    QTest::addColumn<int>("backStyle");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("empty bag") << false << "{}" << "vllHelp" << true << "" << 1 << true;
    QTest::newRow("empty bag, multi-line") << true << "{}" << "vllHelpMulti Line" << true << "" << 1 << true;
    QTest::newRow("names in another case")
        << false << R"({"CAPTION": "Help", "hover": false, "url": "https://example.com/help", "backstyle": 0, "ENABLED": false})"
        << "Help" << false << "https://example.com/help" << 0 << false;
}

void tst_linklabels::persistence()
{
    QFETCH(bool, multi);
    QFETCH(QString, stored);
    QFETCH(QString, caption);
    QFETCH(bool, hover);
    QFETCH(QString, url);
    QFETCH(int, backStyle);
    QFETCH(bool, enabled);
    PlacedLink l(multi);
    l.site().load(bagOf(stored));
    QCOMPARE(l.control().caption(), caption);
    QCOMPARE(l.control().hover(), hover);
    QCOMPARE(l.control().url(), url);
    QCOMPARE(l.control().backStyle(), backStyle);
    QCOMPARE(l.control().enabled(), enabled);
    QCOMPARE(l.control().backColorProperty(), 0x8000000Fu);
    QVERIFY(!l.control().selected());
    // Stored and loaded again: the same.
    PlacedLink again(multi);
    again.site().load(*PropertyBag::fromText(l.site().save().toText()));
    QCOMPARE(again.control().caption(), caption);
    QCOMPARE(again.control().hover(), hover);
    QCOMPARE(again.control().url(), url);
    QCOMPARE(again.control().backStyle(), backStyle);
    QCOMPARE(again.control().enabled(), enabled);
}

void tst_linklabels::multiLineCaptionAtItsWriteDefault()
{
    PlacedLink l(true, QStringLiteral("vllSubOption"));
    l.site().initNew();
    QCOMPARE(l.control().caption(), QStringLiteral("vllSubOption"));
    l.object()->put(QStringLiteral("Selected"), true);
    const PropertyBag bag = l.site().save();
    QVERIFY(!bag.contains(QStringLiteral("Caption")));
    QVERIFY(!bag.contains(QStringLiteral("Selected")));
    PlacedLink again(true, QStringLiteral("vllSubOption"));
    again.site().load(bag);
    QCOMPARE(again.control().caption(), QStringLiteral("vllSubOptionMulti Line"));
    QVERIFY(!again.control().selected());
    QCOMPARE(again.control().width(), 1350);
    QCOMPARE(again.control().height(), 390);
}

void tst_linklabels::captionSizesTheControl()
{
    PlacedLink l;
    l.site().initNew();
    const int before = l.control().width();
    l.clearEvents();
    l.object()->put(QStringLiteral("Caption"), QStringLiteral("Collect Messages from Accounts"));
    QCOMPARE(l.events(), (QStringList{"Resize", "Change"}));
    QVERIFY(l.control().width() > before);
    QCOMPARE(l.control().width(), l.caption().width());
    QCOMPARE(l.control().height(), l.caption().height());
    QCOMPARE(l.object()->get(QStringLiteral("ScaleWidth")), Variant(l.control().width()));
}

void tst_linklabels::fontObjectWritesThrough_data()
{
    QTest::addColumn<bool>("multi");
    QTest::newRow("single-line") << false;
    QTest::newRow("multi-line") << true;
}

void tst_linklabels::fontObjectWritesThrough()
{
    QFETCH(bool, multi);
    auto l = std::make_unique<PlacedLink>(multi);
    l->site().initNew();
    const QSize plain(l->control().width(), l->control().height());
    auto changed = [&] { return multi ? l->multiLine->changed : l->singleLine->changed; };
    // ctl.Font.Bold = True and ctl.Font.Size = 14 change the caption's own font.
    const automation::ObjectRef font = automation::toObject(l->object()->get(QStringLiteral("Font")));
    font->put(QStringLiteral("Bold"), true);
    QVERIFY(l->caption().font().bold);
    QVERIFY(changed().contains(QStringLiteral("Font")));
    automation::toObject(l->object()->get(QStringLiteral("Font")))->put(QStringLiteral("Size"), Variant(14.0));
    QCOMPARE(l->caption().font().size, 14.0);
    QVERIFY(l->caption().font().bold);
    // The object held earlier reads the label's font as it is now.
    QCOMPARE(font->get(QStringLiteral("Size")), Variant(14.0));
    if (multi) {
        QCOMPARE(QSize(l->control().width(), l->control().height()), QSize(1350, 390));
    } else {
        // The single-line control takes the larger caption's size.
        QVERIFY(l->control().width() > plain.width());
        QVERIFY(l->control().height() > plain.height());
        QCOMPARE(l->control().width(), l->caption().width());
    }
    // What was written through is what the host stores.
    const PropertyBag bag = l->site().save();
    QCOMPARE(controlframework::fontOf(bag.read(QStringLiteral("Font")))->size, 14.0);
    // Once the control is gone the object keeps its last font and changes nothing.
    l.reset();
    font->put(QStringLiteral("Size"), Variant(20.0));
    QCOMPARE(font->get(QStringLiteral("Size")), Variant(20.0));
}

void tst_linklabels::hostResizeSnapsBack_data()
{
    QTest::addColumn<bool>("multi");
    QTest::newRow("single-line") << false;
    QTest::newRow("multi-line") << true;
}

void tst_linklabels::hostResizeSnapsBack()
{
    QFETCH(bool, multi);
    PlacedLink l(multi);
    l.site().initNew();
    const QSize size(l.control().width(), l.control().height());
    if (multi)
        QCOMPARE(size, QSize(1350, 390));
    l.clearEvents();
    l.site().move(0, 0, 5000, 2000);
    QCOMPARE(QSize(l.control().width(), l.control().height()), size);
    QCOMPARE(l.events(), QStringList{QStringLiteral("Resize")});
}

void tst_linklabels::selectedLooks()
{
    PlacedLink l;
    l.site().initNew();
    l.object()->put(QStringLiteral("ForeColor"), Variant(int32_t(0x800000)));
    const int plain = l.control().width();
    l.clearEvents();
    l.object()->put(QStringLiteral("Selected"), true);
    QVERIFY(l.caption().font().bold);
    QVERIFY(!l.caption().font().underline);
    QCOMPARE(l.caption().foreColor(), 0x800000u);
    QVERIFY(l.control().width() > plain);
    QVERIFY(l.events().contains(QStringLiteral("Resize")));
    l.object()->put(QStringLiteral("Selected"), false);
    QVERIFY(!l.caption().font().bold);
    QCOMPARE(l.control().width(), plain);
}

void tst_linklabels::hoverLooks()
{
    PlacedLink l;
    l.site().initNew();
    l.clearEvents();
    Pointer pointer(l.site().widget());
    pointer.moveOnto(l.caption());
    QVERIFY(l.caption().font().underline);
    QVERIFY(l.control().isHovering());
    pointer.moveOnto(l.caption()); // staying over it changes nothing
    QVERIFY(l.caption().font().underline);
    pointer.moveOff();
    QVERIFY(!l.caption().font().underline);
    QVERIFY(!l.control().isHovering());
    QVERIFY(l.events().isEmpty());
}

void tst_linklabels::hoverOff()
{
    PlacedLink l;
    l.site().initNew();
    l.object()->put(QStringLiteral("Hover"), false);
    QVERIFY(l.caption().font().underline);
    l.clearEvents();
    Pointer pointer(l.site().widget());
    pointer.moveOnto(l.caption());
    QVERIFY(!l.caption().isDragging());
    pointer.press();
    pointer.release();
    QCOMPARE(l.events(), (QStringList{"HyperJump", "Click"}));
    QVERIFY(l.caption().font().underline);
}

void tst_linklabels::pointerRules_data()
{
    QTest::addColumn<QString>("moves");
    QTest::addColumn<QStringList>("events");
    QTest::newRow("move over and off: no click") << "ox" << QStringList{};
    QTest::newRow("press and release over it: one click") << "opr" << QStringList{"HyperJump", "Click"};
    QTest::newRow("released after leaving: none") << "opxr" << QStringList{};
}

void tst_linklabels::pointerRules()
{
    QFETCH(QString, moves);
    QFETCH(QStringList, events);
    PlacedLink l;
    l.site().initNew();
    l.clearEvents();
    Pointer pointer(l.site().widget());
    for (const QChar c : moves) {
        switch (c.toLatin1()) {
        case 'o': pointer.moveOnto(l.caption()); break;
        case 'x': pointer.moveOff(); break;
        case 'p': pointer.press(); break;
        case 'r': pointer.release(); break;
        }
    }
    QCOMPARE(l.events(), events);
    // The click ends the hover: no underline afterwards.
    QVERIFY(!l.caption().font().underline);
    QVERIFY(!l.control().isHovering());
}

void tst_linklabels::selectedStillClicks()
{
    shell::ScopedRecordingProgramStarter starter;
    PlacedLink l;
    l.site().initNew();
    l.object()->put(QStringLiteral("URL"), QStringLiteral("https://example.com/"));
    l.object()->put(QStringLiteral("Selected"), true);
    l.clearEvents();
    Pointer pointer(l.site().widget());
    pointer.moveOnto(l.caption());
    QVERIFY(!l.caption().isDragging()); // a selected label starts no hover
    pointer.press();
    pointer.release();
    QCOMPARE(l.events(), (QStringList{"HyperJump", "Click"}));
    QCOMPARE(starter.starter().started().size(), size_t(1));
}

void tst_linklabels::cancelledJump()
{
    shell::ScopedRecordingProgramStarter starter;
    PlacedLink l;
    l.site().initNew();
    l.object()->put(QStringLiteral("URL"), QStringLiteral("https://example.com/"));
    l.onEvent([](automation::DispId id, const QString&, automation::Args& args) {
        if (id == usercontrols::linklabel::event::HyperJump) {
            QCOMPARE(args, automation::Args{Variant(false)});
            args[0] = Variant(true);
        }
    });
    l.clearEvents();
    Pointer pointer(l.site().widget());
    pointer.clickOn(l.caption());
    QCOMPARE(l.events(), (QStringList{"HyperJump", "Click"}));
    QVERIFY(starter.starter().started().empty());
}

void tst_linklabels::hyperJumpOpens_data()
{
    QTest::addColumn<QString>("url");
    QTest::newRow("https") << "https://example.com/help?topic=import";
    QTest::newRow("http") << "http://example.com";
    QTest::newRow("mailto") << "mailto:support@example.com";
}

void tst_linklabels::hyperJumpOpens()
{
    QFETCH(QString, url);
    shell::ScopedRecordingProgramStarter starter;
    PlacedLink l;
    l.site().initNew();
    QCOMPARE(l.object()->call(QStringLiteral("HyperJump"), {Variant(url)}), Variant(vlHmLinkLabel::Opened));
    QCOMPARE(starter.starter().started().size(), size_t(1));
    QCOMPARE(starter.starter().started()[0].program, QStringLiteral("xdg-open"));
    QCOMPARE(starter.starter().started()[0].arguments, QStringList{url});
    QCOMPARE(l.control().mousePointer(), MousePointer::Custom);
    // An empty address opens nothing and leaves the pointer alone.
    PlacedLink multi(true);
    multi.site().initNew();
    QCOMPARE(multi.object()->call(QStringLiteral("HyperJump"), {Variant(QString())}), Variant(int32_t(0)));
    QCOMPARE(multi.control().mousePointer(), MousePointer::Default);
    QCOMPARE(starter.starter().started().size(), size_t(1));
}

void tst_linklabels::hyperJumpRefused_data()
{
    QTest::addColumn<QString>("url");
    QTest::newRow("a file") << "file:///etc/passwd";
    QTest::newRow("a program path") << "C:\\Windows\\notepad.exe";
    QTest::newRow("a plain path") << "/usr/bin/xterm";
    QTest::newRow("an option") << "--help";
    QTest::newRow("another scheme") << "ftp://example.com/";
    QTest::newRow("script") << "javascript:alert(1)";
    QTest::newRow("http without a host") << "http://";
    QTest::newRow("mailto without an address") << "mailto:";
}

void tst_linklabels::hyperJumpRefused()
{
    QFETCH(QString, url);
    shell::ScopedRecordingProgramStarter starter;
    forms::ScopedScriptedMessages messages;
    PlacedLink l;
    l.site().initNew();
    // Refused like a failed open: a result of 32 or less, no error, nothing shown,
    // nothing started, the pointer left alone.
    const Variant result = l.object()->call(QStringLiteral("HyperJump"), {Variant(url)});
    QCOMPARE(result, Variant(vlHmLinkLabel::Refused));
    QVERIFY(result.intValue() <= 32);
    QVERIFY(starter.starter().started().empty());
    QVERIFY(messages.service().shown().empty());
    QCOMPARE(l.control().mousePointer(), MousePointer::Custom);
}

void tst_linklabels::failedOpenReported()
{
    shell::ScopedRecordingProgramStarter starter;
    forms::ScopedScriptedMessages messages;
    starter.starter().result = false;
    PlacedLink l;
    l.site().initNew();
    // The failure is the result code alone.
    const Variant result = l.object()->call(QStringLiteral("HyperJump"), {Variant(QStringLiteral("https://example.com/"))});
    QCOMPARE(result, Variant(vlHmLinkLabel::NotOpened));
    QVERIFY(result.intValue() <= 32);
    QCOMPARE(starter.starter().started().size(), size_t(1));
    QVERIFY(messages.service().shown().empty());
    QCOMPARE(l.control().mousePointer(), MousePointer::Custom);
}

void tst_linklabels::clickOnRefusedAddressShowsNothing()
{
    shell::ScopedRecordingProgramStarter starter;
    forms::ScopedScriptedMessages messages;
    PlacedLink l;
    l.site().initNew();
    l.object()->put(QStringLiteral("URL"), QStringLiteral("file:///etc/passwd"));
    l.clearEvents();
    Pointer pointer(l.site().widget());
    pointer.clickOn(l.caption());
    // The click ends with Click as ever; nothing is opened and nothing shown.
    QCOMPARE(l.events(), (QStringList{"HyperJump", "Click"}));
    QVERIFY(starter.starter().started().empty());
    QVERIFY(messages.service().shown().empty());
}

void tst_linklabels::backStyleChecked()
{
    PlacedLink l;
    l.site().initNew();
    l.object()->put(QStringLiteral("BackStyle"), Variant(int32_t(0)));
    try {
        l.object()->put(QStringLiteral("BackStyle"), Variant(int32_t(2)));
        QFAIL("BackStyle 2 taken");
    } catch (const basic::RuntimeError& e) {
        QCOMPARE(e.number(), 380);
        QCOMPARE(e.source(), QStringLiteral("HyperLabel.BackStyle"));
        QCOMPARE(e.description(), QStringLiteral("Illegal Property Value"));
    }
    QCOMPARE(l.object()->get(QStringLiteral("BackStyle")), Variant(int32_t(0)));
    QCOMPARE(l.site().save().read(QStringLiteral("BackStyle")), Variant(int16_t(0)));
}

void tst_linklabels::disabledNeitherHoversNorClicks()
{
    PlacedLink l;
    l.site().initNew();
    l.object()->put(QStringLiteral("Enabled"), false);
    l.clearEvents();
    Pointer pointer(l.site().widget());
    pointer.moveOnto(l.caption());
    QVERIFY(!l.control().isHovering());
    pointer.press();
    pointer.release();
    QVERIFY(l.events().isEmpty());
    QCOMPARE(l.site().save().read(QStringLiteral("Enabled")), Variant(false));
}

QUILLAR_TEST_CLASS(tst_linklabels)
#include "tst_linklabels.moc"
