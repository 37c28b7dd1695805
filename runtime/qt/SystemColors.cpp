// System colours on Qt: the application's palette, where it has a role for
// the colour.
#include "runtime/Graphics.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

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

bool SystemColorToRGB(TColor index, TColor& rgb)
{
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr || !PaletteRole(index, group, role))
        return false;
    rgb = PixelToColor(QGuiApplication::palette().color(group, role).rgb());
    return true;
}
