#include "norms/activities.h"

#include <algorithm>
#include <cmath>

#include "core/numbers.h"
#include "core/programstate.h"
#include "core/recalculate.h"
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

constexpr std::size_t kFieldLimit = 255;

struct BasalEquation {
    int lastAge;
    float manSlope, manConstant, womanSlope, womanConstant;
};
constexpr BasalEquation kBasalEquations[] = {
    {3, 60.9f, -54.0f, 61.0f, -51.0f},  {10, 22.7f, 495.0f, 22.5f, 499.0f},
    {18, 17.5f, 651.0f, 12.2f, 746.0f}, {30, 15.3f, 679.0f, 14.7f, 496.0f},
    {60, 11.6f, 879.0f, 8.7f, 829.0f},  {110, 13.5f, 487.0f, 10.5f, 596.0f},
};

ActivityRow* Row(ActivityState& activities, int row)
{
    if (row < 1 || row > kActivityListRows) return nullptr;
    return &activities.rows[static_cast<std::size_t>(row - 1)];
}

// The whole years of a rounded age, or -1 when it is no age at all.
int RoundedAge(float age)
{
    const float rounded = std::round(age);
    if (!(rounded >= 0.0f && rounded <= 1000.0f)) return -1;
    return static_cast<int>(rounded);
}

// Fields of an "aktiv.txt" line: each ends at the next ";", looked for within 255 characters.
std::array<std::string, 4> SplitTableLine(const std::string& line)
{
    std::array<std::string, 4> fields;
    std::size_t start = 0;
    for (std::string& field : fields) {
        if (start >= line.size()) break;
        const std::string_view rest = std::string_view(line).substr(start, kFieldLimit);
        const std::size_t end = rest.find(';');
        if (end == std::string_view::npos) {
            field = std::string(rest);
            break;
        }
        field = std::string(rest.substr(0, end));
        start += end + 1;
    }
    return fields;
}

// ";" separates the fields of the table file, so it cannot stand inside one.
std::string TableField(std::string text)
{
    std::replace(text.begin(), text.end(), ';', ',');
    return text;
}

void ApplyActivityNorm(ProgramState& state)
{
    ActivityState& a = state.norm.activity;
    NormState& norm = state.norm;
    const bool man = a.sex == 1;
    const int group = HarrisNormGroupNumber(man, RoundedAge(ParseDecimal(a.age)));
    TakeGroupRowIntoNorm(state, group);
    WriteEnergySlots(norm.activeNorm, a.totalNeed, state.idealShares, true);
    norm.text = std::string(man ? "Man " : "Kvinna ") + a.age + " år, " + a.weight + " kg.  " +
                WholeText(a.totalNeed) + " kcal/dag";
    state.mainCaption = "Norm: " + norm.text;
}

} // namespace

bool ActivityTableEntry::IsOffered() const
{
    return CharacterCount(name) >= 3;
}

std::optional<float> BasalMetabolicRate(bool man, float age, float weight)
{
    const int years = RoundedAge(age);
    if (years < 0 || years > 110) return std::nullopt;
    for (const BasalEquation& eq : kBasalEquations) {
        if (years <= eq.lastAge) {
            return man ? eq.manSlope * weight + eq.manConstant : eq.womanSlope * weight + eq.womanConstant;
        }
    }
    return std::nullopt;
}

void RecomputeActivities(ProgramState& state)
{
    ActivityState& a = state.norm.activity;
    const bool kJ = a.unit == 1;
    const float toUnit = kJ ? kKcalToKj : 1.0f;

    if (auto basal = BasalMetabolicRate(a.sex == 1, ParseDecimal(a.age), ParseDecimal(a.weight)))
        a.basalRate = *basal;
    if (!UsableEnergy(a.basalRate)) a.basalRate = 0;
    const float perMinute = a.basalRate / 1440.0f;
    a.basalText = WholeText(a.basalRate * toUnit);

    a.activityEnergy = 0;
    a.minutesLeft = 1440;
    for (ActivityRow& row : a.rows) {
        if (row.IsEmpty()) continue;
        row.energyPerMinute = FormatFixed((ParseDecimal(row.factor) - 1.0f) * perMinute, 0, 2);
        const float minutes = ParseDecimal(row.minutes);
        float energy = ParseDecimal(row.energyPerMinute) * minutes;
        if (!UsableEnergy(energy)) energy = 0;
        row.energy = WholeText(energy);
        a.activityEnergy += energy;
        a.minutesLeft -= minutes;
    }
    if (!UsableEnergy(a.activityEnergy)) a.activityEnergy = 0;
    a.totalNeed = a.basalRate + a.activityEnergy;
    if (!UsableEnergy(a.totalNeed)) a.totalNeed = 0;
    a.activityText = WholeText(a.activityEnergy * toUnit);
    a.minutesLeftText = WholeText(a.minutesLeft);
    a.basalLabel = kJ ? "Grundförbrukn. kJ" : "Grundförbrukn. kcal";
    a.activityLabel = kJ ? "Aktivitet kJ" : "Aktivitet kcal";

    ApplyActivityNorm(state);
    // The kind is set before the views redraw, so that they see the norm they draw against.
    state.norm.kind = "aktivnorm";
    Recalculate(state);
}

