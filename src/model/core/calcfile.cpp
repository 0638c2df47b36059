#include "core/calcfile.h"

#include <array>
#include <cmath>
#include <ctime>
#include <map>

#include "core/numbers.h"
#include "core/recalculate.h"
#include "core/text.h"
#include "core/workspace_ops.h"
#include "norms/norms.h"
#include "platform/textfile.h"

namespace velmora {
namespace {

const std::array<NormCompanion, 5>& Companions()
{
    static const std::array<NormCompanion, 5> companions{{
        {"egennorm", ".enorm", SaveOwnNormFile, LoadOwnNormFile},
        {"kgkroppsviktnorm", ".kropp", SavePerKgFile, LoadPerKgFile},
        {"personnorm", ".pers", SavePersonFile, LoadPersonFile},
        {"harrisnorm", ".harris", SaveHarrisFile, LoadHarrisFile},
        {"aktivnorm", ".akt", SaveActivityFile, LoadActivityFile},
    }};
    return companions;
}

std::function<std::string()> g_today;

const FileDialog kSaveDialog{"Save registration", "velmora|*.diet", ".", true};
const FileDialog kOpenDialog{"Open registration", "velmora|*.diet", ".", false};

void RememberRecentFile(ProgramState& state, const std::filesystem::path& path)
{
    auto& list = state.recentCalculationFiles;
    std::erase(list, path);
    list.insert(list.begin(), path);
}

// Unit weights are written without decimals; a weight that is not whole keeps its decimals so that
// a file read back gives the same units.
std::string UnitWeightText(float weight)
{
    if (std::abs(weight - std::round(weight)) < 0.0001f) return FormatFixed(weight, 0, 0);
    return FloatText(weight);
}

std::string AmountLine(const MealRow& row)
{
    std::string line = FormatFixed(row.grams, 0, 1) + "/" + UnitWeightText(row.unitWeight) + "@" + row.unit;
    if (!row.timeText.empty()) line += "&" + row.timeText;
    return line;
}

// The fields between the "/" separators of a diabetes line.
std::vector<std::string> SlashFields(std::string_view line)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        std::size_t slash = line.find('/', start);
        if (slash == std::string_view::npos) {
            fields.emplace_back(line.substr(start));
            break;
        }
        fields.emplace_back(line.substr(start, slash - start));
        start = slash + 1;
    }
    return fields;
}

int WholeNumber(std::string_view text)
{
    float value = 0;
    if (!TryParseDecimal(text, value) || value < -1e6f || value > 1e6f) return -1;
    return static_cast<int>(value);
}

void ReadLogLine(DayLogs& logs, std::string_view line, int& previousDay, int& entryRow)
{
    std::vector<std::string> fields = SlashFields(line);
    int day = fields.size() > 1 ? WholeNumber(fields[1]) : -1;
    if (day != previousDay) entryRow = 1;
    previousDay = day;
    if (day < 0 || day >= kDays || entryRow > kLogEntriesPerDay) return;
    LogEntry& entry = logs.days[static_cast<std::size_t>(day)][static_cast<std::size_t>(entryRow - 1)];
    entry.time = CutToCapacity(fields.size() > 2 ? fields[2] : "", 8);
    entry.value = CutToCapacity(fields.size() > 3 ? fields[3] : "", 8);
    ++entryRow;
}

struct CachedFood {
    std::optional<FoodSource> source;
    FoodRecord food;
};

// A file names the same food many times; it resolves the same way each time within one load.
class FoodLookup {
public:
    explicit FoodLookup(FoodTables& tables) : m_tables(tables) {}

    const CachedFood& Find(const std::string& code)
    {
        auto it = m_cache.find(code);
        if (it != m_cache.end()) return it->second;
        CachedFood entry;
        entry.source = FindFood(m_tables, code, kLoadOrder);
        if (entry.source) entry.food = ReadFoodRecord(m_tables[*entry.source]);
        return m_cache.emplace(code, std::move(entry)).first->second;
    }

