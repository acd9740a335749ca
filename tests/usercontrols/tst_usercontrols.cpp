#include "tests/usercontrols/TestMain.h"

#include "controls/usercontrols/Identities.h"
#include "controls/usercontrols/MemberIds.h"
#include "controls/usercontrols/vlHmFrame.h"
#include "platform/automation/ClassRegistry.h"
#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"
#include "platform/controlframework/ControlSite.h"
#include "platform/registry/RegistryStore.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

using automation::Args;
using automation::Invoke;
using basic::Variant;
using controlframework::ControlSite;
using controlframework::Label;
using controlframework::PropertyBag;
using controlframework::Shape;
using usercontrols::vlHmFrame;

namespace {

const QString FrameClassId = QString::fromLatin1(usercontrols::FrameClass.classId);
const QString FrameProgId = QStringLiteral("VLHMComCtl.vlHmFrame");

QString registryDefault(const QString& path, const QString& name = {})
{
    registry::Value value;
    for (const auto hive : {registry::Hive::CurrentUser, registry::Hive::LocalMachine})
        if (registry::readValue(hive, path, name, value) == registry::Success)
            return value.string;
    return QStringLiteral("<missing>");
}

int regsvr(const QStringList& args)
{
    return QProcess::execute(QStringLiteral(REGSVR_PATH), args);
}

// A frame placed directly (without the library) on a host widget.
struct PlacedFrame
{
    explicit PlacedFrame(QWidget* parent = nullptr, const QString& name = QStringLiteral("FrameHistroy"))
        : frame(std::make_shared<vlHmFrame>()), site(frame, name, parent)
    {
        site.onPropertyChanged = [this](const QString& n) { changed << n; };
    }
    Shape& title() const { return static_cast<Shape&>(*frame->element(QStringLiteral("shpTitle"))); }
    Shape& body() const { return static_cast<Shape&>(*frame->element(QStringLiteral("shpFrame"))); }
    Label& caption() const { return static_cast<Label&>(*frame->element(QStringLiteral("lblCaption"))); }

    std::shared_ptr<vlHmFrame> frame;
    ControlSite site;
    QStringList changed;
};

} // namespace

class tst_usercontrols : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void registeredWithIdentities();
    void createdByClassIdAndProgId_data();
    void createdByClassIdAndProgId();
    void calledByNameAndDispId();
    void everyClassServed_data();
    void everyClassServed();

    void frameLayout_data();
    void frameLayout();
    void frameLargeFontOnAndOff();
    void frameNarrowKeepsCaption();
    void frameNewInstance();
    void frameCaptionEqualToWriteDefault();
    void frameStoredFormOfTheMainWindow();
    void frameSettersReportChanges();
    void frameRenderedWithChild();

    void unregistered();

private:
    QTemporaryDir m_dir;
};

void tst_usercontrols::initTestCase()
{
    QVERIFY(m_dir.isValid());
    qputenv("QUILLAR_MACHINE_HIVE", QFile::encodeName(m_dir.filePath(QStringLiteral("machine.hive"))));
    qputenv("QUILLAR_USER_HIVE", QFile::encodeName(m_dir.filePath(QStringLiteral("user.hive"))));
    QCOMPARE(regsvr({QStringLiteral("/s"), QStringLiteral(VLHMCOMCTL_PATH)}), 0);
}

