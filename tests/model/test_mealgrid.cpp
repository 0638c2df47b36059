#include <gtest/gtest.h>

#include "core/numbers.h"
#include "core/workspace_ops.h"
#include "fixture.h"
#include "mainwindow/mealgrid_ops.h"
#include "scriptedprompts.h"

namespace velmora {
namespace {

using testing::FixtureData;
using testing::ScriptedPrompts;

constexpr std::size_t kKj = static_cast<std::size_t>(SlotIndex(slot::kJ));

MealRow Food(const std::string& code, float grams, float unitWeight, const std::string& unit = "st")
{
    MealRow row;
    row.code = code;
    row.name = "Mat " + code;
    row.unit = unit;
    row.unitWeight = unitWeight;
    row.grams = grams;
    row.nutrients[kKj] = 100.0f;  // 1 kJ per gram keeps the totals readable
    return row;
}

TEST(GridCellTexts, ShowsAmountUnitGramsAndTime)
{
    struct Case {
        const char* what;
        float grams, unitWeight;
        const char* amount;
        const char* gramsText;
    };
    const Case cases[] = {
        {"one portion", 120.0f, 120.0f, "1,0", "120"},
        {"amount rounded to a tenth", 37.0f, 120.0f, "0,3", "37"},
        {"large grams lose their decimals", 123.6f, 50.0f, "2,5", "124"},
        {"small grams keep a tenth", 9.9f, 100.0f, "0,1", "9,9"},
        {"just above 9.9 rounds to whole grams", 9.96f, 100.0f, "0,1", "10"},
        {"half a gram", 0.5f, 100.0f, "-", "0,5"},
        {"no unit weight", 50.0f, 0.0f, "-", "50"},
        {"a unit weight of 0.01 counts as none", 50.0f, 0.01f, "-", "50"},
        {"nothing eaten", 0.0f, 120.0f, "-", "-"},
        {"0.01 g counts as nothing", 0.01f, 1.0f, "-", "-"},
    };
    for (const Case& c : cases) {
        MealRow row = Food("7", c.grams, c.unitWeight, "dl");
        row.timeText = "8.15";
        auto cells = GridCellTexts(row);
        EXPECT_EQ(cells[kColumnName], "Mat 7") << c.what;
        EXPECT_EQ(cells[kColumnAmount], c.amount) << c.what;
        EXPECT_EQ(cells[kColumnUnit], "dl") << c.what;
        EXPECT_EQ(cells[kColumnGrams], c.gramsText) << c.what;
        EXPECT_EQ(cells[kColumnTime], "8.15") << c.what;
    }

    MealRow empty;
    empty.name = "left over";
    empty.grams = 100.0f;
    for (const std::string& cell : GridCellTexts(empty)) EXPECT_EQ(cell, "");
}

TEST(GridRowColour, FollowsTheMealColoursOnlyInMealChartMode)
{
    EXPECT_EQ(GridRowColour(0, 1), 0x0000FFu);   // blue
    EXPECT_EQ(GridRowColour(0, 2), 0xFF0000u);   // red
    EXPECT_EQ(GridRowColour(0, 9), 0x000000u);   // black
    EXPECT_EQ(GridRowColour(0, 10), 0x0000FFu);  // the colours repeat every nine rows
    EXPECT_EQ(GridRowColour(1, 2), 0x000000u);
    EXPECT_EQ(GridRowColour(2, 2), 0x000000u);
}

// A calculation without tables: rows are put in directly.
class GridEditTest : public ::testing::Test {
protected:
    MealRow& Row(int r, int day = 0, int meal = 0) { return state.calculation.Row(day, meal, r); }
    float MealKj(int day = 0, int meal = 0) const { return state.totals->mealTotals[day][meal][kKj]; }
    void Put(int r, const MealRow& row, int day = 0, int meal = 0) { Row(r, day, meal) = row; }
    void Select(int r, int column) { SelectGridCell(state, r, column); }

