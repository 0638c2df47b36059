#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "core/foodtables.h"
#include "core/nutrients.h"

namespace velmora {

inline constexpr int kDays = 21;
inline constexpr int kMeals = 9;
inline constexpr int kRowsPerMeal = 200;  // rows 1..199 hold foods; row 0 is never used
inline constexpr int kLastRow = 199;
inline constexpr std::size_t kMealRowImageSize = 612;

// One row of a meal. Strings are UTF-8 and kept within their capacities (in characters).
struct MealRow {
    std::string code = "0";  // 81; "0" = empty row, a code containing ":" = text row
    std::string name;        // 80
    std::string unit;        // 16
    float unitWeight = 0;
    std::array<ExtraUnit, 4> extraUnits{};
    float grams = 0;
    float pricePerKg = 0;
    float wastePercent = 0;
    std::string note;        // 20
    std::string timeText;    // 5
    std::int32_t timeSlot = 96;
    NutrientVector nutrients{};

    bool IsEmpty() const { return code == "0"; }
    bool IsUsed() const { return code != "0"; }
    bool IsTextRow() const { return code.find(':') != std::string::npos; }
    void Clear();
};

using MealRowImage = std::array<std::uint8_t, kMealRowImageSize>;

// The 612-byte little-endian record that the meal file stores a row as. Strings are Windows-1252
// with a length byte; a length beyond the capacity in a read image is cut to the capacity.
MealRowImage ToImage(const MealRow& row);
MealRow FromImage(std::span<const std::uint8_t, kMealRowImageSize> image);

using Meal = std::array<MealRow, kRowsPerMeal>;
using Day = std::array<Meal, kMeals>;
using Days = std::array<Day, kDays>;

// The calculation: 21 days of 9 meals of 199 rows, and what belongs to it beside the rows.
struct DietCalculation {
    std::unique_ptr<Days> days = std::make_unique<Days>();
    bool wholeDay = false;
    std::string fileText;
    std::array<std::string, kDays> dayNames;
    bool dayNamesEdited = false;
    std::array<bool, kDays> dayIncluded{};

    DietCalculation();
    MealRow& Row(int day, int meal, int row) { return (*days)[day][meal][row]; }
    const MealRow& Row(int day, int meal, int row) const { return (*days)[day][meal][row]; }
    // The first row 1..199 with code "0"; 199 when the meal is full.
    int FirstEmptyRow(int day, int meal) const;
    void ClearRows();
    void ResetDayNames();
};

// Fills a row from a food record: one unit's grams, the table's units, price, note and nutrients.
void FillRowFromFood(MealRow& row, const FoodRecord& food);

}  // namespace velmora