void tst_usercontrols::registeredWithIdentities()
{
    const QString cls = QStringLiteral("Software\\Classes\\CLSID\\") + FrameClassId;
    QCOMPARE(registryDefault(cls + QStringLiteral("\\ProgID")), FrameProgId);
    QCOMPARE(registryDefault(cls + QStringLiteral("\\MiscStatus\\1")), QString::number(0x3C191));
    QCOMPARE(registryDefault(cls + QStringLiteral("\\TypeLib")), QStringLiteral("{727C5FB1-E326-4BBE-9DD3-EA4A790D63AB}"));
    QCOMPARE(registryDefault(cls + QStringLiteral("\\Version")), QStringLiteral("1.1"));
    QVERIFY(registryDefault(cls + QStringLiteral("\\ToolboxBitmap32")).endsWith(QStringLiteral(", 30009")));
    QCOMPARE(registryDefault(cls + QStringLiteral("\\InprocServer32"), QStringLiteral("ThreadingModel")), QStringLiteral("Apartment"));
    QCOMPARE(registryDefault(QStringLiteral("Software\\Classes\\Interface\\{B5B67269-8A1B-4AB9-93CD-5FDAF7C7638D}")),
             QStringLiteral("_vlHmFrame"));
    QCOMPARE(registryDefault(QStringLiteral("Software\\Classes\\Interface\\{266FCF0E-4DF2-4D28-B61C-F06AA6AFC5FA}")),
             QStringLiteral("__vlHmFrame"));
    QCOMPARE(registryDefault(QStringLiteral("Software\\Classes\\TypeLib\\{727C5FB1-E326-4BBE-9DD3-EA4A790D63AB}\\1.1\\0\\lib")),
             registryDefault(cls + QStringLiteral("\\InprocServer32")));
}

void tst_usercontrols::createdByClassIdAndProgId_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("class id") << FrameClassId;
    QTest::newRow("class id in lower case") << FrameClassId.toLower();
    QTest::newRow("ProgID") << FrameProgId;
}

void tst_usercontrols::createdByClassIdAndProgId()
{
    QFETCH(QString, name);
    QWidget host;
    ControlSite site(name, QStringLiteral("FrameHistroy"), &host);
    site.initNew();
    QCOMPARE(site.control().className(), QStringLiteral("vlHmFrame"));
    QVERIFY(site.widget());
    QCOMPARE(site.widget()->parentWidget(), &host);
    QCOMPARE(site.object()->get(QStringLiteral("Caption")), Variant(QStringLiteral("FrameHistroy")));
}

void tst_usercontrols::calledByNameAndDispId()
{
    QWidget host;
    ControlSite site(FrameProgId, QStringLiteral("vlfOptions"), &host);
    site.initNew();
    const automation::ObjectRef frame = site.object();
    Args none;
    frame->invoke(usercontrols::frame::Caption, Invoke::PropertyPut, none, Variant(QStringLiteral("Menu List")));
    QCOMPARE(frame->get(QStringLiteral("caption")), Variant(QStringLiteral("Menu List")));
    frame->put(QStringLiteral("TitleColor"), Variant(int32_t(0x800000)));
    QCOMPARE(frame->invoke(usercontrols::frame::TitleColor, Invoke::PropertyGet, none), Variant(int32_t(0x800000)));
    frame->invoke(usercontrols::frame::BackColor, Invoke::PropertyPut, none, Variant(int32_t(0x8000000F)));
    QCOMPARE(frame->get(QStringLiteral("BackColor")), Variant(int32_t(0x8000000F)));
    QCOMPARE(frame->idOfName(QStringLiteral("INTERNALWIDTH")), usercontrols::frame::InternalWidth);
    QCOMPARE(frame->idOfName(QStringLiteral("LargeFont")), usercontrols::frame::LargeFont);
    // The host-side Move by DISPID, as the menu lists lay their frame out.
    Args move{Variant(int32_t(0)), Variant(int32_t(0)), Variant(int32_t(4800)), Variant(int32_t(3600))};
    frame->invoke(controlframework::extender::Move, Invoke::Method, move);
    QCOMPARE(frame->get(QStringLiteral("InternalWidth")), Variant(int32_t(4740)));
    QCOMPARE(frame->invoke(usercontrols::frame::InternalHeight, Invoke::PropertyGet, none), Variant(int32_t(3120)));
    try {
        frame->put(QStringLiteral("InternalWidth"), Variant(int32_t(1)));
        QFAIL("InternalWidth took a value");
    } catch (const basic::RuntimeError& e) {
        QCOMPARE(e.number(), basic::err::ObjectDoesntSupportMember);
    }
}

void tst_usercontrols::everyClassServed_data()
{
    QTest::addColumn<QString>("progId");
    QTest::addColumn<QString>("className");
    for (const auto& c : {usercontrols::FrameClass, usercontrols::ContainerClass, usercontrols::BannerClass,
                          usercontrols::ButtonClass, usercontrols::WarnMsgClass, usercontrols::LinkLabelClass, usercontrols::LinkLabelMultiLineClass, usercontrols::OptionListClass, usercontrols::MenuListClass, usercontrols::MenuListSubClass})
        QTest::newRow(c.name) << QString::fromLatin1(c.progId) << QString::fromLatin1(c.name);
}

