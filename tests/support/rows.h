#pragma once

#include <initializer_list>
#include <utility>

#include "core/programstate.h"

namespace velmora::testing {

// A used row set by hand, so that a case shows exactly the numbers it adds up.
inline MealRow& PutRow(ProgramState& state, int day, int meal, int row, float grams,
                       std::initializer_list<std::pair<int, float>> values, float pricePerKg = 0)
{
    MealRow& r = state.calculation.Row(day, meal, row);
    r.code = "x";
    r.grams = grams;
    r.pricePerKg = pricePerKg;
    r.nutrients.fill(0.0f);
    for (auto [slot, value] : values) r.nutrients[static_cast<std::size_t>(SlotIndex(slot))] = value;
    return r;
}

}  // namespace velmora::testing
