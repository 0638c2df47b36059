#include "core/programstate.h"

#include <algorithm>

namespace velmora {

ProgramState::ProgramState() { currentMealName = texts.mealNames[0]; }

std::string ProgramState::MealName(int meal) const
{
    if (calculation.wholeDay && meal == 0) return texts.wholeDay;
    return texts.mealNames[static_cast<std::size_t>(std::clamp(meal, 0, kMeals - 1))];
}

int MealKindList(int meal) { return std::clamp(meal, 0, 3); }

void AddToFoodList(std::vector<FoodListEntry>& list, const FoodListEntry& entry)
{
    auto same = std::find_if(list.begin(), list.end(), [&](const FoodListEntry& e) { return e.display == entry.display; });
    if (same != list.end()) list.erase(same);
    list.insert(list.begin(), entry);
    if (list.size() > kFoodListCapacity) list.resize(kFoodListCapacity);
}

}  // namespace velmora
