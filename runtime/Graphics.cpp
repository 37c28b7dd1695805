#include "runtime/Graphics.h"

#include <QGuiApplication>
#include <QPalette>

#include <iterator>

namespace {

constexpr TColor kSystemFlag = 0xFF000000;

// The classic desktop scheme, for system colours without a GUI application.
constexpr TColor kClassicSystemColors[] = {
    0xC8D0D4, 0xA56E3A, 0x6A240A, 0x808080, 0xC8D0D4, 0xFFFFFF, 0x000000, 0x000000,
    0x000000, 0xFFFFFF, 0xC8D0D4, 0xC8D0D4, 0x808080, 0x6A240A, 0xFFFFFF, 0xC8D0D4,
    0x808080, 0x808080, 0x000000, 0xC8D0D4, 0xFFFFFF, 0x404040, 0xC8D0D4, 0x000000,
    0xE1FFFF,
};

// The palette role standing for a system colour, where Qt has one.
bool PaletteRole(TColor index, QPalette::ColorGroup& group, QPalette::ColorRole& role)
{
    group = QPalette::Active;
    switch (index) {
    case 5: role = QPalette::Base; return true;            // window
    case 8: role = QPalette::Text; return true;            // window text
    case 13: role = QPalette::Highlight; return true;      // highlight
    case 14: role = QPalette::HighlightedText; return true;
    case 15: role = QPalette::Button; return true;         // button face
    case 16: role = QPalette::Dark; return true;           // button shadow
    case 17: group = QPalette::Disabled; role = QPalette::Text; return true;  // grey text
    case 18: role = QPalette::ButtonText; return true;
    case 20: role = QPalette::Light; return true;          // button highlight
    default: return false;
    }
}

}  // namespace

TColor FromQRgb(QRgb rgb)
{
    return static_cast<TColor>(qRed(rgb)) | static_cast<TColor>(qGreen(rgb)) << 8 |
           static_cast<TColor>(qBlue(rgb)) << 16;
}

TColor ColorToRGB(TColor color)
{
    if (color == clDefault)
        return clBlack;
    if (color == clNone)
        return clWhite;
    if ((color & kSystemFlag) != kSystemFlag)
        return color & 0x00FFFFFF;
    const TColor index = color & 0xFF;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr && PaletteRole(index, group, role))
        return FromQRgb(QGuiApplication::palette().color(group, role).rgb());
    return index < std::size(kClassicSystemColors) ? kClassicSystemColors[index] : clBlack;
}

QRgb ToQRgb(TColor color)
{
    const TColor rgb = ColorToRGB(color);
    return qRgb(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}