void tst_usercontrols::everyClassServed()
{
    QFETCH(QString, progId);
    QFETCH(QString, className);
    QWidget host;
    ControlSite site(progId, QStringLiteral("Control1"), &host);
    site.initNew();
    QCOMPARE(site.control().className(), className);
    const QString cls = QStringLiteral("Software\\Classes\\CLSID\\")
        + registryDefault(QStringLiteral("Software\\Classes\\") + progId + QStringLiteral("\\CLSID"));
    QCOMPARE(registryDefault(cls + QStringLiteral("\\ProgID")), progId);
}

void tst_usercontrols::frameLayout_data()
{
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("h");
    QTest::addColumn<bool>("largeFont");
    QTest::addColumn<QRect>("caption");
    QTest::addColumn<double>("fontSize");
    QTest::addColumn<QRect>("body");
    QTest::addColumn<int>("internalWidth");
    QTest::addColumn<int>("internalHeight");
    // QRect(left, top, width, height) in twips.
    QTest::newRow("4800 by 3600") << 4800 << 3600 << false << QRect(60, 120, 4680, 375) << 8.0
                                  << QRect(0, 420, 4800, 3180) << 4740 << 3120;
    QTest::newRow("4800 by 3600, large font") << 4800 << 3600 << true << QRect(60, 60, 4680, 375) << 12.0
                                              << QRect(0, 450, 4800, 3150) << 4740 << 3090;
    QTest::newRow("121 wide moves the caption") << 121 << 3600 << false << QRect(60, 120, 1, 375) << 8.0
                                                << QRect(0, 420, 121, 3180) << 61 << 3120;
    QTest::newRow("less high than the body offset") << 4800 << 300 << false << QRect(60, 120, 4680, 375) << 8.0
                                                    << QRect(0, 420, 4800, 120) << 4740 << 60;
}

void tst_usercontrols::frameLayout()
{
    QFETCH(int, w);
    QFETCH(int, h);
    QFETCH(bool, largeFont);
    QFETCH(QRect, caption);
    QFETCH(double, fontSize);
    QFETCH(QRect, body);
    QFETCH(int, internalWidth);
    QFETCH(int, internalHeight);

    PlacedFrame f;
    f.site.initNew();
    f.frame->setLargeFont(largeFont);
    f.site.move(0, 0, w, h);

    const Label& label = f.caption();
    QCOMPARE(QRect(label.left(), label.top(), label.width(), label.height()), caption);
    QCOMPARE(label.font().size, fontSize);
    QCOMPARE(label.font().name, QStringLiteral("Tahoma"));
    QVERIFY(label.font().bold);
    QCOMPARE(QRect(f.title().left(), f.title().top(), f.title().width(), f.title().height()), QRect(0, 0, w, 495));
    QCOMPARE(QRect(f.body().left(), f.body().top(), f.body().width(), f.body().height()), body);
    QCOMPARE(f.frame->internalWidth(), internalWidth);
    QCOMPARE(f.frame->internalHeight(), internalHeight);
    // The caption lies in front, the title bar at the back.
    QCOMPARE(f.frame->elements().back()->name(), QStringLiteral("lblCaption"));
    QCOMPARE(f.frame->elements().front()->name(), QStringLiteral("shpTitle"));
}

void tst_usercontrols::frameLargeFontOnAndOff()
{
    PlacedFrame f;
    f.site.initNew();
    f.site.move(0, 0, 4800, 3600);
    f.frame->setLargeFont(true);
    QCOMPARE(f.caption().top(), 60);
    QCOMPARE(f.caption().font().size, 12.0);
    QCOMPARE(f.body().top(), 450);
    f.frame->setLargeFont(false);
    QCOMPARE(f.caption().top(), 120);
    QCOMPARE(f.caption().font().size, 8.0);
    QCOMPARE(f.body().top(), 420);
    QCOMPARE(f.title().height(), 495);
}