    const std::string& Translate(const std::string& line)
    {
        auto it = m_articles.find(line);
        if (it != m_articles.end()) return it->second;
        return m_articles.emplace(line, TranslateArticleNumber(m_tables, line)).first->second;
    }

private:
    FoodTables& m_tables;
    std::map<std::string, CachedFood> m_cache;
    std::map<std::string, std::string> m_articles;
};

void FillLoadedRow(MealRow& row, const std::string& code, std::string_view amount, FoodLookup& lookup)
{
    std::string gramsText(amount), weightText, unitText, timeText;
    if (auto slash = amount.find('/'); slash != std::string_view::npos) {
        gramsText = std::string(amount.substr(0, slash));
        std::string_view rest = amount.substr(slash + 1);
        auto at = rest.find('@');
        weightText = std::string(rest.substr(0, at));
        if (at != std::string_view::npos) {
            std::string_view unitAndTime = rest.substr(at + 1);
            auto amp = unitAndTime.find('&');
            unitText = std::string(unitAndTime.substr(0, amp));
            if (amp != std::string_view::npos) timeText = std::string(unitAndTime.substr(amp + 1));
        }
    }
    timeText = CutToCapacity(timeText, 5);
    const int timeSlot = timeText.empty() ? kNoTimeSlot : ParseTimeSlot(timeText);

    if (code == "0") return;
    if (code.find(':') != std::string::npos) {
        row.Clear();
        AssignShort(row.code, code, 81);
        AssignShort(row.name, code, 80);
        AssignShort(row.unit, unitText, 16);
        row.unitWeight = ParseDecimal(weightText);
        row.grams = ParseDecimal(gramsText);
        row.timeText = timeText;
        row.timeSlot = timeSlot;
        return;
    }
    const CachedFood& found = lookup.Find(code);
    if (!found.source) return;
    const FoodRecord& food = found.food;
    row.Clear();
    AssignShort(row.code, food.code, 81);
    AssignShort(row.name, food.name, 80);
    const bool national = *found.source == FoodSource::Nalvex100 || *found.source == FoodSource::Nalvex2005;
    if (national) {
        AssignShort(row.unit, unitText.empty() ? food.unit : unitText, 16);
        row.unitWeight = weightText.empty() ? food.unitWeight : ParseDecimal(weightText);
        row.extraUnits = food.extraUnits;
    } else {
        AssignShort(row.unit, food.unit, 16);
        row.unitWeight = food.unitWeight;
    }
    row.grams = ParseDecimal(gramsText);
    row.timeText = timeText;
    row.timeSlot = timeSlot;
    row.pricePerKg = food.pricePerKg;
    row.nutrients = food.nutrients;
}

void RebuildMealKindLists(ProgramState& state)
{
    for (auto& list : state.picker.mealKindFoods) list.clear();
    for (int d = 0; d < kDays; ++d) {
        for (int m = 0; m < kMeals; ++m) {
            auto& list = state.picker.mealKindFoods[MealKindList(m)];
            for (int r = 1; r <= kLastRow; ++r) {
                const MealRow& row = state.calculation.Row(d, m, r);
                if (!row.IsUsed()) continue;
                AddSorted(list, {row.name, row.name + "{" + row.code + "}" + FormatFixed(row.grams, 0, 0) + "@" + row.unit});
            }
        }
    }
}

constexpr std::size_t kOldFormatLines = std::size_t{kDays} * kMeals * 30 * 2;

// An old file has no header: its first line is a code, which reads as 0 for an empty row. One that
// begins with a food code is told by its fixed length instead.
bool IsOldFormat(const std::vector<std::string>& lines)
{
    if (lines.empty()) return false;
    if (ParseDecimal(lines[0]) == 0.0f) return true;
    return lines[0] != "199" && lines.size() == kOldFormatLines;
}

std::filesystem::path WithDietExtension(std::filesystem::path path)
{
    path.replace_extension(".diet");
    return path;
}

}  // namespace

const NormCompanion* FindNormCompanion(std::string_view kind)
{
    for (const NormCompanion& companion : Companions()) {
        if (companion.kind == kind) return &companion;
    }
    return nullptr;
}

