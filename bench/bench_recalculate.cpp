// Recalculate on a full and on a typical workspace, and loading and saving calculation files.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "core/calcfile.h"
#include "core/recalculate.h"
#include "core/session.h"

namespace velmora {
namespace {

struct Workspace {
    std::filesystem::path folder;
    std::unique_ptr<ProgramState> state = std::make_unique<ProgramState>();
};

// A run on a data folder seeded from the shipped data, once per process.
ProgramState& SharedState()
{
    static Workspace workspace = [] {
        Workspace w;
        char pattern[] = "/tmp/velmora-bench-XXXXXX";
        w.folder = ::mkdtemp(pattern);
        Status status = StartSession(*w.state, w.folder / "data");
        if (!status) std::abort();
        return w;
    }();
    return *workspace.state;
}

// Rows filled from the national table, cycling through its foods.
void Fill(ProgramState& state, int days, int meals, int rows)
{
    state.calculation.ClearRows();
    Table& national = state.foodTables[FoodSource::Nalvex100];
    std::vector<FoodRecord> foods;
    for (national.First(); !national.Eof() && foods.size() < 300; national.Next()) {
        FoodRecord food = ReadFoodRecord(national);
        if (food.name != "RESERV") foods.push_back(food);
    }
    std::size_t next = 0;
    for (int d = 0; d < days; ++d) {
        for (int m = 0; m < meals; ++m) {
            for (int r = 1; r <= rows; ++r) {
                MealRow& row = state.calculation.Row(d, m, r);
                FillRowFromFood(row, foods[next++ % foods.size()]);
                row.grams = 50.0f + static_cast<float>(r);
                row.timeText = "12.00";
                row.timeSlot = 48;
            }
        }
    }
}

void BM_RecalculateFull(benchmark::State& bench)
{
    ProgramState& state = SharedState();
    Fill(state, kDays, kMeals, kLastRow);
    for (auto _ : bench) {
        Recalculate(state);
        benchmark::DoNotOptimize(state.totals->periodAverage);
    }
}
BENCHMARK(BM_RecalculateFull)->Unit(benchmark::kMillisecond);

void BM_RecalculateTypicalWeek(benchmark::State& bench)
{
    ProgramState& state = SharedState();
    Fill(state, 7, 5, 8);
    for (auto _ : bench) {
        Recalculate(state);
        benchmark::DoNotOptimize(state.totals->periodAverage);
    }
}
BENCHMARK(BM_RecalculateTypicalWeek)->Unit(benchmark::kMicrosecond);

// The floor Recalculate is measured against: copying every row's nutrient values once.
void BM_CopyNutrientsFull(benchmark::State& bench)
{
    ProgramState& state = SharedState();
    Fill(state, kDays, kMeals, kLastRow);
    auto target = std::make_unique<std::array<std::array<std::array<NutrientVector, kRowsPerMeal>, kMeals>, kDays>>();
    for (auto _ : bench) {
        for (int d = 0; d < kDays; ++d)
            for (int m = 0; m < kMeals; ++m)
                for (int r = 1; r <= kLastRow; ++r) (*target)[d][m][r] = state.calculation.Row(d, m, r).nutrients;
        benchmark::DoNotOptimize(target->data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyNutrientsFull)->Unit(benchmark::kMillisecond);

void SaveAndLoad(benchmark::State& bench, int days, int meals, int rows, bool load)
{
    ProgramState& state = SharedState();
    Fill(state, days, meals, rows);
    const auto file = std::filesystem::temp_directory_path() / ("velmora-bench-" + std::to_string(days) + ".diet");
    SilentPrompts prompts;
    state.presetFileName = file;
    if (!SaveCalculation(state, prompts)) std::abort();
    for (auto _ : bench) {
        state.presetFileName = file;
        if (load) {
            state.CalculationDirty = false;
            LoadCalculation(state, prompts);
        } else {
            SaveCalculation(state, prompts);
        }
    }
    state.presetFileName.reset();
}

void BM_SaveTypicalWeek(benchmark::State& bench) { SaveAndLoad(bench, 7, 5, 8, false); }
void BM_LoadTypicalWeek(benchmark::State& bench) { SaveAndLoad(bench, 7, 5, 8, true); }
void BM_SaveFull(benchmark::State& bench) { SaveAndLoad(bench, kDays, kMeals, kLastRow, false); }
void BM_LoadFull(benchmark::State& bench) { SaveAndLoad(bench, kDays, kMeals, kLastRow, true); }
BENCHMARK(BM_SaveTypicalWeek)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadTypicalWeek)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveFull)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadFull)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora

BENCHMARK_MAIN();
