#include <gtest/gtest.h>

#include "core/numbers.h"
#include "fixture.h"
#include "norms/norms.h"
#include "scriptedprompts.h"

namespace velmora {
namespace {

using testing::FixtureData;
using testing::ScriptedPrompts;

constexpr std::size_t I(int slot) { return static_cast<std::size_t>(SlotIndex(slot)); }

TEST(NormGroupNumber, AgeGroupsBySex)
{
    struct Case {
        bool man;
        int age, group;
    };
    const Case cases[] = {
        {true, 45, 4},  {false, 80, 16}, {true, 4, 24},   {false, 4, 24},  {true, 75, 6},   {false, 1, 0},
        {true, 16, 2},  {false, 75, 16}, {true, 10, 1},   {false, 13, 11}, {true, 9, 25},   {false, 6, 25},
        {true, 18, 3},  {true, 30, 3},   {false, 31, 14}, {true, 60, 4},   {false, 61, 15}, {true, 74, 5},
        {true, 110, 6}, {true, 111, 0},  {false, -3, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(NormGroupNumber(c.man, c.age), c.group) << c.man << " " << c.age;
}

TEST(CheckNormEnergy, WarnsAtTheThresholds)
{
    struct Case {
        float kJ, kcal, protein, fat, carbohydrate;
        int warnings;
    };
    const Case cases[] = {
        {8000, 2000, 0, 0, 0, 2},       // 420 kJ off the kcal, and nothing from the energy givers
        {8400, 2000, 100, 90, 200, 0},  // 20 kJ off the kcal, 30 off the energy givers
        {8430, 2000, 100, 90, 200, 0},
        {8430, 2000, 100, 90, 203.5f, 1},
    };
    for (const auto& c : cases) {
        NutrientVector norm{};
        norm[I(slot::kJ)] = c.kJ;
        norm[I(slot::kcal)] = c.kcal;
        norm[I(slot::protein)] = c.protein;
        norm[I(slot::fat)] = c.fat;
        norm[I(slot::carbohydrate)] = c.carbohydrate;
        ScriptedPrompts prompts;
        CheckNormEnergy(norm, "N", prompts);
        EXPECT_EQ(static_cast<int>(prompts.messages.size()), c.warnings) << c.kJ << " " << c.carbohydrate;
    }
    ScriptedPrompts prompts;
    NutrientVector norm{};
    norm[I(slot::kJ)] = 8000;
    norm[I(slot::kcal)] = 2000;
    CheckNormEnergy(norm, "Män", prompts);
    EXPECT_EQ(prompts.messages[0],
              "För stor skillnad mellan kJ (8000) och kcal (2000). Om du ändrat normen kolla den, kontakta annars Brennvik");
    EXPECT_EQ(prompts.messages[1], "Män    För stor skillnad mellan kJ (8000) och energigivare (0). Om du ändrat normen "
                                   "kolla den, kontakta annars Brennvik");
}

class NormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        data.Table("normer", "Nr\tNorm\tEnergi _kJ_ _kJ_\tEnergi _kcal_ _kcal_\tProtein _g_\tFett _g_\tKolhydrater _g_\t"
                             "Fibrer _g_\tAskorbinsyra _mg_\tJärn _mg_\tILE_mg\n"
                             "2\tPojkar 14-17\t11788\t2800\t105\t103\t380\t30\t75\t11\t5\n"
                             "14\tKvinnor 31-60\t8430\t2000\t100\t90\t200\t25\t75\t15\t5\n"
                             "16\tKvinnor 75+\t7190\t1700\t70\t60\t220\t25\t75\t9\t5\n"
                             "18\tStartnorm\t8430\t2000\t100\t90\t200\t25\t75\t15\t5\n");
        data.Table("normkroppsvikt", "Nr\tNorm\tProtein _g_\tFett _g_\tKolhydrater _g_\n"
                                     "1\tProtein 0.8 g/kg\t0.8\t\t\n2\tIdrottare\t1.6\t1\t6\n");
        state = data.Start();
    }
    FixtureData data;
    std::unique_ptr<ProgramState> state;
    ScriptedPrompts prompts;
};

TEST_F(NormTest, StartNormAndChoosingAStandardNorm)
{
    EXPECT_EQ(state->norm.text, "Norm: Startnorm");
    EXPECT_EQ(state->norm.kind, "standardnorm");
    EXPECT_EQ(state->norm.currentRow.nr, 18);
    EXPECT_FLOAT_EQ(state->norm.activeNorm[I(slot::kcal)], 2000.0f);
    EXPECT_FLOAT_EQ(state->norm.activeNorm[I(slot::zinc)], 0.0f);

    state->norm.kind = "ketogennorm";
    ASSERT_TRUE(state->normer.FindKey(16LL));
    ChooseStandardNorm(*state, prompts);
    EXPECT_EQ(state->norm.text, "Norm: Kvinnor 75+   1700 kcal/dag");
    EXPECT_EQ(prompts.messages.front(), "Vald Norm: Kvinnor 75+   1700 kcal/dag");
    EXPECT_EQ(prompts.messages.back(), "Om du räknat på ketogen kost bör du kolla måltidsfördelningen under "
                                       "Arkiv/Inställningar, de kan ha ändrats.");
    EXPECT_EQ(state->norm.kind, "standardnorm");
    EXPECT_FLOAT_EQ(state->norm.activeNorm[I(slot::iron)], 9.0f);
    // Ideal shares follow the norm's energy givers (fibre with the carbohydrate, alcohol not at all).
    const float e = 1700.f * 70 + 3700.f * 60 + 1700.f * 220 + 800.f * 25;
    EXPECT_NEAR(state->idealShares.protein, 100.f * 1700 * 70 / e, 1e-4);
    EXPECT_NEAR(state->idealShares.saturated, state->idealShares.fat * 0.3333f, 1e-4);
    EXPECT_EQ(state->settings.idealCells[0], FormatFixed(state->idealShares.protein, 0, 0));
}

TEST_F(NormTest, OwnNormOfTheWorkedExample)
{
    ComputeOwnNorm(*state, prompts);  // 2180 kcal, 50 years, 15/30/55 %
    const NutrientVector& draft = state->norm.draftNorm;
    EXPECT_NEAR(draft[I(slot::kJ)], 9121.12f, 0.01f);
    EXPECT_NEAR(draft[I(slot::protein)], 80.48f, 0.01f);
    EXPECT_NEAR(draft[I(slot::fat)], 73.96f, 0.01f);
    EXPECT_NEAR(draft[I(slot::carbohydrate)], 295.10f, 0.01f);
    EXPECT_FLOAT_EQ(draft[I(slot::iron)], 15.0f);          // from the woman's group 14
    EXPECT_FLOAT_EQ(draft[I(slot::firstAminoAcid)], 0.0f);  // only slots up to selenium are taken
    EXPECT_EQ(state->norm.own.sumText, "100%");
    EXPECT_TRUE(prompts.messages.empty());

    state->norm.own.draft[I(slot::vitaminC)] = "90";  // the user's edit in the grid is taken over
    ApplyOwnNorm(*state);
    EXPECT_EQ(state->norm.kind, "egennorm");
    EXPECT_EQ(state->norm.text, "Norm: Kvinna  50 år 2180 kcal/dag");
    EXPECT_FLOAT_EQ(state->norm.activeNorm[I(slot::vitaminC)], 90.0f);
    EXPECT_FLOAT_EQ(state->idealShares.fat, 30.0f);
    EXPECT_NEAR(state->idealShares.monounsaturated, 12.501f, 1e-3);
}

TEST_F(NormTest, OwnNormAgeChecks)
{
    state->norm.own.cells[1] = "femtio";
    ComputeOwnNorm(*state, prompts);
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"Skriv ålder som ett heltal."});
    prompts.messages.clear();
    state->norm.own.cells[1] = "1";
    ComputeOwnNorm(*state, prompts);
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"Vitamin och mineralberäkning stämmer endast för åldrar 2 år och uppåt"});
}

