#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli.h"
#include "fixture.h"
#include "xlsxbuilder.h"

namespace velmora {
namespace {

using testing::FixtureData;

struct CliRun {
    int code;
    std::string out, err;
};

CliRun Cli(std::vector<std::string> args)
{
    std::ostringstream out, err;
    int code = RunCli(args, out, err);
    return {code, out.str(), err.str()};
}

TEST(CliInit, SeedsOnceAndNeverOverwrites)
{
    FixtureData data;
    const std::string folder = data.DataFolder().string();
    CliRun first = Cli({"--data-dir", folder, "init"});
    EXPECT_EQ(first.code, 0) << first.err;
    EXPECT_NE(first.out.find("tables.sqlite"), std::string::npos) << first.out;
    EXPECT_NE(first.out.find("nvnamn.txt"), std::string::npos) << first.out;

    testing::WriteFile(data.DataFolder() / "nvnamn.txt", "* mine\r\n");
    CliRun second = Cli({"--data-dir", folder, "init"});
    EXPECT_EQ(second.code, 0);
    EXPECT_NE(second.out.find("finns redan"), std::string::npos) << second.out;
    EXPECT_EQ(testing::ReadFile(data.DataFolder() / "nvnamn.txt"), "* mine\r\n");
}

TEST(CliFind, PrintsTheRecordOrSaysItIsMissing)
{
    FixtureData data;
    data.Table("nalvex100", "Kod\tLivsmedel\tPortionsstorlek\tEnhet\tEnergi _kJ_ _kJ_\n1\tBanan\t120\tst\t380\n");
    data.Table("nalvex2005", "Kod\tLivsmedel\n900\tGammal\n");
    const std::string folder = data.DataFolder().string();

    CliRun found = Cli({"--data-dir", folder, "find", "1"});
    EXPECT_EQ(found.code, 0) << found.err;
    EXPECT_NE(found.out.find("\"table\":\"nalvex100\""), std::string::npos) << found.out;
    EXPECT_NE(found.out.find("\"nutrients\":[380,-1,"), std::string::npos) << found.out;

    EXPECT_EQ(Cli({"--data-dir", folder, "find", "900"}).code, 0);
    CliRun notAdded = Cli({"--data-dir", folder, "find", "900", "--order", "add"});
    EXPECT_EQ(notAdded.code, 1);
    EXPECT_EQ(notAdded.out, "Livsmedel med nr 900 finns ej.\n");
    EXPECT_EQ(Cli({"--data-dir", folder, "find", "1", "--order", "sideways"}).code, 2);
}

TEST(CliErrors, BadFoldersAndFilesGiveAClearMessage)
{
    FixtureData data;
    testing::WriteFile(data.Work() / "afile", "x");
    CliRun notFolder = Cli({"--data-dir", (data.Work() / "afile").string(), "find", "1"});
    EXPECT_EQ(notFolder.code, 1);
    EXPECT_NE(notFolder.err.find("afile"), std::string::npos);

    std::filesystem::create_directories(data.DataFolder());
    testing::WriteFile(data.DataFolder() / "tables.sqlite", "garbage garbage garbage");
    CliRun corrupt = Cli({"--data-dir", data.DataFolder().string(), "find", "1"});
    EXPECT_EQ(corrupt.code, 1);
    EXPECT_NE(corrupt.err.find("tables.sqlite"), std::string::npos) << corrupt.err;

    EXPECT_EQ(Cli({}).code, 2);
    EXPECT_EQ(Cli({"fly"}).code, 2);
}

TEST(CliImportNational, ImportsReportsAndLeavesTheTableAloneOnBadFiles)
{
    FixtureData data;
    data.Table("nalvex100", "Kod\tLivsmedel\tPortionsstorlek\tEnhet\tEnergi _kJ_ _kJ_\n1\tBanan\t120\tst\t380\n");
    const std::string folder = data.DataFolder().string();
    const std::filesystem::path workbook = data.Work() / "export.xlsx";
    testing::WriteWorkbook(workbook, testing::ExportRows({"Livsmedelsnamn", "Livsmedelsnummer", "Energi (kJ)", "Okänd (g)"},
                                                         {{"Banan", "1", "370", "1"}, {"Kiwi", "7", "spår", "2"}}));

    CliRun before = Cli({"--data-dir", folder, "about"});
    EXPECT_EQ(before.code, 0);
    EXPECT_EQ(before.out, std::string("Velmora ") + VELMORA_VERSION +
                              "\nNationell livsmedelstabell: Startvärden för den nationella livsmedelstabellen "
                              "(ungefärliga värden)\n");

    CliRun dry = Cli({"--data-dir", folder, "import-national", workbook.string(), "--dry-run"});
    EXPECT_EQ(dry.code, 0) << dry.err;
    EXPECT_NE(dry.out.find("Nya livsmedel: 1\n"), std::string::npos) << dry.out;
    EXPECT_NE(dry.out.find("Provkörning: inget ändrades."), std::string::npos) << dry.out;
    EXPECT_EQ(Cli({"--data-dir", folder, "find", "7"}).code, 1);

    CliRun run = Cli({"--data-dir", folder, "import-national", workbook.string()});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out,
              "Livsmedelsverkets livsmedelsdatabas version 2022-05-24\n"
              "Nya livsmedel: 1\n"
              "Uppdaterade livsmedel: 1\n"
              "Flyttade till tidigare utgåvan (nalvex2005): 0\n"
              "Kolumner som inte lästes in: Okänd (g)\n"
              "Celler som inte var tal (lästa som uppgift saknas): 1\n");
    EXPECT_NE(Cli({"--data-dir", folder, "about"}).out.find("Livsmedelsverkets livsmedelsdatabas version 2022-05-24"),
              std::string::npos);
    CliRun banana = Cli({"--data-dir", folder, "find", "1"});
    EXPECT_NE(banana.out.find("\"unitWeight\":120"), std::string::npos) << banana.out;
    EXPECT_NE(banana.out.find("\"nutrients\":[370,-1,"), std::string::npos) << banana.out;
    EXPECT_NE(Cli({"--data-dir", folder, "find", "7"}).out.find("\"nutrients\":[-1,"), std::string::npos);

    // A cut-off copy fails without touching what the good import stored.
    const std::string bytes = testing::ReadBytes(workbook);
    const std::filesystem::path truncated = data.Work() / "truncated.xlsx";
    testing::WriteBytes(truncated, bytes.substr(0, bytes.size() / 2));
    CliRun bad = Cli({"--data-dir", folder, "import-national", truncated.string()});
    EXPECT_EQ(bad.code, 1);
    EXPECT_NE(bad.err.find("truncated.xlsx"), std::string::npos) << bad.err;
    EXPECT_NE(bad.err.find("oförändrad"), std::string::npos) << bad.err;
    EXPECT_EQ(Cli({"--data-dir", folder, "find", "1"}).out, banana.out);

    EXPECT_EQ(Cli({"--data-dir", folder, "import-national"}).code, 2);
}

}  // namespace
}  // namespace velmora
