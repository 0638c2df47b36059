#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/workspace.h"
#include "mainwindow/foodlist.h"

namespace velmora {

struct ProgramState;
struct Prompts;

// Columns of the meal grid.
inline constexpr int kColumnName = 0;
inline constexpr int kColumnAmount = 1;
inline constexpr int kColumnUnit = 2;
inline constexpr int kColumnGrams = 3;
inline constexpr int kColumnTime = 4;
inline constexpr int kGridColumns = 5;

// Meal colours as 0xRRGGBB, index 1..9 by meal (and by row, day or bar segment modulo 9); index 0 is
// black.
inline constexpr std::array<std::uint32_t, 10> MealColour{0x000000, 0x0000FF, 0xFF0000, 0x008000, 0xFF00FF,
                                                          0x800080, 0x00FF00, 0x808080, 0x00FFFF, 0x000000};

struct MealClipboard {
    bool filled = false;
    std::unique_ptr<Meal> rows;  // rows 1..199 of the copied meal
};

struct DayClipboard {
    bool filled = false;
    std::unique_ptr<Day> meals;
};

// The meal grid's state for a run beside the position kept in ProgramState.
struct GridState {
    int CurrentColumn = 0;
    MealClipboard mealClipboard;
    DayClipboard dayClipboard;
    // The diabetes logs keep one table per day and follow the day box.
    std::function<void(int previousDay, int newDay)> dayChanged;
};

// The five texts of a grid row: name, amount in units, unit, grams, time. An empty row shows five
// empty cells. Numbers use a decimal comma.
std::array<std::string, kGridColumns> GridCellTexts(const MealRow& row);

// Text colour of grid row r: its meal colour while the chart shows one meal, black otherwise.
std::uint32_t GridRowColour(int chartMode, int row);

// The selected cell; rows are 1..199, columns 0..4.
void SelectGridCell(ProgramState& state, int row, int column);

enum class CommitKey { Enter, Arrow };

// Commits the text typed into the current cell (state.CurrentRow, state.grid.CurrentColumn) and
// recalculates. Enter takes an undo snapshot first in the amount and grams columns and then moves the
// selection to the time column. A text equal to what the cell shows changes nothing, so that moving
// through the grid never rounds an amount to its shown decimal or spreads a time again.
void CommitGridCell(ProgramState& state, Prompts& prompts, std::string_view text, CommitKey key);

// "+" and "-": a tenth of the unit weight (of 100 g when the unit weight is below 0.5 g). "-" asks to
// delete the row when the step would leave nothing.
void IncreaseGrams(ProgramState& state, Prompts& prompts);
void DecreaseGrams(ProgramState& state, Prompts& prompts);

// "Ta bort rad": the rows below CurrentRow move up one place.
void DeleteGridRow(ProgramState& state);

// The unit list of a right click on a row: name, extra units with the spoon and decilitre lines
// derived from them, waste, note, and "Vikt avser ätlig del".
std::vector<std::string> UnitListLines(const MealRow& row, bool danish);
std::vector<std::string> UnitListLines(const ProgramState& state, int row);

enum class UnitChoice { HideList, KeepList, UnitChosen };

// A click on line `index` (-1 = below the lines) of the unit list of CurrentRow. A chosen unit
// becomes the row's unit with one unit's grams, and the amount column is selected.
UnitChoice ChooseUnit(ProgramState& state, int index, std::string_view line);

// "Ångra": the workspace and the undo snapshot change places.
void Undo(ProgramState& state);

// "Kopiera denna måltid", "Klistra in måltid", "Kopiera dag", "Klistra in dag".
void CopyMeal(ProgramState& state, Prompts& prompts);
void PasteMeal(ProgramState& state, Prompts& prompts);
void CopyDay(ProgramState& state, Prompts& prompts);
void PasteDay(ProgramState& state, Prompts& prompts);

// "Byt alla": every row of the calculation with the food of CurrentRow gets the chosen food instead,
// keeping its grams. The calculation goes through the file "bytalla.diet" in the data folder so that
// loading brings in the new food's name, units and values.
void ReplaceEverywhere(ProgramState& state, Prompts& prompts, const std::optional<FoodListEntry>& chosen);

// A meal button pressed while its meal is current (the snack button for any snack).
bool IsCurrentMealButton(const ProgramState& state, int meal);
void ChooseMeal(ProgramState& state, int meal);
// The day box: days outside 0..20 are ignored.
void ChooseDay(ProgramState& state, int day);

// The 21 items of the day box: "DAG" + number for a day with energy, "dag" + number otherwise.
std::array<std::string, kDays> DayBoxTexts(const ProgramState& state);
// The first meal button reads "Hela dagen" in whole-day mode and the short breakfast name otherwise;
// the other buttons keep their captions.
std::string FirstMealButtonCaption(const ProgramState& state);
// A meal's button is bold when row 1 of that meal of the current day holds a food.
bool MealButtonBold(const ProgramState& state, int meal);

}  // namespace velmora
