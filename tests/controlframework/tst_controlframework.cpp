#include "platform/automation/MemberTable.h"
#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"
#include "platform/controlframework/Control.h"
#include "platform/controlframework/ControlSite.h"
#include "platform/controlframework/PropertyBag.h"
#include "platform/controlframework/PropertyExchange.h"
#include "platform/forms/Twips.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>

#include <limits>

using automation::Args;
using basic::Variant;
using controlframework::Control;
using controlframework::ControlSite;
using controlframework::DragState;
using controlframework::Element;
using controlframework::PropertyBag;

namespace {

// A control that records its notifications and hovers one label by drag, the way
// the button, link labels and option list do.
class RecordingControl : public Control
{
public:
    RecordingControl()
    {
        area = &addLabel(QStringLiteral("lblArea"));
        area->move(300, 300, 1500, 600);
        area->setDragIcon(controlframework::pointingHandCursor(QPoint(5, 1)));
        area->onMouseMove = [this] {
            if (hovering)
                return;
            area->beginDrag();
            hovering = true;
        };
        area->onDragOver = [this](Element*, DragState state) {
            if (state != DragState::Leave)
                return;
            area->endDrag();
            hovering = false;
        };
        area->onDragDrop = [this](Element*) {
            if (hovering)
                ++clicks;
        };
        area->onClick = [this] { ++clicks; };
        setExtent(3000, 1500);
    }

    QString className() const override { return QStringLiteral("Recording"); }
    automation::DispId idOfName(const QString& name) const override { return table().idOfName(name); }
    Variant invoke(automation::DispId id, automation::Invoke kind, Args& args, const Variant& value) override
    {
        return table().invoke(*this, id, kind, args, value);
    }

    void initialize() override { log << QStringLiteral("Initialize"); }
    void initProperties() override { log << QStringLiteral("InitProperties"); }
    void readProperties(const PropertyBag& bag) override
    {
        log << QStringLiteral("ReadProperties");
        caption = basic::CStr(bag.read(QStringLiteral("Caption"), host().ambientDisplayName()));
    }
    void writeProperties(PropertyBag& bag) const override
    {
        log << QStringLiteral("WriteProperties");
        bag.write(QStringLiteral("Caption"), caption, QStringLiteral("Default caption"));
    }
    void resize() override
    {
        controlframework::LayoutGuard guard(m_busy);
        if (!guard)
            return;
        log << QStringLiteral("Resize");
        // A fixed height, as the banner keeps.
        if (height() != 495)
            setExtent(width(), 495);
    }
    void show() override { log << QStringLiteral("Show"); }
    void terminate() override { log << QStringLiteral("Terminate"); }

    mutable QStringList log;
    controlframework::Label* area = nullptr;
    bool hovering = false;
    int clicks = 0;
    QString caption;

private:
    static const automation::MemberTable<RecordingControl>& table()
    {
        static const auto t = automation::MemberTable<RecordingControl>().property(
            1, "Caption", [](RecordingControl& c, Args&) { return Variant(c.caption); },
            [](RecordingControl& c, Args&, const Variant& v) {
                c.caption = basic::CStr(v);
                c.propertyChanged(QStringLiteral("Caption"));
            });
        return t;
    }

