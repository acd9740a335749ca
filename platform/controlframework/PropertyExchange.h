#pragma once

#include "platform/controlframework/Font.h"
#include "platform/controlframework/PropertyBag.h"
#include "platform/forms/OleColor.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

// Property exchange: one routine that both loads and saves a control's properties
// through a property bag, each value with one default (read when the bag lacks it,
// not stored when the value equals it), and binary blocks for what a control keeps
// in its own format. The bag also carries the format version ("_Version"), which
// a loading control compares with its own.
//
//   void exchange(PropertyExchange& px) {
//       px.exchange(QStringLiteral("BackColor"), m_backColor, 0xFFFFFFu);
//       px.exchangeBinary(QStringLiteral("Columns"), m_columnBlock);
//   }
namespace controlframework {

class PropertyExchange
{
public:
    enum class Direction { Load, Save };

    // Loading reads the version the bag was saved with (0 when it has none);
    // saving writes `version`.
    PropertyExchange(PropertyBag& bag, Direction direction, uint32_t version);

    bool isLoading() const { return m_direction == Direction::Load; }
    // The version of what is being loaded, or the one being saved.
    uint32_t version() const { return m_version; }

    void exchange(const QString& name, bool& value, bool defaultValue);
    void exchange(const QString& name, int16_t& value, int16_t defaultValue);
    void exchange(const QString& name, int32_t& value, int32_t defaultValue);
    void exchange(const QString& name, forms::OleColor& value, forms::OleColor defaultValue);
    void exchange(const QString& name, QString& value, const QString& defaultValue);
    // A font, stored as a font object.
    void exchange(const QString& name, FontInfo& value, const FontInfo& defaultValue);
    // A binary block: loading leaves `data` as it was when the bag lacks the name.
    void exchangeBinary(const QString& name, QByteArray& data);

private:
    PropertyBag& m_bag;
    Direction m_direction;
    uint32_t m_version;
};

} // namespace controlframework
