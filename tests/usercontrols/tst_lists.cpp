// The option list and the two menu lists.
#include "tests/usercontrols/ControlFixture.h"
#include "tests/usercontrols/TestMain.h"

#include "controls/usercontrols/MemberIds.h"
#include "controls/usercontrols/vlHmOptionList.h"
#include "platform/basic/RuntimeError.h"

#include <QTest>

using basic::Variant;
using controlframework::Label;
using controlframework::PropertyBag;
using controlframework::Shape;
using usercontrols::vlHmOptionList;

namespace {

PropertyBag bagOf(const QString& text)
{
    const auto bag = PropertyBag::fromText(text);
    if (!bag)
        qFatal("bad bag %s", qPrintable(text));
    return *bag;
}

template <class Fn>
int errorOf(Fn&& fn)
{
    try {
        fn();
    } catch (const basic::RuntimeError& e) {
        return e.number();
    }
    return 0;
}

Label& option(const Placed<vlHmOptionList>& o, int i)
{
    return o.element<Label>(QStringLiteral("lblOption(%1)").arg(i));
}

} // namespace

class tst_lists : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void optionListNewInstance();
    void optionListOptions_data();
    void optionListOptions();
    void optionListSetOption();
    void optionListPersistence_data();
    void optionListPersistence();
    void optionListPointerRules_data();
    void optionListPointerRules();
    void optionListDropOfAnotherOption();
    void optionListHandlerChangesTheId();
    void optionListColours();
};

// --- Option list

void tst_lists::optionListNewInstance()
{
    Placed<vlHmOptionList> o;
    o.site.initNew();
    const int title = o.element(QStringLiteral("lblCaption")).height();
    QCOMPARE(o.control->caption(), QStringLiteral("Option List"));
    QCOMPARE(o.control->options(), 4);
    QVERIFY(o.control->autoSize());
    // 1665 twips for a one-line title of 195.
    QCOMPARE(o.control->height(), title + 240 + 4 * 300 + 30);
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(option(o, i).top(), title + 240 + i * 300);
        QCOMPARE(option(o, i).left(), 360);
        QCOMPARE(option(o, i).isVisible(), i < 4);
    }
    QCOMPARE(option(o, 0).caption(), QStringLiteral("Menu Option 1"));
    QCOMPARE(twipsRect(o.element(QStringLiteral("shpOptions"))), QRect(30, 30, o.control->width() - 60, o.control->height() - 60));
    QCOMPARE(o.element<Shape>(QStringLiteral("shpOptions")).borderWidth(), 2);
    // Reloaded: the title and the options' captions came back, as they were stored.
    Placed<vlHmOptionList> again;
    again.site.load(*PropertyBag::fromText(o.site.save().toText()));
    QCOMPARE(again.control->caption(), QStringLiteral("Option List"));
    QCOMPARE(option(again, 3).caption(), QStringLiteral("Menu Option 4"));
    QCOMPARE(again.control->height(), o.control->height());
}

void tst_lists::optionListOptions_data()
{
    QTest::addColumn<int>("given");
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("extra"); // the height beyond the title's
    QTest::newRow("none") << 0 << 0 << 0 << 330;
    QTest::newRow("ten shows all eight") << 10 << 10 << 8 << 3270;
    QTest::newRow("negative becomes one") << -5 << 1 << 1 << 570;
    QTest::newRow("three") << 3 << 3 << 3 << 1170;
}

void tst_lists::optionListOptions()
{
    QFETCH(int, given);
    QFETCH(int, stored);
    QFETCH(int, shown);
    QFETCH(int, extra);
    Placed<vlHmOptionList> o;
    o.site.initNew();
    o.changed.clear();
    o.object()->put(QStringLiteral("Options"), Variant(int32_t(given)));
    QCOMPARE(o.control->options(), stored);
    QCOMPARE(o.changed, QStringList{QStringLiteral("Options")});
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(option(o, i).isVisible(), i < shown);
        QCOMPARE(option(o, i).isEnabled(), i < shown);
    }
    QCOMPARE(o.control->height(), o.element(QStringLiteral("lblCaption")).height() + extra);
}

void tst_lists::optionListSetOption()
{
    Placed<vlHmOptionList> o;
    o.site.initNew();
    o.object()->put(QStringLiteral("Options"), Variant(int32_t(2)));
    o.changed.clear();
    o.object()->call(QStringLiteral("SetOption"), {Variant(int32_t(3)), Variant(QStringLiteral("Credit notes")), Variant(int32_t(42))});
    QCOMPARE(o.control->item(3).sCaption, QStringLiteral("Credit notes"));
    QCOMPARE(o.control->item(3).lID, 42);
    QCOMPARE(option(o, 2).caption(), QStringLiteral("Credit notes"));
    QVERIFY(!option(o, 2).isVisible());
    QVERIFY(o.changed.isEmpty());
    o.object()->put(QStringLiteral("Options"), Variant(int32_t(3)));
    QVERIFY(option(o, 2).isVisible());

    for (const int wrong : {0, 9}) {
        QCOMPARE(errorOf([&] {
                     o.object()->call(QStringLiteral("SetOption"), {Variant(int32_t(wrong)), Variant(QStringLiteral("x")), Variant(int32_t(7))});
                 }),
                 basic::err::SubscriptOutOfRange);
    }
    QCOMPARE(o.control->item(1).lID, 1);
    QCOMPARE(o.control->item(8).sCaption, QStringLiteral("Menu Option 8"));
}

