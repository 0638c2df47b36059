#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

#include "foodtables/national_import.h"
#include "foodtables/xlsx_reader.h"
#include "xlsxbuilder.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

using testing::ExportRows;
using testing::Part;
using testing::ReadBytes;
using testing::RelsXml;
using testing::Rows;
using testing::SharedStringsXml;
using testing::SheetXml;
using testing::WorkbookParts;
using testing::WorkbookXml;
using testing::WriteBytes;
using testing::WriteZip;

class XlsxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "_" + info->name();
        std::replace(name.begin(), name.end(), '/', '_');
        m_dir = fs::temp_directory_path() / ("velmora_xlsx_" + std::to_string(::getpid()) + "_" + name);
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path Workbook(const std::vector<Part>& parts, const std::string& name = "book.xlsx")
    {
        const fs::path file = m_dir / name;
        WriteZip(file, parts);
        return file;
    }

    // Writes `rows` as a workbook and imports it as the national export.
    Status Import(const Rows& rows, NationalExport& out, bool sharedStrings = true)
    {
        XlsxSheet sheet;
        const fs::path file = Workbook(WorkbookParts(rows, sharedStrings));
        if (Status status = ReadFirstSheet(file, sheet); !status) return status;
        return ParseNationalExport(sheet, out);
    }

    fs::path m_dir;
};

// ---- the workbook reader ----------------------------------------------------------------------------

TEST_F(XlsxTest, ReadsEveryKindOfCellAndFillsGaps)
{
    const std::vector<std::string> strings = {
        "Nöt talg",
        "<si><r><t>Fett, </t></r><r><rPr><b/></rPr><t>totalt</t></r><rPh><t>x</t></rPh></si>",
        "<si><t xml:space=\"preserve\"> </t></si>",
    };
    const std::string data =
        R"(<row r="1"><c r="A1" t="s"><v>0</v></c><c r="C1"><v>2746</v></c><c r="D1" s="1"/></row>)"
        R"(<row r="3"><c r="B3" t="s"><v>1</v></c>)"
        R"(<c r="C3" t="inlineStr"><is><r><t>Rä</t></r><r><t>tter</t></r></is></c>)"
        R"(<c r="D3"><v>0.07</v></c><c r="E3" t="str"><f>A1</f><v>x&amp;y</v></c>)"
        R"(<c r="F3" t="s"><v>2</v></c></row>)"
        R"(<row><c><v>1</v></c><c><v>2</v></c></row>)";
    const fs::path file = Workbook({
        {"xl/workbook.xml", WorkbookXml({{"Blad1", "rId1"}})},
        {"xl/_rels/workbook.xml.rels", RelsXml({{"rId1", "worksheets/sheet1.xml"}}, true)},
        {"xl/worksheets/sheet1.xml", SheetXml(data)},
        {"xl/sharedStrings.xml", SharedStringsXml(strings)},
    });

    XlsxSheet sheet;
    const Status status = ReadFirstSheet(file, sheet);
    ASSERT_TRUE(status) << status.message;
    const Rows expected = {
        {"Nöt talg", "", "2746"},
        {},
        {"", "Fett, totalt", "Rätter", "0.07", "x&y", " "},
        {"1", "2"},
    };
    EXPECT_EQ(sheet.rows, expected);
}

