#include <gtest/gtest.h>

#include <cmath>

#include "core/calcfile.h"
#include "core/numbers.h"
#include "fixture.h"
#include "norms/energynorm.h"
#include "norms/harris.h"
#include "norms/person.h"
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

PersonProfile Person(int sex, const char* age, const char* weight, const char* height, int work = 1,
                     int leisure = 1)
{
    PersonProfile p;
    p.sex = sex;
    p.age = age;
    p.weight = weight;
    p.height = height;
    p.workLevel = work;
    p.leisureLevel = leisure;
    return p;
}

constexpr int kWoman = 0, kMan = 1;

TEST(PersonEnergyNeed, FactorsAndAdditions)
{
    struct Case {
        const char* what;
        PersonProfile profile;
        float kcal;
    };
    // 140 kJ/kg: 70 kg gives 2342.26 kcal before any factor; 180 cm keeps 70 kg in the neutral BMI band.
    const Case cases[] = {
        {"worked example, BMI 24.2 > 24", Person(kWoman, "45", "70", "170"), 2108.03f},
        {"neutral BMI, middle age", Person(kWoman, "45", "70", "180"), 2342.26f},
        {"age 30 is young", Person(kWoman, "30", "70", "180"), 2576.48f},
        {"age 17.95 is young", Person(kWoman, "17.95", "70", "180"), 2576.48f},
        {"age 17.9 is not", Person(kWoman, "17.9", "70", "180"), 2342.26f},
        {"age 30.1 is not", Person(kWoman, "30.1", "70", "180"), 2342.26f},
        {"age 70 is not old", Person(kWoman, "70", "70", "180"), 2342.26f},
        {"age 70.5 is old", Person(kWoman, "70.5", "70", "180"), 2108.03f},
        {"age 11 has no need", Person(kWoman, "11", "70", "180"), 0.0f},
        {"age 11.5 has one", Person(kWoman, "11.5", "70", "180"), 2342.26f},
        {"man BMI 19.9 is thin", Person(kMan, "45", "79.6", "200"), 2929.83f},
        {"woman BMI 19.9 is not", Person(kWoman, "45", "79.6", "200"), 2663.48f},
        {"man BMI exactly 25", Person(kMan, "45", "100", "200"), 3346.08f},
        {"man BMI 26", Person(kMan, "45", "104", "200"), 3131.93f},
        {"woman BMI exactly 24", Person(kWoman, "45", "96", "200"), 3212.24f},
        {"woman BMI 25", Person(kWoman, "45", "100", "200"), 3011.47f},
        {"height 100 has no need", Person(kWoman, "45", "70", "100"), 0.0f},
        {"sedentary work and leisure", Person(kWoman, "45", "70", "180", 0, 0), 2042.26f},
        {"heavy work, training", Person(kWoman, "45", "70", "180", 3, 3), 3142.26f},
        {"walking work, regular activity", Person(kWoman, "45", "70", "180", 2, 2), 2842.26f},
        {"unreadable weight", Person(kWoman, "45", "sjuttio", "180"), 0.0f},
        {"empty age", Person(kWoman, "", "70", "180"), 0.0f},
        {"negative height", Person(kWoman, "45", "70", "-180"), 0.0f},
        {"weight beyond any float arithmetic", Person(kWoman, "45", "3e38", "180"), 0.0f},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(PersonEnergyNeed(c.profile).kcal, c.kcal, 0.05f) << c.what;
    }

    // After the work step the need is 1 kcal or less, so the leisure step is skipped.
    PersonProfile tiny = Person(kWoman, "45", "70", "180", 0, 3);
    tiny.healthyBasal = "2";
    EXPECT_NEAR(PersonEnergyNeed(tiny).kcal, 2.0f * 70 / 4.184f - 150.0f, 0.05f);
}

TEST(PersonEnergyNeed, SickAdultsIgnoreBmiAgeAndActivity)
{
    struct Case {
        int category;
        const char* special;
        float kcal;
    };
    const Case cases[] = {{0, "180", 1720.84f},
                          {1, "180", 2007.65f},
                          {2, "180", 2437.86f},
                          {3, "200", 2868.07f},
                          {3, "x", 0.0f}};
    for (const Case& c : cases) {
        PersonProfile p = Person(kMan, "5", "60", "", 3, 3); // a child without height: no need if healthy
        p.healthState = 1;
        p.sickCategory = c.category;
        p.specialSick = c.special;
        EXPECT_NEAR(PersonEnergyNeed(p).kcal, c.kcal, 0.05f) << c.category;
    }
}