std::filesystem::path CompanionPath(const std::filesystem::path& dietFile, std::string_view extension)
{
    std::filesystem::path path = dietFile;
    path.replace_extension(extension);
    return path;
}

std::string TodayText()
{
    if (g_today) return g_today();
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buffer[16];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%d", &local);
    return buffer;
}

void SetTodayForTesting(std::function<std::string()> today) { g_today = std::move(today); }

std::vector<std::string> CalculationFileLines(const ProgramState& state, const std::string& saveDate)
{
    std::vector<std::string> lines;
    lines.reserve(12 + kDays * kMeals + 64);
    lines.push_back("199");
    lines.push_back(saveDate);
    lines.push_back(state.calculation.wholeDay ? "heldagsberakning" : "flera maltider");
    for (int i = 0; i < 9; ++i) lines.push_back("reserv");
    for (int d = 0; d < kDays; ++d) {
        for (int m = 0; m < kMeals; ++m) {
            for (int r = 1; r <= kLastRow; ++r) {
                const MealRow& row = state.calculation.Row(d, m, r);
                if (!row.IsUsed()) continue;
                lines.push_back(row.code);
                lines.push_back(AmountLine(row));
            }
            lines.push_back("*" + std::to_string(d) + "/" + std::to_string(m));
        }
    }
    auto logLines = [&](const DayLogs& logs, const char* tag) {
        for (int d = 0; d < kDays; ++d) {
            for (const LogEntry& entry : logs.days[static_cast<std::size_t>(d)]) {
                if (entry.time.empty()) continue;
                lines.push_back(std::string(tag) + std::to_string(d) + "/" + entry.time + "/" + entry.value + "/");
            }
        }
    };
    logLines(state.diabetes.glucose, "*glukos/");
    logLines(state.diabetes.insulin, "*insulin/");
    // Empty ratio rows are not written: reading leaves them empty all the same.
    for (std::size_t n = 0; n < state.diabetes.mealRatios.size(); ++n) {
        if (state.diabetes.mealRatios[n].empty()) continue;
        lines.push_back("*kolhydratkvotmaltid/" + std::to_string(n + 1) + "/" + state.diabetes.mealRatios[n] + "/");
    }
    for (std::size_t n = 0; n < state.diabetes.hourlyFactors.size(); ++n) {
        if (state.diabetes.hourlyFactors[n].empty()) continue;
        lines.push_back("*kolhkvot/" + std::to_string(n + 1) + "/" + state.diabetes.hourlyFactors[n] + "/");
    }
    return lines;
}

std::vector<std::string> NormFileLines(const ProgramState& state)
{
    std::vector<std::string> lines(10, "reserv");
    lines.push_back(state.norm.kind);
    lines.push_back(state.norm.text);
    for (float value : state.norm.activeNorm) lines.push_back(FormatFixed(value, 0, 3));
    return lines;
}

void ReadNormFileLines(ProgramState& state, const std::vector<std::string>& lines)
{
    if (lines.size() < 11) return;
    state.norm.kind = lines[10];
    if (lines.size() < 12) return;
    state.norm.currentRow.name = CutToCapacity(lines[11], 80);
    state.norm.text = state.norm.currentRow.name;
    for (std::size_t i = 0; i < kNutrientCount && 12 + i < lines.size(); ++i) {
        float value = ParseDecimal(lines[12 + i]);
        state.norm.activeNorm[i] = value;
        state.norm.currentRow.values[i] = value;
    }
}

