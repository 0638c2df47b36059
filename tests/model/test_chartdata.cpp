#include <gtest/gtest.h>

#include "core/programstate.h"
#include "core/recalculate.h"
#include "rows.h"
#include "mainwindow/chartdata.h"

namespace velmora {
namespace {

constexpr std::size_t I(int slot) { return static_cast<std::size_t>(SlotIndex(slot)); }

// Rows are set by hand and only protein and vitamin C are shown, so each case shows its numbers.
// The norm is 100 of everything: grams × value ÷ 100 is then the per cent of the daily need.
class ChartDataTest : public ::testing::Test {
protected:
    ChartDataTest()
    {
        state->norm.activeNorm.fill(100.0f);
        state->nutrientText[slot::protein] = {"prot", "g", "prot g", 1};
        state->nutrientText[slot::vitaminC] = {"C-vit", "mg", "C-vit mg", 0};
        for (int s = kFirstNutrientSlot; s <= kLastNutrientSlot; ++s) state->nutrientSelection.Set(s, false);
        state->nutrientSelection.Set(slot::protein, true);
        state->nutrientSelection.Set(slot::vitaminC, true);
    }

    MealRow& Put(int day, int meal, int row, float grams, std::initializer_list<std::pair<int, float>> values,
                 float pricePerKg = 0)
    {
        return testing::PutRow(*state, day, meal, row, grams, values, pricePerKg);
    }
    BarChart Chart()
    {
        Recalculate(*state);
        return BuildBarChart(*state);
    }
    static std::vector<int> Numbers(const BarChart& chart)
    {
        std::vector<int> numbers;
        for (const BarSeries& s : chart.series) numbers.push_back(s.number);
        return numbers;
    }

