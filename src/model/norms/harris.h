#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>

#include "core/prompts.h"
#include "core/result.h"

namespace velmora {

struct ProgramState;

// The Harris-Benedict window: the value column of its grid (age, weight, height, activity factor)
// as typed, and its two choices.
struct HarrisInputs {
    std::array<std::string, 4> cells{};
    int sex = 0;  // 0 "Kvinna", 1 "Man"
    int unit = 1; // RadioGroup2: 0 "kJ", 1 "kcal"
};

// Basal metabolic rate times the activity factor in the chosen unit; none for input outside the
// equations' range (and for a result that is not a positive, finite figure).
std::optional<float> HarrisEnergyNeed(const HarrisInputs& inputs);
// The figure as shown in Edit2: no decimals, or "- - -".
std::string HarrisFigureText(std::optional<float> need);
// "BMI 22.0", or "- - -".
std::string HarrisBmiText(const HarrisInputs& inputs);

// OK of the window with the figure it shows: true when the norm was put in force (the window then
// hides), false after one of its messages.
bool ApplyHarrisNorm(ProgramState& state, Prompts& prompts, const HarrisInputs& inputs,
                     const std::string& shownFigure);

// ".harris": the window's inputs beside a calculation (state.norm.harris).
Status SaveHarrisFile(const ProgramState& state, const std::filesystem::path& path);
void LoadHarrisFile(ProgramState& state, const std::filesystem::path& path);

} // namespace velmora