TEST_F(XlsxTest, ReadsTheFirstSheetInWorkbookOrderWhereverItIsStored)
{
    struct Case {
        const char* target;
    };
    const Case cases[] = {
        {"worksheets/data.xml"}, {"/xl/worksheets/data.xml"}, {"../xl/./worksheets/data.xml"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        const fs::path file = Workbook({
            {"xl/workbook.xml", WorkbookXml({{"Först", "rId7"}, {"Sedan", "rId1"}})},
            {"xl/_rels/workbook.xml.rels",
             RelsXml({{"rId1", "worksheets/sheet1.xml"}, {"rId7", c.target}}, false)},
            {"xl/worksheets/sheet1.xml", SheetXml(R"(<row r="1"><c r="A1"><v>2</v></c></row>)")},
            {"xl/worksheets/data.xml", SheetXml(R"(<row r="1"><c r="A1"><v>1</v></c></row>)")},
        });
        XlsxSheet sheet;
        ASSERT_TRUE(ReadFirstSheet(file, sheet));
        EXPECT_EQ(sheet.rows, Rows{{"1"}});
    }
}

TEST_F(XlsxTest, FallsBackToSheet1WithoutRelationships)
{
    const fs::path file = Workbook({
        {"xl/workbook.xml", WorkbookXml({{"Blad1", "rId1"}})},
        {"xl/worksheets/sheet1.xml",
         SheetXml(R"(<row r="2"><c r="B2" t="inlineStr"><is><t>ja</t></is></c></row>)")},
    });
    XlsxSheet sheet;
    ASSERT_TRUE(ReadFirstSheet(file, sheet));
    EXPECT_EQ(sheet.rows, (Rows{{}, {"", "ja"}}));
}

TEST_F(XlsxTest, RefusesBrokenFilesWithAMessageNamingTheFile)
{
    const std::vector<Part> good = WorkbookParts({{"Livsmedelsnamn", "Livsmedelsnummer"}, {"Nöt talg", "1"}});
    const auto withSheet = [&](const std::string& data) {
        std::vector<Part> parts = good;
        for (Part& part : parts)
            if (part.name == "xl/worksheets/sheet1.xml") part.content = SheetXml(data);
        return parts;
    };
    std::string manyWideRows;
    for (int r = 1; r <= 400; ++r)
        manyWideRows +=
            "<row r=\"" + std::to_string(r) + "\"><c r=\"XFD" + std::to_string(r) + "\"><v>1</v></c></row>";

    struct Case {
        const char* label;
        std::function<void(const fs::path&)> write;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"text file", [](const fs::path& f) { WriteBytes(f, "Livsmedelsnamn;Livsmedelsnummer\n"); },
         "är inte en Excel-arbetsbok (xlsx)"},
        {"empty file", [](const fs::path& f) { WriteBytes(f, ""); }, "är inte en Excel-arbetsbok (xlsx)"},
        {"cut in half",
         [&](const fs::path& f) {
             WriteZip(f, good);
             const std::string bytes = ReadBytes(f);
             WriteBytes(f, bytes.substr(0, bytes.size() / 2));
         },
         "skadad eller ofullständig"},
        {"zip of something else",
         [](const fs::path& f) {
             WriteZip(f, {{"readme.txt", "hej"}});
         },
         "är inte en Excel-arbetsbok (xlsx)"},
        {"workbook without its sheet",
         [&](const fs::path& f) {
             std::vector<Part> parts = good;
             std::erase_if(parts, [](const Part& p) { return p.name == "xl/worksheets/sheet1.xml"; });
             WriteZip(f, parts);
         },
         "innehåller inget kalkylblad"},
        {"sheet that is not XML",
         [&](const fs::path& f) { WriteZip(f, withSheet("<row><c><v>1</v></row>")); }, "skadad"},
        {"shared string out of range",
         [&](const fs::path& f) {
             WriteZip(f, withSheet(R"(<row r="1"><c r="A1" t="s"><v>99</v></c></row>)"));
         },
         "skadad"},
        {"cells out of order",
         [&](const fs::path& f) {
             WriteZip(f, withSheet(R"(<row r="1"><c r="B1"><v>1</v></c><c r="A1"><v>2</v></c></row>)"));
         },
         "skadad"},
        {"row beyond the last row",
         [&](const fs::path& f) { WriteZip(f, withSheet(R"(<row r="1048577"><c><v>1</v></c></row>)")); },
         "skadad"},
        {"gaps needing millions of cells", [&](const fs::path& f) { WriteZip(f, withSheet(manyWideRows)); },
         "för stor"},
        {"missing file", [](const fs::path&) {}, "finns inte"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const fs::path file = m_dir / (std::string(c.label) + ".xlsx");
        c.write(file);
        XlsxSheet sheet{{{"old"}}};
        const Status status = ReadFirstSheet(file, sheet);
        EXPECT_FALSE(status.ok);
        EXPECT_NE(status.message.find(c.expected), std::string::npos) << status.message;
        EXPECT_NE(status.message.find(file.string()), std::string::npos) << status.message;
        EXPECT_TRUE(sheet.rows.empty());
    }
}

// ---- the national export ------------------------------------------------------------------------

const std::vector<std::string> kSmallHeadings = {
    "Livsmedelsnamn", "Livsmedelsnummer", "Gruppering",     "Energi (kJ)",
    "Energi (kcal)",  "Fett, totalt (g)", "Vitamin K (µg)", "Avfall (skal etc.) (%)"};
const Rows kSmallFoods = {
    {"Nöt talg", "1", "Fett, olja", "2746", "656", "71", "", "0"},
    {"Äpple m. skal", "1234", "Frukt", "218,5", "52", "0.2", "2.2", "8"},
};

// Applies the same column order to headings and foods.
Rows Reordered(const std::vector<std::size_t>& order)
{
    const auto pick = [&](const std::vector<std::string>& row) {
        std::vector<std::string> out;
        for (std::size_t column : order) out.push_back(row[column]);
        return out;
    };
    Rows foods;
    for (const auto& food : kSmallFoods) foods.push_back(pick(food));
    return ExportRows(pick(kSmallHeadings), foods);
}

void ExpectSmallExport(const NationalExport& exported)
{
    EXPECT_EQ(exported.edition, "2022-05-24");
    EXPECT_TRUE(exported.ignoredHeadings.empty());
    EXPECT_EQ(exported.nonNumberCells, 0);
    ASSERT_EQ(exported.foods.size(), 2u);

    const ImportedFood& apple = exported.foods[1];
    EXPECT_EQ(apple.code, "1234");
    EXPECT_EQ(apple.name, "Äpple m. skal");
    EXPECT_EQ(apple.group, "Frukt");
    EXPECT_EQ(apple.wastePercent, 8.0f);
    EXPECT_FLOAT_EQ(apple.nutrients[SlotIndex(slot::kJ)], 218.5f);  // decimal comma
    EXPECT_FLOAT_EQ(apple.nutrients[SlotIndex(slot::kcal)], 52.0f);
    EXPECT_FLOAT_EQ(apple.nutrients[SlotIndex(slot::fat)], 0.2f);
    EXPECT_FLOAT_EQ(apple.nutrients[SlotIndex(slot::extra2)], 2.2f);
    EXPECT_EQ(exported.foods[0].nutrients[SlotIndex(slot::extra2)], kMissingValue);  // empty cell
    // Columns the export does not have stay missing.
    for (int s : {slot::protein, slot::sucrose, slot::firstAminoAcid, slot::lastAminoAcid, slot::extra1})
        EXPECT_EQ(apple.nutrients[SlotIndex(s)], kMissingValue) << "slot " << s;
}

TEST_F(XlsxTest, ImportsTheSmallExportWithSharedOrInlineStrings)
{
    for (const bool sharedStrings : {true, false}) {
        SCOPED_TRACE(sharedStrings ? "shared strings" : "inline strings");
        NationalExport exported;
        ASSERT_TRUE(Import(ExportRows(kSmallHeadings, kSmallFoods), exported, sharedStrings));
        ExpectSmallExport(exported);
    }
}

TEST_F(XlsxTest, ColumnOrderDoesNotMatter)
{
    NationalExport reference;
    ASSERT_TRUE(Import(ExportRows(kSmallHeadings, kSmallFoods), reference));
    const std::vector<std::vector<std::size_t>> orders = {
        {7, 6, 5, 4, 3, 2, 1, 0},
        {3, 4, 1, 7, 0, 5, 2, 6},
    };
    for (const auto& order : orders) {
        NationalExport exported;
        ASSERT_TRUE(Import(Reordered(order), exported));
        ASSERT_EQ(exported.foods.size(), reference.foods.size());
        for (std::size_t i = 0; i < reference.foods.size(); ++i) {
            SCOPED_TRACE(reference.foods[i].code);
            EXPECT_EQ(exported.foods[i].code, reference.foods[i].code);
            EXPECT_EQ(exported.foods[i].name, reference.foods[i].name);
            EXPECT_EQ(exported.foods[i].group, reference.foods[i].group);
            EXPECT_EQ(exported.foods[i].wastePercent, reference.foods[i].wastePercent);
            EXPECT_EQ(exported.foods[i].nutrients, reference.foods[i].nutrients);
        }
    }
}

TEST_F(XlsxTest, FindsTheHeadingRowAndSkipsRowsWithoutCode)
{
    const Rows rows = {
        {"", "Livsmedelsverkets livsmedelsdatabas  version 2023-01-31"},
        {},
        {"Näringsinnehåll per 100 gram livsmedel"},
        {"Livsmedelsnummer", " Livsmedelsnamn ", "Energi (kJ)"},
        {"12.0", "Gurka", "50"},
        {"", "Fotnot: värdena är medelvärden"},
        {"13", "Tomat", "80"},
    };
    NationalExport exported;
    ASSERT_TRUE(Import(rows, exported));
    EXPECT_EQ(exported.edition, "2023-01-31");
    ASSERT_EQ(exported.foods.size(), 2u);
    EXPECT_EQ(exported.foods[0].code, "12");  // a food number stored as a decimal number
    EXPECT_EQ(exported.foods[0].name, "Gurka");
    EXPECT_EQ(exported.foods[1].code, "13");
    EXPECT_FALSE(exported.foods[1].wastePercent.has_value());
}

TEST_F(XlsxTest, MissingRequiredHeadingStops)
{
    struct Case {
        const char* dropped;
        const char* expected;
    };
    const Case cases[] = {{"Livsmedelsnummer", "\"Livsmedelsnummer\" saknas i rubrikraden (rad 3)"},
                          {"Livsmedelsnamn", "\"Livsmedelsnamn\" hittades inte"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dropped);
        std::vector<std::string> headings = kSmallHeadings;
        std::replace(headings.begin(), headings.end(), std::string(c.dropped), std::string("Kommentar"));
        NationalExport exported;
        exported.foods.resize(1);
        const Status status = Import(ExportRows(headings, kSmallFoods), exported);
        EXPECT_FALSE(status.ok);
        EXPECT_NE(status.message.find(c.expected), std::string::npos) << status.message;
        EXPECT_TRUE(exported.foods.empty());
    }
}

TEST_F(XlsxTest, CellValues)
{
    struct Case {
        const char* cell;
        float value;
        int nonNumbers;
    };
    const Case cases[] = {
        {"12,5", 12.5f, 0},          {"0.07", 0.07f, 0},         {"1e3", 1000.0f, 0},
        {"", kMissingValue, 0},      {"spår", kMissingValue, 1}, {"<0,1", kMissingValue, 1},
        {"1,2,3", kMissingValue, 1}, {"-1", kMissingValue, 1},   {"nan", kMissingValue, 1},
        {"1e99", kMissingValue, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cell);
        NationalExport exported;
        ASSERT_TRUE(
            Import(ExportRows({"Livsmedelsnamn", "Livsmedelsnummer", "Fibrer (g)"}, {{"Bröd", "7", c.cell}}),
                   exported));
        ASSERT_EQ(exported.foods.size(), 1u);
        EXPECT_FLOAT_EQ(exported.foods[0].nutrients[SlotIndex(slot::fibre)], c.value);
        EXPECT_EQ(exported.nonNumberCells, c.nonNumbers);
    }
}

TEST_F(XlsxTest, UnknownAndDuplicateHeadingsAreReportedOnce)
{
    const Rows rows = ExportRows({"Livsmedelsnamn", "Livsmedelsnummer", "Energi (kJ)", "Okänd (g)",
                                  "Salt, NaCl (g)", "okänd  (g)", "Energi (kJ)"},
                                 {{"Smör", "5", "3000", "1", "2", "3", "9999"}});
    NationalExport exported;
    ASSERT_TRUE(Import(rows, exported));
    EXPECT_EQ(exported.ignoredHeadings,
              (std::vector<std::string>{"Okänd (g)", "Salt, NaCl (g)", "Energi (kJ)"}));
    ASSERT_EQ(exported.foods.size(), 1u);
    EXPECT_EQ(exported.foods[0].nutrients[SlotIndex(slot::kJ)], 3000.0f);  // the first column wins
}

// ---- the real export ----------------------------------------------------------------------------

const fs::path kRealExport =
    fs::path(VELMORA_SHARED_DATA) / "national-food-agency" / "LivsmedelsDB_2022-05-24.xlsx";

class RealExportTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!fs::exists(kRealExport)) return;
        const auto start = std::chrono::steady_clock::now();
        s_status = ReadFirstSheet(kRealExport, s_sheet);
        if (s_status) s_status = ParseNationalExport(s_sheet, s_export);
        s_seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    void SetUp() override
    {
        if (!fs::exists(kRealExport)) GTEST_SKIP() << "no " << kRealExport;
        ASSERT_TRUE(s_status) << s_status.message;
    }
    static const ImportedFood* Food(const std::string& code)
    {
        for (const ImportedFood& food : s_export.foods)
            if (food.code == code) return &food;
        return nullptr;
    }

    static inline XlsxSheet s_sheet;
    static inline NationalExport s_export;
    static inline Status s_status;
    static inline double s_seconds = 0;
};

