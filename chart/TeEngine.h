// The chart engine's data side: value lists, series and the chart level that
// holds series and axes.
//
// A series is an ordered set of points (X, Y, an optional text, a colour).
// Each dimension lives in a value list; the colour and text stores stay
// index-aligned with them. Adding, deleting or clearing points never paints:
// it ends in RequestRepaint, which only invalidates the series' chart.
//
// Ownership: a series is a component created with an owner (or none), which
// frees it. A chart frees the series attached to it when it goes itself;
// a series that leaves a chart (SetParentChart(nullptr)) stays with its
// owner, or, without one, with the caller. A series that is destroyed leaves
// its chart first. Charts own their axes.
#pragma once

#include "chart/TeEngineAxes.h"
#include "chart/TeEngineStorage.h"
#include "chart/TeeProcs.h"
#include "runtime/Graphics.h"


#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

class TChartSeries;
class TCustomAxisPanel;

enum TChartListOrder { loNone, loAscending, loDescending };
enum THorizAxis { aTopAxis, aBottomAxis, aBothHorizAxis, aCustomHorizAxis };
enum TVertAxis { aLeftAxis, aRightAxis, aBothVertAxis, aCustomVertAxis };

// The colours handed to series and, with ColorEachPoint, to points.
inline constexpr std::array<TColor, 16> kDefaultPalette = {
    clRed, clGreen, clYellow, clBlue, clWhite, clGray, clFuchsia, clTeal,
    clNavy, clMaroon, clLime, clOlive, clPurple, clSilver, clAqua, clBlack,
};

// Entry `index` mod 16 of the palette; negative indexes count from entry 0.
TColor DefaultPaletteColor(int index);

// The values of one dimension of a series. Values are stored raw; every value
// read is multiplied by Multiplier. The four statistics are cached: a value
// appended at the end extends them, any other change has them recounted, in
// one pass, when they are next read.
class TChartValueList {
public:
    // Creates an empty list and appends it to the owner's ValuesLists.
    TChartValueList(TChartSeries* owner, std::string name);
    virtual ~TChartValueList();
    TChartValueList(const TChartValueList&) = delete;
    TChartValueList& operator=(const TChartValueList&) = delete;

    // Copies Order, DateTime, Multiplier and ValueSource; not the name, not
    // the values.
    virtual void Assign(const TChartValueList& source);

    // The stored value times Multiplier. Index errors raise EListError.
    virtual double ValueAt(int index) const;
    // Overwrites the raw value and tells dependent series; asks for no
    // repaint.
    virtual void SetValueAt(int index, double value);
    // Removes every value and frees the storage.
    virtual void RemoveAllValues();
    // Stores `value` where Order demands and returns its index. Compares raw
    // values; a value equal to stored ones goes after them. Appending values
    // that arrive in order costs one comparison.
    virtual int AppendOrdered(double value);
    // Inserts a raw value before `index` (0..Count).
    virtual void InsertAt(int index, double value);
    virtual int Count() const;
    virtual void DeleteAt(int index);
    // Moves the first value to the end; the statistics stay valid.
    virtual void RotateLeft();

    // The last value; EListError on an empty list.
    double Last() const;
    // The first index whose ValueAt equals `value` exactly, or -1.
    int IndexOfValue(double value) const;
    // Sorts all points of the owning series by this list's Order, moving
    // every value list, the colours and the texts together; equal values
    // keep their order. Nothing happens with loNone.
    void SortByOrder();

    // Statistics in multiplied units; all 0 for an empty list.
    double LowestValue() const;
    double HighestValue() const;
    double SumOfValues() const;
    double SumOfMagnitudes() const;

    // The value about to be added by AddPoint; an OnBeforeAdd handler may
    // read and change it.
    double PendingValue() const { return FPendingValue; }
    void SetPendingValue(double value) { FPendingValue = value; }

