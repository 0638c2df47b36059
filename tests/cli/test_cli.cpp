#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli.h"
#include "fixture.h"

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

}  // namespace
}  // namespace velmora