bool ReadCalculationLines(ProgramState& state, const std::vector<std::string>& lines)
{
    if (lines.size() < 12) {
        if (lines.size() >= 3) state.calculation.wholeDay = lines[2] == "heldagsberakning";
        return false;
    }
    state.saveDate = lines[1];
    state.calculation.wholeDay = lines[2] == "heldagsberakning";

    FoodLookup lookup(state.foodTables);
    int day = 0, meal = 0, row = 0;
    int glucoseDay = -2, glucoseRow = 1, insulinDay = -2, insulinRow = 1;
    for (std::size_t i = 12; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (!line.empty() && line[0] == '*') {
            if (line.find("*glukos") != std::string::npos) {
                ReadLogLine(state.diabetes.glucose, line, glucoseDay, glucoseRow);
                continue;
            }
            if (line.find("*insulin") != std::string::npos) {
                ReadLogLine(state.diabetes.insulin, line, insulinDay, insulinRow);
                continue;
            }
            std::vector<std::string> fields = SlashFields(line);
            int n = fields.size() > 1 ? WholeNumber(fields[1]) : -1;
            std::string text = fields.size() > 2 ? fields[2] : "";
            if (line.find("*kolhydratkvotmaltid") != std::string::npos) {
                if (n >= 1 && n <= static_cast<int>(state.diabetes.mealRatios.size())) state.diabetes.mealRatios[static_cast<std::size_t>(n - 1)] = text;
            } else if (line.find("*kolhkvot") != std::string::npos) {
                if (n >= 1 && n <= static_cast<int>(state.diabetes.hourlyFactors.size())) state.diabetes.hourlyFactors[static_cast<std::size_t>(n - 1)] = text;
            }
            row = 0;
            if (++meal >= kMeals) {
                meal = 0;
                ++day;
            }
            continue;
        }
        // A code line and its amount line.
        if (i + 1 >= lines.size()) return false;
        const std::string& amount = lines[++i];
        ++row;
        // Rows past the last of a meal, and meals past the last day, are dropped.
        if (day >= kDays || row > kLastRow) continue;
        const std::string& code = lookup.Translate(line);
        FillLoadedRow(state.calculation.Row(day, meal, row), code, amount, lookup);
    }
    return true;
}

bool ReadOldCalculationLines(ProgramState& state, Prompts& prompts, const std::vector<std::string>& lines)
{
    std::size_t i = 0;
    for (int d = 0; d < kDays; ++d) {
        for (int m = 0; m < kMeals; ++m) {
            for (int n = 1; n <= 30; ++n) {
                if (i + 1 >= lines.size()) return false;
                const std::string& code = lines[i++];
                const std::string& grams = lines[i++];
                if (code == "0") continue;
                auto source = FindFood(state.foodTables, code, kOldFormatOrder);
                if (!source) {
                    prompts.inform("dag=" + std::to_string(d + 1) + " maltid=" + std::to_string(m + 1) + " rad=" +
                                   std::to_string(n) + " Livsmedel med nr " + code + " finns ej.");
                    continue;
                }
                const Table& table = state.foodTables[*source];
                FoodRecord food = ReadFoodRecord(table);
                MealRow& row = state.calculation.Row(d, m, n);
                row.Clear();
                AssignShort(row.code, food.code, 81);
                AssignShort(row.name, food.name, 80);
                AssignShort(row.unit, food.unit, 16);
                row.unitWeight = food.unitWeight;
                row.pricePerKg = food.pricePerKg;
                row.grams = ParseDecimal(grams);
                // The old format reads the table as it is: an empty field is 0, not missing.
                for (int slot = kFirstNutrientSlot; slot <= kLastNutrientSlot; ++slot) {
                    row.nutrients[static_cast<std::size_t>(SlotIndex(slot))] =
                        static_cast<float>(table.FieldFloat(SlotFieldPosition(slot)));
                }
            }
        }
    }
    return true;
}

