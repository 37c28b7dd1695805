// The face settings the gauge's tests start from.
#pragma once

#include "gauge/GaugeFace.h"

// A face of `kind` at `percent`: blue on white on yellow, no text, in the
// font the platform's tests pin (UMBRASCOPE_TEST_TEXT_FONT).
inline TGaugeLook Look(TGaugeKind kind, int percent)
{
    TGaugeLook look;
    look.Font.Name = UMBRASCOPE_TEST_TEXT_FONT;
    look.Kind = kind;
    look.Percent = percent;
    look.ShowText = false;
    look.ForeColor = clBlue;
    look.Color = clYellow;
    return look;
}
