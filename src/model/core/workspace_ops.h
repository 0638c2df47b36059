#pragma once

#include <optional>

#include "core/programstate.h"
#include "core/prompts.h"

namespace velmora {

// Empties the calculation, asking first whether a changed one should be saved. Returns false when
// the user cancelled (state.newCalculationCancelled tells the same to later commands).
bool NewCalculation(ProgramState& state, Prompts& prompts);

// Puts the chosen food-list entry into the current meal: row 0 = the first empty row, otherwise
// that row; insert moves the rows from there down one place first.
void AddFood(ProgramState& state, Prompts& prompts, const std::optional<FoodListEntry>& chosen, int row = 0,
             bool insert = false);

void TakeUndoSnapshot(ProgramState& state);

}  // namespace velmora
