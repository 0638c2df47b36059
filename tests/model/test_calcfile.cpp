#include <gtest/gtest.h>

#include "core/calcfile.h"
#include "core/workspace_ops.h"
#include "fixture.h"
#include "platform/textfile.h"
#include "scriptedprompts.h"

namespace velmora {
namespace {

using testing::FixtureData;
using testing::ReadFile;
using testing::ScriptedPrompts;

// Calculation files are Windows-1252 on disk.
void WriteFile(const std::filesystem::path& path, const std::string& utf8)
{
    testing::WriteFile(path, EncodeWindows1252(utf8));
}

constexpr std::size_t I(int slot) { return static_cast<std::size_t>(SlotIndex(slot)); }

std::vector<std::string> Lines(const std::string& bytes)
{
    std::vector<std::string> lines;
    SplitTextLines(bytes, lines, {});
    return lines;
}

class CalcFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetTodayForTesting([] { return std::string("2026-12-11"); });
        data.Table("nalvex100",
                   "Kod\tLivsmedel\tPortionsstorlek\tEnhet\tGrossartnr\tkgpris\tEnergi _kJ_ _kJ_\tProtein _g_\t"
                   "Askorbinsyra _mg_\tenhet1\tport1\n"
                   "1\tBanan\t120\tst\t\t20\t380\t1.2\t\tdl\t150\n"
                   "2\tMjölk\t100\tdl\tART77\t\t270\t3.4\t1\t\t\n");
        data.Table("fabrikant", "Kod\tLivsmedel\tPortionsstorlek\tEnhet\tkj\tenhet1\tport1\n"
                                "F1\tProteinpulver\t30\tskopa\t1600\tmsk\t10\n");
        data.Table("nalvex2005", "Kod\tLivsmedel\tPortionsstorlek\tEnhet\tEnergi _kJ_ _kJ_\n900\tGammal gröt\t250\tport\t300\n");
        state = data.Start();
        file = data.Work() / "calc.diet";
    }
    void TearDown() override { SetTodayForTesting(nullptr); }

    void Add(const std::string& name, const std::string& code)
    {
        AddFood(*state, prompts, FoodListEntry{name, name + "{" + code + "}1@st"});
    }
    bool Save()
    {
        state->presetFileName = file;
        bool saved = SaveCalculation(*state, prompts);
        state->presetFileName.reset();
        return saved;
    }
    void Load(const std::filesystem::path& path)
    {
        state->presetFileName = path;
        LoadCalculation(*state, prompts);
    }
    MealRow& Row(int d, int m, int r) { return state->calculation.Row(d, m, r); }

    FixtureData data;
    std::unique_ptr<ProgramState> state;
    ScriptedPrompts prompts;
    std::filesystem::path file;
};

TEST_F(CalcFileTest, OneFoodSavesAsHeaderTwoLinesAndMealEnds)
{
    Add("Banan", "1");
    Row(0, 0, 1).grams = 125.0f;
    Row(0, 0, 1).timeText = "12.30";
    Row(0, 0, 1).timeSlot = 50;
    ASSERT_TRUE(Save());
    EXPECT_FALSE(state->CalculationDirty);

    const std::string bytes = ReadFile(file);
    std::vector<std::string> lines = Lines(bytes);
    ASSERT_EQ(lines.size(), 12u + 2u + 189u);
    EXPECT_EQ(bytes.substr(0, 5), "199\r\n");
    EXPECT_EQ(lines[1], "2026-12-11");
    EXPECT_EQ(lines[2], "flera maltider");
    EXPECT_EQ(lines[11], "reserv");
    EXPECT_EQ(lines[12], "1");
    EXPECT_EQ(lines[13], "125.0/120@st&12.30");
    EXPECT_EQ(lines[14], "*0/0");
    EXPECT_EQ(lines.back(), "*20/8");
    EXPECT_EQ(state->recentCalculationFiles.front(), file);

    NewCalculation(*state, prompts);
    Load(file);
    EXPECT_TRUE(prompts.messages.empty()) << prompts.messages.front();
    EXPECT_EQ(Row(0, 0, 1).code, "1");
    EXPECT_FLOAT_EQ(Row(0, 0, 1).grams, 125.0f);
    EXPECT_EQ(Row(0, 0, 1).timeText, "12.30");
    EXPECT_EQ(Row(0, 0, 1).timeSlot, 50);
    EXPECT_EQ(Row(0, 0, 1).extraUnits[0].name, "dl");
    EXPECT_FLOAT_EQ(Row(0, 0, 1).pricePerKg, 20.0f);
    EXPECT_TRUE(Row(0, 0, 2).IsEmpty());
    EXPECT_FLOAT_EQ(state->totals->mealTotals[0][0][I(slot::kJ)], 475.0f);
    EXPECT_EQ(state->calculation.fileText, file.string() + "   2026-12-11");
    EXPECT_FALSE(state->CalculationDirty);
}

