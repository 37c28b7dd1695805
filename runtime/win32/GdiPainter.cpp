// The painter on GDI. The drawing calls are the system's own, so its pixel
// rules hold as they are: a filled rectangle leaves out its right and bottom
// edges, LineTo leaves out its end point, cosmetic styled pens keep their
// pixel runs, and the raster operations combine pixel by pixel.
#include "runtime/win32/GdiPainter.h"

#include "runtime/win32/WideText.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

int Rop2For(TPenMode mode)
{
    switch (mode) {
    case pmBlack: return R2_BLACK;
    case pmWhite: return R2_WHITE;
    case pmNop: return R2_NOP;
    case pmNot: return R2_NOT;
    case pmCopy: return R2_COPYPEN;
    case pmNotCopy: return R2_NOTCOPYPEN;
    case pmMergePenNot: return R2_MERGEPENNOT;
    case pmMaskPenNot: return R2_MASKPENNOT;
    case pmMergeNotPen: return R2_MERGENOTPEN;
    case pmMaskNotPen: return R2_MASKNOTPEN;
    case pmMerge: return R2_MERGEPEN;
    case pmNotMerge: return R2_NOTMERGEPEN;
    case pmMask: return R2_MASKPEN;
    case pmNotMask: return R2_NOTMASKPEN;
    case pmXor: return R2_XORPEN;
    case pmNotXor: return R2_NOTXORPEN;
    }
    return R2_COPYPEN;
}

DWORD PenStyleFor(TPenStyle style)
{
    switch (style) {
    case psDash: return PS_DASH;
    case psDot: return PS_DOT;
    case psDashDot: return PS_DASHDOT;
    case psDashDotDot: return PS_DASHDOTDOT;
    case psClear: return PS_NULL;
    case psInsideFrame: return PS_INSIDEFRAME;
    case psAlternate: return PS_ALTERNATE;
    default: return PS_SOLID;
    }
}

// A GDI object owned here, deleted when replaced or gone (never while
// selected: the painter selects its stock objects back first).
// The on and off runs of a dash pattern, starting with an on run.
std::vector<DWORD> Runs(const TDashPattern& pattern)
{
    std::vector<DWORD> runs;
    for (int i = 0; i < pattern.Length; ++i) {
        const bool on = pattern.On[static_cast<std::size_t>(i)];
        if (runs.empty() || on != (runs.size() % 2 == 1))
            runs.push_back(0);
        ++runs.back();
    }
    return runs;
}

class TGdiObject {
public:
    TGdiObject() = default;
    TGdiObject(const TGdiObject&) = delete;
    TGdiObject& operator=(const TGdiObject&) = delete;
    ~TGdiObject() { Reset(nullptr); }
    HGDIOBJ Get() const { return FHandle; }
    void Reset(HGDIOBJ handle)
    {
        if (FHandle != nullptr)
            DeleteObject(FHandle);
        FHandle = handle;
    }

private:
    HGDIOBJ FHandle = nullptr;
};

class TGdiTextMetrics final : public TTextMetrics {
public:
    TGdiTextMetrics(HDC dc, HFONT font) : FDC(dc), FFont(font)
    {
        FOldFont = SelectObject(FDC, FFont);
        TEXTMETRICW metrics{};
        GetTextMetricsW(FDC, &metrics);
        FHeight = metrics.tmHeight;
        FAscent = metrics.tmAscent;
    }
    ~TGdiTextMetrics() override
    {
        SelectObject(FDC, FOldFont);
        DeleteObject(FFont);
        DeleteDC(FDC);
    }
    int Width(const std::string& text) const override
    {
        const std::wstring wide = WideFromUtf8(text);
        SIZE size{};
        if (wide.empty() || !GetTextExtentPoint32W(FDC, wide.c_str(), static_cast<int>(wide.size()), &size))
            return 0;
        return size.cx;
    }
    int Height() const override { return FHeight; }
    int Ascent() const override { return FAscent; }

private:
    HDC FDC;
    HFONT FFont;
    HGDIOBJ FOldFont = nullptr;
    int FHeight = 0;
    int FAscent = 0;
};

class TGdiPainter final : public TPainter {
public:
    // `pixels`: the target's device pixels; at a ratio other than 1 the
    // painter draws through a world transform and offers no pixels to write
    // directly, since they are not the drawing's.
    TGdiPainter(HDC dc, const TRect& bounds, const TPixelBuffer& pixels, double ratio = 1)
        : FDC(dc), FBounds(bounds), FPixels(ratio == 1 ? pixels : TPixelBuffer{}), FRatio(ratio), FSaved(SaveDC(dc))
    {
        SetBkMode(FDC, TRANSPARENT);
        SetPolyFillMode(FDC, ALTERNATE);
        SelectClipRgn(FDC, nullptr);
        if (ratio != 1) {
            SetGraphicsMode(FDC, GM_ADVANCED);
            const XFORM scale{static_cast<FLOAT>(ratio), 0, 0, static_cast<FLOAT>(ratio), 0, 0};
            SetWorldTransform(FDC, &scale);
        }
    }
    ~TGdiPainter() override
    {
        // Restoring selects the DC's own objects again before ours go.
        RestoreDC(FDC, FSaved);
    }

