#include "core/workspace_ops.h"

#include "core/calcfile.h"
#include "core/text.h"

namespace velmora {

void TakeUndoSnapshot(ProgramState& state)
{
    if (!state.UndoSnapshot) state.UndoSnapshot = std::make_unique<Days>();
    // Taken before every change: rows that are empty on both sides are left alone, since nothing
    // reads an empty row beyond its code.
    Days& snapshot = *state.UndoSnapshot;
    const Days& days = *state.calculation.days;
    for (int d = 0; d < kDays; ++d) {
        for (int m = 0; m < kMeals; ++m) {
            for (int r = 0; r < kRowsPerMeal; ++r) {
                const MealRow& from = days[d][m][r];
                MealRow& to = snapshot[d][m][r];
                if (from.IsEmpty() && to.IsEmpty()) continue;
                to = from;
            }
        }
    }
}

bool NewCalculation(ProgramState& state, Prompts& prompts)
{
    if (state.CalculationDirty) {
        Answer answer = prompts.ask(state.texts.saveBeforeNew, Buttons::YesNoCancel);
        if (answer == Answer::Cancel) {
            state.newCalculationCancelled = true;
            return false;
        }
        if (answer == Answer::Yes) SaveCalculation(state, prompts);
    }
    state.newCalculationCancelled = false;
    state.calculation.fileText.clear();
    state.CalculationDirty = false;
    state.CurrentDay = 0;
    state.CurrentMeal = 0;
    state.CurrentRow = 1;
    state.calculation.ClearRows();
    if (!state.StartupInProgress) {
        state.infoText.clear();
        state.diabetes.glucose.Clear();
        state.diabetes.insulin.Clear();
        state.calculation.ResetDayNames();
        if (state.clearOtherWindows) state.clearOtherWindows();
    }
    state.mainCaption = state.norm.text;
    return true;
}

void AddFood(ProgramState& state, Prompts& prompts, const std::optional<FoodListEntry>& chosen, int row, bool insert)
{
    TakeUndoSnapshot(state);
    if (!chosen) return;
    if (state.firstFoodHintPending) {
        state.firstFoodHintPending = false;
        if (state.showFirstFoodHint) state.showFirstFoodHint();
    }
    RememberChosenFood(state.picker, state.CurrentMeal, *chosen);
    state.CalculationDirty = true;

    const int day = state.CurrentDay;
    const int meal = state.CurrentMeal;
    int target = row >= 1 && row <= kLastRow ? row : state.calculation.FirstEmptyRow(day, meal);
    state.CurrentRow = target;
    if (insert && target <= kLastRow - 1) {
        for (int r = kLastRow - 1; r >= target; --r) {
            state.calculation.Row(day, meal, r + 1) = state.calculation.Row(day, meal, r);
        }
    }

    const std::string code = TextBetweenBraces(chosen->key);
    // Recipes are loaded into the meal by the recipe registers; until they exist a recipe code is
    // looked up like any other and is not found.
    auto source = FindFood(state.foodTables, code, kAddOrder);
    if (!source) {
        prompts.inform("Livsmedel med nr " + code + " finns ej.");
        return;
    }
    FoodRecord food = ReadFoodRecord(state.foodTables[*source]);
    if (*source == FoodSource::Fabrikant) {
        if (food.unit == "tablett") prompts.inform("Skriv 100 gram för en tablett, 200 gram för två osv.");
        if (food.unit == "dagsdos") prompts.inform("100 i gramkolumnen motsvarar en dagsdos, 50 en halvdagsdos osv.");
    }
    MealRow& target_row = state.calculation.Row(day, meal, target);
    target_row.Clear();
    FillRowFromFood(target_row, food);
    if (target > 1 && !state.calculation.Row(day, meal, target - 1).timeText.empty()) {
        const MealRow& above = state.calculation.Row(day, meal, target - 1);
        target_row.timeText = above.timeText;
        target_row.timeSlot = above.timeSlot;
    } else {
        target_row.timeText.clear();
        target_row.timeSlot = 96;
    }
    Recalculate(state);
    if (state.focusMealGrid) state.focusMealGrid(target);
    if (target_row.unit == "Tablett") prompts.inform("100 gram motsvarar en tablett");
}

}  // namespace velmora
