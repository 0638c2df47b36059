#include <gtest/gtest.h>

#include "core/programstate.h"
#include "core/recalculate.h"
#include "rows.h"

namespace velmora {
namespace {

constexpr std::size_t I(int slot) { return static_cast<std::size_t>(SlotIndex(slot)); }

// Recalculate needs no tables: rows are set by hand so each case shows its numbers.
class RecalculateTest : public ::testing::Test {
protected:
    RecalculateTest() { state->norm.activeNorm.fill(100.0f); }

    MealRow& Put(int day, int meal, int row, float grams, std::initializer_list<std::pair<int, float>> values,
                 float pricePerKg = 0)
    {
        return testing::PutRow(*state, day, meal, row, grams, values, pricePerKg);
    }
    const CalculationTotals& T() const { return *state->totals; }

    std::unique_ptr<ProgramState> state = std::make_unique<ProgramState>();
};

TEST_F(RecalculateTest, EmptyCalculationGivesZeros)
{
    Recalculate(*state);
    EXPECT_EQ(T().countedDays, 0);
    for (float v : T().periodAverage) EXPECT_EQ(v, 0.0f);
    for (float v : T().averageEnergyShares) EXPECT_EQ(v, 0.0f);
    EXPECT_EQ(T().totalPrice, 0.0f);
}

TEST_F(RecalculateTest, EnergySharesOfTheWorkedExample)
{
    Put(0, 0, 1, 100, {{slot::kJ, 1260}, {slot::protein, 20}, {slot::fat, 10}, {slot::carbohydrate, 30}, {slot::fibre, 5}});
    Recalculate(*state);
    const EnergyShares& shares = T().mealEnergyShares[0][0];
    EXPECT_NEAR(shares[0], 26.98f, 0.01f);
    EXPECT_NEAR(shares[1], 29.37f, 0.01f);
    EXPECT_NEAR(shares[2], 43.65f, 0.01f);
    EXPECT_EQ(shares[3], 0.0f);
    EXPECT_EQ(T().dayEnergyShares[0], shares);
    EXPECT_EQ(T().averageEnergyShares, shares);
}

TEST_F(RecalculateTest, AlcoholFactorZeroLeavesAlcoholOutOfTheShares)
{
    Put(0, 1, 1, 500, {{slot::kJ, 180}, {slot::carbohydrate, 3}, {slot::alcohol, 4}});
    Recalculate(*state);
    EXPECT_GT(T().mealEnergyShares[0][1][3], 50.0f);
    state->energyFactors.SetCountAlcohol(false);
    Recalculate(*state);
    EXPECT_EQ(T().mealEnergyShares[0][1][3], 0.0f);
    EXPECT_FLOAT_EQ(T().mealEnergyShares[0][1][2], 100.0f);
}

TEST_F(RecalculateTest, WaterOnlyDayAddsToTheSumButNotTheDivisor)
{
    Put(0, 0, 1, 100, {{slot::kJ, 1000}, {slot::water, 10}});
    Put(1, 0, 1, 100, {{slot::kJ, 5}, {slot::water, 90}});
    Recalculate(*state);
    EXPECT_EQ(T().countedDays, 1);
    EXPECT_FLOAT_EQ(T().periodAverage[I(slot::kJ)], 1005.0f);
    EXPECT_FLOAT_EQ(T().periodAverage[I(slot::water)], 100.0f);

    state->calculation.dayIncluded[1] = false;
    Recalculate(*state);
    EXPECT_FLOAT_EQ(T().periodAverage[I(slot::kJ)], 1000.0f);
}

TEST_F(RecalculateTest, MissingValuesCountAndContributeNothing)
{
    Put(0, 0, 1, 200, {{slot::vitaminC, kMissingValue}, {slot::kJ, 100}});
    Put(0, 0, 2, 100, {{slot::vitaminC, 30}, {slot::kJ, -5}});
    Recalculate(*state);
    EXPECT_EQ(T().mealMissing[0][0][I(slot::vitaminC)], 1);
    EXPECT_EQ(T().mealMissing[0][0][I(slot::kJ)], 1);  // a negative value counts as missing
    EXPECT_FLOAT_EQ(T().mealTotals[0][0][I(slot::vitaminC)], 30.0f);
    EXPECT_EQ(T().periodMissing[I(slot::vitaminC)], 1);
    EXPECT_FLOAT_EQ(T().rowPercent[0][0][2][I(slot::vitaminC)], 30.0f);
    EXPECT_FLOAT_EQ(T().rowPercent[0][0][1][I(slot::vitaminC)], 0.0f);
}

TEST_F(RecalculateTest, NormsOfAThousandthOrLessGiveNoPercent)
{
    state->norm.activeNorm[I(slot::zinc)] = 0.0f;
    state->norm.activeNorm[I(slot::iron)] = 0.001f;
    state->norm.activeNorm[I(slot::calcium)] = 0.0011f;
    Put(0, 0, 1, 100, {{slot::zinc, 5}, {slot::iron, 5}, {slot::calcium, 5}, {slot::kJ, 100}});
    Recalculate(*state);
    EXPECT_EQ(T().dayPercent[0][I(slot::zinc)], 0.0f);
    EXPECT_EQ(T().dayPercent[0][I(slot::iron)], 0.0f);
    EXPECT_EQ(T().rowPercent[0][0][1][I(slot::iron)], 0.0f);
    EXPECT_GT(T().dayPercent[0][I(slot::calcium)], 0.0f);
}

TEST_F(RecalculateTest, PricesTimesAndMealKinds)
{
    Put(0, 0, 1, 250, {{slot::kJ, 400}}, 20.0f).timeSlot = 32;
    Put(0, 2, 1, 100, {{slot::kJ, 400}}, 50.0f);
    Put(3, 0, 1, 100, {{slot::kJ, 400}}, 10.0f);
    state->calculation.dayIncluded[3] = false;
    Recalculate(*state);
    EXPECT_FLOAT_EQ(T().mealPrice[0][0], 5.0f);
    EXPECT_FLOAT_EQ(T().dayPrice[0], 10.0f);
    EXPECT_FLOAT_EQ(T().totalPrice, 11.0f);  // every day, included or not
    EXPECT_FLOAT_EQ(T().timeSlotTotals[32][I(slot::kJ)], 1000.0f);
    EXPECT_FLOAT_EQ(T().timeSlotTotals[96][I(slot::kJ)], 400.0f);
    EXPECT_FLOAT_EQ(T().mealKindTotals[0][I(slot::kJ)], 1000.0f);

    state->CurrentDay = 3;
    Recalculate(*state);
    EXPECT_FLOAT_EQ(T().timeSlotTotals[96][I(slot::kJ)], 400.0f);
    EXPECT_FLOAT_EQ(T().timeSlotTotals[32][I(slot::kJ)], 0.0f);
}

TEST_F(RecalculateTest, WholeDayModeAndTheCaption)
{
    state->norm.activeNorm[I(slot::kcal)] = 2000.0f;
    state->norm.text = "Norm: X";
    state->CurrentMeal = 2;
    Recalculate(*state);
    EXPECT_EQ(state->mainCaption, "   Norm: X         600 kcal/Middag");

    state->calculation.wholeDay = true;
    int refreshed = 0;
    state->refreshHooks.push_back([&] { ++refreshed; });
    Recalculate(*state);
    EXPECT_EQ(state->CurrentMeal, 0);
    EXPECT_FLOAT_EQ(state->MealShares[0], 1.0f);
    EXPECT_EQ(state->mainCaption, "   Norm: X         2000 kcal/Hela dagen");
    EXPECT_EQ(refreshed, 1);
}

TEST_F(RecalculateTest, MealSharesComeFromTheSettingsCells)
{
    state->settings.mealShareCells[0] = "12,5";
    state->settings.mealShareCells[1] = "12.5";
    state->settings.mealShareCells[2] = "abc";
    Recalculate(*state);
    EXPECT_FLOAT_EQ(state->MealShares[0], 0.125f);
    EXPECT_FLOAT_EQ(state->MealShares[1], 0.125f);
    EXPECT_FLOAT_EQ(state->MealShares[2], 0.0f);
}

}  // namespace
}  // namespace velmora
