#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/programstate.h"
#include "core/prompts.h"

namespace velmora {

// A whole number as typed (blanks around it allowed); nullopt for anything else, empty included.
std::optional<int> WholeNumberCell(std::string_view text);

// Row Nr of `normer` for a sex and age: men 1..6, women 11..16, children 24 and 25; 0 = no group.
int NormGroupNumber(bool man, int age);

// Opens `normer` and `normkroppsvikt` of the state's database.
Status OpenNormTables(ProgramState& state);

// The norm in force at start: row 18 (or the table's current row when it does not exist).
void LoadStartNorm(ProgramState& state);
// Makes the current row of state.normer the norm in force (a double click in the standard-norm window).
void ChooseStandardNorm(ProgramState& state, Prompts& prompts);
void CheckNormEnergy(const NutrientVector& norm, const std::string& name, Prompts& prompts);
void DeriveIdealShares(ProgramState& state);

// Own energy norm.
void ComputeOwnNorm(ProgramState& state, Prompts& prompts);
void ApplyOwnNorm(ProgramState& state);
void SaveOwnNormAsTableRow(ProgramState& state, Prompts& prompts);
Status SaveOwnNormFile(const ProgramState& state, const std::filesystem::path& path);
void LoadOwnNormFile(ProgramState& state, const std::filesystem::path& path);

// Norm per kilogram body weight.
void RecomputePerKgEnergies(ProgramState& state);
void ComputePerKgNorm(ProgramState& state, Prompts& prompts);
void ActivatePerKgNorm(ProgramState& state, Prompts& prompts);
Status SavePerKgFile(const ProgramState& state, const std::filesystem::path& path);
void LoadPerKgFile(ProgramState& state, const std::filesystem::path& path);

enum class NormTableKind { Standard, PerKg };
// The password question that makes a norm table editable; true when unlocked.
bool UnlockNormTable(const ProgramState& state, Prompts& prompts, NormTableKind kind);

// A norm row read from the current record of a norm table, positions 15..86.
NormRow ReadNormRow(const Table& table);

}  // namespace velmora
