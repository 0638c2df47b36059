// Saves killed with SIGKILL at random moments. Whatever the moment, each file on disk is the
// complete old or the complete new version, byte for byte, and a temporary a killed save leaves
// behind is never taken for the file and is gone after the next save of that file.
// VELMORA_CRASH_ITERATIONS sets the number of kills per file (200 by default).

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <thread>

#include "core/calcfile.h"
#include "fixture.h"
#include "platform/textfile.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::FixtureData;
using testing::ReadFile;
using testing::TempDir;

int Iterations()
{
    const char* text = std::getenv("VELMORA_CRASH_ITERATIONS");
    const int n = text ? std::atoi(text) : 0;
    return n > 0 ? n : 200;
}

// Two versions of what the program replaces on disk, and the program's own save of each version
// into a folder. Every file the program replaces that way is one of the rows below; the lists of
// favourite and recent files get theirs beside the list-file row.
struct SavedFiles {
    std::function<bool(int version, const fs::path& folder)> save;
};

struct Case {
    const char* name;
    SavedFiles (*make)(FixtureData& data);
};

// Every meal of every day filled with 100 rows, so that the file is large (about 400 KB) and a kill
// often lands while it is being written. The versions differ in every amount and in the day names.
SavedFiles LargeCalculation(FixtureData& data)
{
    std::shared_ptr<ProgramState> state = data.Start();
    auto versions = std::make_shared<std::array<std::unique_ptr<Days>, 2>>();
    for (int v = 0; v < 2; ++v) {
        (*versions)[v] = std::make_unique<Days>();
        for (int d = 0; d < kDays; ++d) {
            for (int m = 0; m < kMeals; ++m) {
                for (int r = 1; r <= 100; ++r) {
                    MealRow& row = (*(*versions)[v])[d][m][r];
                    row.code = std::to_string(1 + (d + m + r) % 3);
                    row.name = "Livsmedel";
                    row.unit = "st";
                    row.unitWeight = 120;
                    row.grams = static_cast<float>(v * 1000 + r);
                    row.timeText = "08.15";
                }
            }
        }
    }
    state->calculation.dayNamesEdited = true;
    return {[state, versions](int v, const fs::path& folder) {
        state->calculation.days.swap((*versions)[v]);
        state->calculation.dayNames[0] = v == 0 ? "Måndag" : "Tisdag";
        state->presetFileName = folder / "vecka.diet";
        SilentPrompts quiet;
        const bool saved = SaveCalculation(*state, quiet);
        state->calculation.days.swap((*versions)[v]);
        return saved;
    }};
}

SavedFiles ParameterFile(FixtureData& data)
{
    std::shared_ptr<ProgramState> state = data.Start();
    return {[state](int v, const fs::path& folder) {
        using Cells = std::array<std::string, kMeals>;
        state->settings.mealShareCells = v == 0 ? Cells{"25", "30", "30", "15"} : Cells{"20", "35", "35", "5", "5"};
        return SaveParameterFile(*state, folder / "velmora.para").ok;
    }};
}

// A list file of the program written with WriteTextLines, one entry a line.
SavedFiles ListFile(FixtureData&)
{
    return {[](int v, const fs::path& folder) {
        std::vector<std::string> lines;
        for (int i = 0; i < 5000; ++i) lines.push_back("/home/anna/kost/vecka" + std::to_string(v * 10000 + i) + ".diet");
        return WriteTextLines(folder / "lista.txt", lines).ok;
    }};
}

void PrintTo(const Case& row, std::ostream* out) { *out << row.name; }

const Case kCases[] = {
    {"LargeCalculation", LargeCalculation},
    {"ParameterFile", ParameterFile},
    {"ListFile", ListFile},
};

enum class Outcome { Finished, Killed, Failed };

// Runs the save in a child process and kills it after `delay` (never, when negative).
Outcome SaveInChild(const std::function<bool()>& save, std::chrono::microseconds delay)
{
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(save() ? 0 : 1);
    if (pid < 0) return Outcome::Failed;
    if (delay.count() >= 0) {
        std::this_thread::sleep_for(delay);
        ::kill(pid, SIGKILL);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) return Outcome::Killed;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? Outcome::Finished : Outcome::Failed;
}

std::map<std::string, std::string> FilesIn(const fs::path& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.is_regular_file()) files[entry.path().filename().string()] = ReadFile(entry.path());
    }
    return files;
}

