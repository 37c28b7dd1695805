// The chart's axes as the series see them: which chart they belong to,
// which way they run, and their stored settings. Every setter that changes a
// value invalidates the chart; none paints.
#pragma once

#include "chart/TeeProcs.h"

#include <string>

class TCustomAxisPanel;

// Raised by the axes' setters when a value breaks their checks.
class AxisException : public Exception {
public:
    using Exception::Exception;
};

enum TAxisLabelStyle { talAuto, talNone, talValue, talMark, talText };

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
    TAxisLabelStyle LabelStyle() const { return FLabelStyle; }
    void SetLabelStyle(TAxisLabelStyle value) { Change(FLabelStyle, value); }
    const std::string& AxisValuesFormat() const { return FAxisValuesFormat; }
    void SetAxisValuesFormat(const std::string& value) { Change(FAxisValuesFormat, value); }
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

protected:
    template <class T>
    void Change(T& field, const T& value)
    {
        if (StoreIfChanged(field, value))
            InvalidateChart();
    }
    void InvalidateChart();
    bool ChartLoading() const;

    void SetIsDepth(bool value) { FIsDepth = value; }
    // For constructors: the default that differs, without a repaint.
    void InitVisible(bool value) { FVisible = value; }

private:
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
    std::string FAxisValuesFormat = "#,##0.###";
    bool FRoundFirstLabel = true;
    int FTitleSize = 0;
    double FStartPosition = 0;
    double FEndPosition = 100;
    double FPositionPercent = 0;
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
