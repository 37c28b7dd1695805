// Tests that draw or measure text see only the fonts of TestFonts.conf, so
// their results do not depend on the fonts installed on the machine.
#pragma once

#include <QByteArray>
#include <QProcessEnvironment>

inline constexpr char kTestFontConfig[] = UMBRASCOPE_TEST_FONTCONFIG;

// For this process: call before the first font is loaded (before the
// application object exists).
inline void PinTestFonts()
{
    qputenv("FONTCONFIG_FILE", QByteArray(kTestFontConfig));
}

// For a program the test starts.
inline void PinTestFonts(QProcessEnvironment& environment)
{
    environment.insert(QStringLiteral("FONTCONFIG_FILE"), QString::fromUtf8(kTestFontConfig));
}
