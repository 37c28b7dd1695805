// The chart's axes: their stored settings, and the work they do in every
// paint (range, space, positions, drawing) and between paints (mapping
// values to pixels and back for series and mouse handling).
//
// Every setter that changes a value invalidates the chart; none paints,
// except SetLabelStyle and ScrollBy, which repaint at once.
#pragma once

#include "chart/TeCanvasTools.h"
#include "chart/TeeProcs.h"

#include <string>
#include <vector>

class TCustomAxisPanel;
class TCustomChartAxis;

// Raised by the axes' setters when a value breaks their checks.
class AxisException : public Exception {
public:
    using Exception::Exception;
};

enum TAxisLabelStyle { talAuto, talNone, talValue, talMark, talText };

// The smallest label step an axis uses.
inline constexpr double kMinAxisIncrement = 1e-12;
// The number format of value labels unless set otherwise.
inline constexpr const char* kDefaultAxisValuesFormat = "#,##0.###";
// Capacity of an axis' list of major tick positions in one paint.
inline constexpr int kMaxAxisTicks = 2000;

// The next step of the 1, 2, 5 sequence above x (1 -> 2 -> 5 -> 10 -> 20...;
// 3 -> 5). A value that is not a positive finite number is returned as it
// is, so a search driven by it ends instead of recursing for ever.
double NextNiceStep(double x);

// The label step for an axis `axisSize` pixels long showing `workRange`,
// whose widest (or, vertically, tallest) label is `labelSize` pixels: as
// many labels as fit with `separationPercent` of a label's size between
// them, starting from `increment` (0: 1, or the smallest step for ranges
// below 1) and growing by NextNiceStep while too many labels would be
// shown. Never below kMinAxisIncrement; a growth that cannot end (an
// infinite range) stops at an infinite step.
double LabelStepFor(double workRange, int axisSize, int labelSize, double increment, int separationPercent);

// An axis' title: text, angle and font. Drawn, and given space, only when
// Caption is not empty.
class TChartAxisTitle : public TChartFontObject {
public:
    TChartAxisTitle(TCustomChartAxis* axis, int defaultAngle);

    // Raises ChartException "Axis Title Angle must be between 0 and 359
    // degrees" outside 0..359, unchanged.
    int Angle() const { return FAngle; }
    void SetAngle(int value);
    // 0 for horizontal axes, 90 for the left and 270 for the right one;
    // only a different angle needs storing.
    int DefaultAngle() const { return FDefaultAngle; }
    bool IsAngleStored() const { return FAngle != FDefaultAngle; }
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value);

private:
    friend class TCustomChartAxis;
    // For the axis' constructor: another default angle, without a repaint.
    void InitAngle(int angle) { FDefaultAngle = FAngle = angle; }

    TCustomChartAxis* FAxis;
    int FDefaultAngle;
    int FAngle;
    std::string FCaption;
};

class TCustomChartAxis {
public:
    // An axis of `chart`, which owns it. `horizontal` and `otherSide` fix
    // its direction and side (top and right are the other sides).
    TCustomChartAxis(TCustomAxisPanel* chart, bool horizontal, bool otherSide);
    virtual ~TCustomChartAxis() = default;
    TCustomChartAxis(const TCustomChartAxis&) = delete;
    TCustomChartAxis& operator=(const TCustomChartAxis&) = delete;

    TCustomAxisPanel* ParentChart() const { return FParentChart; }
    bool IsHorizontal() const { return FIsHorizontal; }
    bool IsOtherSide() const { return FIsOtherSide; }
    bool IsDepth() const { return FIsDepth; }

