#include "cli/cli.h"

#include <algorithm>
#include <optional>

#include "cli/json.h"
#include "core/calcfile.h"
#include "core/numbers.h"
#include "core/recalculate.h"
#include "core/session.h"
#include "foodtables/national_update.h"
#include "platform/datafolder.h"

namespace velmora {
namespace {

constexpr const char* kUsage =
    "Användning: velmora-cli [--data-dir MAPP] KOMMANDO\n"
    "  init                                   skapa och fyll datamappen\n"
    "  find KOD [--order add|load|old]        visa ett livsmedel som JSON\n"
    "  totals FIL.diet [--day D] [--no-alcohol] [--json]\n"
    "                                         summera en beräkning\n"
    "  save-as IN.diet UT.diet                hämta och spara en beräkning igen\n"
    "  import-national FIL.xlsx [--dry-run]   läs in Livsmedelsverkets export som nationell tabell\n"
    "  about                                  visa programversion och den nationella tabellens utgåva\n";

// Messages go to the error stream; questions are answered No, file dialogs are cancelled.
class CliPrompts : public Prompts {
public:
    explicit CliPrompts(std::ostream& err) : m_err(err) {}
    void inform(std::string_view text) override
    {
        m_err << text << '\n';
        m_messages.emplace_back(text);
    }
    Answer ask(std::string_view text, Buttons) override
    {
        m_err << text << " (Nej)\n";
        return Answer::No;
    }
    std::optional<std::string> input(std::string_view, std::string_view, std::string_view) override { return std::nullopt; }
    std::optional<std::filesystem::path> openFile(const FileDialog&) override { return std::nullopt; }
    std::optional<std::filesystem::path> saveFile(const FileDialog&) override { return std::nullopt; }
    bool Said(std::string_view text) const { return std::find(m_messages.begin(), m_messages.end(), text) != m_messages.end(); }

private:
    std::ostream& m_err;
    std::vector<std::string> m_messages;
};

struct Arguments {
    std::optional<std::filesystem::path> dataDir;
    std::vector<std::string> words;
    std::vector<std::string> flags;  // "--name" and "--name=value" kept as given
    std::optional<std::string> Flag(std::string_view name) const
    {
        for (std::size_t i = 0; i < flags.size(); ++i) {
            if (flags[i] == name) return std::string();
        }
        return std::nullopt;
    }
};

// Splits flags from words; flags that take a value consume the next argument.
std::optional<Arguments> ParseArguments(const std::vector<std::string>& args, std::ostream& err,
                                        std::vector<std::pair<std::string, std::string>>& values)
{
    static const std::vector<std::string> withValue{"--data-dir", "--order", "--day"};
    static const std::vector<std::string> plain{"--no-alcohol", "--json", "--dry-run"};
    Arguments parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (std::find(withValue.begin(), withValue.end(), arg) != withValue.end()) {
            if (i + 1 >= args.size()) {
                err << arg << " saknar värde\n";
                return std::nullopt;
            }
            values.emplace_back(arg, args[++i]);
            if (arg == "--data-dir") parsed.dataDir = std::filesystem::path(values.back().second);
        } else if (std::find(plain.begin(), plain.end(), arg) != plain.end()) {
            parsed.flags.push_back(arg);
        } else if (arg.size() > 1 && arg[0] == '-' && arg[1] == '-') {
            err << "Okänd flagga: " << arg << '\n';
            return std::nullopt;
        } else {
            parsed.words.push_back(arg);
        }
    }
    return parsed;
}

std::optional<std::string> Value(const std::vector<std::pair<std::string, std::string>>& values, std::string_view name)
{
    for (const auto& [key, value] : values) {
        if (key == name) return value;
    }
    return std::nullopt;
}

int Init(const std::filesystem::path& folder, std::ostream& out, std::ostream& err)
{
    std::vector<std::string> created;
    if (Status status = SeedDataFolder(folder, ShippedDataFolder(), created); !status) {
        err << status.message << '\n';
        return 1;
    }
    if (created.empty()) {
        out << "Datamappen " << folder.string() << " finns redan; inget ändrades.\n";
    } else {
        out << "Datamappen " << folder.string() << ":\n";
        for (const auto& name : created) out << "  skapade " << name << '\n';
    }
    return 0;
}

int Find(ProgramState& state, const std::string& code, std::string_view order, std::ostream& out)
{
    std::span<const FoodSource> sources = kLoadOrder;
    if (order == "add") sources = kAddOrder;
    else if (order == "old") sources = kOldFormatOrder;
    auto source = FindFood(state.foodTables, code, sources);
    if (!source) {
        out << "Livsmedel med nr " << code << " finns ej.\n";
        return 1;
    }
    FoodRecord food = ReadFoodRecord(state.foodTables[*source]);
    JsonWriter json;
    json.BeginObject();
    json.Key("table").String(FoodSourceTable(*source));
    json.Key("code").String(food.code);
    json.Key("name").String(food.name);
    json.Key("unit").String(food.unit);
    json.Key("unitWeight").Number(food.unitWeight);
    json.Key("pricePerKg").Number(food.pricePerKg);
    json.Key("wastePercent").Number(food.wastePercent);
    json.Key("note").String(food.note);
    json.Key("extraUnits").BeginArray();
    for (const ExtraUnit& unit : food.extraUnits) {
        json.BeginObject().Key("name").String(unit.name).Key("weight").Number(unit.weight).EndObject();
    }
    json.EndArray();
    json.Key("nutrients").Floats(food.nutrients);
    json.EndObject();
    out << json.Text() << '\n';
    return 0;
}

void WriteLevel(JsonWriter& json, const NutrientVector& totals, const MissingCounts& missing,
                const NutrientVector& percent, const EnergyShares& shares, float price)
{
    json.Key("totals").Floats(totals);
    json.Key("missing").Integers<std::int32_t>(missing);
    json.Key("percent").Floats(percent);
    json.Key("energyShares").Floats(shares);
    json.Key("price").Number(price);
}

std::string TotalsJson(const ProgramState& state, const std::string& file)
{
    const CalculationTotals& t = *state.totals;
    JsonWriter json;
    json.BeginObject();
    json.Key("file").String(file);
    json.Key("wholeDay").Bool(state.calculation.wholeDay);
    json.Key("norm").BeginObject();
    json.Key("kind").String(state.norm.kind);
    json.Key("text").String(state.norm.text);
    json.Key("values").Floats(state.norm.activeNorm);
    json.EndObject();
    json.Key("mealShares").Floats(state.MealShares);
    json.Key("countedDays").Integer(t.countedDays);
    json.Key("totalPrice").Number(t.totalPrice);
    json.Key("periodAverage").Floats(t.periodAverage);
    json.Key("periodMissing").Integers<std::int32_t>(t.periodMissing);
    json.Key("averagePercent").Floats(t.averagePercent);
    json.Key("averageEnergyShares").Floats(t.averageEnergyShares);
    json.Key("mealKindTotals").BeginArray();
    for (const auto& totals : t.mealKindTotals) json.Floats(totals);
    json.EndArray();
    json.Key("days").BeginArray();
    for (int d = 0; d < kDays; ++d) {
        json.BeginObject();
        WriteLevel(json, t.dayTotals[d], t.dayMissing[d], t.dayPercent[d], t.dayEnergyShares[d], t.dayPrice[d]);
        json.Key("meals").BeginArray();
        for (int m = 0; m < kMeals; ++m) {
            json.BeginObject();
            WriteLevel(json, t.mealTotals[d][m], t.mealMissing[d][m], t.mealPercent[d][m], t.mealEnergyShares[d][m],
                       t.mealPrice[d][m]);
            json.Key("rows").BeginArray();
            for (int r = 1; r <= kLastRow; ++r) {
                const MealRow& row = state.calculation.Row(d, m, r);
                if (!row.IsUsed()) continue;
                json.BeginObject();
                json.Key("row").Integer(r);
                json.Key("code").String(row.code);
                json.Key("name").String(row.name);
                json.Key("unit").String(row.unit);
                json.Key("unitWeight").Number(row.unitWeight);
                json.Key("grams").Number(row.grams);
                json.Key("timeText").String(row.timeText);
                json.Key("timeSlot").Integer(row.timeSlot);
                json.Key("pricePerKg").Number(row.pricePerKg);
                json.Key("percent").Floats(t.rowPercent[d][m][r]);
                json.EndObject();
            }
            json.EndArray();
            json.EndObject();
        }
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
    json.Key("timeSlotTotals").BeginArray();
    for (const auto& totals : t.timeSlotTotals) json.Floats(totals);
    json.EndArray();
    json.EndObject();
    return json.Text();
}

void TotalsSummary(const ProgramState& state, const std::string& file, std::ostream& out)
{
    const CalculationTotals& t = *state.totals;
    auto line = [&](const char* label, int s, const char* unit) {
        const auto i = static_cast<std::size_t>(SlotIndex(s));
        out << "  " << label << FormatFixed(t.periodAverage[i], 10, 1) << ' ' << unit << "   "
            << FormatFixed(t.averagePercent[i], 5, 0) << " % av normen\n";
    };
    out << file << '\n';
    out << state.norm.text << '\n';
    out << "Räknade dagar: " << t.countedDays << '\n';
    out << "Medelvärde per dag:\n";
    line("Energi      ", slot::kJ, "kJ  ");
    line("Energi      ", slot::kcal, "kcal");
    line("Protein     ", slot::protein, "g   ");
    line("Fett        ", slot::fat, "g   ");
    line("Kolhydrater ", slot::carbohydrate, "g   ");
    const auto& shares = t.averageEnergyShares;
    out << "Energifördelning: protein " << FormatFixed(shares[0], 0, 1) << " %, fett " << FormatFixed(shares[1], 0, 1)
        << " %, kolhydrater " << FormatFixed(shares[2], 0, 1) << " %, alkohol " << FormatFixed(shares[3], 0, 1)
        << " %\n";
    out << "Pris totalt: " << FormatFixed(t.totalPrice, 0, 2) << " kr\n";
}

// Needs only the tables file, not a whole session: an import must work before anything else does.
int ImportNational(const std::filesystem::path& folder, const std::filesystem::path& workbook, bool dryRun,
                   std::ostream& out, std::ostream& err)
{
    std::vector<std::string> created;
    if (Status status = SeedDataFolder(folder, ShippedDataFolder(), created); !status) {
        err << status.message << '\n';
        return 1;
    }
    Database db;
    if (Status status = db.Open(folder / kTablesFile); !status) {
        err << status.message << '\n';
        return 1;
    }
    NationalImportReport report;
    if (Status status = ImportNationalFile(db, folder, workbook, dryRun, report); !status) {
        err << status.message << '\n';
        return 1;
    }
    for (const std::string& line : DescribeImport(report)) out << line << '\n';
    return 0;
}

int About(const std::filesystem::path& folder, std::ostream& out)
{
    out << "Velmora " << VELMORA_VERSION << '\n';
    out << "Nationell livsmedelstabell: " << NationalEditionInUse(folder) << '\n';
    return 0;
}

int LoadInto(ProgramState& state, CliPrompts& prompts, const std::filesystem::path& file)
{
    if (!std::filesystem::is_regular_file(file)) {
        prompts.inform("Kan ej öppna beräkningen");
        return 1;
    }
    state.presetFileName = file;
    LoadCalculation(state, prompts);
    return prompts.Said("Kan ej öppna beräkningen") ? 1 : 0;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::vector<std::pair<std::string, std::string>> values;
    auto parsed = ParseArguments(args, err, values);
    if (!parsed || parsed->words.empty()) {
        err << kUsage;
        return 2;
    }
    const std::string command = parsed->words[0];
    const std::filesystem::path folder = ResolveDataFolder(parsed->dataDir);
    if (command == "init") return Init(folder, out, err);
    if (command == "about") {
        if (parsed->words.size() != 1) {
            err << kUsage;
            return 2;
        }
        return About(folder, out);
    }
    if (command == "import-national") {
        if (parsed->words.size() != 2) {
            err << kUsage;
            return 2;
        }
        return ImportNational(folder, parsed->words[1], parsed->Flag("--dry-run").has_value(), out, err);
    }

    auto state = std::make_unique<ProgramState>();
    if (command == "find" || command == "totals" || command == "save-as") {
        if (Status status = StartSession(*state, folder); !status) {
            err << status.message << '\n';
            return 1;
        }
    }
    CliPrompts prompts(err);
    if (command == "find") {
        if (parsed->words.size() != 2) {
            err << kUsage;
            return 2;
        }
        std::string order = Value(values, "--order").value_or("load");
        if (order != "add" && order != "load" && order != "old") {
            err << "--order tar add, load eller old\n";
            return 2;
        }
        return Find(*state, parsed->words[1], order, out);
    }
    if (command == "totals") {
        if (parsed->words.size() != 2) {
            err << kUsage;
            return 2;
        }
        const std::string file = parsed->words[1];
        if (parsed->Flag("--no-alcohol")) state->energyFactors.SetCountAlcohol(false);
        if (LoadInto(*state, prompts, file) != 0) return 1;
        if (auto day = Value(values, "--day")) {
            float d = 0;
            if (!TryParseDecimal(*day, d) || d < 0 || d >= kDays || d != static_cast<float>(static_cast<int>(d))) {
                err << "--day tar en dag 0.." << kDays - 1 << '\n';
                return 2;
            }
            state->CurrentDay = static_cast<int>(d);
        }
        Recalculate(*state);
        if (parsed->Flag("--json")) out << TotalsJson(*state, file) << '\n';
        else TotalsSummary(*state, file, out);
        return 0;
    }
    if (command == "save-as") {
        if (parsed->words.size() != 3) {
            err << kUsage;
            return 2;
        }
        if (LoadInto(*state, prompts, parsed->words[1]) != 0) return 1;
        state->presetFileName = std::filesystem::path(parsed->words[2]);
        if (!SaveCalculation(*state, prompts)) return 1;
        out << "Sparade " << std::filesystem::path(parsed->words[2]).replace_extension(".diet").string() << '\n';
        return 0;
    }
    err << "Okänt kommando: " << command << '\n' << kUsage;
    return 2;
}

}  // namespace velmora
