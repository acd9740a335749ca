#include "controls/listgrid/Columns.h"

#include "controls/listgrid/ColumnsBlock.h"
#include "controls/listgrid/ComboBoxControl.h"
#include "controls/listgrid/Enumerators.h"
#include "controls/listgrid/ListViewWnd.h"
#include "controls/listgrid/OptionalArgs.h"

#include "package/listwindow/EditorWindows.h"

#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"

#include <QSet>

#include <algorithm>
#include <cstring>

namespace listgrid {

using automation::Args;
using automation::DispId;
using automation::Invoke;
using automation::MemberTable;
using basic::Variant;
using namespace vllist;

// ---- column ids ----

namespace {

QSet<uint16_t>& liveIds()
{
    static QSet<uint16_t> ids;
    return ids;
}

} // namespace

uint32_t allocateColumnId()
{
    static uint32_t next = 10000;
    for (int tries = 0; tries <= 0x10000; ++tries) {
        const uint32_t id = next++;
        if (!liveIds().contains(uint16_t(id))) {
            liveIds().insert(uint16_t(id));
            return id;
        }
    }
    throw basic::RuntimeError(7, QStringLiteral("Out of memory"), QStringLiteral("Columns"));
}

void releaseColumnId(uint32_t id) { liveIds().remove(uint16_t(id)); }

// ---- popup columns ----

const MemberTable<CPopupColumn>& CPopupColumn::members()
{
    static const auto t = MemberTable<CPopupColumn>().property(
        1, "DataField", [](CPopupColumn& c, Args&) { return Variant(c.m_dataField); },
        [](CPopupColumn& c, Args&, const Variant& v) { c.m_dataField = basic::CStr(v); });
    return t;
}

const MemberTable<CPopupColumns>& CPopupColumns::members()
{
    static const auto t =
        MemberTable<CPopupColumns>()
            .property(1, "Count", [](CPopupColumns& c, Args&) { return Variant(c.count()); })
            .method(2, "Add",
                    [](CPopupColumns& c, Args& a) {
                        return Variant(basic::ObjectRef(c.add(optionalString(automation::optionalArg(a, 0)).value_or(QString()))));
                    })
            .method(3, "Clear", [](CPopupColumns& c, Args&) { c.clear(); return Variant(); })
            .method(4, "Remove", [](CPopupColumns& c, Args& a) { c.remove(automation::optionalArg(a, 0)); return Variant(); })
            .property(5, "Item",
                      [](CPopupColumns& c, Args& a) {
                          const int32_t at = c.find(automation::optionalArg(a, 0));
                          return at < 0 ? Variant::nothing() : Variant(basic::ObjectRef(c.m_items[size_t(at)]));
                      })
            .property(automation::DispIdValue, "_Item",
                      [](CPopupColumns& c, Args& a) {
                          const int32_t at = c.find(automation::optionalArg(a, 0));
                          return at < 0 ? Variant::nothing() : Variant(basic::ObjectRef(c.m_items[size_t(at)]));
                      })
            .method(automation::DispIdNewEnum, "_NewEnum", [](CPopupColumns& c, Args&) {
                return Variant(basic::ObjectRef(std::make_shared<CEnumVariant<CPopupColumn>>(c.shared_from_this(), c.m_items)));
            });
    return t;
}




std::shared_ptr<CPopupColumn> CPopupColumns::add(const QString& dataField)
{
    auto column = std::make_shared<CPopupColumn>(dataField);
    m_items.push_back(column);
    return column;
}

int32_t CPopupColumns::find(const Variant& index) const
{
    int32_t found = -1;
    if (index.isString()) {
        for (size_t i = 0; i < m_items.size() && found < 0; ++i)
            if (m_items[i]->m_dataField == index.stringValue())
                found = int32_t(i);
    } else if (index.isObject()) {
        for (size_t i = 0; i < m_items.size() && found < 0; ++i)
            if (m_items[i] == index.objectValue())
                found = int32_t(i);
    }
    // A number, or a text that reads as one, always selects by position.
    if (const auto number = optionalInteger(index))
        found = *number >= 1 && *number <= count() ? *number - 1 : -1;
    return found;
}

void CPopupColumns::remove(const Variant& index)
{
    const int32_t at = find(index);
    if (at >= 0)
        m_items.erase(m_items.begin() + at);
}

QStringList CPopupColumns::fields() const
{
    QStringList out;
    for (const auto& c : m_items)
        out << c->m_dataField;
    return out;
}

// ---- column ----

namespace {

constexpr int16_t sqlTypeOf[DataTypeCount] = {sql::Varchar, sql::Integer, sql::SmallInt, sql::Double,
                                              sql::Float, sql::Timestamp, sql::Bit};

struct Editor
{
    const char* className;
    uint32_t baseStyle;
};
constexpr Editor editors[ControlTypeCount] = {
    {"EDIT", 0x80}, {"#VL32NUMBEREDIT", 0x8}, {"#VL32CALCEDIT", 0x8},
    {"#VL32DATEEDIT", 0x8}, {"#VL32POPUP", 0x10}, {"ComboBox", 0x200003},
};

int16_t dataTypeOfSql(int16_t sqlType)
{
    switch (sqlType) {
    case sql::Numeric: case sql::Decimal: case sql::SmallInt: case sql::TinyInt: return lstDataInteger;
    case sql::Integer: return lstDataLong;
    case sql::Float: return lstDataSingle;
    case sql::Real: case sql::Double: return lstDataDouble;
    case sql::DateTime: case sql::Timestamp: return lstDataDate;
    case sql::Bit: return lstDataBit;
    default: return lstDataString;
    }
}

bool isNumericSql(int16_t sqlType)
{
    return (sqlType >= 2 && sqlType <= 8) || sqlType == sql::TinyInt || sqlType == sql::Bit;
}

uint32_t alignBits(int16_t alignment, uint32_t right, uint32_t centre)
{
    return alignment == 1 ? right : alignment == 2 ? centre : 0;
}

void copyText(char* field, size_t size, const QString& text)
{
    const QByteArray bytes = text.toLatin1().left(qsizetype(size - 1));
    std::memset(field, 0, size);
    std::memcpy(field, bytes.constData(), size_t(bytes.size()));
}

void checkMaxLength(int32_t value)
{
    if (value < 1 || value > MaxColumnLength)
        throw basic::RuntimeError(basic::err::InvalidPropertyValue,
                                  QStringLiteral("MaxLength must lie between 1 and %1").arg(MaxColumnLength),
                                  QStringLiteral("Column"));
}

template <class T>
void checkRange(int32_t value, T count, const char* what)
{
    if (value < 0 || value >= int32_t(count))
        throw basic::RuntimeError(basic::err::InvalidPropertyValue,
                                  QStringLiteral("%1 must lie between 0 and %2").arg(QLatin1String(what)).arg(int32_t(count) - 1),
                                  QStringLiteral("Column"));
}

uint32_t oleColour(const Variant& v) { return uint32_t(basic::CLng(v)); }

using ColumnTable = MemberTable<CColumn>;

template <bool ColumnSettings::*Member, uint32_t Bit>
ColumnTable& flagProperty(ColumnTable& t, DispId id, const char* name)
{
    return t.property(
        id, name, [](CColumn& c, Args&) { return Variant(c.settings().*Member); },
        [](CColumn& c, Args&, const Variant& v) { c.setFlag(Member, Bit, basic::CBool(v)); });
}

template <uint32_t ColumnSettings::*Member>
ColumnTable& cellColourProperty(ColumnTable& t, DispId id, const char* name)
{
    return t.property(
        id, name, [](CColumn& c, Args&) { return Variant(int32_t(c.settings().*Member)); },
        [](CColumn& c, Args&, const Variant& v) { c.setCellColour(Member, oleColour(v)); });
}

template <uint32_t ColumnSettings::*Member>
ColumnTable& captionColourProperty(ColumnTable& t, DispId id, const char* name)
{
    return t.property(
        id, name, [](CColumn& c, Args&) { return Variant(int32_t(c.settings().*Member)); },
        [](CColumn& c, Args&, const Variant& v) { c.setCaptionColour(Member, oleColour(v)); });
}

} // namespace

const ColumnTable& CColumn::members()
{
    static const ColumnTable t = [] {
        ColumnTable t;
        t.property(1, "Key", [](CColumn& c, Args&) { return Variant(c.settings().key); },
                   [](CColumn& c, Args&, const Variant& v) { c.setKey(basic::CStr(v)); })
            .property(2, "Caption", [](CColumn& c, Args&) { return Variant(c.settings().caption); },
                      [](CColumn& c, Args&, const Variant& v) { c.setCaption(basic::CStr(v)); })
            .property(3, "DataType", [](CColumn& c, Args&) { return Variant(c.settings().dataType); },
                      [](CColumn& c, Args&, const Variant& v) { c.setDataType(basic::CInt(v)); })
            .property(4, "MaxLength", [](CColumn& c, Args&) { return Variant(c.settings().maxLength); },
                      [](CColumn& c, Args&, const Variant& v) { c.setMaxLength(basic::CLng(v)); })
            .property(5, "DecimalPlaces", [](CColumn& c, Args&) { return Variant(c.settings().decimalPlaces); },
                      [](CColumn& c, Args&, const Variant& v) { c.setDecimalPlaces(basic::CInt(v)); })
            .property(6, "DataField", [](CColumn& c, Args&) { return Variant(c.settings().dataField); },
                      [](CColumn& c, Args&, const Variant& v) { c.setDataField(basic::CStr(v)); })
            .property(7, "ControlType", [](CColumn& c, Args&) { return Variant(c.settings().controlType); },
                      [](CColumn& c, Args&, const Variant& v) { c.setControlType(basic::CInt(v)); })
            .property(8, "Width", [](CColumn& c, Args&) { return Variant(c.settings().width); },
                      [](CColumn& c, Args&, const Variant& v) { c.setWidth(basic::CInt(v)); })
            .property(9, "CaptionAlignment", [](CColumn& c, Args&) { return Variant(c.settings().captionAlignment); },
                      [](CColumn& c, Args&, const Variant& v) { c.setCaptionAlignment(basic::CInt(v)); })
            .property(10, "ColumnAlignment", [](CColumn& c, Args&) { return Variant(c.settings().columnAlignment); },
                      [](CColumn& c, Args&, const Variant& v) { c.setColumnAlignment(basic::CInt(v)); })
            .property(11, "Visible", [](CColumn& c, Args&) { return Variant(c.settings().visible); },
                      [](CColumn& c, Args&, const Variant& v) { c.setVisible(basic::CBool(v)); })
            .property(12, "Enabled", [](CColumn& c, Args&) { return Variant(c.settings().enabled); },
                      [](CColumn& c, Args&, const Variant& v) { c.setEnabled(basic::CBool(v)); });
        flagProperty<&ColumnSettings::allowMove, ColumnFlag::AllowMove>(t, 13, "AllowMove");
        flagProperty<&ColumnSettings::allowSelect, ColumnFlag::AllowSelect>(t, 14, "AllowSelect");
        flagProperty<&ColumnSettings::allowSize, ColumnFlag::AllowSize>(t, 15, "AllowSize");
        flagProperty<&ColumnSettings::autoSize, ColumnFlag::AutoSize>(t, 16, "AutoSize");
        flagProperty<&ColumnSettings::fixed, ColumnFlag::Fixed>(t, 17, "Fixed");
        t.property(18, "Sort", [](CColumn& c, Args&) { return Variant(c.sort()); },
                   [](CColumn& c, Args&, const Variant& v) { c.setSort(basic::CInt(v)); })
            .property(19, "ControlStyle", [](CColumn& c, Args&) { return Variant(c.settings().controlStyle); },
                      [](CColumn& c, Args&, const Variant& v) { c.setControlStyle(basic::CLng(v)); });
        cellColourProperty<&ColumnSettings::backColor>(t, 20, "BackColor");
        cellColourProperty<&ColumnSettings::foreColor>(t, 21, "ForeColor");
        cellColourProperty<&ColumnSettings::highlightedBackColor>(t, 22, "HighlightedBackColor");
        cellColourProperty<&ColumnSettings::highlightedForeColor>(t, 23, "HighlightedForeColor");
        t.property(24, "Index", [](CColumn& c, Args&) { return Variant(c.index()); })
            .property(25, "PopupColumns", [](CColumn& c, Args&) { return Variant(basic::ObjectRef(c.popupColumns())); })
            .property(26, "Top", [](CColumn& c, Args&) { return Variant(c.position(0)); })
            .property(27, "Bottom", [](CColumn& c, Args&) { return Variant(c.position(1)); })
            .property(28, "Left", [](CColumn& c, Args&) { return Variant(c.position(2)); })
            .property(29, "Right", [](CColumn& c, Args&) { return Variant(c.position(3)); })
            .method(30, "ShowPopup", [](CColumn& c, Args&) { c.showPopup(); return Variant(); });
        captionColourProperty<&ColumnSettings::captionBackColor>(t, 31, "CaptionBackColor");
        captionColourProperty<&ColumnSettings::captionForeColor>(t, 32, "CaptionForeColor");
        t.property(33, "Control", [](CColumn& c, Args&) { return c.control(); })
            .property(34, "CurrentWidth", [](CColumn& c, Args&) { return Variant(c.currentWidth()); },
                      [](CColumn& c, Args&, const Variant& v) { c.setCurrentWidth(basic::CInt(v)); })
            .property(35, "CurrentIndex", [](CColumn& c, Args&) { return Variant(c.currentIndex()); },
                      [](CColumn& c, Args&, const Variant& v) { c.setCurrentIndex(basic::CInt(v)); })
            .property(36, "AllowDrillDown", [](CColumn& c, Args&) { return Variant(c.allowDrillDown()); },
                      [](CColumn& c, Args&, const Variant& v) { c.setAllowDrillDown(basic::CBool(v)); });
        return t;
    }();
    return t;
}


Variant CColumn::control()
{
    if (m_s.controlType != lstCtlComboBox)
        return Variant::nothing();
    if (!m_combo)
        m_combo = std::make_shared<CComboBoxControl>();
    m_combo->bind(m_owner->IsCreated() ? m_owner->GetColumnEditor(m_id) : 0);
    return Variant(basic::ObjectRef(m_combo));
}

CColumn::CColumn(std::shared_ptr<CListViewWnd> owner) : m_owner(std::move(owner)), m_id(allocateColumnId()) {}
CColumn::~CColumn() { releaseColumnId(m_id); }


ColumnSettings CColumn::storedSettings() const
{
    ColumnSettings s = m_s;
    s.popupFields = m_popups ? m_popups->fields() : QStringList();
    return s;
}

void CColumn::setSettings(const ColumnSettings& settings)
{
    m_s = settings;
    if (!settings.popupFields.isEmpty() || m_popups) {
        popupColumns()->clear();
        for (const QString& field : settings.popupFields)
            m_popups->add(field);
    }
    m_s.popupFields.clear();
}

void CColumn::setKey(const QString& key)
{
    m_s.key = key;
    m_owner->SetModified();
}

std::shared_ptr<CPopupColumns> CColumn::popupColumns()
{
    if (!m_popups)
        m_popups = std::make_shared<CPopupColumns>();
    return m_popups;
}

int16_t CColumn::resolvedWidth(int16_t width) const
{
    if (width != -1)
        return width;
    switch (m_s.dataType) {
    case lstDataString: return m_s.maxLength >= 32 ? 32 : 16;
    case lstDataLong:
    case lstDataInteger: return 10;
    case lstDataDouble: return 12;
    case lstDataSingle: return 8;
    case lstDataDate: return 16;
    case lstDataBit: return 5;
    default: return 16;
    }
}

ColumnDefinition CColumn::definition() const
{
    ColumnDefinition d;
    const int16_t dataType = std::clamp<int16_t>(m_s.dataType, 0, DataTypeCount - 1);
    const Editor& editor = editors[std::clamp<int16_t>(m_s.controlType, 0, ControlTypeCount - 1)];
    d.sqlType = sqlTypeOf[dataType];
    d.decimalPlaces = (d.sqlType == sql::Float || d.sqlType == sql::Double) ? m_s.decimalPlaces : 0;
    d.width = resolvedWidth(m_s.width);
    d.bufferSize = uint16_t(m_s.maxLength + 1);
    d.flags = alignBits(m_s.captionAlignment, 1, 2) | alignBits(m_s.columnAlignment, 0x100, 0x200) |
              (m_s.allowMove ? ColumnFlag::AllowMove : 0) | (m_s.allowSize ? ColumnFlag::AllowSize : 0) |
              (m_s.allowSelect ? ColumnFlag::AllowSelect : 0) | (m_s.fixed ? ColumnFlag::Fixed : 0) |
              (m_s.sort == 1 ? ColumnFlag::SortAscending : m_s.sort == 2 ? ColumnFlag::SortDescending : 0) |
              (m_s.autoSize ? ColumnFlag::AutoSize : 0);
    d.columnId = uint16_t(m_id);
    d.editorStyle = EditorStyle::Base | editor.baseStyle | uint32_t(m_s.controlStyle);
    d.editorStyle = m_s.visible ? d.editorStyle | EditorStyle::Visible : d.editorStyle & ~EditorStyle::Visible;
    d.editorStyle = m_s.enabled ? d.editorStyle | EditorStyle::Enabled : d.editorStyle & ~EditorStyle::Enabled;
    copyText(d.editorClass, sizeof d.editorClass, QLatin1String(editor.className));
    copyText(d.caption, sizeof d.caption, m_s.caption);
    return d;
}

bool CColumn::windowIndex(int32_t& index) const
{
    if (!m_owner->IsCreated())
        return false;
    index = m_owner->FindColumnById(m_id);
    return index >= 0;
}

bool CColumn::readDefinition(int32_t& index, ColumnDefinition& definition) const
{
    if (!windowIndex(index))
        return false;
    m_owner->GetColumnDefinition(index, definition);
    return true;
}

void CColumn::editDefinition(const std::function<void(ColumnDefinition&)>& edit)
{
    int32_t index = -1;
    ColumnDefinition d;
    if (!readDefinition(index, d))
        return;
    edit(d);
    m_owner->SetColumnDefinition(index, d);
    invalidate();
}

void CColumn::invalidate() const { m_owner->RepaintColumn(m_index - 1); }

void CColumn::sendCellColours()
{
    int32_t index = -1;
    if (!windowIndex(index))
        return;
    m_owner->SetColumnColours(index, {windowColour(m_s.backColor, colours::Back), windowColour(m_s.foreColor, colours::Fore),
                                      windowColour(m_s.highlightedBackColor, colours::HighlightedBack),
                                      windowColour(m_s.highlightedForeColor, colours::HighlightedFore)});
}

void CColumn::applyToWindow(int32_t position)
{
    if (!m_owner->IsCreated())
        return;
    ColumnDefinition d = definition();
    m_owner->InsertColumn(position, d);
    sendCellColours();
    if (m_s.dataType == lstDataBit && m_s.controlType == lstCtlComboBox) {
        // A Bit column picked from a list offers its two values.
        CComboBoxControl entries;
        entries.bind(m_owner->GetColumnEditor(m_id));
        entries.add(QStringLiteral("No"));
        entries.add(QStringLiteral("Yes"));
    }
    int32_t index = -1;
    if (windowIndex(index)) {
        // Caption colours are stored with the design, so a loaded column brings its own.
        if (m_s.captionBackColor != colours::CaptionBack || m_s.captionForeColor != colours::CaptionFore)
            m_owner->SetCaptionColours(index, windowColour(m_s.captionBackColor, colours::CaptionBack),
                                       windowColour(m_s.captionForeColor, colours::CaptionFore));
        m_owner->ShowColumn(index, m_s.visible);
    }
    m_owner->Repaint();
}

void CColumn::recreate()
{
    int32_t index = -1;
    if (!windowIndex(index))
        return;
    const bool redraw = m_owner->IsAutoRedraw();
    if (redraw)
        m_owner->SetRedraw(false);
    m_owner->BeginColumnRebuild();
    m_owner->DeleteColumn(index);
    applyToWindow(index);
    m_owner->EndColumnRebuild();
    if (redraw)
        m_owner->SetRedraw(true);
}

void CColumn::setCaption(const QString& caption)
{
    m_s.caption = caption;
    editDefinition([&](ColumnDefinition& d) { copyText(d.caption, sizeof d.caption, caption); });
    m_owner->SetModified();
}

void CColumn::recreated()
{
    recreate();
    invalidate();
    m_owner->SetModified();
}

void CColumn::setDataType(int16_t value)
{
    checkRange(value, DataTypeCount, "DataType");
    m_s.dataType = value;
    recreated();
}

void CColumn::setMaxLength(int32_t value)
{
    checkMaxLength(value);
    m_s.maxLength = int16_t(value);
    recreated();
}

void CColumn::setDecimalPlaces(int16_t value)
{
    m_s.decimalPlaces = value;
    editDefinition([&](ColumnDefinition& d) { d.decimalPlaces = value; });
    recreated();
}

void CColumn::setDataField(const QString& field)
{
    m_s.dataField = field;
    FieldInfo info;
    if (!field.isEmpty() && field != QLatin1String("None") && m_owner->ReadFieldInfo(field, info)) {
        if (info.size >= 1 && info.size <= MaxColumnLength)
            m_s.maxLength = int16_t(info.size);
        m_s.dataType = dataTypeOfSql(info.sqlType);
        m_s.decimalPlaces = info.decimalPlaces;
        m_s.columnAlignment = isNumericSql(info.sqlType) ? 1 : 0;
    }
    recreated();
}

void CColumn::setControlType(int16_t value)
{
    checkRange(value, ControlTypeCount, "ControlType");
    m_s.controlType = value;
    recreated();
}

void CColumn::setWidth(int16_t value)
{
    m_s.width = value;
    if (m_owner->IsCreated()) {
        m_s.width = resolvedWidth(value);
        editDefinition([&](ColumnDefinition& d) { d.width = m_s.width; });
    }
    m_owner->SetModified();
}

void CColumn::setCaptionAlignment(int16_t value)
{
    m_s.captionAlignment = value;
    editDefinition([&](ColumnDefinition& d) {
        d.flags = (d.flags & ~ColumnFlag::CaptionAlignMask) | alignBits(value, 1, 2);
    });
    m_owner->SetModified();
}

void CColumn::setColumnAlignment(int16_t value)
{
    m_s.columnAlignment = value;
    editDefinition([&](ColumnDefinition& d) {
        d.flags = (d.flags & ~ColumnFlag::ColumnAlignMask) | alignBits(value, 0x100, 0x200);
    });
    m_owner->SetModified();
}

void CColumn::setVisible(bool value)
{
    m_s.visible = value;
    int32_t index = -1;
    if (windowIndex(index)) {
        if (m_owner->IsUserMode())
            m_owner->ShowColumn(index, value);
        else
            recreate();
        invalidate();
    }
    m_owner->SetModified();
}

void CColumn::setEnabled(bool value)
{
    m_s.enabled = value;
    editDefinition([&](ColumnDefinition& d) {
        d.editorStyle = value ? d.editorStyle | EditorStyle::Enabled : d.editorStyle & ~EditorStyle::Enabled;
    });
    int32_t index = -1;
    if (windowIndex(index))
        if (auto* editor = vllist::windowFromHandle(m_owner->GetColumnEditorAt(index))) {
            const uint32_t style = editor->windowStyle();
            editor->setWindowStyle(value ? style | EditorStyle::Enabled : style & ~EditorStyle::Enabled);
        }
    m_owner->SetModified();
}

void CColumn::setFlag(bool ColumnSettings::*member, uint32_t bit, bool value)
{
    m_s.*member = value;
    if (m_owner->IsCreated() && bit == ColumnFlag::AllowMove && value)
        m_owner->setColumnMapping();
    editDefinition([&](ColumnDefinition& d) { d.flags = value ? d.flags | bit : d.flags & ~bit; });
    m_owner->SetModified();
}

void CColumn::setSort(int16_t value)
{
    m_s.sort = value;
    int32_t index = -1;
    ColumnDefinition d;
    if (readDefinition(index, d)) {
        d.flags = (d.flags & ~ColumnFlag::SortMask) |
                  (value == 1 ? ColumnFlag::SortAscending : value == 2 ? ColumnFlag::SortDescending : 0);
        m_owner->SetColumnSort(index, value);
        m_owner->SetColumnDefinition(index, d);
        invalidate();
    }
    m_owner->SetModified();
}

int16_t CColumn::sort() const
{
    int32_t index = -1;
    ColumnDefinition d;
    if (!readDefinition(index, d))
        return 0;
    return (d.flags & ColumnFlag::SortAscending) ? 1 : (d.flags & ColumnFlag::SortDescending) ? 2 : 0;
}

void CColumn::setControlStyle(int32_t value)
{
    m_s.controlStyle = value;
    int32_t index = -1;
    if (windowIndex(index)) {
        if (!m_owner->IsUserMode()) {
            recreate();
            invalidate();
            m_owner->SetModified();
            return;
        }
        // Editors opened from now on take the style from the column's definition.
        editDefinition([&](ColumnDefinition& d) { d.editorStyle = definition().editorStyle; });
        if (auto* editor = vllist::windowFromHandle(m_owner->GetColumnEditor(m_id))) {
            // The editor's button and lock messages, by editor kind.
            struct EditorMessages { Message button; uint32_t buttonHidden; Message lock; };
            static constexpr EditorMessages byType[ControlTypeCount] = {
                {0, 0, 0x00CF}, {0x1409, 0x40, 0x140A}, {0x140B, 0x40, 0x140C},
                {0x1411, 0x10, 0x1412}, {0x1408, 0x400, 0x1409}, {0, 0, 0}};
            const auto& m = byType[std::clamp<int16_t>(m_s.controlType, 0, ControlTypeCount - 1)];
            if (m.button)
                editor->sendMessage(m.button, 0, (uint32_t(value) & m.buttonHidden) ? 0 : 1);
            if (m_s.controlType == lstCtlEdit)
                editor->sendMessage(m.lock, WParam(uint32_t(value) & 0x800), 0);
            else if (m.lock)
                editor->sendMessage(m.lock, 0, (value & 0x20) ? 1 : 0);
        }
        invalidate();
    }
    m_owner->SetModified();
}

void CColumn::setCellColour(uint32_t ColumnSettings::*member, uint32_t value)
{
    m_s.*member = value;
    if (m_owner->IsCreated()) {
        sendCellColours();
        invalidate();
    }
    m_owner->SetModified();
}

void CColumn::setCaptionColour(uint32_t ColumnSettings::*member, uint32_t value)
{
    m_s.*member = value;
    int32_t index = -1;
    if (windowIndex(index)) {
        m_owner->SetCaptionColours(index, windowColour(m_s.captionBackColor, colours::CaptionBack),
                                   windowColour(m_s.captionForeColor, colours::CaptionFore));
        invalidate();
    }
    m_owner->SetModified();
}

int16_t CColumn::currentWidth() const
{
    return m_owner->IsCreated() ? int16_t(m_owner->GetColumnWidthNow(m_index - 1)) : 0;
}

void CColumn::setCurrentWidth(int16_t value)
{
    if (m_owner->IsCreated())
        m_owner->SetColumnWidthNow(m_index - 1, value);
}

int16_t CColumn::currentIndex() const
{
    return m_owner->IsCreated() ? int16_t(m_owner->GetColumnPosition(m_index - 1) + 1) : m_index;
}

void CColumn::setCurrentIndex(int16_t value)
{
    if (m_owner->IsCreated())
        m_owner->MoveColumnTo(m_index - 1, int16_t(value - 1));
}

// Only in the window, found by the column's id wherever the user or CurrentIndex
// moved it; not a change of the design, so the control is not marked.
bool CColumn::allowDrillDown() const
{
    int32_t index = -1;
    ColumnDefinition d;
    return readDefinition(index, d) && (d.flags & ColumnFlag::DrillDown) != 0;
}

void CColumn::setAllowDrillDown(bool value)
{
    int32_t index = -1;
    ColumnDefinition d;
    if (!readDefinition(index, d))
        return;
    d.flags = value ? d.flags | ColumnFlag::DrillDown : d.flags & ~ColumnFlag::DrillDown;
    m_owner->SetColumnDefinition(index, d);
}

// The outside window has no frame of its own, so its client rectangle is its window
// rectangle and each side converts as it is.
double CColumn::position(int side) const
{
    Rect r;
    if (!m_owner->IsCreated() || !m_owner->GetColumnRect(m_index - 1, r))
        return 0;
    const int32_t sides[4] = {r.top, r.bottom, r.left, r.right};
    return m_owner->ToContainerUnits(sides[side]);
}

void CColumn::showPopup()
{
    if (m_s.controlType == lstCtlCalculator || m_s.controlType == lstCtlDate || m_s.controlType == lstCtlPopup)
        m_owner->ShowColumnPopup(*this);
}

// ---- columns ----

const MemberTable<CColumns>& CColumns::members()
{
    static const auto item = [](CColumns& c, Args& a) {
        const auto column = c.at(c.findColumn(automation::optionalArg(a, 0)));
        if (!column)
            throwBadIndex(QStringLiteral("Columns"));
        return Variant(basic::ObjectRef(column));
    };
    static const auto t =
        MemberTable<CColumns>()
            .property(1, "Count", [](CColumns& c, Args&) { return Variant(c.count()); })
            .method(2, "Clear", [](CColumns& c, Args&) { c.clear(); return Variant(); })
            .method(3, "Add",
                    [](CColumns& c, Args& a) {
                        return Variant(basic::ObjectRef(c.add(automation::optionalArg(a, 0), automation::optionalArg(a, 1),
                                                              automation::optionalArg(a, 2), automation::optionalArg(a, 3))));
                    })
            .method(4, "Remove", [](CColumns& c, Args& a) { c.remove(automation::optionalArg(a, 0)); return Variant(); })
            .property(5, "Item", item)
            .property(automation::DispIdValue, "_Item", item)
            .method(automation::DispIdNewEnum, "_NewEnum", [](CColumns& c, Args&) {
                return Variant(basic::ObjectRef(std::make_shared<CEnumVariant<CColumn>>(c.shared_from_this(), c.items())));
            });
    return t;
}


CColumns::CColumns(std::shared_ptr<CListViewWnd> owner) : m_owner(std::move(owner)) {}


std::shared_ptr<CColumn> CColumns::at(int32_t position) const
{
    return position >= 0 && position < count() ? m_items[size_t(position)] : nullptr;
}

int32_t CColumns::findColumn(const Variant& index) const
{
    if (index.isString()) {
        for (size_t i = 0; i < m_items.size(); ++i)
            if (m_items[i]->settings().key == index.stringValue())
                return int32_t(i);
        return -1;
    }
    if (index.isObject()) {
        for (size_t i = 0; i < m_items.size(); ++i)
            if (m_items[i] == index.objectValue())
                return int32_t(i);
        return -1;
    }
    const auto number = optionalLong(index);
    return number && *number >= 1 && *number <= count() ? *number - 1 : -1;
}

std::shared_ptr<CColumn> CColumns::add(const Variant& index, const Variant& key, const Variant& caption,
                                       const Variant& width)
{
    m_owner->SetModified();
    const int32_t wanted = optionalLong(index).value_or(-1);
    const int32_t position = wanted < 0 || wanted > count() ? count() : std::max(0, wanted - 1);
    auto column = std::make_shared<CColumn>(m_owner);
    ColumnSettings s;
    s.key = optionalString(key).value_or(QString());
    s.caption = optionalString(caption).value_or(QStringLiteral("Column"));
    s.width = optionalInteger(width).value_or(int16_t(16));
    column->setSettings(s);
    m_items.insert(m_items.begin() + position, column);
    renumber();
    column->applyToWindow(position);
    return column;
}

void CColumns::remove(const Variant& index)
{
    const int32_t position = findColumn(index);
    if (position < 0)
        return;
    m_items.erase(m_items.begin() + position);
    renumber();
    if (m_owner->IsCreated())
        m_owner->DeleteColumn(position);
    m_owner->SetModified();
}

void CColumns::clear()
{
    while (!m_items.empty()) {
        m_items.erase(m_items.begin());
        renumber();
        if (m_owner->IsCreated())
            m_owner->DeleteColumn(0);
    }
}

void CColumns::applyAll()
{
    for (int32_t i = 0; i < count(); ++i)
        m_items[size_t(i)]->applyToWindow(i);
}

void CColumns::renumber()
{
    for (size_t i = 0; i < m_items.size(); ++i)
        m_items[i]->setIndex(int16_t(i + 1));
}

QByteArray CColumns::save() const
{
    std::vector<ColumnSettings> settings;
    for (const auto& c : m_items)
        settings.push_back(c->storedSettings());
    QString error;
    QByteArray block = writeColumnsBlock(settings, &error);
    if (block.isEmpty())
        throw basic::RuntimeError(SaveFailed, error, QStringLiteral("Columns"));
    return block;
}

void CColumns::load(const QByteArray& block)
{
    std::vector<ColumnSettings> settings;
    QString error;
    if (!readColumnsBlock(block, settings, error))
        throw basic::RuntimeError(basic::err::InvalidPropertyValue, error, QStringLiteral("Columns"));
    clear();
    if (settings.empty())
        settings.emplace_back();
    for (const auto& s : settings) {
        auto column = std::make_shared<CColumn>(m_owner);
        column->setSettings(s);
        m_items.push_back(column);
    }
    renumber();
    // Loaded before the window exists, they reach it at window creation; a control
    // that already has its window shows them at once.
    if (m_owner->IsCreated())
        applyAll();
}

} // namespace listgrid
