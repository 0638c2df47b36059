#pragma once

// Shared by the fuzz targets: a scratch folder for the run, and a program state started on a small
// data folder whose tables are written here, for the readers that look foods and norms up.

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/programstate.h"
#include "core/session.h"
#include "core/text.h"
#include "platform/textfile.h"

namespace velmora::fuzz {

inline std::string_view Bytes(const std::uint8_t* data, std::size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

// Lines as every reader of the program gets them from ReadTextLines.
inline std::vector<std::string> Lines(std::string_view bytes, bool dosCodePage = false)
{
    std::vector<std::string> lines;
    TextReadOptions options;
    options.dosCodePage = dosCodePage;
    SplitTextLines(bytes, lines, options);
    return lines;
}

[[noreturn]] inline void Fail(const std::string& what)
{
    std::fprintf(stderr, "fuzz harness: %s\n", what.c_str());
    std::abort();
}

inline void WriteBytes(const std::filesystem::path& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) Fail("cannot write " + path.string());
}

// One folder per fuzzing process, removed when the process ends normally.
inline const std::filesystem::path& ScratchDir()
{
    // Never destroyed, so that the exit handler below still finds it.
    static const std::filesystem::path* dir = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "velmora-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) Fail("mkdtemp failed");
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(ScratchDir(), ignored);
        });
        return new std::filesystem::path(pattern);
    }();
    return *dir;
}

// A few foods in three of the tables (one with a wholesaler's article number), one standard norm
// and one per-kg norm: enough for codes in a fuzzed file to resolve now and then.
inline void WriteShippedData(const std::filesystem::path& shipped)
{
    std::filesystem::create_directories(shipped / "tables");
    WriteBytes(shipped / "nvnamn.txt",
               "* Namn, enhet och decimaler\r\n15 energi kJ,0\r\n16 energi kcal,0\r\n19 prot g,1\r\n"
               "20 fett g,1\r\n21 kolh g,1\r\n48 fibrer g,1\r\n");
    WriteBytes(shipped / "tables" / "nalvex100.tsv",
               "Kod\tLivsmedel\tPortionsstorlek\tEnhet\tGrossartnr\tkgpris\tport1\tenhet1\t"
               "Energi _kJ_ _kJ_\tProtein _g_\tFett _g_\n"
               "1\tBanan\t120\tst\t5001\t25\t60\thalv\t380\t1.2\t\n"
               "2\tMjölk\t100\tdl\t\t\t\t\t270\t3.4\t3\n"
               "10\tRågbröd\t35\tskiva\t\t40\t\t\t900\t7\t2\n");
    WriteBytes(shipped / "tables" / "fabrikant.tsv", "Kod\tLivsmedel\tPortionsstorlek\tEnhet\nF1\tVitamin C\t1\ttablett\n");
    WriteBytes(shipped / "tables" / "egna.tsv", "Kod\tLivsmedel\tPortionsstorlek\tEnhet\nE1\tGröt\t250\tportion\n");
    WriteBytes(shipped / "tables" / "normer.tsv",
               "Nr\tNorm\tEnergi _kJ_ _kJ_\tEnergi _kcal_ _kcal_\tProtein _g_\tFett _g_\tKolhydrater _g_\n"
               "4\tMän 31-60 år\t10460\t2500\t94\t87\t327\n18\tKvinnor 31-60 år\t8418\t2000\t75\t70\t261\n");
    WriteBytes(shipped / "tables" / "normkroppsvikt.tsv", "Nr\tNorm\tProtein _g_\tFett _g_\tKolhydrater _g_\n1\tVuxen\t0.8\t1\t4\n");
}

// Started once per process; a reader that fills the calculation gets it emptied by NewCalculation.
inline ProgramState& StartedState()
{
    static std::unique_ptr<ProgramState> state = [] {
        const std::filesystem::path shipped = ScratchDir() / "shipped";
        WriteShippedData(shipped);
        ::setenv("VELMORA_SHIPPED_DATA", shipped.c_str(), 1);
        auto started = std::make_unique<ProgramState>();
        if (Status status = StartSession(*started, ScratchDir() / "data"); !status) Fail(status.message);
        return started;
    }();
    return *state;
}

// Checks what a reader put into the calculation against what the rest of the program relies on
// (texts within their capacities, a time slot that indexes the quarter-hour totals, finite amounts),
// then empties it again as NewCalculation would. Only the rows the reader wrote are cleared: rewriting
// all 37,800 rows for every input would cost far more than the reading being fuzzed.
inline void CheckRowsThenEmpty(ProgramState& state)
{
    for (Day& day : *state.calculation.days) {
        for (Meal& meal : day) {
            for (MealRow& row : meal) {
                if (!row.IsUsed()) continue;
                if (CharacterCount(row.code) > 81 || CharacterCount(row.name) > 80 || CharacterCount(row.unit) > 16 ||
                    CharacterCount(row.timeText) > 5)
                    Fail("a row text over its capacity");
                if (row.timeSlot < 0 || row.timeSlot > 96) Fail("time slot out of range");
                if (!std::isfinite(row.grams) || !std::isfinite(row.unitWeight)) Fail("amount not finite");
                row.Clear();
            }
        }
    }
    state.calculation.wholeDay = false;
    state.diabetes = DiabetesData{};
    state.saveDate.clear();
}

}  // namespace velmora::fuzz
