#include "core/programstate.h"

#include <algorithm>

namespace velmora {

ProgramState::ProgramState() { currentMealName = texts.mealNames[0]; }

std::string ProgramState::MealName(int meal) const
{
    if (calculation.wholeDay && meal == 0) return texts.wholeDay;
    return texts.mealNames[static_cast<std::size_t>(std::clamp(meal, 0, kMeals - 1))];
}

}  // namespace velmora
