#include "tests/usercontrols/Gallery.h"

#include "platform/automation/Object.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSaveFile>

using basic::Variant;
using controlframework::ControlSite;
using controlframework::PropertyBag;

namespace {

const std::vector<Gallery::Placement>& newPlacements()
{
    static const std::vector<Gallery::Placement> list = {
        {QStringLiteral("VLHMComCtl.vlHmBanner"), QStringLiteral("vlbHeading"), {}, 150, 150, 12900, 495},
        {QStringLiteral("VLHMComCtl.vlHmFrame"), QStringLiteral("vlfLinks"), {}, 150, 900, 4200, 2700},
        {QStringLiteral("VLHMComCtl.vlHmLinkLabel"), QStringLiteral("vllHelp"), QStringLiteral("vlfLinks"), 300, 700, 0, 0},
        {QStringLiteral("VLHMComCtl.vlHmLinkLabelMultiLine"), QStringLiteral("vllMail"), QStringLiteral("vlfLinks"), 300, 1200, 0, 0},
        {QStringLiteral("VLHMComCtl.vlHmContainer"), QStringLiteral("vlcPanel"), {}, 4650, 900, 3900, 1500},
        {QStringLiteral("VLHMComCtl.vlHmButton"), QStringLiteral("cmdPost"), QStringLiteral("vlcPanel"), 300, 300, 1500, 375},
        {QStringLiteral("VLHMComCtl.vlHmButton"), QStringLiteral("cmdCancel"), QStringLiteral("vlcPanel"), 2100, 300, 1500, 375},
        {QStringLiteral("VLHMComCtl.vlHmWarnMsg"), QStringLiteral("vlwStatus"), {}, 4650, 2700, 8400, 600},
        {QStringLiteral("VLHMComCtl.vlHmOptionList"), QStringLiteral("vloDocuments"), {}, 8850, 900, 2700, 1500},
        {QStringLiteral("VLHMComCtl.vlHmMenuList"), QStringLiteral("vlmLedgers"), {}, 150, 3900, 3300, 1800},
        {QStringLiteral("VLHMComCtl.vlHmMenuListSub"), QStringLiteral("vlmMessages"), {}, 3750, 3900, 3300, 1770},
    };
    return list;
}

} // namespace

ControlSite* Gallery::site(const QString& name) const
{
    for (const auto& s : m_sites)
        if (s->name() == name)
            return s.get();
    return nullptr;
}

ControlSite& Gallery::place(const Placement& p, const PropertyBag* bag)
{
    ControlSite* holder = p.container.isEmpty() ? nullptr : site(p.container);
    QWidget* parent = holder ? holder->widget() : m_window;
    auto s = std::make_unique<ControlSite>(p.progId, p.name, parent);
    if (bag)
        s->load(*bag);
    else
        s->initNew();
    if (p.width > 0)
        s->move(p.left, p.top, p.width, p.height);
    else
        s->move(p.left, p.top, s->control().width(), s->control().height());
    s->setVisible(true);
    m_placements.push_back(p);
    m_sites.push_back(std::move(s));
    return *m_sites.back();
}

void Gallery::placeNew()
{
    for (const Placement& p : newPlacements()) {
        ControlSite& s = place(p, nullptr);
        const automation::ObjectRef o = s.object();
        const QString& n = p.name;
        if (n == QLatin1String("vlbHeading")) {
            o->put(QStringLiteral("Caption"), QStringLiteral("Batch Upload"));
            o->put(QStringLiteral("SubCaption"), QStringLiteral("Sales documents into the ledger"));
            o->put(QStringLiteral("BackColor"), Variant(int32_t(0x800000)));
        } else if (n == QLatin1String("vlfLinks")) {
            o->put(QStringLiteral("Caption"), QStringLiteral("Help and support"));
            o->put(QStringLiteral("TitleColor"), Variant(int32_t(0x800000)));
        } else if (n == QLatin1String("vllHelp")) {
            o->put(QStringLiteral("Caption"), QStringLiteral("Import file layout"));
            o->put(QStringLiteral("URL"), QStringLiteral("https://example.com/help/layout"));
            o->put(QStringLiteral("ForeColor"), Variant(int32_t(0xC00000)));
        } else if (n == QLatin1String("vllMail")) {
            o->put(QStringLiteral("Caption"), QStringLiteral("Mail the support desk"));
            o->put(QStringLiteral("URL"), QStringLiteral("mailto:support@example.com"));
            o->put(QStringLiteral("Hover"), false);
        } else if (n == QLatin1String("vlcPanel")) {
            o->put(QStringLiteral("BorderStyle"), Variant(int32_t(4)));
            o->put(QStringLiteral("BorderWidth"), Variant(int16_t(2)));
            o->put(QStringLiteral("BorderColor"), Variant(int32_t(0x808080)));
        } else if (n == QLatin1String("cmdPost")) {
            o->put(QStringLiteral("Caption"), QStringLiteral("Post batch"));
        } else if (n == QLatin1String("cmdCancel")) {
            o->put(QStringLiteral("Caption"), QStringLiteral("Cancel"));
            o->put(QStringLiteral("Enabled"), false);
        } else if (n == QLatin1String("vlwStatus")) {
            o->put(QStringLiteral("ForeColor"), Variant(int32_t(0x000080)));
        } else if (n == QLatin1String("vloDocuments")) {
            o->put(QStringLiteral("Caption"), QStringLiteral("Documents"));
            o->put(QStringLiteral("Options"), Variant(int32_t(3)));
            o->call(QStringLiteral("SetOption"), {Variant(int32_t(1)), Variant(QStringLiteral("Invoices")), Variant(int32_t(10))});
            o->call(QStringLiteral("SetOption"), {Variant(int32_t(2)), Variant(QStringLiteral("Credit notes")), Variant(int32_t(20))});
            o->call(QStringLiteral("SetOption"), {Variant(int32_t(3)), Variant(QStringLiteral("Sales orders")), Variant(int32_t(30))});
        } else if (n == QLatin1String("vlmLedgers")) {
            o->put(QStringLiteral("Caption"), QStringLiteral("Ledgers"));
            o->put(QStringLiteral("TitleColor"), Variant(int32_t(0x404040)));
            o->put(QStringLiteral("AutoSize"), true);
            o->call(QStringLiteral("SetOption"), {Variant(int32_t(2)), Variant(QStringLiteral("Customers")), Variant(int32_t(2))});
            o->call(QStringLiteral("SetOption"), {Variant(int32_t(3)), Variant(QStringLiteral("Products")), Variant(int32_t(3))});
            o->call(QStringLiteral("SetOption"), {Variant(int32_t(1)), Variant(QStringLiteral("Nominal accounts")), Variant(int32_t(1))});
            o->put(QStringLiteral("Options"), Variant(int32_t(3)));
        } else if (n == QLatin1String("vlmMessages")) {
            o->put(QStringLiteral("Caption"), QStringLiteral("Messages"));
            o->put(QStringLiteral("TitleColor"), Variant(int32_t(0x006000)));
        }
    }
}

