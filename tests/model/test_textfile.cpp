#include <gtest/gtest.h>

#include "fixture.h"
#include "platform/textfile.h"

namespace velmora {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

TEST(Windows1252, RoundTripsNationalLettersAndEuro)
{
    const std::string text = "åäöÅÄÖé€";
    const std::string bytes = EncodeWindows1252(text);
    EXPECT_EQ(bytes, "\xE5\xE4\xF6\xC5\xC4\xD6\xE9\x80");
    EXPECT_EQ(DecodeWindows1252(bytes), text);
    // Every byte decodes and encodes back to itself.
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    bool lossy = false;
    EXPECT_EQ(EncodeWindows1252(DecodeWindows1252(all), &lossy), all);
    EXPECT_FALSE(lossy);
}

TEST(Windows1252, ReportsCharactersItCannotHold)
{
    bool lossy = false;
    EXPECT_EQ(EncodeWindows1252("a\u0416b\xFF", &lossy), "a?b?");
    EXPECT_TRUE(lossy);
}

TEST(DosToAnsiLine, MapsTheNineLettersOnly)
{
    EXPECT_EQ(DosToAnsiLine("\x8E\x8F\x99\x84\x86\x94\xF8\x8A\x82 x\x81"), "\xC4\xC5\xD6\xE4\xE5\xF6\xB0\xE8\xE9 x\x81");
}

TEST(TextLines, SplitsAnyLineEndAndStopsAtAnOverlongLine)
{
    std::vector<std::string> lines;
    SplitTextLines("a\r\nb\nc\rd", lines, {});
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "c", "d"}));

    TempDir dir;
    WriteFile(dir / "long.txt", "first\r\n" + std::string(kMaxLineBytes + 1, 'x') + "\r\nlast\r\n");
    lines.clear();
    Status status = ReadTextLines(dir / "long.txt", lines);
    EXPECT_FALSE(status.ok);
    EXPECT_EQ(lines, std::vector<std::string>{"first"});
}

TEST(SaveFileAtomic, FailureLeavesTheOldFileAndNoTemporary)
{
    TempDir dir;
    const auto target = dir / "calc.diet";
    ASSERT_TRUE(WriteTextLines(target, {"old", "file"}));
    EXPECT_EQ(ReadFile(target), "old\r\nfile\r\n");

    SetSaveFailureAfterBytesForTesting(3);
    Status status = WriteTextLines(target, {"a much longer new file"});
    SetSaveFailureAfterBytesForTesting(-1);
    EXPECT_FALSE(status.ok);
    EXPECT_EQ(ReadFile(target), "old\r\nfile\r\n");
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 1);

    ASSERT_TRUE(WriteTextLines(target, {"new"}));
    EXPECT_EQ(ReadFile(target), "new\r\n");
}

TEST(SaveFileAtomic, ReadOnlyFolderFailsCleanly)
{
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    TempDir dir;
    const auto target = dir / "calc.diet";
    ASSERT_TRUE(WriteTextLines(target, {"old"}));
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_FALSE(WriteTextLines(target, {"new"}).ok);
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all);
    EXPECT_EQ(ReadFile(target), "old\r\n");
}

}  // namespace
}  // namespace velmora
