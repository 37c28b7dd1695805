// The runtime pieces the components lean on: message formatting, the list
// index error and colour resolution.
#include "runtime/Graphics.h"
#include "runtime/SysUtils.h"

#include <QApplication>
#include <QPalette>

#include <gtest/gtest.h>

namespace {

TEST(Runtime, FormatFillsTheFixedMessages)
{
    EXPECT_EQ(Format("Value must be between %d and %d", -2147483647, 99), "Value must be between -2147483647 and 99");
    EXPECT_EQ(Format("%s", ""), "");
    EXPECT_EQ(std::string(EListError(-1).what()), "List index out of bounds (-1)");
    const std::string longText(1000, 'x');
    EXPECT_EQ(Format("%s!", longText.c_str()), longText + "!");
}

TEST(Runtime, ColoursResolveToRgb)
{
    EXPECT_EQ(ColorToRGB(16744448), 16744448u);
    EXPECT_EQ(ColorToPixel(16744448), qRgb(0, 128, 255));
    EXPECT_EQ(PixelToColor(qRgb(168, 211, 255)), 16765864u);
    EXPECT_EQ(ColorToRGB(clWindow), PixelToColor(QApplication::palette().color(QPalette::Active, QPalette::Base).rgb()));
    EXPECT_EQ(ColorToRGB(clBtnFace), PixelToColor(QApplication::palette().color(QPalette::Active, QPalette::Button).rgb()));
    EXPECT_EQ(ColorToRGB(0xFF000003), 0x808080u) << "a system colour Qt has no role for takes the classic value";
}

}  // namespace