    TPixelBuffer Pixels() const override { return FPixels; }
    TRect Bounds() const override { return FBounds; }
    double DevicePixelRatio() const override { return FRatio; }

    void SetClip(const std::optional<TRect>& clip) override
    {
        if (!clip) {
            SelectClipRgn(FDC, nullptr);
            return;
        }
        // An empty clip is a region with no pixels, not "no clip".
        // Regions are in device pixels, whatever the transform.
        const TRect r = *clip;
        HRGN region = CreateRectRgn(Device(r.Left), Device(r.Top), Device(std::max(r.Left, r.Right)),
                                    Device(std::max(r.Top, r.Bottom)));
        SelectClipRgn(FDC, region);  // the DC keeps a copy
        DeleteObject(region);
    }

    void SetPen(const TPainterPen& pen) override
    {
        if (FPenMade && pen == FPen)
            return;
        FPen = pen;
        FPenMade = true;
        SelectObject(FDC, GetStockObject(NULL_PEN));
        LOGBRUSH brush{BS_SOLID, pen.Color, 0};
        HPEN made = nullptr;
        if (pen.Style == psClear)
            made = nullptr;
        else if (pen.Width > 1)
            // The system's wide pens are round at their ends and joins.
            made = ExtCreatePen(PS_GEOMETRIC | PenStyleFor(pen.Style == psAlternate ? psSolid : pen.Style) |
                                    PS_ENDCAP_ROUND | PS_JOIN_ROUND,
                                static_cast<DWORD>(pen.Width), &brush, 0, nullptr);
        else if (FRatio != 1 && DashPatternFor(pen.Style).Length > 0) {
            // Under a dense screen's transform the system's cosmetic styles
            // would stay one device pixel thin, and its styled pens one pixel
            // wide come out solid: the runs are given in pixels of the
            // drawing instead, and grow with the line.
            const std::vector<DWORD> runs = Runs(DashPatternFor(pen.Style));
            made = ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_FLAT | PS_JOIN_MITER, 1, &brush,
                                static_cast<DWORD>(runs.size()), runs.data());
        } else if (pen.Style == psAlternate)
            made = ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &brush, 0, nullptr);
        else
            made = CreatePen(static_cast<int>(PenStyleFor(pen.Style)), 1, pen.Color);
        FPenObject.Reset(made);
        SelectObject(FDC, made != nullptr ? made : GetStockObject(NULL_PEN));
    }

    void SetBrush(const TPainterBrush& brush) override
    {
        if (FBrushMade && brush == FBrush)
            return;
        FBrush = brush;
        FBrushMade = true;
        SelectObject(FDC, GetStockObject(NULL_BRUSH));
        HBRUSH made = nullptr;
        switch (brush.Style) {
        case bsClear: break;
        case bsSolid: made = CreateSolidBrush(brush.Color); break;
        case bsHorizontal: made = CreateHatchBrush(HS_HORIZONTAL, brush.Color); break;
        case bsVertical: made = CreateHatchBrush(HS_VERTICAL, brush.Color); break;
        case bsFDiagonal: made = CreateHatchBrush(HS_FDIAGONAL, brush.Color); break;
        case bsBDiagonal: made = CreateHatchBrush(HS_BDIAGONAL, brush.Color); break;
        case bsCross: made = CreateHatchBrush(HS_CROSS, brush.Color); break;
        case bsDiagCross: made = CreateHatchBrush(HS_DIAGCROSS, brush.Color); break;
        }
        FBrushObject.Reset(made);
        SelectObject(FDC, made != nullptr ? made : GetStockObject(NULL_BRUSH));
    }

    void SetBackground(TColor color, bool opaque) override
    {
        SetBkColor(FDC, color);
        SetBkMode(FDC, opaque ? OPAQUE : TRANSPARENT);
    }

    void SetFont(const TPainterFont& font) override
    {
        if (FFontMade && font == FFont)
            return;
        FFont = font;
        FFontMade = true;
        FFontAngle = 0;
        SelectObject(FDC, GetStockObject(SYSTEM_FONT));
        FFontObject.Reset(CreateGdiFont(font, 0));
        SelectObject(FDC, FFontObject.Get());
    }

    void SetPixel(int x, int y, TColor color) override
    {
        // A pixel of the drawing is ratio x ratio device pixels.
        if (FRatio != 1) {
            FillRect(TRect{x, y, x + 1, y + 1}, color);
            return;
        }
        SetPixelV(FDC, x, y, color);
        Drawn();
    }

    void FillRect(const TRect& rect, TColor color) override
    {
        if (rect.Right <= rect.Left || rect.Bottom <= rect.Top)
            return;
        if (!FSolidMade || FSolidColor != color) {
            FSolid.Reset(CreateSolidBrush(color));
            FSolidColor = color;
            FSolidMade = true;
        }
        const RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
        ::FillRect(FDC, &r, static_cast<HBRUSH>(FSolid.Get()));
        Drawn();
    }

    void FillBrushRect(const TRect& rect, TPenMode mode) override
    {
        if (rect.Right <= rect.Left || rect.Bottom <= rect.Top)
            return;
        // Without a pen Rectangle fills one pixel less each way, which is
        // Left..Right-1 and Top..Bottom-1 of the rectangle one larger.
        const HGDIOBJ pen = SelectObject(FDC, GetStockObject(NULL_PEN));
        SetROP2(FDC, Rop2For(mode));
        ::Rectangle(FDC, rect.Left, rect.Top, rect.Right + 1, rect.Bottom + 1);
        SelectObject(FDC, pen);
        Drawn();
    }

    void FillPolygon(std::span<const TPoint> points, TPenMode mode) override
    {
        const std::vector<POINT> corners = Corners(points);
        const HGDIOBJ pen = SelectObject(FDC, GetStockObject(NULL_PEN));
        SetROP2(FDC, Rop2For(mode));
        ::Polygon(FDC, corners.data(), static_cast<int>(corners.size()));
        SelectObject(FDC, pen);
        Drawn();
    }

    void Line(TPoint from, TPoint to, int) override
    {
        SetROP2(FDC, Rop2For(FPen.Mode));
        MoveToEx(FDC, from.X, from.Y, nullptr);
        LineTo(FDC, to.X, to.Y);
        Drawn();
    }

    void WideRectangle(const TRect& rect) override
    {
        const HGDIOBJ brush = SelectObject(FDC, GetStockObject(NULL_BRUSH));
        SetROP2(FDC, Rop2For(FPen.Mode));
        ::Rectangle(FDC, rect.Left, rect.Top, rect.Right, rect.Bottom);
        SelectObject(FDC, brush);
        Drawn();
    }

    void WidePolygon(std::span<const TPoint> points) override
    {
        const std::vector<POINT> corners = Corners(points);
        const HGDIOBJ brush = SelectObject(FDC, GetStockObject(NULL_BRUSH));
        SetROP2(FDC, Rop2For(FPen.Mode));
        ::Polygon(FDC, corners.data(), static_cast<int>(corners.size()));
        SelectObject(FDC, brush);
        Drawn();
    }

    void Ellipse(const TRect& rect) override
    {
        SetROP2(FDC, Rop2For(FPen.Mode));
        ::Ellipse(FDC, rect.Left, rect.Top, rect.Right, rect.Bottom);
        Drawn();
    }

    void Pie(const TRect& rect, TPoint from, TPoint to) override
    {
        SetROP2(FDC, Rop2For(FPen.Mode));
        // Counter-clockwise, the DC's default arc direction.
        ::Pie(FDC, rect.Left, rect.Top, rect.Right, rect.Bottom, from.X, from.Y, to.X, to.Y);
        Drawn();
    }

    void TextOut(int x, int y, int angleDegrees, int align, const std::string& text) override
    {
        if (!FFontMade || text.empty())
            return;
        const int tenths = angleDegrees * 10;
        if (tenths != FFontAngle) {
            SelectObject(FDC, GetStockObject(SYSTEM_FONT));
            FFontObject.Reset(CreateGdiFont(FFont, tenths));
            SelectObject(FDC, FFontObject.Get());
            FFontAngle = tenths;
        }
        const std::wstring wide = WideFromUtf8(text);
        SetTextAlign(FDC, static_cast<UINT>(align));
        SetTextColor(FDC, FFont.Color);
        ExtTextOutW(FDC, x, y, 0, nullptr, wide.c_str(), static_cast<UINT>(wide.size()), nullptr);
        Drawn();
    }

    void DrawBitmap(int x, int y, const TBitmap& source, TCopyMode mode) override
    {
        const auto& bitmap = static_cast<const TGdiBitmap&>(source);
        const int saved = SaveDC(FDC);
        SelectClipRgn(FDC, nullptr);
        // Device pixel for device pixel: the source is drawn at the same
        // ratio, so the transform must not enlarge it again.
        if (FRatio != 1)
            ModifyWorldTransform(FDC, nullptr, MWT_IDENTITY);
        BitBlt(FDC, Device(x), Device(y), bitmap.DeviceWidth(), bitmap.DeviceHeight(), bitmap.DC(), 0, 0,
               mode == TCopyMode::Copy ? SRCCOPY : SRCINVERT);
        RestoreDC(FDC, saved);
        Drawn();
    }

