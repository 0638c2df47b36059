#include <gtest/gtest.h>

#include <cstring>

#include "core/text.h"
#include "core/workspace_ops.h"
#include "fixture.h"
#include "scriptedprompts.h"

namespace velmora {
namespace {

using testing::FixtureData;
using testing::ScriptedPrompts;

TEST(MealRowImage, HasTheFixedLittleEndianLayout)
{
    MealRow row;
    row.code = "123";
    row.name = "Smör";
    row.unit = "msk";
    row.unitWeight = 12.5f;
    row.extraUnits[0] = {"tsk", 4.0f};
    row.extraUnits[3] = {"paket", 500.0f};
    row.grams = 25.0f;
    row.pricePerKg = 90.0f;
    row.wastePercent = 1.0f;
    row.note = "saltat";
    row.timeText = "12.30";
    row.timeSlot = 50;
    row.nutrients.fill(kMissingValue);
    row.nutrients[0] = 3000.0f;

    MealRowImage image = ToImage(row);
    auto floatAt = [&](std::size_t offset) {
        float v;
        std::memcpy(&v, image.data() + offset, 4);
        return v;
    };
    EXPECT_EQ(image[0], 3);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(image.data() + 1), 3), "123");
    EXPECT_EQ(image[82], 4);
    EXPECT_EQ(image[82 + 3], 0xF6);  // ö in Windows-1252
    EXPECT_EQ(image[163], 3);
    EXPECT_FLOAT_EQ(floatAt(180), 12.5f);
    EXPECT_EQ(image[184], 3);
    EXPECT_FLOAT_EQ(floatAt(204), 4.0f);
    EXPECT_EQ(image[256], 5);
    EXPECT_FLOAT_EQ(floatAt(276), 500.0f);
    EXPECT_FLOAT_EQ(floatAt(280), 25.0f);
    EXPECT_FLOAT_EQ(floatAt(284), 90.0f);
    EXPECT_FLOAT_EQ(floatAt(288), 1.0f);
    EXPECT_EQ(image[292], 6);
    EXPECT_EQ(image[313], 5);
    EXPECT_EQ(image[320], 50);
    EXPECT_EQ(image[321], 0);
    EXPECT_FLOAT_EQ(floatAt(324), 3000.0f);
    EXPECT_FLOAT_EQ(floatAt(324 + 4 * 71), kMissingValue);
    // 3000.0f little-endian.
    EXPECT_EQ(image[324], 0x00);
    EXPECT_EQ(image[327], 0x45);

    MealRow back = FromImage(image);
    EXPECT_EQ(back.code, row.code);
    EXPECT_EQ(back.name, row.name);
    EXPECT_EQ(back.extraUnits[3].name, "paket");
    EXPECT_EQ(back.timeText, "12.30");
    EXPECT_EQ(back.timeSlot, 50);
    EXPECT_EQ(back.nutrients, row.nutrients);
}

TEST(MealRowImage, UntrustedLengthsAndSlotsStayInBounds)
{
    MealRowImage image{};
    image.fill(0xFF);
    MealRow row = FromImage(image);
    EXPECT_EQ(CharacterCount(row.code), 81u);
    EXPECT_EQ(CharacterCount(row.timeText), 5u);
    EXPECT_EQ(row.timeSlot, 96);
}

class AddFoodTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        data.Table("nalvex100", "Kod\tLivsmedel\tPortionsstorlek\tEnhet\tEnergi _kJ_ _kJ_\n"
                                "1\tBanan\t120\tst\t380\n2\tMjölk\t100\tdl\t270\n3\tTablettost\t20\tTablett\t1500\n");
        data.Table("fabrikant", "Kod\tLivsmedel\tPortionsstorlek\tEnhet\n"
                                "F1\tVitamin C\t100\ttablett\nF2\tFiskolja\t100\tdagsdos\n");
        state = data.Start();
    }
    static FoodListEntry Entry(const std::string& name, const std::string& code)
    {
        return {name, name + "{" + code + "}100@st"};
    }
    MealRow& Row(int r) { return state->calculation.Row(0, 0, r); }

    FixtureData data;
    std::unique_ptr<ProgramState> state;
    ScriptedPrompts prompts;
};

