#include "core/recalculate.h"

#include <cmath>

#include "core/numbers.h"
#include "core/programstate.h"

namespace velmora {
namespace {

constexpr float kNormThreshold = 0.001f;
constexpr std::size_t I(int slot) { return static_cast<std::size_t>(SlotIndex(slot)); }

void PercentOf(const NutrientVector& totals, const NutrientVector& norm, NutrientVector& percent)
{
    for (std::size_t j = 0; j < totals.size(); ++j) {
        percent[j] = norm[j] > kNormThreshold ? 100.0f * totals[j] / norm[j] : 0.0f;
    }
}

void AddInto(NutrientVector& sum, const NutrientVector& add)
{
    for (std::size_t j = 0; j < sum.size(); ++j) sum[j] += add[j];
}

}  // namespace

EnergyShares ComputeEnergyShares(const NutrientVector& t, int alcoholFactor)
{
    EnergyShares shares{};
    const float a = static_cast<float>(alcoholFactor);
    const float e = 1700.0f * t[I(slot::protein)] + 3700.0f * t[I(slot::fat)] + 1700.0f * t[I(slot::carbohydrate)] +
                    800.0f * t[I(slot::fibre)] + a * t[I(slot::alcohol)];
    if (!(e > 5.0f)) return shares;
    shares[0] = 100.0f * 1700.0f * t[I(slot::protein)] / e;
    shares[1] = 100.0f * 3700.0f * t[I(slot::fat)] / e;
    shares[2] = 100.0f * (1700.0f * t[I(slot::carbohydrate)] + 800.0f * t[I(slot::fibre)]) / e;
    shares[3] = 100.0f * a * t[I(slot::alcohol)] / e;
    shares[4] = 100.0f * 1700.0f * t[I(slot::sucrose)] / e;
    shares[5] = 100.0f * 3700.0f * t[I(slot::saturated)] / e;
    shares[6] = 100.0f * 3700.0f * t[I(slot::monounsaturated)] / e;
    shares[7] = 100.0f * 3700.0f * t[I(slot::polyunsaturated)] / e;
    shares[8] = 100.0f * 3700.0f *
                (t[I(slot::fa18_3)] + t[I(slot::fa20_5)] + t[I(slot::fa22_5)] + t[I(slot::fa22_6)]) / e;
    shares[9] = 100.0f * 3700.0f * (t[I(slot::fa18_2)] + t[I(slot::fa20_4)]) / e;
    return shares;
}

void Recalculate(ProgramState& state)
{
    CalculationTotals& t = *state.totals;
    const Days& days = *state.calculation.days;
    const NutrientVector& norm = state.norm.activeNorm;
    const int currentDay = state.CurrentDay;

    // 1. Meal shares.
    if (state.calculation.wholeDay) {
        state.MealShares.fill(0.0f);
        state.MealShares[0] = 1.0f;
        state.CurrentMeal = 0;
    } else {
        for (int m = 0; m < kMeals; ++m) {
            state.MealShares[static_cast<std::size_t>(m)] = ParseDecimal(state.settings.mealShareCells[static_cast<std::size_t>(m)]) / 100.0f;
        }
    }
    state.currentMealName = state.MealName(state.CurrentMeal);

    // 2. Selected nutrients.
    t.selectedNutrients = state.nutrientSelection.SelectedCount();

    // 3..6. Prices, sums and each used row's share of the daily norm, in one pass over the rows:
    // the workspace is large and each row is touched once.
    for (auto& day : t.mealTotals) for (auto& v : day) v.fill(0.0f);
    for (auto& day : t.mealMissing) for (auto& v : day) v.fill(0);
    for (auto& v : t.timeSlotTotals) v.fill(0.0f);
    for (auto& v : t.mealKindTotals) v.fill(0.0f);
    t.totalPrice = 0;
    for (int d = 0; d < kDays; ++d) {
        float dayPrice = 0;
        for (int m = 0; m < kMeals; ++m) {
            const Meal& meal = days[d][m];
            NutrientVector& total = t.mealTotals[d][m];
            MissingCounts& missing = t.mealMissing[d][m];
            float price = 0;
            for (int r = 1; r <= kLastRow; ++r) {
                const MealRow& row = meal[r];
                if (row.code.size() == 1 && row.code[0] == '0') continue;
                const float grams = row.grams;
                price += grams * 0.001f * row.pricePerKg;
                const float hundredth = 0.01f * grams;
                NutrientVector& percent = t.rowPercent[d][m][r];
                for (std::size_t j = 0; j < kNutrientCount; ++j) {
                    float v = row.nutrients[j];
                    if (!(v >= 0.0f)) {
                        v = 0.0f;
                        ++missing[j];
                    }
                    total[j] += hundredth * v;
                    percent[j] = norm[j] > kNormThreshold ? grams * v / norm[j] : 0.0f;
                }
                if (d == currentDay) {
                    NutrientVector& slotTotal =
                        t.timeSlotTotals[static_cast<std::size_t>(row.timeSlot >= 0 && row.timeSlot <= 96 ? row.timeSlot : 96)];
                    for (std::size_t j = 0; j < kNutrientCount; ++j) {
                        const float v = row.nutrients[j];
                        slotTotal[j] += hundredth * (v >= 0.0f ? v : 0.0f);
                    }
                }
            }
            t.mealPrice[d][m] = price;
            dayPrice += price;
        }
        t.dayPrice[d] = dayPrice;
        t.totalPrice += dayPrice;
    }

    // 7..10. Days, counted days, meal kinds, period.
    t.countedDays = 0;
    t.periodAverage.fill(0.0f);
    t.periodMissing.fill(0);
    for (int d = 0; d < kDays; ++d) {
        NutrientVector& dayTotal = t.dayTotals[d];
        MissingCounts& dayMissing = t.dayMissing[d];
        dayTotal.fill(0.0f);
        dayMissing.fill(0);
        for (int m = 0; m < kMeals; ++m) {
            AddInto(dayTotal, t.mealTotals[d][m]);
            for (std::size_t j = 0; j < kNutrientCount; ++j) dayMissing[j] += t.mealMissing[d][m][j];
        }
        if (!state.calculation.dayIncluded[static_cast<std::size_t>(d)]) continue;
        if (dayTotal[I(slot::kJ)] > 10.0f) ++t.countedDays;
        for (int m = 0; m < kMeals; ++m) AddInto(t.mealKindTotals[m], t.mealTotals[d][m]);
        AddInto(t.periodAverage, dayTotal);
        for (std::size_t j = 0; j < kNutrientCount; ++j) t.periodMissing[j] += dayMissing[j];
    }
    if (t.countedDays >= 1) {
        for (float& v : t.periodAverage) v /= static_cast<float>(t.countedDays);
    } else {
        t.periodAverage.fill(0.0f);
    }

    // 11. Percentages. 12. Energy shares.
    const int alcohol = state.energyFactors.alcohol;
    for (int d = 0; d < kDays; ++d) {
        for (int m = 0; m < kMeals; ++m) {
            PercentOf(t.mealTotals[d][m], norm, t.mealPercent[d][m]);
            t.mealEnergyShares[d][m] = ComputeEnergyShares(t.mealTotals[d][m], alcohol);
        }
        PercentOf(t.dayTotals[d], norm, t.dayPercent[d]);
        t.dayEnergyShares[d] = ComputeEnergyShares(t.dayTotals[d], alcohol);
    }
    PercentOf(t.periodAverage, norm, t.averagePercent);
    t.averageEnergyShares = t.periodAverage[I(slot::kJ)] > 5.0f ? ComputeEnergyShares(t.periodAverage, alcohol)
                                                                 : EnergyShares{};

    // The caption of the main window.
    const float mealKcal = norm[I(slot::kcal)] * state.MealShares[static_cast<std::size_t>(state.CurrentMeal)];
    state.mainCaption = state.calculation.fileText + "   " + state.norm.text + "         " + FormatFixed(mealKcal, 0, 0) +
                        " kcal/" + state.currentMealName;

    // 13, 14. Views.
    for (const auto& refresh : state.refreshHooks) refresh();
}

}  // namespace velmora
