#pragma once

#include <array>
#include <string>

namespace velmora {

inline constexpr int kLogEntriesPerDay = 20;

// One reading or dose as typed: clock time and value, at most 8 characters each.
struct LogEntry {
    std::string time;
    std::string value;
};

// Blood glucose readings or insulin doses, 20 entries for each of the 21 days.
struct DayLogs {
    std::array<std::array<LogEntry, kLogEntriesPerDay>, 21> days{};
    void Clear() { days = {}; }
};
using GlucoseLog = DayLogs;
using InsulinLog = DayLogs;

// Carbohydrate ratio per row of the counting grid (rows 1..9 the meals, row 10 the whole day).
using MealCarbRatios = std::array<std::string, 10>;
// Grams of carbohydrate per unit of insulin for each hour 0..23.
using HourlyCarbFactors = std::array<std::string, 24>;

struct DiabetesData {
    GlucoseLog glucose;
    InsulinLog insulin;
    MealCarbRatios mealRatios{};
    HourlyCarbFactors hourlyFactors{};
};

}  // namespace velmora
