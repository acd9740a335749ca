#include "platform/controlframework/PropertyPage.h"

#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"
#include "platform/controlframework/StockPages.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <map>

namespace controlframework {

PerPropertyBrowsing::~PerPropertyBrowsing() = default;
PropertyPageProvider::~PropertyPageProvider() = default;

// ---- exchange ----

bool PageExchange::read(const char* property, basic::Variant& value) const
{
    const auto got = m_page.readProperty(QLatin1String(property));
    if (got)
        value = *got;
    return got.has_value();
}

void PageExchange::write(QWidget* item, const char* property, const basic::Variant& value)
{
    if (m_page.m_changed.count(item))
        m_page.writeProperty(QLatin1String(property), value);
}

void PageExchange::check(QAbstractButton* box, const char* property, bool& member)
{
    m_page.watch(box);
    if (m_loading) {
        basic::Variant v;
        if (read(property, v))
            member = basic::CBool(v);
        box->setChecked(member);
    } else {
        member = box->isChecked();
        write(box, property, basic::Variant(member));
    }
}

void PageExchange::listIndex(QComboBox* list, const char* property, int16_t& member)
{
    m_page.watch(list);
    if (m_loading) {
        basic::Variant v;
        if (read(property, v))
            member = basic::CInt(v);
        list->setCurrentIndex(member >= 0 && member < list->count() ? member : -1);
    } else {
        member = int16_t(list->currentIndex());
        write(list, property, basic::Variant(member));
    }
}

void PageExchange::comboText(QComboBox* combo, const char* property, QString& member)
{
    m_page.watch(combo);
    if (m_loading) {
        basic::Variant v;
        if (read(property, v))
            member = basic::CStr(v);
        const int at = combo->findText(member, Qt::MatchFixedString | Qt::MatchCaseSensitive);
        if (at >= 0)
            combo->setCurrentIndex(at);
        else if (combo->isEditable())
            combo->setEditText(member);
    } else {
        member = combo->currentText();
        write(combo, property, basic::Variant(member));
    }
}

void PageExchange::number(QSpinBox* spin, const char* property, int16_t& member)
{
    m_page.watch(spin);
    if (m_loading) {
        basic::Variant v;
        if (read(property, v))
            member = basic::CInt(v);
        spin->setValue(member);
    } else {
        member = int16_t(spin->value());
        write(spin, property, basic::Variant(member));
    }
}

// ---- page ----

PropertyPage::PropertyPage(const QString& caption, QWidget* parent) : QWidget(parent), m_caption(caption) {}

PropertyPage::~PropertyPage() = default;

std::optional<basic::Variant> PropertyPage::readProperty(const QString& property) const
{
    const automation::ObjectRef object = firstObject();
    if (!object)
        return std::nullopt;
    try {
        return object->get(property);
    } catch (const basic::RuntimeError&) {
        return std::nullopt;
    }
}

void PropertyPage::writeProperty(const QString& property, const basic::Variant& value) const
{
    for (const auto& object : m_objects) {
        if (!object)
            continue;
        try {
            object->put(property, value);
        } catch (const basic::RuntimeError&) {
            // An object without the property, or one that refuses the value, keeps its own.
        }
    }
}

void PropertyPage::setObjects(std::vector<automation::ObjectRef> objects) { m_objects = std::move(objects); }

void PropertyPage::open()
{
    // The lists are filled before the properties are read into them, so that the
    // page opens showing the control's values rather than its lists' first entries.
    if (!m_opened) {
        m_opened = true;
        m_loading = true;
        initDialog();
        m_loading = false;
    }
    refresh();
}

void PropertyPage::refresh()
{
    m_loading = true;
    load();
    m_loading = false;
    m_changed.clear();
    setModified(false);
}

void PropertyPage::apply()
{
    save();
    m_changed.clear();
    setModified(false);
}

void PropertyPage::load()
{
    PageExchange px(*this, true);
    exchange(px);
}

void PropertyPage::save()
{
    PageExchange px(*this, false);
    exchange(px);
}

void PropertyPage::setModified(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    if (onModifiedChanged)
        onModifiedChanged(modified);
}

void PropertyPage::itemChanged(QWidget* item)
{
    if (m_loading)
        return;
    m_changed.insert(item);
    setModified(true);
}

void PropertyPage::watch(QWidget* item)
{
    if (!m_watched.insert(item).second)
        return;
    if (auto* box = qobject_cast<QAbstractButton*>(item))
        connect(box, &QAbstractButton::toggled, this, [this, item] { itemChanged(item); });
    else if (auto* combo = qobject_cast<QComboBox*>(item)) {
        connect(combo, &QComboBox::currentIndexChanged, this, [this, item] { itemChanged(item); });
        if (combo->isEditable())
            connect(combo, &QComboBox::editTextChanged, this, [this, item] { itemChanged(item); });
    } else if (auto* spin = qobject_cast<QSpinBox*>(item))
        connect(spin, &QSpinBox::valueChanged, this, [this, item] { itemChanged(item); });
    else if (auto* edit = qobject_cast<QLineEdit*>(item))
        connect(edit, &QLineEdit::textEdited, this, [this, item] { itemChanged(item); });
}

// ---- page classes ----

namespace {

std::map<QString, PageFactory>& pageClasses()
{
    // The framework serves its own stock pages; libraries add theirs.
    static std::map<QString, PageFactory> classes{
        {QString::fromLatin1(StockFontPageClassId).toUpper(), [] { return std::make_unique<StockFontPage>(); }},
        {QString::fromLatin1(StockColourPageClassId).toUpper(), [] { return std::make_unique<StockColourPage>(); }},
    };
    return classes;
}

} // namespace

void registerPropertyPage(const QString& classId, PageFactory factory)
{
    pageClasses()[classId.toUpper()] = std::move(factory);
}

std::unique_ptr<PropertyPage> createPropertyPage(const QString& classId)
{
    const auto it = pageClasses().find(classId.toUpper());
    return it == pageClasses().end() ? nullptr : it->second();
}

// ---- frame ----

PropertyFrame::PropertyFrame(const QString& caption, std::vector<automation::ObjectRef> objects,
                             std::vector<std::unique_ptr<PropertyPage>> pages, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    m_tabs = new QTabWidget(this);
    layout->addWidget(m_tabs);
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this);
    layout->addWidget(m_buttons);
    for (auto& owned : pages) {
        PropertyPage* page = owned.release();
        m_pages.push_back(page);
        m_tabs->addTab(page, page->caption());
        page->setObjects(objects);
        page->onModifiedChanged = [this](bool) { updateApply(); };
        page->open();
    }
    updateApply();
    connect(applyButton(), &QAbstractButton::clicked, this, [this] { applyAll(); });
    connect(m_buttons, &QDialogButtonBox::accepted, this, [this] {
        applyAll();
        accept();
    });
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(this, &QDialog::finished, this, [this] {
        for (PropertyPage* page : m_pages)
            page->frameClosed();
    });
}