bool AddActivity(ProgramState& state, Prompts& prompts, const ActivityTableEntry* entry)
{
    if (!entry) return false;
    ActivityState& a = state.norm.activity;
    auto empty =
        std::find_if(a.rows.begin(), a.rows.end(), [](const ActivityRow& row) { return row.IsEmpty(); });
    if (empty == a.rows.end()) {
        prompts.inform(
            "Aktivitetslistan är full (39 rader). Ta bort en aktivitet innan du lägger till en ny.");
        return false;
    }
    if (auto basal = BasalMetabolicRate(a.sex == 1, ParseDecimal(a.age), ParseDecimal(a.weight)))
        a.basalRate = *basal;
    empty->label = ActivityLabel(*entry);
    empty->factor = entry->factor;
    empty->minutes = "30";
    empty->energyPerMinute = FormatFixed((ParseDecimal(entry->factor) - 1.0f) * a.basalRate / 1440.0f, 0, 2);
    a.selectedRow = static_cast<int>(empty - a.rows.begin()) + 1;
    RecomputeActivities(state);
    return true;
}

void RemoveActivity(ProgramState& state, int row)
{
    ActivityState& a = state.norm.activity;
    if (!Row(a, row)) return;
    std::move(a.rows.begin() + row, a.rows.end(), a.rows.begin() + row - 1);
    a.rows.back() = {};
    RecomputeActivities(state);
}

void AdjustMinutes(ProgramState& state, int row, int change)
{
    ActivityRow* target = Row(state.norm.activity, row);
    if (!target || target->energyPerMinute.empty()) return;
    const float minutes = ParseDecimal(target->minutes) + static_cast<float>(change);
    target->minutes = minutes >= 0.5f ? WholeText(minutes) : "0";
    RecomputeActivities(state);
}

bool CommitActivityCell(ProgramState& state, Prompts& prompts, int row, int column, const std::string& text)
{
    ActivityRow* target = Row(state.norm.activity, row);
    if (column != 2) {
        prompts.inform("Du kan inte ändra i denna kolumn");
        return false;
    }
    if (target && !target->IsEmpty()) target->minutes = text;
    RecomputeActivities(state);
    return true;
}

std::string ActivityLabel(const ActivityTableEntry& entry)
{
    return entry.name + " (" + entry.factor + ")";
}

ActivityKjTexts ActivityRowKj(const ActivityRow& row)
{
    if (row.IsEmpty()) return {};
    return {WholeText(ParseDecimal(row.energyPerMinute) * kKcalToKj),
            WholeText(ParseDecimal(row.energy) * kKcalToKj)};
}

ActivityChart ActivityChartValues(const ProgramState& state)
{
    const ActivityState& a = state.norm.activity;
    const bool kJ = a.unit == 1;
    const float toUnit = kJ ? kKcalToKj : 1.0f;
    const int day = std::clamp(state.CurrentDay, 0, kDays - 1);
    const NutrientVector& totals = state.totals->dayTotals[static_cast<std::size_t>(day)];
    return {totals[I(kJ ? slot::kJ : slot::kcal)], a.basalRate * toUnit, a.activityEnergy * toUnit};
}

std::vector<std::string> ActivityGroups(const ActivityState& activities)
{
    std::vector<std::string> groups{kAllActivityGroups};
    for (const ActivityTableEntry& entry : activities.table) {
        if (!entry.IsOffered() || entry.group.empty()) continue;
        const bool known = std::any_of(groups.begin(), groups.end(), [&](const std::string& group) {
            return EqualsIgnoreCase(group, entry.group);
        });
        if (!known) groups.push_back(entry.group);
    }
    std::sort(groups.begin(), groups.end(),
              [](const std::string& a, const std::string& b) { return CompareNameTexts(a, b) < 0; });
    return groups;
}

std::vector<int> OfferedActivities(const ActivityState& activities, const std::string& group)
{
    const bool all = group == kAllActivityGroups;
    std::vector<int> offered;
    for (int i = 0; i < kActivityTableRows; ++i) {
        const ActivityTableEntry& entry = activities.table[static_cast<std::size_t>(i)];
        if (entry.IsOffered() && (all || entry.group == group)) offered.push_back(i);
    }
    std::vector<std::string> labels(activities.table.size());
    for (int i : offered)
        labels[static_cast<std::size_t>(i)] = ActivityLabel(activities.table[static_cast<std::size_t>(i)]);
    std::stable_sort(offered.begin(), offered.end(), [&](int a, int b) {
        return CompareNameTexts(labels[static_cast<std::size_t>(a)], labels[static_cast<std::size_t>(b)]) < 0;
    });
    return offered;
}