    // Automatic sets both AutomaticMinimum and AutomaticMaximum to its own
    // value, except while the chart is loading its stored settings.
    bool Automatic() const { return FAutomatic; }
    void SetAutomatic(bool value);
    // Turning either bound's automatic flag off turns Automatic off; turning
    // it on turns Automatic on only when the other bound is automatic too.
    bool AutomaticMinimum() const { return FAutomaticMinimum; }
    void SetAutomaticMinimum(bool value);
    bool AutomaticMaximum() const { return FAutomaticMaximum; }
    void SetAutomaticMaximum(bool value);
    // Raise AxisException "Axis Minimum Value must be <= Maximum" (and the
    // mirror text) when the bounds would cross, except while loading, when
    // the stored order of the two does not matter.
    double Minimum() const { return FMinimum; }
    void SetMinimum(double value);
    double Maximum() const { return FMaximum; }
    void SetMaximum(double value);
    // Bounds are stored only when fixed.
    bool IsMinimumStored() const { return !FAutomatic && !FAutomaticMinimum; }
    bool IsMaximumStored() const { return !FAutomatic && !FAutomaticMaximum; }
    // Raises AxisException "Axis increment must be >= 0" below 0.
    double Increment() const { return FIncrement; }
    void SetIncrement(double value);
    bool Inverted() const { return FInverted; }
    void SetInverted(bool value) { Change(FInverted, value); }
    bool Visible() const { return FVisible; }
    void SetVisible(bool value) { Change(FVisible, value); }
    bool GridCentered() const { return FGridCentered; }
    void SetGridCentered(bool value) { Change(FGridCentered, value); }
    int TickLength() const { return FTickLength; }
    void SetTickLength(int value) { Change(FTickLength, value); }
    int TickInnerLength() const { return FTickInnerLength; }
    void SetTickInnerLength(int value) { Change(FTickInnerLength, value); }
    int MinorTickLength() const { return FMinorTickLength; }
    void SetMinorTickLength(int value) { Change(FMinorTickLength, value); }
    int MinorTickCount() const { return FMinorTickCount; }
    void SetMinorTickCount(int value) { Change(FMinorTickCount, value); }
    bool TickOnLabelsOnly() const { return FTickOnLabelsOnly; }
    void SetTickOnLabelsOnly(bool value) { Change(FTickOnLabelsOnly, value); }
    bool Labels() const { return FLabels; }
    void SetLabels(bool value) { Change(FLabels, value); }
    // Raises ChartException "Axis Labels Angle must be between 0 and 359
    // degrees" outside 0..359.
    int LabelsAngle() const { return FLabelsAngle; }
    void SetLabelsAngle(int value);
    // Raises AxisException "Labels Separation % must be greater than 0"
    // below 0.
    int LabelsSeparation() const { return FLabelsSeparation; }
    void SetLabelsSeparation(int value);
    int LabelsSize() const { return FLabelsSize; }
    void SetLabelsSize(int value) { Change(FLabelsSize, value); }
    bool LabelsOnAxis() const { return FLabelsOnAxis; }
    void SetLabelsOnAxis(bool value) { Change(FLabelsOnAxis, value); }
    bool LabelsMultiLine() const { return FLabelsMultiLine; }
    void SetLabelsMultiLine(bool value) { Change(FLabelsMultiLine, value); }
    // A change repaints the chart at once rather than invalidating it.
    TAxisLabelStyle LabelStyle() const { return FLabelStyle; }
    void SetLabelStyle(TAxisLabelStyle value);
    const std::string& AxisValuesFormat() const { return FAxisValuesFormat; }
    void SetAxisValuesFormat(const std::string& value) { Change(FAxisValuesFormat, value); }
    bool IsAxisValuesFormatStored() const;
    bool RoundFirstLabel() const { return FRoundFirstLabel; }
    void SetRoundFirstLabel(bool value) { Change(FRoundFirstLabel, value); }
    int TitleSize() const { return FTitleSize; }
    void SetTitleSize(int value) { Change(FTitleSize, value); }
    double StartPosition() const { return FStartPosition; }
    void SetStartPosition(double value) { Change(FStartPosition, value); }
    double EndPosition() const { return FEndPosition; }
    void SetEndPosition(double value) { Change(FEndPosition, value); }
    double PositionPercent() const { return FPositionPercent; }
    void SetPositionPercent(double value) { Change(FPositionPercent, value); }
    // Kept and stored; this axis draws linear labels only.
    bool Logarithmic() const { return FLogarithmic; }
    void SetLogarithmic(bool value) { Change(FLogarithmic, value); }
    int LogarithmicBase() const { return FLogarithmicBase; }
    void SetLogarithmicBase(int value) { Change(FLogarithmicBase, value); }
    const std::string& DateTimeFormat() const { return FDateTimeFormat; }
    void SetDateTimeFormat(const std::string& value) { Change(FDateTimeFormat, value); }
    bool ExactDateTime() const { return FExactDateTime; }
    void SetExactDateTime(bool value) { Change(FExactDateTime, value); }

