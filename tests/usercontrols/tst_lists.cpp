// The option list and the two menu lists.
#include "tests/usercontrols/ControlFixture.h"
#include "tests/usercontrols/TestMain.h"

#include "controls/usercontrols/MemberIds.h"
#include "controls/usercontrols/vlHmMenuList.h"
#include "controls/usercontrols/vlHmMenuListSub.h"
#include "controls/usercontrols/vlHmOptionList.h"
#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"
#include "platform/forms/OleColor.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTest>

using basic::Variant;
using controlframework::Label;
using controlframework::PropertyBag;
using controlframework::Shape;
using usercontrols::vlHmMenuList;
using usercontrols::vlHmMenuListSub;
using usercontrols::vlHmOptionList;

namespace {

Label& option(const Placed<vlHmOptionList>& o, int i)
{
    return o.element<Label>(QStringLiteral("lblOption(%1)").arg(i));
}

// What an embedded control answers by name through its host-side object.
template <class M>
Variant optionGet(const Placed<M>& m, int element, const char* member)
{
    return m.control->optionSite(element).object()->get(QString::fromLatin1(member));
}

template <class M>
QList<int> optionTops(const Placed<M>& m)
{
    QList<int> tops;
    for (int i = 0; i < m.control->itemCount(); ++i)
        tops << basic::CLng(optionGet(m, i, "Top"));
    return tops;
}

template <class M>
QList<bool> selection(const Placed<M>& m)
{
    QList<bool> out;
    for (int i = 1; i <= m.control->itemCount(); ++i) {
        out << m.control->item(i).bSelected;
        if (basic::CBool(optionGet(m, i - 1, "Selected")) != m.control->item(i).bSelected)
            qFatal("option %d shows another selection", i);
    }
    return out;
}

// Presses and releases the mouse over an embedded link label.
void clickLink(const controlframework::ControlSite& link)
{
    Pointer pointer(link.widget());
    pointer.clickOn(*link.control().element(QStringLiteral("lblCaption")));
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
    void optionListBoxBorderPixels();
    void optionListTitleRefitsToItsWidth();

    void menuListNewInstance();
    void menuListAutoSize_data();
    void menuListAutoSize();
    void menuListClicks();
    void menuListFailedSelectionChangesNothing();
    void menuListSelectById_data();
    void menuListSelectById();
    void menuListHandlerChangesTheId();
    void menuListAltColours();
    void menuListPersistence_data();
    void menuListPersistence();
    void menuListDrivesItsFrame();

    void menuListSubDesignArrangement();
    void menuListSubSelectOption_data();
    void menuListSubSelectOption();
    void menuListSubSameOptionAgain();
    void menuListSubFailedSelectionChangesNothing();
    void menuListSubSubOptionClicked_data();
    void menuListSubSubOptionClicked();
    void menuListSubListColour();
    void menuListSubPersistence();
    void menuListSubCaptionsFitTheirBox_data();
    void menuListSubCaptionsFitTheirBox();
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

void tst_lists::optionListBoxBorderPixels()
{
    OnHost<vlHmOptionList> shown(QStringLiteral("OptionList1"));
    Placed<vlHmOptionList>& o = shown.placed;
    o.site.initNew();
    o.object()->put(QStringLiteral("BorderColor"), Variant(int32_t(0xFF)));
    shown.show();
    const QImage image = shown.drawn();
    auto at = [&](int x, int y) { return QColor(image.pixel(x, y)); };
    const QColor window = forms::toQColor(0x80000005);
    const QColor border = forms::toQColor(0xFF);
    const QColor fill = forms::toQColor(0xE0E0E0);
    // The box's outline lies 2 pixels in; its 2-pixel border is centred on it, so
    // one pixel of margin shows the control's background on either side.
    const int y = image.height() / 2;
    const int right = image.width() - 1;
    QCOMPARE(at(0, y), window);
    QCOMPARE(at(1, y), border);
    QCOMPARE(at(2, y), border);
    QCOMPARE(at(3, y), fill);
    QCOMPARE(at(right, y), window);
    QCOMPARE(at(right - 1, y), border);
    QCOMPARE(at(right - 2, y), border);
    QCOMPARE(at(right - 3, y), fill);
}

void tst_lists::optionListTitleRefitsToItsWidth()
{
    Placed<vlHmOptionList> o;
    o.site.initNew();
    const Label& title = o.element<Label>(QStringLiteral("lblCaption"));
    const QString caption = QStringLiteral("Collect Messages from Accounts");
    // The height the title's text takes, wrapped within the title's width.
    auto wrapped = [&] {
        const QFontMetrics metrics(title.font().toQFont());
        return 15 * metrics.boundingRect(QRect(0, 0, title.width() / 15, 100000), Qt::TextWordWrap, caption).height();
    };
    o.site.move(0, 0, 2400, o.control->height());
    o.object()->put(QStringLiteral("Caption"), caption);
    QCOMPARE(title.width(), 2400 - 60 - 180);
    const int wide = title.height();
    QCOMPARE(wide, wrapped());
    // Narrowed: the title takes the new width at the next layout, and its height
    // follows the text wrapped within it.
    o.site.move(0, 0, 1500, o.control->height());
    o.site.move(0, 0, 1500, o.control->height());
    QCOMPARE(title.width(), 1500 - 60 - 180);
    QCOMPARE(title.height(), wrapped());
    QVERIFY(title.height() > wide);
    // The same caption again puts the options under the taller title, and the
    // automatic height counts it.
    o.object()->put(QStringLiteral("Caption"), caption);
    QCOMPARE(option(o, 0).top(), title.height() + 240);
    QCOMPARE(o.control->height(), title.height() + 240 + 4 * 300 + 30);
    // Widened again: back to the lines it had.
    o.site.move(0, 0, 2400, o.control->height());
    o.site.move(0, 0, 2400, o.control->height());
    QCOMPARE(title.height(), wide);
}

// --- Menu list

void tst_lists::menuListNewInstance()
{
    Placed<vlHmMenuList> m(QStringLiteral("vlmDocuments"));
    m.site.initNew();
    QVERIFY(!m.control->autoSize());
    QCOMPARE(m.control->options(), 1);
    QCOMPARE(optionGet(m, 0, "Caption"), Variant(QStringLiteral("Menu Option 1")));
    QCOMPARE(optionGet(m, 0, "Visible"), Variant(true));
    QCOMPARE(optionGet(m, 1, "Visible"), Variant(false));
    QCOMPARE(optionGet(m, 1, "Enabled"), Variant(false));
    QCOMPARE(selection(m).first(), true);
    QVERIFY(m.control->optionSite(0).control().element(QStringLiteral("lblCaption")) != nullptr);
    QVERIFY(static_cast<Label&>(*m.control->optionSite(0).control().element(QStringLiteral("lblCaption"))).font().bold);
    for (int i = 0; i < 12; ++i) {
        QCOMPARE(optionGet(m, i, "Left"), Variant(int32_t(120)));
        QCOMPARE(optionGet(m, i, "Top"), Variant(int32_t(540 + i * 300)));
        QCOMPARE(optionGet(m, i, "BackStyle"), Variant(int32_t(0)));
        QCOMPARE(optionGet(m, i, "URL"), Variant(QString()));
    }
    // AutoSize False is stored and read back as such.
    const PropertyBag bag = m.site.save();
    QCOMPARE(bag.read(QStringLiteral("AutoSize")), Variant(false));
    Placed<vlHmMenuList> again;
    again.site.load(bag);
    QVERIFY(!again.control->autoSize());
}

void tst_lists::menuListAutoSize_data()
{
    QTest::addColumn<int>("options");
    QTest::addColumn<int>("height");
    QTest::newRow("three") << 3 << 1470;
    QTest::newRow("twelve") << 12 << 4170;
    QTest::newRow("fourteen counts every option") << 14 << 4770;
    QTest::newRow("negative becomes one") << -3 << 870;
}

void tst_lists::menuListAutoSize()
{
    QFETCH(int, options);
    QFETCH(int, height);
    Placed<vlHmMenuList> m;
    m.site.initNew();
    m.object()->put(QStringLiteral("AutoSize"), true);
    m.object()->put(QStringLiteral("Options"), Variant(int32_t(options)));
    QCOMPARE(m.control->height(), height);
    // The frame fills the control.
    const automation::ObjectRef frame = m.control->frameSite().object();
    QCOMPARE(frame->get(QStringLiteral("Height")), Variant(int32_t(height)));
    QCOMPARE(frame->get(QStringLiteral("Width")), Variant(m.control->width()));
    for (int i = 0; i < 12; ++i)
        QCOMPARE(optionGet(m, i, "Visible"), Variant(i < std::max(options, 1)));
}

void tst_lists::menuListClicks()
{
    Placed<vlHmMenuList> m;
    m.site.initNew();
    m.object()->put(QStringLiteral("Options"), Variant(int32_t(3)));
    m.object()->call(QStringLiteral("SetOption"), {Variant(int32_t(2)), Variant(QStringLiteral("Invoices")), Variant(int32_t(20))});
    m.events.clear();
    // The selected option clicked again: nothing.
    clickLink(m.control->optionSite(0));
    QVERIFY(m.events.empty());
    clickLink(m.control->optionSite(1));
    QCOMPARE(m.eventNames(), QStringList{QStringLiteral("OptionClicked")});
    QCOMPARE(m.events[0].id, usercontrols::menulist::event::OptionClicked);
    QCOMPARE(m.events[0].args, automation::Args{Variant(int32_t(20))});
    QCOMPARE(selection(m).mid(0, 3), (QList<bool>{false, true, false}));
    QCOMPARE(optionGet(m, 1, "Caption"), Variant(QStringLiteral("Invoices")));
}

void tst_lists::menuListFailedSelectionChangesNothing()
{
    Placed<vlHmMenuList> m;
    m.site.initNew();
    m.object()->put(QStringLiteral("Options"), Variant(int32_t(3)));
    m.object()->call(QStringLiteral("SelectOption"), {Variant(int32_t(2))});
    m.events.clear();
    for (const int wrong : {13, 0, -1})
        QCOMPARE(errorOf([&] { m.object()->call(QStringLiteral("SelectOption"), {Variant(int32_t(wrong))}); }),
                 basic::err::SubscriptOutOfRange);
    QCOMPARE(selection(m).mid(0, 3), (QList<bool>{false, true, false}));
    QVERIFY(m.events.empty());
    QCOMPARE(errorOf([&] {
                 m.object()->call(QStringLiteral("SetOption"), {Variant(int32_t(13)), Variant(QStringLiteral("x")), Variant(int32_t(1))});
             }),
             basic::err::SubscriptOutOfRange);
}

void tst_lists::menuListSelectById_data()
{
    QTest::addColumn<QList<int>>("ids");
    QTest::addColumn<int>("selectedBefore");
    QTest::addColumn<int>("wanted");
    QTest::addColumn<QList<bool>>("after");
    QTest::addColumn<bool>("raised");
    QTest::newRow("an ID no option has removes the selection")
        << QList<int>{1, 2, 3, 4} << 2 << 77 << QList<bool>{false, false, false, false} << true;
    QTest::newRow("the selected option's ID raises nothing")
        << QList<int>{1, 2, 3, 4} << 2 << 2 << QList<bool>{false, true, false, false} << false;
    QTest::newRow("another option") << QList<int>{1, 2, 3, 4} << 1 << 4 << QList<bool>{false, false, false, true} << true;
    QTest::newRow("shared ID before the selected: every one")
        << QList<int>{5, 5, 3, 4} << 3 << 5 << QList<bool>{true, true, false, false} << true;
    QTest::newRow("shared ID after the selected: the first")
        << QList<int>{1, 5, 5, 4} << 1 << 5 << QList<bool>{false, true, false, false} << true;
}

void tst_lists::menuListSelectById()
{
    QFETCH(QList<int>, ids);
    QFETCH(int, selectedBefore);
    QFETCH(int, wanted);
    QFETCH(QList<bool>, after);
    QFETCH(bool, raised);
    Placed<vlHmMenuList> m;
    m.site.initNew();
    m.object()->put(QStringLiteral("Options"), Variant(int32_t(4)));
    for (int i = 0; i < ids.size(); ++i)
        m.object()->call(QStringLiteral("SetOption"), {Variant(int32_t(i + 1)), Variant(QStringLiteral("Option")), Variant(int32_t(ids[i]))});
    m.object()->call(QStringLiteral("SelectOption"), {Variant(int32_t(selectedBefore))});
    m.events.clear();
    m.object()->call(QStringLiteral("SelectOptionbyID"), {Variant(int32_t(wanted))});
    QCOMPARE(selection(m).mid(0, 4), after);
    QCOMPARE(m.events.size(), size_t(raised ? 1 : 0));
    if (raised)
        QCOMPARE(m.events[0].args, automation::Args{Variant(int32_t(wanted))});
}

void tst_lists::menuListHandlerChangesTheId()
{
    Placed<vlHmMenuList> m;
    m.site.initNew();
    m.object()->put(QStringLiteral("Options"), Variant(int32_t(3)));
    m.onEvent = [](automation::DispId, const QString&, automation::Args& args) { args[0] = Variant(int32_t(99)); };
    // SelectOption: bound to the item's ID.
    m.object()->call(QStringLiteral("SelectOption"), {Variant(int32_t(3))});
    QCOMPARE(m.control->item(3).lID, 99);
    QCOMPARE(m.site.save().read(QStringLiteral("Option3ID")), Variant(int32_t(99)));
    // SelectOptionbyID: bound to the caller's argument.
    automation::Args args{Variant(int32_t(2))};
    m.object()->callByRef(QStringLiteral("SelectOptionbyID"), args);
    QCOMPARE(args[0], Variant(int32_t(99)));
    QCOMPARE(m.control->item(2).lID, 2);
}

void tst_lists::menuListAltColours()
{
    Placed<vlHmMenuList> m;
    m.site.initNew();
    m.object()->call(QStringLiteral("SetAltColor"), {Variant(int32_t(2)), Variant(true)});
    QVERIFY(!m.control->item(2).bAltColor);
    QCOMPARE(optionGet(m, 1, "ForeColor"), Variant(int32_t(0)));
    m.object()->put(QStringLiteral("Options"), Variant(int32_t(3)));
    m.object()->call(QStringLiteral("SetAltColor"), {Variant(int32_t(2)), Variant(true)});
    QCOMPARE(optionGet(m, 1, "ForeColor"), Variant(int32_t(255)));
    // A new item colour re-colours only the options without the alternate mark.
    m.object()->put(QStringLiteral("ListItemColor"), Variant(int32_t(0x800000)));
    QCOMPARE(optionGet(m, 0, "ForeColor"), Variant(int32_t(0x800000)));
    QCOMPARE(optionGet(m, 1, "ForeColor"), Variant(int32_t(255)));
    QCOMPARE(optionGet(m, 2, "ForeColor"), Variant(int32_t(0x800000)));
    m.object()->call(QStringLiteral("SetAltColor"), {Variant(int32_t(2)), Variant(false)});
    QCOMPARE(optionGet(m, 1, "ForeColor"), Variant(int32_t(0x800000)));
    // Beyond twelve: shown by Options, yet no such option.
    m.object()->put(QStringLiteral("Options"), Variant(int32_t(14)));
    QCOMPARE(errorOf([&] { m.object()->call(QStringLiteral("SetAltColor"), {Variant(int32_t(13)), Variant(true)}); }),
             basic::err::SubscriptOutOfRange);
}

void tst_lists::menuListPersistence_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("options");
    QTest::addColumn<QString>("option2");
    QTest::addColumn<bool>("autoSize");
    QTest::addColumn<uint>("altColor");
    QTest::newRow("empty bag: read defaults") << "{}" << "Menu List" << 1 << "Option2" << true << 255u;
    QTest::newRow("names in another case")
        << R"({"OPTION2CAPTION": "Invoices", "options": 2, "caption": "Documents", "autosize": false, "listitemaltcolor": 128})"
        << "Documents" << 2 << "Invoices" << false << 128u;
}

void tst_lists::menuListPersistence()
{
    QFETCH(QString, stored);
    QFETCH(QString, caption);
    QFETCH(int, options);
    QFETCH(QString, option2);
    QFETCH(bool, autoSize);
    QFETCH(uint, altColor);
    Placed<vlHmMenuList> m;
    m.site.load(bagOf(stored));
    QCOMPARE(m.control->caption(), caption);
    QCOMPARE(m.control->options(), options);
    QCOMPARE(m.control->item(2).sCaption, option2);
    QCOMPARE(m.control->autoSize(), autoSize);
    QCOMPARE(m.control->listItemAltColor(), altColor);
    // After every load item 1 is selected.
    QCOMPARE(selection(m).first(), true);
    QCOMPARE(m.control->frameSite().object()->get(QStringLiteral("Caption")), Variant(caption));
    Placed<vlHmMenuList> again;
    again.site.load(*PropertyBag::fromText(m.site.save().toText()));
    QCOMPARE(again.site.save().toText(), m.site.save().toText());
}

void tst_lists::menuListDrivesItsFrame()
{
    Placed<vlHmMenuList> m;
    m.site.initNew();
    m.changed.clear();
    m.object()->put(QStringLiteral("Caption"), QStringLiteral("Documents"));
    m.object()->put(QStringLiteral("TitleColor"), Variant(int32_t(0x800000)));
    m.object()->put(QStringLiteral("ListColor"), Variant(int32_t(0xC0C0C0)));
    const automation::ObjectRef frame = m.control->frameSite().object();
    QCOMPARE(frame->get(QStringLiteral("Caption")), Variant(QStringLiteral("Documents")));
    QCOMPARE(frame->get(QStringLiteral("TitleColor")), Variant(int32_t(0x800000)));
    QCOMPARE(frame->get(QStringLiteral("BackColor")), Variant(int32_t(0xC0C0C0)));
    QCOMPARE(m.changed, (QStringList{"Caption", "TitleColor", "ListColor"}));
}

// --- Menu list with sub-option

void tst_lists::menuListSubDesignArrangement()
{
    Placed<vlHmMenuListSub> m;
    m.site.initNew();
    QCOMPARE(optionTops(m), (QList<int>{540, 1440, 1740, 2040}));
    QCOMPARE(optionGet(m, 0, "Caption"), Variant(QStringLiteral("Incoming Messages")));
    QCOMPARE(optionGet(m, 3, "Caption"), Variant(QStringLiteral("Sent Items")));
    const automation::ObjectRef sub = m.control->subOptionSite().object();
    QCOMPARE(sub->get(QStringLiteral("Top")), Variant(int32_t(840)));
    QCOMPARE(sub->get(QStringLiteral("Left")), Variant(int32_t(300)));
    QCOMPARE(sub->get(QStringLiteral("Visible")), Variant(true));
    QCOMPARE(sub->get(QStringLiteral("BackStyle")), Variant(int32_t(1)));
    QCOMPARE(sub->get(QStringLiteral("Width")), Variant(int32_t(1350)));
    QCOMPARE(m.control->height(), 1770);
    QCOMPARE(selection(m), (QList<bool>{false, false, false, false}));
}

void tst_lists::menuListSubSelectOption_data()
{
    QTest::addColumn<int>("option");
    QTest::addColumn<QList<int>>("tops");
    QTest::addColumn<bool>("subVisible");
    QTest::addColumn<int>("subTop");
    QTest::addColumn<QString>("subCaption");
    QTest::addColumn<int>("height");
    QTest::newRow("1") << 1 << QList<int>{540, 1440, 1740, 2040} << true << 840 << "Collect Incoming Messages" << 2370;
    QTest::newRow("3") << 3 << QList<int>{540, 840, 1140, 2040} << true << 1440 << "Collect Messages from Accounts" << 2370;
    QTest::newRow("2") << 2 << QList<int>{540, 840, 1140, 1440} << false << 840 << "Collect Messages" << 1770;
    QTest::newRow("4") << 4 << QList<int>{540, 840, 1140, 1440} << false << 840 << "Collect Messages" << 1770;
}

void tst_lists::menuListSubSelectOption()
{
    QFETCH(int, option);
    QFETCH(QList<int>, tops);
    QFETCH(bool, subVisible);
    QFETCH(int, subTop);
    QFETCH(QString, subCaption);
    QFETCH(int, height);
    Placed<vlHmMenuListSub> m;
    m.site.load(bagOf(R"({"Option1ID": 11, "Option2ID": 12, "Option3ID": 13, "Option4ID": 14})"));
    m.object()->call(QStringLiteral("SelectOption"), {Variant(int32_t(option))});
    QCOMPARE(optionTops(m), tops);
    const automation::ObjectRef sub = m.control->subOptionSite().object();
    QCOMPARE(sub->get(QStringLiteral("Visible")), Variant(subVisible));
    QCOMPARE(sub->get(QStringLiteral("Top")), Variant(int32_t(subTop)));
    QCOMPARE(sub->get(QStringLiteral("Caption")), Variant(subCaption));
    QCOMPARE(m.control->height(), height);
    QCOMPARE(m.eventNames(), QStringList{QStringLiteral("OptionClicked")});
    QCOMPARE(m.events[0].args, automation::Args{Variant(int32_t(10 + option))});
    QCOMPARE(selection(m)[option - 1], true);
}

void tst_lists::menuListSubSameOptionAgain()
{
    Placed<vlHmMenuListSub> m;
    m.site.initNew();
    m.object()->call(QStringLiteral("SelectOption"), {Variant(int32_t(3))});
    m.events.clear();
    clickLink(m.control->optionSite(2));
    QVERIFY(m.events.empty());
    QCOMPARE(optionTops(m), (QList<int>{540, 840, 1140, 2040}));
    QCOMPARE(m.control->height(), 2370);
    // Another option by a click.
    clickLink(m.control->optionSite(3));
    QCOMPARE(m.eventNames(), QStringList{QStringLiteral("OptionClicked")});
    QCOMPARE(selection(m), (QList<bool>{false, false, false, true}));
}

void tst_lists::menuListSubFailedSelectionChangesNothing()
{
    Placed<vlHmMenuListSub> m;
    m.site.initNew();
    m.object()->call(QStringLiteral("SelectOption"), {Variant(int32_t(1))});
    m.events.clear();
    for (const int wrong : {5, 0})
        QCOMPARE(errorOf([&] { m.object()->call(QStringLiteral("SelectOption"), {Variant(int32_t(wrong))}); }),
                 basic::err::SubscriptOutOfRange);
    QCOMPARE(selection(m), (QList<bool>{true, false, false, false}));
    QCOMPARE(optionTops(m), (QList<int>{540, 1440, 1740, 2040}));
    QCOMPARE(m.control->subOptionSite().object()->get(QStringLiteral("Visible")), Variant(true));
    QCOMPARE(m.control->height(), 2370);
    QVERIFY(m.events.empty());
    // SetAltColor outside 1 to 4: ignored.
    m.object()->call(QStringLiteral("SetAltColor"), {Variant(int32_t(5)), Variant(true)});
    m.object()->call(QStringLiteral("SetAltColor"), {Variant(int32_t(4)), Variant(true)});
    QCOMPARE(optionGet(m, 3, "ForeColor"), Variant(int32_t(255)));
}

void tst_lists::menuListSubSubOptionClicked_data()
{
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("reported");
    QTest::newRow("under option 1") << 1 << 1;
    QTest::newRow("under option 3") << 3 << 2;
}

void tst_lists::menuListSubSubOptionClicked()
{
    QFETCH(int, selected);
    QFETCH(int, reported);
    Placed<vlHmMenuListSub> m;
    m.site.initNew();
    m.object()->call(QStringLiteral("SelectOption"), {Variant(int32_t(selected))});
    m.events.clear();
    clickLink(m.control->subOptionSite());
    QCOMPARE(m.eventNames(), QStringList{QStringLiteral("SubOptionClicked")});
    QCOMPARE(m.events[0].id, usercontrols::menulistsub::event::SubOptionClicked);
    QCOMPARE(m.events[0].args, automation::Args{Variant(int32_t(reported))});
}

void tst_lists::menuListSubListColour()
{
    Placed<vlHmMenuListSub> m;
    m.site.initNew();
    m.object()->put(QStringLiteral("ListColor"), Variant(int32_t(0xE0E0E0)));
    QCOMPARE(m.control->frameSite().object()->get(QStringLiteral("BackColor")), Variant(int32_t(0xE0E0E0)));
    QCOMPARE(m.control->subOptionSite().object()->get(QStringLiteral("BackColor")), Variant(int32_t(0xE0E0E0)));
}

void tst_lists::menuListSubPersistence()
{
    Placed<vlHmMenuListSub> m;
    m.site.load(bagOf(R"({"option1caption": "Inbox", "OPTION1ID": 7, "caption": "Messages", "titlecolor": 128})"));
    QCOMPARE(m.control->item(1).sCaption, QStringLiteral("Inbox"));
    QCOMPARE(m.control->item(1).lID, 7);
    QCOMPARE(m.control->caption(), QStringLiteral("Messages"));
    QCOMPARE(m.control->titleColor(), 128u);
    // The stored captions are kept, never shown; loading selects nothing.
    QCOMPARE(optionGet(m, 0, "Caption"), Variant(QStringLiteral("Incoming Messages")));
    QCOMPARE(selection(m), (QList<bool>{false, false, false, false}));
    QCOMPARE(m.site.save().names(), (QStringList{"Option1Caption", "Option1ID", "Caption", "TitleColor"}));
    // A new instance stores its "Menu Option" captions.
    Placed<vlHmMenuListSub> fresh;
    fresh.site.initNew();
    QCOMPARE(fresh.site.save().read(QStringLiteral("Option4Caption")), Variant(QStringLiteral("Menu Option 4")));
}

void tst_lists::menuListSubCaptionsFitTheirBox_data()
{
    QTest::addColumn<int>("option");
    QTest::addColumn<QString>("caption");
    QTest::newRow("under the first") << 1 << "Collect Incoming Messages";
    QTest::newRow("under the third") << 3 << "Collect Messages from Accounts";
}

void tst_lists::menuListSubCaptionsFitTheirBox()
{
    QFETCH(int, option);
    QFETCH(QString, caption);
    OnHost<vlHmMenuListSub> onHost(QStringLiteral("MenuListSub1"));
    Placed<vlHmMenuListSub>& m = onHost.placed;
    m.site.initNew();
    onHost.show();
    m.object()->call(QStringLiteral("SelectOption"), {Variant(int32_t(option))});
    const controlframework::ControlSite& sub = m.control->subOptionSite();
    const Label& label = *dynamic_cast<const Label*>(sub.control().element(QStringLiteral("lblCaption")));
    QCOMPARE(label.caption(), caption);
    const QRect box = label.pixelRect();
    QCOMPARE(box.size(), QSize(90, 26)); // 1350 x 390 twips

    // The text's ink: as the control shows it in its box, and as the same text
    // comes out drawn without a box to cut it.
    const QColor paper = forms::toQColor(0xFFFFFF);
    auto ink = [&](const QImage& image, int* lowest) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (QColor(image.pixel(x, y)) != paper) {
                    ++count;
                    if (lowest)
                        *lowest = y;
                }
        return count;
    };
    const QImage shown = sub.widget()->grab().toImage().copy(box);
    QImage whole(box.width(), 400, QImage::Format_RGB32);
    whole.fill(paper);
    {
        QPainter painter(&whole);
        painter.setFont(label.drawingFont());
        painter.setPen(forms::toQColor(label.foreColor()));
        painter.drawText(QRect(0, 0, box.width(), 400), label.drawingFlags(), caption);
    }
    int lowestWhole = -1;
    const int inkShown = ink(shown, nullptr);
    QVERIFY(inkShown > 0);
    // Every glyph, down to the caption's last, lies inside the box.
    QCOMPARE(inkShown, ink(whole, &lowestWhole));
    QVERIFY(lowestWhole < box.height());
    // At most the substitute font's excess is taken off: the text is still of a
    // readable size.
    QVERIFY(label.drawingFont().pixelSize() >= 7);
}

QUILLAR_TEST_CLASS(tst_lists)
#include "tst_lists.moc"
