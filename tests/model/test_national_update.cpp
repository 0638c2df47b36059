#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/foodtables.h"
#include "core/text.h"
#include "fixture.h"
#include "foodtables/national_update.h"
#include "xlsxbuilder.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

using testing::ExportRows;
using testing::FixtureData;
using testing::Rows;

std::string Field(int s) { return std::string(NutrientFieldName(s)); }

// Every record of the two national tables as text, NULL shown apart from "", for before/after checks.
std::string Snapshot(Database& db)
{
    std::string dump;
    for (const char* table : {"nalvex100", "nalvex2005"}) {
        sqlite3_stmt* stmt = nullptr;
        const std::string sql = std::string("SELECT * FROM ") + table + " ORDER BY Kod";
        EXPECT_EQ(sqlite3_prepare_v2(db.Handle(), sql.c_str(), -1, &stmt, nullptr), SQLITE_OK);
        dump += table;
        dump += '\n';
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
                dump += text ? text : "<null>";
                dump += '\t';
            }
            dump += '\n';
        }
        sqlite3_finalize(stmt);
    }
    return dump;
}

float Nutrient(const FoodRecord& food, int s) { return food.nutrients[static_cast<std::size_t>(SlotIndex(s))]; }

// A table with what the import must carry over or leave alone: a food the user has given units,
// price, wholesaler, note and link (1), one the new edition drops (2), a placeholder (3), a Norwegian
// food whose code the export uses for something else (488) and a Danish one (9100).
class NationalUpdateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_data.Table("nalvex100",
                     "Kod\tLivsmedel\tPortionsstorlek\tEnhet\tGrupp1\tkgpris\tGrossist\tGrossartnr\textrastring\twww\t"
                     "port1\tenhet1\tAvfall _%_\t" +
                         Field(slot::kJ) + "\t" + Field(slot::protein) + "\t" + Field(slot::fat) + "\t" +
                         Field(slot::extra2) +
                         "\n"
                         "1\tKnäckebröd\t12\tskiva\tBröd\t45.90\tMartin\tA-77\tegen\thttp://ex.se\t520\tpaket\t5\t1406\t9\t1.7\t4\n"
                         "2\tUtgången mat\t50\tst\tÖvrigt\t\t\t\t\t\t\t\t\t300\t\t\t\n"
                         "3\tRESERV\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\n"
                         "488\tBrunost/NO\t10\tskive\tMeieri/No\t\t\t\t\t\t\t\t\t1923\t10\t29\t\n"
                         "9100\tRugbrød/DK\t45\tskive\tBrød/DK\t\t\t\t\t\t\t\t\t923\t6\t3\t\n");
        m_data.Table("nalvex2005", "Kod\tLivsmedel\t" + Field(slot::kJ) + "\n2\tÄldre post\t111\n9001\tMjölk gammal\t250\n");
        m_state = m_data.Start();
        ASSERT_TRUE(m_state);
    }

    fs::path Workbook(const Rows& rows, const std::string& name = "export.xlsx")
    {
        const fs::path file = m_data.Work() / name;
        testing::WriteWorkbook(file, rows);
        return file;
    }
    Status Import(const fs::path& file, bool dryRun = false)
    {
        return ImportNationalFile(m_state->database, m_state->dataFolder, file, dryRun, m_report);
    }
    std::optional<FoodRecord> Find(const std::string& code, std::span<const FoodSource> order, FoodSource* where = nullptr)
    {
        const auto source = FindFood(m_state->foodTables, code, order);
        if (!source) return std::nullopt;
        if (where) *where = *source;
        return ReadFoodRecord(m_state->foodTables[*source]);
    }
    Table& National() { return m_state->foodTables[FoodSource::Nalvex100]; }

    FixtureData m_data;
    std::unique_ptr<ProgramState> m_state;
    NationalImportReport m_report;
};

const std::vector<std::string> kHeadings = {
    "Livsmedelsnamn", "Livsmedelsnummer", "Gruppering",     "Energi (kJ)",
    "Energi (kcal)",  "Fett, totalt (g)", "Vitamin K (µg)", "Avfall (skal etc.) (%)"};
const Rows kFoods = {
    {"Nöt talg", "1", "Fett, olja", "2746", "656", "71", "", "0"},
    {"Äpple m. skal", "1234", "Frukt", "218,5", "52", "0.2", "2.2", "8"},
    {"Gudbrandsdalsost", "488", "Ost", "1900", "450", "29", "1", "0"},
};