TEST_F(CalcFileTest, RowKindsLoadByTheirRules)
{
    WriteFile(file, "199\r\n2026-01-01\r\nheldagsberakning\r\n" + std::string() +
                        "reserv\r\nreserv\r\nreserv\r\nreserv\r\nreserv\r\nreserv\r\nreserv\r\nreserv\r\nreserv\r\n"
                        "Lunch med gäster:\r\n0.0/0@\r\n"
                        "ART77\r\n200.0/200@glas&8.15\r\n"
                        "F1\r\n45.0/100@port\r\n"
                        "900\r\n250.0\r\n"
                        "missing\r\n10.0/1@g\r\n"
                        "2\r\n50.0/@\r\n"
                        "*0/0\r\n*0/1\r\n"
                        "1\r\n60.0/120@st\r\n");
    Load(file);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_TRUE(state->calculation.wholeDay);
    EXPECT_TRUE(Row(0, 0, 1).IsTextRow());
    EXPECT_EQ(Row(0, 0, 1).name, "Lunch med gäster:");
    EXPECT_EQ(Row(0, 0, 2).code, "2");  // the article number's food
    EXPECT_EQ(Row(0, 0, 2).unit, "glas");
    EXPECT_FLOAT_EQ(Row(0, 0, 2).unitWeight, 200.0f);
    EXPECT_EQ(Row(0, 0, 2).timeSlot, 33);
    EXPECT_EQ(Row(0, 0, 3).unit, "skopa");  // a manufacturer's food keeps the table's unit
    EXPECT_FLOAT_EQ(Row(0, 0, 3).unitWeight, 30.0f);
    EXPECT_FLOAT_EQ(Row(0, 0, 3).grams, 45.0f);
    EXPECT_EQ(Row(0, 0, 3).extraUnits[0].name, "");
    EXPECT_EQ(Row(0, 0, 4).name, "Gammal gröt");
    EXPECT_FLOAT_EQ(Row(0, 0, 4).grams, 250.0f);
    EXPECT_TRUE(Row(0, 0, 5).IsEmpty());  // unknown code: silently empty, the counter goes on
    EXPECT_EQ(Row(0, 0, 6).unit, "dl");   // empty unit text: the table's
    EXPECT_FLOAT_EQ(Row(0, 0, 6).unitWeight, 100.0f);
    EXPECT_FLOAT_EQ(Row(0, 0, 6).nutrients[I(slot::vitaminC)], 1.0f);
    EXPECT_EQ(Row(0, 2, 1).code, "1");  // meals are counted, not read
    EXPECT_FLOAT_EQ(Row(0, 2, 1).nutrients[I(slot::vitaminC)], kMissingValue);
    EXPECT_EQ(state->mainCaption.find(file.string() + "   "), 0u);

    ASSERT_TRUE(Save());
    std::vector<std::string> lines = Lines(ReadFile(file));
    EXPECT_EQ(lines[2], "heldagsberakning");
    EXPECT_EQ(lines[12], "Lunch med gäster:");
    EXPECT_EQ(lines[13], "0.0/0@");
}

TEST_F(CalcFileTest, OverfullMealsAreCutAndNothingSpills)
{
    std::string text = "199\r\nd\r\nflera maltider\r\n";
    for (int i = 0; i < 9; ++i) text += "reserv\r\n";
    for (int i = 0; i < 250; ++i) text += "1\r\n1.0/120@st\r\n";
    text += "*0/0\r\n2\r\n3.0/100@dl\r\n*0/1\r\n";
    // Meal ends past the last day, and food lines after them, are dropped.
    for (int i = 0; i < 200; ++i) text += "*x\r\n1\r\n1.0/1@st\r\n";
    WriteFile(file, text);
    Load(file);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(Row(0, 0, kLastRow).code, "1");
    EXPECT_EQ(Row(0, 1, 1).code, "2");
    EXPECT_TRUE(Row(0, 1, 2).IsEmpty());
    EXPECT_EQ(Row(20, 8, 1).code, "1");
}

