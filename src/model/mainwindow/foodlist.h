#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/result.h"

namespace velmora {

struct ProgramState;
struct Prompts;
class Table;

// An entry of a food list: the text shown and the key text behind it (name, "{code}", portion,
// "@", unit). Separator rows carry a fixed key without braces, the no-match row an empty key.
struct FoodListEntry {
    std::string display;
    std::string key;
};

// One food header of an index. The short strings are those of the source record; the rest is
// derived once when the entry is added, so that a search only compares bytes.
struct FoodIndexEntry {
    std::string code;     // 22
    std::string name;     // 80
    std::string unit;     // 16
    std::string portion;  // 8, the portion size as text
    std::string group;    // 30; national table: Grupp1, product database: the company

    std::string upperName;
    std::string upperGroup;
    std::string key;  // FoodKeyText of the entry
    bool placeholder = false;  // the name is "RESERV"
    bool expired = false;      // the name holds "UTGÅ"
    bool norwegian = false;    // "/NO"
    bool danish = false;       // "/DK"
};

// The headers of one food source in the order of its name index, up to a fixed capacity.
class FoodIndex {
public:
    explicit FoodIndex(std::size_t capacity) : m_capacity(capacity) {}

    // Cuts the texts to their capacities; false when the index is full.
    bool Add(std::string_view code, std::string_view name, std::string_view unit, std::string_view portion,
             std::string_view group = {});
    void Clear() { m_entries.clear(); }
    // Allocates the whole capacity at once, for an index about to be filled.
    void Reserve() { m_entries.reserve(m_capacity); }

    std::size_t Count() const { return m_entries.size(); }
    std::size_t Capacity() const { return m_capacity; }
    const FoodIndexEntry& operator[](std::size_t i) const { return m_entries[i]; }
    auto begin() const { return m_entries.begin(); }
    auto end() const { return m_entries.end(); }

private:
    std::vector<FoodIndexEntry> m_entries;
    std::size_t m_capacity;
};

inline constexpr std::size_t kNationalIndexCapacity = 6001;
inline constexpr std::size_t kManufacturerIndexCapacity = 2001;
inline constexpr std::size_t kOwnFoodIndexCapacity = 2001;
inline constexpr std::size_t kDabasIndexCapacity = 11001;
inline constexpr std::size_t kRecipeIndexCapacity = 801;

// Which list the picker shows; only Favorit changes behaviour (the context menu's remove item).
enum class ListMode { Senaste, Namn, Favorit };

inline constexpr const char* kDabasCompanyPrompt = "  Select company";

// The food picker's state for a run: the food indexes, the lists and the filters.
struct FoodPickerState {
    FoodIndex national{kNationalIndexCapacity};
    FoodIndex manufacturers{kManufacturerIndexCapacity};
    FoodIndex ownFoods{kOwnFoodIndexCapacity};
    FoodIndex dabas{kDabasIndexCapacity};
    FoodIndex ownRecipes{kRecipeIndexCapacity};      // filled by the recipe registers
    FoodIndex generalRecipes{kRecipeIndexCapacity};

    // The food-group box: all groups (heading first) and what the origin boxes let through.
    std::vector<std::string> allGroups;
    std::vector<std::string> groups;
    int groupIndex = 0;
    // The company box of the product database; it exists once the index is loaded.
    std::vector<std::string> dabasCompanies{kDabasCompanyPrompt};
    int dabasCompanyIndex = 0;
    bool DabasLoaded = false;

    // The check boxes the search reads.
    bool swedish = false;
    bool norwegian = false;
    bool danish = false;
    bool dabasOn = false;
    bool ShowExpired = false;

    ListMode listMode = ListMode::Senaste;
    std::string LastSearchText;
    int ContextFoodIndex = -1;
    std::string ContextFoodCode;

    std::vector<FoodListEntry> shown;  // what the food list shows
    std::vector<FoodListEntry> favourites;
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

// ---- Indexes ------------------------------------------------------------------------------------

std::string FoodKeyText(std::string_view name, std::string_view code, std::string_view portion,
                        std::string_view unit);

// Refills the index from the table in the order of its index "livsmedel", in one walk. The group
// is taken only when asked for (national table, product database).
Status FillFoodIndex(Table& table, FoodIndex& index, bool withGroup,
                     const std::function<void(int)>& progress = {});

// Start-up: the national table's index and its group list, then the manufacturers' and own foods.
// A table that is not open leaves its index empty.
Status BuildFoodIndexes(ProgramState& state);

// Loads the product database's index and its company list once per run; progress receives the
// number of products read so far.
void LoadDabasIndex(ProgramState& state, const std::function<void(int)>& progress = {});

// ---- The food list --------------------------------------------------------------------------

// Rebuilds the shown list from all sources for a search text and returns the number of matches.
int FillFoodList(ProgramState& state, std::string_view text);

// Rebuilds the visible group box from the full group list under the origin boxes.
void FilterOriginGroups(ProgramState& state);

// A change of the group box: the national foods of that group (the heading lists nothing).
void FilterFoodGroup(ProgramState& state, int groupIndex);

// A click on an origin box (already set in the state): searches the text, remembers it as the last
// search text, resets the company box and refilters the groups. Returns the number of matches.
int OriginBoxClicked(ProgramState& state, std::string_view searchText);

// "Visa även artiklar som UTGÅTT": asks, then does what an origin box does. Returns the number of
// matches of the new search.
int AskShowExpired(ProgramState& state, Prompts& prompts, std::string_view searchText);

// "Sök på namn": a prompted word of at least two characters is searched. Returns the number of
// matches when a search ran.
std::optional<int> SearchByPrompt(ProgramState& state, Prompts& prompts);

// The "DABAS" box changed: the warning, then a search with the last search text. Returns true when
// the product index is still to be loaded (the caller starts its load timer).
bool SwitchDabas(ProgramState& state, Prompts& prompts, bool checked);

// A company chosen in the company box: that company's products. Index 0 is the prompt item.
std::optional<int> SearchDabasCompany(ProgramState& state, int companyIndex);

void ShowFavourites(ProgramState& state);
void ShowRecentFoods(ProgramState& state);
// The meal button of the current meal pressed again: the foods used in that meal kind.
void ShowMealKindList(ProgramState& state, int meal);

// A food row of the shown list; separators and the no-match row are not foods.
bool IsFoodEntry(const FoodListEntry& entry);

// Adds the shown entry at `index` to the current meal. False when it is no food.
bool ChooseFoodListEntry(ProgramState& state, Prompts& prompts, int index);

// A search-box text holding ":" goes into the first free row of the current meal as a text row.
// Returns the row.
int AddTextRow(ProgramState& state, std::string_view text);

// ---- Context menu -------------------------------------------------------------------------------

// Remembers the entry under the mouse and the code in its key text; false when there is none.
bool SetContextEntry(ProgramState& state, int index);
// Adds the context entry to the favourites; false when it was there (or is no food).
bool AddContextEntryToFavourites(ProgramState& state);
// In favourites mode: removes the context entry and shows the favourites again.
bool RemoveContextEntryFromFavourites(ProgramState& state);

// The product information page for a code: the product database's page for a "dab" code (by its
// 14-digit GTIN), the national food agency's page for a national food, else the manufacturer's own
// address. Empty when there is none.
std::string ProductInfoAddress(std::string_view code, bool nationalFood, std::string_view manufacturerWww);
// The same, looking the code up in the tables.
std::string ProductInfoAddressFor(ProgramState& state, std::string_view code);

}  // namespace velmora
