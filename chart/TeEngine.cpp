// Series, the series list and the axis panel.
#include "chart/TeEngine.h"

#include "chart/TeCanvas.h"

#include <algorithm>
#include <numeric>
#include <type_traits>

TColor DefaultPaletteColor(int index)
{
    const int size = static_cast<int>(kDefaultPalette.size());
    return kDefaultPalette[static_cast<std::size_t>(((index % size) + size) % size)];
}

void TSeriesMarks::SetVisible(bool value)
{
    if (value == FVisible)
        return;
    FVisible = value;
    FOwner->RequestRepaint();
}

void TSeriesMarks::SetArrowLength(int value)
{
    if (value == FArrowLength)
        return;
    FArrowLength = value;
    FOwner->RequestRepaint();
}

TChartSeries::TChartSeries(TComponent* AOwner) : TComponent(AOwner)
{
    FXValues = std::make_unique<TChartValueList>(this, "X");
    FXValues->SetOrder(loAscending);
    FYValues = std::make_unique<TChartValueList>(this, "Y");
}

TChartSeries::~TChartSeries()
{
    for (TChartSeries* dependent : FDependents)
        dependent->FDataSource = nullptr;
    UnlinkFromSource();
    if (FParentChart != nullptr)
        FParentChart->DropSeries(this);
    RemoveAllPointData();
}

void TChartSeries::Assign(const TChartSeries& source)
{
    if (&source == this)
        return;
    FActive = source.FActive;
    FColorEachPoint = source.FColorEachPoint;
    FColorSource = source.FColorSource;
    FXLabelsSource = source.FXLabelsSource;
    FCursor = source.FCursor;
    FHorizAxis = source.FHorizAxis;
    FVertAxis = source.FVertAxis;
    FMarks.SetVisible(source.FMarks.Visible());
    FMarks.SetArrowLength(source.FMarks.ArrowLength());
    FPercentFormat = source.FPercentFormat;
    FValueFormat = source.FValueFormat;
    FSeriesColor = source.FSeriesColor;
    FShowInLegend = source.FShowInLegend;
    FTitle = source.FTitle;
    FZOrder = source.FZOrder;
    FXValues->Assign(*source.FXValues);
    FYValues->Assign(*source.FYValues);
    ResolveAxes();
    RequestRepaint();
}

int TChartSeries::AddPoint(double x, double y, const std::string& label, TColor color)
{
    FXValues->SetPendingValue(x);
    FYValues->SetPendingValue(y);
    if (FOnBeforeAdd && !FOnBeforeAdd(this))
        return -1;
    // Everything that can fail to allocate does so before the first store
    // changes, so the stores can never end up with different lengths.
    const double newX = FXValues->PendingValue();
    const double newY = FYValues->PendingValue();
    // A reading as a monitor adds them: at the end, without a text or a
    // colour of its own, and with room already there.
    if (label.empty() && color == clDefault && FColors.empty() && FLabels.Empty() &&
        FXValues->CanAppendInPlace(newX, true) && FYValues->CanAppendInPlace(newY, false)) {
        const int index = FXValues->AppendInPlace(newX);
        FYValues->AppendInPlace(newY);
        NotifyPointAdded(index);
        return index;
    }
    const std::size_t at = FXValues->OrderedIndex(newX);
    FXValues->PrepareInsert(at, newX);
    FYValues->PrepareInsert(at, newY);
    const bool keepColor = !FColors.empty() || color != clDefault;
    if (FColors.empty() && keepColor) {
        // The first colour of its own: every point so far gets its
        // clDefault stored too.
        FColors.reserve(static_cast<std::size_t>(PointCount()) + 1);
        for (int i = 0; i < PointCount(); ++i)
            FColors.push_back(clDefault);
    }
    if (keepColor)
        ReserveOneMore(FColors);
    const std::uint32_t labelSlot = FLabels.Prepare(PointCount(), label);

    const auto index = static_cast<int>(at);
    FXValues->InsertAt(index, newX);
    FYValues->InsertAt(index, newY);
    if (keepColor) {
        FColors.insert(static_cast<std::size_t>(index), color);
        FPointColorCount += color != clDefault;
    }
    FLabels.Commit(index, labelSlot);
    NotifyPointAdded(index);
    return index;
}

