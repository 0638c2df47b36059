#include <gtest/gtest.h>

#include "core/foodtables.h"
#include "fixture.h"
#include "platform/tablesources.h"

namespace velmora {
namespace {

using testing::FixtureData;

constexpr std::size_t I(int slot) { return static_cast<std::size_t>(SlotIndex(slot)); }

class FoodTablesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        data.Table("nalvex100",
                   "Kod\tLivsmedel\tPortionsstorlek\tEnhet\tkgpris\tGrossartnr\tAvfall _%_\tEnergi _kJ_ _kJ_\t"
                   "Selen _mcg_\tenhet1\tport1\textrastring\n"
                   "1\tBanan\t120\tst\t12,50\t\t35\t380\t\tdl\t150\tskalad\n"
                   "2\tMjölk\t100\tdl\t\tART77\t\t270\t0\t\t\t\n");
        data.Table("nalvex2005", "Kod\tLivsmedel\tPortionsstorlek\tEnhet\n900\tGammal gröt\t250\tport\n");
        data.Table("fabrikant", "Kod\tLivsmedel\tPortionsstorlek\tEnhet\tkj\twww\n"
                                "1\tBanan från fabrik\t100\tport\t999\thttps://example.se\n"
                                "F5\tVitamintablett\t100\ttablett\t0\t\n");
        state = data.Start();
    }

    FixtureData data;
    std::unique_ptr<ProgramState> state;
};

TEST_F(FoodTablesTest, SourceOrdersDecideWhichTableAnswers)
{
    auto& tables = state->foodTables;
    EXPECT_EQ(FindFood(tables, "1", kAddOrder), FoodSource::Nalvex100);
    EXPECT_EQ(FindFood(tables, "F5", kAddOrder), FoodSource::Fabrikant);
    EXPECT_EQ(FindFood(tables, "900", kLoadOrder), FoodSource::Nalvex2005);
    EXPECT_EQ(FindFood(tables, "900", kAddOrder), std::nullopt);
    EXPECT_EQ(FindFood(tables, "900", kOldFormatOrder), std::nullopt);
    EXPECT_EQ(FindFood(tables, "nope", kLoadOrder), std::nullopt);
}

TEST_F(FoodTablesTest, RecordKeepsEmptyApartFromZero)
{
    ASSERT_EQ(FindFood(state->foodTables, "1", kAddOrder), FoodSource::Nalvex100);
    FoodRecord banana = ReadFoodRecord(state->foodTables[FoodSource::Nalvex100]);
    EXPECT_EQ(banana.name, "Banan");
    EXPECT_FLOAT_EQ(banana.unitWeight, 120.0f);
    EXPECT_FLOAT_EQ(banana.pricePerKg, 12.5f);
    EXPECT_FLOAT_EQ(banana.wastePercent, 35.0f);
    EXPECT_EQ(banana.note, "skalad");
    EXPECT_EQ(banana.extraUnits[0].name, "dl");
    EXPECT_FLOAT_EQ(banana.extraUnits[0].weight, 150.0f);
    EXPECT_FLOAT_EQ(banana.nutrients[I(slot::kJ)], 380.0f);
    EXPECT_FLOAT_EQ(banana.nutrients[I(slot::selenium)], kMissingValue);

    ASSERT_TRUE(FindFood(state->foodTables, "2", kAddOrder));
    FoodRecord milk = ReadFoodRecord(state->foodTables[FoodSource::Nalvex100]);
    EXPECT_FLOAT_EQ(milk.nutrients[I(slot::selenium)], 0.0f);
    EXPECT_FLOAT_EQ(milk.pricePerKg, 0.0f);
}

TEST_F(FoodTablesTest, ArticleNumbersTranslateToCodes)
{
    EXPECT_EQ(TranslateArticleNumber(state->foodTables, "ART77"), "2");
    EXPECT_EQ(TranslateArticleNumber(state->foodTables, "1"), "1");
    EXPECT_EQ(TranslateArticleNumber(state->foodTables, "unknown"), "unknown");
    // The table is back on its primary index.
    EXPECT_EQ(FindFood(state->foodTables, "2", kAddOrder), FoodSource::Nalvex100);
}

TEST(FoodTables, NameIndexWalksInSwedishOrder)
{
    FixtureData data;
    data.Table("nalvex100", "Kod\tLivsmedel\n1\tÖl\n2\tärter\n3\tÅl\n4\tzucchini\n5\tapelsin\n6\tBanan\n");
    auto fresh = data.Start();
    Table& table = fresh->foodTables[FoodSource::Nalvex100];
    ASSERT_TRUE(table.SetIndex("livsmedel"));
    std::vector<std::string> names;
    for (table.First(); !table.Eof(); table.Next()) names.push_back(table.FieldText("Livsmedel"));
    EXPECT_EQ(names, (std::vector<std::string>{"apelsin", "Banan", "zucchini", "Ål", "ärter", "Öl"}));
}

TEST(TableSource, RejectsWhatWouldCorruptATable)
{
    const TableDef& def = FoodTableDef(FoodSource::Nalvex100);
    struct Case {
        const char* text;
        bool ok;
    };
    const Case cases[] = {
        {"Kod\tLivsmedel\n1\tBanan\n", true},
        {"# comment\n\nKod\tLivsmedel\r\n1\tBanan\r\n", true},
        {"Kod\tOkänt\n1\tx\n", false},
        {"Kod\tKod\n1\t1\n", false},
        {"Kod\tLivsmedel\n1\n", false},
        {"Kod\tEnergi _kJ_ _kJ_\n1\tmycket\n", false},
        {"Kod\tEnergi _kJ_ _kJ_\n1\t3,5\n", false},
        {"", false},
    };
    for (const auto& c : cases) {
        TableSource source;
        EXPECT_EQ(ParseTableSource(c.text, def, source).ok, c.ok) << c.text;
    }
}

TEST(TableStore, CorruptDatabaseIsRefusedWithItsName)
{
    testing::TempDir dir;
    testing::WriteFile(dir / "tables.sqlite", std::string(4096, 'x'));
    Database db;
    Status status = db.Open(dir / "tables.sqlite");
    EXPECT_FALSE(status.ok);
    EXPECT_NE(status.message.find("tables.sqlite"), std::string::npos) << status.message;
}

}  // namespace
}  // namespace velmora