void tst_lists::optionListPersistence_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("options");
    QTest::addColumn<QString>("option2");
    QTest::addColumn<int>("id2");
    QTest::addColumn<bool>("autoSize");
    QTest::newRow("empty bag: read defaults") << "{}" << "Menu List" << 4 << "Option2" << 2 << true;
    QTest::newRow("names in another case")
        << R"({"option2caption": "Invoices", "OPTION2ID": 20, "options": 2, "CAPTION": "Documents", "autosize": false})"
        << "Documents" << 2 << "Invoices" << 20 << false;
}

void tst_lists::optionListPersistence()
{
    QFETCH(QString, stored);
    QFETCH(QString, caption);
    QFETCH(int, options);
    QFETCH(QString, option2);
    QFETCH(int, id2);
    QFETCH(bool, autoSize);
    Placed<vlHmOptionList> o;
    o.site.load(bagOf(stored));
    QCOMPARE(o.control->caption(), caption);
    QCOMPARE(o.control->options(), options);
    QCOMPARE(o.control->item(2).sCaption, option2);
    QCOMPARE(option(o, 1).caption(), option2);
    QCOMPARE(o.control->item(2).lID, id2);
    QCOMPARE(o.control->autoSize(), autoSize);
    // Items first, each caption before its ID, then the rest.
    const QStringList names = o.site.save().names();
    if (!names.isEmpty())
        QCOMPARE(names.first(), QStringLiteral("Option2Caption"));
}

void tst_lists::optionListPointerRules_data()
{
    QTest::addColumn<QString>("moves");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<bool>("underlined");
    QTest::newRow("move over and off: no click") << "ox" << 0 << false;
    QTest::newRow("over: underlined") << "o" << 0 << true;
    // After a click by drop the option stays underlined until the pointer next leaves it.
    QTest::newRow("press and release over it: one click") << "opr" << 1 << true;
    QTest::newRow("released after leaving: none") << "opxr" << 0 << false;
}

void tst_lists::optionListPointerRules()
{
    QFETCH(QString, moves);
    QFETCH(int, clicks);
    QFETCH(bool, underlined);
    Placed<vlHmOptionList> o;
    o.site.initNew();
    Pointer pointer(o.site.widget());
    for (const QChar c : moves) {
        switch (c.toLatin1()) {
        case 'o': pointer.moveOnto(option(o, 1)); break;
        case 'x': pointer.moveOff(); break;
        case 'p': pointer.press(); break;
        case 'r': pointer.release(); break;
        }
    }
    QCOMPARE(int(o.events.size()), clicks);
    if (clicks) {
        QCOMPARE(o.events[0].id, usercontrols::optionlist::event::OptionClicked);
        QCOMPARE(o.events[0].args, automation::Args{Variant(int32_t(2))});
    }
    QCOMPARE(option(o, 1).font().underline, underlined);
    QCOMPARE(o.control->item(2).bHovering, underlined);
}

void tst_lists::optionListDropOfAnotherOption()
{
    Placed<vlHmOptionList> o;
    o.site.initNew();
    option(o, 1).onDragDrop(&option(o, 0));
    QVERIFY(o.events.empty());
    option(o, 1).onDragDrop(&option(o, 1));
    QCOMPARE(o.eventNames(), QStringList{QStringLiteral("OptionClicked")});
}

void tst_lists::optionListHandlerChangesTheId()
{
    Placed<vlHmOptionList> o;
    o.site.initNew();
    o.onEvent = [](automation::DispId, const QString&, automation::Args& args) { args[0] = Variant(int32_t(99)); };
    Pointer pointer(o.site.widget());
    pointer.clickOn(option(o, 2));
    QCOMPARE(o.control->item(3).lID, 99);
    QCOMPARE(o.site.save().read(QStringLiteral("Option3ID")), Variant(int32_t(99)));
}

void tst_lists::optionListColours()
{
    Placed<vlHmOptionList> o;
    o.site.initNew();
    o.changed.clear();
    o.object()->put(QStringLiteral("ListColor"), Variant(int32_t(0xFFFFFF)));
    o.object()->put(QStringLiteral("BorderColor"), Variant(int32_t(0x800000)));
    o.object()->put(QStringLiteral("ListItemColor"), Variant(int32_t(0xFF)));
    QCOMPARE(o.element<Shape>(QStringLiteral("shpOptions")).fillColor(), 0xFFFFFFu);
    QCOMPARE(o.element<Shape>(QStringLiteral("shpOptions")).borderColor(), 0x800000u);
    for (int i = 0; i < 8; ++i)
        QCOMPARE(option(o, i).foreColor(), 0xFFu);
    QCOMPARE(o.changed, (QStringList{"ListColor", "BorderColor", "ListItemColor"}));
    // AutoSize waits for the next Resize.
    o.object()->put(QStringLiteral("AutoSize"), false);
    const int h = o.control->height();
    o.object()->put(QStringLiteral("Options"), Variant(int32_t(8)));
    QCOMPARE(o.control->height(), h);
}

QUILLAR_TEST_CLASS(tst_lists)
#include "tst_lists.moc"