void TChartSeries::NotifyPointAdded(int index)
{
    if (FOnAfterAdd)
        FOnAfterAdd(this, index);
    if (!FDependents.empty())
        NotifyDependents(SourceChange::Inserted, index);
    if (FActive)
        RequestRepaint();
}

void TChartSeries::RemoveAllPointData()
{
    for (TChartValueList* list : FValuesLists)
        list->RemoveAllValues();
    FColors.release();
    FPointColorCount = 0;
    FLabels.Clear();
}

void TChartSeries::ClearPoints()
{
    RemoveAllPointData();
    if (FOnClearValues)
        FOnClearValues(this);
    NotifyDependents(SourceChange::Cleared);
    if (FActive && FParentChart != nullptr && !FParentChart->Destroying())
        RequestRepaint();
}

void TChartSeries::CheckPointIndex(int index) const
{
    if (index < 0 || index >= PointCount())
        throw EListError(index);
}

void TChartSeries::DeletePoint(int index)
{
    CheckPointIndex(index);
    // Whatever a list needs allocated before it can delete, before any
    // list changes.
    for (TChartValueList* list : FValuesLists)
        list->PrepareDelete(static_cast<std::size_t>(index));
    for (TChartValueList* list : FValuesLists)
        list->DeleteAt(index);
    if (index < static_cast<int>(FColors.size())) {
        FPointColorCount -= FColors[static_cast<std::size_t>(index)] != clDefault;
        FColors.erase(static_cast<std::size_t>(index));
    }
    FLabels.Delete(index);
    NotifyDependents(SourceChange::Deleted, index);
    if (FActive)
        RequestRepaint();
}

TColor TChartSeries::PointColor(int index) const
{
    if (index < 0 || index >= PointCount())
        return FSeriesColor;
    const TColor color = StoredColor(index);
    if (color != clDefault)
        return color;
    return FColorEachPoint ? DefaultPaletteColor(index) : FSeriesColor;
}

const std::string& TChartSeries::PointLabel(int index) const
{
    CheckPointIndex(index);
    return FLabels.At(index);
}

void TChartSeries::HorizMargins(int& left, int& right) const
{
    left = 0;
    right = 0;
}

void TChartSeries::VertMargins(int& top, int& bottom) const
{
    top = 0;
    bottom = 0;
}

TChartAxis* TChartSeries::ResolvedAxis(TChartAxis* standard, TChartAxis* other, bool useOther, TChartAxis* custom,
                                       bool useCustom) const
{
    if (useOther)
        return other;
    if (useCustom && custom != nullptr) {
        // Compared by address only: an axis of a chart that is gone is never
        // touched.
        for (int i = 0; i < FParentChart->AxisCount(); ++i) {
            if (FParentChart->Axis(i) == custom)
                return custom;
        }
    }
    return standard;
}

void TChartSeries::ResolveAxes()
{
    if (FParentChart == nullptr) {
        FHorizontalAxis = nullptr;
        FVerticalAxis = nullptr;
        return;
    }
    FHorizontalAxis = ResolvedAxis(FParentChart->BottomAxis(), FParentChart->TopAxis(), FHorizAxis == aTopAxis,
                                   FCustomHorizAxis, FHorizAxis == aCustomHorizAxis);
    FVerticalAxis = ResolvedAxis(FParentChart->LeftAxis(), FParentChart->RightAxis(), FVertAxis == aRightAxis,
                                 FCustomVertAxis, FVertAxis == aCustomVertAxis);
}

bool TChartSeries::AssociatedToAxis(const TCustomChartAxis* axis) const
{
    if (axis->IsHorizontal())
        return FHorizAxis == aBothHorizAxis || axis == FHorizontalAxis;
    return FVertAxis == aBothVertAxis || axis == FVerticalAxis;
}

void TChartSeries::RequestRepaint() const
{
    if (FParentChart != nullptr)
        FParentChart->Invalidate();
}

