#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/prompts.h"
#include "core/result.h"

namespace velmora {

struct ProgramState;

inline constexpr int kActivityListRows = 39;
inline constexpr int kActivityTableRows = 799;
inline constexpr const char* kAllActivityGroups = " Alla grupper";

// One line of the activity table "aktiv.txt".
struct ActivityTableEntry {
    std::string name;
    std::string factor; // multiple of the basal metabolic rate, as written
    std::string group;

    bool IsOffered() const; // names of fewer than 3 characters are not offered
};

// One line of the day's activity list; an empty label marks an empty row.
struct ActivityRow {
    std::string label; // name, " (", factor, ")"
    std::string factor;
    std::string minutes;
    std::string energyPerMinute; // kcal, two decimals
    std::string energy;          // kcal, no decimals

    bool IsEmpty() const { return label.empty(); }
};

// What the activity windows hold for the run.
struct ActivityState {
    std::array<ActivityTableEntry, kActivityTableRows> table{};
    bool tableLoaded = false;

    std::array<ActivityRow, kActivityListRows> rows{};
    std::string age = "15";
    std::string weight = "55";
    int sex = 0;  // 0 "Kvinna", 1 "Man"
    int unit = 0; // 0 "kcal", 1 "kJ"
    std::string group = kAllActivityGroups;
    int selectedRow = 0; // 1..39, 0 none; shared by the kcal and kJ lists
    int selectedColumn = 0;

    float basalRate = 0; // kept when the age leaves the equations' range
    float activityEnergy = 0;
    float totalNeed = 0;
    float minutesLeft = 1440;

    // The texts of the window's boxes; these are their values before the first recompute.
    std::string basalText = "1356";
    std::string activityText = "0";
    std::string minutesLeftText = "1440";
    std::string basalLabel = "Grundförbrukning";
    std::string activityLabel = "Aktivitet.";
};

// FAO/WHO/UNU (1985) by whole years (the age rounded); none below 0 and above 110 years.
std::optional<float> BasalMetabolicRate(bool man, float age, float weight);

// Recomputes every row and total, puts the result in force as the norm and recalculates.
void RecomputeActivities(ProgramState& state);
// Fills the first empty row; nothing without an entry; a full list is reported and kept.
bool AddActivity(ProgramState& state, Prompts& prompts, const ActivityTableEntry* entry);
// Row 1..39; the rows below move up.
void RemoveActivity(ProgramState& state, int row);
// Changes the minutes of a row that holds an activity; below half a minute gives 0.
void AdjustMinutes(ProgramState& state, int row, int change);
// Enter in a list: only the minutes column (2) takes a typed value; false after the message.
bool CommitActivityCell(ProgramState& state, Prompts& prompts, int row, int column, const std::string& text);

std::string ActivityLabel(const ActivityTableEntry& entry);
// The kJ list's figures of a row: energy per minute and energy, no decimals.
struct ActivityKjTexts {
    std::string energyPerMinute;
    std::string energy;
};
ActivityKjTexts ActivityRowKj(const ActivityRow& row);

// The bar chart in the chosen unit: the current day's intake, the basal rate and the activities.
struct ActivityChart {
    float intake = 0;
    float basal = 0;
    float activity = 0;
};
ActivityChart ActivityChartValues(const ProgramState& state);

// The group box: " Alla grupper" and each group once (letter case ignored), sorted.
std::vector<std::string> ActivityGroups(const ActivityState& activities);
// Table indexes of the entries offered for a group, sorted by their labels.
std::vector<int> OfferedActivities(const ActivityState& activities, const std::string& group);

// "aktiv.txt" in the data folder: read at start-up (errors reported, the table then stays empty)
// and written back by "Spara".
Status ReadActivityTable(ProgramState& state, const std::filesystem::path& path);
void LoadActivityTable(ProgramState& state, Prompts& prompts);
bool SaveActivityTable(ProgramState& state, Prompts& prompts);
// The password question of the activity table.
bool UnlockActivityTable(Prompts& prompts);

// ".akt": the window's inputs and rows; loading puts its norm in force.
Status SaveActivityFile(const ProgramState& state, const std::filesystem::path& path);
Status LoadActivityFile(ProgramState& state, const std::filesystem::path& path);
// The "Arkiv" menu: the same files through a file dialog.
void LoadActivityListCommand(ProgramState& state, Prompts& prompts);
void SaveActivityListCommand(ProgramState& state, Prompts& prompts);

} // namespace velmora
