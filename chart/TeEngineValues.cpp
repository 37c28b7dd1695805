// Value lists and their collection.
#include "chart/TeEngine.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

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
    if (index < 0 || index >= Size())
        throw EListError(index);
}

double TChartValueList::ValueAt(int index) const
{
    CheckIndex(index);
    return RawAt(static_cast<std::size_t>(index)) * FMultiplier;
}

std::size_t TChartValueList::UnorderedPairs(std::size_t first, std::size_t last) const
{
    if (FIndexes)
        return 0;
    std::size_t count = 0;
    for (std::size_t i = first; i < last && i + 1 < FValues.size(); ++i)
        count += !(FValues[i] <= FValues[i + 1]);
    return count;
}

void TChartValueList::HoldValues()
{
    if (!FIndexes)
        return;
    ValueStore values;
    for (std::size_t i = 0; i < FIndexCount; ++i)
        values.push_back(static_cast<double>(i));
    FValues.swap(values);
    FIndexes = false;
    FIndexCount = 0;
}

void TChartValueList::PrepareInsert(std::size_t index, double value)
{
    if (FIndexes && index == FIndexCount && IsNextIndex(value))
        return;
    HoldValues();
    FValues.ReserveOneMore();
    FValues.PrepareChange(index, FValues.size());
}

void TChartValueList::PrepareDelete(std::size_t index)
{
    if (FIndexes && index + 1 == FIndexCount)
        return;
    HoldValues();
    FValues.PrepareChange(index, FValues.size());
}

std::size_t TChartValueList::OrderedIndex(double value) const
{
    auto index = static_cast<std::size_t>(Size());
    if (FOrder == loAscending) {
        while (index > 0 && RawAt(index - 1) > value)
            --index;
    } else if (FOrder == loDescending) {
        while (index > 0 && RawAt(index - 1) < value)
            --index;
    }
    return index;
}

std::size_t TChartValueList::StorageBytes() const
{
    return FValues.StorageBytes() + FBlockExtremes.capacity() * sizeof(double);
}

namespace {

// The smallest and largest of `count` values (count > 0), false when one is
// not a number. Four lanes, so that no compare waits for the one before.
bool ValueRange(const double* values, std::size_t count, double& smallest, double& largest)
{
    double low[4] = {values[0], values[0], values[0], values[0]};
    double high[4] = {values[0], values[0], values[0], values[0]};
    unsigned nan = 0;
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        for (int lane = 0; lane < 4; ++lane) {
            const double v = values[i + static_cast<std::size_t>(lane)];
            nan |= v != v;
            low[lane] = v < low[lane] ? v : low[lane];
            high[lane] = v > high[lane] ? v : high[lane];
        }
    }
    for (; i < count; ++i) {
        nan |= values[i] != values[i];
        low[0] = values[i] < low[0] ? values[i] : low[0];
        high[0] = values[i] > high[0] ? values[i] : high[0];
    }
    smallest = std::min(std::min(low[0], low[1]), std::min(low[2], low[3]));
    largest = std::max(std::max(high[0], high[1]), std::max(high[2], high[3]));
    return nan == 0;
}

}  // namespace

