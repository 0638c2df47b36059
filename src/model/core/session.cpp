#include "core/session.h"

#include "core/numbers.h"
#include "core/nutrientnames.h"
#include "core/workspace_ops.h"
#include "mainwindow/startfiles.h"
#include "norms/norms.h"
#include "platform/datafolder.h"
#include "platform/textfile.h"

namespace velmora {

void ApplySettings(ProgramState& state)
{
    for (std::size_t m = 0; m < kMeals; ++m) state.MealShares[m] = ParseDecimal(state.settings.mealShareCells[m]) / 100.0f;
    const auto& cells = state.settings.idealCells;
    IdealEnergyShares& ideal = state.idealShares;
    ideal.protein = ParseDecimal(cells[0]);
    ideal.fat = ParseDecimal(cells[1]);
    ideal.carbohydrate = ParseDecimal(cells[2]);
    ideal.monounsaturated = ParseDecimal(cells[3]);
    ideal.polyunsaturated = ParseDecimal(cells[4]);
    ideal.saturated = ParseDecimal(cells[5]);
}

bool LoadParameterFile(ProgramState& state, const std::filesystem::path& path)
{
    std::vector<std::string> lines;
    if (!ReadTextLines(path, lines)) return false;
    lines.resize(15);
    for (std::size_t m = 0; m < kMeals; ++m) state.settings.mealShareCells[m] = lines[m];
    for (std::size_t k = 0; k < 6; ++k) state.settings.idealCells[k] = lines[9 + k];
    ApplySettings(state);
    return true;
}

Status SaveParameterFile(const ProgramState& state, const std::filesystem::path& path)
{
    std::vector<std::string> lines(state.settings.mealShareCells.begin(), state.settings.mealShareCells.end());
    lines.insert(lines.end(), state.settings.idealCells.begin(), state.settings.idealCells.end());
    return WriteTextLines(path, lines);
}

Status StartSession(ProgramState& state, const std::filesystem::path& dataFolder, std::vector<std::string>* created)
{
    std::vector<std::string> added;
    if (Status status = SeedDataFolder(dataFolder, ShippedDataFolder(), added); !status) return status;
    if (created) *created = added;
    state.dataFolder = dataFolder;
    state.StartupInProgress = true;

    if (Status status = state.database.Open(dataFolder / kTablesFile); !status) return status;
    if (Status status = OpenFoodTables(state.database, state.foodTables); !status) return status;
    if (Status status = OpenNormTables(state); !status) return status;
    ReadStartFiles(state);
    BuildFoodIndexes(state);
    FilterOriginGroups(state);
    if (Status status = ReadNutrientNames(dataFolder / "nvnamn.txt", state.nutrientText); !status) return status;

    std::vector<std::string> passwordLines;
    if (ReadTextLines(dataFolder / "losenord.txt", passwordLines) && !passwordLines.empty()) {
        state.norm.accessPassword = passwordLines.back();
    }
    LoadParameterFile(state, dataFolder / "velmora.para");

    SilentPrompts quiet;
    NewCalculation(state, quiet);
    LoadStartNorm(state);
    state.StartupInProgress = false;
    return Status::Ok();
}

}  // namespace velmora
