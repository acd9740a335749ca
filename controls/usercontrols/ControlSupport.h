#pragma once

#include "platform/automation/Object.h"
#include "platform/controlframework/Control.h"
#include "platform/controlframework/PropertyBag.h"

#include <QPoint>
#include <QString>

#include <cstdint>
#include <functional>
#include <span>

// What several controls of the library share: typed reads of the property bag,
// the options' stored form, argument checks and the hand cursor's hot spots.
namespace usercontrols {

// ReadProperty with a default, converted as the control's field takes it.
forms::OleColor readColor(const controlframework::PropertyBag& bag, const QString& name, forms::OleColor def);
QString readText(const controlframework::PropertyBag& bag, const QString& name, const QString& def);
bool readBool(const controlframework::PropertyBag& bag, const QString& name, bool def);
int32_t readLong(const controlframework::PropertyBag& bag, const QString& name, int32_t def);
int16_t readInteger(const controlframework::PropertyBag& bag, const QString& name, int16_t def);
// The font stored under `name`, else `def`; 13 for a stored value that is no font.
controlframework::FontInfo readFont(const controlframework::PropertyBag& bag, const QString& name,
                                    const controlframework::FontInfo& def);

// The options' stored form: "Option1Caption", "Option1ID", "Option2Caption", ...
// (read and write defaults "Option" followed by the number, and the number).
template <class Item>
void readItems(const controlframework::PropertyBag& bag, std::span<Item> items)
{
    for (size_t i = 0; i < items.size(); ++i) {
        const QString n = QStringLiteral("Option") + QString::number(i + 1);
        items[i].sCaption = readText(bag, n + QStringLiteral("Caption"), n);
        items[i].lID = readLong(bag, n + QStringLiteral("ID"), int32_t(i + 1));
    }
}
template <class Item>
void writeItems(controlframework::PropertyBag& bag, std::span<const Item> items)
{
    for (size_t i = 0; i < items.size(); ++i) {
        const QString n = QStringLiteral("Option") + QString::number(i + 1);
        bag.write(n + QStringLiteral("Caption"), items[i].sCaption, n);
        bag.write(n + QStringLiteral("ID"), items[i].lID, int32_t(i + 1));
    }
}

// Raises 9 (subscript out of range) unless 1 <= number <= count.
void checkOptionNumber(int32_t number, int32_t count);

// SetOption's record part: option `option` (1-based, 9 outside the items, and then
// nothing changes) takes the caption and the ID.
template <class Item>
void storeOption(std::span<Item> items, int32_t option, const QString& caption, int32_t id)
{
    checkOptionNumber(option, int32_t(items.size()));
    Item& item = items[size_t(option - 1)];
    item.sCaption = caption;
    item.lID = id;
}

// Argument `index` of a method call, written back when the member takes it by
// reference; 450 when it is missing.
basic::Variant& argument(automation::Args& args, size_t index);

// The hand cursor's hot spots: the finger tip of the 32-by-32 picture.
inline constexpr QPoint HandHotSpot{5, 1};
inline constexpr QPoint LinkLabelHotSpot{12, 9};

// The font object of `label`, one of `control`'s elements, as the control's Font
// property hands it out: reads give the label's font as it is now, and each change
// made through it goes to `apply`, which gives the label that font and lays the
// control out again. Once the control is released the object keeps its last font.
basic::Variant labelFontObject(controlframework::Control& control, const controlframework::Label& label,
                               std::function<void(const controlframework::FontInfo&)> apply);
// The font a Font put assigns; 13 for a value that is no font object.
controlframework::FontInfo assignedFont(const basic::Variant& value);

// Raises an event without arguments.
void fireEvent(controlframework::Control& control, automation::DispId id, const QString& name);

} // namespace usercontrols