    bool m_busy = false;
};

void sendMouse(QWidget* w, QEvent::Type type, const QPoint& pos, Qt::MouseButton button = Qt::NoButton)
{
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonPress || (type == QEvent::MouseMove && button != Qt::NoButton)
                                         ? Qt::MouseButtons(Qt::LeftButton)
                                         : Qt::MouseButtons();
    QMouseEvent event(type, QPointF(pos), w->mapToGlobal(QPointF(pos)),
                      type == QEvent::MouseMove ? Qt::NoButton : button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

// A recording control placed 3000 by 1500 twips (200 by 100 pixels) on a host.
struct Placed
{
    Placed() : control(std::make_shared<RecordingControl>()), site(control, QStringLiteral("Recorder1"), &host)
    {
        site.initNew();
        site.move(0, 0, 3000, 1500);
    }
    QWidget host;
    std::shared_ptr<RecordingControl> control;
    ControlSite site;
};

// Pixels of the test control: the label lies at (20, 20) to (120, 60).
const QPoint OverArea(50, 30);
const QPoint OffArea(150, 25);

} // namespace

class tst_controlframework : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bagNamesIgnoreCase_data();
    void bagNamesIgnoreCase();
    void bagReadAndWriteDefaults();
    void bagStoredFormRoundTrip();
    void bagStoredFormRefused_data();
    void bagStoredFormRefused();
    void fontSizesStayInRange_data();
    void fontSizesStayInRange();
    void propertyExchange();

    void lifeCycleOrder_data();
    void lifeCycleOrder();
    void layoutGuardLaysOutOnce();
    void ambientAndExtender();
    void replacesPlaceholder();

    void hoverSequences_data();
    void hoverSequences();
    void hoverShowsHandCursor();

    void labelSizesToText();

    void oleColorValues_data();
    void oleColorValues();
};

void tst_controlframework::bagNamesIgnoreCase_data()
{
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("read");
    QTest::newRow("lower case stored form") << "caption" << "Caption";
    QTest::newRow("upper case reader") << "TitleColor" << "TITLECOLOR";
    QTest::newRow("same case") << "BackColor" << "BackColor";
}

void tst_controlframework::bagNamesIgnoreCase()
{
    QFETCH(QString, written);
    QFETCH(QString, read);
    PropertyBag bag;
    bag.write(written, Variant(QStringLiteral("stored")));
    QCOMPARE(basic::CStr(bag.read(read, QStringLiteral("default"))), QStringLiteral("stored"));
    // Writing under another case replaces the one entry.
    bag.write(read, Variant(QStringLiteral("again")));
    QCOMPARE(bag.names(), QStringList{written});
    QCOMPARE(basic::CStr(bag.read(written)), QStringLiteral("again"));
}

void tst_controlframework::bagReadAndWriteDefaults()
{
    PropertyBag bag;
    bag.write(QStringLiteral("Caption"), Variant(QStringLiteral("Your Caption Here !")), Variant(QStringLiteral("Your Caption Here !")));
    QVERIFY(!bag.contains(QStringLiteral("Caption")));
    // The reader's default, which may differ from the writer's.
    QCOMPARE(basic::CStr(bag.read(QStringLiteral("Caption"), QStringLiteral("FrameHistroy"))), QStringLiteral("FrameHistroy"));

    // Numbers equal to the default in another kind are not stored either.
    bag.write(QStringLiteral("BorderStyle"), Variant(int32_t(0)), Variant(int16_t(0)));
    bag.write(QStringLiteral("Hover"), Variant(true), Variant(true));
    QVERIFY(bag.isEmpty());

    // A text differing only in case is a different value.
    bag.write(QStringLiteral("Caption"), Variant(QStringLiteral("your caption here !")), Variant(QStringLiteral("Your Caption Here !")));
    QVERIFY(bag.contains(QStringLiteral("Caption")));
    // Without a default every value is stored.
    bag.write(QStringLiteral("Enabled"), Variant(true));
    QCOMPARE(bag.names(), (QStringList{QStringLiteral("Caption"), QStringLiteral("Enabled")}));
    // A value written equal to its default removes what was stored.
    bag.write(QStringLiteral("caption"), Variant(QStringLiteral("x")), Variant(QStringLiteral("x")));
    QCOMPARE(bag.names(), QStringList{QStringLiteral("Enabled")});
}

void tst_controlframework::bagStoredFormRoundTrip()
{
    PropertyBag bag;
    bag.write(QStringLiteral("Caption"), Variant(QStringLiteral("Batch \"Upload\" History")));
    bag.write(QStringLiteral("TitleColor"), Variant(int32_t(0x800000)));
    bag.write(QStringLiteral("BackColor"), Variant(int32_t(0x8000000F)));
    bag.write(QStringLiteral("LargeFont"), Variant(true));
    bag.write(QStringLiteral("Ratio"), Variant(8.25));
    controlframework::FontInfo font;
    font.name = QStringLiteral("Tahoma");
    font.size = 9.75;
    font.bold = true;
    bag.write(QStringLiteral("Font"), controlframework::makeFont(font));
    bag.writeBinary(QStringLiteral("Columns"), QByteArray("\x00\x01\xFF\x10", 4));

    const QString text = bag.toText();
    QVERIFY2(text.startsWith(QStringLiteral("{\"Caption\": ")), qPrintable(text));
    QString error;
    const auto back = PropertyBag::fromText(text, &error);
    QVERIFY2(back, qPrintable(error));
    QCOMPARE(basic::CStr(back->read(QStringLiteral("caption"))), QStringLiteral("Batch \"Upload\" History"));
    QCOMPARE(back->read(QStringLiteral("TitleColor")), Variant(int32_t(0x800000)));
    QCOMPARE(back->read(QStringLiteral("BackColor")), Variant(int32_t(0x8000000F)));
    QCOMPARE(back->read(QStringLiteral("LargeFont")), Variant(true));
    QCOMPARE(back->read(QStringLiteral("Ratio")), Variant(8.25));
    QCOMPARE(controlframework::fontOf(back->read(QStringLiteral("Font"))), std::optional(font));
    QCOMPARE(back->readBinary(QStringLiteral("columns")), std::optional(QByteArray("\x00\x01\xFF\x10", 4)));

    // The main program's stored form, names in lower case.
    const auto stored = PropertyBag::fromText(
        QStringLiteral(R"({"caption": "Batch Upload History", "titlecolor": 8388608, "backcolor": -2147483633})"));
    QVERIFY(stored);
    QCOMPARE(controlframework::toOleColor(stored->read(QStringLiteral("BackColor"))), 0x8000000Fu);

    // Names come back in the order of the text, not sorted.
    const auto ordered = PropertyBag::fromText(QStringLiteral(R"({"Zeta": 1, "Mid": {"font": {"name": "A"}}, "Alpha": "a,b"})"));
    QVERIFY(ordered);
    QCOMPARE(ordered->names(), (QStringList{QStringLiteral("Zeta"), QStringLiteral("Mid"), QStringLiteral("Alpha")}));
}

void tst_controlframework::fontSizesStayInRange_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("points");
    QTest::addColumn<int>("pixels");
    QTest::newRow("ordinary") << R"({"Font": {"font": {"size": 9}}})" << 9.0 << 12;
    QTest::newRow("far too large") << R"({"Font": {"font": {"size": 1e300}}})" << 2048.0 << 2731;
    QTest::newRow("negative") << R"({"Font": {"font": {"size": -1e300}}})" << 1.0 << 1;
    QTest::newRow("zero") << R"({"Font": {"font": {"size": 0}}})" << 1.0 << 1;
}

