#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

struct ProgramState;

// 0xRRGGBB.
using Rgb = std::uint32_t;

// What the lower half of the main window shows: "Staplar", "Energicirklar" or "Saknade värden".
enum class ChartView { Bars, EnergyPies, MissingValues };

// The result display's state for a run (ChartMode lives in ProgramState).
struct ChartState {
    ChartView view = ChartView::Bars;
    // ButtonProcent names the label style that is not shown: "%" while the labels show amounts,
    // "Värde" while they show per cents.
    std::string percentButtonCaption = "%";
    int axisMaximum = 200;
    int chartHeight = 0;  // pixels; 0 until the chart has been laid out (one page of all bars)
    int page = 0;
    // The day-colour window's "Visa" choice: -1 whole days, else the meal 0..8 shown over the period.
    int periodMeal = -1;
    // Set while a calculation file is being read; the meal-mode title then says "one day".
    bool calculationLoading = false;
};

inline constexpr int kBarSeriesCycle = 9;
inline constexpr Rgb kMissingMarked = 0xFF0000;   // "Saknade värden" when a shown nutrient lacks a value
inline constexpr Rgb kMissingClear = 0x000080;
inline constexpr std::array<std::string_view, 3> kBarHintLines{
    "För att få staplar måste du ange hur stor", "del av dagsbehovet som denna måltid ska ge.",
    "Det gör du under Arkiv/Inställningar."};

// Series are numbered from 1 like food rows, meals + 1 and days + 1, so a segment has the colour of
// its row's text, its meal button or its day name.
Rgb BarSeriesColour(int seriesNumber);

struct BarSeries {
    int number = 0;             // 1-based; see BarSeriesColour
    std::vector<float> values;  // one per bar
};

// One fill of the bar chart: every bar (all pages) with its label and segments.
struct BarChart {
    std::string title;
    std::vector<int> barSlots;        // nutrient slot of each bar, in slot order
    std::vector<std::string> labels;  // one per bar
    std::vector<BarSeries> series;    // only the series that get points, by ascending number
    bool valueAxisLabels = true;      // hidden in the missing-values view
    bool anyMissing = false;          // a shown nutrient lacks a value in the scope
};

BarChart BuildBarChart(const ProgramState& state);
std::string ChartTitle(const ProgramState& state);
// "dag3", or "DAG3" once the day holds energy: the day box's text for a day.
std::string DayBoxText(const ProgramState& state, int day);

// The red hint under the bar chart: the current meal has no share of the daily need.
bool BarHintShown(const ProgramState& state);

// Bar paging: how many bars a chart of this height shows per page, never leaving one bar alone
// on the last page.
int BarsPerPage(int barCount, int chartHeight);
int PageCount(int barCount, int barsPerPage);
struct PageRange {
    int first = 0;
    int count = 0;
};
// The bars of the current page (the page is kept within range).
PageRange CurrentPage(const ChartState& charts, int barCount);
bool PageButtonsShown(const ChartState& charts, int barCount);
void SetChartHeight(ChartState& charts, int chartHeight, int barCount);
// SpinButton1: -1 previous page, +1 next page.
void TurnPage(ChartState& charts, int step, int barCount);

// "Zoom -" and "Zoom +" on the value axis.
void ZoomOut(ChartState& charts);
void ZoomIn(ChartState& charts);
bool ZoomInShown(const ChartState& charts);

struct PieSlice {
    std::string label;
    float value = 0;
    Rgb colour = 0;
    std::string text;  // the slice mark: label and its per cent of the pie
};
struct EnergyPies {
    std::vector<PieSlice> actual;  // empty for an (almost) empty scope
    std::vector<PieSlice> ideal;
};
EnergyPies BuildEnergyPies(const ProgramState& state);
// The actual pie from protein, fat, carbohydrate and alcohol per cents of energy.
std::vector<PieSlice> ActualEnergySlices(const ProgramState& state, float protein, float fat, float carbohydrate,
                                         float alcohol);
// Per cent of energy from protein, fat, carbohydrate and alcohol of one food per 100 g (the
// "Livsmedelscirkel" window); all 0 for a food with next to no energy.
std::array<float, 4> FoodEnergySplit(float protein, float fat, float carbohydrate, float alcohol, int alcoholFactor);

// The price of the scope for the price box.
float ScopePrice(const ProgramState& state);
std::string PriceText(const ProgramState& state);

// Button operations; each ends with Recalculate.
void SetChartMode(ProgramState& state, int mode);             // "Måltid", "Dag", "Dagar"
void ShowChartView(ProgramState& state, ChartView view);      // "Staplar", "Energicirklar", "Saknade värden"
void TogglePercentLabels(ProgramState& state);                // ButtonProcent
void CountAlcohol(ProgramState& state, bool count);           // "Räkna med Alkohol"
void ChoosePeriodMeal(ProgramState& state, int periodMeal);   // the day-colour window's "Visa"

}  // namespace velmora