TEST(PersonEnergyNeed, TextAndBmiMarker)
{
    const PersonEnergy example = PersonEnergyNeed(Person(kWoman, "45", "70", "170"));
    EXPECT_EQ(PersonNeedText(example.kcal), "2108 kcal / 8820 kJ");
    EXPECT_EQ(PersonNeedText(0.1f), "- - - -  kcal /  kJ");
    ASSERT_TRUE(example.bmi);
    EXPECT_EQ(BmiScalePosition(example.bmi).caption, "BMI 24.2");
    EXPECT_FALSE(PersonEnergyNeed(Person(kWoman, "45", "10", "170")).bmi);
    EXPECT_FALSE(PersonEnergyNeed(Person(kWoman, "45", "70", "100")).bmi);

    struct Case {
        std::optional<float> bmi;
        const char* caption;
        float fraction;
    };
    const Case cases[] = {
        {std::nullopt, "BMI - - -", 0.0f}, {16.0f, "BMI 16.0", 0.0f},          {18.5f, "BMI 18.5", 0.0f},
        {25.0f, "BMI 25.0", 6.5f / 16.5f}, {30.0f, "BMI 30.0", 11.5f / 16.5f}, {40.0f, "BMI 40.0", 1.0f},
    };
    for (const Case& c : cases) {
        const BmiMarker marker = BmiScalePosition(c.bmi);
        EXPECT_EQ(marker.caption, c.caption);
        EXPECT_NEAR(marker.fraction, c.fraction, 1e-5f) << c.caption;
    }
}

// The two windows map ages to the norm table's groups differently.
TEST(NormGroups, PersonalAndHarrisWindows)
{
    struct Case {
        int age, person, harris;
    };
    const Case cases[] = {
        {4, 0, 0},  {9, 0, 0},  {10, 0, 1}, {11, 1, 1},  {13, 1, 1},  {14, 1, 2},  {15, 2, 2},
        {17, 2, 2}, {18, 2, 3}, {19, 3, 3}, {30, 3, 3},  {31, 4, 4},  {60, 4, 4},  {61, 5, 5},
        {74, 5, 5}, {75, 5, 6}, {76, 6, 6}, {110, 6, 6}, {111, 0, 0}, {300, 0, 0}, {-5, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PersonNormGroupNumber(true, c.age), c.person) << c.age;
        EXPECT_EQ(HarrisNormGroupNumber(true, c.age), c.harris) << c.age;
        EXPECT_EQ(PersonNormGroupNumber(false, c.age), c.person ? c.person + 10 : 0) << c.age;
        EXPECT_EQ(HarrisNormGroupNumber(false, c.age), c.harris ? c.harris + 10 : 0) << c.age;
    }
}

HarrisInputs Harris(int sex, const char* age, const char* weight, const char* height, const char* factor,
                    int unit = 1)
{
    HarrisInputs inputs;
    inputs.cells = {age, weight, height, factor};
    inputs.sex = sex;
    inputs.unit = unit;
    return inputs;
}

TEST(HarrisEnergyNeed, EquationsAndValidity)
{
    struct Case {
        HarrisInputs inputs;
        const char* figure;
    };
    const Case cases[] = {
        {Harris(kWoman, "30", "60", "165", "1.3"), "1803"},
        {Harris(kWoman, "30", "60", "165", "1.3", 0), "7545"},
        {Harris(kMan, "45", "80", "180", "1.5"), "2635"},
        {Harris(kWoman, "9", "60", "165", "1.3"), "- - -"},
        {Harris(kWoman, "30", "9", "165", "1.3"), "- - -"},
        {Harris(kWoman, "30", "60", "100", "1.3"), "- - -"},
        {Harris(kWoman, "30", "60", "165", "0.9"), "- - -"},
        {Harris(kWoman, "trettio", "60", "165", "1.3"), "- - -"},
        {Harris(kMan, "1000", "60", "165", "1.3"), "- - -"}, // the equation goes below zero
        {Harris(kMan, "30", "3e38", "165", "1.3"), "- - -"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HarrisFigureText(HarrisEnergyNeed(c.inputs)), c.figure)
            << c.inputs.cells[0] << "/" << c.inputs.cells[1];
    }
    EXPECT_EQ(HarrisBmiText(Harris(kWoman, "30", "60", "165", "")), "BMI 22.0");
    EXPECT_EQ(HarrisBmiText(Harris(kWoman, "30", "10", "165", "")), "- - -");
    EXPECT_EQ(HarrisBmiText(Harris(kWoman, "30", "60", "100", "")), "- - -");
}

class PersonNormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        data.Table(
            "normer",
            "Nr\tNorm\tEnergi _kJ_ _kJ_\tEnergi _kcal_ _kcal_\tProtein _g_\tFett _g_\tKolhydrater _g_\t"
            "Mättade fettsyror _g_\tJärn _mg_\tZink _mg_\n"
            "4\tMän 31-60\t10500\t2500\t94\t92\t344\t28\t9\t9\n"
            "14\tKvinnor 31-60\t8400\t2000\t75\t73\t275\t22\t15\t7\n"
            "18\tStartnorm\t8400\t2000\t75\t73\t275\t22\t12\t7\n");
        state = data.Start();
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

TEST_F(PersonNormTest, ApplyingTheWorkedExample)
{
    state->CalculationDirty = false;
    ASSERT_TRUE(ApplyPersonNorm(*state, prompts, Person(kWoman, "45", "70", "170")));
    EXPECT_TRUE(prompts.messages.empty());
    const NutrientVector& n = state->norm.activeNorm;
    EXPECT_EQ(state->norm.kind, "personnorm");
    EXPECT_EQ(state->norm.text, "Kvinna 45 år, 70 kg.  2108 kcal/dag");
    EXPECT_EQ(state->mainCaption, "Norm: Kvinna 45 år, 70 kg.  2108 kcal/dag");
    EXPECT_TRUE(state->CalculationDirty);
    EXPECT_EQ(state->norm.currentRow.nr, 14);
    EXPECT_EQ(state->norm.currentRow.name, "Kvinnor 31-60");
    EXPECT_FLOAT_EQ(n[I(slot::iron)], 15.0f);
    EXPECT_NEAR(n[I(slot::kcal)], 2108.03f, 0.05f);
    const float kJ = n[I(slot::kcal)] * 4.184f;
    EXPECT_NEAR(n[I(slot::kJ)], kJ, 0.01f);
    EXPECT_NEAR(n[I(slot::protein)], kJ * 15 / 1700, 0.01f);
    EXPECT_NEAR(n[I(slot::fat)], kJ * 30 / 3700, 0.01f);
    EXPECT_NEAR(n[I(slot::carbohydrate)], kJ * 55 / 1700, 0.01f);
    EXPECT_NEAR(n[I(slot::saturated)], kJ * 10 / 3700, 0.01f);
    EXPECT_NEAR(n[I(slot::polyunsaturated)], kJ * 7.5f / 3700, 0.01f);
}