    TChartSeries* Owner() const { return FOwner; }
    bool DateTime() const { return FDateTime; }
    void SetDateTime(bool value);
    const std::string& Name() const { return FName; }
    void SetName(const std::string& value) { FName = value; }
    double Multiplier() const { return FMultiplier; }
    void SetMultiplier(double value);
    // Where AppendOrdered puts new values; stored values are not re-sorted.
    TChartListOrder Order() const { return FOrder; }
    void SetOrder(TChartListOrder value) { FOrder = value; }
    const std::string& ValueSource() const { return FValueSource; }
    void SetValueSource(const std::string& value);

    // Bytes of value storage held, counting unused capacity and the
    // summary that drawing keeps.
    std::size_t StorageBytes() const;
    // The stored value at `index` before Multiplier, unchecked, for passes
    // over every point that cannot afford a call per value.
    double RawAt(std::size_t index) const
    {
        return FIndexes ? static_cast<double>(index) : FValues[index];
    }
    // Whether the values are the indexes 0, 1, 2, ... and held as nothing
    // but their count: until a value breaks that pattern.
    bool HoldsIndexes() const { return FIndexes; }
    // Whether every stored value is at most the next one (none is NaN, or
    // the list has one value). Kept up to date by every change, so asking
    // costs nothing.
    bool InAscendingOrder() const { return FUnorderedPairs == 0; }
    // The smallest and largest stored values (before Multiplier) of
    // first..last, false when one of them is not a number. Whole blocks of
    // kSummaryBlock values are read from a summary of their extremes, so a
    // range of millions costs thousands of reads; the summary follows
    // appends and is rebuilt from the first change elsewhere.
    bool RawRange(std::size_t first, std::size_t last, double& smallest, double& largest) const;
    static constexpr std::size_t kSummaryBlock = 256;
    // The extremes of values block * kSummaryBlock up to the block's end,
    // when a RawRange call has summarised that block and none is NaN.
    bool BlockRange(std::size_t block, double& smallest, double& largest) const
    {
        if (FIndexes) {
            smallest = static_cast<double>(block * kSummaryBlock);
            largest = smallest + (kSummaryBlock - 1);
            return (block + 1) * kSummaryBlock <= static_cast<std::size_t>(Count());
        }
        if (block >= FSummarised)
            return false;
        smallest = FBlockExtremes[2 * block];
        largest = FBlockExtremes[2 * block + 1];
        return smallest == smallest;
    }
    int FirstNotBelow(int from, int to, double limit) const;

private:
    friend class TChartSeries;

