#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/foodtables.h"
#include "core/nutrients.h"
#include "core/recalculate.h"
#include "core/workspace.h"
#include "diabetes/diabeteslogs.h"
#include "language/languagetexts.h"
#include "mainwindow/chartdata.h"
#include "mainwindow/foodlist.h"
#include "mainwindow/mealgrid_ops.h"
#include "norms/normstate.h"
#include "platform/tablestore.h"

namespace velmora {

// The two tables of the settings window, as typed.
struct Settings {
    std::array<std::string, kMeals> mealShareCells{"25", "30", "30", "15", "0", "0", "0", "0", "0"};
    std::array<std::string, 6> idealCells{"15", "30", "55", "12.5", "7.5", "10"};  // file order
};

// What the program holds for one run. Windows read it and change it through model operations.
struct ProgramState {
    ProgramState();

    // The calculation and the position in it.
    DietCalculation calculation;
    int CurrentDay = 0;
    int CurrentMeal = 0;
    int CurrentRow = 1;
    int ChartMode = 0;
    bool CalculationDirty = false;
    std::unique_ptr<Days> UndoSnapshot;
    std::vector<std::string> infoText;
    DiabetesData diabetes;
    std::string saveDate;  // of the file last loaded

    // Results.
    std::unique_ptr<CalculationTotals> totals = std::make_unique<CalculationTotals>();
    std::array<float, kMeals> MealShares{0.25f, 0.30f, 0.30f, 0.15f, 0, 0, 0, 0, 0};

    // Norm in force and the catalogue.
    NormState norm;
    IdealEnergyShares idealShares;
    NutrientText nutrientText;
    NutrientSelection nutrientSelection;
    EnergyFactors energyFactors;
    Settings settings;
    LanguageTexts texts;

    // Tables and files.
    std::filesystem::path dataFolder;
    Database database;
    FoodTables foodTables;
    Table normer;      // its current row is the one the standard-norm window points at
    Table normPerKg;
    std::filesystem::path fileDialogStartFolder = ".";
    std::optional<std::filesystem::path> presetFileName;
    std::vector<std::filesystem::path> recentCalculationFiles;  // newest first
    bool newCalculationCancelled = false;

    // Main-window subsystems.
    FoodPickerState picker;
    GridState grid;
    ChartState charts;

    bool StartupInProgress = false;
    std::string CountryCode = "S";  // country.txt
    bool firstFoodHintPending = true;
    std::string currentMealName;
    std::string mainCaption;

    // Views register here once; Recalculate runs them last, in order.
    std::vector<std::function<void()>> refreshHooks;
    std::function<void()> showFirstFoodHint;
    // After AddFood: the grid selects this row's grams column and takes the focus.
    std::function<void(int row)> focusMealGrid;
    // Views of other windows that a new calculation clears (recipe editor, info text, logs).
    std::function<void()> clearOtherWindows;

    std::string MealName(int meal) const;
};

}  // namespace velmora