TEST_F(NationalUpdateTest, MergesTheEditionAndKeepsWhatTheUserAdded)
{
    ASSERT_TRUE(Import(Workbook(ExportRows(kHeadings, kFoods))));
    EXPECT_EQ(m_report.edition, "2022-05-24");
    EXPECT_EQ(m_report.added, 1);
    EXPECT_EQ(m_report.updated, 1);
    EXPECT_EQ(m_report.droppedToPrevious, 1);
    EXPECT_EQ(m_report.codesHeldByNordicFoods, std::vector<std::string>{"488"});
    EXPECT_TRUE(m_report.repeatedCodes.empty());
    EXPECT_EQ(NationalEditionInUse(m_state->dataFolder), "Livsmedelsverkets livsmedelsdatabas version 2022-05-24");

    // Updated: the export's values, the user's units, price, wholesaler, note and link.
    auto tallow = Find("1", kAddOrder);
    ASSERT_TRUE(tallow);
    EXPECT_EQ(tallow->name, "Nöt talg");
    EXPECT_EQ(National().FieldText("Grupp1"), "Fett, olja");
    EXPECT_EQ(tallow->unit, "skiva");
    EXPECT_EQ(tallow->unitWeight, 12.0f);
    EXPECT_FLOAT_EQ(tallow->pricePerKg, 45.9f);
    EXPECT_EQ(tallow->extraUnits[0].name, "paket");
    EXPECT_EQ(tallow->extraUnits[0].weight, 520.0f);
    EXPECT_EQ(tallow->note, "egen");
    EXPECT_EQ(tallow->www, "http://ex.se");
    EXPECT_EQ(National().FieldText("Grossist"), "Martin");
    EXPECT_EQ(National().FieldText("Grossartnr"), "A-77");
    EXPECT_EQ(tallow->wastePercent, 0.0f);
    EXPECT_EQ(Nutrient(*tallow, slot::kJ), 2746.0f);
    EXPECT_EQ(Nutrient(*tallow, slot::kcal), 656.0f);
    EXPECT_EQ(Nutrient(*tallow, slot::fat), 71.0f);
    // Old values do not outlive the edition: no column and an empty cell both mean missing.
    EXPECT_EQ(Nutrient(*tallow, slot::protein), kMissingValue);
    EXPECT_EQ(Nutrient(*tallow, slot::extra2), kMissingValue);

    // Added: the standard portion.
    auto apple = Find("1234", kAddOrder);
    ASSERT_TRUE(apple);
    EXPECT_EQ(apple->unit, "port");
    EXPECT_EQ(apple->unitWeight, 100.0f);
    EXPECT_EQ(apple->wastePercent, 8.0f);
    EXPECT_FLOAT_EQ(Nutrient(*apple, slot::kJ), 218.5f);
    EXPECT_FLOAT_EQ(Nutrient(*apple, slot::extra2), 2.2f);
    EXPECT_EQ(Nutrient(*apple, slot::protein), kMissingValue);

    // Dropped: gone from the national table, found with the load order in the previous edition,
    // whose older record of the same code it replaced.
    EXPECT_FALSE(Find("2", kAddOrder));
    FoodSource where{};
    auto dropped = Find("2", kLoadOrder, &where);
    ASSERT_TRUE(dropped);
    EXPECT_EQ(where, FoodSource::Nalvex2005);
    EXPECT_EQ(dropped->name, "Utgången mat");
    EXPECT_EQ(dropped->unit, "st");
    EXPECT_EQ(Nutrient(*dropped, slot::kJ), 300.0f);
    EXPECT_EQ(m_state->foodTables[FoodSource::Nalvex2005].RecordCount(), 2);
    EXPECT_TRUE(Find("9001", kLoadOrder));

    // Kept as they were: the placeholder (not copied) and the Norwegian and Danish foods.
    auto placeholder = Find("3", kLoadOrder, &where);
    ASSERT_TRUE(placeholder);
    EXPECT_EQ(where, FoodSource::Nalvex100);
    EXPECT_EQ(placeholder->name, "RESERV");
    auto norwegian = Find("488", kAddOrder);
    ASSERT_TRUE(norwegian);
    EXPECT_EQ(norwegian->name, "Brunost/NO");
    EXPECT_EQ(Nutrient(*norwegian, slot::kJ), 1923.0f);
    EXPECT_EQ(norwegian->unit, "skive");
    auto danish = Find("9100", kAddOrder);
    ASSERT_TRUE(danish);
    EXPECT_EQ(danish->name, "Rugbrød/DK");
    EXPECT_EQ(National().RecordCount(), 5);
}