    // Pens and fonts invalidate the chart when changed.
    TChartAxisPen& Axis() { return FAxisPen; }
    const TChartAxisPen& Axis() const { return FAxisPen; }
    TDottedGrayPen& Grid() { return FGrid; }
    const TDottedGrayPen& Grid() const { return FGrid; }
    TChartHiddenPen& MinorGrid() { return FMinorGrid; }
    const TChartHiddenPen& MinorGrid() const { return FMinorGrid; }
    TDarkGrayPen& Ticks() { return FTicks; }
    const TDarkGrayPen& Ticks() const { return FTicks; }
    TDarkGrayPen& TicksInner() { return FTicksInner; }
    const TDarkGrayPen& TicksInner() const { return FTicksInner; }
    TDarkGrayPen& MinorTicks() { return FMinorTicks; }
    const TDarkGrayPen& MinorTicks() const { return FMinorTicks; }
    TFont& LabelsFont() { return FLabelsFont; }
    const TFont& LabelsFont() const { return FLabelsFont; }
    bool IsLabelsFontStored() const { return !TChartFontObject::IsDefaultFont(FLabelsFont); }
    TChartAxisTitle& Title() { return FTitle; }
    const TChartAxisTitle& Title() const { return FTitle; }

    // ---- One paint, in the order the chart calls them

    // Takes the automatic bounds from the series (without checks or
    // repaint) and sets the working range from the bounds.
    void AdjustRange();
    // Takes the space of the title, the labels and the ticks off `rect`
    // (one of the chart's five standard axes; an added axis only takes its
    // positions) and records where title and labels are anchored.
    void ReserveSpace(TRect& rect);
    // Places the axis' ends along the chart's current plot rectangle.
    void ComputePositions();
    // Widens the working range so that `left`/`right` (horizontal) or
    // `top`/`bottom` (vertical) pixels stay free at the ends. The stored
    // bounds are not touched.
    void ApplySeriesMargins(int left, int top, int right, int bottom);
    // Paints title, labels, axis line, ticks, grid, inner and minor ticks
    // onto the chart's canvas. Never fails on data: too many labels
    // (10000 steps or more) draw none, and the tick list never grows past
    // kMaxAxisTicks (labels beyond it are left out).
    void DrawAxis();

    // ---- Queries, valid from the last paint

    // The screen coordinate (x for a horizontal axis, y for a vertical one)
    // of `value`; CenterPixel for an empty range or a distance too large
    // to express.
    int ValueToPixel(double value) const;
    // The inverse of ValueToPixel, unrounded; 0 on an axis of no length.
    double PixelToValue(int pixel) const;
    // The label step for the working range and AxisSize, measured in the
    // canvas' current font (DrawAxis selects LabelsFont first).
    double LabelStep() const;
    // `value` in AxisValuesFormat, then as the chart's OnGetAxisLabel makes
    // it, with blanks made line breaks when LabelsMultiLine.
    std::string LabelText(double value) const;
    // talAuto resolved by the series on the axis; any other style as set.
    TAxisLabelStyle ResolvedLabelStyle() const;

    // ---- Mouse zoom and scroll

    // Fixes both bounds to lo..hi (in either order), without the setters'
    // checks, at least 1e-10 apart, automatic flags off; invalidates.
    void SetRange(double lo, double hi);
    // Whether (x, y) lies on the axis strip between the labels' anchor and
    // three pixels inside the axis line; false for an axis that is not
    // shown.
    bool AxisHit(int x, int y) const;
    // Moves both bounds by `delta` and repaints at once. With
    // `checkLimits` it does nothing for 0, nor when the series have no
    // value beyond the bound it moves towards.
    void ScrollBy(double delta, bool checkLimits);

    // ---- Working state of the last paint
    double WorkMin() const { return FWorkMin; }
    double WorkMax() const { return FWorkMax; }
    double WorkRange() const { return FWorkRange; }
    int StartPixel() const { return FStartPixel; }
    int EndPixel() const { return FEndPixel; }
    int AxisSize() const { return FAxisSize; }
    int CenterPixel() const { return FCenterPixel; }
    int AxisLinePos() const { return FAxisLinePos; }
    int LabelsPos() const { return FLabelsPos; }
    int TitlePos() const { return FTitlePos; }
    // Major tick positions of the last DrawAxis, in drawing order (from the
    // range's top downwards).
    const std::vector<int>& TickList() const { return FTickList; }