    ProgramState state;
    ScriptedPrompts prompts;
};

TEST_F(GridEditTest, CommittingAmountOrGramsSetsGramsAndRecalculates)
{
    struct Case {
        int column;
        const char* text;
        float unitWeight;
        float grams;
    };
    const Case cases[] = {
        {kColumnAmount, "2", 120.0f, 240.0f},
        {kColumnAmount, "1,5", 120.0f, 180.0f},
        {kColumnAmount, "0.5", 120.0f, 60.0f},
        {kColumnAmount, "två", 120.0f, 0.0f},
        {kColumnAmount, "", 120.0f, 0.0f},
        {kColumnAmount, "2", 0.0f, 0.0f},  // no portion: the amount cannot give grams
        {kColumnGrams, "150", 120.0f, 150.0f},
        {kColumnGrams, "12,5", 120.0f, 12.5f},
        {kColumnGrams, "12.5 g", 120.0f, 0.0f},
        {kColumnGrams, "1e400", 120.0f, 0.0f},
    };
    for (const Case& c : cases) {
        Put(1, Food("1", 100.0f, c.unitWeight));
        state.CalculationDirty = false;
        Select(1, c.column);
        CommitGridCell(state, prompts, c.text, CommitKey::Arrow);
        EXPECT_FLOAT_EQ(Row(1).grams, c.grams) << c.text;
        EXPECT_FLOAT_EQ(MealKj(), c.grams) << c.text;
        EXPECT_TRUE(state.CalculationDirty) << c.text;
    }
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(GridEditTest, TimeGoesToTheRowAndEveryLaterRow)
{
    for (int r = 1; r <= 5; ++r) Put(r, Food("1", 10.0f, 10.0f));
    Row(1).timeText = "7.00";
    Row(1).timeSlot = 28;
    Select(3, kColumnTime);
    CommitGridCell(state, prompts, "12:30", CommitKey::Enter);
    EXPECT_EQ(Row(1).timeText, "7.00");
    EXPECT_EQ(Row(2).timeSlot, kNoTimeSlot);
    for (int r : {3, 5, 6, kLastRow}) {
        EXPECT_EQ(Row(r).timeText, "12:30") << r;
        EXPECT_EQ(Row(r).timeSlot, 50) << r;
    }
    EXPECT_FLOAT_EQ(state.totals->timeSlotTotals[50][kKj], 30.0f);

    Select(4, kColumnTime);
    CommitGridCell(state, prompts, "sent på kvällen", CommitKey::Enter);
    EXPECT_EQ(Row(4).timeText, "sent ");
    EXPECT_EQ(Row(kLastRow).timeSlot, kNoTimeSlot);
    EXPECT_EQ(Row(3).timeSlot, 50);
}

TEST_F(GridEditTest, NameAndUnitColumnsCannotBeEdited)
{
    Put(1, Food("1", 100.0f, 50.0f));
    for (int column : {kColumnName, kColumnUnit}) {
        Select(1, column);
        CommitGridCell(state, prompts, "200", CommitKey::Arrow);
    }
    EXPECT_EQ(prompts.messages, (std::vector<std::string>(2, "Du kan inte ändra i denna kolumn")));
    EXPECT_FLOAT_EQ(Row(1).grams, 100.0f);
    EXPECT_EQ(Row(1).name, "Mat 1");
    EXPECT_FALSE(state.CalculationDirty);
}

TEST_F(GridEditTest, AnUnchangedCellCommitsNothing)
{
    // 37 g of a 120 g portion shows 0,3; passing through the cell must not make it 36 g.
    Put(1, Food("1", 37.0f, 120.0f));
    Put(2, Food("1", 12.4f, 10.0f));
    Row(2).timeText = "8.00";
    Put(3, Food("1", 10.0f, 10.0f));
    Row(3).timeText = "9.00";
    Select(1, kColumnAmount);
    CommitGridCell(state, prompts, "0,3", CommitKey::Arrow);
    Select(2, kColumnGrams);
    CommitGridCell(state, prompts, "12", CommitKey::Enter);
    Select(2, kColumnTime);
    CommitGridCell(state, prompts, "8.00", CommitKey::Arrow);
    EXPECT_FLOAT_EQ(Row(1).grams, 37.0f);
    EXPECT_FLOAT_EQ(Row(2).grams, 12.4f);
    EXPECT_EQ(Row(3).timeText, "9.00");
    EXPECT_FALSE(state.CalculationDirty);
}

TEST_F(GridEditTest, EnterTakesASnapshotAndMovesToTheTimeColumnArrowsDoNeither)
{
    Put(1, Food("1", 100.0f, 50.0f));
    Select(1, kColumnGrams);
    CommitGridCell(state, prompts, "200", CommitKey::Enter);
    EXPECT_EQ(state.grid.CurrentColumn, kColumnTime);
    Select(1, kColumnGrams);
    CommitGridCell(state, prompts, "300", CommitKey::Arrow);
    EXPECT_EQ(state.grid.CurrentColumn, kColumnGrams);
    Undo(state);
    EXPECT_FLOAT_EQ(Row(1).grams, 100.0f);  // the snapshot from before the Enter
    EXPECT_FLOAT_EQ(MealKj(), 100.0f);
}

TEST_F(GridEditTest, PlusAndMinusStepATenthOfThePortion)
{
    struct Case {
        float unitWeight, grams;
        float afterPlus, afterMinus;
    };
    const Case cases[] = {
        {120.0f, 120.0f, 132.0f, 120.0f},
        {0.0f, 50.0f, 60.0f, 50.0f},   // no portion: steps of 10 g
        {0.4f, 50.0f, 60.0f, 50.0f},
        {0.5f, 50.0f, 50.05f, 50.0f},
    };
    for (const Case& c : cases) {
        Put(1, Food("1", c.grams, c.unitWeight));
        Select(1, kColumnGrams);
        IncreaseGrams(state, prompts);
        EXPECT_FLOAT_EQ(Row(1).grams, c.afterPlus) << c.unitWeight;
        DecreaseGrams(state, prompts);
        EXPECT_NEAR(Row(1).grams, c.afterMinus, 1e-4) << c.unitWeight;
        EXPECT_NEAR(MealKj(), c.afterMinus, 1e-4) << c.unitWeight;
    }
    EXPECT_TRUE(prompts.questions.empty());
    EXPECT_TRUE(state.CalculationDirty);
}

TEST_F(GridEditTest, MinusOnTheLastStepAsksToDeleteTheRow)
{
    Put(1, Food("1", 10.0f, 120.0f));
    Put(2, Food("2", 30.0f, 120.0f));
    Select(1, kColumnGrams);
    prompts.answers = {Answer::No, Answer::Yes};
    DecreaseGrams(state, prompts);
    EXPECT_EQ(Row(1).code, "1");
    EXPECT_FLOAT_EQ(Row(1).grams, 10.0f);
    DecreaseGrams(state, prompts);
    EXPECT_EQ(prompts.questions, (std::vector<std::string>(2, "Vill du ta bort denna rad?")));
    EXPECT_EQ(Row(1).code, "2");
    EXPECT_FLOAT_EQ(MealKj(), 30.0f);

    // An empty row has nothing to step or delete.
    Select(5, kColumnGrams);
    IncreaseGrams(state, prompts);
    DecreaseGrams(state, prompts);
    EXPECT_FLOAT_EQ(Row(5).grams, 0.0f);
    EXPECT_EQ(prompts.questions.size(), 2u);
}

TEST_F(GridEditTest, DeletingARowMovesTheRowsBelowUp)
{
    for (int r = 1; r <= 4; ++r) Put(r, Food(std::to_string(r), 10.0f * r, 10.0f));
    Put(kLastRow, Food("last", 5.0f, 10.0f));
    Select(2, kColumnName);
    DeleteGridRow(state);
    EXPECT_EQ(Row(1).code, "1");
    EXPECT_EQ(Row(2).code, "3");
    EXPECT_EQ(Row(3).code, "4");
    EXPECT_TRUE(Row(4).IsEmpty());
    EXPECT_EQ(Row(kLastRow - 1).code, "last");
    EXPECT_TRUE(Row(kLastRow).IsEmpty());
    EXPECT_FLOAT_EQ(MealKj(), 10.0f + 30.0f + 40.0f + 5.0f);
    EXPECT_TRUE(state.CalculationDirty);
    Undo(state);
    EXPECT_EQ(Row(2).code, "2");
}

TEST_F(GridEditTest, UndoExchangesWorkspaceAndSnapshot)
{
    Put(1, Food("1", 100.0f, 50.0f));
    // Before any snapshot the workspace changes places with an empty one, and back.
    Undo(state);
    EXPECT_TRUE(Row(1).IsEmpty());
    EXPECT_FLOAT_EQ(MealKj(), 0.0f);
    Undo(state);
    EXPECT_EQ(Row(1).code, "1");

    Select(1, kColumnGrams);
    CommitGridCell(state, prompts, "250", CommitKey::Enter);
    Undo(state);
    EXPECT_FLOAT_EQ(Row(1).grams, 100.0f);
    Undo(state);
    EXPECT_FLOAT_EQ(Row(1).grams, 250.0f);
    EXPECT_FLOAT_EQ(MealKj(), 250.0f);
}

TEST(UnitListLines, DerivesSpoonsAndDecilitres)
{
    struct Case {
        const char* unit;
        float weight;
        bool danish;
        std::vector<std::string> derived;
    };
    const std::vector<Case> cases = {
        {"dl", 60.0f, false, {"60  g/dl", "9   g/msk", "3   g/tsk"}},
        {"dl", 60.0f, true, {"60  g/dl", "9   g/spsk", "3   g/tsk"}},
        {"msk", 15.0f, false, {"15  g/msk", "99  g/dl", "5   g/tsk"}},
        {"ssk", 15.0f, false, {"15  g/ssk", "99  g/dl", "5   g/tsk"}},
        {"spsk", 15.0f, true, {"15  g/spsk", "99  g/dl", "5   g/tsk"}},
        {"tsk", 5.0f, false, {"5   g/tsk", "100 g/dl", "15  g/msk"}},
        {"tsk", 5.0f, true, {"5   g/tsk", "100 g/dl", "15  g/spsk"}},
        {"skiva", 1200.4f, false, {"1200 g/skiva"}},
        {"DL", 60.0f, false, {"60  g/DL"}},
    };
    for (const Case& c : cases) {
        MealRow row = Food("1", 100.0f, 100.0f);
        row.name = "Havregryn";
        row.extraUnits[1] = {c.unit, c.weight};
        std::vector<std::string> expected{"Havregryn"};
        expected.insert(expected.end(), c.derived.begin(), c.derived.end());
        expected.push_back("Vikt avser ätlig del");
        EXPECT_EQ(UnitListLines(row, c.danish), expected) << c.unit << " " << c.danish;
    }

    MealRow row = Food("1", 100.0f, 100.0f);
    row.name = "Banan";
    row.extraUnits[0] = {"st", 125.0f};
    row.extraUnits[2] = {"ingen vikt", 0.001f};
    row.wastePercent = 35.4f;
    row.note = "mogen";
    EXPECT_EQ(UnitListLines(row, false), (std::vector<std::string>{"Banan", "125 g/st", "35  % avfall", "mogen",
                                                                 "Vikt avser ätlig del"}));
}

TEST_F(GridEditTest, ChoosingAUnitGivesTheRowOneOfIt)
{
    MealRow milk = Food("1", 300.0f, 100.0f, "dl");
    milk.name = "Mjölk";
    milk.extraUnits[0] = {"dl", 60.0f};
    milk.wastePercent = 10.0f;
    Put(1, milk);
    SelectGridCell(state, 1, kColumnName);
    const std::vector<std::string> lines = UnitListLines(state, 1);
    ASSERT_EQ(lines.size(), 6u);

    EXPECT_EQ(ChooseUnit(state, 0, lines[0]), UnitChoice::HideList);
    EXPECT_EQ(ChooseUnit(state, -1, ""), UnitChoice::HideList);
    EXPECT_EQ(ChooseUnit(state, 4, lines[4]), UnitChoice::KeepList);  // waste
    EXPECT_EQ(ChooseUnit(state, 5, lines[5]), UnitChoice::KeepList);  // edible part
    EXPECT_EQ(Row(1).unit, "dl");
    EXPECT_FALSE(state.CalculationDirty);

    EXPECT_EQ(ChooseUnit(state, 2, lines[2]), UnitChoice::UnitChosen);
    EXPECT_EQ(Row(1).unit, "msk");
    EXPECT_FLOAT_EQ(Row(1).unitWeight, 9.0f);
    EXPECT_FLOAT_EQ(Row(1).grams, 9.0f);
    EXPECT_FLOAT_EQ(MealKj(), 9.0f);
    EXPECT_EQ(state.grid.CurrentColumn, kColumnAmount);
    EXPECT_TRUE(state.CalculationDirty);

    EXPECT_TRUE(UnitListLines(state, 2).empty());
}

TEST_F(GridEditTest, PastingAMealAppendsAfterItsFoods)
{
    prompts.messages.clear();
    PasteMeal(state, prompts);
    for (int r = 1; r <= 5; ++r) Put(r, Food("k" + std::to_string(r), 10.0f, 10.0f), 0, 1);
    for (int r = 1; r <= 3; ++r) Put(r, Food("m" + std::to_string(r), 1.0f, 10.0f), 2, 0);
    state.CurrentMeal = 1;
    CopyMeal(state, prompts);
    Row(1, 0, 1).code = "changed after the copy";
    EXPECT_EQ(prompts.messages, (std::vector<std::string>{"Ingen måltid finns att kopiera",
                                                          "Måltiden är nu lagrad och kan klistras in i en annan måltid."}));

    state.CurrentDay = 2;
    state.CurrentMeal = 0;
    PasteMeal(state, prompts);
    EXPECT_EQ(Row(3, 2, 0).code, "m3");
    for (int r = 4; r <= 8; ++r) EXPECT_EQ(Row(r, 2, 0).code, "k" + std::to_string(r - 3)) << r;
    EXPECT_TRUE(Row(9, 2, 0).IsEmpty());
    EXPECT_FLOAT_EQ(MealKj(2, 0), 53.0f);
    EXPECT_TRUE(state.CalculationDirty);
    Undo(state);
    EXPECT_TRUE(Row(4, 2, 0).IsEmpty());
}

TEST_F(GridEditTest, PastingAMealKeepsFoodsBelowAGapAndStopsAtTheLastRow)
{
    Put(1, Food("a", 10.0f, 10.0f), 0, 1);
    state.CurrentMeal = 1;
    CopyMeal(state, prompts);
    state.CurrentMeal = 0;
    Put(1, Food("x", 10.0f, 10.0f));
    Put(3, Food("y", 10.0f, 10.0f));  // row 2 is empty
    PasteMeal(state, prompts);
    EXPECT_EQ(Row(2).code, "a");
    EXPECT_EQ(Row(3).code, "y");

    for (int r = 1; r <= kLastRow; ++r) Put(r, Food("full", 1.0f, 1.0f), 0, 2);
    state.CurrentMeal = 2;
    PasteMeal(state, prompts);
    EXPECT_EQ(Row(kLastRow, 0, 2).code, "a");
    EXPECT_EQ(Row(kLastRow - 1, 0, 2).code, "full");
}

TEST_F(GridEditTest, PastingADayAsksAndReplacesAllNineMeals)
{
    PasteDay(state, prompts);
    EXPECT_EQ(prompts.messages.back(), "Ingen dag finns att klistra in");

    Put(1, Food("b", 10.0f, 10.0f), 0, 0);
    Put(2, Food("s", 20.0f, 10.0f), 0, 8);
    CopyDay(state, prompts);
    EXPECT_EQ(prompts.messages.back(), "Dagen är nu lagrad och kan klistras in i en annan dag.");
    Put(1, Food("old", 5.0f, 10.0f), 6, 2);
    state.CurrentDay = 6;
    prompts.answers = {Answer::No, Answer::Yes};
    PasteDay(state, prompts);
    EXPECT_EQ(Row(1, 6, 2).code, "old");
    EXPECT_FALSE(state.CalculationDirty);
    PasteDay(state, prompts);
    EXPECT_EQ(prompts.questions,
              (std::vector<std::string>(2, "Hela dag 7 kommer nu att ersättas, är det ok?")));
    EXPECT_EQ(Row(1, 6, 0).code, "b");
    EXPECT_EQ(Row(2, 6, 8).code, "s");
    EXPECT_TRUE(Row(1, 6, 2).IsEmpty());
    EXPECT_FLOAT_EQ(state.totals->dayTotals[6][kKj], 30.0f);
    EXPECT_TRUE(state.CalculationDirty);
}

TEST_F(GridEditTest, MealAndDayChoiceWithTheDayBoxAndButtonTexts)
{
    int changes = 0;
    state.grid.dayChanged = [&](int from, int to) {
        EXPECT_EQ(from, 0);
        EXPECT_EQ(to, 2);
        ++changes;
    };
    Put(1, Food("1", 100.0f, 10.0f), 2, 4);
    ChooseDay(state, 2);
    ChooseDay(state, 21);
    ChooseDay(state, -1);
    EXPECT_EQ(state.CurrentDay, 2);
    EXPECT_EQ(changes, 1);
    auto days = DayBoxTexts(state);
    EXPECT_EQ(days[0], "dag1");
    EXPECT_EQ(days[2], "DAG3");
    EXPECT_EQ(days[20], "dag21");
    EXPECT_TRUE(MealButtonBold(state, 4));
    EXPECT_FALSE(MealButtonBold(state, 0));

    ChooseMeal(state, 4);
    EXPECT_EQ(state.CurrentMeal, 4);
    EXPECT_EQ(state.currentMealName, state.MealName(4));
    EXPECT_FLOAT_EQ(state.totals->timeSlotTotals[kNoTimeSlot][kKj], 100.0f);
    EXPECT_TRUE(IsCurrentMealButton(state, 3));  // the snack button stands for every snack
    EXPECT_TRUE(IsCurrentMealButton(state, 4));
    EXPECT_FALSE(IsCurrentMealButton(state, 0));
    ChooseMeal(state, 9);
    EXPECT_EQ(state.CurrentMeal, 4);

    EXPECT_EQ(FirstMealButtonCaption(state), "Frukost");
    state.calculation.wholeDay = true;
    ChooseMeal(state, 2);
    EXPECT_EQ(state.CurrentMeal, 0);
    EXPECT_EQ(FirstMealButtonCaption(state), "Hela dagen");
}

// Foods from a table: adding and replacing look them up.
class GridTableTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        data.Table("nalvex100", "Kod\tLivsmedel\tPortionsstorlek\tEnhet\tEnergi _kJ_ _kJ_\tenhet1\tport1\n"
                                "10\tApelsin\t150\tst\t200\tklyfta\t15\n"
                                "11\tÄpple\t120\tst\t250\t\t\n"
                                "12\tBröd\t40\tskiva\t1000\t\t\n");
        state = data.Start();
    }
    static FoodListEntry Entry(const std::string& name, const std::string& code)
    {
        return {name + " (display)", name + "{" + code + "}100@st"};
    }
    MealRow& Row(int day, int meal, int r) { return state->calculation.Row(day, meal, r); }