void tst_controlframework::fontSizesStayInRange()
{
    QFETCH(QString, text);
    QFETCH(double, points);
    QFETCH(int, pixels);
    QString error;
    const auto bag = PropertyBag::fromText(text, &error);
    QVERIFY2(bag, qPrintable(error));
    const auto font = controlframework::fontOf(bag->read(QStringLiteral("Font")));
    QVERIFY(font);
    QCOMPARE(font->size, points);
    QCOMPARE(font->toQFont().pixelSize(), pixels);

    // A size set through the font object is drawn within the range too.
    controlframework::FontInfo set;
    set.size = 1e300;
    QCOMPARE(set.toQFont().pixelSize(), 2731);
    set.size = std::numeric_limits<double>::quiet_NaN();
    QCOMPARE(set.toQFont().pixelSize(), 11);
}

void tst_controlframework::bagStoredFormRefused_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("not JSON") << "caption = x";
    QTest::newRow("an array") << "[1, 2]";
    QTest::newRow("a value of unknown kind") << R"({"Caption": {"picture": 1}})";
    QTest::newRow("a name twice in two cases") << R"({"Caption": "a", "CAPTION": "b"})";
    QTest::newRow("cut off") << R"({"Caption": "a)";
    QTest::newRow("a name twice exactly") << R"({"Caption": "a", "Caption": "b"})";
    QTest::newRow("a binary block that is not base64") << R"({"Columns": {"binary": "!!!!!!"}})";
    QTest::newRow("a font charset beyond its range")
        << R"({"Font": {"font": {"name": "Tahoma", "size": 8, "charset": 99999999}}})";
    QTest::newRow("a font charset that is no whole number")
        << R"({"Font": {"font": {"name": "Tahoma", "size": 8, "charset": 1.5}}})";
    QTest::newRow("a font flag that is no Boolean") << R"({"Font": {"font": {"name": "Tahoma", "bold": 1}}})";
    QTest::newRow("a font size that is text") << R"({"Font": {"font": {"name": "Tahoma", "size": "8"}}})";
}

void tst_controlframework::bagStoredFormRefused()
{
    QFETCH(QString, text);
    QString error;
    QVERIFY(!PropertyBag::fromText(text, &error));
    QVERIFY(!error.isEmpty());
}