// The temporary SaveFileAtomic names after the file it replaces, or "" for any other name.
std::string TemporaryOf(const std::string& name)
{
    const std::size_t mark = name.rfind(".tmp-");
    if (name.size() < 2 || name[0] != '.' || mark == std::string::npos || name.size() != mark + 11) return {};
    return name.substr(1, mark - 1);
}

class KilledSave : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override { SetTodayForTesting([] { return std::string("2024-05-01"); }); }
    void TearDown() override { SetTodayForTesting(nullptr); }
};

TEST_P(KilledSave, LeavesTheOldOrTheNewFileAndNoStaleTemporary)
{
    FixtureData data;
    SavedFiles files = GetParam().make(data);
    TempDir dir;

    // Each version saved undisturbed once, as the reference of its bytes.
    std::array<std::map<std::string, std::string>, 2> reference;
    for (int v = 0; v < 2; ++v) {
        const fs::path folder = dir / ("version" + std::to_string(v));
        fs::create_directory(folder);
        ASSERT_TRUE(files.save(v, folder));
        reference[v] = FilesIn(folder);
    }
    ASSERT_FALSE(reference[0] == reference[1]);

    const fs::path target = dir / "target";
    fs::create_directory(target);
    ASSERT_TRUE(files.save(0, target));
    int onDisk = 0;

    // Kills spread over the time an undisturbed save takes (the slowest of three), and after it.
    std::chrono::microseconds saveTime{0};
    for (int i = 0; i < 3; ++i) {
        const auto started = std::chrono::steady_clock::now();
        ASSERT_EQ(SaveInChild([&] { return files.save(1, dir / "version1"); }, std::chrono::microseconds(-1)),
                  Outcome::Finished);
        saveTime = std::max(saveTime, std::chrono::duration_cast<std::chrono::microseconds>(
                                          std::chrono::steady_clock::now() - started));
    }
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed) + ", save time " + std::to_string(saveTime.count()) + " us");
    std::mt19937 random(seed);
    std::uniform_int_distribution<long long> delay(0, saveTime.count() * 3 / 2);

    int keptOld = 0, tookNew = 0;
    const int iterations = Iterations();
    for (int i = 0; i < iterations; ++i) {
        const int next = 1 - onDisk;
        const Outcome outcome = SaveInChild([&] { return files.save(next, target); }, std::chrono::microseconds(delay(random)));
        ASSERT_NE(outcome, Outcome::Failed) << "kill " << i << ": a save after killed ones failed";

        bool allNew = true;
        std::map<std::string, int> temporaries;
        for (const auto& [name, bytes] : FilesIn(target)) {
            if (std::string of = TemporaryOf(name); !of.empty()) {
                ASSERT_TRUE(reference[0].count(of)) << "kill " << i << ": temporary of an unknown file: " << name;
                ASSERT_LE(++temporaries[of], 1) << "kill " << i << ": stale temporaries of " << of << " pile up";
                continue;
            }
            ASSERT_TRUE(reference[next].count(name)) << "kill " << i << ": unexpected file " << name;
            const bool isNew = bytes == reference[next].at(name);
            ASSERT_TRUE(isNew || bytes == reference[onDisk].at(name))
                << "kill " << i << ": " << name << " is neither version (" << bytes.size() << " bytes)";
            allNew = allNew && isNew;
        }
        if (outcome == Outcome::Finished) {
            ASSERT_TRUE(allNew) << "kill " << i << ": a finished save left old bytes";
            ASSERT_TRUE(temporaries.empty()) << "kill " << i << ": a finished save left a temporary";
        }
        if (allNew) {
            onDisk = next;
            ++tookNew;
        } else {
            ++keptOld;
        }
    }
    // Had every kill landed on the same side of the rename, the test would have shown nothing.
    EXPECT_GT(keptOld, 0);
    EXPECT_GT(tookNew, 0);

    // A last undisturbed save replaces every file and clears what killed saves left.
    ASSERT_TRUE(files.save(1 - onDisk, target));
    EXPECT_TRUE(FilesIn(target) == reference[1 - onDisk]) << "files or temporaries differ from an undisturbed save";
}

INSTANTIATE_TEST_SUITE_P(Files, KilledSave, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace velmora