std::unique_ptr<PropertyFrame> PropertyFrame::forControl(const QString& caption, const automation::ObjectRef& control,
                                                         QWidget* parent)
{
    std::vector<std::unique_ptr<PropertyPage>> pages;
    if (auto* provider = dynamic_cast<PropertyPageProvider*>(control.get()))
        for (const QString& id : provider->propertyPageIds())
            if (auto page = createPropertyPage(id))
                pages.push_back(std::move(page));
    return std::make_unique<PropertyFrame>(caption, std::vector<automation::ObjectRef>{control}, std::move(pages),
                                           parent);
}

PropertyFrame::~PropertyFrame()
{
    for (PropertyPage* page : m_pages)
        page->onModifiedChanged = nullptr;
}

QAbstractButton* PropertyFrame::okButton() const { return m_buttons->button(QDialogButtonBox::Ok); }
QAbstractButton* PropertyFrame::cancelButton() const { return m_buttons->button(QDialogButtonBox::Cancel); }
QAbstractButton* PropertyFrame::applyButton() const { return m_buttons->button(QDialogButtonBox::Apply); }

void PropertyFrame::applyAll()
{
    for (PropertyPage* page : m_pages)
        if (page->isModified())
            page->apply();
    updateApply();
}

void PropertyFrame::updateApply()
{
    bool modified = false;
    for (PropertyPage* page : m_pages)
        modified = modified || page->isModified();
    applyButton()->setEnabled(modified);
}

} // namespace controlframework
