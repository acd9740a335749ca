#pragma once

#include <QColor>
#include <QString>

#include <cstdint>

// OLE colours as the stored designs and the controls keep them: 0x00BBGGRR for a
// plain colour, 0x800000nn for system colour nn (15 = button face, 5 = window...),
// which follows the application's palette.
namespace forms {

using OleColor = uint32_t;

inline constexpr OleColor SystemColorFlag = 0x80000000u;

// The system colours by their index (the low byte of a system OLE colour).
enum class SystemColor : uint8_t {
    ScrollBar = 0, Background = 1, ActiveCaption = 2, InactiveCaption = 3, Menu = 4, Window = 5,
    WindowFrame = 6, MenuText = 7, WindowText = 8, CaptionText = 9, ActiveBorder = 10,
    InactiveBorder = 11, AppWorkspace = 12, Highlight = 13, HighlightText = 14, ButtonFace = 15,
    ButtonShadow = 16, GrayText = 17, ButtonText = 18, InactiveCaptionText = 19,
    ButtonHighlight = 20, DarkShadow3D = 21, Light3D = 22, InfoText = 23, InfoBackground = 24,
};

constexpr bool isSystemColor(OleColor color) { return (color & 0xFF000000u) == SystemColorFlag; }
constexpr OleColor systemOleColor(SystemColor index) { return SystemColorFlag | static_cast<uint8_t>(index); }
constexpr OleColor rgbOleColor(int red, int green, int blue)
{
    return static_cast<OleColor>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}

// The colour to draw with: a plain colour from its three bytes (the high byte of a
// non-system colour is ignored), a system colour from the application's palette;
// an unknown system index gives the button face.
QColor toQColor(OleColor color);
// The plain OLE colour of a drawn colour (never a system colour).
OleColor fromQColor(const QColor& color);

// Parses the forms' notation "&H8000000F&" or "&H00800000" (also "0x..." and
// decimal); false for anything else, leaving the colour as it was.
bool parseOleColor(const QString& text, OleColor& color);

} // namespace forms
