// The food search runs on every pause in typing over the full indexes, and the indexes are built
// while the main window comes up; both must stay quick at the tables' full capacities.

#include <benchmark/benchmark.h>

#include <sqlite3.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "core/programstate.h"
#include "mainwindow/foodlist.h"

namespace {

using namespace velmora;

constexpr std::array kWords{"Mjölk",   "fett",  "Kyckling", "filé",    "stekt",  "kokt",   "Bröd",    "råg",
                            "Ost",     "lagrad", "Äpple",   "rött",    "Fisk",   "rökt",   "Soppa",   "tomat",
                            "Korv",    "grill", "Pasta",    "fullkorn", "Yoghurt", "vanilj", "Gröt",   "havre",
                            "Sallad",  "grön",  "Potatis",  "mos",     "Lax",    "gravad", "Juice",   "apelsin"};

// A name of three words from the list and a number, so that names differ and common words recur
// as they do in a real table.
std::string FoodName(std::size_t n)
{
    std::string name = kWords[(n * 7) % kWords.size()];
    name += ' ';
    name += kWords[(n * 13 + 1) % kWords.size()];
    name += ' ';
    name += kWords[(n * 3 + 5) % kWords.size()];
    name += ' ' + std::to_string(n);
    if (n % 17 == 0) name += "/NO";
    if (n % 19 == 0) name += "/DK";
    if (n % 101 == 0) name += " UTGÅTT";
    return name;
}

constexpr std::array<std::pair<FoodSource, std::size_t>, 4> kSizes{{{FoodSource::Nalvex100, kNationalIndexCapacity},
                                                                    {FoodSource::Fabrikant, kManufacturerIndexCapacity},
                                                                    {FoodSource::Egna, kOwnFoodIndexCapacity},
                                                                    {FoodSource::Dabas, kDabasIndexCapacity}}};

FoodIndex& IndexOf(FoodPickerState& picker, FoodSource source)
{
    switch (source) {
    case FoodSource::Fabrikant: return picker.manufacturers;
    case FoodSource::Egna: return picker.ownFoods;
    case FoodSource::Dabas: return picker.dabas;
    default: return picker.national;
    }
}

ProgramState& SearchState()
{
    static std::unique_ptr<ProgramState> state = [] {
        auto s = std::make_unique<ProgramState>();
        for (auto [source, size] : kSizes) {
            for (std::size_t n = 0; n < size; ++n) {
                IndexOf(s->picker, source).Add("c" + std::to_string(n), FoodName(n), "st", "100", "Grupp");
            }
        }
        s->picker.swedish = s->picker.norwegian = s->picker.danish = true;
        s->picker.dabasOn = true;
        s->picker.DabasLoaded = true;
        return s;
    }();
    return *state;
}

void SearchFoodList(benchmark::State& run, const char* text)
{
    ProgramState& state = SearchState();
    int matches = 0;
    for (auto _ : run) {
        matches = FillFoodList(state, text);
        benchmark::DoNotOptimize(state.picker.shown.data());
    }
    run.counters["matches"] = matches;
}
BENCHMARK_CAPTURE(SearchFoodList, short_word, "mj")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SearchFoodList, two_words, "kyckling fil")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SearchFoodList, one_letter, "a")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SearchFoodList, no_match, "qqq")->Unit(benchmark::kMillisecond);

// A tables.sqlite holding the four searched tables at full capacity.
class TablesFile {
public:
    TablesFile()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "velmora-bench-XXXXXX").string();
        m_folder = ::mkdtemp(pattern.data());
        Database db;
        db.Open(m_folder / "tables.sqlite", true);
        for (int i = 0; i < kFoodSourceCount; ++i) db.CreateTable(FoodTableDef(static_cast<FoodSource>(i)));
        db.Begin();
        for (auto [source, size] : kSizes) {
            const TableDef& def = FoodTableDef(source);
            std::string sql = "INSERT INTO \"" + def.name + "\" (\"Kod\", \"Livsmedel\", \"Portionsstorlek\", \"Enhet\", "
                              "\"Grupp1\", \"" + def.fields[14].name + "\") VALUES (?1, ?2, ?3, ?4, ?5, ?6)";
            sqlite3_stmt* stmt = nullptr;
            sqlite3_prepare_v2(db.Handle(), sql.c_str(), -1, &stmt, nullptr);
            for (std::size_t n = 0; n < size; ++n) {
                std::string code = (source == FoodSource::Dabas ? "dab7350" : "") + std::to_string(100000 + n);
                std::string name = FoodName(n);
                std::string group = "Grupp " + std::to_string(n % 60);
                sqlite3_bind_text(stmt, 1, code.c_str(), -1, SQLITE_TRANSIENT);
                sqlite3_bind_text(stmt, 2, name.c_str(), -1, SQLITE_TRANSIENT);
                sqlite3_bind_double(stmt, 3, 100.0 + static_cast<double>(n % 50));
                sqlite3_bind_text(stmt, 4, "st", -1, SQLITE_STATIC);
                sqlite3_bind_text(stmt, 5, group.c_str(), -1, SQLITE_TRANSIENT);
                sqlite3_bind_double(stmt, 6, 1000.0 + static_cast<double>(n % 700));
                sqlite3_step(stmt);
                sqlite3_reset(stmt);
            }
            sqlite3_finalize(stmt);
            // The other nutrients: every field of a record holds a value.
            std::string fill = "UPDATE \"" + def.name + "\" SET ";
            bool first = true;
            for (std::size_t f = 14; f < def.fields.size(); ++f) {
                if (def.fields[f].type != FieldType::Real) continue;
                fill += std::string(first ? "" : ", ") + "\"" + def.fields[f].name + "\" = 1.25";
                first = false;
            }
            db.Exec(fill);
        }
        db.Commit();
    }
    ~TablesFile()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
    std::filesystem::path Path() const { return m_folder / "tables.sqlite"; }

private:
    std::filesystem::path m_folder;
};

void BuildIndexes(benchmark::State& run)
{
    static TablesFile file;
    auto state = std::make_unique<ProgramState>();
    state->database.Open(file.Path());
    state->foodTables.Open(state->database);
    for (auto _ : run) {
        BuildFoodIndexes(*state);
        state->picker.DabasLoaded = false;
        state->picker.dabasCompanies.resize(1);
        LoadDabasIndex(*state);
    }
    run.counters["national"] = static_cast<double>(state->picker.national.Count());
    run.counters["dabas"] = static_cast<double>(state->picker.dabas.Count());
    run.counters["groups"] = static_cast<double>(state->picker.allGroups.size());
}
BENCHMARK(BuildIndexes)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