void tst_usercontrols::frameNarrowKeepsCaption()
{
    PlacedFrame f;
    f.site.initNew();
    f.site.move(0, 0, 4800, 3600);
    f.frame->setLargeFont(true);
    // 120 twips wide or narrower: title bar and body follow, the caption stays.
    f.site.move(0, 0, 120, 3600);
    QCOMPARE(QRect(f.caption().left(), f.caption().top(), f.caption().width(), f.caption().height()),
             QRect(60, 60, 4680, 375));
    QCOMPARE(f.title().width(), 120);
    QCOMPARE(f.body().width(), 120);
    // The font settings still follow LargeFont.
    f.frame->setLargeFont(false);
    QCOMPARE(f.caption().top(), 60);
    QCOMPARE(f.caption().font().size, 8.0);
    QCOMPARE(f.body().top(), 420);
}

void tst_usercontrols::frameNewInstance()
{
    PlacedFrame f;
    f.site.initNew();
    QCOMPARE(f.frame->caption(), QStringLiteral("FrameHistroy"));
    QCOMPARE(f.caption().caption(), QStringLiteral("FrameHistroy"));
    QCOMPARE(f.frame->titleColor(), 0u);
    QCOMPARE(f.title().fillColor(), 0u);
    QCOMPARE(f.body().fillColor(), 0xFFFFFFu);
    QCOMPARE(f.body().borderColor(), 0u);
    QCOMPARE(f.caption().foreColor(), 0x8000000Eu);
    QVERIFY(!f.frame->largeFont());
    // Only the caption differs from its write default.
    const PropertyBag bag = f.site.save();
    QCOMPARE(bag.names(), QStringList{QStringLiteral("Caption")});
    QCOMPARE(bag.read(QStringLiteral("Caption")), Variant(QStringLiteral("FrameHistroy")));
}

void tst_usercontrols::frameCaptionEqualToWriteDefault()
{
    PlacedFrame f;
    f.site.initNew();
    f.frame->setCaption(QStringLiteral("Your Caption Here !"));
    f.frame->setLargeFont(true);
    const PropertyBag bag = f.site.save();
    QVERIFY(!bag.contains(QStringLiteral("Caption")));
    QCOMPARE(bag.read(QStringLiteral("LargeFont")), Variant(true));

    const auto stored = PropertyBag::fromText(bag.toText());
    QVERIFY(stored);
    PlacedFrame reloaded(nullptr, QStringLiteral("Frame2"));
    reloaded.site.load(*stored);
    QCOMPARE(reloaded.frame->caption(), QStringLiteral("Frame2"));
    QVERIFY(reloaded.frame->largeFont());
    QCOMPARE(reloaded.caption().font().size, 12.0);
}

void tst_usercontrols::frameStoredFormOfTheMainWindow()
{
    const auto stored = PropertyBag::fromText(
        QStringLiteral(R"({"caption": "Batch Upload History", "titlecolor": 8388608, "backcolor": -2147483633})"));
    QVERIFY(stored);
    PlacedFrame f;
    f.site.load(*stored);
    QCOMPARE(f.frame->caption(), QStringLiteral("Batch Upload History"));
    QCOMPARE(f.title().fillColor(), 0x800000u);
    QCOMPARE(f.body().fillColor(), 0x8000000Fu);
    QVERIFY(!f.frame->largeFont());
    // Written back with the control's names, nothing lost.
    const PropertyBag again = f.site.save();
    QCOMPARE(again.names(), (QStringList{QStringLiteral("Caption"), QStringLiteral("TitleColor"), QStringLiteral("BackColor")}));
    QCOMPARE(again.read(QStringLiteral("BackColor")), Variant(int32_t(0x8000000F)));
}

void tst_usercontrols::frameSettersReportChanges()
{
    PlacedFrame f;
    f.site.initNew();
    f.changed.clear();
    const automation::ObjectRef frame = f.site.object();
    frame->put(QStringLiteral("BackColor"), Variant(int32_t(0xC0C0C0)));
    frame->put(QStringLiteral("TitleColor"), Variant(int32_t(0x80)));
    frame->put(QStringLiteral("Caption"), Variant(QStringLiteral("A")));
    frame->put(QStringLiteral("LargeFont"), Variant(true));
    QCOMPARE(f.changed, (QStringList{"BackColor", "TitleColor", "Caption", "LargeFont"}));
    QCOMPARE(f.body().fillColor(), 0xC0C0C0u);
    QCOMPARE(f.title().borderColor(), 0x80u);
    QCOMPARE(f.body().borderColor(), 0x80u);
}