TEST_F(NormTest, SaveOwnNormAsANewTableRow)
{
    ComputeOwnNorm(*state, prompts);
    prompts.inputAnswers.push_back("Min norm");
    SaveOwnNormAsTableRow(*state, prompts);
    EXPECT_EQ(prompts.inputs.back(), "Vad ska den nya normen heta?|Skriv namnet på den nya normen: ");
    EXPECT_EQ(prompts.messages.back(), "\"Min norm\"  är upplagd. Gå in under Normer/Standardnormer där finns den i slutet.");
    ASSERT_TRUE(state->normer.FindKey(19LL));
    EXPECT_EQ(state->normer.FieldText("Norm"), "Min norm");
    EXPECT_FLOAT_EQ(static_cast<float>(state->normer.FieldFloat(SlotFieldPosition(slot::fat))),
                    ParseDecimal(state->norm.own.draft[I(slot::fat)]));
}

TEST_F(NormTest, PerKilogramNormOfTheWorkedExample)
{
    state->norm.perKg.weight = "70";
    state->norm.perKg.age = "16";
    state->norm.perKg.sex = "Man";
    state->norm.perKg.perKgRowNr = 1;
    ComputePerKgNorm(*state, prompts);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(ParseDecimal(state->norm.perKg.draft[I(slot::protein)]), 56.0f);
    EXPECT_EQ(ParseDecimal(state->norm.perKg.draft[I(slot::fat)]), 103.0f);  // group 2's standard value
    EXPECT_EQ(state->norm.perKg.activateCaption, "Aktivera norm: Protein 0.8 g/kg");

    ActivatePerKgNorm(*state, prompts);
    EXPECT_EQ(state->norm.kind, "kgkroppsviktnorm");
    EXPECT_FLOAT_EQ(state->norm.activeNorm[I(slot::protein)], 56.0f);
    EXPECT_EQ(prompts.messages.back(), "Normen Startnorm vald");
    EXPECT_EQ(state->norm.text.rfind("Norm per kg kroppsvikt: Startnorm   ", 0), 0u);

    // Energies per kilogram are written back into the table.
    ASSERT_TRUE(state->normPerKg.FindKey(2LL));
    EXPECT_FLOAT_EQ(static_cast<float>(state->normPerKg.FieldFloat(SlotFieldPosition(slot::kJ))), 166.0f);
    EXPECT_FLOAT_EQ(static_cast<float>(state->normPerKg.FieldFloat(SlotFieldPosition(slot::kcal))), 40.0f);
}

