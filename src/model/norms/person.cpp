#include "norms/person.h"

#include <algorithm>
#include <cmath>

#include "core/numbers.h"
#include "core/programstate.h"
#include "core/text.h"
#include "norms/energynorm.h"
#include "norms/norms.h"
#include "platform/textfile.h"

namespace velmora {
namespace {

constexpr std::size_t I(int slot)
{
    return static_cast<std::size_t>(SlotIndex(slot));
}

// kcal per day that each work and leisure level adds.
constexpr float kWorkAdds[4] = {-150.0f, 0.0f, 300.0f, 500.0f};
constexpr float kLeisureAdds[4] = {-150.0f, 0.0f, 200.0f, 300.0f};
constexpr float kSickBasal[3] = {120.0f, 140.0f, 170.0f};

int Level(int index)
{
    return std::clamp(index, 0, 3);
}

// An index line of the file; anything that is not one of the choices gives the first.
int IndexLine(const std::string& line, int count)
{
    std::optional<int> value = WholeNumberCell(line);
    return value && *value >= 0 && *value < count ? *value : 0;
}

} // namespace

PersonEnergy PersonEnergyNeed(const PersonProfile& profile)
{
    const float age = ParseDecimal(profile.age);
    const float weight = ParseDecimal(profile.weight);
    const float height = ParseDecimal(profile.height);
    const float basal = ParseDecimal(profile.healthyBasal);
    const bool man = profile.sex == 1;

    PersonEnergy result;
    float e = basal * weight / 4.184f;
    if (height > 100.0f) {
        const float bmi = weight * 10000.0f / (height * height);
        if (std::isfinite(bmi)) {
            if (man) {
                if (bmi < 20.0f) e = e * 1.1f;
                if (bmi > 25.0f) e = e * 0.9f;
            } else {
                if (bmi < 18.5f) e = e * 1.1f;
                if (bmi > 24.0f) e = e * 0.9f;
            }
            if (weight > 10.0f) result.bmi = bmi;
        }
    } else {
        e = 0;
    }
    if (age > 11.0f) {
        if (age > 17.9f && age < 30.1f) e = e * 1.1f;
        if (age > 70.0f) e = e * 0.9f;
    } else {
        e = 0;
    }
    if (e > 1.0f) e = e + kWorkAdds[Level(profile.workLevel)];
    if (e > 1.0f) e = e + kLeisureAdds[Level(profile.leisureLevel)];
    if (profile.healthState == 1) {
        const int category = Level(profile.sickCategory);
        const float sick = category == 3 ? ParseDecimal(profile.specialSick) : kSickBasal[category];
        e = sick * weight / 4.184f;
    }
    result.kcal = UsableEnergy(e) ? e : 0.0f;
    return result;
}

std::string PersonNeedText(float kcal)
{
    if (kcal <= 0.1f) return "- - - -  kcal /  kJ";
    return WholeText(kcal) + " kcal / " + WholeText(kcal * kKcalToKj) + " kJ";
}

bool ApplyPersonNorm(ProgramState& state, Prompts& prompts, const PersonProfile& profile)
{
    const PersonEnergy need = PersonEnergyNeed(profile);
    const float age = ParseDecimal(profile.age);
    const float weight = ParseDecimal(profile.weight);
    const float height = ParseDecimal(profile.height);
    // Above 110 years there is no norm row to build on, so such an age is refused like the others.
    if (!(age >= 11.0f && age <= 110.0f && weight >= 20.0f && height >= 100.0f)) {
        prompts.inform("Personuppgifter ej godkända.");
        return false;
    }
    NormState& norm = state.norm;
    norm.kind = "personnorm";

    const int group = PersonNormGroupNumber(profile.sex == 1, WholeNumberPrefix(profile.age));
    TakeGroupRowIntoNorm(state, group);
    WriteEnergySlots(norm.activeNorm, need.kcal, state.idealShares, true);
    norm.text = std::string(profile.sex == 1 ? "Man " : "Kvinna ") + profile.age + " år, " + profile.weight +
                " kg.  " + WholeText(need.kcal) + " kcal/dag";
    state.mainCaption = "Norm: " + norm.text;
    state.CalculationDirty = true;
    return true;
}

Status SavePersonFile(const ProgramState& state, const std::filesystem::path& path)
{
    const PersonProfile& p = state.norm.person;
    std::vector<std::string> lines{p.sex == 1 ? "Man" : "Kvinna",
                                   p.age,
                                   p.weight,
                                   p.height,
                                   std::to_string(p.workLevel),
                                   std::to_string(p.leisureLevel),
                                   p.healthyBasal,
                                   std::to_string(p.healthState),
                                   std::to_string(p.sickCategory),
                                   p.specialSick};
    lines.insert(lines.end(), 10, "dummy");
    if (!WriteTextLines(path, lines)) return Status::Error("Kan ej spara persondata");
    return Status::Ok();
}

void LoadPersonFile(ProgramState& state, const std::filesystem::path& path)
{
    std::vector<std::string> lines;
    ReadTextLines(path, lines);
    if (lines.empty()) return;
    lines.resize(std::max<std::size_t>(lines.size(), 10));
    PersonProfile& p = state.norm.person;
    p.sex = lines[0] == "Man" ? 1 : 0;
    p.age = lines[1];
    p.weight = lines[2];
    p.height = lines[3];
    p.workLevel = IndexLine(lines[4], 4);
    p.leisureLevel = IndexLine(lines[5], 4);
    p.healthyBasal = lines[6];
    p.specialSick = lines[9];
    p.healthState = IndexLine(lines[7], 2);
    p.sickCategory = IndexLine(lines[8], 4);
}

BmiMarker BmiScalePosition(std::optional<float> bmi)
{
    BmiMarker marker;
    const float low = kBmiScaleEdges[0], high = kBmiScaleEdges[3];
    if (!bmi || !std::isfinite(*bmi)) {
        marker.caption = "BMI - - -";
        return marker;
    }
    marker.caption = "BMI " + FormatFixed(*bmi, 0, 1);
    marker.value = std::clamp(*bmi, low, high);
    marker.fraction = (marker.value - low) / (high - low);
    return marker;
}

} // namespace velmora
