#include "platform/controlframework/Font.h"

#include "platform/basic/Conversions.h"

#include <QtMath>

#include <algorithm>
#include <cmath>

namespace controlframework {

using automation::Args;
using basic::Variant;

double FontInfo::clampedSize(double points)
{
    if (std::isnan(points))
        return FontInfo().size;
    return std::clamp(points, MinSize, MaxSize);
}

QFont FontInfo::toQFont() const
{
    QFont font(name);
    font.setPixelSize(qMax(1, qRound(clampedSize(size) * 96.0 / 72.0)));
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikethrough);
    return font;
}

const automation::MemberTable<FontObject>& FontObject::table()
{
    static const auto t = automation::MemberTable<FontObject>()
        .property(0, "Name", [](FontObject& f, Args&) { return Variant(f.m_font.name); },
                  [](FontObject& f, Args&, const Variant& v) { f.m_font.name = basic::CStr(v); })
        .property(2, "Size", [](FontObject& f, Args&) { return Variant(f.m_font.size); },
                  [](FontObject& f, Args&, const Variant& v) { f.m_font.size = basic::CDbl(v); })
        .property(3, "Bold", [](FontObject& f, Args&) { return Variant(f.m_font.bold); },
                  [](FontObject& f, Args&, const Variant& v) { f.m_font.bold = basic::CBool(v); })
        .property(4, "Italic", [](FontObject& f, Args&) { return Variant(f.m_font.italic); },
                  [](FontObject& f, Args&, const Variant& v) { f.m_font.italic = basic::CBool(v); })
        .property(5, "Underline", [](FontObject& f, Args&) { return Variant(f.m_font.underline); },
                  [](FontObject& f, Args&, const Variant& v) { f.m_font.underline = basic::CBool(v); })
        .property(6, "Strikethrough", [](FontObject& f, Args&) { return Variant(f.m_font.strikethrough); },
                  [](FontObject& f, Args&, const Variant& v) { f.m_font.strikethrough = basic::CBool(v); })
        .property(7, "Weight", [](FontObject& f, Args&) { return Variant(int16_t(f.m_font.bold ? 700 : 400)); },
                  [](FontObject& f, Args&, const Variant& v) { f.m_font.bold = basic::CInt(v) >= 550; })
        .property(8, "Charset", [](FontObject& f, Args&) { return Variant(f.m_font.charset); },
                  [](FontObject& f, Args&, const Variant& v) { f.m_font.charset = basic::CInt(v); });
    return t;
}

FontObject::FontObject(Reader read, Writer write) : m_read(std::move(read)), m_write(std::move(write))
{
    pull();
}

void FontObject::pull() const
{
    if (m_read)
        if (const auto font = m_read())
            m_font = *font;
}

const FontInfo& FontObject::info() const
{
    pull();
    return m_font;
}

automation::DispId FontObject::idOfName(const QString& name) const
{
    return table().idOfName(name);
}

Variant FontObject::invoke(automation::DispId id, automation::Invoke kind, Args& args, const Variant& value)
{
    pull();
    Variant result = table().invoke(*this, id, kind, args, value);
    if (m_write && (kind == automation::Invoke::PropertyPut || kind == automation::Invoke::PropertyPutRef))
        m_write(m_font);
    return result;
}

Variant makeFont(const FontInfo& font)
{
    return Variant(automation::ObjectRef(std::make_shared<FontObject>(font)));
}

std::optional<FontInfo> fontOf(const Variant& value)
{
    if (!value.isObject())
        return std::nullopt;
    if (const auto* font = dynamic_cast<const FontObject*>(value.objectValue().get()))
        return font->info();
    return std::nullopt;
}

} // namespace controlframework