    // Pixels taken by the axis line and the outer ticks.
    int TickSize() const;

    // Asks the chart, if any, to invalidate itself; never paints.
    void InvalidateChart();

protected:
    template <class T>
    void Change(T& field, const T& value)
    {
        if (StoreIfChanged(field, value))
            InvalidateChart();
    }
    bool ChartLoading() const;

    void SetIsDepth(bool value) { FIsDepth = value; }
    void InitTitleAngle(int angle) { FTitle.InitAngle(angle); }
    // For constructors: the default that differs, without a repaint.
    void InitVisible(bool value) { FVisible = value; }

private:
    // Lines of a label text (separated by character 13); an empty text
    // has none.
    static std::vector<std::string> LabelLines(const std::string& text);
    std::string FormatLabel(double value, bool askChart) const;
    int LabelWidth(double value) const;
    int LabelHeight(double value) const;
    int WidestLine(const std::string& text) const;
    // Room for the labels across the axis: LabelsSize when set, otherwise
    // measured in LabelsFont.
    int LabelsSizeNeeded() const;
    int TitleSizeNeeded() const;
    int PositionOffset(int coordinate, const TRect& rect) const;
    bool IsStandardAxis() const;
    bool ShowsDateTime() const;

    // DrawAxis, step by step.
    void DrawTitle();
    void DrawLabels(double step);
    void DrawValueLabels(double step);
    void DrawSeriesLabels(TAxisLabelStyle style);
    void DrawCustomLabels();
    // Records the tick of a label at `value` (when it is within the axis)
    // and draws `text`; false once the tick list is full.
    bool PlaceLabel(double value, const std::string* text);
    void DrawLabelText(int position, const std::string& text);
    void DrawAxisLine();
    void DrawTicks(const TChartPen& pen, int length, bool inner);
    void DrawGrid();
    void DrawMinorTicks();
    void DrawTickAt(int position, int length, bool inner);
    void DrawGridLineAt(int position);

    TCustomAxisPanel* FParentChart;
    bool FIsHorizontal;
    bool FIsOtherSide;
    bool FIsDepth = false;

    bool FAutomatic = true;
    bool FAutomaticMinimum = true;
    bool FAutomaticMaximum = true;
    double FMinimum = 0;
    double FMaximum = 0;
    double FIncrement = 0;
    bool FInverted = false;
    bool FVisible = true;
    bool FGridCentered = false;
    int FTickLength = 4;
    int FTickInnerLength = 0;
    int FMinorTickLength = 2;
    int FMinorTickCount = 3;
    bool FTickOnLabelsOnly = true;
    bool FLabels = true;
    int FLabelsAngle = 0;
    int FLabelsSeparation = 10;
    int FLabelsSize = 0;
    bool FLabelsOnAxis = true;
    bool FLabelsMultiLine = false;
    TAxisLabelStyle FLabelStyle = talAuto;
    std::string FAxisValuesFormat = kDefaultAxisValuesFormat;
    bool FRoundFirstLabel = true;
    int FTitleSize = 0;
    double FStartPosition = 0;
    double FEndPosition = 100;
    double FPositionPercent = 0;
    bool FLogarithmic = false;
    int FLogarithmicBase = 10;
    std::string FDateTimeFormat;
    bool FExactDateTime = true;

    TChartAxisPen FAxisPen;
    TDottedGrayPen FGrid;
    TChartHiddenPen FMinorGrid;
    TDarkGrayPen FTicks;
    TDarkGrayPen FTicksInner;
    TDarkGrayPen FMinorTicks;
    TFont FLabelsFont;
    TChartAxisTitle FTitle;

    double FWorkMin = 0;
    double FWorkMax = 0;
    double FWorkRange = 0;
    int FStartPixel = 0;
    int FEndPixel = 0;
    int FAxisSize = 0;
    int FCenterPixel = 0;
    int FAxisLinePos = 0;
    int FLabelsPos = 0;
    int FTitlePos = 0;
    std::vector<int> FTickList;
};

// The left, right, top and bottom axes, and axes added by the user.
class TChartAxis : public TCustomChartAxis {
public:
    using TCustomChartAxis::TCustomChartAxis;
};

// The axis of depth, used only by 3D charts: hidden by default.
class TChartDepthAxis : public TCustomChartAxis {
public:
    explicit TChartDepthAxis(TCustomAxisPanel* chart);
};
