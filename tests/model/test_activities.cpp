#include <gtest/gtest.h>

#include <cmath>

#include "core/calcfile.h"
#include "core/numbers.h"
#include "core/workspace_ops.h"
#include "fixture.h"
#include "norms/activities.h"
#include "platform/textfile.h"
#include "scriptedprompts.h"

namespace velmora {
namespace {

using testing::FixtureData;
using testing::ScriptedPrompts;

constexpr std::size_t I(int slot)
{
    return static_cast<std::size_t>(SlotIndex(slot));
}

TEST(BasalMetabolicRate, AgeBandsBySex)
{
    struct Case {
        bool man;
        float age, weight;
        std::optional<float> kcal;
    };
    const Case cases[] = {
        {false, 15, 55, 1417.0f},        {false, 0, 5, 254.0f},
        {true, 3, 15, 859.5f},           {true, 3.6f, 15, 835.5f},
        {false, 10, 30, 1174.0f},        {false, 10.5f, 30, 1112.0f},
        {true, 18.4f, 70, 1876.0f},      {true, 18.6f, 70, 1750.0f},
        {false, 30, 60, 1378.0f},        {false, 31, 60, 1351.0f},
        {true, 60, 80, 1807.0f},         {true, 61, 80, 1567.0f},
        {false, 110.4f, 60, 1226.0f},    {false, 110.6f, 60, std::nullopt},
        {true, -0.6f, 60, std::nullopt}, {true, 2e9f, 60, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto kcal = BasalMetabolicRate(c.man, c.age, c.weight);
        ASSERT_EQ(kcal.has_value(), c.kcal.has_value()) << c.age;
        if (kcal) {
            EXPECT_NEAR(*kcal, *c.kcal, 0.01f) << c.man << " " << c.age;
        }
    }
}

class ActivityTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        data.Table("normer",
                   "Nr\tNorm\tEnergi _kJ_ _kJ_\tEnergi _kcal_ _kcal_\tProtein _g_\tJärn _mg_\tILE_mg\n"
                   "3\tMän 18-30\t11700\t2800\t100\t9\t3\n"
                   "12\tKvinnor 14-17\t9200\t2200\t80\t15\t3\n"
                   "18\tStartnorm\t8400\t2000\t75\t12\t3\n");
        data.File("aktiv.txt",
                  EncodeWindows1252("0;Sport;Löpning;3.5;\r\n"
                                    "0;Hushåll;Dammsuga;3,3;\r\n"
                                    "0;sport;Ag;9;\r\n"           // too short a name to offer
                                    "0;sport;Bordtennis;4.0;\r\n" // the group differs in case only
                                    "0;Vila;Sitta stilla;0.9;\r\n"
                                    "utan semikolon\r\n"));
        state = data.Start();
        LoadActivityTable(*state, prompts);
    }
    ActivityState& A() { return state->norm.activity; }
    const ActivityTableEntry* Entry(const std::string& name)
    {
        for (const ActivityTableEntry& entry : A().table) {
            if (entry.name == name) return &entry;
        }
        return nullptr;
    }
    bool AllFinite() const
    {
        return std::all_of(state->norm.activeNorm.begin(), state->norm.activeNorm.end(),
                           [](float v) { return std::isfinite(v); });
    }
    FixtureData data;
    std::unique_ptr<ProgramState> state;
    ScriptedPrompts prompts;
};

TEST_F(ActivityTest, WorkedExampleOfTheWomanOfFifteen)
{
    EXPECT_EQ(A().basalText, "1356"); // nothing is computed before the window is used
    RecomputeActivities(*state);
    EXPECT_FLOAT_EQ(A().basalRate, 1417.0f);
    EXPECT_FLOAT_EQ(A().totalNeed, 1417.0f);
    EXPECT_EQ(A().minutesLeftText, "1440");
    EXPECT_EQ(A().basalText, "1417");
    EXPECT_EQ(A().basalLabel, "Grundförbrukn. kcal");
    EXPECT_EQ(A().activityLabel, "Aktivitet kcal");
    EXPECT_EQ(state->norm.kind, "aktivnorm");
    EXPECT_EQ(state->norm.text, "Kvinna 15 år, 55 kg.  1417 kcal/dag");

    ASSERT_TRUE(AddActivity(*state, prompts, Entry("Löpning")));
    const ActivityRow& row = A().rows[0];
    EXPECT_EQ(row.label, "Löpning (3.5)");
    EXPECT_EQ(row.energyPerMinute, "2.46");
    EXPECT_EQ(row.minutes, "30");
    EXPECT_EQ(row.energy, "74");
    EXPECT_EQ(A().selectedRow, 1);
    EXPECT_NEAR(A().totalNeed, 1490.8f, 0.01f);
    EXPECT_EQ(A().activityText, "74");
    EXPECT_EQ(A().minutesLeftText, "1410");
    EXPECT_EQ(state->norm.text, "Kvinna 15 år, 55 kg.  1491 kcal/dag");

    const NutrientVector& n = state->norm.activeNorm;
    EXPECT_NEAR(n[I(slot::kcal)], 1490.8f, 0.01f);
    EXPECT_NEAR(n[I(slot::kJ)], 1490.8f * 4.184f, 0.05f);
    EXPECT_NEAR(n[I(slot::saturated)], 1490.8f * 4.184f * 10 / 3700, 0.01f);
    EXPECT_FLOAT_EQ(n[I(slot::iron)], 15.0f);          // group 12
    EXPECT_FLOAT_EQ(n[I(slot::firstAminoAcid)], 3.0f); // from the start norm: only slots to 65 are taken
    EXPECT_EQ(state->norm.currentRow.nr, 12);

    EXPECT_EQ(ActivityRowKj(row).energyPerMinute, "10");
    EXPECT_EQ(ActivityRowKj(row).energy, "310");

    // Changing only the unit rewrites the same norm.
    state->norm.kind = "standardnorm";
    A().unit = 1;
    RecomputeActivities(*state);
    EXPECT_EQ(A().basalText, "5929");
    EXPECT_EQ(A().activityText, "309");
    EXPECT_EQ(A().basalLabel, "Grundförbrukn. kJ");
    EXPECT_EQ(state->norm.kind, "aktivnorm");
    EXPECT_NEAR(n[I(slot::kcal)], 1490.8f, 0.01f);
}

TEST_F(ActivityTest, AgeWeightAndFactorEdges)
{
    struct Case {
        const char* age;
        const char* weight;
        int sex;
        float basal;
        long long normRow; // CurrentNormRow afterwards (18: left as the start norm's)
    };
    const Case cases[] = {
        {"18.6", "70", 1, 1750.0f, 3},     {"18.6", "55", 0, 1304.5f, 18}, {"9", "30", 0, 1174.0f, 18},
        {"fjorton", "55", 0, 3304.0f, 18}, {"15", "", 0, 746.0f, 12},
    };
    for (const Case& c : cases) {
        auto fresh = data.Start();
        fresh->norm.activity.age = c.age;
        fresh->norm.activity.weight = c.weight;
        fresh->norm.activity.sex = c.sex;
        RecomputeActivities(*fresh);
        EXPECT_NEAR(fresh->norm.activity.basalRate, c.basal, 0.01f) << c.age;
        EXPECT_EQ(fresh->norm.currentRow.nr, c.normRow) << c.age;
        EXPECT_NEAR(fresh->norm.activeNorm[I(slot::kcal)], c.basal, 0.01f) << c.age;
    }

    // An age outside the equations keeps the last basal rate; an absurd weight gives no need at all.
    RecomputeActivities(*state);
    A().age = "300";
    RecomputeActivities(*state);
    EXPECT_FLOAT_EQ(A().basalRate, 1417.0f);
    A().age = "15";
    A().weight = "3e38";
    RecomputeActivities(*state);
    EXPECT_FLOAT_EQ(A().basalRate, 0.0f);
    EXPECT_TRUE(AllFinite());

    // A factor below 1 lowers the need; minutes beyond the day only make the rest negative.
    A().weight = "55";
    AddActivity(*state, prompts, Entry("Sitta stilla"));
    A().rows[0].minutes = "1500";
    RecomputeActivities(*state);
    EXPECT_EQ(A().rows[0].energyPerMinute, "-0.10");
    EXPECT_NEAR(A().totalNeed, 1417.0f - 150.0f, 0.01f);
    EXPECT_EQ(A().minutesLeftText, "-60");
    A().rows[0].minutes = "1e38";
    RecomputeActivities(*state);
    EXPECT_TRUE(AllFinite());
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ActivityTest, EditingTheList)
{
    RecomputeActivities(*state);
    for (const char* name : {"Löpning", "Dammsuga", "Bordtennis"})
        AddActivity(*state, prompts, Entry(name));
    EXPECT_EQ(A().selectedRow, 3);
    EXPECT_FALSE(AddActivity(*state, prompts, nullptr));

    struct Case {
        const char* minutes;
        int change;
        const char* result;
    };
    const Case cases[] = {{"5", -15, "0"}, {"30", -30, "0"}, {"30", 30, "60"},
                          {"0", 5, "5"},   {"0", -5, "0"},   {"abc", 15, "15"}};
    for (const Case& c : cases) {
        A().rows[1].minutes = c.minutes;
        AdjustMinutes(*state, 2, c.change);
        EXPECT_EQ(A().rows[1].minutes, c.result) << c.minutes << " " << c.change;
    }
    A().rows[1].minutes = "5";
    AdjustMinutes(*state, 2, -15);
    EXPECT_EQ(A().rows[1].energy, "0");
    AdjustMinutes(*state, 4, 30); // an empty row has no energy per minute
    AdjustMinutes(*state, 40, 30);
    EXPECT_TRUE(A().rows[3].IsEmpty());

    EXPECT_FALSE(CommitActivityCell(*state, prompts, 1, 1, "99"));
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"Du kan inte ändra i denna kolumn"});
    EXPECT_EQ(A().rows[0].energyPerMinute, "2.46");
    EXPECT_TRUE(CommitActivityCell(*state, prompts, 1, 2, "60"));
    EXPECT_EQ(A().rows[0].energy, "148");

    RemoveActivity(*state, 0); // the heading row
    RemoveActivity(*state, 2);
    EXPECT_EQ(A().rows[0].label, "Löpning (3.5)");
    EXPECT_EQ(A().rows[1].label, "Bordtennis (4.0)");
    EXPECT_TRUE(A().rows[2].IsEmpty());
    EXPECT_EQ(A().minutesLeftText, "1350");

    // A full list is reported and stays as it was.
    while (A().rows.back().IsEmpty())
        AddActivity(*state, prompts, Entry("Dammsuga"));
    const auto full = A().rows;
    prompts.messages.clear();
    EXPECT_FALSE(AddActivity(*state, prompts, Entry("Löpning")));
    EXPECT_EQ(prompts.messages,
              std::vector<std::string>{
                  "Aktivitetslistan är full (39 rader). Ta bort en aktivitet innan du lägger till en ny."});
    for (std::size_t r = 0; r < full.size(); ++r)
        EXPECT_EQ(A().rows[r].label, full[r].label);
}

