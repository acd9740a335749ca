#pragma once

#include "platform/basic/Variant.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

// The property bag a host keeps a control's persisted properties in.
//
// Names match without regard to case ("caption" finds "Caption"). A value is written
// with a default under which nothing is stored; reading a missing name gives the
// reader's default, which may differ from the writer's. Values are texts, numbers,
// Booleans, Null, fonts (FontObject) and binary blocks (for property exchange).
//
// The stored form is a small JSON object a host keeps in a file, names in the order
// they were written:
//   {"Caption": "Batch Upload History", "TitleColor": 8388608, "LargeFont": true,
//    "Font": {"font": {"name": "Tahoma", "size": 8, "bold": true, ...}},
//    "Columns": {"binary": "<base64>"}}
namespace controlframework {

class PropertyBag
{
public:
    // ReadProperty: the stored value, or `defaultValue` when the bag lacks the name.
    basic::Variant read(const QString& name, const basic::Variant& defaultValue = {}) const;
    bool contains(const QString& name) const;

    // WriteProperty without a default: always stored.
    void write(const QString& name, const basic::Variant& value);
    // WriteProperty with a default: a value equal to `defaultValue` is not stored
    // (and removes what the bag held under that name).
    void write(const QString& name, const basic::Variant& value, const basic::Variant& defaultValue);

    // Binary blocks (property exchange of the list and grid controls).
    std::optional<QByteArray> readBinary(const QString& name) const;
    void writeBinary(const QString& name, const QByteArray& data);

    void remove(const QString& name);
    bool isEmpty() const { return m_entries.empty(); }
    // The names stored, in the order they were first written.
    QStringList names() const;

    // The stored form (see above), and back. fromText gives nullopt and the reason
    // when the text is not such an object; an unknown value kind is an error too,
    // so that nothing is silently dropped.
    QString toText() const;
    static std::optional<PropertyBag> fromText(const QString& text, QString* error = nullptr);

    // Equal under the rule WriteProperty uses: texts exactly, numbers and Booleans by
    // value, fonts by their description.
    static bool sameValue(const basic::Variant& a, const basic::Variant& b);

private:
    struct Entry
    {
        QString name;
        basic::Variant value;
        std::optional<QByteArray> binary;
    };
    const Entry* find(const QString& name) const;
    Entry& slot(const QString& name);

    std::vector<Entry> m_entries;
};

} // namespace controlframework