    void CheckIndex(int index) const;
    // Count, without the call through the table.
    int Size() const { return static_cast<int>(FIndexes ? FIndexCount : FValues.size()); }
    // Whether `value` continues the values 0, 1, 2, ... at the end (the
    // same bits: -0.0 is not the index 0).
    bool IsNextIndex(double value) const
    {
        return std::bit_cast<std::uint64_t>(value) == std::bit_cast<std::uint64_t>(static_cast<double>(FIndexCount));
    }
    // The common case of AddPoint, kept to a few inline steps because a
    // series is fed a reading at a time: whether `value` can go at the end
    // (where Order puts it, when `ordered`) without allocating, and then
    // putting it there, which cannot fail. The same result as AppendOrdered
    // or InsertAt at the end.
    bool CanAppendInPlace(double value, bool ordered) const
    {
        if (ordered && !WouldAppend(value))
            return false;
        return FIndexes ? IsNextIndex(value) : FValues.size() < FValues.capacity();
    }
    int AppendInPlace(double value) noexcept
    {
        const int index = Size();
        if (FIndexes)
            ++FIndexCount;
        else
            AppendValue(value);
        StatsAfterInsert(index, value);
        return index;
    }
    // Appends a stored value with room already reserved, keeping the order
    // count: one pair to look at, and no summarised block changes.
    void AppendValue(double value) noexcept
    {
        if (!FValues.empty())
            FUnorderedPairs += !(FValues.back() <= value);
        FValues.push_back(value);
    }
    // Makes the values explicit. Raises std::bad_alloc with nothing
    // changed.
    void HoldValues();
    // Everything a later InsertAt(index, value) or DeleteAt(index) needs
    // allocated, so that it cannot fail. Raises std::bad_alloc with the
    // values unchanged.
    void PrepareInsert(std::size_t index, double value);
    void PrepareDelete(std::size_t index);
    // Where AppendOrdered puts `value`.
    std::size_t OrderedIndex(double value) const;
    // Whether AppendOrdered(value) would put it at the end.
    bool WouldAppend(double value) const
    {
        const int count = Size();
        if (count == 0 || FOrder == loNone)
            return true;
        const double last = RawAt(static_cast<std::size_t>(count - 1));
        return FOrder == loAscending ? !(last > value) : !(last < value);
    }
    // The summary no longer holds for blocks from the one with `index` on.
    void StaleFrom(std::size_t index) const { FSummarised = std::min(FSummarised, index / kSummaryBlock); }
    // Neighbours i, i + 1 with first <= i < last that are not in ascending
    // order.
    std::size_t UnorderedPairs(std::size_t first, std::size_t last) const;
    void RecountOrder() { FUnorderedPairs = UnorderedPairs(0, static_cast<std::size_t>(Count())); }
    // Inserts with room already reserved, keeping the order count.
    void InsertValue(std::size_t index, double value);
    void RecalcStats() const;
    void StatsAfterInsert(int index, double value)
    {
        // A value appended to a list whose statistics are current extends
        // them exactly as a full recount would (the recount adds in index
        // order too), so a chart that reads them after every reading never
        // rescans.
        if (FStatsDirty || index == 0 || index != Size() - 1) {
            FStatsDirty = true;
            return;
        }
        CountInStats(value * FMultiplier);
    }
    // Adds `v` (multiplied) to statistics that hold at least one value.
    void CountInStats(double v) const
    {
        if (v < FLowestValue)
            FLowestValue = v;
        else if (v > FHighestValue)
            FHighestValue = v;
        FSumOfValues += v;
        FSumOfMagnitudes += std::fabs(v);
    }

    TChartSeries* FOwner;
    // Empty while FIndexes; then FIndexCount is the count.
    ValueStore FValues;
    bool FIndexes = true;
    std::size_t FIndexCount = 0;
    // Smallest and largest of each of the first FSummarised blocks,
    // NaN for both when the block holds one.
    mutable PointStore<double> FBlockExtremes;
    mutable std::size_t FSummarised = 0;
    double FPendingValue = 0;
    bool FDateTime = false;
    std::string FName;
    double FMultiplier = 1.0;
    TChartListOrder FOrder = loNone;
    std::string FValueSource;

    std::size_t FUnorderedPairs = 0;
    mutable bool FStatsDirty = true;
    mutable double FLowestValue = 0;
    mutable double FHighestValue = 0;
    mutable double FSumOfValues = 0;
    mutable double FSumOfMagnitudes = 0;
};

// The value lists of one series, in creation order: X first, Y second. Does
// not own them; the series does.
class TChartValueLists {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    // EListError outside 0..Count-1.
    TChartValueList* ValueList(int index) const;
    TChartValueList* operator[](int index) const { return ValueList(index); }
    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }

private:
    friend class TChartValueList;
    std::vector<TChartValueList*> FItems;
};

class TSeriesMarks {
public:
    explicit TSeriesMarks(TChartSeries* owner) : FOwner(owner) {}

    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    int ArrowLength() const { return FArrowLength; }
    void SetArrowLength(int value);

private:
    TChartSeries* FOwner;
    bool FVisible = false;
    int FArrowLength = 8;
};

