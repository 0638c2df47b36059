// Saving a calculation where the file system refuses it: a full disk and a read-only one. The
// user is told, the old file stays byte for byte, and the calculation stays unsaved. The folders
// are small tmpfs mounts of the test's own; where mounting is not allowed the tests skip.

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>

#include "core/calcfile.h"
#include "fixture.h"
#include "scriptedprompts.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::FixtureData;
using testing::ReadFile;
using testing::ScriptedPrompts;
using testing::TempDir;

// A few rows (a file well under a page), or every row of every meal (far beyond the disk's 64 KiB).
enum class Size { Small, Large };

void FillRows(ProgramState& state, Size size, float grams)
{
    state.calculation.ClearRows();
    const bool large = size == Size::Large;
    for (int d = 0; d < (large ? kDays : 1); ++d) {
        for (int m = 0; m < (large ? kMeals : 1); ++m) {
            for (int r = 1; r <= (large ? kLastRow : 20); ++r) {
                MealRow& row = state.calculation.Row(d, m, r);
                row.code = "1";
                row.unit = "st";
                row.unitWeight = 120;
                row.grams = grams + static_cast<float>(r);
            }
        }
    }
}

void FillDisk(const fs::path& folder)
{
    std::ofstream filler(folder / "fyllnad", std::ios::binary);
    const std::string block(4096, 'x');
    while (filler.write(block.data(), static_cast<std::streamsize>(block.size()))) {
        filler.flush();
    }
}

void Remount(const fs::path& folder, unsigned long readOnly)
{
    ASSERT_EQ(::mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | readOnly, "size=64k"), 0) << std::strerror(errno);
}

struct Refusal {
    const char* name;
    Size newSize;  // of the calculation that fails to save; the old one is small
    void (*refuse)(const fs::path& folder);
    void (*allow)(const fs::path& folder);
};

void PrintTo(const Refusal& row, std::ostream* out) { *out << row.name; }

const Refusal kRefusals[] = {
    // The new file does not fit where the old one did.
    {"NewFileTooLargeForTheDisk", Size::Large, [](const fs::path&) {}, [](const fs::path&) {}},
    {"DiskAlreadyFull", Size::Small, FillDisk, [](const fs::path& folder) { fs::remove(folder / "fyllnad"); }},
    {"ReadOnlyFileSystem", Size::Small, [](const fs::path& folder) { Remount(folder, MS_RDONLY); },
     [](const fs::path& folder) { Remount(folder, 0); }},
};

class RefusedSave : public ::testing::TestWithParam<Refusal> {
protected:
    void SetUp() override
    {
        if (::geteuid() != 0) GTEST_SKIP() << "mounting a small file system needs root";
        if (::mount("tmpfs", m_mountPoint.path().c_str(), "tmpfs", 0, "size=64k") != 0)
            GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
        m_mounted = true;
        SetTodayForTesting([] { return std::string("2024-05-01"); });
    }
    void TearDown() override
    {
        SetTodayForTesting(nullptr);
        if (m_mounted) ::umount2(m_mountPoint.path().c_str(), MNT_DETACH);
    }
    const fs::path& Folder() const { return m_mountPoint.path(); }

private:
    TempDir m_mountPoint;
    bool m_mounted = false;
};

TEST_P(RefusedSave, TellsTheUserAndKeepsTheOldFileAndTheUnsavedState)
{
    const Refusal& refusal = GetParam();
    FixtureData data;
    auto state = data.Start();
    const fs::path file = Folder() / "vecka.diet";
    ScriptedPrompts prompts;

    FillRows(*state, Size::Small, 10);
    state->presetFileName = file;
    ASSERT_TRUE(SaveCalculation(*state, prompts));
    const std::string old = ReadFile(file);
    ASSERT_FALSE(old.empty());

    FillRows(*state, refusal.newSize, 500);
    state->CalculationDirty = true;
    refusal.refuse(Folder());
    prompts.messages.clear();
    EXPECT_FALSE(SaveCalculation(*state, prompts));
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"Kan ej spara beräkningen"});
    EXPECT_TRUE(ReadFile(file) == old) << "the old file changed";
    EXPECT_TRUE(state->CalculationDirty);
    for (const auto& entry : fs::directory_iterator(Folder())) {
        EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos) << entry.path();
    }

    // Once there is room again, the same save goes through.
    refusal.allow(Folder());
    if (refusal.newSize == Size::Large) FillRows(*state, Size::Small, 500);
    prompts.messages.clear();
    EXPECT_TRUE(SaveCalculation(*state, prompts));
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_FALSE(state->CalculationDirty);
    EXPECT_NE(ReadFile(file), old);
}

INSTANTIATE_TEST_SUITE_P(FileSystems, RefusedSave, ::testing::ValuesIn(kRefusals),
                         [](const ::testing::TestParamInfo<Refusal>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace velmora