bool TChartValueList::RawRange(std::size_t first, std::size_t last, double& smallest, double& largest) const
{
    if (FIndexes) {
        smallest = static_cast<double>(first);
        largest = static_cast<double>(last);
        return true;
    }
    bool numbers = true;
    bool any = false;
    const auto take = [&](double low, double high, bool ok) {
        numbers = numbers && ok;
        smallest = any && smallest < low ? smallest : low;
        largest = any && largest > high ? largest : high;
        any = true;
    };
    // Raw values, a chunk's piece at a time.
    double buffer[kSummaryBlock];
    const auto scan = [&](std::size_t from, std::size_t to) {
        while (from < to) {
            // Unpacking no more than is asked for: a column's edges ask for
            // a few values.
            const std::size_t wanted = std::min(to - from, kSummaryBlock);
            const std::span<const double> piece = FValues.Piece(from, std::span(buffer).first(wanted));
            const std::size_t count = std::min(piece.size(), to - from);
            double low = 0;
            double high = 0;
            const bool ok = ValueRange(piece.data(), count, low, high);
            take(low, high, ok);
            from += count;
        }
    };
    const std::size_t firstBlock = (first + kSummaryBlock - 1) / kSummaryBlock;
    const std::size_t endBlock = (last + 1) / kSummaryBlock;
    if (endBlock <= firstBlock) {
        scan(first, last + 1);
        return numbers;
    }
    // Summarise what is not yet; without the memory for it, read the values.
    const std::size_t wanted = FValues.size() / kSummaryBlock;
    try {
        FBlockExtremes.reserve(2 * wanted);
    } catch (const std::bad_alloc&) {
        scan(first, last + 1);
        return numbers;
    }
    FBlockExtremes.resize(2 * FSummarised);
    for (; FSummarised < wanted; ++FSummarised) {
        double low = 0;
        double high = 0;
        // Blocks never straddle chunks, so this is the whole block.
        const std::span<const double> block = FValues.Piece(FSummarised * kSummaryBlock, buffer);
        if (!ValueRange(block.data(), kSummaryBlock, low, high))
            low = high = std::nan("");
        FBlockExtremes.push_back(low);
        FBlockExtremes.push_back(high);
    }
    scan(first, firstBlock * kSummaryBlock);
    for (std::size_t block = firstBlock; block < endBlock; ++block) {
        const double low = FBlockExtremes[2 * block];
        const double high = FBlockExtremes[2 * block + 1];
        take(low, high, low == low);
    }
    scan(endBlock * kSummaryBlock, last + 1);
    return numbers;
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
    HoldValues();
    const auto at = static_cast<std::size_t>(index);
    FValues.PrepareChange(at, at + 1);
    StaleFrom(at);
    FUnorderedPairs -= UnorderedPairs(PairsFrom(at), at + 1);
    FValues.Set(at, value);
    FUnorderedPairs += UnorderedPairs(PairsFrom(at), at + 1);
    FStatsDirty = true;
    FOwner->NotifyDependents(TChartSeries::SourceChange::Modified);
}

void TChartValueList::RemoveAllValues()
{
    FValues.release();
    FIndexes = true;
    FIndexCount = 0;
    FBlockExtremes.release();
    FSummarised = 0;
    FUnorderedPairs = 0;
    FStatsDirty = true;
}

int TChartValueList::AppendOrdered(double value)
{
    const int index = static_cast<int>(OrderedIndex(value));
    InsertAt(index, value);
    return index;
}

void TChartValueList::InsertValue(std::size_t index, double value)
{
    if (index == FValues.size()) {
        AppendValue(value);
        return;
    }
    StaleFrom(index);
    FUnorderedPairs -= UnorderedPairs(PairsFrom(index), index);
    FValues.insert(index, value);
    FUnorderedPairs += UnorderedPairs(PairsFrom(index), index + 1);
}

void TChartValueList::InsertAt(int index, double value)
{
    if (index < 0 || index > Size())
        throw EListError(index);
    if (FIndexes && index == Size() && IsNextIndex(value)) {
        ++FIndexCount;
        StatsAfterInsert(index, value);
        return;
    }
    PrepareInsert(static_cast<std::size_t>(index), value);
    InsertValue(static_cast<std::size_t>(index), value);
    StatsAfterInsert(index, value);
}

int TChartValueList::Count() const
{
    return Size();
}

void TChartValueList::DeleteAt(int index)
{
    CheckIndex(index);
    FStatsDirty = true;
    if (FIndexes && index == Size() - 1) {
        --FIndexCount;
        return;
    }
    const auto at = static_cast<std::size_t>(index);
    PrepareDelete(at);
    StaleFrom(at);
    FUnorderedPairs -= UnorderedPairs(PairsFrom(at), at + 1);
    FValues.erase(at);
    FUnorderedPairs += UnorderedPairs(PairsFrom(at), at);
    FStatsDirty = true;
}

void TChartValueList::RotateLeft()
{
    if (Size() > 1) {
        HoldValues();
        FValues.RotateLeft();
        StaleFrom(0);
    }
    RecountOrder();
}

double TChartValueList::Last() const
{
    return ValueAt(Size() - 1);
}

int TChartValueList::IndexOfValue(double value) const
{
    for (int i = 0; i < Size(); ++i) {
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
    const int count = Size();
    if (count > 0) {
        const double first = ValueAt(0);
        FLowestValue = FHighestValue = FSumOfValues = first;
        FSumOfMagnitudes = std::fabs(first);
        for (int i = 1; i < count; ++i)
            CountInStats(ValueAt(i));
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