Status ReadActivityTable(ProgramState& state, const std::filesystem::path& path)
{
    ActivityState& a = state.norm.activity;
    a.table = {};
    a.tableLoaded = true;
    std::vector<std::string> lines;
    if (Status status = ReadTextLines(path, lines); !status) return status;
    const std::size_t count = std::min<std::size_t>(lines.size(), kActivityTableRows);
    for (std::size_t i = 0; i < count; ++i) {
        const std::array<std::string, 4> fields = SplitTableLine(lines[i]);
        a.table[i] = {fields[2], fields[3], fields[1]};
    }
    return Status::Ok();
}

void LoadActivityTable(ProgramState& state, Prompts& prompts)
{
    const std::filesystem::path path = state.dataFolder / "aktiv.txt";
    if (Status status = ReadActivityTable(state, path); !status) {
        state.norm.activity.table = {};
        prompts.inform("Aktivitetstabellen kunde inte läsas: " + status.message);
    }
}

bool SaveActivityTable(ProgramState& state, Prompts& prompts)
{
    std::vector<std::string> lines;
    for (const ActivityTableEntry& entry : state.norm.activity.table) {
        if (!entry.IsOffered()) continue;
        lines.push_back("0;" + TableField(entry.group) + ";" + TableField(entry.name) + ";" +
                        TableField(entry.factor) + ";");
    }
    if (Status status = WriteTextLines(state.dataFolder / "aktiv.txt", lines); !status) {
        prompts.inform("Kan ej spara aktivitetstabellen: " + status.message);
        return false;
    }
    prompts.inform("Aktivitetslistan sparad");
    return true;
}

bool UnlockActivityTable(Prompts& prompts)
{
    auto answer = prompts.input("Ange PLOGBAR lösenord", "LÖSENORD", "");
    if (!answer) return false;
    if (UpperCase(*answer) == "PLOGBAR") return true;
    prompts.inform("Fel lösenord!");
    return false;
}

Status SaveActivityFile(const ProgramState& state, const std::filesystem::path& path)
{
    const ActivityState& a = state.norm.activity;
    std::vector<std::string> lines{a.age, a.weight, std::to_string(a.sex == 1 ? 1 : 0)};
    for (const ActivityRow& row : a.rows) {
        if (row.IsEmpty()) {
            lines.insert(lines.end(), 3, "");
            continue;
        }
        lines.push_back(row.label);
        lines.push_back(row.minutes);
        lines.push_back(row.factor);
    }
    if (!WriteTextLines(path, lines)) return Status::Error("Kan ej spara aktiviteterna.");
    return Status::Ok();
}

Status LoadActivityFile(ProgramState& state, const std::filesystem::path& path)
{
    std::vector<std::string> lines;
    const Status read = ReadTextLines(path, lines);
    if (lines.empty() && !read) return Status::Error("Kan ej öppna aktivitetslistan");
    ActivityState& a = state.norm.activity;
    a.rows = {};
    a.selectedRow = 0;
    if (lines.size() > 0) a.age = lines[0];
    if (lines.size() > 1) a.weight = lines[1];
    if (lines.size() > 2) a.sex = WholeNumberCell(lines[2]).value_or(0) == 1 ? 1 : 0;
    // Rows are kept without gaps, so a triple without a label is passed over.
    std::size_t filled = 0;
    for (std::size_t line = 3; line < lines.size() && filled < a.rows.size(); line += 3) {
        if (lines[line].empty()) continue;
        ActivityRow& row = a.rows[filled++];
        row.label = lines[line];
        row.minutes = line + 1 < lines.size() ? lines[line + 1] : "";
        row.factor = line + 2 < lines.size() ? lines[line + 2] : "";
    }
    RecomputeActivities(state);
    if (!read) return Status::Error("Kan ej öppna aktivitetslistan");
    return Status::Ok();
}

void LoadActivityListCommand(ProgramState& state, Prompts& prompts)
{
    auto chosen =
        prompts.openFile({"Hämta aktivitetslista", "Aktiviteter|*.akt", state.fileDialogStartFolder, false});
    if (!chosen) return;
    std::filesystem::path path = *chosen;
    path.replace_extension(".akt");
    if (Status status = LoadActivityFile(state, path); !status) prompts.inform(status.message);
}

void SaveActivityListCommand(ProgramState& state, Prompts& prompts)
{
    auto chosen =
        prompts.saveFile({"Spara aktivitetslista", "aktivitet|*.akt", state.fileDialogStartFolder, true});
    if (!chosen) return;
    std::filesystem::path path = *chosen;
    path.replace_extension(".akt");
    if (Status status = SaveActivityFile(state, path); !status) prompts.inform(status.message);
}

} // namespace velmora