void tst_controlframework::propertyExchange()
{
    PropertyBag bag;
    int32_t count = 7;
    forms::OleColor color = 0xFFFFFF;
    QString caption = QStringLiteral("Columns");
    QByteArray block("block");
    {
        controlframework::PropertyExchange px(bag, controlframework::PropertyExchange::Direction::Save, 0x10000);
        px.exchange(QStringLiteral("Count"), count, 7);
        px.exchange(QStringLiteral("BackColor"), color, 0u);
        px.exchange(QStringLiteral("Caption"), caption, QStringLiteral("Columns"));
        px.exchangeBinary(QStringLiteral("Columns"), block);
    }
    QCOMPARE(bag.names(), (QStringList{QStringLiteral("_Version"), QStringLiteral("BackColor"), QStringLiteral("Columns")}));

    const auto reloaded = PropertyBag::fromText(bag.toText());
    QVERIFY(reloaded);
    PropertyBag in = *reloaded;
    int32_t count2 = 0;
    forms::OleColor color2 = 0;
    QString caption2;
    QByteArray block2;
    controlframework::PropertyExchange px(in, controlframework::PropertyExchange::Direction::Load, 0x10000);
    QCOMPARE(px.version(), 0x10000u);
    px.exchange(QStringLiteral("Count"), count2, 7);
    px.exchange(QStringLiteral("BackColor"), color2, 0u);
    px.exchange(QStringLiteral("Caption"), caption2, QStringLiteral("Columns"));
    px.exchangeBinary(QStringLiteral("Columns"), block2);
    QCOMPARE(count2, 7);
    QCOMPARE(color2, 0xFFFFFFu);
    QCOMPARE(caption2, QStringLiteral("Columns"));
    QCOMPARE(block2, QByteArray("block"));
}

void tst_controlframework::lifeCycleOrder_data()
{
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("placed new") << false
                                << QStringList{"Initialize", "InitProperties", "Resize", "Show", "WriteProperties", "Terminate"};
    QTest::newRow("loaded from the host") << true
                                          << QStringList{"Initialize", "ReadProperties", "Resize", "Show", "WriteProperties", "Terminate"};
}

void tst_controlframework::lifeCycleOrder()
{
    QFETCH(bool, loaded);
    QFETCH(QStringList, expected);
    QWidget host;
    auto control = std::make_shared<RecordingControl>();
    control->log.clear();
    {
        ControlSite site(control, QStringLiteral("Recorder1"), &host);
        if (loaded)
            site.load(PropertyBag());
        else
            site.initNew();
        host.show();
        (void)site.save();
    }
    QCOMPARE(control->log, expected);
}

void tst_controlframework::layoutGuardLaysOutOnce()
{
    QWidget host;
    auto control = std::make_shared<RecordingControl>();
    ControlSite site(control, QStringLiteral("Recorder1"), &host);
    site.initNew();
    control->log.clear();
    site.move(0, 0, 4000, 2000);
    QCOMPARE(control->log, QStringList{QStringLiteral("Resize")});
    QCOMPARE(control->height(), 495);
    QCOMPARE(site.widget()->height(), 33);
    // The host's own layout sizing the widget reaches the control as a resize too.
    host.show();
    control->log.clear();
    site.widget()->resize(300, 100);
    QCOMPARE(control->log, QStringList{QStringLiteral("Resize")});
    QCOMPARE(site.widget()->size(), QSize(300, 33));
    QCOMPARE(control->width(), 4500);
    QCOMPARE(control->height(), 495);
}