using TSeriesOnBeforeAdd = std::function<bool(TChartSeries* Sender)>;
using TSeriesOnAfterAdd = std::function<void(TChartSeries* Sender, int ValueIndex)>;
using TSeriesOnClear = std::function<void(TChartSeries* Sender)>;
using TSeriesClick = std::function<void(TChartSeries* Sender, int ValueIndex, TMouseButton Button,
                                        TShiftState Shift, int X, int Y)>;
using TSeriesOnGetMarkText = std::function<void(TChartSeries* Sender, int ValueIndex, std::string& MarkText)>;

class TChartSeries : public TComponent {
public:
    // An empty series without a chart: Active, SeriesColor clDefault, X
    // ordered ascending, Y unordered, bound to the bottom and left axes.
    explicit TChartSeries(TComponent* AOwner = nullptr);
    // Leaves its data source and its chart and frees its points. Handlers
    // are not called: whoever installed them may be gone already.
    ~TChartSeries() override;

    // Copies the settings of `source` (not its points, chart, data source
    // or handlers).
    virtual void Assign(const TChartSeries& source);

    // Stores one point where the X order demands and returns its index, or
    // -1 when OnBeforeAdd refuses it (then nothing changes and nothing is
    // told). Fires OnAfterAdd, tells dependent series and, when Active,
    // asks for a repaint; never paints.
    virtual int AddPoint(double x, double y, const std::string& label, TColor color);
    // Removes every point and frees their storage, then fires OnClearValues
    // (which sees the empty series), tells dependent series and, when
    // Active and attached to a chart that is not being destroyed, asks for
    // a repaint.
    virtual void ClearPoints();
    // Removes one point; EListError outside 0..PointCount-1.
    virtual void DeletePoint(int index);
    int PointCount() const { return FXValues->Count(); }

    // The colour a point is drawn in: its own colour unless that is
    // clDefault, which means the palette entry for its index with
    // ColorEachPoint and SeriesColor without. Indexes without a stored
    // colour give SeriesColor.
    virtual TColor PointColor(int index) const;
    // A point whose colour resolves to clNone is not drawn.
    bool IsNullPoint(int index) const { return PointColor(index) == clNone; }
    // The point's text, empty when it has none; EListError for a bad index.
    const std::string& PointLabel(int index) const;
    virtual double XValue(int index) const { return FXValues->ValueAt(index); }
    virtual double YValue(int index) const { return FYValues->ValueAt(index); }

    virtual double LowestX() const { return FXValues->LowestValue(); }
    virtual double HighestX() const { return FXValues->HighestValue(); }
    virtual double LowestY() const { return FYValues->LowestValue(); }
    virtual double HighestY() const { return FYValues->HighestValue(); }

    // Extra pixels the series wants at the ends of its axes.
    virtual void HorizMargins(int& left, int& right) const;
    virtual void VertMargins(int& top, int& bottom) const;

    // Binds the series to its chart's axes as HorizAxis and VertAxis say;
    // both are null without a chart.
    void ResolveAxes();
    TChartAxis* HorizontalAxis() const { return FHorizontalAxis; }
    TChartAxis* VerticalAxis() const { return FVerticalAxis; }
    virtual bool AssociatedToAxis(const TCustomChartAxis* axis) const;
    // Whether the series is placed by axes at all (a pie, say, is not).
    virtual bool UsesAxes() const { return true; }
    // The list that every point must have a value in.
    TChartValueList* MandatoryValueList() const { return FYValues.get(); }

    // Asks the chart, if there is one, to invalidate itself.
    void RequestRepaint() const;

    // Drawing, driven by the chart's paint. The chart calls, per paint and
    // active series: DoBeforeDrawChart; then FindVisibleRange and, unless
    // FirstVisible is -1, DoBeforeDrawValues, DrawAllPoints and
    // DoAfterDrawValues. FindVisibleRange takes every point at this level;
    // DrawAllPoints draws the points from FirstVisible to LastVisible with
    // DrawPoint, which draws nothing at this level.
    virtual void DoBeforeDrawChart() {}
    virtual void FindVisibleRange();
    virtual void DrawAllPoints();
    virtual void DrawPoint(int index);
    virtual void DoBeforeDrawValues();
    virtual void DoAfterDrawValues();
    int FirstVisible() const { return FFirstVisible; }
    int LastVisible() const { return FLastVisible; }