TEST_F(PersonNormTest, RefusedAndEdgeInputs)
{
    const PersonProfile refused[] = {
        Person(kWoman, "10.9", "70", "170"), Person(kWoman, "45", "19", "170"),
        Person(kWoman, "45", "70", "99"),    Person(kWoman, "111", "70", "170"),
        Person(kWoman, "300", "70", "170"),  Person(kWoman, "", "", ""),
        Person(kWoman, "x", "70", "170"),    Person(kWoman, "45", "-70", "170"),
    };
    const NutrientVector before = state->norm.activeNorm;
    for (const PersonProfile& p : refused) {
        prompts.messages.clear();
        EXPECT_FALSE(ApplyPersonNorm(*state, prompts, p)) << p.age << "/" << p.weight << "/" << p.height;
        EXPECT_EQ(prompts.messages, std::vector<std::string>{"Personuppgifter ej godkända."});
    }
    EXPECT_EQ(state->norm.activeNorm, before);
    EXPECT_EQ(state->norm.kind, "standardnorm");

    // Age 11 is accepted although it has no need: the norm's energy becomes 0.
    prompts.messages.clear();
    EXPECT_TRUE(ApplyPersonNorm(*state, prompts, Person(kMan, "11", "40", "150")));
    EXPECT_FLOAT_EQ(state->norm.activeNorm[I(slot::kcal)], 0.0f);

    // A woman of 80 has group 16, which this table lacks: only the energy slots change.
    EXPECT_TRUE(ApplyPersonNorm(*state, prompts, Person(kWoman, "45", "70", "170")));
    EXPECT_TRUE(ApplyPersonNorm(*state, prompts, Person(kWoman, "80", "70", "170")));
    EXPECT_FLOAT_EQ(state->norm.activeNorm[I(slot::iron)], 15.0f);
    EXPECT_EQ(state->norm.currentRow.nr, 14);

    // A sick person of absurd weight gets no need rather than an infinity.
    PersonProfile sick = Person(kWoman, "45", "3e38", "170");
    sick.healthState = 1;
    EXPECT_TRUE(ApplyPersonNorm(*state, prompts, sick));
    EXPECT_TRUE(AllFinite());
    EXPECT_FLOAT_EQ(state->norm.activeNorm[I(slot::kcal)], 0.0f);
}

TEST_F(PersonNormTest, ApplyingHarrisBenedict)
{
    struct Refusal {
        HarrisInputs inputs;
        const char* figure;
        const char* message;
    };
    const Refusal refusals[] = {
        {Harris(kMan, "45.5", "80", "180", "1.5"), "2635", "Skriv ålder som ett heltal."},
        {Harris(kMan, "", "80", "180", "1.5"), "2635", "Skriv ålder som ett heltal."},
        {Harris(kMan, "45", "80", "180", "0.5"), "- - -", "Uppgifterna ej korrekt ifyllda."},
        {Harris(kMan, "150", "80", "180", "1.5"), "1900", "Uppgifterna ej korrekt ifyllda."},
    };
    for (const Refusal& r : refusals) {
        prompts.messages.clear();
        EXPECT_FALSE(ApplyHarrisNorm(*state, prompts, r.inputs, r.figure));
        EXPECT_EQ(prompts.messages, std::vector<std::string>{r.message});
    }
    EXPECT_EQ(state->norm.kind, "standardnorm");

    prompts.messages.clear();
    const HarrisInputs man = Harris(kMan, "45", "80", "180", "1.5");
    ASSERT_TRUE(ApplyHarrisNorm(*state, prompts, man, HarrisFigureText(HarrisEnergyNeed(man))));
    EXPECT_EQ(state->norm.text, "Norm: Harris Benedict, Man  45 år 2635 kcal per dag");
    EXPECT_EQ(state->mainCaption, state->norm.text);
    EXPECT_EQ(state->norm.kind, "harrisnorm");
    const NutrientVector& n = state->norm.activeNorm;
    EXPECT_FLOAT_EQ(n[I(slot::kcal)], 2635.0f);
    EXPECT_NEAR(n[I(slot::kJ)], 2635.0f * 4.184f, 0.01f);
    EXPECT_NEAR(n[I(slot::protein)], 2635.0f * 4.184f * 15 / 1700, 0.01f);
    EXPECT_FLOAT_EQ(n[I(slot::iron)], 9.0f);       // from group 4
    EXPECT_FLOAT_EQ(n[I(slot::saturated)], 28.0f); // the fat qualities stay the row's

    const HarrisInputs woman = Harris(kWoman, "30", "60", "165", "1.3", 0);
    ASSERT_TRUE(ApplyHarrisNorm(*state, prompts, woman, "7545"));
    EXPECT_EQ(state->norm.text, "Norm: Harris Benedict, Kvinna  30 år 7545 kJ per dag");
    EXPECT_FLOAT_EQ(n[I(slot::kJ)], 7545.0f);
    EXPECT_NEAR(n[I(slot::kcal)], 7545.0f / 4.184f, 0.01f);
    EXPECT_TRUE(prompts.messages.empty());
}

