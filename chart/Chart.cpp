#include "chart/Chart.h"

#include "chart/TeCanvas.h"

TChartBrush::TChartBrush(TNotifyChange onChange, TBrushStyle style) : TBrush()
{
    SetColor(clDefault);
    SetStyle(style);
    SetOnChange(std::move(onChange));
}

TCustomChartWall::TCustomChartWall(TCustomTeePanel* chart, TColor defaultColor, TBrushStyle brushStyle)
    : FChart(chart), FColor(defaultColor), FDefaultColor(defaultColor), FPen([chart] { chart->Invalidate(); }),
      FBrush([chart] { chart->Invalidate(); }, brushStyle)
{
}

TChartTitle::TChartTitle(TCustomTeePanel* chart) : TChartFontObject([chart] { chart->Invalidate(); }), FChart(chart)
{
}

void TChartTitle::SetVisible(bool value)
{
    if (StoreIfChanged(FVisible, value))
        FChart->Invalidate();
}

void TChartTitle::SetText(const std::vector<std::string>& value)
{
    if (StoreIfChanged(FText, value))
        FChart->Invalidate();
}

TCustomChart::TCustomChart(TWinControl* parent) : TCustomAxisPanel(parent) {}

TCustomChart::~TCustomChart()
{
    BeginDestroy();
}

void TCustomChart::SetBackColor(TColor value)
{
    FBackWall.SetColor(value);
    if (Parent() != nullptr && !Loading())
        FBackWall.Brush().SetStyle(bsSolid);
}

bool TCustomChart::IsFreeSeriesColor(TColor color) const
{
    return TCustomAxisPanel::IsFreeSeriesColor(color) && color != FBackWall.Color();
}

int TCustomChart::WallSizeFor(const TCustomChartAxis* axis) const
{
    if (!View3D() || !View3DWalls())
        return 0;
    if (axis == LeftAxis())
        return FLeftWall.Size();
    if (axis == BottomAxis())
        return FBottomWall.Size();
    return 0;
}

void TCustomChart::DrawTextBlocks()
{
    if (FTitle.Visible())
        DrawTitleBlock(FTitle, true);
    if (FFoot.Visible())
        DrawTitleBlock(FFoot, false);
}

void TCustomChart::DrawTitleBlock(const TChartTitle& title, bool atTop)
{
    if (title.Text().empty())
        return;
    TTeeCanvas3D& canvas = Canvas();
    SelectFont(title.Font());
    canvas.Brush().SetStyle(bsClear);
    canvas.SetBackMode(TRANSPARENT);
    canvas.SetTextAlign(TA_CENTER | TA_TOP);
    const int lineHeight = canvas.FontHeight();
    const int height = lineHeight * static_cast<int>(title.Text().size());
    TRect plot = PlotRect();
    int y = atTop ? plot.Top : plot.Bottom - height;
    const int x = (ChartBoundsRect().Left + ChartBoundsRect().Right) / 2;
    for (const std::string& line : title.Text()) {
        canvas.TextOut(x, y, line);
        y += lineHeight;
    }
    canvas.SetTextAlign(TA_LEFT | TA_TOP);
    if (atTop)
        plot.Top += height;
    else
        plot.Bottom -= height;
    SetPlotRect(plot);
}

void TCustomChart::PaintWalls()
{
    TTeeCanvas3D& canvas = Canvas();
    const TChartWall& wall = FBackWall;
    canvas.AssignChartPen(wall.Pen());
    if (wall.Color() == clDefault && wall.Brush().Style() == bsSolid) {
        canvas.Brush().SetStyle(bsClear);
    } else {
        TColor color = wall.Color();
        const bool hatched = wall.Brush().Style() != bsSolid;
        // A hatch in the wall's own colour would not show: it takes black,
        // or white on a black brush.
        if (hatched && color == wall.Brush().Color())
            color = wall.Brush().Color() == clBlack ? clWhite : clBlack;
        canvas.Brush().SetColor(color);
        canvas.Brush().SetStyle(wall.Brush().Style());
        if (hatched) {
            canvas.SetBackMode(OPAQUE);
            canvas.SetBackColor(ColorToRGB(wall.Brush().Color()));
        } else {
            canvas.SetBackMode(TRANSPARENT);
        }
    }
    const TRect& plot = PlotRect();
    canvas.Rectangle(plot.Left, plot.Top, plot.Right + 1, plot.Bottom + 1);
}

TChart::TChart(TWinControl* parent) : TCustomChart(parent) {}