    bool Active() const { return FActive; }
    virtual void SetActive(bool value);
    bool ColorEachPoint() const { return FColorEachPoint; }
    // The point's own colour as stored (clDefault: none of its own); the
    // index must be valid.
    TColor StoredColor(int index) const
    {
        return FColors.empty() ? clDefault : FColors[static_cast<std::size_t>(index)];
    }
    // Whether any point has a colour of its own.
    bool HasPointColors() const { return FPointColorCount > 0; }
    // Setting it to False, changed or not, also resets every stored point
    // colour to clDefault, each reset asking for a repaint.
    virtual void SetColorEachPoint(bool value);
    TColor SeriesColor() const { return FSeriesColor; }
    virtual void SetSeriesColor(TColor value);
    TCustomAxisPanel* ParentChart() const { return FParentChart; }
    // Leaves the current chart and joins `chart`. Joining gives a series
    // whose SeriesColor is clDefault the first palette colour the chart
    // does not use yet, and hands the series to the chart (see above).
    virtual void SetParentChart(TCustomAxisPanel* chart);

    THorizAxis HorizAxis() const { return FHorizAxis; }
    void SetHorizAxis(THorizAxis value);
    TVertAxis VertAxis() const { return FVertAxis; }
    void SetVertAxis(TVertAxis value);
    // Axes of the chart used with aCustomHorizAxis / aCustomVertAxis; an
    // axis of another chart is not used.
    TChartAxis* CustomHorizAxis() const { return FCustomHorizAxis; }
    void SetCustomHorizAxis(TChartAxis* value);
    TChartAxis* CustomVertAxis() const { return FCustomVertAxis; }
    void SetCustomVertAxis(TChartAxis* value);

    // Another series that feeds this one: its points are copied and follow
    // the source's additions, deletions and clearing while both are in a
    // chart. A source that would feed itself, directly or through others,
    // raises ChartException.
    TChartSeries* DataSource() const { return FDataSource; }
    void SetDataSource(TChartSeries* value);

    TSeriesMarks& Marks() { return FMarks; }
    const TSeriesMarks& Marks() const { return FMarks; }
    TChartValueList* XValues() const { return FXValues.get(); }
    // Copies the settings (not the name or values) of `source` into the
    // series' own list.
    void SetXValues(const TChartValueList& source);
    TChartValueList* YValues() const { return FYValues.get(); }
    void SetYValues(const TChartValueList& source);
    const TChartValueLists& ValuesLists() const { return FValuesLists; }