void TChartSeries::FindVisibleRange()
{
    const int count = PointCount();
    FFirstVisible = count > 0 ? 0 : -1;
    FLastVisible = count - 1;
}

void TChartSeries::DrawAllPoints()
{
    for (int i = FFirstVisible; i >= 0 && i <= FLastVisible; ++i)
        DrawPoint(i);
}

void TChartSeries::DrawPoint(int) {}

void TChartSeries::DoBeforeDrawValues()
{
    if (FBeforeDrawValues)
        FBeforeDrawValues(this);
}

void TChartSeries::DoAfterDrawValues()
{
    if (FAfterDrawValues)
        FAfterDrawValues(this);
}

void TChartSeries::SetActive(bool value)
{
    Change(FActive, value);
}

void TChartSeries::SetColorEachPoint(bool value)
{
    Change(FColorEachPoint, value);
    if (value)
        return;
    // Every point is reset, each asking for its repaint; none keeps a
    // colour of its own after, so none keeps storage for one.
    for (int i = 0; i < PointCount(); ++i)
        RequestRepaint();
    FColors.release();
    FPointColorCount = 0;
}

void TChartSeries::SetSeriesColor(TColor value)
{
    Change(FSeriesColor, value);
}

void TChartSeries::SetParentChart(TCustomAxisPanel* chart)
{
    if (chart == FParentChart)
        return;
    if (FParentChart != nullptr)
        FParentChart->DropSeries(this);
    FParentChart = chart;
    ResolveAxes();
    if (chart != nullptr)
        chart->AdoptSeries(this);
}

void TChartSeries::SetHorizAxis(THorizAxis value)
{
    if (value == FHorizAxis)
        return;
    FHorizAxis = value;
    ResolveAxes();
    RequestRepaint();
}

void TChartSeries::SetVertAxis(TVertAxis value)
{
    if (value == FVertAxis)
        return;
    FVertAxis = value;
    ResolveAxes();
    RequestRepaint();
}

void TChartSeries::SetCustomHorizAxis(TChartAxis* value)
{
    if (value == FCustomHorizAxis)
        return;
    FCustomHorizAxis = value;
    ResolveAxes();
    RequestRepaint();
}

void TChartSeries::SetCustomVertAxis(TChartAxis* value)
{
    if (value == FCustomVertAxis)
        return;
    FCustomVertAxis = value;
    ResolveAxes();
    RequestRepaint();
}

void TChartSeries::SetXValues(const TChartValueList& source)
{
    FXValues->Assign(source);
    RequestRepaint();
}

void TChartSeries::SetYValues(const TChartValueList& source)
{
    FYValues->Assign(source);
    RequestRepaint();
}

void TChartSeries::SetColorSource(const std::string& value)
{
    if (value == FColorSource)
        return;
    FColorSource = value;
    CheckDataSource();
}

void TChartSeries::SetXLabelsSource(const std::string& value)
{
    if (value == FXLabelsSource)
        return;
    FXLabelsSource = value;
    CheckDataSource();
}

std::size_t TChartSeries::PointStorageBytes() const
{
    std::size_t bytes = FColors.capacity() * sizeof(TColor) + FLabels.StorageBytes();
    for (const TChartValueList* list : FValuesLists)
        bytes += list->StorageBytes();
    return bytes;
}

void TChartSeries::SortPointsBy(const TChartValueList& key)
{
    for (TChartValueList* list : FValuesLists)
        list->HoldValues();
    const ValueStore& values = key.FValues;
    std::vector<int> order(values.size());
    std::iota(order.begin(), order.end(), 0);
    const auto index = [](int i) { return static_cast<std::size_t>(i); };
    if (key.Order() == loAscending)
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return values[index(a)] < values[index(b)]; });
    else
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return values[index(a)] > values[index(b)]; });

    const auto permute = [&](auto& store) {
        std::remove_reference_t<decltype(store)> permuted;
        for (int from : order)
            permuted.push_back(store[index(from)]);
        store.swap(permuted);
    };
    for (TChartValueList* list : FValuesLists) {
        permute(list->FValues);
        list->StaleFrom(0);
        list->RecountOrder();
        list->FStatsDirty = true;
    }
    if (FColors.size() == order.size())
        permute(FColors);
    FLabels.Permute(order);
    NotifyDependents(SourceChange::Modified);
    RequestRepaint();
}

