// Value lists: where AppendOrdered puts values, the cached statistics,
// Multiplier, index errors and the list operations.
#include "chart/TeEngine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

namespace {

std::vector<double> Values(const TChartValueList& list)
{
    std::vector<double> values;
    for (int i = 0; i < list.Count(); ++i)
        values.push_back(list.ValueAt(i));
    return values;
}

// ---- Ordering

struct OrderCase {
    const char* name;
    TChartListOrder order;
    std::vector<double> added;
    std::vector<int> indexes;  // what each AppendOrdered returned
    std::vector<double> stored;
};

void PrintTo(const OrderCase& c, std::ostream* out)
{
    *out << c.name;
}

class AppendOrderedTest : public ::testing::TestWithParam<OrderCase> {};

TEST_P(AppendOrderedTest, PutsEachValueWhereTheOrderDemands)
{
    const OrderCase& c = GetParam();
    TChartSeries series;
    TChartValueList& list = *series.YValues();
    list.SetOrder(c.order);
    std::vector<int> indexes;
    for (double v : c.added)
        indexes.push_back(list.AppendOrdered(v));
    EXPECT_EQ(indexes, c.indexes);
    EXPECT_EQ(Values(list), c.stored);
}

INSTANTIATE_TEST_SUITE_P(
    Orders, AppendOrderedTest,
    ::testing::Values(OrderCase{"AscendingInOrder", loAscending, {0, 1, 2, 3}, {0, 1, 2, 3}, {0, 1, 2, 3}},
                      OrderCase{"AscendingEqualGoesAfterEqual", loAscending, {1, 2, 1, 1}, {0, 1, 1, 2}, {1, 1, 1, 2}},
                      OrderCase{"AscendingBelowEveryValueGoesFirst", loAscending, {5, 6, 7, -1}, {0, 1, 2, 0}, {-1, 5, 6, 7}},
                      OrderCase{"AscendingInTheMiddle", loAscending, {1, 3, 5, 4, 2}, {0, 1, 2, 2, 1}, {1, 2, 3, 4, 5}},
                      OrderCase{"NoneAppendsRegardless", loNone, {3, 1, 2, -5}, {0, 1, 2, 3}, {3, 1, 2, -5}},
                      OrderCase{"DescendingInOrder", loDescending, {3, 2, 1}, {0, 1, 2}, {3, 2, 1}},
                      OrderCase{"DescendingEqualGoesAfterEqual", loDescending, {2, 1, 2}, {0, 1, 1}, {2, 2, 1}},
                      OrderCase{"DescendingAboveEveryValueGoesFirst", loDescending, {2, 1, 9}, {0, 1, 0}, {9, 2, 1}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ValueListTest, AppendOrderedComparesRawValuesNotMultipliedOnes)
{
    TChartSeries series;
    TChartValueList& x = *series.XValues();
    x.SetMultiplier(2);
    x.AppendOrdered(1);
    x.AppendOrdered(3);
    // Stored raw 1 and 3 read as 2 and 6; raw 4 belongs after raw 3, while
    // a comparison with the multiplied 6 would put it in the middle.
    EXPECT_EQ(x.AppendOrdered(4), 2);
    EXPECT_EQ(Values(x), (std::vector<double>{2, 6, 8}));
}

// ---- Statistics

struct StatsCase {
    const char* name;
    std::vector<double> raw;
    double multiplier;
    double lowest, highest, sum, magnitudes;
};

void PrintTo(const StatsCase& c, std::ostream* out)
{
    *out << c.name;
}

class StatisticsTest : public ::testing::TestWithParam<StatsCase> {};

TEST_P(StatisticsTest, ReportsTheMultipliedExtremesAndSums)
{
    const StatsCase& c = GetParam();
    TChartSeries series;
    TChartValueList& y = *series.YValues();
    for (double v : c.raw)
        y.AppendOrdered(v);
    y.SetMultiplier(c.multiplier);
    EXPECT_DOUBLE_EQ(y.LowestValue(), c.lowest);
    EXPECT_DOUBLE_EQ(y.HighestValue(), c.highest);
    EXPECT_DOUBLE_EQ(y.SumOfValues(), c.sum);
    EXPECT_DOUBLE_EQ(y.SumOfMagnitudes(), c.magnitudes);
}

INSTANTIATE_TEST_SUITE_P(Lists, StatisticsTest,
                         ::testing::Values(StatsCase{"Empty", {}, 1, 0, 0, 0, 0},
                                           StatsCase{"EmptyWithMultiplier", {}, 5, 0, 0, 0, 0},
                                           StatsCase{"SingleNegative", {-3}, 1, -3, -3, -3, 3},
                                           StatsCase{"Mixed", {4, -2, 7, 1}, 1, -2, 7, 10, 14},
                                           StatsCase{"Doubled", {4, -2, 7, 1}, 2, -4, 14, 20, 28},
                                           StatsCase{"NegativeMultiplierSwapsExtremes", {1, 3}, -1, -3, -1, -4, 4}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ValueListTest, StatisticsFollowEveryKindOfChange)
{
    TChartSeries series;
    TChartValueList& y = *series.YValues();
    y.AppendOrdered(5);
    EXPECT_EQ(y.HighestValue(), 5);

    y.AppendOrdered(9);
    EXPECT_EQ(y.HighestValue(), 9);
    y.AppendOrdered(-1);
    EXPECT_EQ(y.LowestValue(), -1);
    EXPECT_EQ(y.SumOfMagnitudes(), 15);
    y.DeleteAt(2);
    y.SetValueAt(1, 2);
    EXPECT_EQ(y.HighestValue(), 5);
    y.InsertAt(0, 11);
    EXPECT_EQ(y.HighestValue(), 11);
    y.DeleteAt(0);
    EXPECT_EQ(y.HighestValue(), 5);
    y.SetMultiplier(3);
    EXPECT_EQ(y.HighestValue(), 15);
    EXPECT_EQ(y.SumOfValues(), 21);
    y.RemoveAllValues();
    EXPECT_EQ(y.HighestValue(), 0);
    EXPECT_EQ(y.SumOfMagnitudes(), 0);
}

TEST(ValueListTest, AscendingOrderIsKnownAfterEveryKindOfChange)
{
    TChartSeries series;
    TChartValueList& y = *series.YValues();  // no order of its own: values go where they are put
    const auto ascending = [&](const std::vector<double>& expected) {
        std::vector<double> values;
        for (int i = 0; i < y.Count(); ++i)
            values.push_back(y.ValueAt(i));
        EXPECT_EQ(values, expected);
        return std::is_sorted(values.begin(), values.end()) &&
               std::none_of(values.begin(), values.end(), [](double v) { return v != v; });
    };
    EXPECT_TRUE(y.InAscendingOrder());
    for (double v : {1.0, 2.0, 2.0, 5.0})
        y.AppendOrdered(v);
    EXPECT_TRUE(y.InAscendingOrder());
    y.AppendOrdered(4);
    EXPECT_EQ(y.InAscendingOrder(), ascending({1, 2, 2, 5, 4}));
    y.SetValueAt(4, 6);
    EXPECT_EQ(y.InAscendingOrder(), ascending({1, 2, 2, 5, 6}));
    y.InsertAt(0, 3);
    EXPECT_EQ(y.InAscendingOrder(), ascending({3, 1, 2, 2, 5, 6}));
    y.DeleteAt(0);
    EXPECT_EQ(y.InAscendingOrder(), ascending({1, 2, 2, 5, 6}));
    y.SetValueAt(2, std::numeric_limits<double>::quiet_NaN());
    EXPECT_FALSE(y.InAscendingOrder()) << "NaN is in no order";
    y.SetValueAt(2, 2);
    EXPECT_TRUE(y.InAscendingOrder());
    y.RotateLeft();
    EXPECT_EQ(y.InAscendingOrder(), ascending({2, 2, 5, 6, 1}));
    y.DeleteAt(4);
    EXPECT_EQ(y.InAscendingOrder(), ascending({2, 2, 5, 6}));
    y.InsertAt(2, 1);
    y.RemoveAllValues();
    EXPECT_TRUE(y.InAscendingOrder());
    // Readings as the series takes them in, where appending skips the
    // general insert.
    for (double v : {1.0, 2.0, 5.0})
        series.AddPoint(series.PointCount(), v, "", clDefault);
    EXPECT_TRUE(y.InAscendingOrder());
    series.AddPoint(3, 4, "", clDefault);
    EXPECT_EQ(y.InAscendingOrder(), ascending({1, 2, 5, 4}));
}

TEST(ValueListTest, PointColoursOfTheirOwnAreCounted)
{
    TChartSeries series;
    series.AddPoint(0, 1, "", clDefault);
    EXPECT_FALSE(series.HasPointColors());
    series.AddPoint(1, 1, "", clRed);
    series.AddPoint(2, 1, "", clNone);
    EXPECT_TRUE(series.HasPointColors());
    series.DeletePoint(1);
    EXPECT_TRUE(series.HasPointColors());
    series.DeletePoint(1);
    EXPECT_FALSE(series.HasPointColors());
    series.AddPoint(3, 1, "", clRed);
    series.SetColorEachPoint(true);
    series.SetColorEachPoint(false);
    EXPECT_FALSE(series.HasPointColors()) << "switching ColorEachPoint off drops them";
    series.AddPoint(4, 1, "", clRed);
    series.ClearPoints();
    EXPECT_FALSE(series.HasPointColors());
}

TEST(ValueListTest, RotateLeftMovesTheFirstValueToTheEndAndKeepsStatistics)
{
    TChartSeries series;
    TChartValueList& y = *series.YValues();
    for (double v : {1.0, 2.0, 3.0})
        y.AppendOrdered(v);
    EXPECT_EQ(y.SumOfValues(), 6);
    y.RotateLeft();
    EXPECT_EQ(Values(y), (std::vector<double>{2, 3, 1}));
    EXPECT_EQ(y.SumOfValues(), 6);
    EXPECT_EQ(y.LowestValue(), 1);
}

TEST(ValueListTest, IndexOfValueFindsTheFirstExactMultipliedMatch)
{
    TChartSeries series;
    TChartValueList& y = *series.YValues();
    for (double v : {4.0, 2.0, 4.0})
        y.AppendOrdered(v);
    EXPECT_EQ(y.IndexOfValue(4), 0);
    EXPECT_EQ(y.IndexOfValue(2), 1);
    EXPECT_EQ(y.IndexOfValue(2.0000001), -1);
    y.SetMultiplier(10);
    EXPECT_EQ(y.IndexOfValue(20), 1);
    EXPECT_EQ(y.IndexOfValue(2), -1);
    EXPECT_EQ(y.Last(), 40);
}

TEST(ValueListTest, AssignCopiesSettingsButNotNameOrValues)
{
    TChartSeries a;
    TChartSeries b;
    a.YValues()->AppendOrdered(7);
    b.YValues()->SetOrder(loDescending);
    b.YValues()->SetDateTime(true);
    b.YValues()->SetMultiplier(0.5);
    b.YValues()->SetValueSource("Reading");
    b.YValues()->SetName("Other");
    a.SetYValues(*b.YValues());
    const TChartValueList& y = *a.YValues();
    EXPECT_EQ(y.Order(), loDescending);
    EXPECT_TRUE(y.DateTime());
    EXPECT_EQ(y.Multiplier(), 0.5);
    EXPECT_EQ(y.ValueSource(), "Reading");
    EXPECT_EQ(y.Name(), "Y");
    EXPECT_EQ(Values(y), (std::vector<double>{3.5}));
    EXPECT_EQ(y.HighestValue(), 3.5);
}

// ---- Index errors

TEST(ValueListTest, IndexesOutsideTheListRaiseTheListIndexError)
{
    TChartSeries series;
    TChartValueList& y = *series.YValues();
    y.AppendOrdered(1);
    y.AppendOrdered(2);
    const struct {
        const char* what;
        int index;
        std::function<void()> call;
    } cases[] = {
        {"ValueAt -1", -1, [&] { y.ValueAt(-1); }},
        {"ValueAt Count", 2, [&] { y.ValueAt(2); }},
        {"SetValueAt Count", 2, [&] { y.SetValueAt(2, 0); }},
        {"DeleteAt -1", -1, [&] { y.DeleteAt(-1); }},
        {"DeleteAt Count", 2, [&] { y.DeleteAt(2); }},
        {"InsertAt past Count", 3, [&] { y.InsertAt(3, 0); }},
        {"InsertAt -1", -1, [&] { y.InsertAt(-1, 0); }},
        {"ValueLists 2", 2, [&] { series.ValuesLists().ValueList(2); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            c.call();
            ADD_FAILURE() << "no exception";
        } catch (const EListError& error) {
            EXPECT_EQ(error.Message(), "List index out of bounds (" + std::to_string(c.index) + ")");
        }
    }
    EXPECT_EQ(Values(y), (std::vector<double>{1, 2}));
    EXPECT_THROW(TChartSeries().XValues()->Last(), EListError);
}

TEST(ValueListTest, InsertAtCountAppends)
{
    TChartSeries series;
    TChartValueList& y = *series.YValues();
    y.InsertAt(0, 1);
    y.InsertAt(1, 3);
    y.InsertAt(1, 2);
    EXPECT_EQ(Values(y), (std::vector<double>{1, 2, 3}));
}

// ---- Storage: X held as a count while it is the point index, values in
// chunks of thousands, full chunks packed. Every change must read back as a
// plain array would.

// The series' X and Y values against the model's, with the statistics the
// axes read.
void ExpectHolds(const TChartSeries& series, const std::vector<double>& xs, const std::vector<double>& ys)
{
    ASSERT_EQ(series.PointCount(), static_cast<int>(xs.size()));
    ASSERT_EQ(Values(*series.XValues()), xs);
    ASSERT_EQ(Values(*series.YValues()), ys);
    if (xs.empty())
        return;
    EXPECT_EQ(series.LowestX(), *std::min_element(xs.begin(), xs.end()));
    EXPECT_EQ(series.HighestX(), *std::max_element(xs.begin(), xs.end()));
    EXPECT_EQ(series.LowestY(), *std::min_element(ys.begin(), ys.end()));
    EXPECT_EQ(series.HighestY(), *std::max_element(ys.begin(), ys.end()));
    EXPECT_EQ(series.XValues()->InAscendingOrder(), std::is_sorted(xs.begin(), xs.end()));
}

TEST(ValueListTest, EveryChangeReadsBackAsAPlainArrayAcrossChunks)
{
    TChartSeries series;
    std::vector<double> xs;
    std::vector<double> ys;
    // X ascends throughout, so a new X goes after every one not above it.
    const auto add = [&](double x, double y) {
        const auto expectedIndex = std::upper_bound(xs.begin(), xs.end(), x) - xs.begin();
        ASSERT_EQ(series.AddPoint(x, y, "", clDefault), expectedIndex);
        xs.insert(xs.begin() + expectedIndex, x);
        ys.insert(ys.begin() + expectedIndex, y);
    };
    const auto remove = [&](int index) {
        series.DeletePoint(index);
        xs.erase(xs.begin() + index);
        ys.erase(ys.begin() + index);
    };
    // Y close together, so that the two full chunks are packed.
    for (int i = 0; i < 10000; ++i)
        add(i, 20 + std::sin(i * 0.01));
    EXPECT_TRUE(series.XValues()->HoldsIndexes());
    EXPECT_LT(series.PointStorageBytes(), 10000u * 8);
    ExpectHolds(series, xs, ys);

    remove(9999);  // the last index: the pattern still holds
    EXPECT_TRUE(series.XValues()->HoldsIndexes());
    add(5, -2);  // after the existing 5, so the indexes end here
    EXPECT_EQ(series.YValue(6), -2);
    EXPECT_FALSE(series.XValues()->HoldsIndexes());
    ExpectHolds(series, xs, ys);

    // Across the chunk boundaries at 4096 and 8192.
    for (int index : {0, 4095, 4096, 4095, 8191, 8192, 9990})
        remove(index);
    add(-1, 3);
    add(4094.5, 0.5);
    add(8190.5, 0.25);
    ExpectHolds(series, xs, ys);

    // Far from its chunk's other values, and then close to them.
    series.YValues()->SetValueAt(4096, 7);
    ys[4096] = 7;
    series.YValues()->SetValueAt(4097, 20.5);
    ys[4097] = 20.5;
    series.XValues()->RotateLeft();
    std::rotate(xs.begin(), xs.begin() + 1, xs.end());
    series.YValues()->RotateLeft();
    std::rotate(ys.begin(), ys.begin() + 1, ys.end());
    ExpectHolds(series, xs, ys);

    series.ClearPoints();
    EXPECT_TRUE(series.XValues()->HoldsIndexes());
    EXPECT_EQ(series.PointStorageBytes(), 0u);
    EXPECT_EQ(series.AddPoint(0, 1, "", clDefault), 0);
}

// The bit patterns of what was added, as YValue returns them.
std::vector<std::uint64_t> YBits(const TChartSeries& series)
{
    std::vector<std::uint64_t> bits;
    for (int i = 0; i < series.PointCount(); ++i)
        bits.push_back(std::bit_cast<std::uint64_t>(series.YValue(i)));
    return bits;
}

TEST(ValueListTest, PackedChunksReadBackBitForBitAndTakeTheRoomTheirSpreadNeeds)
{
    constexpr int kPoints = 3 * 4096 + 5;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double tiny = std::numeric_limits<double>::denorm_min();
    const struct {
        const char* name;
        std::function<double(int)> y;
        double maxBytesPerPoint;
    } kinds[] = {
        {"constant", [](int) { return 18.25; }, 1.1},
        {"a time stamp a second", [](int i) { return 45000.25 + i / 86400.0; }, 5.1},
        {"readings", [](int i) { return 15 + (i * 7919 % 1001) / 100.0; }, 7.1},
        {"one ulp apart", [](int i) { return i % 2 ? std::nextafter(20.0, 21.0) : 20.0; }, 1.1},
        {"NaN, -0.0 and denormals among readings",
         [&](int i) { return i % 97 == 0 ? nan : i % 89 == 0 ? -0.0 : i % 83 == 0 ? tiny : 20.0 + i; }, 8.1},
    };
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.name);
        TChartSeries series;
        std::vector<std::uint64_t> expected;
        for (int i = 0; i < kPoints; ++i) {
            series.AddPoint(i, kind.y(i), "", clDefault);
            expected.push_back(std::bit_cast<std::uint64_t>(kind.y(i)));
        }
        EXPECT_EQ(YBits(series), expected);
        EXPECT_LE(static_cast<double>(series.PointStorageBytes()), kind.maxBytesPerPoint * kPoints);

        // A value like its neighbours costs nothing more; one that widens
        // its chunk's packing, and a delete that moves every packed value
        // after it, still read back.
        const std::size_t bytes = series.PointStorageBytes();
        series.YValues()->SetValueAt(200, kind.y(201));
        expected[200] = expected[201];
        EXPECT_EQ(series.PointStorageBytes(), bytes);
        series.YValues()->SetValueAt(100, -1e300);
        expected[100] = std::bit_cast<std::uint64_t>(-1e300);
        series.DeletePoint(5);
        expected.erase(expected.begin() + 5);
        EXPECT_EQ(YBits(series), expected);
    }
}

TEST(ValueListTest, OnlyTheVeryBitsOfAnIndexKeepXHeldAsACount)
{
    TChartSeries negativeZero;
    negativeZero.AddPoint(-0.0, 1, "", clDefault);
    EXPECT_TRUE(std::signbit(negativeZero.XValue(0)));

    TChartSeries halves;
    halves.AddPoint(0, 1, "", clDefault);
    halves.AddPoint(1.5, 1, "", clDefault);
    halves.AddPoint(2, 1, "", clDefault);
    EXPECT_EQ(Values(*halves.XValues()), (std::vector<double>{0, 1.5, 2}));

    // Descending X: an index above the last one goes to the front.
    TChartSeries descending;
    descending.XValues()->SetOrder(loDescending);
    descending.AddPoint(0, 1, "", clDefault);
    EXPECT_EQ(descending.AddPoint(1, 2, "", clDefault), 0);
    EXPECT_EQ(Values(*descending.XValues()), (std::vector<double>{1, 0}));
    EXPECT_EQ(Values(*descending.YValues()), (std::vector<double>{2, 1}));
}

TEST(ValueListTest, SeriesCreatesXThenYWithTheirOrders)
{
    TChartSeries series;
    ASSERT_EQ(series.ValuesLists().Count(), 2);
    EXPECT_EQ(series.ValuesLists()[0], series.XValues());
    EXPECT_EQ(series.ValuesLists()[1], series.YValues());
    EXPECT_EQ(series.XValues()->Name(), "X");
    EXPECT_EQ(series.YValues()->Name(), "Y");
    EXPECT_EQ(series.XValues()->Order(), loAscending);
    EXPECT_EQ(series.YValues()->Order(), loNone);
    EXPECT_EQ(series.XValues()->Multiplier(), 1.0);
    EXPECT_FALSE(series.XValues()->DateTime());
}

}  // namespace