// The inputs travel beside a saved calculation and come back with it.
TEST_F(PersonNormTest, CompanionFilesThroughASavedCalculation)
{
    testing::TempDir dir;
    state->norm.person = Person(kMan, "52", "88,5", "181", 2, 3);
    state->norm.person.healthyBasal = "150";
    state->norm.person.specialSick = "190";
    ASSERT_TRUE(ApplyPersonNorm(*state, prompts, state->norm.person));
    state->presetFileName = dir / "p.diet";
    ASSERT_TRUE(SaveCalculation(*state, prompts));
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadTextLines(dir / "p.pers", lines));
    EXPECT_EQ(lines, (std::vector<std::string>{"Man",   "52",    "88,5",  "181",   "2",     "3",     "150",
                                               "0",     "1",     "190",   "dummy", "dummy", "dummy", "dummy",
                                               "dummy", "dummy", "dummy", "dummy", "dummy", "dummy"}));

    auto loaded = data.Start();
    loaded->presetFileName = dir / "p.diet";
    LoadCalculation(*loaded, prompts);
    EXPECT_EQ(loaded->norm.kind, "personnorm");
    EXPECT_EQ(loaded->norm.person, state->norm.person);
    EXPECT_NEAR(loaded->norm.activeNorm[I(slot::kcal)], state->norm.activeNorm[I(slot::kcal)], 0.001f);

    state->norm.harris = Harris(kMan, "45", "80", "180", "1.5");
    ASSERT_TRUE(ApplyHarrisNorm(*state, prompts, state->norm.harris, "2635"));
    state->presetFileName = dir / "h.diet";
    ASSERT_TRUE(SaveCalculation(*state, prompts));
    lines.clear();
    ASSERT_TRUE(ReadTextLines(dir / "h.harris", lines));
    EXPECT_EQ(lines.size(), 15u);
    loaded->presetFileName = dir / "h.diet";
    LoadCalculation(*loaded, prompts);
    EXPECT_EQ(loaded->norm.kind, "harrisnorm");
    EXPECT_EQ(loaded->norm.harris.cells, state->norm.harris.cells);
    EXPECT_EQ(loaded->norm.harris.sex, 1);
    EXPECT_TRUE(prompts.messages.empty()) << prompts.messages.front();
}

TEST_F(PersonNormTest, GarbledMissingAndUnwritableCompanions)
{
    testing::TempDir dir;
    // Index lines out of range or unreadable give the first choice; short files fill what they have.
    testing::WriteFile(dir / "g.pers", "Kvinna\r\n40\r\n\xff\xfe\r\n170\r\n9\r\nx\r\n140\r\n1\r\n-2\r\n");
    LoadPersonFile(*state, dir / "g.pers");
    const PersonProfile& p = state->norm.person;
    EXPECT_EQ(p.sex, kWoman);
    EXPECT_EQ(p.age, "40");
    EXPECT_EQ(p.weight, "ÿþ");
    EXPECT_EQ(p.workLevel, 0);
    EXPECT_EQ(p.leisureLevel, 0);
    EXPECT_EQ(p.healthState, 1);
    EXPECT_EQ(p.sickCategory, 0);
    EXPECT_EQ(p.specialSick, "");
    EXPECT_FLOAT_EQ(PersonEnergyNeed(p).kcal, 0.0f);

    state->norm.harris = Harris(kWoman, "30", "60", "165", "1.3");
    LoadHarrisFile(*state, dir / "missing.harris");
    testing::WriteFile(dir / "empty.harris", "");
    LoadHarrisFile(*state, dir / "empty.harris");
    EXPECT_EQ(state->norm.harris.cells[0], "30");
    testing::WriteFile(dir / "short.harris", "Man\r\n44\r\n");
    LoadHarrisFile(*state, dir / "short.harris");
    EXPECT_EQ(state->norm.harris.cells, (std::array<std::string, 4>{"44", "", "", ""}));

    // A folder in the companion's place cannot be replaced: the calculation is saved, the message shown.
    std::filesystem::create_directories(dir / "u.pers");
    ASSERT_TRUE(ApplyPersonNorm(*state, prompts, Person(kWoman, "45", "70", "170")));
    state->presetFileName = dir / "u.diet";
    EXPECT_TRUE(SaveCalculation(*state, prompts));
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"Kan ej spara persondata"});
}

} // namespace
} // namespace velmora