TEST_F(RealExportTest, ReadsEveryFood)
{
    RecordProperty("import_seconds", std::to_string(s_seconds));
    EXPECT_LT(s_seconds, 5.0);  // far above the expected tenths of a second; catches runaway costs
    EXPECT_EQ(s_export.edition, "2022-05-24");
    EXPECT_EQ(s_export.foods.size(), 2333u);
    EXPECT_EQ(s_export.nonNumberCells, 0);

    const ImportedFood* tallow = Food("1");
    ASSERT_NE(tallow, nullptr);
    EXPECT_EQ(tallow->name, "Nöt talg");
    EXPECT_EQ(tallow->nutrients[SlotIndex(slot::kJ)], 2746.0f);
    EXPECT_EQ(tallow->nutrients[SlotIndex(slot::kcal)], 656.0f);
    EXPECT_EQ(tallow->nutrients[SlotIndex(slot::fat)], 71.0f);
    EXPECT_EQ(tallow->nutrients[SlotIndex(slot::protein)], 7.0f);

    const bool someVitaminKMissing =
        std::any_of(s_export.foods.begin(), s_export.foods.end(),
                    [](const auto& f) { return f.nutrients[SlotIndex(slot::extra2)] == kMissingValue; });
    EXPECT_TRUE(someVitaminKMissing);
}

TEST_F(RealExportTest, EveryNutrientHeadingFindsItsSlot)
{
    // Only the headings without a slot are left over.
    std::vector<std::string> ignored = s_export.ignoredHeadings;
    std::sort(ignored.begin(), ignored.end());
    EXPECT_EQ(ignored, (std::vector<std::string>{"Fritt socker (g)", "Salt, NaCl (g)",
                                                 "Sockerarter, totalt (g)", "Tillsatt socker (g)"}));

    // Each slot the export covers has values, each other slot has none.
    for (int s = kFirstNutrientSlot; s <= kLastNutrientSlot; ++s) {
        const bool absent = s == slot::sucrose || (s >= slot::firstAminoAcid && s <= slot::lastAminoAcid);
        const bool hasValue = std::any_of(s_export.foods.begin(), s_export.foods.end(), [&](const auto& f) {
            return f.nutrients[SlotIndex(s)] != kMissingValue;
        });
        EXPECT_EQ(hasValue, !absent) << "slot " << s;
    }
    EXPECT_TRUE(std::all_of(s_export.foods.begin(), s_export.foods.end(),
                            [](const auto& f) { return !f.name.empty() && !f.group.empty(); }));
}

}  // namespace
}  // namespace velmora
