#pragma once

#include "controls/listgrid/ContainerHelpers.h"

#include "platform/automation/MemberTable.h"
#include "platform/basic/RuntimeError.h"

#include <QStringList>

#include <algorithm>

#include <functional>
#include <map>
#include <memory>
#include <vector>

// An automation object made of named properties, which records every put; methods
// are answered by `onCall`. A name it does not hold raises 438, as a late-bound
// caller sees a missing member.
class PropertyObject : public automation::Object
{
public:
    QString className() const override { return QStringLiteral("PropertyObject"); }
    automation::DispId idOfName(const QString& name) const override
    {
        for (qsizetype i = 0; i < names.size(); ++i)
            if (names[i].compare(name, Qt::CaseInsensitive) == 0)
                return automation::DispId(i + 1);
        automation::throwUnknownName(name);
    }
    basic::Variant invoke(automation::DispId id, automation::Invoke kind, automation::Args& args,
                          const basic::Variant& value) override
    {
        if (id < 1 || id > automation::DispId(names.size()))
            automation::throwMemberNotFound(id);
        const QString name = names.at(id - 1);
        if (kind == automation::Invoke::PropertyPut || kind == automation::Invoke::PropertyPutRef) {
            puts.push_back({name, value});
            values[name] = value;
            return {};
        }
        if (onCall) {
            basic::Variant result;
            if (onCall(name, args, result))
                return result;
        }
        return values[name];
    }

    // A property with its value.
    PropertyObject& set(const QString& name, const basic::Variant& value)
    {
        if (!names.contains(name))
            names << name;
        values[name] = value;
        return *this;
    }
    // A member answered only through onCall.
    PropertyObject& member(const QString& name)
    {
        if (!names.contains(name))
            names << name;
        return *this;
    }
    QStringList putNames() const
    {
        QStringList out;
        for (const auto& p : puts)
            out << p.first;
        return out;
    }

    QStringList names;
    std::map<QString, basic::Variant> values;
    std::vector<std::pair<QString, basic::Variant>> puts;
    std::function<bool(const QString& name, automation::Args& args, basic::Variant& result)> onCall;
};

// A column as the Columns page sees it, with every property a column has.
inline std::shared_ptr<PropertyObject> fakeColumn(const QString& caption)
{
    auto c = std::make_shared<PropertyObject>();
    c->set(QStringLiteral("Key"), QString()).set(QStringLiteral("Caption"), caption)
        .set(QStringLiteral("CaptionAlignment"), int16_t(0)).set(QStringLiteral("ColumnAlignment"), int16_t(0))
        .set(QStringLiteral("Visible"), true).set(QStringLiteral("ControlType"), int16_t(0))
        .set(QStringLiteral("Enabled"), true).set(QStringLiteral("AllowMove"), false)
        .set(QStringLiteral("AllowSelect"), false).set(QStringLiteral("AllowSize"), false)
        .set(QStringLiteral("AutoSize"), false).set(QStringLiteral("Fixed"), false)
        .set(QStringLiteral("DataType"), int16_t(0)).set(QStringLiteral("DataField"), QString())
        .set(QStringLiteral("MaxLength"), int16_t(32)).set(QStringLiteral("DecimalPlaces"), int16_t(2))
        .set(QStringLiteral("Width"), int16_t(16)).set(QStringLiteral("Sort"), int16_t(0))
        .set(QStringLiteral("ControlStyle"), int32_t(0));
    return c;
}

// A control with a Columns collection of fake columns; Add and Remove are recorded.
struct FakeControl
{
    FakeControl()
    {
        columns->member(QStringLiteral("Count")).member(QStringLiteral("Item")).member(QStringLiteral("Add"))
            .member(QStringLiteral("Remove"));
        columns->onCall = [this](const QString& name, automation::Args& args, basic::Variant& result) {
            calls.push_back({name, args});
            if (name == QLatin1String("Count")) {
                result = basic::Variant(int32_t(items.size()));
                return true;
            }
            if (name == QLatin1String("Item")) {
                const int32_t i = args.at(0).intValue();
                if (i < 1 || i > int32_t(items.size()))
                    throw basic::RuntimeError(int32_t(0x8002000Bu), QStringLiteral("Invalid index specified for item retrieval"));
                result = basic::Variant(basic::ObjectRef(items[size_t(i - 1)]));
                return true;
            }
            if (name == QLatin1String("Add")) {
                const int32_t i = args.at(0).intValue();
                auto c = fakeColumn(args.at(2).stringValue());
                items.insert(items.begin() + std::clamp<int32_t>(i - 1, 0, int32_t(items.size())), c);
                result = basic::Variant(basic::ObjectRef(c));
                return true;
            }
            if (name == QLatin1String("Remove")) {
                const int32_t i = args.at(0).intValue();
                if (i >= 1 && i <= int32_t(items.size()))
                    items.erase(items.begin() + (i - 1));
                return true;
            }
            return false;
        };
        control->set(QStringLiteral("Columns"), basic::Variant(basic::ObjectRef(columns)))
            .set(QStringLiteral("DataSource"), QStringLiteral("None"));
    }

    std::shared_ptr<PropertyObject> control = std::make_shared<PropertyObject>();
    std::shared_ptr<PropertyObject> columns = std::make_shared<PropertyObject>();
    std::vector<std::shared_ptr<PropertyObject>> items;
    std::vector<std::pair<QString, automation::Args>> calls;
};
