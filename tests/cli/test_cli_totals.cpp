#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli.h"
#include "fixture.h"

namespace velmora {
namespace {

using testing::FixtureData;

struct Output {
    int code;
    std::string out, err;
};

Output Cli(std::vector<std::string> args)
{
    std::ostringstream out, err;
    int code = RunCli(args, out, err);
    return {code, out.str(), err.str()};
}

std::size_t Count(const std::string& text, const std::string& what)
{
    std::size_t count = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
    return count;
}

class CliTotals : public ::testing::Test {
protected:
    void SetUp() override
    {
        data.Table("nalvex100", "Kod\tLivsmedel\tPortionsstorlek\tEnhet\tkgpris\tEnergi _kJ_ _kJ_\tEnergi _kcal_ _kcal_\t"
                                "Protein _g_\tFett _g_\tKolhydrater _g_\tFibrer _g_\tAlkohol _g_\n"
                                "1\tMüsli\t100\tport\t40\t1260\t301\t20\t10\t30\t5\t0\n"
                                "2\tÖl\t330\tflaska\t\t180\t43\t0.5\t0\t3\t0\t4\n");
        std::string text = "199\r\n2026-12-01\r\nflera maltider\r\n";
        for (int i = 0; i < 9; ++i) text += "reserv\r\n";
        text += "1\r\n100.0/100@port&7.30\r\n*0/0\r\n*0/1\r\n2\r\n330.0/330@flaska\r\n";
        file = (data.Work() / "week.diet").string();
        testing::WriteFile(file, text);
        folder = data.DataFolder().string();
    }
    FixtureData data;
    std::string file, folder;
};

TEST_F(CliTotals, JsonDocumentHasEveryLevel)
{
    Output run = Cli({"--data-dir", folder, "totals", file, "--json"});
    ASSERT_EQ(run.code, 0) << run.err;
    const std::string& json = run.out;
    EXPECT_EQ(json.rfind("{\"file\":", 0), 0u);
    for (const char* key : {"\"wholeDay\":false", "\"norm\":{\"kind\":\"standardnorm\"", "\"mealShares\":[0.25,0.3,0.3,0.15,0,0,0,0,0]",
                            "\"countedDays\":1", "\"totalPrice\":4", "\"periodAverage\":[1854,", "\"periodMissing\":[",
                            "\"averagePercent\":[", "\"averageEnergyShares\":[", "\"mealKindTotals\":[[1260,",
                            "\"timeSlotTotals\":[["}) {
        EXPECT_NE(json.find(key), std::string::npos) << key;
    }
    EXPECT_EQ(Count(json, "\"meals\":"), 21u);
    EXPECT_EQ(Count(json, "\"rows\":"), 21u * 9u);
    EXPECT_EQ(Count(json, "\"row\":"), 2u);
    EXPECT_NE(json.find("{\"row\":1,\"code\":\"1\",\"name\":\"Müsli\",\"unit\":\"port\",\"unitWeight\":100,\"grams\":100,"
                        "\"timeText\":\"7.30\",\"timeSlot\":30,\"pricePerKg\":40,\"percent\":["),
              std::string::npos);
    // The worked energy example: protein 26.98 % of the breakfast energy.
    EXPECT_NE(json.find("\"energyShares\":[26.984127,29.36508,43.650795,0,"), std::string::npos);
}

TEST_F(CliTotals, DayAndAlcoholFlagsAndTheSummary)
{
    Output withAlcohol = Cli({"--data-dir", folder, "totals", file, "--json"});
    Output without = Cli({"--data-dir", folder, "totals", file, "--json", "--no-alcohol", "--day", "0"});
    ASSERT_EQ(without.code, 0);
    EXPECT_NE(withAlcohol.out, without.out);
    // Beer alone: without alcohol its energy is protein and carbohydrate only.
    EXPECT_NE(without.out.find("\"energyShares\":[14.285714,0,85.71429,0,"), std::string::npos);
    EXPECT_EQ(withAlcohol.out.find("\"energyShares\":[14.285714,0,85.71429,0,"), std::string::npos);

    Output summary = Cli({"--data-dir", folder, "totals", file});
    EXPECT_EQ(summary.code, 0);
    EXPECT_NE(summary.out.find("Räknade dagar: 1"), std::string::npos) << summary.out;

    EXPECT_EQ(Cli({"--data-dir", folder, "totals", file, "--day", "21"}).code, 2);
    Output missing = Cli({"--data-dir", folder, "totals", (data.Work() / "none.diet").string()});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("Kan ej öppna beräkningen"), std::string::npos);
}

TEST_F(CliTotals, SaveAsRoundTrips)
{
    const std::string copy = (data.Work() / "copy.diet").string();
    Output saved = Cli({"--data-dir", folder, "save-as", file, copy});
    ASSERT_EQ(saved.code, 0) << saved.err;
    Output again = Cli({"--data-dir", folder, "totals", copy, "--json"});
    Output first = Cli({"--data-dir", folder, "totals", file, "--json"});
    // Only the file name differs.
    auto body = [](const std::string& json) { return json.substr(json.find("\"wholeDay\"")); };
    EXPECT_EQ(body(again.out), body(first.out));
}

}  // namespace
}  // namespace velmora