TEST_F(ActivityTest, TableGroupsAndOfferedList)
{
    EXPECT_EQ(A().table[0].factor, "3.5");
    EXPECT_EQ(A().table[1].group, "Hushåll");
    EXPECT_EQ(A().table[5].group, "");
    EXPECT_EQ(A().table[5].name, "");
    EXPECT_EQ(ActivityGroups(A()), (std::vector<std::string>{" Alla grupper", "Hushåll", "Sport", "Vila"}));

    auto labels = [&](const std::string& group) {
        std::vector<std::string> shown;
        for (int i : OfferedActivities(A(), group))
            shown.push_back(ActivityLabel(A().table[static_cast<std::size_t>(i)]));
        return shown;
    };
    EXPECT_EQ(labels(" Alla grupper"), (std::vector<std::string>{"Bordtennis (4.0)", "Dammsuga (3,3)",
                                                                 "Löpning (3.5)", "Sitta stilla (0.9)"}));
    EXPECT_EQ(labels("sport"), std::vector<std::string>{"Bordtennis (4.0)"}); // the group must match exactly
    EXPECT_EQ(labels("Sport"), std::vector<std::string>{"Löpning (3.5)"});

    // "Spara" writes the offered rows back in table order, a ";" typed into a field made harmless.
    A().table[1].name = "Dammsuga; golv";
    A().table[700] = {"Ny aktivitet", "2.5", "Hushåll"};
    ASSERT_TRUE(SaveActivityTable(*state, prompts));
    EXPECT_EQ(prompts.messages.back(), "Aktivitetslistan sparad");
    EXPECT_EQ(testing::ReadFile(state->dataFolder / "aktiv.txt"),
              EncodeWindows1252(
                  "0;Sport;Löpning;3.5;\r\n0;Hushåll;Dammsuga, golv;3,3;\r\n0;sport;Bordtennis;4.0;\r\n"
                  "0;Vila;Sitta stilla;0.9;\r\n0;Hushåll;Ny aktivitet;2.5;\r\n"));

    // Each field is looked for within 255 characters.
    testing::WriteFile(data.Work() / "long.txt", "0;G;" + std::string(300, 'a') + ";2;\r\n1;2\r\n");
    ASSERT_TRUE(ReadActivityTable(*state, data.Work() / "long.txt"));
    EXPECT_EQ(A().table[0].name, std::string(255, 'a'));
    EXPECT_EQ(A().table[0].factor, "");
    EXPECT_EQ(A().table[1].group, "2");

    std::filesystem::remove(state->dataFolder / "aktiv.txt");
    prompts.messages.clear();
    LoadActivityTable(*state, prompts);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].rfind("Aktivitetstabellen kunde inte läsas: ", 0), 0u);
    EXPECT_EQ(ActivityGroups(A()), std::vector<std::string>{" Alla grupper"});
    EXPECT_TRUE(OfferedActivities(A(), " Alla grupper").empty());

    prompts.inputAnswers = {"plogbar", "druv"};
    EXPECT_TRUE(UnlockActivityTable(prompts));
    EXPECT_FALSE(UnlockActivityTable(prompts));
    EXPECT_EQ(prompts.inputs.front(), "Ange PLOGBAR lösenord|LÖSENORD");
    EXPECT_EQ(prompts.messages.back(), "Fel lösenord!");
}

