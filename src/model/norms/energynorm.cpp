#include "norms/energynorm.h"

#include <cmath>

#include "core/numbers.h"
#include "core/programstate.h"
#include "norms/norms.h"

namespace velmora {
namespace {

constexpr std::size_t I(int slot)
{
    return static_cast<std::size_t>(SlotIndex(slot));
}

} // namespace

int HarrisNormGroupNumber(bool man, int age)
{
    // The shared mapping adds the two children's rows, which these windows do not use.
    if (age < 10) return 0;
    return NormGroupNumber(man, age);
}

int PersonNormGroupNumber(bool man, int age)
{
    int group = 0;
    if (age >= 11 && age <= 14)
        group = 1;
    else if (age >= 15 && age <= 18)
        group = 2;
    else if (age >= 19 && age <= 30)
        group = 3;
    else if (age >= 31 && age <= 60)
        group = 4;
    else if (age >= 61 && age <= 75)
        group = 5;
    else if (age >= 76 && age <= 110)
        group = 6;
    if (group == 0) return 0;
    return man ? group : group + 10;
}

int WholeNumberPrefix(std::string_view text)
{
    std::size_t i = text.find_first_not_of(" \t");
    if (i == std::string_view::npos) return 0;
    int value = 0;
    for (int digits = 0; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
        if (digits == 9) return 0; // no age has that many digits
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

bool UsableEnergy(float kcal)
{
    // kJ times a per-cent share is the largest figure the norm arithmetic makes.
    return std::isfinite(kcal) && std::isfinite(kcal * kKcalToKj * 100.0f);
}

void WriteEnergySlots(NutrientVector& norm, float kcal, const IdealEnergyShares& shares, bool fatQualities)
{
    WriteEnergySlots(norm, kcal, kcal * kKcalToKj, shares, fatQualities);
}

void WriteEnergySlots(NutrientVector& norm, float kcal, float kJ, const IdealEnergyShares& shares,
                      bool fatQualities)
{
    norm[I(slot::kcal)] = kcal;
    norm[I(slot::kJ)] = kJ;
    norm[I(slot::protein)] = kJ * shares.protein / 1700.0f;
    norm[I(slot::fat)] = kJ * shares.fat / 3700.0f;
    norm[I(slot::carbohydrate)] = kJ * shares.carbohydrate / 1700.0f;
    if (fatQualities) {
        norm[I(slot::saturated)] = kJ * shares.saturated / 3700.0f;
        norm[I(slot::monounsaturated)] = kJ * shares.monounsaturated / 3700.0f;
        norm[I(slot::polyunsaturated)] = kJ * shares.polyunsaturated / 3700.0f;
    }
}

std::string WholeText(float value)
{
    return FormatFixed(value, 0, 0);
}

void TakeGroupRowIntoNorm(ProgramState& state, int group)
{
    Table& normer = state.normer;
    if (group <= 0 || !normer.IsOpen()) return;
    normer.SetIndex("");
    if (!normer.FindKey(static_cast<long long>(group))) return;
    const NormRow row = ReadNormRow(normer);
    NormState& norm = state.norm;
    norm.currentRow.nr = row.nr;
    norm.currentRow.name = row.name;
    for (int slot = kFirstNutrientSlot; slot <= slot::selenium; ++slot) {
        norm.currentRow.values[I(slot)] = row.values[I(slot)];
        norm.activeNorm[I(slot)] = row.values[I(slot)];
    }
}

} // namespace velmora