    FixtureData data;
    std::unique_ptr<ProgramState> state;
    ScriptedPrompts prompts;
};

TEST_F(GridTableTest, UndoTwiceAfterAddingAFoodKeepsTheFood)
{
    AddFood(*state, prompts, Entry("Apelsin", "10"));
    Undo(*state);
    EXPECT_TRUE(Row(0, 0, 1).IsEmpty());
    Undo(*state);
    EXPECT_EQ(Row(0, 0, 1).name, "Apelsin");
    EXPECT_FLOAT_EQ(state->totals->dayTotals[0][kKj], 300.0f);
}

TEST_F(GridTableTest, ReplaceEverywhereChangesEveryDayAndKeepsGrams)
{
    AddFood(*state, prompts, Entry("Apelsin", "10"));
    AddFood(*state, prompts, Entry("Bröd", "12"));
    state->CurrentDay = 4;
    state->CurrentMeal = 2;
    AddFood(*state, prompts, Entry("Apelsin", "10"));
    Row(4, 2, 1).grams = 75.0f;
    Row(4, 2, 1).timeText = "12.00";
    state->calculation.fileText = "/home/anna/vecka.diet";
    state->recentCalculationFiles = {"/home/anna/vecka.diet"};
    state->infoText = {"Vecka 3"};
    state->CalculationDirty = false;
    SelectGridCell(*state, 1, kColumnName);

    prompts.answers = {Answer::Yes, Answer::Yes};
    ReplaceEverywhere(*state, prompts, Entry("Äpple", "11"));

    EXPECT_EQ(prompts.questions,
              (std::vector<std::string>{
                  "In a meal, mark the fooditem you want to change, i.e. Orange. Find the fooditem that is to replace "
                  "orange, i.e. apple and mark it. Done this?",
                  "Want to change all \"Apelsin\"   to   \"Äpple (display)\""}));
    for (auto [day, meal, grams] : {std::tuple{0, 0, 150.0f}, std::tuple{4, 2, 75.0f}}) {
        const MealRow& row = Row(day, meal, 1);
        EXPECT_EQ(row.code, "11") << day;
        EXPECT_EQ(row.name, "Äpple") << day;
        EXPECT_FLOAT_EQ(row.grams, grams) << day;
        EXPECT_FLOAT_EQ(row.nutrients[kKj], 250.0f) << day;
    }
    EXPECT_EQ(Row(4, 2, 1).timeText, "12.00");
    EXPECT_EQ(Row(0, 0, 2).name, "Bröd");
    EXPECT_FLOAT_EQ(state->totals->dayTotals[4][kKj], 187.5f);
    EXPECT_TRUE(std::filesystem::exists(state->dataFolder / "bytalla.diet"));

    // The round trip through the file is invisible: same place, same file name, same info text.
    EXPECT_EQ(state->CurrentDay, 4);
    EXPECT_EQ(state->CurrentMeal, 2);
    EXPECT_EQ(state->calculation.fileText, "/home/anna/vecka.diet");
    EXPECT_EQ(state->recentCalculationFiles, (std::vector<std::filesystem::path>{"/home/anna/vecka.diet"}));
    EXPECT_EQ(state->infoText, (std::vector<std::string>{"Vecka 3"}));
    EXPECT_FALSE(state->presetFileName);
    EXPECT_TRUE(state->CalculationDirty);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(GridTableTest, ReplaceEverywhereNeedsARowAndAFoodAndTwoYes)
{
    const std::string markBoth = "Markera både vilken rad som ska bytas och vilket livsmedel som ska ersätta raden "
                                 "innan du klickar på \"Byt alla\"";
    SelectGridCell(*state, 1, kColumnName);
    ReplaceEverywhere(*state, prompts, Entry("Äpple", "11"));
    AddFood(*state, prompts, Entry("Apelsin", "10"));
    ReplaceEverywhere(*state, prompts, std::nullopt);
    EXPECT_EQ(prompts.messages, (std::vector<std::string>{markBoth, markBoth}));

    prompts.answers = {Answer::No, Answer::Yes, Answer::No};
    ReplaceEverywhere(*state, prompts, Entry("Äpple", "11"));
    ReplaceEverywhere(*state, prompts, Entry("Äpple", "11"));
    EXPECT_EQ(prompts.questions.size(), 3u);
    EXPECT_EQ(Row(0, 0, 1).code, "10");
    EXPECT_FALSE(std::filesystem::exists(state->dataFolder / "bytalla.diet"));
}

}  // namespace
}  // namespace velmora
