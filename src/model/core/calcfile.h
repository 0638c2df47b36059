#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/programstate.h"
#include "core/prompts.h"

namespace velmora {

// A norm kind whose window stores its inputs beside the calculation; save writes the companion
// after the ".norm" file, load reads it after. The kinds are listed in one table in calcfile.cpp.
struct NormCompanion {
    std::string kind;       // "egennorm"
    std::string extension;  // ".enorm"
    std::function<Status(const ProgramState&, const std::filesystem::path&)> save;
    std::function<void(ProgramState&, const std::filesystem::path&)> load;
};
const NormCompanion* FindNormCompanion(std::string_view kind);

// "Spara Beräkning": true when the calculation was written.
bool SaveCalculation(ProgramState& state, Prompts& prompts);
// "Hämta beräkning".
void LoadCalculation(ProgramState& state, Prompts& prompts);
// Reads a file of the old format (no header, 30 rows a meal) into the workspace.
void LoadOldCalculation(ProgramState& state, Prompts& prompts, const std::filesystem::path& path);

// The lines of the ".diet" file of the current calculation, and the reading of such lines into an
// emptied workspace (true when every line could be read; what was read stays otherwise).
std::vector<std::string> CalculationFileLines(const ProgramState& state, const std::string& saveDate);
bool ReadCalculationLines(ProgramState& state, const std::vector<std::string>& lines);
bool ReadOldCalculationLines(ProgramState& state, Prompts& prompts, const std::vector<std::string>& lines);

std::vector<std::string> NormFileLines(const ProgramState& state);
void ReadNormFileLines(ProgramState& state, const std::vector<std::string>& lines);

// Companion file names of a calculation.
std::filesystem::path CompanionPath(const std::filesystem::path& dietFile, std::string_view extension);

// The date written into a saved file; tests replace it.
std::string TodayText();
void SetTodayForTesting(std::function<std::string()> today);

}  // namespace velmora