void tst_usercontrols::frameRenderedWithChild()
{
    QWidget host;
    host.resize(400, 300);
    ControlSite site(FrameProgId, QStringLiteral("FrameHistroy"), &host);
    const auto bag = PropertyBag::fromText(QStringLiteral(R"({"Caption": "Batch Upload History", "TitleColor": 8388608})"));
    QVERIFY(bag);
    site.load(*bag);
    site.move(0, 0, 4800, 3600); // 320 by 240 pixels
    QWidget child(site.widget());
    child.setAutoFillBackground(true);
    QPalette palette = child.palette();
    palette.setColor(QPalette::Window, Qt::red);
    child.setPalette(palette);
    child.setGeometry(60, 80, 100, 50);
    host.show();

    // Points picked from where the layout put the elements.
    const QRect titleBar = site.control().element(QStringLiteral("shpTitle"))->pixelRect();
    const QRect bodyRect = site.control().element(QStringLiteral("shpFrame"))->pixelRect();
    const QRect captionRect = site.control().element(QStringLiteral("lblCaption"))->pixelRect();
    QCOMPARE(titleBar, QRect(0, 0, 320, 33));
    QCOMPARE(bodyRect, QRect(0, 28, 320, 212));

    const QImage image = site.widget()->grab().toImage();
    QCOMPARE(image.size(), QSize(320, 240));
    const QColor title = forms::toQColor(0x800000);
    auto at = [&](int x, int y) { return QColor(image.pixel(x, y)); };
    // The title bar right of the caption's text; its rounded corner shows the
    // control's own button-face background.
    QCOMPARE(at(titleBar.right() - 10, titleBar.top() + 10), title);
    QCOMPARE(at(titleBar.left(), titleBar.top()), forms::toQColor(0x8000000F));
    // The body below in its colour, with its border in the title colour; its top
    // edge is the title bar's lower edge.
    QCOMPARE(at(bodyRect.center().x(), bodyRect.center().y() + 40), QColor(Qt::white));
    QCOMPARE(at(bodyRect.left(), bodyRect.center().y()), title);
    QCOMPARE(at(bodyRect.right(), bodyRect.center().y()), title);
    QCOMPARE(at(bodyRect.center().x(), bodyRect.top()), title);
    QCOMPARE(at(bodyRect.center().x(), bodyRect.top() + 1), QColor(Qt::white));
    // The child lies above the elements.
    QCOMPARE(at(child.geometry().center().x(), child.geometry().center().y()), QColor(Qt::red));
    // The caption is drawn in the highlight-text colour on the title bar.
    const QColor captionColor = forms::toQColor(0x8000000E);
    bool captionDrawn = false;
    for (int x = captionRect.left(); x < captionRect.left() + 100 && !captionDrawn; ++x)
        for (int y = captionRect.top(); y < bodyRect.top() && !captionDrawn; ++y)
            captionDrawn = at(x, y) == captionColor;
    QVERIFY(captionDrawn);
}

void tst_usercontrols::unregistered()
{
    QCOMPARE(regsvr({QStringLiteral("/u"), QStringLiteral("/s"), QStringLiteral(VLHMCOMCTL_PATH)}), 0);
    QCOMPARE(registryDefault(QStringLiteral("Software\\Classes\\TypeLib\\{727C5FB1-E326-4BBE-9DD3-EA4A790D63AB}\\1.1")),
             QStringLiteral("<missing>"));
    QCOMPARE(registryDefault(QStringLiteral("Software\\Classes\\Interface\\{B5B67269-8A1B-4AB9-93CD-5FDAF7C7638D}")),
             QStringLiteral("<missing>"));
    try {
        automation::createObject(FrameProgId);
        QFAIL("created after unregistering");
    } catch (const basic::RuntimeError& e) {
        QCOMPARE(e.number(), basic::err::CantCreateObject);
    }
}

QUILLAR_TEST_CLASS(tst_usercontrols)
#include "tst_usercontrols.moc"