private:
    // The surface writes the pixels between drawing calls: GDI must not
    // hold back what it was asked to draw before.
    static void Drawn() { GdiFlush(); }

    int Device(int logical) const { return static_cast<int>(std::lround(logical * FRatio)); }

    static std::vector<POINT> Corners(std::span<const TPoint> points)
    {
        std::vector<POINT> corners;
        corners.reserve(points.size());
        for (const TPoint& point : points)
            corners.push_back(POINT{point.X, point.Y});
        return corners;
    }

    HDC FDC;
    TRect FBounds;
    TPixelBuffer FPixels;
    double FRatio;
    int FSaved;

    TPainterPen FPen;
    bool FPenMade = false;
    TGdiObject FPenObject;
    TPainterBrush FBrush;
    bool FBrushMade = false;
    TGdiObject FBrushObject;
    TPainterFont FFont;
    bool FFontMade = false;
    int FFontAngle = 0;
    TGdiObject FFontObject;
    TGdiObject FSolid;
    TColor FSolidColor = 0;
    bool FSolidMade = false;
};

}  // namespace

HFONT CreateGdiFont(const TPainterFont& font, int angleTenths)
{
    // A negative height asks for the character height (the em), as the
    // font's pixel size means.
    return CreateFontW(-std::max(1, font.PixelSize), 0, angleTenths, angleTenths,
                       (font.Style & fsBold) != 0 ? FW_BOLD : FW_NORMAL, (font.Style & fsItalic) != 0,
                       (font.Style & fsUnderline) != 0, (font.Style & fsStrikeOut) != 0, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       font.Smooth ? DEFAULT_QUALITY : NONANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                       WideFromUtf8(font.Name).c_str());
}