bool SaveCalculation(ProgramState& state, Prompts& prompts)
{
    std::filesystem::path path;
    if (state.presetFileName) {
        path = *state.presetFileName;
    } else {
        FileDialog dialog = kSaveDialog;
        dialog.startFolder = state.fileDialogStartFolder;
        auto chosen = prompts.saveFile(dialog);
        if (!chosen) return false;
        path = *chosen;
    }
    path = WithDietExtension(path);
    RememberRecentFile(state, path);

    if (!state.infoText.empty()) WriteTextLines(CompanionPath(path, ".txt"), state.infoText);

    bool lossy = false;
    Status written = WriteTextLines(path, CalculationFileLines(state, TodayText()), &lossy);
    if (!written) {
        // The companions stay as they were too, so that they keep matching the old file.
        prompts.inform("Kan ej spara beräkningen");
        return false;
    }
    state.mainCaption = path.string() + "   " + state.norm.text;
    state.calculation.fileText = path.string();
    state.CalculationDirty = false;
    if (lossy) prompts.inform("Tecken som inte kan lagras i filen sparades som \"?\".");

    if (state.calculation.dayNamesEdited) {
        std::vector<std::string> names(state.calculation.dayNames.begin(), state.calculation.dayNames.end());
        if (!WriteTextLines(CompanionPath(path, ".dnamn"), names)) prompts.inform("Kan ej spara dagsnamnen.");
    }
    if (!WriteTextLines(CompanionPath(path, ".norm"), NormFileLines(state))) prompts.inform("Kan ej spara aktuell norm");
    if (const NormCompanion* companion = FindNormCompanion(state.norm.kind)) {
        Status saved = companion->save(state, CompanionPath(path, companion->extension));
        if (!saved) prompts.inform(saved.message);
    }
    return true;
}

void LoadOldCalculation(ProgramState& state, Prompts& prompts, const std::filesystem::path& path)
{
    std::vector<std::string> lines;
    Status read = ReadTextLines(path, lines);
    bool complete = ReadOldCalculationLines(state, prompts, lines);
    state.mainCaption = path.string() + "   " + state.norm.text;
    Recalculate(state);
    if (!read || !complete) prompts.inform("Kan ej öppna beräkningen");
}

void LoadCalculation(ProgramState& state, Prompts& prompts)
{
    if (!NewCalculation(state, prompts)) return;

    std::optional<std::filesystem::path> chosen = state.presetFileName;
    if (!chosen) {
        FileDialog dialog = kOpenDialog;
        dialog.startFolder = state.fileDialogStartFolder;
        chosen = prompts.openFile(dialog);
    }
    if (chosen) {
        const std::filesystem::path path = *chosen;
        RememberRecentFile(state, path);

        std::vector<std::string> lines;
        if (std::filesystem::exists(CompanionPath(path, ".txt"))) {
            std::vector<std::string> info;
            ReadTextLines(CompanionPath(path, ".txt"), info);
            state.infoText = std::move(info);
        }
        if (std::filesystem::exists(CompanionPath(path, ".dnamn"))) {
            std::vector<std::string> names;
            ReadTextLines(CompanionPath(path, ".dnamn"), names);
            for (std::size_t d = 0; d < names.size() && d < state.calculation.dayNames.size(); ++d) {
                state.calculation.dayNames[d] = names[d];
            }
        }
        if (std::filesystem::exists(CompanionPath(path, ".norm"))) {
            std::vector<std::string> normLines;
            ReadTextLines(CompanionPath(path, ".norm"), normLines);
            ReadNormFileLines(state, normLines);
            if (const NormCompanion* companion = FindNormCompanion(state.norm.kind)) {
                std::filesystem::path companionPath = CompanionPath(path, companion->extension);
                if (std::filesystem::exists(companionPath)) companion->load(state, companionPath);
            }
            DeriveIdealShares(state);
        }

        Status read = ReadTextLines(path, lines);
        if (IsOldFormat(lines)) {
            LoadOldCalculation(state, prompts, path);
            return;
        }
        bool complete = ReadCalculationLines(state, lines) && read.ok;
        if (complete) {
            state.mainCaption = path.string() + "   " + state.norm.text + "  /" + state.saveDate;
            state.calculation.fileText = path.string() + "   " + state.saveDate;
            Recalculate(state);
        } else {
            // What was read up to the fault stays, and the views show exactly that.
            Recalculate(state);
            prompts.inform("Kan ej öppna beräkningen");
        }
    } else {
        // The calculation was emptied above: the views must not go on showing the old one.
        Recalculate(state);
    }
    RebuildMealKindLists(state);
    state.CalculationDirty = false;
    state.presetFileName.reset();
}

}  // namespace velmora