TEST(ShippedActivityTable, EveryEntryIsOfferedWithAFactor)
{
    FixtureData data;
    data.File("aktiv.txt", testing::ReadFile(testing::SourceDir() / "data" / "aktiv.txt"));
    auto state = data.Start();
    ScriptedPrompts prompts;
    LoadActivityTable(*state, prompts);
    EXPECT_TRUE(prompts.messages.empty());
    const std::vector<int> offered = OfferedActivities(state->norm.activity, kAllActivityGroups);
    EXPECT_GE(offered.size(), 150u);
    EXPECT_GE(ActivityGroups(state->norm.activity).size(), 6u);
    for (int i : offered) {
        const ActivityTableEntry& entry = state->norm.activity.table[static_cast<std::size_t>(i)];
        float factor = 0;
        EXPECT_TRUE(TryParseDecimal(entry.factor, factor) && factor >= 1.0f && factor <= 20.0f) << entry.name;
        EXPECT_FALSE(entry.group.empty()) << entry.name;
    }
    const std::string bytes = testing::ReadFile(testing::SourceDir() / "data" / "aktiv.txt");
    EXPECT_EQ(bytes.find('\n'), bytes.find("\r\n") + 1); // CR LF lines
}

TEST_F(ActivityTest, ActivityFiles)
{
    testing::TempDir dir;
    A().age = "40";
    A().weight = "72,5";
    A().sex = 1;
    AddActivity(*state, prompts, Entry("Löpning"));
    AddActivity(*state, prompts, Entry("Dammsuga"));
    A().rows[1].minutes = "45";
    RecomputeActivities(*state);
    ASSERT_TRUE(SaveActivityFile(*state, dir / "a.akt"));
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadTextLines(dir / "a.akt", lines));
    ASSERT_EQ(lines.size(), 120u);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 9),
              (std::vector<std::string>{"40", "72,5", "1", "Löpning (3.5)", "30", "3.5", "Dammsuga (3,3)",
                                        "45", "3,3"}));
    EXPECT_EQ(lines[9], "");

    // The menu's dialogs: the extension is always ".akt", loading empties the list first.
    auto fresh = data.Start();
    fresh->norm.activity.rows[5].label = "gammal rad";
    prompts.files = {dir / "a.txt"};
    LoadActivityListCommand(*fresh, prompts);
    EXPECT_EQ(prompts.dialogTitles.back(), "Hämta aktivitetslista");
    const ActivityState& loaded = fresh->norm.activity;
    EXPECT_EQ(loaded.rows[1].energy, state->norm.activity.rows[1].energy);
    EXPECT_TRUE(loaded.rows[5].IsEmpty());
    EXPECT_EQ(fresh->norm.kind, "aktivnorm");
    EXPECT_EQ(fresh->norm.text, state->norm.text);

    prompts.files = {dir / "b"};
    SaveActivityListCommand(*state, prompts);
    EXPECT_TRUE(std::filesystem::exists(dir / "b.akt"));

    // Garbled files: a missing one is reported by the menu, a short one keeps what it has, a
    // triple without a label leaves no gap.
    prompts.files = {dir / "missing.akt"};
    LoadActivityListCommand(*fresh, prompts);
    EXPECT_EQ(prompts.messages.back(), "Kan ej öppna aktivitetslistan");
    testing::WriteFile(
        dir / "g.akt",
        EncodeWindows1252("30\r\n80\r\nx\r\n\r\n\r\n\r\nLöpning (3.5)\r\n20\r\n3.5\r\nLång (2)\r\n"));
    EXPECT_TRUE(LoadActivityFile(*fresh, dir / "g.akt"));
    EXPECT_EQ(loaded.sex, 0);
    EXPECT_EQ(loaded.rows[0].minutes, "20");
    EXPECT_EQ(loaded.rows[1].label, "Lång (2)");
    EXPECT_EQ(loaded.rows[1].energyPerMinute, "-1.16"); // no factor counts as 0
    EXPECT_TRUE(loaded.rows[2].IsEmpty());

    std::filesystem::create_directories(dir / "c.akt");
    prompts.files = {dir / "c.akt"};
    prompts.messages.clear();
    SaveActivityListCommand(*state, prompts);
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"Kan ej spara aktiviteterna."});
}

