#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace velmora {

// An entry of a food list: the text shown and the key text behind it (name, "{code}", portion,
// "@", unit).
struct FoodListEntry {
    std::string display;
    std::string key;
};

// The food picker's state for a run: the food indexes, the lists and the filters.
struct FoodPickerState {
    std::vector<FoodListEntry> recentFoods;
    std::vector<FoodListEntry> mealKindFoods[4];  // breakfast, lunch, dinner, snacks
};

inline constexpr std::size_t kFoodListCapacity = 40;

// The list of a meal kind: 0 breakfast, 1 lunch, 2 dinner, 3 any snack.
int MealKindList(int meal);

// A list sorted by display text: the entry lands at its sorted place unless an entry with the same
// display text is there. Returns false when it was there already.
bool AddSorted(std::vector<FoodListEntry>& list, const FoodListEntry& entry);
// The same, and a list that then holds more than `capacity` loses its first entry.
void AddSortedCapped(std::vector<FoodListEntry>& list, const FoodListEntry& entry, std::size_t capacity);

// A food chosen in the food list goes to the recent foods and to the list of the current meal kind.
void RememberChosenFood(FoodPickerState& picker, int meal, const FoodListEntry& entry);

}  // namespace velmora