TEST_F(CalcFileTest, TruncatedOrUnreadableFilesKeepWhatWasRead)
{
    struct Case {
        std::string bytes;
        int rowsRead;
    };
    const std::string header = "199\r\nd\r\nflera maltider\r\nreserv\r\nreserv\r\nreserv\r\nreserv\r\nreserv\r\nreserv\r\n"
                               "reserv\r\nreserv\r\nreserv\r\n";
    const Case cases[] = {
        {header + "1\r\n10.0/120@st\r\n2\r\n", 1},   // a code line without its amount line
        {"199\r\nd\r\n", 0},                         // cut in the header
        {header + "1\r\n10.0/120@st\r\n" + std::string(80000, 'x') + "\r\n1\r\n", 1},  // overlong line
    };
    for (const auto& c : cases) {
        prompts.messages.clear();
        WriteFile(file, c.bytes);
        Load(file);
        EXPECT_EQ(prompts.messages, std::vector<std::string>{"Kan ej öppna beräkningen"});
        EXPECT_EQ(Row(0, 0, 1).IsUsed(), c.rowsRead >= 1);
        EXPECT_FALSE(state->CalculationDirty);
    }
    prompts.messages.clear();
    Load(data.Work() / "does-not-exist.diet");
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"Kan ej öppna beräkningen"});
}

// The first line is a food code here, so the file is told by its fixed length.
TEST_F(CalcFileTest, OldFormatFillsThirtyRowsPerMeal)
{
    std::string text;
    for (int d = 0; d < kDays; ++d) {
        for (int m = 0; m < kMeals; ++m) {
            for (int r = 1; r <= 30; ++r) {
                if (d == 0 && m == 1 && r == 1) text += "1\r\n150\r\n";
                else if (d == 2 && m == 0 && r == 2) text += "nope\r\n10\r\n";
                else if (d == 0 && m == 0 && r == 1) text += "2\r\n200,5\r\n";
                else text += "0\r\n0\r\n";
            }
        }
    }
    WriteFile(file, text);
    Load(file);
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"dag=3 maltid=1 rad=2 Livsmedel med nr nope finns ej."});
    EXPECT_EQ(Row(0, 1, 1).code, "1");
    EXPECT_FLOAT_EQ(Row(0, 1, 1).grams, 150.0f);
    EXPECT_FLOAT_EQ(Row(0, 0, 1).grams, 200.5f);
    // The old format reads an empty field as 0, not as missing.
    EXPECT_FLOAT_EQ(Row(0, 1, 1).nutrients[I(slot::vitaminC)], 0.0f);
    EXPECT_EQ(Row(0, 1, 1).timeSlot, 96);
    EXPECT_EQ(state->totals->mealMissing[0][1][I(slot::vitaminC)], 0);
}

TEST_F(CalcFileTest, DiabetesLinesSurviveLoadAndSave)
{
    Add("Banan", "1");
    state->diabetes.glucose.days[0][0] = {"7.30", "5,4"};
    state->diabetes.glucose.days[0][1] = {"12.00", "8.1"};
    state->diabetes.glucose.days[20][0] = {"22.00", "6"};
    state->diabetes.insulin.days[3][0] = {"7.30", "4"};
    state->diabetes.mealRatios[0] = "12";
    state->diabetes.mealRatios[9] = "10";
    state->diabetes.hourlyFactors[23] = "15";
    ASSERT_TRUE(Save());
    const std::string saved = ReadFile(file);
    EXPECT_NE(saved.find("*glukos/0/7.30/5,4/\r\n*glukos/0/12.00/8.1/\r\n*glukos/20/22.00/6/\r\n*insulin/3/7.30/4/\r\n"
                         "*kolhydratkvotmaltid/1/12/\r\n*kolhydratkvotmaltid/10/10/\r\n*kolhkvot/24/15/\r\n"),
              std::string::npos);

    state->diabetes = {};
    Load(file);
    EXPECT_EQ(state->diabetes.glucose.days[0][1].value, "8.1");
    EXPECT_EQ(state->diabetes.glucose.days[20][0].time, "22.00");
    EXPECT_EQ(state->diabetes.insulin.days[3][0].value, "4");
    EXPECT_EQ(state->diabetes.mealRatios[9], "10");
    EXPECT_EQ(state->diabetes.hourlyFactors[23], "15");
    EXPECT_EQ(Row(0, 0, 1).code, "1");
    ASSERT_TRUE(Save());
    EXPECT_EQ(ReadFile(file), saved);
}

