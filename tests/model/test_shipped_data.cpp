#include <gtest/gtest.h>

#include <cmath>

#include "core/foodtables.h"
#include "core/nutrientnames.h"
#include "core/text.h"
#include "core/session.h"
#include "fixture.h"
#include "norms/norms.h"
#include "scriptedprompts.h"

namespace velmora {
namespace {

constexpr std::size_t I(int slot) { return static_cast<std::size_t>(SlotIndex(slot)); }

// One run on a data folder seeded from the real shipped data, shared by these tests.
class ShippedData : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = new testing::TempDir;
        state = new ProgramState;
        Status status = StartSession(*state, dir->path() / "data");
        ASSERT_TRUE(status.ok) << status.message;
    }
    static void TearDownTestSuite()
    {
        delete state;
        delete dir;
    }
    static inline testing::TempDir* dir = nullptr;
    static inline ProgramState* state = nullptr;
};

TEST_F(ShippedData, FoodEnergyIsConsistentInEveryRow)
{
    int checked = 0;
    for (FoodSource source : {FoodSource::Nalvex100, FoodSource::Nalvex2005, FoodSource::Fabrikant, FoodSource::Dabas}) {
        Table& table = state->foodTables[source];
        for (table.First(); !table.Eof(); table.Next()) {
            FoodRecord food = ReadFoodRecord(table);
            if (food.name == "RESERV") continue;
            auto v = [&](int s) { return std::max(food.nutrients[I(s)], 0.0f); };
            const float expected = 17 * v(slot::protein) + 37 * v(slot::fat) + 17 * v(slot::carbohydrate) +
                                   8 * v(slot::fibre) + 29 * v(slot::alcohol);
            const float kJ = food.nutrients[I(slot::kJ)], kcal = food.nutrients[I(slot::kcal)];
            EXPECT_LE(std::fabs(kJ - expected), std::max(0.05f * expected, 1.0f)) << table.Name() << " " << food.code;
            EXPECT_LE(std::fabs(kcal - kJ / 4.184f), std::max(0.02f * kJ / 4.184f, 0.5f)) << table.Name() << " " << food.code;
            ++checked;
        }
    }
    EXPECT_GT(checked, 340);
}

TEST_F(ShippedData, TablesFollowTheConventions)
{
    Table& national = state->foodTables[FoodSource::Nalvex100];
    int foods = 0, norwegian = 0, danish = 0, withdrawn = 0, reserved = 0, articles = 0;
    for (national.First(); !national.Eof(); national.Next()) {
        const std::string name = national.FieldText("Livsmedel");
        if (name == "RESERV") ++reserved;
        else ++foods;
        norwegian += name.find("/NO") != std::string::npos;
        danish += name.find("/DK") != std::string::npos;
        withdrawn += name.find("UTGÅ") != std::string::npos;
        articles += !national.FieldText("Grossartnr").empty();
    }
    EXPECT_GE(foods, 300);
    EXPECT_GE(norwegian, 10);
    EXPECT_GE(danish, 10);
    EXPECT_GE(withdrawn, 1);
    EXPECT_GE(reserved, 1);
    EXPECT_GE(articles, 1);

    int egnaReserved = 0;
    Table& own = state->foodTables[FoodSource::Egna];
    for (own.First(); !own.Eof(); own.Next()) egnaReserved += own.FieldText("Livsmedel") == "RESERV";
    EXPECT_GE(egnaReserved, 20);

    Table& products = state->foodTables[FoodSource::Dabas];
    for (products.First(); !products.Eof(); products.Next()) {
        EXPECT_EQ(products.FieldText("Kod").rfind("dab", 0), 0u);
        EXPECT_NE(products.FieldText("Kod").substr(3, 1), "0");
    }
}

TEST_F(ShippedData, StandardNormsPassTheirOwnEnergyCheck)
{
    std::vector<long long> numbers;
    for (state->normer.First(); !state->normer.Eof(); state->normer.Next()) {
        NormRow row = ReadNormRow(state->normer);
        testing::ScriptedPrompts prompts;
        CheckNormEnergy(row.values, row.name, prompts);
        EXPECT_TRUE(prompts.messages.empty()) << row.nr << ": " << prompts.messages.front();
        numbers.push_back(row.nr);
    }
    for (long long nr : {1, 2, 3, 4, 5, 6, 11, 12, 13, 14, 15, 16, 18, 24, 25}) {
        EXPECT_NE(std::find(numbers.begin(), numbers.end(), nr), numbers.end()) << nr;
    }
    EXPECT_EQ(state->norm.currentRow.nr, 18);
    EXPECT_GT(state->norm.activeNorm[I(slot::vitaminC)], 0.0f);
}

TEST_F(ShippedData, NutrientNamesCoverEverySlot)
{
    for (int slot = kFirstNutrientSlot; slot <= kLastNutrientSlot; ++slot) {
        EXPECT_FALSE(state->nutrientText[slot].label.empty()) << slot;
        EXPECT_LE(CharacterCount(state->nutrientText[slot].label), 12u) << slot;
    }
    EXPECT_EQ(state->nutrientText[slot::iron].shortName, "järn");
    EXPECT_EQ(state->nutrientText[slot::extra1].shortName, "jod");
}

TEST(NutrientNames, LineFormatAndTheFatalFault)
{
    NutrientText text;
    ASSERT_TRUE(ReadNutrientNameLines({"* comment", "19 prot g,1", "36 järn mg,2", "15 kJ", "05 beskr x,1"}, text));
    EXPECT_EQ(text[19].shortName, "prot");
    EXPECT_EQ(text[19].unit, "g");
    EXPECT_EQ(text[19].label, "prot g");
    EXPECT_EQ(text[19].decimals, 1);
    EXPECT_EQ(text[36].decimals, 2);
    EXPECT_EQ(text[15].label, "kJ");
    EXPECT_TRUE(text[18].label.empty());  // a slot the file does not mention

    Status bad = ReadNutrientNameLines({"19 prot g,1", "x9 fel g,1"}, text);
    EXPECT_FALSE(bad.ok);
    EXPECT_EQ(bad.message, "Fel i namnfilen nvnamn.txt");
    EXPECT_EQ(bad.line, 2);
    EXPECT_FALSE(ReadNutrientNames("/nonexistent/nvnamn.txt", text).ok);
}

TEST(NutrientNames, AMissingFileStopsTheStart)
{
    testing::FixtureData data;
    std::filesystem::create_directories(data.DataFolder());
    testing::WriteFile(data.DataFolder() / "nvnamn.txt", "19 prot g,1\r\nAB trasig\r\n");
    ProgramState state;
    Status status = StartSession(state, data.DataFolder());
    EXPECT_EQ(status.message, "Fel i namnfilen nvnamn.txt");
}

}  // namespace
}  // namespace velmora
