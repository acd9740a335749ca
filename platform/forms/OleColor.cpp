#include "platform/forms/OleColor.h"

#include <QGuiApplication>
#include <QPalette>
#include <QString>

namespace forms {

namespace {

QPalette currentPalette()
{
    // Without a GUI application (core tests) the default palette still answers.
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::palette()
                                                                       : QPalette();
}

QColor systemColor(uint8_t index)
{
    const QPalette p = currentPalette();
    switch (static_cast<SystemColor>(index)) {
    case SystemColor::ScrollBar: return p.color(QPalette::Button);
    case SystemColor::Background: return p.color(QPalette::Window);
    case SystemColor::ActiveCaption: return p.color(QPalette::Active, QPalette::Highlight);
    case SystemColor::InactiveCaption: return p.color(QPalette::Inactive, QPalette::Highlight);
    case SystemColor::Menu: return p.color(QPalette::Window);
    case SystemColor::Window: return p.color(QPalette::Base);
    case SystemColor::WindowFrame: return p.color(QPalette::Shadow);
    case SystemColor::MenuText: return p.color(QPalette::WindowText);
    case SystemColor::WindowText: return p.color(QPalette::Text);
    case SystemColor::CaptionText: return p.color(QPalette::Active, QPalette::HighlightedText);
    case SystemColor::ActiveBorder: return p.color(QPalette::Window);
    case SystemColor::InactiveBorder: return p.color(QPalette::Window);
    case SystemColor::AppWorkspace: return p.color(QPalette::Dark);
    case SystemColor::Highlight: return p.color(QPalette::Highlight);
    case SystemColor::HighlightText: return p.color(QPalette::HighlightedText);
    case SystemColor::ButtonFace: return p.color(QPalette::Button);
    case SystemColor::ButtonShadow: return p.color(QPalette::Mid);
    case SystemColor::GrayText: return p.color(QPalette::Disabled, QPalette::Text);
    case SystemColor::ButtonText: return p.color(QPalette::ButtonText);
    case SystemColor::InactiveCaptionText: return p.color(QPalette::Inactive, QPalette::HighlightedText);
    case SystemColor::ButtonHighlight: return p.color(QPalette::Light);
    case SystemColor::DarkShadow3D: return p.color(QPalette::Shadow);
    case SystemColor::Light3D: return p.color(QPalette::Midlight);
    case SystemColor::InfoText: return p.color(QPalette::ToolTipText);
    case SystemColor::InfoBackground: return p.color(QPalette::ToolTipBase);
    }
    return p.color(QPalette::Button);
}

} // namespace

QColor toQColor(OleColor color)
{
    if (isSystemColor(color))
        return systemColor(static_cast<uint8_t>(color & 0xFFu));
    return QColor(static_cast<int>(color & 0xFFu), static_cast<int>((color >> 8) & 0xFFu),
                  static_cast<int>((color >> 16) & 0xFFu));
}

OleColor fromQColor(const QColor& color)
{
    return rgbOleColor(color.red(), color.green(), color.blue());
}

bool parseOleColor(const QString& text, OleColor& color)
{
    QString t = text.trimmed();
    if (t.endsWith(QLatin1Char('&')))
        t.chop(1);
    bool ok = false;
    qulonglong value = 0;
    if (t.startsWith(QLatin1String("&H"), Qt::CaseInsensitive))
        value = t.mid(2).toULongLong(&ok, 16);
    else if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = t.mid(2).toULongLong(&ok, 16);
    else
        value = t.toULongLong(&ok, 10);
    if (!ok || value > 0xFFFFFFFFull)
        return false;
    color = static_cast<OleColor>(value);
    return true;
}

} // namespace forms
