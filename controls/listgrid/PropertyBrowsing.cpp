#include "controls/listgrid/PropertyBrowsing.h"

#include "controls/listgrid/ListGridControl.h"
#include "controls/listgrid/Registration.h"

#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"
#include "platform/controlframework/StockPages.h"

#include <map>
#include <span>

namespace listgrid {

QString resourceString(int id)
{
    static const std::map<int, const char*> table{
        {200, "General"},          {201, "General"},
        {202, "0 - List"},         {203, "1 - Report"},
        {204, "2 - Icon"},         {205, "3 - Small Icon"},
        {206, "0 - Flat"},         {207, "1 - 3D"},
        {208, "Columns"},          {209, "General"},
        {210, "Advanced"},         {211, "Data"},
        {212, "0 - Single"},       {213, "1 - Multi Select"},
        {214, "2 - Multi Select Order"}, {215, "None"},
        {216, "0 - None"},         {217, "1 - Fixed Single"},
        {218, "Control"},          {219, "Paged Data"},
    };
    const auto it = table.find(id);
    return it == table.end() ? QString() : QLatin1String(it->second);
}

namespace {

// A property whose values 0..last are shown as the strings from `first` on.
struct EnumRow
{
    automation::DispId id;
    int16_t last;
    int first;
};

constexpr EnumRow listRows[] = {
    {1, 3, strings::FirstListStyle},
    {-520, 1, strings::FirstAppearance},
    {-504, 1, strings::FirstBorderStyle},
    {2, 2, strings::FirstSelectStyle},
};
constexpr EnumRow gridRows[] = {
    {-520, 1, strings::FirstAppearance},
    {-504, 1, strings::FirstBorderStyle},
};

const EnumRow* enumRow(bool grid, automation::DispId id)
{
    for (const EnumRow& row : grid ? std::span<const EnumRow>(gridRows) : std::span<const EnumRow>(listRows))
        if (row.id == id)
            return &row;
    return nullptr;
}

// The properties that offer names of the form's controls.
enum class Names { No, ImageLists, DataSources };

Names namesOf(bool grid, automation::DispId id)
{
    if (grid)
        return id == 14 ? Names::DataSources : Names::No;
    if (id == 8 || id == 9)
        return Names::ImageLists;
    return id == 18 ? Names::DataSources : Names::No;
}

// The names such a property offers now.
QStringList offeredNames(Names names, const ClientSite* site)
{
    return names == Names::ImageLists ? imageListNames(site) : dataSourceNames(site);
}

} // namespace

QStringList ListGridControl::propertyPageIds() const
{
    // The framework's stock font and colour pages follow the library's own.
    return {QLatin1String(m_grid ? GridPageClassId : ListPageClassId), QLatin1String(ColumnsPageClassId),
            QLatin1String(controlframework::StockFontPageClassId),
            QLatin1String(controlframework::StockColourPageClassId)};
}

QStringList ListGridControl::colourProperties() const
{
    return {QStringLiteral("AlternateBackColor"), QStringLiteral("AlternateForeColor"),
            QStringLiteral("AlternateHighlightedBackColor"), QStringLiteral("AlternateHighlightedForeColor")};
}

bool ListGridControl::displayString(automation::DispId id, QString& text)
{
    if (const EnumRow* row = enumRow(m_grid, id)) {
        automation::Args none;
        const int16_t value = basic::CInt(invoke(id, automation::Invoke::PropertyGet, none));
        text = value >= 0 && value <= row->last ? resourceString(row->first + value) : QString::number(value);
        return true;
    }
    if (namesOf(m_grid, id) != Names::No) {
        automation::Args none;
        text = basic::CStr(invoke(id, automation::Invoke::PropertyGet, none));
        return true;
    }
    return false;
}

bool ListGridControl::predefinedStrings(automation::DispId id, QStringList& strings, std::vector<uint32_t>& cookies)
{
    strings.clear();
    cookies.clear();
    if (const EnumRow* row = enumRow(m_grid, id)) {
        for (int16_t v = 0; v <= row->last; ++v) {
            strings << resourceString(row->first + v);
            cookies.push_back(uint32_t(v));
        }
        return true;
    }
    const Names names = namesOf(m_grid, id);
    if (names == Names::No)
        return false;
    strings = offeredNames(names, clientSite());
    for (qsizetype i = 0; i < strings.size(); ++i)
        cookies.push_back(uint32_t(i));
    return true;
}

bool ListGridControl::predefinedValue(automation::DispId id, uint32_t cookie, basic::Variant& value)
{
    if (const EnumRow* row = enumRow(m_grid, id)) {
        if (cookie > uint32_t(row->last))
            return false;
        value = basic::Variant(int16_t(cookie));
        return true;
    }
    const Names names = namesOf(m_grid, id);
    if (names == Names::No)
        return false;
    const QStringList offered = offeredNames(names, clientSite());
    if (cookie >= uint32_t(offered.size()))
        return false;
    value = basic::Variant(offered.at(qsizetype(cookie)));
    return true;
}

} // namespace listgrid