TEST_F(CalcFileTest, NormAndCompanionsTravelWithTheCalculation)
{
    Add("Banan", "1");
    state->norm.kind = "egennorm";
    state->norm.text = "Norm: Kvinna  50 år 2180 kcal/dag";
    state->norm.activeNorm[I(slot::kcal)] = 2180.0f;
    state->norm.own.cells[0] = "2180";
    state->norm.own.draft[5] = "73.96";
    state->calculation.dayNames[0] = "Måndag";
    state->calculation.dayNamesEdited = true;
    state->infoText = {"Patient A", "vecka 1"};
    ASSERT_TRUE(Save());
    const auto norm = Lines(ReadFile(CompanionPath(file, ".norm")));
    ASSERT_EQ(norm.size(), 84u);
    EXPECT_EQ(norm[10], "egennorm");
    EXPECT_EQ(norm[13], "2180.000");
    EXPECT_EQ(Lines(ReadFile(CompanionPath(file, ".enorm"))).size(), 103u);
    EXPECT_EQ(Lines(ReadFile(CompanionPath(file, ".dnamn"))).front(), "Måndag");

    auto fresh = data.Start();
    fresh->presetFileName = file;
    LoadCalculation(*fresh, prompts);
    EXPECT_EQ(fresh->norm.kind, "egennorm");
    EXPECT_EQ(fresh->norm.text, "Norm: Kvinna  50 år 2180 kcal/dag");
    EXPECT_FLOAT_EQ(fresh->norm.activeNorm[I(slot::kcal)], 2180.0f);
    EXPECT_EQ(fresh->norm.currentRow.name, fresh->norm.text);
    EXPECT_EQ(fresh->norm.own.draft[5], "73.96");
    EXPECT_EQ(fresh->calculation.dayNames[0], "Måndag");
    EXPECT_EQ(fresh->infoText, state->infoText);
}

TEST_F(CalcFileTest, AFailedSaveKeepsTheOldFilesAndTheDirtyFlag)
{
    Add("Banan", "1");
    ASSERT_TRUE(Save());
    const std::string before = ReadFile(file);
    const std::string normBefore = ReadFile(CompanionPath(file, ".norm"));
    Add("Mjölk", "2");
    state->norm.text = "changed";
    SetSaveFailureAfterBytesForTesting(10);
    EXPECT_FALSE(Save());
    SetSaveFailureAfterBytesForTesting(-1);
    EXPECT_EQ(prompts.messages.back(), "Kan ej spara beräkningen");
    EXPECT_TRUE(state->CalculationDirty);
    EXPECT_EQ(ReadFile(file), before);
    EXPECT_EQ(ReadFile(CompanionPath(file, ".norm")), normBefore);
}

TEST_F(CalcFileTest, CancelledDialogsChangeNothing)
{
    prompts.files.push_back(std::nullopt);
    EXPECT_FALSE(SaveCalculation(*state, prompts));
    EXPECT_EQ(prompts.dialogTitles.back(), "Save registration");

    Add("Banan", "1");
    prompts.answers.push_back(Answer::Cancel);
    LoadCalculation(*state, prompts);
    EXPECT_EQ(Row(0, 0, 1).code, "1");
    EXPECT_TRUE(state->CalculationDirty);

    prompts.answers.push_back(Answer::No);
    prompts.files.push_back(std::nullopt);
    LoadCalculation(*state, prompts);
    EXPECT_EQ(prompts.dialogTitles.back(), "Open registration");
    EXPECT_TRUE(Row(0, 0, 1).IsEmpty());  // loading starts from an empty calculation
}

TEST_F(CalcFileTest, SaveForcesTheExtensionAndKeepsUnitWeightDecimals)
{
    Add("Banan", "1");
    Row(0, 0, 1).unitWeight = 12.5f;
    Row(0, 0, 1).grams = 25.0f;
    file = data.Work() / "week.txt";
    ASSERT_TRUE(Save());
    const auto diet = data.Work() / "week.diet";
    ASSERT_TRUE(std::filesystem::exists(diet));
    EXPECT_EQ(Lines(ReadFile(diet))[13], "25.0/12.5@st");
    Load(diet);
    EXPECT_FLOAT_EQ(Row(0, 0, 1).unitWeight, 12.5f);
}

}  // namespace
}  // namespace velmora
