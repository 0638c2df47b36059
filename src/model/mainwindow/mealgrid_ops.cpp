#include "mainwindow/mealgrid_ops.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/calcfile.h"
#include "core/numbers.h"
#include "core/programstate.h"
#include "core/prompts.h"
#include "core/text.h"
#include "core/workspace_ops.h"

namespace velmora {
namespace {

constexpr float kShownMinimum = 0.01f;

MealRow& CurrentGridRow(ProgramState& state)
{
    return state.calculation.Row(state.CurrentDay, state.CurrentMeal, std::clamp(state.CurrentRow, 1, kLastRow));
}

std::string Decimal(double value, int decimals) { return FormatDecimal(FormatFixed(value, 0, decimals)); }

// A weight of the unit list: a whole number, blanks after it up to three characters.
std::string PaddedWhole(double value)
{
    std::string text = FormatFixed(value, 0, 0);
    if (text == "-0") text = "0";
    if (text.size() < 3) text.append(3 - text.size(), ' ');
    return text;
}

float GramsStep(const MealRow& row) { return (row.unitWeight >= 0.5f ? row.unitWeight : 100.0f) * 0.1f; }

int LastUsedRow(const Meal& meal)
{
    for (int r = kLastRow; r >= 1; --r) {
        if (meal[r].IsUsed()) return r;
    }
    return 0;
}

}  // namespace

std::array<std::string, kGridColumns> GridCellTexts(const MealRow& row)
{
    std::array<std::string, kGridColumns> cells;
    if (row.IsEmpty()) return cells;
    cells[kColumnName] = row.name;
    if (row.unitWeight > kShownMinimum && row.grams / row.unitWeight > kShownMinimum) {
        cells[kColumnAmount] = Decimal(row.grams / row.unitWeight, 1);
    } else {
        cells[kColumnAmount] = "-";
    }
    cells[kColumnUnit] = row.unit;
    if (!(row.grams > kShownMinimum)) {
        cells[kColumnGrams] = "-";
    } else {
        // Small amounts keep their tenth (a pinch of salt); larger ones read better without.
        cells[kColumnGrams] = Decimal(row.grams, row.grams < 9.95f ? 1 : 0);
    }
    cells[kColumnTime] = row.timeText;
    return cells;
}

std::uint32_t GridRowColour(int chartMode, int row)
{
    if (chartMode != 0 || row < 1) return MealColour[0];
    return MealColour[static_cast<std::size_t>((row - 1) % kMeals + 1)];
}

void SelectGridCell(ProgramState& state, int row, int column)
{
    state.CurrentRow = std::clamp(row, 1, kLastRow);
    state.grid.CurrentColumn = std::clamp(column, 0, kGridColumns - 1);
}

void CommitGridCell(ProgramState& state, Prompts& prompts, std::string_view text, CommitKey key)
{
    const int column = state.grid.CurrentColumn;
    const int r = std::clamp(state.CurrentRow, 1, kLastRow);
    Meal& meal = (*state.calculation.days)[state.CurrentDay][state.CurrentMeal];
    MealRow& row = meal[r];

    if (column == kColumnName || column == kColumnUnit) {
        prompts.inform("Du kan inte ändra i denna kolumn");
    } else if (text != GridCellTexts(row)[static_cast<std::size_t>(column)]) {
        if (key == CommitKey::Enter && (column == kColumnAmount || column == kColumnGrams)) {
            TakeUndoSnapshot(state);
        }
        if (column == kColumnAmount) {
            const float units = ParseDecimal(text);
            row.grams = row.unitWeight > kShownMinimum ? units * row.unitWeight : 0.0f;
        } else if (column == kColumnGrams) {
            row.grams = ParseDecimal(text);
        } else {
            std::string timeText = CutToCapacity(text, 5);
            const int slot = ParseTimeSlot(text);
            for (int later = r; later <= kLastRow; ++later) {
                meal[later].timeText = timeText;
                meal[later].timeSlot = slot;
            }
        }
        state.CalculationDirty = true;
    }
    if (key == CommitKey::Enter) state.grid.CurrentColumn = kColumnTime;
    Recalculate(state);
}

void IncreaseGrams(ProgramState& state, Prompts&)
{
    MealRow& row = CurrentGridRow(state);
    // An empty row has nothing to weigh.
    if (row.IsEmpty()) return;
    row.grams += GramsStep(row);
    state.CalculationDirty = true;
    Recalculate(state);
}

void DecreaseGrams(ProgramState& state, Prompts& prompts)
{
    MealRow& row = CurrentGridRow(state);
    if (row.IsEmpty()) return;
    const float step = GramsStep(row);
    if (step >= row.grams) {
        if (prompts.ask("Vill du ta bort denna rad?", Buttons::YesNo) == Answer::Yes) DeleteGridRow(state);
        return;
    }
    row.grams -= step;
    state.CalculationDirty = true;
    Recalculate(state);
}

void DeleteGridRow(ProgramState& state)
{
    TakeUndoSnapshot(state);
    Meal& meal = (*state.calculation.days)[state.CurrentDay][state.CurrentMeal];
    for (int r = std::clamp(state.CurrentRow, 1, kLastRow); r < kLastRow; ++r) meal[r] = std::move(meal[r + 1]);
    meal[kLastRow].Clear();
    state.CalculationDirty = true;
    Recalculate(state);
}

std::vector<std::string> UnitListLines(const MealRow& row, bool danish)
{
    const std::string tablespoon = danish ? " g/spsk" : " g/msk";
    std::vector<std::string> lines;
    lines.push_back(row.name);
    for (const ExtraUnit& unit : row.extraUnits) {
        if (!(unit.weight > 0.001f)) continue;
        const double w = unit.weight;
        lines.push_back(PaddedWhole(w) + " g/" + unit.name);
        if (unit.name == "dl") {
            lines.push_back(PaddedWhole(w / 6.6) + tablespoon);
            lines.push_back(PaddedWhole(w / 20.0) + " g/tsk");
        } else if (unit.name == "msk" || unit.name == "spsk" || unit.name == "ssk") {
            lines.push_back(PaddedWhole(w * 6.6) + " g/dl");
            lines.push_back(PaddedWhole(w / 3.0) + " g/tsk");
        } else if (unit.name == "tsk") {
            lines.push_back(PaddedWhole(w * 20.0) + " g/dl");
            lines.push_back(PaddedWhole(w * 3.0) + tablespoon);
        }
    }
    if (row.wastePercent > 0.1f) lines.push_back(PaddedWhole(row.wastePercent) + " % avfall");
    if (!row.note.empty()) lines.push_back(row.note);
    lines.push_back("Vikt avser ätlig del");
    return lines;
}

std::vector<std::string> UnitListLines(const ProgramState& state, int row)
{
    if (row < 1 || row > kLastRow) return {};
    const MealRow& mealRow = state.calculation.Row(state.CurrentDay, state.CurrentMeal, row);
    if (mealRow.IsEmpty()) return {};
    return UnitListLines(mealRow, state.texts.languageCode == kLanguageDanish);
}

UnitChoice ChooseUnit(ProgramState& state, int index, std::string_view line)
{
    if (index <= 0) return UnitChoice::HideList;
    const std::size_t slash = line.find('/');
    // The waste and edible-part lines are information; so is a note without a unit in it.
    if (ContainsText(line, "vfall") || ContainsText(line, "ätlig") || slash == std::string_view::npos) {
        return UnitChoice::KeepList;
    }
    MealRow& row = CurrentGridRow(state);
    if (row.IsEmpty()) return UnitChoice::HideList;
    const float weight = ParseDecimal(line.substr(0, line.find(' ')));
    AssignShort(row.unit, line.substr(slash + 1), 16);
    row.unitWeight = weight;
    row.grams = weight;
    state.CalculationDirty = true;
    state.grid.CurrentColumn = kColumnAmount;
    Recalculate(state);
    return UnitChoice::UnitChosen;
}

void Undo(ProgramState& state)
{
    // Before any snapshot the workspace changes places with an empty one.
    if (!state.UndoSnapshot) state.UndoSnapshot = std::make_unique<Days>();
    std::swap(state.calculation.days, state.UndoSnapshot);
    state.CalculationDirty = true;
    Recalculate(state);
}

void CopyMeal(ProgramState& state, Prompts& prompts)
{
    MealClipboard& clipboard = state.grid.mealClipboard;
    if (!clipboard.rows) clipboard.rows = std::make_unique<Meal>();
    *clipboard.rows = (*state.calculation.days)[state.CurrentDay][state.CurrentMeal];
    clipboard.filled = true;
    prompts.inform("Måltiden är nu lagrad och kan klistras in i en annan måltid.");
}

void PasteMeal(ProgramState& state, Prompts& prompts)
{
    const MealClipboard& clipboard = state.grid.mealClipboard;
    if (!clipboard.filled || !clipboard.rows) {
        prompts.inform("Ingen måltid finns att kopiera");
        return;
    }
    TakeUndoSnapshot(state);
    Meal& meal = (*state.calculation.days)[state.CurrentDay][state.CurrentMeal];
    const int first = state.calculation.FirstEmptyRow(state.CurrentDay, state.CurrentMeal);
    // Only up to the clipboard's last food: its empty tail would wipe foods below a gap in the meal.
    const int count = LastUsedRow(*clipboard.rows);
    for (int k = 1; k <= count && first + k - 1 <= kLastRow; ++k) meal[first + k - 1] = (*clipboard.rows)[k];
    state.CalculationDirty = true;
    Recalculate(state);
}

void CopyDay(ProgramState& state, Prompts& prompts)
{
    DayClipboard& clipboard = state.grid.dayClipboard;
    if (!clipboard.meals) clipboard.meals = std::make_unique<Day>();
    *clipboard.meals = (*state.calculation.days)[state.CurrentDay];
    clipboard.filled = true;
    prompts.inform("Dagen är nu lagrad och kan klistras in i en annan dag.");
}

void PasteDay(ProgramState& state, Prompts& prompts)
{
    const DayClipboard& clipboard = state.grid.dayClipboard;
    if (!clipboard.filled || !clipboard.meals) {
        prompts.inform("Ingen dag finns att klistra in");
        return;
    }
    const std::string question =
        "Hela dag " + std::to_string(state.CurrentDay + 1) + " kommer nu att ersättas, är det ok?";
    if (prompts.ask(question, Buttons::YesNo) != Answer::Yes) return;
    (*state.calculation.days)[state.CurrentDay] = *clipboard.meals;
    state.CalculationDirty = true;
    Recalculate(state);
}

void ReplaceEverywhere(ProgramState& state, Prompts& prompts, const std::optional<FoodListEntry>& chosen)
{
    const MealRow& current = CurrentGridRow(state);
    const std::string name = GridCellTexts(current)[kColumnName];
    const std::string newCode = chosen ? TextBetweenBraces(chosen->key) : std::string();
    if (name.empty() || newCode.empty()) {
        prompts.inform("Markera både vilken rad som ska bytas och vilket livsmedel som ska ersätta raden innan du "
                       "klickar på \"Byt alla\"");
        return;
    }
    if (prompts.ask("In a meal, mark the fooditem you want to change, i.e. Orange. Find the fooditem that is to "
                    "replace orange, i.e. apple and mark it. Done this?",
                    Buttons::YesNo) != Answer::Yes) {
        return;
    }
    if (prompts.ask("Want to change all \"" + name + "\"   to   \"" + chosen->display + "\"", Buttons::YesNo) !=
        Answer::Yes) {
        return;
    }

    const std::string oldCode = current.code;
    for (Day& day : *state.calculation.days) {
        for (Meal& meal : day) {
            for (int r = 1; r <= kLastRow; ++r) {
                if (meal[r].code == oldCode) meal[r].code = newCode;
            }
        }
    }

    // Saving and loading again looks every row up by its new code. The round trip is a means, not a
    // new calculation: the user stays where they were, under their own file name, and the other
    // windows, companions and recent files are not touched by it.
    const int day = state.CurrentDay, meal = state.CurrentMeal, row = state.CurrentRow;
    const std::string fileText = state.calculation.fileText;
    const auto recentFiles = state.recentCalculationFiles;
    const auto infoText = state.infoText;
    const auto dayNames = state.calculation.dayNames;
    const bool dayNamesEdited = state.calculation.dayNamesEdited;
    const DiabetesData diabetes = state.diabetes;
    auto clearOtherWindows = std::exchange(state.clearOtherWindows, nullptr);

    const std::filesystem::path path = state.dataFolder / "bytalla.diet";
    state.presetFileName = path;
    if (SaveCalculation(state, prompts)) {
        state.presetFileName = path;
        LoadCalculation(state, prompts);
    }
    state.presetFileName.reset();

    state.clearOtherWindows = std::move(clearOtherWindows);
    state.CurrentDay = day;
    state.CurrentMeal = meal;
    state.CurrentRow = row;
    state.calculation.fileText = fileText;
    state.recentCalculationFiles = recentFiles;
    state.infoText = infoText;
    state.calculation.dayNames = dayNames;
    state.calculation.dayNamesEdited = dayNamesEdited;
    state.diabetes = diabetes;
    state.CalculationDirty = true;
    Recalculate(state);
}

bool IsCurrentMealButton(const ProgramState& state, int meal)
{
    if (meal == 3) return state.CurrentMeal >= 3 && state.CurrentMeal < kMeals;
    return meal == state.CurrentMeal;
}

void ChooseMeal(ProgramState& state, int meal)
{
    if (meal < 0 || meal >= kMeals) return;
    state.CurrentMeal = meal;
    state.currentMealName = state.MealName(meal);
    Recalculate(state);
}

void ChooseDay(ProgramState& state, int day)
{
    if (day < 0 || day >= kDays) return;
    const int previous = state.CurrentDay;
    state.CurrentDay = day;
    if (state.grid.dayChanged) state.grid.dayChanged(previous, day);
    Recalculate(state);
}

std::array<std::string, kDays> DayBoxTexts(const ProgramState& state)
{
    std::array<std::string, kDays> texts;
    for (int d = 0; d < kDays; ++d) {
        const bool eaten = state.totals->dayTotals[d][static_cast<std::size_t>(SlotIndex(slot::kJ))] > 0.1f;
        texts[static_cast<std::size_t>(d)] = (eaten ? "DAG" : "dag") + std::to_string(d + 1);
    }
    return texts;
}

std::string FirstMealButtonCaption(const ProgramState& state)
{
    return state.calculation.wholeDay ? state.texts.wholeDay : state.texts.shortBreakfastName;
}

bool MealButtonBold(const ProgramState& state, int meal)
{
    if (meal < 0 || meal >= kMeals) return false;
    return state.calculation.Row(state.CurrentDay, meal, 1).IsUsed();
}

}  // namespace velmora