void Gallery::showRunTimeState()
{
    if (ControlSite* s = site(QStringLiteral("vlwStatus")))
        s->object()->call(QStringLiteral("Show"), {Variant(int32_t(2)), Variant(QStringLiteral("INV0003.CSV: 2 lines refused, see the error list"))});
    if (ControlSite* s = site(QStringLiteral("vlmLedgers")))
        s->object()->call(QStringLiteral("SelectOption"), {Variant(int32_t(2))});
    if (ControlSite* s = site(QStringLiteral("vlmMessages")))
        s->object()->call(QStringLiteral("SelectOption"), {Variant(int32_t(1))});
    // The form's default and cancel buttons: Enter and Esc reach them, the default
    // one shows its frame.
    if (ControlSite* s = site(QStringLiteral("cmdPost")))
        s->setDefault(true);
    if (ControlSite* s = site(QStringLiteral("cmdCancel")))
        s->setCancel(true);
}

QString Gallery::designText() const
{
    QJsonArray controls;
    for (size_t i = 0; i < m_sites.size(); ++i) {
        const Placement& p = m_placements[i];
        const ControlSite& s = *m_sites[i];
        QJsonObject c;
        c.insert(QStringLiteral("class"), p.progId);
        c.insert(QStringLiteral("name"), p.name);
        if (!p.container.isEmpty())
            c.insert(QStringLiteral("container"), p.container);
        c.insert(QStringLiteral("left"), s.left());
        c.insert(QStringLiteral("top"), s.top());
        c.insert(QStringLiteral("width"), s.control().width());
        c.insert(QStringLiteral("height"), s.control().height());
        // The bag's own stored form, kept as text so its names keep their order.
        c.insert(QStringLiteral("properties"), s.save().toText());
        controls.append(c);
    }
    return QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("controls"), controls}}).toJson());
}

bool Gallery::saveDesign(const QString& path, QString* error) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(designText().toUtf8()) < 0 || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool Gallery::loadDesign(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    QJsonParseError parse;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parse);
    if (doc.isNull()) {
        if (error)
            *error = parse.errorString();
        return false;
    }
    for (const QJsonValue v : doc.object().value(QStringLiteral("controls")).toArray()) {
        const QJsonObject c = v.toObject();
        const auto bag = PropertyBag::fromText(c.value(QStringLiteral("properties")).toString(), error);
        if (!bag)
            return false;
        Placement p{c.value(QStringLiteral("class")).toString(), c.value(QStringLiteral("name")).toString(),
                    c.value(QStringLiteral("container")).toString(), c.value(QStringLiteral("left")).toInt(),
                    c.value(QStringLiteral("top")).toInt(), c.value(QStringLiteral("width")).toInt(),
                    c.value(QStringLiteral("height")).toInt()};
        place(p, &*bag);
    }
    return true;
}

RegisteredLibrary::RegisteredLibrary()
{
    m_ok = QProcess::execute(QStringLiteral(REGSVR_PATH), {QStringLiteral("/s"), QStringLiteral(VLHMCOMCTL_PATH)}) == 0;
}

RegisteredLibrary::~RegisteredLibrary()
{
    if (m_ok)
        QProcess::execute(QStringLiteral(REGSVR_PATH), {QStringLiteral("/u"), QStringLiteral("/s"), QStringLiteral(VLHMCOMCTL_PATH)});
}
