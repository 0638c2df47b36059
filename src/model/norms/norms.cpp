#include "norms/norms.h"

#include <cmath>

#include "core/numbers.h"
#include "core/recalculate.h"
#include "core/text.h"
#include "platform/textfile.h"

namespace velmora {
namespace {

constexpr std::size_t I(int slot) { return static_cast<std::size_t>(SlotIndex(slot)); }

std::string Whole(float value) { return FormatFixed(value, 0, 0); }

// Positions the norm table on the group's row; without one, the current row stays.
void FindGroupRow(Table& normer, int group)
{
    if (group > 0) {
        normer.SetIndex("");
        normer.FindKey(static_cast<long long>(group));
    }
    if (normer.Eof()) normer.First();
}

void FillDraftTexts(const ProgramState& state, const NutrientVector& draft, std::array<std::string, 87>& texts)
{
    for (int i = 0; i < kNutrientCount; ++i) {
        texts[static_cast<std::size_t>(i)] =
            FormatFixed(draft[static_cast<std::size_t>(i)], 0, state.nutrientText[IndexSlot(i)].decimals);
    }
}

void FatQualities(IdealEnergyShares& ideal)
{
    ideal.monounsaturated = ideal.fat * 0.4167f;
    ideal.polyunsaturated = ideal.fat * 0.25f;
    ideal.saturated = ideal.fat * 0.3333f;
}

void WriteIdealCells(ProgramState& state)
{
    const IdealEnergyShares& ideal = state.idealShares;
    state.settings.idealCells = {Whole(ideal.protein),
                                 Whole(ideal.fat),
                                 Whole(ideal.carbohydrate),
                                 FormatFixed(ideal.monounsaturated, 0, 1),
                                 FormatFixed(ideal.polyunsaturated, 0, 1),
                                 FormatFixed(ideal.saturated, 0, 1)};
}

std::vector<std::string> ReadLines(const std::filesystem::path& path)
{
    std::vector<std::string> lines;
    ReadTextLines(path, lines);
    return lines;
}

}  // namespace

std::optional<int> WholeNumberCell(std::string_view text)
{
    std::size_t start = text.find_first_not_of(" \t");
    std::size_t end = text.find_last_not_of(" \t");
    if (start == std::string_view::npos) return std::nullopt;
    text = text.substr(start, end - start + 1);
    std::size_t i = 0;
    bool negative = false;
    if (text[0] == '+' || text[0] == '-') {
        negative = text[0] == '-';
        i = 1;
    }
    if (i >= text.size() || text.size() - i > 9) return std::nullopt;
    int value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

int NormGroupNumber(bool man, int age)
{
    if (age >= 2 && age <= 5) return 24;
    if (age >= 6 && age <= 9) return 25;
    int group = 0;
    if (age >= 10 && age <= 13) group = 1;
    else if (age >= 14 && age <= 17) group = 2;
    else if (age >= 18 && age <= 30) group = 3;
    else if (age >= 31 && age <= 60) group = 4;
    else if (age >= 61 && age <= 74) group = 5;
    else if (age >= 75 && age <= 110) group = 6;
    if (group == 0) return 0;
    return man ? group : group + 10;
}

Status OpenNormTables(ProgramState& state)
{
    if (Status status = state.normer.Open(state.database, NormTableDef("normer")); !status) return status;
    if (Status status = state.normPerKg.Open(state.database, NormTableDef("normkroppsvikt")); !status) return status;
    state.normer.First();
    state.normPerKg.First();
    return Status::Ok();
}

NormRow ReadNormRow(const Table& table)
{
    NormRow row;
    row.nr = table.FieldInt("Nr");
    row.name = CutToCapacity(table.FieldText("Norm"), 80);
    for (int slot = kFirstNutrientSlot; slot <= kLastNutrientSlot; ++slot) {
        row.values[I(slot)] = static_cast<float>(table.FieldFloat(SlotFieldPosition(slot)));
    }
    return row;
}

void LoadStartNorm(ProgramState& state)
{
    Table& normer = state.normer;
    if (!normer.IsOpen()) return;
    normer.SetIndex("");
    if (!normer.FindKey(18LL) && normer.Eof()) normer.First();
    if (normer.Eof()) return;
    state.norm.currentRow = ReadNormRow(normer);
    state.norm.activeNorm = state.norm.currentRow.values;
    state.norm.text = "Norm: " + state.norm.currentRow.name;
    state.mainCaption = state.norm.text;
    state.norm.kind = "standardnorm";
}

void CheckNormEnergy(const NutrientVector& norm, const std::string& name, Prompts& prompts)
{
    const float kJ = norm[I(slot::kJ)], kcal = norm[I(slot::kcal)];
    if (std::fabs(kJ - 4.21f * kcal) > 200.0f) {
        prompts.inform("För stor skillnad mellan kJ (" + Whole(kJ) + ") och kcal (" + Whole(kcal) +
                       "). Om du ändrat normen kolla den, kontakta annars Brennvik");
    }
    const float e = 17.0f * norm[I(slot::protein)] + 37.0f * norm[I(slot::fat)] + 17.0f * norm[I(slot::carbohydrate)];
    if (std::fabs(kJ - e) > 50.0f) {
        prompts.inform(name + "    För stor skillnad mellan kJ (" + Whole(kJ) + ") och energigivare (" + Whole(e) +
                       "). Om du ändrat normen kolla den, kontakta annars Brennvik");
    }
}

void DeriveIdealShares(ProgramState& state)
{
    const NutrientVector& n = state.norm.activeNorm;
    const float e = 1700.0f * n[I(slot::protein)] + 3700.0f * n[I(slot::fat)] + 1700.0f * n[I(slot::carbohydrate)] +
                    800.0f * n[I(slot::fibre)];
    if (!(e > 5.0f)) return;
    IdealEnergyShares& ideal = state.idealShares;
    ideal.protein = 100.0f * 1700.0f * n[I(slot::protein)] / e;
    ideal.fat = 100.0f * 3700.0f * n[I(slot::fat)] / e;
    ideal.carbohydrate = 100.0f * (1700.0f * n[I(slot::carbohydrate)] + 800.0f * n[I(slot::fibre)]) / e;
    FatQualities(ideal);
    WriteIdealCells(state);
}

void ChooseStandardNorm(ProgramState& state, Prompts& prompts)
{
    Table& normer = state.normer;
    if (!normer.IsOpen() || normer.Eof()) return;
    state.norm.currentRow = ReadNormRow(normer);
    state.norm.activeNorm = state.norm.currentRow.values;
    CheckNormEnergy(state.norm.activeNorm, state.norm.currentRow.name, prompts);
    state.norm.text = "Norm: " + state.norm.currentRow.name + "   " + Whole(state.norm.activeNorm[I(slot::kcal)]) +
                      " kcal/dag";
    prompts.inform("Vald " + state.norm.text);
    state.mainCaption = state.norm.text;
    if (state.norm.kind == "ketogennorm") {
        prompts.inform("Om du räknat på ketogen kost bör du kolla måltidsfördelningen under Arkiv/Inställningar, de kan "
                       "ha ändrats.");
    }
    state.norm.kind = "standardnorm";
    DeriveIdealShares(state);
    Recalculate(state);
}

void ComputeOwnNorm(ProgramState& state, Prompts& prompts)
{
    OwnNormInputs& own = state.norm.own;
    std::optional<int> age = WholeNumberCell(own.cells[1]);
    if (!age) {
        prompts.inform("Skriv ålder som ett heltal.");
        return;
    }
    const float kcal = ParseDecimal(own.cells[0]);
    const float p = ParseDecimal(own.cells[2]), f = ParseDecimal(own.cells[3]), c = ParseDecimal(own.cells[4]);
    own.sumText = Whole(p + f + c) + "%";
    const bool man = own.sex == "Man";
    const int group = NormGroupNumber(man, *age);
    if (*age < 2) prompts.inform("Vitamin och mineralberäkning stämmer endast för åldrar 2 år och uppåt");

    NutrientVector& draft = state.norm.draftNorm;
    if (state.normer.IsOpen()) {
        FindGroupRow(state.normer, group);
        if (!state.normer.Eof()) {
            NormRow row = ReadNormRow(state.normer);
            for (int slot = kFirstNutrientSlot; slot <= slot::selenium; ++slot) draft[I(slot)] = row.values[I(slot)];
        }
    }
    draft[I(slot::kcal)] = kcal;
    const float kJ = kcal * kKcalToKj;
    draft[I(slot::kJ)] = kJ;
    draft[I(slot::protein)] = kJ * p / 1700.0f;
    draft[I(slot::fat)] = kJ * f / 3700.0f;
    draft[I(slot::carbohydrate)] = kJ * c / 1700.0f;
    FillDraftTexts(state, draft, own.draft);
}

void ApplyOwnNorm(ProgramState& state)
{
    OwnNormInputs& own = state.norm.own;
    const std::string sexText = own.sex == "Man" ? "Man " : "Kvinna ";
    state.norm.text = "Norm: " + sexText + " " + own.cells[1] + " år " + own.cells[0] + " kcal/dag";
    state.mainCaption = state.norm.text;
    for (std::size_t i = 0; i < kNutrientCount; ++i) state.norm.activeNorm[i] = ParseDecimal(own.draft[i]);
    state.idealShares.protein = ParseDecimal(own.cells[2]);
    state.idealShares.fat = ParseDecimal(own.cells[3]);
    state.idealShares.carbohydrate = ParseDecimal(own.cells[4]);
    FatQualities(state.idealShares);
    WriteIdealCells(state);
    Recalculate(state);
    state.norm.kind = "egennorm";
}

void SaveOwnNormAsTableRow(ProgramState& state, Prompts& prompts)
{
    auto name = prompts.input("Vad ska den nya normen heta?", "Skriv namnet på den nya normen: ", "");
    if (!name || !state.normer.IsOpen()) return;
    Table& normer = state.normer;
    normer.SetIndex("");
    normer.Last();
    const long long last = normer.Eof() ? 0 : normer.FieldInt("Nr");
    normer.Append();
    normer.SetFieldInt(normer.FieldPosition("Nr"), last + 1);
    normer.SetFieldText("Norm", *name);
    for (int slot = kFirstNutrientSlot; slot <= kLastNutrientSlot; ++slot) {
        normer.SetFieldFloat(SlotFieldPosition(slot), ParseDecimal(state.norm.own.draft[I(slot)]));
    }
    if (Status status = normer.Post(); !status) {
        prompts.inform(status.message);
        return;
    }
    prompts.inform("\"" + *name + "\"  är upplagd. Gå in under Normer/Standardnormer där finns den i slutet.");
    normer.First();
}

Status SaveOwnNormFile(const ProgramState& state, const std::filesystem::path& path)
{
    const OwnNormInputs& own = state.norm.own;
    std::vector<std::string> lines{own.sex == "Man" ? "Man" : "Kvinna"};
    lines.insert(lines.end(), own.cells.begin(), own.cells.end());
    lines.insert(lines.end(), own.draft.begin(), own.draft.end());
    lines.insert(lines.end(), 10, "dummy");
    if (!WriteTextLines(path, lines)) return Status::Error("Kan ej spara egna normuppgifter");
    return Status::Ok();
}

void LoadOwnNormFile(ProgramState& state, const std::filesystem::path& path)
{
    std::vector<std::string> lines = ReadLines(path);
    if (lines.empty()) return;
    OwnNormInputs& own = state.norm.own;
    own.sex = lines[0] == "Man" ? "Man" : "Kvinna";
    for (std::size_t i = 0; i < own.cells.size() && 1 + i < lines.size(); ++i) own.cells[i] = lines[1 + i];
    const std::size_t values = lines.size() < 103 ? 66 : 87;
    for (std::size_t i = 0; i < values && 6 + i < lines.size(); ++i) own.draft[i] = lines[6 + i];
}

void RecomputePerKgEnergies(ProgramState& state)
{
    Table& perKg = state.normPerKg;
    if (!perKg.IsOpen()) return;
    const long long current = perKg.Eof() ? state.norm.perKg.perKgRowNr : perKg.FieldInt("Nr");
    perKg.SetIndex("");
    for (perKg.First(); !perKg.Eof(); perKg.Next()) {
        const float p = static_cast<float>(perKg.FieldFloat(SlotFieldPosition(slot::protein)));
        const float f = static_cast<float>(perKg.FieldFloat(SlotFieldPosition(slot::fat)));
        const float c = static_cast<float>(perKg.FieldFloat(SlotFieldPosition(slot::carbohydrate)));
        const float kJ = 17.0f * p + 37.0f * f + 17.0f * c;
        perKg.Edit();
        perKg.SetFieldFloat(SlotFieldPosition(slot::kJ), std::round(kJ));
        perKg.SetFieldFloat(SlotFieldPosition(slot::kcal), std::round(kJ * kKjToKcal));
        perKg.Post();
    }
    if (!perKg.FindKey(current)) perKg.First();
}

void ComputePerKgNorm(ProgramState& state, Prompts& prompts)
{
    PerKgInputs& inputs = state.norm.perKg;
    RecomputePerKgEnergies(state);
    if (inputs.age.empty() || inputs.weight.empty()) return;
    std::optional<int> age = WholeNumberCell(inputs.age);
    if (!age) {
        prompts.inform("Skriv ålder som ett heltal.");
        return;
    }
    if (!WholeNumberCell(inputs.weight)) {
        prompts.inform("Skriv vikten som ett heltal.");
        return;
    }
    NutrientVector& draft = state.norm.draftNorm;
    if (state.normer.IsOpen()) {
        FindGroupRow(state.normer, NormGroupNumber(inputs.sex == "Man", *age));
        if (!state.normer.Eof()) {
            NormRow row = ReadNormRow(state.normer);
            for (int slot = kFirstNutrientSlot; slot <= slot::selenium; ++slot) draft[I(slot)] = row.values[I(slot)];
        }
    }
    FillDraftTexts(state, draft, inputs.draft);

    Table& perKg = state.normPerKg;
    if (!perKg.IsOpen()) return;
    if (perKg.Eof() || perKg.FieldInt("Nr") != inputs.perKgRowNr) {
        perKg.SetIndex("");
        if (!perKg.FindKey(inputs.perKgRowNr)) perKg.First();
    }
    if (perKg.Eof()) return;
    inputs.perKgRowNr = perKg.FieldInt("Nr");
    const float weight = ParseDecimal(inputs.weight);
    for (int slot = kFirstNutrientSlot; slot <= kLastNutrientSlot; ++slot) {
        const float perKilogram = static_cast<float>(perKg.FieldFloat(SlotFieldPosition(slot)));
        if (perKilogram > 0.00001f) {
            inputs.draft[I(slot)] = FormatFixed(perKilogram * weight, 0, state.nutrientText[slot].decimals);
        }
    }
    inputs.activateCaption = "Aktivera norm: " + perKg.FieldText("Norm");
}

void ActivatePerKgNorm(ProgramState& state, Prompts& prompts)
{
    for (std::size_t i = 0; i < kNutrientCount; ++i) {
        const float v = ParseDecimal(state.norm.perKg.draft[i]);
        state.norm.currentRow.values[i] = v;
        state.norm.activeNorm[i] = v;
    }
    state.norm.text = "Norm per kg kroppsvikt: " + state.norm.currentRow.name + "   " +
                      Whole(state.norm.activeNorm[I(slot::kcal)]) + " kcal/dag";
    state.mainCaption = state.norm.text;
    state.norm.kind = "kgkroppsviktnorm";
    DeriveIdealShares(state);
    Recalculate(state);
    prompts.inform("Normen " + state.norm.currentRow.name + " vald");
}

Status SavePerKgFile(const ProgramState& state, const std::filesystem::path& path)
{
    const PerKgInputs& inputs = state.norm.perKg;
    std::vector<std::string> lines{inputs.sex == "Man" ? "Man" : "Kvinna", inputs.weight, inputs.age};
    lines.insert(lines.end(), inputs.draft.begin(), inputs.draft.end());
    lines.insert(lines.end(), 10, "dummy");
    if (!WriteTextLines(path, lines)) return Status::Error("Kan ej spara egna normuppgifter per kg kroppsvikt");
    return Status::Ok();
}

void LoadPerKgFile(ProgramState& state, const std::filesystem::path& path)
{
    std::vector<std::string> lines = ReadLines(path);
    if (lines.empty()) return;
    PerKgInputs& inputs = state.norm.perKg;
    inputs.sex = lines[0] == "Man" ? "Man" : "Kvinna";
    if (lines.size() > 1) inputs.weight = lines[1];
    if (lines.size() > 2) inputs.age = lines[2];
    for (std::size_t i = 0; i < inputs.draft.size() && 3 + i < lines.size(); ++i) inputs.draft[i] = lines[3 + i];
}

bool UnlockNormTable(const ProgramState& state, Prompts& prompts, NormTableKind kind)
{
    const std::string expected = kind == NormTableKind::Standard ? state.norm.accessPassword : "PLOGBAR";
    if (kind == NormTableKind::Standard && state.norm.accessPassword == "DRUV") return true;
    auto answer = prompts.input("Ange PLOGBAR lösenord", "LÖSENORD", "");
    if (!answer) return false;
    if (UpperCase(*answer) == expected) return true;
    prompts.inform("Fel lösenord!");
    return false;
}

}  // namespace velmora