// ---- Data sources and dependent series

void TChartSeries::SetDataSource(TChartSeries* value)
{
    if (value == FDataSource)
        return;
    for (TChartSeries* source = value; source != nullptr; source = source->DataSource()) {
        if (source == this)
            throw ChartException("A series cannot take its data from itself");
    }
    UnlinkFromSource();
    FDataSource = value;
    CheckDataSource();
}

void TChartSeries::LinkToSource()
{
    if (FDataSource == nullptr)
        return;
    auto& dependents = FDataSource->FDependents;
    if (std::find(dependents.begin(), dependents.end(), this) == dependents.end())
        dependents.push_back(this);
}

void TChartSeries::UnlinkFromSource()
{
    if (FDataSource == nullptr)
        return;
    auto& dependents = FDataSource->FDependents;
    dependents.erase(std::remove(dependents.begin(), dependents.end(), this), dependents.end());
}

void TChartSeries::CheckDataSource()
{
    // A series follows its source only while it is in a chart.
    if (FDataSource == nullptr || FParentChart == nullptr)
        return;
    LinkToSource();
    CopyPointsFrom(*FDataSource);
}

void TChartSeries::CopyPointsFrom(const TChartSeries& source)
{
    RemoveAllPointData();
    for (int i = 0; i < source.PointCount(); ++i)
        AddPoint(source.XValue(i), source.YValue(i), source.PointLabel(i), source.StoredColor(i));
    RequestRepaint();
}

void TChartSeries::NotifyDependents(SourceChange change, int index)
{
    // A dependent's reaction may change this list (a handler detaching a
    // series, say), so walk a copy.
    if (FDependents.empty())
        return;
    const std::vector<TChartSeries*> dependents = FDependents;
    for (TChartSeries* dependent : dependents)
        dependent->ReactToSource(change, index);
}

void TChartSeries::ReactToSource(SourceChange change, int index)
{
    const TChartSeries* source = FDataSource;
    if (source == nullptr)
        return;
    switch (change) {
    case SourceChange::Cleared:
        ClearPoints();
        break;
    case SourceChange::Inserted:
        AddPoint(source->XValue(index), source->YValue(index), source->PointLabel(index),
                 source->StoredColor(index));
        break;
    case SourceChange::Deleted:
        if (index < PointCount())
            DeletePoint(index);
        break;
    case SourceChange::Modified:
        CopyPointsFrom(*source);
        break;
    }
}

// ---- The series list and the axis panel

TChartSeries* TChartSeriesList::Series(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(index);
    return FItems[static_cast<std::size_t>(index)];
}

int TChartSeriesList::IndexOf(const TChartSeries* series) const
{
    const auto found = std::find(FItems.begin(), FItems.end(), series);
    return found == FItems.end() ? -1 : static_cast<int>(found - FItems.begin());
}

int TChartSeriesList::CountActive() const
{
    return static_cast<int>(std::count_if(FItems.begin(), FItems.end(), [](const TChartSeries* s) { return s->Active(); }));
}

template <class Axis, class... Args>
Axis* TCustomAxisPanel::AppendAxis(Args&&... args)
{
    auto axis = std::make_unique<Axis>(this, std::forward<Args>(args)...);
    Axis* result = axis.get();
    FAxes.push_back(std::move(axis));
    return result;
}

TCustomAxisPanel::TCustomAxisPanel(TWinControl* parent) : TCustomTeePanelExtended(parent)
{
    FBottomAxis = AppendAxis<TChartAxis>(true, false);
    FTopAxis = AppendAxis<TChartAxis>(true, true);
    FLeftAxis = AppendAxis<TChartAxis>(false, false);
    FRightAxis = AppendAxis<TChartAxis>(false, true);
    FDepthAxis = AppendAxis<TChartDepthAxis>();
}