    const std::string& ColorSource() const { return FColorSource; }
    void SetColorSource(const std::string& value);
    const std::string& XLabelsSource() const { return FXLabelsSource; }
    void SetXLabelsSource(const std::string& value);
    // The cursor the chart shows while the mouse is over a point of the
    // series; crDefault leaves the chart's own.
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor value) { FCursor = value; }
    // The index of the point that the series draws at (x, y) in the chart's
    // client pixels, -1 for none. Knows only what the last paint drew.
    virtual int Clicked(int /*x*/, int /*y*/) const { return -1; }
    const std::string& PercentFormat() const { return FPercentFormat; }
    void SetPercentFormat(const std::string& value) { Change(FPercentFormat, value); }
    const std::string& ValueFormat() const { return FValueFormat; }
    void SetValueFormat(const std::string& value) { Change(FValueFormat, value); }
    bool ShowInLegend() const { return FShowInLegend; }
    void SetShowInLegend(bool value) { Change(FShowInLegend, value); }
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& value) { Change(FTitle, value); }
    // -1: automatic; only 3D charts use it.
    int ZOrder() const { return FZOrder; }
    void SetZOrder(int value) { Change(FZOrder, value); }

    const TSeriesOnBeforeAdd& OnBeforeAdd() const { return FOnBeforeAdd; }
    void SetOnBeforeAdd(TSeriesOnBeforeAdd value) { FOnBeforeAdd = std::move(value); }
    const TSeriesOnAfterAdd& OnAfterAdd() const { return FOnAfterAdd; }
    void SetOnAfterAdd(TSeriesOnAfterAdd value) { FOnAfterAdd = std::move(value); }
    const TSeriesOnClear& OnClearValues() const { return FOnClearValues; }
    void SetOnClearValues(TSeriesOnClear value) { FOnClearValues = std::move(value); }
    const TNotifyEvent& BeforeDrawValues() const { return FBeforeDrawValues; }
    void SetBeforeDrawValues(TNotifyEvent value) { FBeforeDrawValues = std::move(value); }
    const TNotifyEvent& AfterDrawValues() const { return FAfterDrawValues; }
    void SetAfterDrawValues(TNotifyEvent value) { FAfterDrawValues = std::move(value); }
    const TSeriesClick& OnClick() const { return FOnClick; }
    void SetOnClick(TSeriesClick value) { FOnClick = std::move(value); }
    const TSeriesClick& OnDblClick() const { return FOnDblClick; }
    void SetOnDblClick(TSeriesClick value) { FOnDblClick = std::move(value); }
    const TSeriesOnGetMarkText& OnGetMarkText() const { return FOnGetMarkText; }
    void SetOnGetMarkText(TSeriesOnGetMarkText value) { FOnGetMarkText = std::move(value); }

    // Bytes held by the per-point stores (values, colours, texts), counting
    // unused capacity.
    std::size_t PointStorageBytes() const;

protected:
    template <class T>
    void Change(T& field, const T& value)
    {
        if (StoreIfChanged(field, value))
            RequestRepaint();
    }

    // Frees every point of every store (ClearPoints without the events).
    virtual void RemoveAllPointData();
    // After a point was stored at `index`: OnAfterAdd, dependents, repaint.
    virtual void NotifyPointAdded(int index);

    int FFirstVisible = -1;
    int FLastVisible = -1;

private:
    friend class TChartValueList;
    friend class TCustomAxisPanel;

    enum class SourceChange { Cleared, Inserted, Deleted, Modified };
    void NotifyDependents(SourceChange change, int index = -1);
    void ReactToSource(SourceChange change, int index);
    void CheckDataSource();
    void CopyPointsFrom(const TChartSeries& source);
    void LinkToSource();
    void UnlinkFromSource();
    void SortPointsBy(const TChartValueList& key);
    void CheckPointIndex(int index) const;
    TChartAxis* ResolvedAxis(TChartAxis* standard, TChartAxis* other, bool useOther, TChartAxis* custom,
                             bool useCustom) const;

    TChartValueLists FValuesLists;
    std::unique_ptr<TChartValueList> FXValues;
    std::unique_ptr<TChartValueList> FYValues;
    // Empty until a point has a colour of its own; index-aligned after.
    PointStore<TColor> FColors;
    std::size_t FPointColorCount = 0;  // stored colours other than clDefault
    PointLabels FLabels;
    TSeriesMarks FMarks{this};

    TCustomAxisPanel* FParentChart = nullptr;
    TChartAxis* FHorizontalAxis = nullptr;
    TChartAxis* FVerticalAxis = nullptr;
    TChartAxis* FCustomHorizAxis = nullptr;
    TChartAxis* FCustomVertAxis = nullptr;
    TChartSeries* FDataSource = nullptr;  // cleared by either side's destructor
    std::vector<TChartSeries*> FDependents;

    bool FActive = true;
    bool FColorEachPoint = false;
    TColor FSeriesColor = clDefault;
    THorizAxis FHorizAxis = aBottomAxis;
    TVertAxis FVertAxis = aLeftAxis;
    std::string FColorSource;
    std::string FXLabelsSource;
    TCursor FCursor = crDefault;
    std::string FPercentFormat = "##0.## %";
    std::string FValueFormat = "#,##0.###";
    bool FShowInLegend = true;
    std::string FTitle;
    int FZOrder = -1;

    TSeriesOnBeforeAdd FOnBeforeAdd;
    TSeriesOnAfterAdd FOnAfterAdd;
    TSeriesOnClear FOnClearValues;
    TNotifyEvent FBeforeDrawValues;
    TNotifyEvent FAfterDrawValues;
    TSeriesClick FOnClick;
    TSeriesClick FOnDblClick;
    TSeriesOnGetMarkText FOnGetMarkText;
};

