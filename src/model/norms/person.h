#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "core/prompts.h"
#include "core/result.h"

namespace velmora {

struct ProgramState;

// The inputs of the personal-norm window, texts as typed (read with ParseDecimal when used).
struct PersonProfile {
    int sex = 0; // 0 "Kvinna", 1 "Man"
    std::string age;
    std::string weight;
    std::string height;
    int workLevel = 0;                // RGArbete 0..3
    int leisureLevel = 0;             // RGFritid 0..3
    std::string healthyBasal = "140"; // kJ per kg and day
    int healthState = 0;              // 0 "Frisk", 1 "Sjuk"
    int sickCategory = 1;             // RGSjuk 0..3
    std::string specialSick = "180";  // kJ per kg and day of sick category 3

    bool operator==(const PersonProfile&) const = default;
};

struct PersonEnergy {
    float kcal = 0;           // 0 when no need can be given
    std::optional<float> bmi; // only for a weight above 10 kg and a height above 100 cm
};

PersonEnergy PersonEnergyNeed(const PersonProfile& profile);

// "2108 kcal / 8820 kJ", or the dashes when there is no need.
std::string PersonNeedText(float kcal);

// OK of the window: true when the norm was put in force, false after "Personuppgifter ej godkända.".
bool ApplyPersonNorm(ProgramState& state, Prompts& prompts, const PersonProfile& profile);

// ".pers": the window's inputs beside a calculation (state.norm.person).
Status SavePersonFile(const ProgramState& state, const std::filesystem::path& path);
void LoadPersonFile(ProgramState& state, const std::filesystem::path& path);

// The BMI marker: its caption and where its centre sits on the scale whose band edges are 18.5,
// 25, 30 and 35 (fraction 0 at 18.5, 1 at 35).
struct BmiMarker {
    std::string caption;
    float value = 18.5f; // the BMI the marker points at, held to the scale's ends
    float fraction = 0;
};
inline constexpr float kBmiScaleEdges[4] = {18.5f, 25.0f, 30.0f, 35.0f};
BmiMarker BmiScalePosition(std::optional<float> bmi);

} // namespace velmora
