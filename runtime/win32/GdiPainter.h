// The painter on Windows: GDI on a DIB section selected into a memory DC, or
// on a DC someone else keeps (a window's, inside its paint message).
#pragma once

// Before the system's headers: their TA_ and other macros name the same
// values as the painter's constants, which must be declared first.
#include "runtime/Painter.h"

#include <windows.h>
// The painter's TextOut, not the system's TextOutW.
#undef TextOut

#include <memory>

// A 32-bit top-down DIB section in a memory DC of its own, `ratio` device
// pixels to a pixel of the drawing: its painter scales what it draws by the
// DC's world transform, so that text and curves on a dense screen are drawn
// at the screen's resolution rather than enlarged.
class TGdiBitmap final : public TBitmap {
public:
    // Check Handle() for success.
    TGdiBitmap(int width, int height, double ratio = 1);
    ~TGdiBitmap() override;
    TGdiBitmap(const TGdiBitmap&) = delete;
    TGdiBitmap& operator=(const TGdiBitmap&) = delete;

    HBITMAP Handle() const { return FBitmap; }
    HDC DC() const { return FDC; }

    int DeviceWidth() const { return FWidth; }
    int DeviceHeight() const { return FHeight; }
    double LogicalWidth() const override { return FWidth / FRatio; }
    double LogicalHeight() const override { return FHeight / FRatio; }
    double DevicePixelRatio() const override { return FRatio; }
    TPixelBuffer Buffer() override;
    std::unique_ptr<TPainter> CreatePainter() override;

private:
    int FWidth;
    int FHeight;
    double FRatio;
    HDC FDC = nullptr;
    HBITMAP FBitmap = nullptr;
    HGDIOBJ FOldBitmap = nullptr;
    std::uint32_t* FPixels = nullptr;
};

// The GDI font for `font`, turned `angleTenths` counter-clockwise (tenths
// of a degree); null when GDI cannot make one. The caller deletes it.
HFONT CreateGdiFont(const TPainterFont& font, int angleTenths = 0);

// A painter on a DC that stays someone else's, covering `bounds`. It leaves
// the DC's objects, modes and clip as it found them when it goes.
std::unique_ptr<TPainter> CreateGdiPainter(HDC dc, const TRect& bounds);