TCustomAxisPanel::~TCustomAxisPanel()
{
    BeginDestroy();
    // All are detached before any is freed, so that freeing one reaches
    // neither this chart nor a series freed before it.
    const std::vector<TChartSeries*> attached = std::move(FSeriesList.FItems);
    FSeriesList.FItems.clear();
    for (TChartSeries* series : attached) {
        series->UnlinkFromSource();
        series->FParentChart = nullptr;
        series->ResolveAxes();
    }
    for (TChartSeries* series : attached)
        delete series;
}

void TCustomAxisPanel::AddSeries(TChartSeries* series)
{
    series->SetParentChart(this);
}

void TCustomAxisPanel::RemoveSeries(TChartSeries* series)
{
    if (series->ParentChart() == this)
        series->SetParentChart(nullptr);
}

void TCustomAxisPanel::AdoptSeries(TChartSeries* series)
{
    if (FSeriesList.IndexOf(series) >= 0)
        return;
    if (series->SeriesColor() == clDefault)
        series->SetSeriesColor(FreeSeriesColor());
    series->FParentChart = this;
    series->CheckDataSource();
    FSeriesList.FItems.push_back(series);
    Invalidate();
}

void TCustomAxisPanel::DropSeries(TChartSeries* series)
{
    auto& items = FSeriesList.FItems;
    const auto found = std::find(items.begin(), items.end(), series);
    if (found == items.end())
        return;
    series->UnlinkFromSource();
    series->FParentChart = nullptr;
    if (ShownCursor() == series->Cursor())
        RestoreCursor();
    items.erase(found);
    Invalidate();
}

TColor TCustomAxisPanel::FreeSeriesColor() const
{
    for (TColor color : kDefaultPalette) {
        if (IsFreeSeriesColor(color))
            return color;
    }
    return kDefaultPalette[0];
}

bool TCustomAxisPanel::IsFreeSeriesColor(TColor color) const
{
    if (color == Color())
        return false;
    return std::none_of(FSeriesList.begin(), FSeriesList.end(),
                        [color](const TChartSeries* s) { return s->SeriesColor() == color; });
}

TCustomChartAxis* TCustomAxisPanel::Axis(int index) const
{
    if (index < 0 || index >= AxisCount())
        throw EListError(index);
    return FAxes[static_cast<std::size_t>(index)].get();
}

TChartAxis* TCustomAxisPanel::AddCustomAxis(bool horizontal)
{
    return AppendAxis<TChartAxis>(horizontal, false);
}

bool TCustomAxisPanel::IsAxisVisible(const TCustomChartAxis* axis) const
{
    if (!FAxisVisible || !axis->Visible())
        return false;
    if (axis->IsDepth())
        return View3D();
    return std::any_of(FSeriesList.begin(), FSeriesList.end(), [axis](const TChartSeries* s) {
        return s->Active() && s->UsesAxes() && s->AssociatedToAxis(axis);
    });
}

namespace {

// Whether `series` is on `axis` in the role of its X or its Y values.
bool OnAxisAs(const TChartSeries& series, const TCustomChartAxis* axis, TValueDimension dimension)
{
    if (dimension == TValueDimension::X)
        return series.HorizAxis() == aBothHorizAxis || series.HorizontalAxis() == axis;
    return series.VertAxis() == aBothVertAxis || series.VerticalAxis() == axis;
}

}  // namespace

double TCustomAxisPanel::SeriesMinMax(const TCustomChartAxis* axis, TMinMax which, TValueDimension dimension) const
{
    // Hidden series still give the range of an axis that no shown series
    // uses, so that the axis does not collapse when they are switched off.
    const bool anyActive = std::any_of(FSeriesList.begin(), FSeriesList.end(), [axis](const TChartSeries* s) {
        return s->Active() && s->AssociatedToAxis(axis);
    });
    bool found = false;
    double result = 0;
    for (const TChartSeries* series : FSeriesList) {
        if (series->PointCount() == 0 || (anyActive && !series->Active()) || !OnAxisAs(*series, axis, dimension))
            continue;
        double value = 0;
        if (dimension == TValueDimension::X)
            value = which == TMinMax::Smallest ? series->LowestX() : series->HighestX();
        else
            value = which == TMinMax::Smallest ? series->LowestY() : series->HighestY();
        if (!found || (which == TMinMax::Smallest ? value < result : value > result))
            result = value;
        found = true;
    }
    return result;
}

