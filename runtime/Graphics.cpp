#include "runtime/Graphics.h"

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

}  // namespace

TColor PixelToColor(std::uint32_t pixel)
{
    return (pixel >> 16 & 0xFF) | (pixel & 0xFF00) | (pixel & 0xFF) << 16;
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
    if (TColor rgb; SystemColorToRGB(index, rgb))
        return rgb;
    return index < std::size(kClassicSystemColors) ? kClassicSystemColors[index] : clBlack;
}

std::uint32_t ColorToPixel(TColor color)
{
    const TColor rgb = ColorToRGB(color);
    return 0xFF000000u | (rgb & 0xFF) << 16 | (rgb & 0xFF00) | (rgb >> 16 & 0xFF);
}