TEST_F(NormTest, PerKilogramInputChecks)
{
    struct Case {
        const char* age;
        const char* weight;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"", "70", {}},
        {"40", "", {}},
        {"x", "70", {"Skriv ålder som ett heltal."}},
        {"40", "sjuttio", {"Skriv vikten som ett heltal."}},
    };
    for (const auto& c : cases) {
        prompts.messages.clear();
        state->norm.perKg.age = c.age;
        state->norm.perKg.weight = c.weight;
        ComputePerKgNorm(*state, prompts);
        EXPECT_EQ(prompts.messages, c.messages) << c.age << "/" << c.weight;
    }
}

TEST_F(NormTest, UnlockingTheNormTables)
{
    state->norm.accessPassword = "DRUV";
    EXPECT_TRUE(UnlockNormTable(*state, prompts, NormTableKind::Standard));
    EXPECT_TRUE(prompts.inputs.empty());

    prompts.inputAnswers = {"plogbar", "fel"};
    EXPECT_TRUE(UnlockNormTable(*state, prompts, NormTableKind::PerKg));
    EXPECT_FALSE(UnlockNormTable(*state, prompts, NormTableKind::PerKg));
    EXPECT_EQ(prompts.messages.back(), "Fel lösenord!");
    EXPECT_EQ(prompts.inputs.front(), "Ange PLOGBAR lösenord|LÖSENORD");

    state->norm.accessPassword = "HEMLIS";
    prompts.inputAnswers = {"hemlis"};
    EXPECT_TRUE(UnlockNormTable(*state, prompts, NormTableKind::Standard));
}

TEST_F(NormTest, CompanionFilesRestoreTheWindows)
{
    testing::TempDir dir;
    state->norm.own.sex = "Man";
    state->norm.own.cells = {"2500", "40", "20", "30", "50"};
    state->norm.own.draft[70] = "7";
    ASSERT_TRUE(SaveOwnNormFile(*state, dir / "a.enorm"));
    state->norm.perKg = {};
    state->norm.perKg.weight = "82";
    state->norm.perKg.draft[86] = "x";
    ASSERT_TRUE(SavePerKgFile(*state, dir / "a.kropp"));

    auto fresh = data.Start();
    LoadOwnNormFile(*fresh, dir / "a.enorm");
    LoadPerKgFile(*fresh, dir / "a.kropp");
    EXPECT_EQ(fresh->norm.own.sex, "Man");
    EXPECT_EQ(fresh->norm.own.cells, state->norm.own.cells);
    EXPECT_EQ(fresh->norm.own.draft[70], "7");
    EXPECT_EQ(fresh->norm.perKg.weight, "82");
    EXPECT_EQ(fresh->norm.perKg.draft[86], "x");

    // A short own-norm file carries 66 values; garbage and missing files leave the inputs alone.
    testing::WriteFile(dir / "short.enorm", "Kvinna\r\n1800\r\n30\r\n15\r\n30\r\n55\r\n1\r\n2\r\n");
    LoadOwnNormFile(*fresh, dir / "short.enorm");
    EXPECT_EQ(fresh->norm.own.sex, "Kvinna");
    EXPECT_EQ(fresh->norm.own.draft[1], "2");
    EXPECT_EQ(fresh->norm.own.draft[70], "7");
    LoadOwnNormFile(*fresh, dir / "missing.enorm");
    EXPECT_EQ(fresh->norm.own.cells[0], "1800");
}

}  // namespace
}  // namespace velmora