// The series of a chart in the order they joined it. The chart fills it;
// series join and leave through TChartSeries::SetParentChart.
class TChartSeriesList {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    // EListError outside 0..Count-1.
    TChartSeries* Series(int index) const;
    TChartSeries* operator[](int index) const { return Series(index); }
    int IndexOf(const TChartSeries* series) const;
    int CountActive() const;
    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }

private:
    friend class TCustomAxisPanel;
    std::vector<TChartSeries*> FItems;
};

// Which end of the series' values SeriesMinMax asks for, and of which list.
enum class TMinMax { Smallest, Largest };
enum class TValueDimension { X, Y };

using TAxisOnGetLabel =
    std::function<void(TChartAxis* Sender, TChartSeries* Series, int ValueIndex, std::string& LabelText)>;
using TAxisOnGetNextLabel = std::function<void(TChartAxis* Sender, int LabelIndex, double& LabelValue, bool& Stop)>;

// The chart level that holds the series and the five axes.
class TCustomAxisPanel : public TCustomTeePanelExtended {
public:
    explicit TCustomAxisPanel(TWinControl* parent = nullptr);
    // Frees every series attached to it, all detached first, before the
    // axes go.
    ~TCustomAxisPanel() override;

    const TChartSeriesList& SeriesList() const { return FSeriesList; }
    int SeriesCount() const { return FSeriesList.Count(); }
    TChartSeries* Series(int index) const { return FSeriesList.Series(index); }
    // The same as series->SetParentChart(this).
    void AddSeries(TChartSeries* series);
    // Detaches `series` when it belongs to this chart; otherwise nothing.
    void RemoveSeries(TChartSeries* series);

    // The first palette entry that IsFreeSeriesColor accepts; entry 0 when
    // none does.
    TColor FreeSeriesColor() const;
    // Whether no series of the chart has `color` and it is not the chart's
    // background.
    virtual bool IsFreeSeriesColor(TColor color) const;

    TChartAxis* BottomAxis() const { return FBottomAxis; }
    TChartAxis* TopAxis() const { return FTopAxis; }
    TChartAxis* LeftAxis() const { return FLeftAxis; }
    TChartAxis* RightAxis() const { return FRightAxis; }
    TChartDepthAxis* DepthAxis() const { return FDepthAxis; }
    // Bottom, top, left, right and depth, then the axes added later.
    int AxisCount() const { return static_cast<int>(FAxes.size()); }
    TCustomChartAxis* Axis(int index) const;
    // Adds an axis that the chart owns, for series with aCustomHorizAxis or
    // aCustomVertAxis.
    TChartAxis* AddCustomAxis(bool horizontal);

    bool AxisVisible() const { return FAxisVisible; }
    void SetAxisVisible(bool value) { ChangeProperty(FAxisVisible, value); }
    // Axes drawn before the series (True) or on top of them.
    bool AxisBehind() const { return FAxisBehind; }
    void SetAxisBehind(bool value) { ChangeProperty(FAxisBehind, value); }

