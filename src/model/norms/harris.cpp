#include "norms/harris.h"

#include <cmath>

#include "core/numbers.h"
#include "core/programstate.h"
#include "core/recalculate.h"
#include "norms/energynorm.h"
#include "norms/norms.h"
#include "platform/textfile.h"

namespace velmora {
std::optional<float> HarrisEnergyNeed(const HarrisInputs& inputs)
{
    const float age = ParseDecimal(inputs.cells[0]);
    const float weight = ParseDecimal(inputs.cells[1]);
    const float height = ParseDecimal(inputs.cells[2]);
    const float factor = ParseDecimal(inputs.cells[3]);
    if (!(age > 9.0f && weight > 9.0f && height > 100.0f && factor > 0.9f)) return std::nullopt;
    const float bmr = inputs.sex == 1 ? 66.5f + 13.7f * weight + 5.0f * height - 6.8f * age
                                      : 655.1f + 9.6f * weight + 1.8f * height - 4.7f * age;
    float need = bmr * factor;
    if (inputs.unit == 0) need = need * kKcalToKj;
    // A very old age drives the equations below zero; that is no need to build a norm on.
    if (!(need > 0.0f) || !UsableEnergy(need)) return std::nullopt;
    return need;
}

std::string HarrisFigureText(std::optional<float> need)
{
    return need ? WholeText(*need) : "- - -";
}

std::string HarrisBmiText(const HarrisInputs& inputs)
{
    const float weight = ParseDecimal(inputs.cells[1]);
    const float height = ParseDecimal(inputs.cells[2]);
    if (!(weight > 10.0f && height > 100.0f)) return "- - -";
    const float bmi = weight * 10000.0f / (height * height);
    if (!std::isfinite(bmi)) return "- - -";
    return "BMI " + FormatFixed(bmi, 0, 1);
}

bool ApplyHarrisNorm(ProgramState& state, Prompts& prompts, const HarrisInputs& inputs,
                     const std::string& shownFigure)
{
    const std::optional<int> age = WholeNumberCell(inputs.cells[0]);
    if (!age) {
        prompts.inform("Skriv ålder som ett heltal.");
        return false;
    }
    float figure = 0;
    // Outside 10..110 years there is no norm row for the other nutrients.
    if (!TryParseDecimal(shownFigure, figure) || *age < 10 || *age > 110 || !UsableEnergy(figure)) {
        prompts.inform("Uppgifterna ej korrekt ifyllda.");
        return false;
    }
    const bool kcalUnit = inputs.unit == 1;
    const float kcal = kcalUnit ? figure : figure / kKcalToKj;
    const std::string unitText = kcalUnit ? " kcal per dag" : " kJ per dag";

    NormState& norm = state.norm;
    Table& normer = state.normer;
    if (normer.IsOpen()) {
        normer.SetIndex("");
        // A deleted group row leaves the other nutrients as they are.
        if (normer.FindKey(static_cast<long long>(HarrisNormGroupNumber(inputs.sex == 1, *age)))) {
            norm.activeNorm = ReadNormRow(normer).values;
        }
    }
    WriteEnergySlots(norm.activeNorm, kcal, kcalUnit ? figure * kKcalToKj : figure, state.idealShares, false);
    norm.text = std::string("Norm: Harris Benedict, ") + (inputs.sex == 1 ? "Man " : "Kvinna ") + " " +
                inputs.cells[0] + " år " + shownFigure + unitText;
    norm.kind = "harrisnorm";
    Recalculate(state);
    state.mainCaption = norm.text;
    return true;
}

Status SaveHarrisFile(const ProgramState& state, const std::filesystem::path& path)
{
    const HarrisInputs& inputs = state.norm.harris;
    std::vector<std::string> lines{inputs.sex == 1 ? "Man" : "Kvinna"};
    lines.insert(lines.end(), inputs.cells.begin(), inputs.cells.end());
    lines.insert(lines.end(), 10, "dummy");
    if (!WriteTextLines(path, lines))
        return Status::Error("Kan ej spara uppgifterna för Harris Benedicts formel");
    return Status::Ok();
}

void LoadHarrisFile(ProgramState& state, const std::filesystem::path& path)
{
    std::vector<std::string> lines;
    ReadTextLines(path, lines);
    if (lines.empty()) return;
    HarrisInputs& inputs = state.norm.harris;
    inputs.sex = lines[0] == "Man" ? 1 : 0;
    for (std::size_t i = 0; i < inputs.cells.size(); ++i)
        inputs.cells[i] = i + 1 < lines.size() ? lines[i + 1] : "";
}

} // namespace velmora
