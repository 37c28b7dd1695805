// Value lists and their collection.
#include "chart/TeEngine.h"

#include <algorithm>
#include <cmath>

TChartValueList::TChartValueList(TChartSeries* owner, std::string name) : FOwner(owner), FName(std::move(name))
{
    FOwner->FValuesLists.FItems.push_back(this);
}

TChartValueList::~TChartValueList()
{
    auto& lists = FOwner->FValuesLists.FItems;
    lists.erase(std::remove(lists.begin(), lists.end(), this), lists.end());
}

void TChartValueList::Assign(const TChartValueList& source)
{
    FOrder = source.FOrder;
    FDateTime = source.FDateTime;
    FMultiplier = source.FMultiplier;
    FValueSource = source.FValueSource;
    FStatsDirty = true;
}

void TChartValueList::CheckIndex(int index) const
{
    if (index < 0 || index >= static_cast<int>(FValues.size()))
        throw EListError(index);
}

double TChartValueList::ValueAt(int index) const
{
    CheckIndex(index);
    return FValues[static_cast<std::size_t>(index)] * FMultiplier;
}

std::size_t TChartValueList::UnorderedPairs(std::size_t first, std::size_t last) const
{
    std::size_t count = 0;
    for (std::size_t i = first; i < last && i + 1 < FValues.size(); ++i)
        count += !(FValues[i] <= FValues[i + 1]);
    return count;
}

namespace {

// The first neighbour pair that a change at `index` can touch.
std::size_t PairsFrom(std::size_t index)
{
    return index > 0 ? index - 1 : 0;
}

}  // namespace

void TChartValueList::SetValueAt(int index, double value)
{
    CheckIndex(index);
    const auto at = static_cast<std::size_t>(index);
    FUnorderedPairs -= UnorderedPairs(PairsFrom(at), at + 1);
    FValues[at] = value;
    FUnorderedPairs += UnorderedPairs(PairsFrom(at), at + 1);
    FStatsDirty = true;
    FOwner->NotifyDependents(TChartSeries::SourceChange::Modified);
}

void TChartValueList::RemoveAllValues()
{
    FValues.release();
    FUnorderedPairs = 0;
    FStatsDirty = true;
}

int TChartValueList::AppendOrdered(double value)
{
    const int count = static_cast<int>(FValues.size());
    int index = count;
    if (count > 0 && FOrder == loAscending && FValues.back() > value) {
        while (index > 0 && FValues[static_cast<std::size_t>(index - 1)] > value)
            --index;
    } else if (count > 0 && FOrder == loDescending && FValues.back() < value) {
        while (index > 0 && FValues[static_cast<std::size_t>(index - 1)] < value)
            --index;
    }
    ReserveOneMore(FValues);
    InsertValue(static_cast<std::size_t>(index), value);
    StatsAfterInsert(index, value);
    return index;
}

void TChartValueList::InsertValue(std::size_t index, double value)
{
    FUnorderedPairs -= UnorderedPairs(PairsFrom(index), index);
    FValues.insert(index, value);
    FUnorderedPairs += UnorderedPairs(PairsFrom(index), index + 1);
}

void TChartValueList::InsertAt(int index, double value)
{
    if (index < 0 || index > static_cast<int>(FValues.size()))
        throw EListError(index);
    ReserveOneMore(FValues);
    InsertValue(static_cast<std::size_t>(index), value);
    StatsAfterInsert(index, value);
}

void TChartValueList::StatsAfterInsert(int index, double value)
{
    // A value appended to a list whose statistics are current extends them
    // exactly as a full recount would (the recount adds in index order too),
    // so a chart that reads them after every reading never rescans.
    if (FStatsDirty || index == 0 || index != Count() - 1) {
        FStatsDirty = true;
        return;
    }
    const double v = value * FMultiplier;
    if (v < FLowestValue)
        FLowestValue = v;
    else if (v > FHighestValue)
        FHighestValue = v;
    FSumOfValues += v;
    FSumOfMagnitudes += std::fabs(v);
}

int TChartValueList::Count() const
{
    return static_cast<int>(FValues.size());
}

void TChartValueList::DeleteAt(int index)
{
    CheckIndex(index);
    const auto at = static_cast<std::size_t>(index);
    FUnorderedPairs -= UnorderedPairs(PairsFrom(at), at + 1);
    FValues.erase(at);
    FUnorderedPairs += UnorderedPairs(PairsFrom(at), at);
    FStatsDirty = true;
}

void TChartValueList::RotateLeft()
{
    if (FValues.size() > 1)
        std::rotate(FValues.begin(), FValues.begin() + 1, FValues.end());
    RecountOrder();
}

double TChartValueList::Last() const
{
    return ValueAt(Count() - 1);
}

int TChartValueList::IndexOfValue(double value) const
{
    for (int i = 0; i < Count(); ++i) {
        if (ValueAt(i) == value)
            return i;
    }
    return -1;
}

void TChartValueList::SortByOrder()
{
    if (FOrder != loNone)
        FOwner->SortPointsBy(*this);
}

void TChartValueList::SetDateTime(bool value)
{
    if (value == FDateTime)
        return;
    FDateTime = value;
    FOwner->RequestRepaint();
}

void TChartValueList::SetMultiplier(double value)
{
    if (value == FMultiplier)
        return;
    FMultiplier = value;
    FStatsDirty = true;
    FOwner->NotifyDependents(TChartSeries::SourceChange::Modified);
    FOwner->RequestRepaint();
}

void TChartValueList::SetValueSource(const std::string& value)
{
    if (value == FValueSource)
        return;
    FValueSource = value;
    FOwner->CheckDataSource();
}

void TChartValueList::RecalcStats() const
{
    FLowestValue = FHighestValue = FSumOfValues = FSumOfMagnitudes = 0;
    const int count = Count();
    if (count > 0) {
        const double first = ValueAt(0);
        FLowestValue = FHighestValue = FSumOfValues = first;
        FSumOfMagnitudes = std::fabs(first);
        for (int i = 1; i < count; ++i) {
            const double v = ValueAt(i);
            if (v < FLowestValue)
                FLowestValue = v;
            else if (v > FHighestValue)
                FHighestValue = v;
            FSumOfValues += v;
            FSumOfMagnitudes += std::fabs(v);
        }
    }
    FStatsDirty = false;
}

double TChartValueList::LowestValue() const
{
    if (FStatsDirty)
        RecalcStats();
    return FLowestValue;
}

double TChartValueList::HighestValue() const
{
    if (FStatsDirty)
        RecalcStats();
    return FHighestValue;
}

double TChartValueList::SumOfValues() const
{
    if (FStatsDirty)
        RecalcStats();
    return FSumOfValues;
}

double TChartValueList::SumOfMagnitudes() const
{
    if (FStatsDirty)
        RecalcStats();
    return FSumOfMagnitudes;
}

TChartValueList* TChartValueLists::ValueList(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(index);
    return FItems[static_cast<std::size_t>(index)];
}

int TChartValueList::FirstNotBelow(int from, int to, double limit) const
{
    while (from < to) {
        const int middle = from + (to - from) / 2;
        if (ValueAt(middle) < limit)
            from = middle + 1;
        else
            to = middle;
    }
    return from;
}
