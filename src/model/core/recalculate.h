#pragma once

#include <array>
#include <cstdint>

#include "core/nutrients.h"
#include "core/workspace.h"

namespace velmora {

struct ProgramState;

inline constexpr int kTimeSlots = 97;  // 96 quarter-hours and "no time"
inline constexpr int kEnergyShareCount = 10;

// Protein, fat, carbohydrate, alcohol, sucrose, saturated, monounsaturated, polyunsaturated,
// omega-3 and omega-6, per cent of energy.
using EnergyShares = std::array<float, kEnergyShareCount>;
using MissingCounts = std::array<std::int32_t, kNutrientCount>;

// Every figure Recalculate produces. Fixed-size, allocated once with the program state.
struct CalculationTotals {
    std::array<std::array<NutrientVector, kMeals>, kDays> mealTotals{};
    std::array<std::array<MissingCounts, kMeals>, kDays> mealMissing{};
    std::array<NutrientVector, kDays> dayTotals{};
    std::array<MissingCounts, kDays> dayMissing{};
    int countedDays = 0;
    std::array<NutrientVector, kMeals> mealKindTotals{};
    NutrientVector periodAverage{};
    MissingCounts periodMissing{};
    std::array<std::array<std::array<NutrientVector, kRowsPerMeal>, kMeals>, kDays> rowPercent{};
    std::array<std::array<NutrientVector, kMeals>, kDays> mealPercent{};
    std::array<NutrientVector, kDays> dayPercent{};
    NutrientVector averagePercent{};
    std::array<std::array<EnergyShares, kMeals>, kDays> mealEnergyShares{};
    std::array<EnergyShares, kDays> dayEnergyShares{};
    EnergyShares averageEnergyShares{};
    std::array<std::array<float, kMeals>, kDays> mealPrice{};
    std::array<float, kDays> dayPrice{};
    float totalPrice = 0;
    std::array<NutrientVector, kTimeSlots> timeSlotTotals{};
    int selectedNutrients = 0;
};

// Energy distribution of one nutrient total; alcoholFactor is 2900 or 0.
EnergyShares ComputeEnergyShares(const NutrientVector& totals, int alcoholFactor);

// Recomputes every total from scratch, then the caption, day box and meal-button state, then runs
// the views' refresh hooks in their registration order.
void Recalculate(ProgramState& state);

}  // namespace velmora