TEST_F(NationalUpdateTest, EachColumnLandsInItsFieldWhateverTheOrder)
{
    // Imported one after the other into the same table: a later order must not shift any value.
    const std::vector<std::vector<std::size_t>> orders = {
        {0, 1, 2, 3, 4, 5, 6, 7},
        {7, 6, 5, 4, 3, 2, 1, 0},
        {3, 4, 1, 7, 0, 5, 2, 6},
    };
    for (const auto& order : orders) {
        SCOPED_TRACE(::testing::Message() << "order starting with column " << order.front());
        const auto pick = [&](const std::vector<std::string>& row) {
            std::vector<std::string> out;
            for (std::size_t column : order) out.push_back(row[column]);
            return out;
        };
        Rows foods;
        for (const auto& food : kFoods) foods.push_back(pick(food));
        ASSERT_TRUE(Import(Workbook(ExportRows(pick(kHeadings), foods))));

        auto apple = Find("1234", kAddOrder);
        ASSERT_TRUE(apple);
        EXPECT_EQ(apple->name, "Äpple m. skal");
        EXPECT_EQ(National().FieldText("Grupp1"), "Frukt");
        EXPECT_EQ(apple->wastePercent, 8.0f);
        EXPECT_FLOAT_EQ(Nutrient(*apple, slot::kJ), 218.5f);
        EXPECT_FLOAT_EQ(Nutrient(*apple, slot::kcal), 52.0f);
        EXPECT_FLOAT_EQ(Nutrient(*apple, slot::fat), 0.2f);
        EXPECT_FLOAT_EQ(Nutrient(*apple, slot::extra2), 2.2f);
    }
    EXPECT_EQ(m_report.added, 0);
    EXPECT_EQ(m_report.updated, 2);
}

TEST_F(NationalUpdateTest, TextWhereANumberBelongsIsMissingAndCounted)
{
    const std::string longName = std::string(99, 'a') + "öxyz";
    ASSERT_TRUE(Import(Workbook(ExportRows(kHeadings, {{longName, "1234", "Frukt", "spår", "52", "<0,1", "", ""}}))));
    EXPECT_EQ(m_report.nonNumberCells, 2);
    const std::vector<std::string> lines = DescribeImport(m_report);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Celler som inte var tal (lästa som uppgift saknas): 2"),
              lines.end());

    auto food = Find("1234", kAddOrder);
    ASSERT_TRUE(food);
    EXPECT_EQ(Nutrient(*food, slot::kJ), kMissingValue);
    EXPECT_EQ(Nutrient(*food, slot::fat), kMissingValue);
    EXPECT_EQ(Nutrient(*food, slot::kcal), 52.0f);
    EXPECT_TRUE(National().FieldIsEmpty(SlotFieldPosition(slot::kJ)));  // empty, not 0
    EXPECT_TRUE(National().FieldIsEmpty(National().FieldPosition("Avfall _%_")));
    // The name is cut by characters to the field's capacity, never inside the "ö".
    EXPECT_EQ(National().FieldText("Livsmedel"), std::string(99, 'a') + "ö");
}