    std::unique_ptr<ProgramState> state = std::make_unique<ProgramState>();
};

TEST(BarPaging, BarsPerPageNeverLeavesOneBarAlone)
{
    struct Case {
        int bars, height, perPage, pages;
    };
    const Case cases[] = {
        {20, 224, 8, 3},  // 20 = 2 × 8 + 4
        {9, 224, 7, 2},   // 9 = 8 + 1
        {17, 224, 7, 3},  // 17 = 2 × 8 + 1
        {33, 224, 7, 5},  // 33 = 4 × 8 + 1
        {15, 196, 6, 3},  // k = 7, and 15 = 2 × 7 + 1
        {41, 224, 8, 6},  // 5 × 8 + 1 is not tested: the last page keeps one bar
        {3, 224, 3, 1},   // at most the bar count
        {72, 560, 20, 4},
        {7, 84, 1, 7},    // k = 3; 7 = 2 × 3 + 1 gives 2, and then 7 = 3 × 2 + 1 gives 1
        {3, 56, 1, 3},    // k drops to 0 by two tests; a page holds at least one bar
        {0, 224, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.bars) + " bars, " + std::to_string(c.height) + " px");
        EXPECT_EQ(BarsPerPage(c.bars, c.height), c.perPage);
        EXPECT_EQ(PageCount(c.bars, BarsPerPage(c.bars, c.height)), c.pages);
    }
}

TEST(BarPaging, PagesTurnWithinRangeAndShrinkWithTheBarCount)
{
    ChartState charts;
    EXPECT_EQ(CurrentPage(charts, 20).count, 20) << "before layout all bars are on one page";
    EXPECT_FALSE(PageButtonsShown(charts, 20));

    SetChartHeight(charts, 224, 20);
    EXPECT_TRUE(PageButtonsShown(charts, 20));
    TurnPage(charts, +1, 20);
    TurnPage(charts, +1, 20);
    TurnPage(charts, +1, 20);
    EXPECT_EQ(charts.page, 2);
    EXPECT_EQ(CurrentPage(charts, 20).first, 16);
    EXPECT_EQ(CurrentPage(charts, 20).count, 4);
    TurnPage(charts, -5, 20);
    EXPECT_EQ(charts.page, 0);

    // Fewer nutrients chosen while on the last page: the last page that still exists is shown.
    charts.page = 2;
    EXPECT_EQ(CurrentPage(charts, 8).first, 0);
    EXPECT_EQ(CurrentPage(charts, 8).count, 8);
    EXPECT_FALSE(PageButtonsShown(charts, 8));
    SetChartHeight(charts, 900, 8);
    EXPECT_EQ(charts.page, 0);
}

TEST(Zoom, StepsOfHundredAndZoomInHidesBelow110)
{
    ChartState charts;
    EXPECT_TRUE(ZoomInShown(charts));
    ZoomIn(charts);
    EXPECT_EQ(charts.axisMaximum, 100);
    EXPECT_FALSE(ZoomInShown(charts));
    ZoomIn(charts);
    EXPECT_EQ(charts.axisMaximum, 100);
    ZoomOut(charts);
    EXPECT_EQ(charts.axisMaximum, 200);
    EXPECT_TRUE(ZoomInShown(charts));
    ZoomOut(charts);
    EXPECT_EQ(charts.axisMaximum, 300);
}

TEST_F(ChartDataTest, TitleFollowsModeMealDayAndView)
{
    Put(2, 3, 1, 100, {{slot::kJ, 500}});
    struct Case {
        int mode, day, meal, periodMeal;
        ChartView view;
        bool loading;
        std::string title;
    };
    const Case cases[] = {
        {0, 0, 0, -1, ChartView::Bars, false, "% of recommended intake for Breakfast dag1"},
        {0, 0, 0, -1, ChartView::Bars, true, "% of recommended intake for one day dag1"},
        {0, 2, 3, -1, ChartView::Bars, false, "% of recommended intake for Extra 1 DAG3"},
        {0, 2, 2, -1, ChartView::Bars, true, "% of recommended intake for Dinner DAG3"},
        {1, 2, 0, -1, ChartView::Bars, false, "Näring i % av behovet för hela DAG3"},
        {1, 4, 0, -1, ChartView::EnergyPies, false, "Näring i % av behovet för hela dag5"},
        {2, 0, 0, -1, ChartView::Bars, false, "Näring i % av dagsbehovet för perioden"},
        {2, 0, 0, 1, ChartView::Bars, false, "Näring för Lunch under perioden i % av behovet."},
        {2, 0, 0, 8, ChartView::Bars, false, "Näring för Mellanmål6 under perioden i % av behovet."},
        {1, 0, 0, 1, ChartView::Bars, false, "Näring i % av behovet för hela dag1"},  // a period meal only counts in mode 2
        {0, 0, 0, -1, ChartView::MissingValues, false, "Antal livsmedel som saknar näringsuppgift "},
        {2, 0, 0, 1, ChartView::MissingValues, false, "Antal livsmedel som saknar näringsuppgift "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        state->ChartMode = c.mode;
        state->CurrentDay = c.day;
        state->CurrentMeal = c.meal;
        state->charts.periodMeal = c.periodMeal;
        state->charts.view = c.view;
        state->charts.calculationLoading = c.loading;
        EXPECT_EQ(Chart().title, c.title);
    }
}

TEST_F(ChartDataTest, MealSegmentsAreRowPercentOverTheMealShare)
{
    // Breakfast gives a quarter of the daily need; a food with 10 % of the daily protein fills 40 %.
    Put(0, 0, 1, 50, {{slot::protein, 20}, {slot::vitaminC, 30}});
    Put(0, 0, 2, 100, {{slot::protein, 5}});
    const BarChart chart = Chart();
    ASSERT_EQ(chart.barSlots, (std::vector<int>{slot::protein, slot::vitaminC}));
    ASSERT_EQ(Numbers(chart), (std::vector<int>{1, 2}));
    EXPECT_FLOAT_EQ(chart.series[0].values[0], 40.0f);
    EXPECT_FLOAT_EQ(chart.series[0].values[1], 60.0f);
    EXPECT_FLOAT_EQ(chart.series[1].values[0], 20.0f);
    EXPECT_FLOAT_EQ(chart.series[1].values[1], 0.0f);
    EXPECT_FALSE(BarHintShown(*state));
}

TEST_F(ChartDataTest, MealBeyondHundredRowsGetsASeriesPerRow)
{
    for (int r : {1, 100, 101, 150, 199}) Put(0, 2, r, 10.0f * static_cast<float>(r % 7 + 1), {{slot::protein, 3}});
    state->CurrentMeal = 2;  // dinner, share 0.30
    const BarChart chart = Chart();
    ASSERT_EQ(Numbers(chart), (std::vector<int>{1, 100, 101, 150, 199}));
    for (const BarSeries& s : chart.series) {
        SCOPED_TRACE(s.number);
        EXPECT_NEAR(s.values[0], 10.0f * static_cast<float>(s.number % 7 + 1) * 3.0f / 100.0f / 0.30f, 1e-4f);
    }
    // Segments take the row's text colour, cycling through the nine meal colours.
    EXPECT_EQ(BarSeriesColour(1), 0x0000FFu);
    EXPECT_EQ(BarSeriesColour(101), BarSeriesColour(2));
    EXPECT_EQ(BarSeriesColour(199), BarSeriesColour(1));
    EXPECT_EQ(BarSeriesColour(9), 0x000000u);
}

TEST_F(ChartDataTest, DayAndPeriodSegments)
{
    Put(0, 0, 1, 100, {{slot::protein, 8}, {slot::kJ, 1000}});
    Put(0, 2, 1, 100, {{slot::protein, 4}});
    Put(1, 2, 1, 100, {{slot::protein, 6}, {slot::kJ, 1000}});
    Put(2, 2, 1, 100, {{slot::protein, 50}, {slot::kJ, 1000}});
    state->calculation.dayIncluded.fill(false);
    state->calculation.dayIncluded[0] = state->calculation.dayIncluded[1] = true;

    state->ChartMode = 1;
    BarChart chart = Chart();
    ASSERT_EQ(Numbers(chart), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_FLOAT_EQ(chart.series[0].values[0], 8.0f);
    EXPECT_FLOAT_EQ(chart.series[2].values[0], 4.0f);

    // Whole days: each included day's per cent over the two counted days; day 3 is left out.
    state->ChartMode = 2;
    chart = Chart();
    ASSERT_EQ(Numbers(chart), (std::vector<int>{1, 2}));
    EXPECT_FLOAT_EQ(chart.series[0].values[0], 6.0f);
    EXPECT_FLOAT_EQ(chart.series[1].values[0], 3.0f);

    // Dinner over the period: also over dinner's share 0.30.
    state->charts.periodMeal = 2;
    chart = Chart();
    EXPECT_FLOAT_EQ(chart.series[0].values[0], 2.0f / 0.30f);
    EXPECT_FLOAT_EQ(chart.series[1].values[0], 3.0f / 0.30f);
    state->charts.percentButtonCaption = "Värde";
    EXPECT_EQ(Chart().labels[0], "prot 17%");  // (4 + 6) ÷ 2 ÷ 0.30

    // No counted day: every segment is 0.
    state->calculation.dayIncluded.fill(false);
    state->calculation.dayIncluded[3] = true;
    chart = Chart();
    ASSERT_EQ(Numbers(chart), (std::vector<int>{4}));
    EXPECT_EQ(chart.series[0].values[0], 0.0f);
}

TEST_F(ChartDataTest, HintWhenTheMealHasNoShare)
{
    Put(0, 0, 1, 100, {{slot::protein, 10}});
    struct Case {
        std::string breakfastCell;
        int mode;
        ChartView view;
        bool shown;
    };
    const Case cases[] = {
        {"0", 0, ChartView::Bars, true},
        {"0,05", 0, ChartView::Bars, true},
        {"0,2", 0, ChartView::Bars, false},
        {"0", 0, ChartView::MissingValues, true},
        {"0", 0, ChartView::EnergyPies, false},
        {"0", 1, ChartView::Bars, false},
        {"0", 2, ChartView::Bars, false},
        {"25", 0, ChartView::Bars, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.breakfastCell + " mode " + std::to_string(c.mode));
        state->settings.mealShareCells[0] = c.breakfastCell;
        state->ChartMode = c.mode;
        state->charts.view = c.view;
        const BarChart chart = Chart();
        EXPECT_EQ(BarHintShown(*state), c.shown);
        if (c.shown && c.view == ChartView::Bars) {
            EXPECT_EQ(chart.series[0].values[0], 0.0f) << "a meal without a share gives segments of 0";
        }
    }
}

TEST_F(ChartDataTest, LabelsShowAmountPercentOrMissingCount)
{
    Put(0, 0, 1, 50, {{slot::protein, 20}, {slot::vitaminC, -1}});
    Put(0, 0, 2, 30, {{slot::protein, 1}, {slot::vitaminC, -1}});
    BarChart chart = Chart();
    EXPECT_EQ(chart.labels, (std::vector<std::string>{"prot   10.3g", "C-vit      0mg"}));
    EXPECT_TRUE(chart.anyMissing);
    EXPECT_TRUE(chart.valueAxisLabels);

    TogglePercentLabels(*state);
    EXPECT_EQ(state->charts.percentButtonCaption, "Värde");
    chart = BuildBarChart(*state);
    EXPECT_EQ(chart.labels, (std::vector<std::string>{"prot 41%", "C-vit 0%"}));  // 10.3 % ÷ 0.25

    ShowChartView(*state, ChartView::MissingValues);
    chart = BuildBarChart(*state);
    EXPECT_EQ(chart.labels, (std::vector<std::string>{"prot   0 st", "C-vit   2 st"}));
    ASSERT_EQ(Numbers(chart), (std::vector<int>{1}));
    EXPECT_EQ(chart.series[0].values, (std::vector<float>{0.0f, 20.0f}));
    EXPECT_FALSE(chart.valueAxisLabels);

    // Missing values elsewhere do not mark the current scope; a nutrient not shown does not either.
    state->CurrentMeal = 1;
    EXPECT_FALSE(Chart().anyMissing);
    state->CurrentMeal = 0;
    state->nutrientSelection.Set(slot::vitaminC, false);
    EXPECT_FALSE(Chart().anyMissing);
}

TEST_F(ChartDataTest, EnergyPies)
{
    // Next to no energy: the actual pie stays empty, the ideal one shows the settings.
    Put(0, 0, 1, 1, {{slot::kJ, 10}, {slot::protein, 0.001f}});
    Recalculate(*state);
    EnergyPies pies = BuildEnergyPies(*state);
    EXPECT_TRUE(pies.actual.empty());
    ASSERT_EQ(pies.ideal.size(), 3u);
    EXPECT_EQ(pies.ideal[0].text, "Prot 15%");
    EXPECT_EQ(pies.ideal[2].text, "Kolh 55%");

    // 100 g with 20 g protein, 10 g fat, 30 g carbohydrate, 5 g fibre and 10 g alcohol.
    Put(0, 0, 1, 100, {{slot::kJ, 1550}, {slot::protein, 20}, {slot::fat, 10}, {slot::carbohydrate, 30},
                       {slot::fibre, 5}, {slot::alcohol, 10}});
    Recalculate(*state);
    pies = BuildEnergyPies(*state);
    ASSERT_EQ(pies.actual.size(), 4u);
    EXPECT_EQ(pies.actual[3].label, "Alko");
    EXPECT_NEAR(pies.actual[3].value, 100.0f * 29000.0f / 155000.0f, 0.01f);
    EXPECT_EQ(pies.actual[0].text, "Prot 22%");
    EXPECT_EQ(pies.actual[0].colour, 0x008000u);
    ASSERT_EQ(pies.ideal.size(), 4u);
    EXPECT_EQ(pies.ideal[3].label, "Alko max");
    EXPECT_EQ(pies.ideal[3].value, 5.0f);
    EXPECT_EQ(pies.ideal[0].text, "Prot 14%") << "per cent of the pie: 15 of 105";

    // Without alcohol in the energy the alcohol slices go.
    CountAlcohol(*state, false);
    EXPECT_FALSE(state->energyFactors.CountsAlcohol());
    pies = BuildEnergyPies(*state);
    EXPECT_EQ(pies.actual.size(), 3u);
    EXPECT_EQ(pies.ideal.size(), 3u);
    CountAlcohol(*state, true);
    EXPECT_EQ(BuildEnergyPies(*state).actual.size(), 4u);
}

TEST_F(ChartDataTest, ModeButtonsRecalculateAndPriceFollowsTheScope)
{
    Put(0, 0, 1, 200, {{slot::protein, 10}, {slot::kJ, 1000}}, 50.0f);
    Put(0, 1, 1, 100, {{slot::protein, 10}, {slot::kJ, 1000}}, 25.5f);
    Put(3, 1, 1, 1000, {{slot::protein, 10}, {slot::kJ, 1000}}, 2.0f);
    int refreshed = 0;
    state->refreshHooks.push_back([&] { ++refreshed; });
    SetChartMode(*state, 0);
    EXPECT_EQ(PriceText(*state), "Pris: 10.00 kr");
    SetChartMode(*state, 1);
    EXPECT_EQ(PriceText(*state), "Pris: 12.55 kr");
    SetChartMode(*state, 2);
    EXPECT_EQ(PriceText(*state), "Pris: 14.55 kr");
    EXPECT_EQ(state->ChartMode, 2);
    EXPECT_EQ(refreshed, 3);
}

}  // namespace
}  // namespace velmora