int TCustomAxisPanel::WallSizeFor(const TCustomChartAxis*) const
{
    return 0;
}

void TCustomAxisPanel::PaintChart(const TRect& rect)
{
    TTeeCanvas3D& canvas = Canvas();
    PaintBackground(rect);
    for (TChartSeries* series : FSeriesList) {
        if (series->Active())
            series->DoBeforeDrawChart();
    }
    canvas.BeginFrontPlane();
    DrawTextBlocks();
    canvas.EndFrontPlane();
    LayoutAxes();
    FitSeriesMargins();
    canvas.SetProjection(0, ChartBoundsRect(), PlotRect());
    PaintWalls();
    if (FAxisVisible && FAxisBehind)
        DrawAxes();
    if (FOnBeforeDrawSeries)
        FOnBeforeDrawSeries(this);
    // Drawing hooks may change the list (a handler removing a series):
    // walk a copy.
    const std::vector<TChartSeries*> series = FSeriesList.FItems;
    for (TChartSeries* one : series) {
        if (one->Active())
            DrawSeries(*one);
    }
    if (FAxisVisible && !FAxisBehind)
        DrawAxes();
    canvas.ResetDrawingState();
    if (FOnAfterDraw)
        FOnAfterDraw(this);
}

void TCustomAxisPanel::LayoutAxes()
{
    for (const auto& axis : FAxes)
        axis->AdjustRange();
    NormalizePlotRect();
    TRect work = PlotRect();
    for (const auto& axis : FAxes) {
        if (!IsAxisVisible(axis.get()))
            continue;
        TRect reduced = work;
        axis->ReserveSpace(reduced);
        const TRect common{std::max(work.Left, reduced.Left), std::max(work.Top, reduced.Top),
                           std::min(work.Right, reduced.Right), std::min(work.Bottom, reduced.Bottom)};
        if (common.Right > common.Left && common.Bottom > common.Top)
            work = common;
    }
    SetPlotRect(work);
    for (const auto& axis : FAxes)
        axis->ComputePositions();
}

void TCustomAxisPanel::FitSeriesMargins()
{
    for (TCustomChartAxis* axis : {static_cast<TCustomChartAxis*>(FTopAxis), static_cast<TCustomChartAxis*>(FLeftAxis),
                                   static_cast<TCustomChartAxis*>(FRightAxis),
                                   static_cast<TCustomChartAxis*>(FBottomAxis)}) {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
        for (const TChartSeries* series : FSeriesList) {
            if (!series->Active() || !series->AssociatedToAxis(axis))
                continue;
            int a = 0;
            int b = 0;
            if (axis->IsHorizontal()) {
                series->HorizMargins(a, b);
                if (axis->AutomaticMinimum())
                    left = std::max(left, a);
                if (axis->AutomaticMaximum())
                    right = std::max(right, b);
            } else {
                series->VertMargins(a, b);
                if (axis->AutomaticMaximum())
                    top = std::max(top, a);
                if (axis->AutomaticMinimum())
                    bottom = std::max(bottom, b);
            }
        }
        axis->ApplySeriesMargins(left, top, right, bottom);
    }
}

void TCustomAxisPanel::DrawAxes()
{
    if (FOnBeforeDrawAxes)
        FOnBeforeDrawAxes(this);
    for (const auto& axis : FAxes) {
        if (IsAxisVisible(axis.get()))
            axis->DrawAxis();
    }
}

void TCustomAxisPanel::DrawSeries(TChartSeries& series)
{
    series.FindVisibleRange();
    if (series.FirstVisible() == -1)
        return;
    series.DoBeforeDrawValues();
    TTeeCanvas3D& canvas = Canvas();
    if (FClipPoints)
        canvas.ClipPlot(PlotRect(), 0, 0);
    series.DrawAllPoints();
    if (FClipPoints)
        canvas.Unclip();
    series.DoAfterDrawValues();
}