TEST_F(ActivityTest, ActivityListThroughASavedCalculation)
{
    testing::TempDir dir;
    A().age = "33";
    AddActivity(*state, prompts, Entry("Bordtennis"));
    state->presetFileName = dir / "k.diet";
    ASSERT_TRUE(SaveCalculation(*state, prompts));
    EXPECT_TRUE(std::filesystem::exists(dir / "k.akt"));

    auto loaded = data.Start();
    loaded->presetFileName = dir / "k.diet";
    LoadCalculation(*loaded, prompts);
    EXPECT_EQ(loaded->norm.kind, "aktivnorm");
    EXPECT_EQ(loaded->norm.activity.age, "33");
    EXPECT_EQ(loaded->norm.activity.rows[0].label, "Bordtennis (4.0)");
    EXPECT_EQ(loaded->norm.text, state->norm.text);
    EXPECT_NEAR(loaded->norm.activeNorm[I(slot::kcal)], state->norm.activeNorm[I(slot::kcal)], 0.01f);
    EXPECT_TRUE(prompts.messages.empty());

    // Without its ".akt" the calculation still loads, with the norm of its ".norm" file.
    std::filesystem::remove(dir / "k.akt");
    auto again = data.Start();
    again->presetFileName = dir / "k.diet";
    LoadCalculation(*again, prompts);
    EXPECT_EQ(again->norm.kind, "aktivnorm");
    EXPECT_TRUE(again->norm.activity.rows[0].IsEmpty());
    EXPECT_NEAR(again->norm.activeNorm[I(slot::kcal)], state->norm.activeNorm[I(slot::kcal)], 0.01f);
}

} // namespace
} // namespace velmora
