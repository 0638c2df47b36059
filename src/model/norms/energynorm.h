#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/nutrients.h"
#include "norms/normstate.h"

namespace velmora {

struct ProgramState;

// Group of the Harris-Benedict and activity windows: 10-13, 14-17, 18-30, 31-60, 61-74, 75-110
// (men 1..6, women 11..16); children have no group there. 0 = no group.
int HarrisNormGroupNumber(bool man, int age);
// Group of the personal-norm window: 11-14, 15-18, 19-30, 31-60, 61-75, 76-110.
int PersonNormGroupNumber(bool man, int age);

// The digits a text starts with (after blanks), 0 when it starts with none: "45,5" gives 45.
int WholeNumberPrefix(std::string_view text);

// An energy need that would not survive the kJ and gram arithmetic of a norm counts as no need,
// so that no infinity or NaN ever reaches the norm in force.
bool UsableEnergy(float kcal);

// Writes the energy slots (kcal, kJ) and protein, fat and carbohydrate from an energy need and the
// ideal energy distribution; the three fat qualities too when asked.
void WriteEnergySlots(NutrientVector& norm, float kcal, const IdealEnergyShares& shares, bool fatQualities);
// The same with the kJ figure given (a need typed in kJ keeps its own figure).
void WriteEnergySlots(NutrientVector& norm, float kcal, float kJ, const IdealEnergyShares& shares,
                      bool fatQualities);

std::string WholeText(float value);

// The standard norm of a group becomes the current norm row and the norm in force for the slots up
// to selenium; without a group, or a row for it, nothing changes.
void TakeGroupRowIntoNorm(ProgramState& state, int group);

} // namespace velmora