TGdiBitmap::TGdiBitmap(int width, int height, double ratio) : FWidth(width), FHeight(height), FRatio(ratio)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down: row 0 first, as the raster writes
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    FDC = CreateCompatibleDC(nullptr);
    if (FDC == nullptr)
        return;
    FBitmap = CreateDIBSection(FDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (FBitmap == nullptr)
        return;
    FPixels = static_cast<std::uint32_t*>(bits);
    FOldBitmap = SelectObject(FDC, FBitmap);
}

TGdiBitmap::~TGdiBitmap()
{
    if (FOldBitmap != nullptr)
        SelectObject(FDC, FOldBitmap);
    if (FBitmap != nullptr)
        DeleteObject(FBitmap);
    if (FDC != nullptr)
        DeleteDC(FDC);
}

TPixelBuffer TGdiBitmap::Buffer()
{
    GdiFlush();
    return TPixelBuffer{FPixels, FWidth, FWidth, FHeight, FRatio};
}

std::unique_ptr<TPainter> TGdiBitmap::CreatePainter()
{
    if (FBitmap == nullptr)
        return nullptr;
    // The drawing's whole pixels that the device pixels cover.
    const TRect bounds{0, 0, static_cast<int>(std::floor(LogicalWidth() + 1e-6)),
                       static_cast<int>(std::floor(LogicalHeight() + 1e-6))};
    return std::make_unique<TGdiPainter>(FDC, bounds, TPixelBuffer{FPixels, FWidth, FWidth, FHeight, FRatio}, FRatio);
}

std::unique_ptr<TBitmap> CreateBitmap(int deviceWidth, int deviceHeight, double ratio, TColor fill)
{
    if (deviceWidth <= 0 || deviceHeight <= 0 || !(ratio > 0))
        return nullptr;
    auto bitmap = std::make_unique<TGdiBitmap>(deviceWidth, deviceHeight, ratio);
    if (bitmap->Handle() == nullptr)
        return nullptr;
    const TPixelBuffer buffer = bitmap->Buffer();
    std::fill_n(buffer.Pixels, static_cast<std::ptrdiff_t>(deviceWidth) * deviceHeight, ColorToPixel(fill));
    return bitmap;
}

std::unique_ptr<TPainter> CreateGdiPainter(HDC dc, const TRect& bounds)
{
    return std::make_unique<TGdiPainter>(dc, bounds, TPixelBuffer());
}

std::unique_ptr<TTextMetrics> CreateTextMetrics(const TPainterFont& font)
{
    HDC dc = CreateCompatibleDC(nullptr);
    if (dc == nullptr)
        return nullptr;
    HFONT made = CreateGdiFont(font, 0);
    if (made == nullptr) {
        DeleteDC(dc);
        return nullptr;
    }
    return std::make_unique<TGdiTextMetrics>(dc, made);
}