    // Whether `axis` is shown and takes space: AxisVisible, the axis'
    // Visible, and an active series that uses axes on it (the depth axis:
    // a 3D chart).
    bool IsAxisVisible(const TCustomChartAxis* axis) const;
    // The smallest or largest X or Y value of the series on `axis` (in the
    // asked role), counting only active ones unless no active series is on
    // the axis; series without points never count; 0 when none counts.
    double SeriesMinMax(const TCustomChartAxis* axis, TMinMax which, TValueDimension dimension) const;
    // Room that a 3D wall takes beside `axis`; 0 in a flat chart.
    virtual int WallSizeFor(const TCustomChartAxis* axis) const;
    bool View3DWalls() const { return FView3DWalls; }
    void SetView3DWalls(bool value) { ChangeProperty(FView3DWalls, value); }
    bool ClipPoints() const { return FClipPoints; }
    void SetClipPoints(bool value) { ChangeProperty(FClipPoints, value); }

    const TNotifyEvent& OnBeforeDrawAxes() const { return FOnBeforeDrawAxes; }
    void SetOnBeforeDrawAxes(TNotifyEvent value) { FOnBeforeDrawAxes = std::move(value); }
    const TNotifyEvent& OnBeforeDrawSeries() const { return FOnBeforeDrawSeries; }
    void SetOnBeforeDrawSeries(TNotifyEvent value) { FOnBeforeDrawSeries = std::move(value); }
    const TNotifyEvent& OnAfterDraw() const { return FOnAfterDraw; }
    void SetOnAfterDraw(TNotifyEvent value) { FOnAfterDraw = std::move(value); }
    const TAxisOnGetLabel& OnGetAxisLabel() const { return FOnGetAxisLabel; }
    void SetOnGetAxisLabel(TAxisOnGetLabel value) { FOnGetAxisLabel = std::move(value); }
    const TAxisOnGetNextLabel& OnGetNextAxisLabel() const { return FOnGetNextAxisLabel; }
    void SetOnGetNextAxisLabel(TAxisOnGetNextLabel value) { FOnGetNextAxisLabel = std::move(value); }

protected:
    // One paint: background and bevels, text blocks, axis layout, walls,
    // axes, series, in that order, then the drawing state is reset and
    // OnAfterDraw fires.
    void PaintChart(const TRect& rect) override;
    // Ranges of all axes, space for the visible ones, then positions.
    virtual void LayoutAxes();
    // The series' pixel margins applied to the top, left, right and bottom
    // axes, only at automatic ends.
    virtual void FitSeriesMargins();
    // Titles and legend; nothing at this level.
    virtual void DrawTextBlocks() {}
    // The walls around the plot; nothing at this level.
    virtual void PaintWalls() {}
    // One active series, clipped to the plot when ClipPoints.
    virtual void DrawSeries(TChartSeries& series);

private:
    friend class TChartSeries;

    void DrawAxes();

    // The chart's side of a series joining and leaving.
    void AdoptSeries(TChartSeries* series);
    void DropSeries(TChartSeries* series);
    template <class Axis, class... Args>
    Axis* AppendAxis(Args&&... args);

    TChartSeriesList FSeriesList;
    std::vector<std::unique_ptr<TCustomChartAxis>> FAxes;
    TChartAxis* FBottomAxis;
    TChartAxis* FTopAxis;
    TChartAxis* FLeftAxis;
    TChartAxis* FRightAxis;
    TChartDepthAxis* FDepthAxis;

    bool FAxisVisible = true;
    bool FAxisBehind = true;
    bool FView3DWalls = true;
    bool FClipPoints = true;
    TNotifyEvent FOnBeforeDrawAxes;
    TNotifyEvent FOnBeforeDrawSeries;
    TNotifyEvent FOnAfterDraw;
    TAxisOnGetLabel FOnGetAxisLabel;
    TAxisOnGetNextLabel FOnGetNextAxisLabel;
};
