#pragma once

#include "platform/automation/Object.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <vector>

class QAbstractButton;
class QComboBox;
class QDialogButtonBox;
class QSpinBox;
class QTabWidget;

// Design-time property pages: a page is a dialog of items, each bound to a property
// of the selected controls by name. Opening a page reads the properties into its
// items; applying writes back only the properties whose items the user changed.
// The frame hosts pages with OK, Cancel and Apply.
namespace controlframework {

// What a control answers to the container's property browser: the text shown for a
// property's value and the values it offers, by DISPID. False: the control leaves
// that property to the default.
class PerPropertyBrowsing
{
public:
    virtual ~PerPropertyBrowsing();
    virtual bool displayString(automation::DispId id, QString& text) = 0;
    // The offered values' strings, each with the cookie that names it.
    virtual bool predefinedStrings(automation::DispId id, QStringList& strings, std::vector<uint32_t>& cookies) = 0;
    virtual bool predefinedValue(automation::DispId id, uint32_t cookie, basic::Variant& value) = 0;
};

class PropertyPage;

// The property exchange between page items and properties. Loading reads the
// property from the page's first object into `member` (a read that fails keeps the
// member) and shows it; saving takes the item's value into `member` and writes it to
// every object, only when the user changed that item.
class PageExchange
{
public:
    PageExchange(PropertyPage& page, bool loading) : m_page(page), m_loading(loading) {}
    bool isLoading() const { return m_loading; }

    void check(QAbstractButton* box, const char* property, bool& member);
    // A drop-down list: the selected index is the value (-1 none).
    void listIndex(QComboBox* list, const char* property, int16_t& member);
    // A combo box's text.
    void comboText(QComboBox* combo, const char* property, QString& member);
    // A 16-bit number in an edit field with its spin control.
    void number(QSpinBox* spin, const char* property, int16_t& member);

private:
    bool read(const char* property, basic::Variant& value) const;
    void write(QWidget* item, const char* property, const basic::Variant& value);

    PropertyPage& m_page;
    bool m_loading;
};

class PropertyPage : public QWidget
{
public:
    explicit PropertyPage(const QString& caption, QWidget* parent = nullptr);
    ~PropertyPage() override;

    const QString& caption() const { return m_caption; }

    // The selected controls (their own automation objects).
    void setObjects(std::vector<automation::ObjectRef> objects);
    const std::vector<automation::ObjectRef>& objects() const { return m_objects; }
    // The first selected control (null when none): the one the page reads from.
    automation::ObjectRef firstObject() const { return m_objects.empty() ? nullptr : m_objects.front(); }
    // The property read from the first object; nullopt when it cannot be read.
    std::optional<basic::Variant> readProperty(const QString& property) const;
    // The property written to every object; an object without the property, or one
    // that refuses the value, keeps its own.
    void writeProperty(const QString& property, const basic::Variant& value) const;

    // Dialog initialisation, once, then the properties read into the items.
    void open();
    // Reads the properties into the items again (the load direction).
    void refresh();
    // Writes the changed items back (the save direction); clears the modified flag.
    void apply();

    // The frame closes: the page lets go of what it holds of the objects.
    virtual void frameClosed() {}

    bool isModified() const { return m_modified; }
    void setModified(bool modified = true);
    std::function<void(bool modified)> onModifiedChanged;

    // True while the items are being filled from the properties (their change
    // notices then mean nothing).
    bool isLoading() const { return m_loading; }

protected:
    // OnInitDialog: fill lists, set ranges.
    virtual void initDialog() {}
    // DoDataExchange.
    virtual void exchange(PageExchange& px) { (void)px; }
    // The load and save directions; the default runs the exchange.
    virtual void load();
    virtual void save();

    // Marks the item changed by the user (the exchange writes its property) and the
    // page modified; ignored while loading. Each item the exchange binds is watched
    // for this already.
    void itemChanged(QWidget* item);

private:
    friend class PageExchange;
    void watch(QWidget* item);

    QString m_caption;
    std::vector<automation::ObjectRef> m_objects;
    std::set<QWidget*> m_watched;
    std::set<QWidget*> m_changed;
    bool m_opened = false;
    bool m_loading = false;
    bool m_modified = false;
};

// Makes a page by its class identifier (the pages a library serves).
using PageFactory = std::function<std::unique_ptr<PropertyPage>()>;
void registerPropertyPage(const QString& classId, PageFactory factory);
// Null when no page of that class is served.
std::unique_ptr<PropertyPage> createPropertyPage(const QString& classId);

// What a control offers: the class identifiers of its property pages, in order.
class PropertyPageProvider
{
public:
    virtual ~PropertyPageProvider();
    virtual QStringList propertyPageIds() const = 0;
    // The stock font and colour pages find the stock Font, BackColor and ForeColor
    // themselves; these are the names of the control's other properties of those
    // types (a font object, an OLE colour).
    virtual QStringList fontProperties() const { return {}; }
    virtual QStringList colourProperties() const { return {}; }
};

// The property frame: the pages as tabs, OK (apply and close), Cancel (close) and
// Apply (enabled while a page is modified).
class PropertyFrame : public QDialog
{
public:
    PropertyFrame(const QString& caption, std::vector<automation::ObjectRef> objects,
                  std::vector<std::unique_ptr<PropertyPage>> pages, QWidget* parent = nullptr);
    // The pages of the control's own list that are served, for `objects`.
    static std::unique_ptr<PropertyFrame> forControl(const QString& caption, const automation::ObjectRef& control,
                                                     QWidget* parent = nullptr);
    ~PropertyFrame() override;

    int pageCount() const { return int(m_pages.size()); }
    PropertyPage& page(int index) const { return *m_pages.at(size_t(index)); }
    QTabWidget* tabs() const { return m_tabs; }
    QAbstractButton* okButton() const;
    QAbstractButton* cancelButton() const;
    QAbstractButton* applyButton() const;

    // Applies every modified page.
    void applyAll();

private:
    void updateApply();

    std::vector<PropertyPage*> m_pages; // owned by the tabs
    QTabWidget* m_tabs = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};

} // namespace controlframework