void tst_controlframework::ambientAndExtender()
{
    QWidget host;
    auto control = std::make_shared<RecordingControl>();
    ControlSite site(control, QStringLiteral("Recorder1"), &host);
    QStringList changed;
    site.onPropertyChanged = [&](const QString& name) { changed << name; };
    site.setDefault(true);
    site.load(PropertyBag());
    // The display name is the instance's name unless the host gives another.
    QCOMPARE(control->caption, QStringLiteral("Recorder1"));
    site.setDisplayName(QStringLiteral("Shown name"));
    QCOMPARE(control->host().ambientDisplayName(), QStringLiteral("Shown name"));
    QCOMPARE(control->host().extenderProperty(QStringLiteral("name")), Variant(QStringLiteral("Recorder1")));
    QCOMPARE(control->host().extenderProperty(QStringLiteral("Default")), Variant(true));
    QCOMPARE(control->host().extenderProperty(QStringLiteral("Cancel")), Variant(false));
    QVERIFY(control->host().ambientUserMode());
    try {
        control->host().extenderProperty(QStringLiteral("Tag"));
        QFAIL("an unknown extender property was answered");
    } catch (const basic::RuntimeError& e) {
        QCOMPARE(e.number(), basic::err::ObjectDoesntSupportMember);
    }

    // The host's code reaches extender and control through one object.
    const automation::ObjectRef object = site.object();
    Args move{Variant(int32_t(150)), Variant(int32_t(300)), Variant(int32_t(6000))};
    object->invoke(controlframework::extender::Move, automation::Invoke::Method, move);
    QCOMPARE(site.left(), 150);
    QCOMPARE(object->get(QStringLiteral("Top")), Variant(int32_t(300)));
    QCOMPARE(site.widget()->geometry(), QRect(10, 20, 400, 33));
    Args none;
    object->invoke(controlframework::extender::Visible, automation::Invoke::PropertyPut, none, Variant(false));
    QVERIFY(!site.isVisible());
    object->put(QStringLiteral("caption"), Variant(QStringLiteral("New")));
    QCOMPARE(control->caption, QStringLiteral("New"));
    QCOMPARE(changed, QStringList{QStringLiteral("Caption")});
    QCOMPARE(basic::CStr(site.save().read(QStringLiteral("Caption"))), QStringLiteral("New"));
}

void tst_controlframework::replacesPlaceholder()
{
    QWidget form;
    auto* layout = new QVBoxLayout(&form);
    auto* above = new QLabel(QStringLiteral("above"));
    auto* placeholder = new QWidget;
    placeholder->setObjectName(QStringLiteral("FrameHistroy"));
    placeholder->setMinimumSize(200, 120);
    auto* button = new QPushButton(QStringLiteral("&Close"), placeholder);
    button->setGeometry(10, 60, 80, 24);
    layout->addWidget(above);
    layout->addWidget(placeholder);
    form.resize(300, 300);
    form.show();

    auto control = std::make_shared<RecordingControl>();
    ControlSite site(control, QStringLiteral("FrameHistroy"), nullptr);
    site.initNew();
    site.replace(placeholder);
    QWidget* w = site.widget();
    QCOMPARE(w->parentWidget(), &form);
    QCOMPARE(layout->indexOf(w), 1);
    QCOMPARE(layout->indexOf(placeholder), -1);
    QVERIFY(placeholder->isHidden());
    QCOMPARE(button->parentWidget(), w);
    QCOMPARE(button->pos(), QPoint(10, 60));
    QVERIFY(button->isVisible());
    QVERIFY(w->isVisible());
    QCOMPARE(w->objectName(), QStringLiteral("FrameHistroy"));
    // The form's layout now sizes the control.
    form.resize(400, 400);
    QTRY_COMPARE(control->width(), forms::pixelsToTwips(w->width()));
}

void tst_controlframework::hoverSequences_data()
{
    // Steps: "over"/"off" move the pointer over the hovering label or onto the
    // control's surface, "press"/"release" the left button there, "outside" drags the
    // pointer out of the control and releases it there, "leave" moves the pointer
    // out of the control without a button.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<bool>("hovering");
    QTest::newRow("over and off onto the surface") << QStringList{"over", "over", "off"} << 0 << false;
    QTest::newRow("over and out of the control") << QStringList{"over", "leave"} << 0 << false;
    QTest::newRow("press and release over the hovered label") << QStringList{"over", "press", "release"} << 1 << true;
    QTest::newRow("released after leaving the label") << QStringList{"over", "press", "off", "release"} << 0 << false;
    QTest::newRow("released outside the control") << QStringList{"over", "press", "outside"} << 0 << false;
    // The drop ended the drag and left the hover flag set: a press and release is
    // then the label's plain click.
    QTest::newRow("a second click after the drop") << QStringList{"over", "press", "release", "press", "release"} << 2 << true;
}

