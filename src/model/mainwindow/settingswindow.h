#pragma once

#include "core/programstate.h"
#include "core/prompts.h"

namespace velmora {

inline constexpr const char* kParameterFileName = "velmora.para";

// "Verkställ" of the settings window: the typed cells (state.settings) become the meal shares and
// the ideal energy distribution, the totals follow, and velmora.para in the data folder is rewritten.
void ApplySettingsWindow(ProgramState& state, Prompts& prompts);

// "Ska dagen delas upp i måltider?": Ja divides the day into the nine meals, Nej judges the whole
// day as one meal. The typed meal shares stay and come back with Ja.
void SetMealDivision(ProgramState& state, bool divided);

}  // namespace velmora
