#include "mainwindow/chartdata.h"

#include <algorithm>
#include <cmath>

#include "core/numbers.h"
#include "core/programstate.h"
#include "core/recalculate.h"

namespace velmora {
namespace {

constexpr float kShareThreshold = 0.001f;
constexpr int kBarPixels = 28;

constexpr std::array<Rgb, kBarSeriesCycle> kSeriesColours{0x0000FF, 0xFF0000, 0x008000, 0xFF00FF, 0x800080,
                                                          0x00FF00, 0x808080, 0x00FFFF, 0x000000};
constexpr Rgb kProteinColour = 0x008000;
constexpr Rgb kFatColour = 0xFF0000;
constexpr Rgb kCarbohydrateColour = 0x0000FF;
constexpr Rgb kAlcoholColour = 0xFFFF00;

constexpr std::array<const char*, kMeals> kMealWords{"Breakfast ", "Lunch ",   "Dinner ",  "Extra 1 ", "Extra 2 ",
                                                     "Extra 3 ",   "Extra 4 ", "Extra 5 ", "Extra 6 "};

constexpr std::size_t U(int i) { return static_cast<std::size_t>(i); }

int Mode(const ProgramState& state) { return std::clamp(state.ChartMode, 0, 2); }

// The all-days chart shows one meal of every day instead of whole days.
int PeriodMeal(const ProgramState& state)
{
    const int meal = state.charts.periodMeal;
    return Mode(state) == 2 && meal >= 0 && meal < kMeals ? meal : -1;
}

float Share(const ProgramState& state, int meal) { return state.MealShares[U(std::clamp(meal, 0, kMeals - 1))]; }

// Per cent of the need relative to a meal's share of it; 0 for a meal without a share.
float OfShare(float percent, float share) { return share > kShareThreshold ? percent / share : 0.0f; }

// The scope's figures for one nutrient: what the label shows and the count of foods without a value.
struct ScopeFigures {
    float amount = 0;
    float percent = 0;
    int missing = 0;
};

ScopeFigures Figures(const ProgramState& state, std::size_t j)
{
    const CalculationTotals& t = *state.totals;
    const int d = state.CurrentDay, m = state.CurrentMeal;
    ScopeFigures f;
    switch (Mode(state)) {
    case 0:
        f.amount = t.mealTotals[U(d)][U(m)][j];
        f.percent = OfShare(t.mealPercent[U(d)][U(m)][j], Share(state, m));
        f.missing = t.mealMissing[U(d)][U(m)][j];
        break;
    case 1:
        f.amount = t.dayTotals[U(d)][j];
        f.percent = t.dayPercent[U(d)][j];
        f.missing = t.dayMissing[U(d)][j];
        break;
    default: {
        f.missing = t.periodMissing[j];
        const int pm = PeriodMeal(state);
        if (pm < 0) {
            f.amount = t.periodAverage[j];
            f.percent = t.averagePercent[j];
            break;
        }
        if (t.countedDays < 1) break;
        const float days = static_cast<float>(t.countedDays);
        float percent = 0;
        for (int day = 0; day < kDays; ++day) {
            if (state.calculation.dayIncluded[U(day)]) percent += t.mealPercent[U(day)][U(pm)][j];
        }
        f.amount = t.mealKindTotals[U(pm)][j] / days;
        f.percent = OfShare(percent / days, Share(state, pm));
        break;
    }
    }
    return f;
}

std::string BarLabel(const ProgramState& state, int slot, const ScopeFigures& f)
{
    const NutrientTextEntry& text = state.nutrientText[slot];
    if (state.charts.view == ChartView::MissingValues) return text.shortName + "   " + std::to_string(f.missing) + " st";
    if (state.charts.percentButtonCaption == "%") return text.shortName + " " + FormatFixed(f.amount, 6, text.decimals) + text.unit;
    return text.shortName + " " + FormatFixed(f.percent, 0, 0) + "%";
}

// The series that get points, by number, before their values are known.
std::vector<BarSeries> ScopeSeries(const ProgramState& state)
{
    std::vector<BarSeries> series;
    if (state.charts.view == ChartView::MissingValues) {
        series.push_back({1, {}});
        return series;
    }
    switch (Mode(state)) {
    case 0: {
        const Meal& meal = (*state.calculation.days)[U(state.CurrentDay)][U(state.CurrentMeal)];
        for (int r = 1; r <= kLastRow; ++r) {
            if (meal[U(r)].IsUsed()) series.push_back({r, {}});
        }
        break;
    }
    case 1:
        for (int m = 0; m < kMeals; ++m) series.push_back({m + 1, {}});
        break;
    default:
        for (int d = 0; d < kDays; ++d) {
            if (state.calculation.dayIncluded[U(d)]) series.push_back({d + 1, {}});
        }
        break;
    }
    return series;
}

// The segment of one series in the bar of nutrient index j.
float SegmentValue(const ProgramState& state, int seriesNumber, std::size_t j)
{
    const CalculationTotals& t = *state.totals;
    const int d = state.CurrentDay;
    switch (Mode(state)) {
    case 0:
        return OfShare(t.rowPercent[U(d)][U(state.CurrentMeal)][U(seriesNumber)][j], Share(state, state.CurrentMeal));
    case 1:
        return t.mealPercent[U(d)][U(seriesNumber - 1)][j];
    default: {
        if (t.countedDays < 1) return 0.0f;
        const float days = static_cast<float>(t.countedDays);
        const int pm = PeriodMeal(state);
        if (pm < 0) return t.dayPercent[U(seriesNumber - 1)][j] / days;
        return OfShare(t.mealPercent[U(seriesNumber - 1)][U(pm)][j] / days, Share(state, pm));
    }
    }
}

std::string PercentText(float value, float total) { return FormatFixed(100.0f * value / total, 0, 0) + "%"; }

// Slice marks show the label and the slice's per cent of its pie.
void MarkSlices(std::vector<PieSlice>& slices)
{
    float total = 0;
    for (const PieSlice& s : slices) total += s.value;
    for (PieSlice& s : slices) s.text = s.label + " " + (total > 0 ? PercentText(s.value, total) : "0%");
}

const EnergyShares& ScopeEnergyShares(const ProgramState& state)
{
    const CalculationTotals& t = *state.totals;
    switch (Mode(state)) {
    case 0: return t.mealEnergyShares[U(state.CurrentDay)][U(state.CurrentMeal)];
    case 1: return t.dayEnergyShares[U(state.CurrentDay)];
    default: return t.averageEnergyShares;
    }
}

}  // namespace

Rgb BarSeriesColour(int seriesNumber)
{
    const int i = ((seriesNumber - 1) % kBarSeriesCycle + kBarSeriesCycle) % kBarSeriesCycle;
    return kSeriesColours[U(i)];
}

std::string DayBoxText(const ProgramState& state, int day)
{
    const bool eaten = state.totals->dayTotals[U(std::clamp(day, 0, kDays - 1))][U(SlotIndex(slot::kJ))] > 0.1f;
    return (eaten ? "DAG" : "dag") + std::to_string(day + 1);
}

std::string ChartTitle(const ProgramState& state)
{
    if (state.charts.view == ChartView::MissingValues) return "Antal livsmedel som saknar näringsuppgift ";
    switch (Mode(state)) {
    case 0: {
        const int m = std::clamp(state.CurrentMeal, 0, kMeals - 1);
        const std::string word = m == 0 && state.charts.calculationLoading ? "one day " : kMealWords[U(m)];
        return "% of recommended intake for " + word + DayBoxText(state, state.CurrentDay);
    }
    case 1: return "Näring i % av behovet för hela " + DayBoxText(state, state.CurrentDay);
    default: {
        const int pm = PeriodMeal(state);
        if (pm < 0) return "Näring i % av dagsbehovet för perioden";
        return "Näring för " + state.MealName(pm) + " under perioden i % av behovet.";
    }
    }
}

BarChart BuildBarChart(const ProgramState& state)
{
    BarChart chart;
    chart.title = ChartTitle(state);
    const bool missingView = state.charts.view == ChartView::MissingValues;
    chart.valueAxisLabels = !missingView;
    chart.series = ScopeSeries(state);
    for (int slot = kFirstNutrientSlot; slot <= kLastNutrientSlot; ++slot) {
        if (state.nutrientSelection.IsSelected(slot)) chart.barSlots.push_back(slot);
    }
    const std::size_t bars = chart.barSlots.size();
    chart.labels.reserve(bars);
    for (BarSeries& s : chart.series) s.values.assign(bars, 0.0f);

    for (std::size_t b = 0; b < bars; ++b) {
        const int slot = chart.barSlots[b];
        const auto j = static_cast<std::size_t>(SlotIndex(slot));
        const ScopeFigures figures = Figures(state, j);
        if (figures.missing > 0) chart.anyMissing = true;
        chart.labels.push_back(BarLabel(state, slot, figures));
        if (missingView) {
            chart.series[0].values[b] = 10.0f * static_cast<float>(figures.missing);
            continue;
        }
        for (BarSeries& s : chart.series) s.values[b] = SegmentValue(state, s.number, j);
    }
    return chart;
}

bool BarHintShown(const ProgramState& state)
{
    return state.charts.view != ChartView::EnergyPies && Mode(state) == 0 &&
           Share(state, state.CurrentMeal) <= kShareThreshold;
}

int BarsPerPage(int barCount, int chartHeight)
{
    if (barCount <= 0) return 0;
    int k = std::min(static_cast<int>(std::lround(static_cast<double>(chartHeight) / kBarPixels)), barCount);
    for (int n = 1; n <= 4; ++n) {
        if (barCount == n * k + 1) --k;
    }
    return std::max(k, 1);
}

int PageCount(int barCount, int barsPerPage)
{
    if (barCount <= 0 || barsPerPage <= 0) return 0;
    return (barCount + barsPerPage - 1) / barsPerPage;
}

namespace {
int PerPage(const ChartState& charts, int barCount)
{
    return charts.chartHeight > 0 ? BarsPerPage(barCount, charts.chartHeight) : std::max(barCount, 0);
}
int ClampedPage(int page, int pages) { return std::clamp(page, 0, std::max(pages - 1, 0)); }
}  // namespace

PageRange CurrentPage(const ChartState& charts, int barCount)
{
    const int perPage = PerPage(charts, barCount);
    if (perPage <= 0) return {};
    const int page = ClampedPage(charts.page, PageCount(barCount, perPage));
    const int first = page * perPage;
    return {first, std::min(perPage, barCount - first)};
}

bool PageButtonsShown(const ChartState& charts, int barCount) { return PerPage(charts, barCount) < barCount; }

void SetChartHeight(ChartState& charts, int chartHeight, int barCount)
{
    charts.chartHeight = chartHeight;
    charts.page = ClampedPage(charts.page, PageCount(barCount, PerPage(charts, barCount)));
}

void TurnPage(ChartState& charts, int step, int barCount)
{
    charts.page = ClampedPage(charts.page + step, PageCount(barCount, PerPage(charts, barCount)));
}

void ZoomOut(ChartState& charts) { charts.axisMaximum += 100; }

void ZoomIn(ChartState& charts)
{
    if (charts.axisMaximum > 110) charts.axisMaximum -= 100;
}

bool ZoomInShown(const ChartState& charts) { return charts.axisMaximum >= 110; }

std::vector<PieSlice> ActualEnergySlices(const ProgramState& state, float protein, float fat, float carbohydrate,
                                         float alcohol)
{
    std::vector<PieSlice> slices;
    if (!(protein + fat + carbohydrate + alcohol > 10.0f)) return slices;
    const LanguageTexts& texts = state.texts;
    slices.push_back({texts.pieProtein, protein, kProteinColour, {}});
    slices.push_back({texts.pieFat, fat, kFatColour, {}});
    slices.push_back({texts.pieCarbohydrate, carbohydrate, kCarbohydrateColour, {}});
    if (alcohol > 1.0f) slices.push_back({texts.pieAlcohol, alcohol, kAlcoholColour, {}});
    MarkSlices(slices);
    return slices;
}

EnergyPies BuildEnergyPies(const ProgramState& state)
{
    const EnergyShares& shares = ScopeEnergyShares(state);
    EnergyPies pies;
    pies.actual = ActualEnergySlices(state, shares[0], shares[1], shares[2], shares[3]);
    const IdealEnergyShares& ideal = state.idealShares;
    const LanguageTexts& texts = state.texts;
    pies.ideal.push_back({texts.pieProtein, ideal.protein, kProteinColour, {}});
    pies.ideal.push_back({texts.pieFat, ideal.fat, kFatColour, {}});
    pies.ideal.push_back({texts.pieCarbohydrate, ideal.carbohydrate, kCarbohydrateColour, {}});
    if (shares[3] > 1.0f) pies.ideal.push_back({texts.pieAlcoholMax, 5.0f, kAlcoholColour, {}});
    MarkSlices(pies.ideal);
    return pies;
}

std::array<float, 4> FoodEnergySplit(float protein, float fat, float carbohydrate, float alcohol, int alcoholFactor)
{
    const float a = static_cast<float>(alcoholFactor);
    const float total = protein * 1700.0f + fat * 3700.0f + carbohydrate * 1700.0f + alcohol * a;
    if (!(total > 5.0f)) return {};
    return {protein * 100.0f * 1700.0f / total, fat * 100.0f * 3700.0f / total,
            carbohydrate * 100.0f * 1700.0f / total, alcohol * 100.0f * a / total};
}

float ScopePrice(const ProgramState& state)
{
    const CalculationTotals& t = *state.totals;
    switch (Mode(state)) {
    case 0: return t.mealPrice[U(state.CurrentDay)][U(state.CurrentMeal)];
    case 1: return t.dayPrice[U(state.CurrentDay)];
    default: return t.totalPrice;
    }
}

std::string PriceText(const ProgramState& state) { return "Pris: " + FormatFixed(ScopePrice(state), 0, 2) + " kr"; }

void SetChartMode(ProgramState& state, int mode)
{
    state.ChartMode = std::clamp(mode, 0, 2);
    Recalculate(state);
}

void ShowChartView(ProgramState& state, ChartView view)
{
    state.charts.view = view;
    Recalculate(state);
}

void TogglePercentLabels(ProgramState& state)
{
    std::string& caption = state.charts.percentButtonCaption;
    caption = caption == "%" ? "Värde" : "%";
    Recalculate(state);
}

void CountAlcohol(ProgramState& state, bool count)
{
    state.energyFactors.SetCountAlcohol(count);
    Recalculate(state);
}

void ChoosePeriodMeal(ProgramState& state, int periodMeal)
{
    state.charts.periodMeal = periodMeal >= 0 && periodMeal < kMeals ? periodMeal : -1;
    Recalculate(state);
}

}  // namespace velmora