TEST_F(NationalUpdateTest, FatalInputsChangeNothing)
{
    const std::string before = Snapshot(m_state->database);
    std::vector<std::string> noCode = kHeadings;
    noCode[1] = "Kommentar";
    struct Case {
        const char* label;
        std::function<void(const fs::path&)> write;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"missing code heading", [&](const fs::path& f) { testing::WriteWorkbook(f, ExportRows(noCode, kFoods)); },
         "\"Livsmedelsnummer\" saknas i rubrikraden"},
        {"no heading row",
         [](const fs::path& f) { testing::WriteWorkbook(f, {{"Livsmedelsverkets livsmedelsdatabas"}, {"Ost", "7"}}); },
         "\"Livsmedelsnamn\" hittades inte"},
        {"no foods", [](const fs::path& f) { testing::WriteWorkbook(f, ExportRows(kHeadings, {})); }, "inga livsmedel"},
        {"not a workbook", [](const fs::path& f) { testing::WriteBytes(f, "Livsmedelsnamn;Livsmedelsnummer\n"); },
         "inte en Excel-arbetsbok"},
        {"truncated",
         [](const fs::path& f) {
             testing::WriteWorkbook(f, ExportRows(kHeadings, kFoods));
             const std::string bytes = testing::ReadBytes(f);
             testing::WriteBytes(f, bytes.substr(0, bytes.size() * 2 / 3));
         },
         "skadad eller ofullständig"},
        {"missing file", [](const fs::path&) {}, "finns inte"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const fs::path file = m_data.Work() / (std::string(c.label) + ".xlsx");
        c.write(file);
        const Status status = Import(file);
        EXPECT_FALSE(status.ok);
        EXPECT_NE(status.message.find(c.expected), std::string::npos) << status.message;
        EXPECT_NE(status.message.find("oförändrad"), std::string::npos) << status.message;
        EXPECT_EQ(Snapshot(m_state->database), before);
        EXPECT_EQ(NationalEditionInUse(m_state->dataFolder), kStarterEditionText);
    }
}

TEST_F(NationalUpdateTest, AFailureHalfwayRollsBackEverything)
{
    // By the time the new food is stored, food 2 has moved to nalvex2005 and food 1 is updated.
    ASSERT_TRUE(m_state->database.Exec("CREATE TRIGGER refuse BEFORE INSERT ON nalvex100 WHEN NEW.Kod = '1234' "
                                       "BEGIN SELECT RAISE(ABORT, 'disk full'); END"));
    const std::string before = Snapshot(m_state->database);
    const Status status = Import(Workbook(ExportRows(kHeadings, kFoods)));
    EXPECT_FALSE(status.ok);
    EXPECT_NE(status.message.find("disk full"), std::string::npos) << status.message;
    EXPECT_EQ(Snapshot(m_state->database), before);
    EXPECT_EQ(NationalEditionInUse(m_state->dataFolder), kStarterEditionText);
    EXPECT_FALSE(fs::exists(m_state->dataFolder / kNationalEditionFile));
    // The connection is usable again: nothing is left of the failed transaction.
    ASSERT_TRUE(m_state->database.Exec("DROP TRIGGER refuse"));
    EXPECT_TRUE(Import(Workbook(ExportRows(kHeadings, kFoods))));
}

TEST_F(NationalUpdateTest, DryRunReportsTheSameAndChangesNothing)
{
    const fs::path file = Workbook(ExportRows(kHeadings, kFoods));
    const std::string before = Snapshot(m_state->database);
    ASSERT_TRUE(Import(file, true));
    const NationalImportReport dry = m_report;
    EXPECT_EQ(Snapshot(m_state->database), before);
    EXPECT_EQ(NationalEditionInUse(m_state->dataFolder), kStarterEditionText);
    EXPECT_EQ(DescribeImport(dry).back(), "Provkörning: inget ändrades.");

    ASSERT_TRUE(Import(file));
    EXPECT_NE(Snapshot(m_state->database), before);
    std::vector<std::string> real = DescribeImport(m_report);
    real.push_back("Provkörning: inget ändrades.");
    EXPECT_EQ(DescribeImport(dry), real);
}

TEST_F(NationalUpdateTest, RepeatedCodeKeepsTheFirstRow)
{
    ASSERT_TRUE(Import(Workbook(ExportRows(kHeadings, {kFoods[1], {"Päron", "1234", "Frukt", "200", "48", "0.1", "", ""}}))));
    EXPECT_EQ(m_report.repeatedCodes, std::vector<std::string>{"1234"});
    EXPECT_EQ(m_report.added, 1);
    auto apple = Find("1234", kAddOrder);
    ASSERT_TRUE(apple);
    EXPECT_EQ(apple->name, "Äpple m. skal");
}

// ---- the real export ----------------------------------------------------------------------------

const fs::path kRealExport =
    fs::path(VELMORA_SHARED_DATA) / "national-food-agency" / "LivsmedelsDB_2022-05-24.xlsx";

class RealExportUpdateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!fs::exists(kRealExport)) GTEST_SKIP() << "no " << kRealExport;
        m_data.Table("nalvex100", "Kod\tLivsmedel\tPortionsstorlek\tEnhet\t" + Field(slot::kJ) +
                                      "\n"
                                      "1\tTalg gammal\t25\tmsk\t2700\n"
                                      "9501\tBrunost/NO\t10\tskive\t1923\n"
                                      "99999\tUtgången mat\t40\tst\t500\n");
        m_state = m_data.Start();
        ASSERT_TRUE(m_state);
    }
    Status Import(double* seconds = nullptr)
    {
        const auto start = std::chrono::steady_clock::now();
        Status status = ImportNationalFile(m_state->database, m_state->dataFolder, kRealExport, false, m_report);
        if (seconds) *seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        return status;
    }

    FixtureData m_data;
    std::unique_ptr<ProgramState> m_state;
    NationalImportReport m_report;
};

TEST_F(RealExportUpdateTest, ImportsTheEditionAndASecondTimeChangesNothing)
{
    double seconds = 0;
    const Status status = Import(&seconds);
    ASSERT_TRUE(status) << status.message;
    RecordProperty("import_seconds", std::to_string(seconds));
    EXPECT_LT(seconds, 5.0);  // about a quarter of a second expected; catches runaway costs
    EXPECT_EQ(m_report.added + m_report.updated, 2333);
    EXPECT_EQ(m_report.updated, 1);
    EXPECT_EQ(m_report.droppedToPrevious, 1);
    EXPECT_EQ(m_report.nonNumberCells, 0);
    FoodTables& tables = m_state->foodTables;
    EXPECT_EQ(tables[FoodSource::Nalvex100].RecordCount(), 2333 + 1);

    ASSERT_EQ(FindFood(tables, "1", kAddOrder), FoodSource::Nalvex100);
    FoodRecord tallow = ReadFoodRecord(tables[FoodSource::Nalvex100]);
    EXPECT_EQ(tallow.name, "Nöt talg");
    EXPECT_EQ(Nutrient(tallow, slot::kJ), 2746.0f);
    EXPECT_EQ(Nutrient(tallow, slot::kcal), 656.0f);
    EXPECT_EQ(Nutrient(tallow, slot::fat), 71.0f);
    EXPECT_EQ(Nutrient(tallow, slot::protein), 7.0f);
    EXPECT_EQ(Nutrient(tallow, slot::extra2), kMissingValue);  // its vitamin K cell is empty
    EXPECT_EQ(tallow.unit, "msk");
    EXPECT_EQ(tallow.unitWeight, 25.0f);

    ASSERT_EQ(FindFood(tables, "9501", kAddOrder), FoodSource::Nalvex100);
    EXPECT_EQ(ReadFoodRecord(tables[FoodSource::Nalvex100]).name, "Brunost/NO");
    EXPECT_EQ(FindFood(tables, "99999", kAddOrder), std::nullopt);
    ASSERT_EQ(FindFood(tables, "99999", kLoadOrder), FoodSource::Nalvex2005);
    FoodRecord dropped = ReadFoodRecord(tables[FoodSource::Nalvex2005]);
    EXPECT_EQ(dropped.name, "Utgången mat");
    EXPECT_EQ(Nutrient(dropped, slot::kJ), 500.0f);

    // The user changes a unit weight; a second import keeps it and changes nothing else.
    const std::string afterFirst = Snapshot(m_state->database);
    Table& national = tables[FoodSource::Nalvex100];
    const int unitWeight = national.FieldPosition("Portionsstorlek");
    const auto setUnitWeight = [&](double grams) {
        ASSERT_TRUE(national.FindKey("1"));
        national.Edit();
        national.SetFieldFloat(unitWeight, grams);
        ASSERT_TRUE(national.Post());
    };
    setUnitWeight(33);
    ASSERT_TRUE(Import());
    EXPECT_EQ(m_report.added, 0);
    EXPECT_EQ(m_report.updated, 2333);
    EXPECT_EQ(m_report.droppedToPrevious, 0);
    ASSERT_TRUE(national.FindKey("1"));
    EXPECT_EQ(national.FieldFloat(unitWeight), 33.0);
    setUnitWeight(25);
    EXPECT_EQ(Snapshot(m_state->database), afterFirst);
}

}  // namespace
}  // namespace velmora