void tst_controlframework::hoverSequences()
{
    QFETCH(QStringList, steps);
    QFETCH(int, clicks);
    QFETCH(bool, hovering);
    Placed placed;
    RecordingControl* control = placed.control.get();
    QWidget* w = placed.site.widget();
    QPoint at = OverArea;
    bool pressed = false;
    for (const QString& step : steps) {
        if (step == QLatin1String("over") || step == QLatin1String("off")) {
            at = step == QLatin1String("over") ? OverArea : OffArea;
            sendMouse(w, QEvent::MouseMove, at, pressed ? Qt::LeftButton : Qt::NoButton);
        } else if (step == QLatin1String("press")) {
            pressed = true;
            sendMouse(w, QEvent::MouseButtonPress, at, Qt::LeftButton);
        } else if (step == QLatin1String("release")) {
            pressed = false;
            sendMouse(w, QEvent::MouseButtonRelease, at, Qt::LeftButton);
        } else if (step == QLatin1String("outside")) {
            // The pressed button keeps the mouse: moves outside still reach the control.
            pressed = false;
            sendMouse(w, QEvent::MouseMove, QPoint(500, 500), Qt::LeftButton);
            sendMouse(w, QEvent::MouseButtonRelease, QPoint(500, 500), Qt::LeftButton);
        } else {
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(w, &leave);
        }
    }
    QCOMPARE(control->clicks, clicks);
    QCOMPARE(control->hovering, hovering);
    // Every sequence ends with no drag running.
    QCOMPARE(control->dragSource(), nullptr);
}

void tst_controlframework::hoverShowsHandCursor()
{
    Placed placed;
    QWidget* w = placed.site.widget();
    QCOMPARE(w->cursor().shape(), Qt::ArrowCursor);
    sendMouse(w, QEvent::MouseMove, OverArea);
    QCOMPARE(w->cursor().shape(), Qt::BitmapCursor);
    QCOMPARE(w->cursor().hotSpot(), QPoint(5, 1));
    QCOMPARE(w->cursor().pixmap().size(), QSize(32, 32));
    // The finger tip is the hot spot: black outline there, transparent above it.
    const QImage picture = w->cursor().pixmap().toImage();
    QVERIFY(qAlpha(picture.pixel(5, 0)) == 0 || qGray(picture.pixel(5, 0)) < 128);
    QCOMPARE(qAlpha(picture.pixel(20, 0)), 0);
    QVERIFY(qAlpha(picture.pixel(6, 10)) > 0); // inside the finger
    sendMouse(w, QEvent::MouseMove, OffArea);
    QCOMPARE(w->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(controlframework::pointingHandCursor(QPoint(12, 9)).hotSpot(), QPoint(12, 9));
}

void tst_controlframework::labelSizesToText()
{
    RecordingControl control;
    controlframework::Label& label = control.addLabel(QStringLiteral("lblCaption"));
    QStringList seen;
    label.onChange = [&] { seen << QStringLiteral("%1x%2").arg(label.width()).arg(label.height()); };
    label.setAutoSize(true);
    label.setCaption(QStringLiteral("Incoming Messages"));
    // The change notice comes after the label took its text's size.
    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen.front(), QStringLiteral("%1x%2").arg(label.width()).arg(label.height()));
    const int oneLine = label.height();
    const int plainWidth = label.width();
    QVERIFY(plainWidth > 0);
    QCOMPARE(oneLine % 15, 0);
    controlframework::FontInfo bold = label.font();
    bold.bold = true;
    label.setFont(bold);
    QVERIFY(label.width() > plainWidth);
    // With word wrap the width stays and the height takes the wrapped lines.
    label.setWordWrap(true);
    label.setWidth(600);
    label.setCaption(QStringLiteral("Collect Messages from Accounts"));
    QCOMPARE(label.width(), 600);
    QVERIFY(label.height() >= 2 * oneLine);
    // The same text again is no change.
    label.setCaption(QStringLiteral("Collect Messages from Accounts"));
    QCOMPARE(seen.size(), 2);
}

void tst_controlframework::oleColorValues_data()
{
    QTest::addColumn<Variant>("value");
    QTest::addColumn<uint>("expected");
    QTest::newRow("Long system colour") << Variant(int32_t(0x8000000F)) << 0x8000000Fu;
    QTest::newRow("plain colour") << Variant(int32_t(0x800000)) << 0x800000u;
    QTest::newRow("whole number above Long") << Variant(4294967295.0) << 0xFFFFFFFFu;
    QTest::newRow("forms notation") << Variant(QStringLiteral("&H80000012")) << 0x80000012u;
}

void tst_controlframework::oleColorValues()
{
    QFETCH(Variant, value);
    QFETCH(uint, expected);
    QCOMPARE(controlframework::toOleColor(value), forms::OleColor(expected));
    try {
        controlframework::toOleColor(Variant(4294967296.0));
        QFAIL("no overflow");
    } catch (const basic::RuntimeError& e) {
        QCOMPARE(e.number(), basic::err::Overflow);
    }
}

QTEST_MAIN(tst_controlframework)
#include "tst_controlframework.moc"
