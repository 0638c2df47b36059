#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/programstate.h"
#include "core/prompts.h"

namespace velmora {

// Opens a run on a data folder: seeds it when needed, opens the tables, reads the nutrient names
// (the one file the program cannot start without), the parameter and password files, puts the
// start norm in force and starts an empty calculation.
Status StartSession(ProgramState& state, const std::filesystem::path& dataFolder,
                    std::vector<std::string>* created = nullptr);

// velmora.para: 9 meal shares, then the ideal protein, fat, carbohydrate, monounsaturated,
// polyunsaturated and saturated fat per cents.
bool LoadParameterFile(ProgramState& state, const std::filesystem::path& path);
Status SaveParameterFile(const ProgramState& state, const std::filesystem::path& path);
// Takes the settings grids into MealShares and IdealEnergyShares.
void ApplySettings(ProgramState& state);

}  // namespace velmora
