#include "mainwindow/foodlist.h"

#include <algorithm>

#include "core/text.h"

namespace velmora {

int MealKindList(int meal) { return std::clamp(meal, 0, 3); }

bool AddSorted(std::vector<FoodListEntry>& list, const FoodListEntry& entry)
{
    for (const FoodListEntry& existing : list) {
        if (existing.display == entry.display) return false;
    }
    auto place = std::upper_bound(list.begin(), list.end(), entry, [](const FoodListEntry& a, const FoodListEntry& b) {
        return CompareNameTexts(a.display, b.display) < 0;
    });
    list.insert(place, entry);
    return true;
}

void AddSortedCapped(std::vector<FoodListEntry>& list, const FoodListEntry& entry, std::size_t capacity)
{
    AddSorted(list, entry);
    while (list.size() > capacity) list.erase(list.begin());
}

void RememberChosenFood(FoodPickerState& picker, int meal, const FoodListEntry& entry)
{
    AddSortedCapped(picker.recentFoods, entry, kFoodListCapacity);
    AddSortedCapped(picker.mealKindFoods[MealKindList(meal)], entry, kFoodListCapacity);
}

}  // namespace velmora
