#pragma once

#include "platform/automation/MemberTable.h"
#include "platform/automation/Object.h"

#include <QFont>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

// Fonts as the controls keep, persist and hand out: a plain value, and the standard
// font object (Name, Size, Bold, ...) through which hosts and controls reach it.
namespace controlframework {

struct FontInfo
{
    QString name = QStringLiteral("MS Sans Serif");
    double size = 8.25; // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    int16_t charset = 0;

    friend bool operator==(const FontInfo&, const FontInfo&) = default;

    // Sizes outside these points (a hand-edited or damaged design) are taken as the
    // nearest of them; a size that is no number at all as the default.
    static constexpr double MinSize = 1;
    static constexpr double MaxSize = 2048;
    static double clampedSize(double points);

    // The Qt font to draw with. Sizes are fixed at 96 dots per inch, as the twips of
    // the controls are, so a layout does not depend on the screen.
    QFont toQFont() const;
};

// The standard font object: Name (0), Size (2), Bold (3), Italic (4), Underline (5),
// Strikethrough (6), Weight (7), Charset (8).
class FontObject : public automation::Object
{
public:
    // Where a bound font object reads its font from (nullopt: the owner is gone, the
    // object keeps what it had) and where each change to it goes.
    using Reader = std::function<std::optional<FontInfo>()>;
    using Writer = std::function<void(const FontInfo&)>;

    explicit FontObject(FontInfo font = {}) : m_font(std::move(font)) {}
    // The font of something else (a label's): every read gives that font as it is
    // now, every property put hands the changed font to `write`.
    FontObject(Reader read, Writer write);

    const FontInfo& info() const;
    void setInfo(const FontInfo& font) { m_font = font; }

    QString className() const override { return QStringLiteral("Font"); }
    automation::DispId idOfName(const QString& name) const override;
    basic::Variant invoke(automation::DispId id, automation::Invoke kind, automation::Args& args,
                          const basic::Variant& value) override;

private:
    static const automation::MemberTable<FontObject>& table();
    void pull() const;

    mutable FontInfo m_font;
    Reader m_read;
    Writer m_write;
};

// A new font object holding `font`.
basic::Variant makeFont(const FontInfo& font);
// The font a Variant holds (a font object), or nullopt for anything else.
std::optional<FontInfo> fontOf(const basic::Variant& value);

} // namespace controlframework