TEST_F(AddFoodTest, FirstFoodFillsRowOneWithOneUnit)
{
    int hints = 0;
    state->showFirstFoodHint = [&] { ++hints; };
    AddFood(*state, prompts, Entry("Banan", "1"));
    EXPECT_EQ(Row(1).code, "1");
    EXPECT_EQ(Row(1).name, "Banan");
    EXPECT_FLOAT_EQ(Row(1).grams, 120.0f);
    EXPECT_EQ(Row(1).timeSlot, 96);
    EXPECT_TRUE(state->CalculationDirty);
    EXPECT_EQ(state->CurrentRow, 1);
    EXPECT_FLOAT_EQ(state->totals->mealTotals[0][0][0], 456.0f);
    AddFood(*state, prompts, Entry("Mjölk", "2"));
    EXPECT_EQ(hints, 1);
    EXPECT_EQ(state->picker.recentFoods.size(), 2u);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(AddFoodTest, InheritsTheTimeOfTheRowAbove)
{
    AddFood(*state, prompts, Entry("Banan", "1"));
    Row(1).timeText = "08.00";
    Row(1).timeSlot = 32;
    AddFood(*state, prompts, Entry("Mjölk", "2"));
    EXPECT_EQ(Row(2).timeText, "08.00");
    EXPECT_EQ(Row(2).timeSlot, 32);
}

TEST_F(AddFoodTest, DropInsertMovesRowsDown)
{
    for (int i = 0; i < 5; ++i) AddFood(*state, prompts, Entry("Banan", "1"));
    for (int r = 1; r <= 5; ++r) Row(r).grams = static_cast<float>(r);
    AddFood(*state, prompts, Entry("Mjölk", "2"), 3, true);
    EXPECT_EQ(Row(3).code, "2");
    EXPECT_FLOAT_EQ(Row(2).grams, 2.0f);
    EXPECT_FLOAT_EQ(Row(4).grams, 3.0f);
    EXPECT_FLOAT_EQ(Row(6).grams, 5.0f);
    EXPECT_TRUE(Row(7).IsEmpty());
}

TEST_F(AddFoodTest, FullMealOverwritesTheLastRowAndInsertAtItMovesNothing)
{
    for (int r = 1; r <= kLastRow; ++r) {
        Row(r).code = "1";
        Row(r).grams = static_cast<float>(r);
    }
    AddFood(*state, prompts, Entry("Mjölk", "2"));
    EXPECT_EQ(Row(kLastRow).code, "2");
    EXPECT_FLOAT_EQ(Row(kLastRow - 1).grams, 198.0f);
    AddFood(*state, prompts, Entry("Banan", "1"), kLastRow, true);
    EXPECT_EQ(Row(kLastRow).code, "1");
    EXPECT_FLOAT_EQ(Row(kLastRow - 1).grams, 198.0f);
}

TEST_F(AddFoodTest, MessagesForUnknownCodesTabletsAndDailyDoses)
{
    AddFood(*state, prompts, Entry("Okänd", "999"));
    EXPECT_TRUE(Row(1).IsEmpty());
    AddFood(*state, prompts, Entry("Vitamin C", "F1"));
    AddFood(*state, prompts, Entry("Fiskolja", "F2"));
    AddFood(*state, prompts, Entry("Tablettost", "3"));
    EXPECT_EQ(prompts.messages, (std::vector<std::string>{
                                    "Livsmedel med nr 999 finns ej.",
                                    "Skriv 100 gram för en tablett, 200 gram för två osv.",
                                    "100 i gramkolumnen motsvarar en dagsdos, 50 en halvdagsdos osv.",
                                    "100 gram motsvarar en tablett",
                                }));
    EXPECT_EQ(Row(1).code, "F1");
}

TEST_F(AddFoodTest, NothingChosenChangesNothing)
{
    AddFood(*state, prompts, std::nullopt);
    EXPECT_TRUE(Row(1).IsEmpty());
    EXPECT_FALSE(state->CalculationDirty);
}

TEST_F(AddFoodTest, NewCalculationAsksOnlyWhenChanged)
{
    EXPECT_TRUE(NewCalculation(*state, prompts));
    EXPECT_TRUE(prompts.questions.empty());

    AddFood(*state, prompts, Entry("Banan", "1"));
    prompts.answers.push_back(Answer::Cancel);
    EXPECT_FALSE(NewCalculation(*state, prompts));
    EXPECT_EQ(prompts.questions.back(), "Vill du spara denna beräkning innan en ny startas?");
    EXPECT_EQ(Row(1).code, "1");
    EXPECT_TRUE(state->newCalculationCancelled);

    prompts.answers.push_back(Answer::No);
    state->calculation.dayNames[3] = "Tisdag";
    EXPECT_TRUE(NewCalculation(*state, prompts));
    EXPECT_TRUE(Row(1).IsEmpty());
    EXPECT_FALSE(state->CalculationDirty);
    EXPECT_EQ(state->calculation.dayNames[3], "Dag 4");
}

}  // namespace
}  // namespace velmora
