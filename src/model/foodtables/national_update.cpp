#include "foodtables/national_update.h"

#include <sqlite3.h>

#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "core/foodtables.h"
#include "core/text.h"
#include "platform/textfile.h"

namespace velmora {
namespace {

constexpr std::string_view kUnchanged = " Livsmedelstabellen är oförändrad.";

std::string Quote(std::string_view identifier) { return QuoteIdentifier(identifier); }

// One prepared statement, reused for every food: preparing per row would cost more than the work.
class Statement {
public:
    Statement(Database& db, const std::string& sql) : m_db(db)
    {
        if (sqlite3_prepare_v2(db.Handle(), sql.c_str(), -1, &m_stmt, nullptr) != SQLITE_OK) {
            sqlite3_finalize(m_stmt);
            m_stmt = nullptr;
            m_error = db.LastError();
        }
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool Prepared() const { return m_stmt != nullptr; }
    const std::string& Error() const { return m_error; }
    sqlite3_stmt* Get() const { return m_stmt; }

    Statement& Text(int parameter, std::string_view text)
    {
        sqlite3_bind_text(m_stmt, parameter, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement& Number(int parameter, std::optional<float> value)
    {
        if (value) sqlite3_bind_double(m_stmt, parameter, static_cast<double>(*value));
        else sqlite3_bind_null(m_stmt, parameter);
        return *this;
    }
    // Runs a statement that returns no rows and makes it ready for the next use.
    bool Run()
    {
        const int rc = sqlite3_step(m_stmt);
        if (rc != SQLITE_DONE) m_error = m_db.LastError();
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
        return rc == SQLITE_DONE;
    }

private:
    Database& m_db;
    sqlite3_stmt* m_stmt = nullptr;
    std::string m_error;
};

Status Failure(std::string_view what, std::string_view error)
{
    return Status::Error("Livsmedelstabellen kunde inte läsas in (" + std::string(what) + "): " + std::string(error) +
                         "." + std::string(kUnchanged));
}

struct ExistingFood {
    bool nordic = false;       // kept as it is: the export never has these
    bool placeholder = false;  // a "RESERV" record holding a code free
};

bool IsNordicName(std::string_view name)
{
    return name.find("/NO") != std::string_view::npos || name.find("/DK") != std::string_view::npos;
}

bool IsPlaceholderName(std::string_view name)
{
    while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
    return StartsWith(name, "RESERV");
}

int Capacity(const TableDef& def, std::string_view field)
{
    return def.fields[static_cast<std::size_t>(def.FieldPosition(field))].capacity;
}

// The fields the export owns, in the order BindExported binds them.
std::vector<std::string> ExportedFields(const TableDef& def)
{
    std::vector<std::string> fields{"Livsmedel", "Grupp1", "Avfall _%_"};
    for (int s = kFirstNutrientSlot; s <= kLastNutrientSlot; ++s)
        fields.push_back(def.fields[static_cast<std::size_t>(SlotFieldPosition(s))].name);
    return fields;
}

// Binds the exported fields from parameter `first` on; returns the next free parameter.
int BindExported(Statement& stmt, int first, const ImportedFood& food, const TableDef& def)
{
    int p = first;
    stmt.Text(p++, CutToCapacity(food.name, static_cast<std::size_t>(Capacity(def, "Livsmedel"))));
    stmt.Text(p++, CutToCapacity(food.group, static_cast<std::size_t>(Capacity(def, "Grupp1"))));
    stmt.Number(p++, food.wastePercent);
    for (float value : food.nutrients) {
        // The missing mark is stored as an empty field: the tables hold no negative amounts.
        stmt.Number(p++, value < 0.0f ? std::nullopt : std::optional<float>(value));
    }
    return p;
}

// The whole replacement; the caller owns the transaction.
Status ApplyExport(Database& db, const NationalExport& exported, NationalImportReport& report)
{
    const TableDef& national = FoodTableDef(FoodSource::Nalvex100);
    const TableDef& previous = FoodTableDef(FoodSource::Nalvex2005);
    if (!db.HasTable(national.name)) return Failure(national.name, "tabellen saknas");
    if (!db.HasTable(previous.name)) {
        if (Status status = db.CreateTable(previous); !status) return Failure(previous.name, status.message);
    }
    const std::string nationalName = Quote(national.name);
    const std::string previousName = Quote(previous.name);

    std::unordered_map<std::string, ExistingFood> existing;
    {
        Statement select(db, "SELECT \"Kod\", \"Livsmedel\" FROM " + nationalName);
        if (!select.Prepared()) return Failure(national.name, select.Error());
        int rc = SQLITE_ROW;
        while ((rc = sqlite3_step(select.Get())) == SQLITE_ROW) {
            const auto* code = reinterpret_cast<const char*>(sqlite3_column_text(select.Get(), 0));
            const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(select.Get(), 1));
            if (!code) continue;  // a record without code is nobody's; leave it alone
            const std::string_view nameText = name ? name : "";
            existing[code] = ExistingFood{IsNordicName(nameText), IsPlaceholderName(nameText)};
        }
        if (rc != SQLITE_DONE) return Failure(national.name, db.LastError());
    }

    // The foods to store, each code once; codes are cut as the field would cut them, so that two
    // long codes that become one are caught here and not by the unique index.
    const auto codeCapacity = static_cast<std::size_t>(Capacity(national, "Kod"));
    std::vector<std::pair<const ImportedFood*, std::string>> foods;
    std::unordered_set<std::string> exportCodes;
    for (const ImportedFood& food : exported.foods) {
        std::string code = CutToCapacity(food.code, codeCapacity);
        if (!exportCodes.insert(code).second) {
            report.repeatedCodes.push_back(code);
            continue;
        }
        if (auto it = existing.find(code); it != existing.end() && it->second.nordic) {
            report.codesHeldByNordicFoods.push_back(code);
            continue;
        }
        foods.emplace_back(&food, std::move(code));
    }

    // Dropped codes go to the previous edition first, so that old calculations still find them.
    std::string previousColumns;
    for (const FieldDef& field : previous.fields) {
        if (national.FieldPosition(field.name) < 0) continue;
        if (!previousColumns.empty()) previousColumns += ", ";
        previousColumns += Quote(field.name);
    }
    Statement clearPrevious(db, "DELETE FROM " + previousName + " WHERE \"Kod\" = ?1");
    Statement copyToPrevious(db, "INSERT INTO " + previousName + " (" + previousColumns + ") SELECT " +
                                     previousColumns + " FROM " + nationalName + " WHERE \"Kod\" = ?1");
    Statement remove(db, "DELETE FROM " + nationalName + " WHERE \"Kod\" = ?1");
    for (const Statement* stmt : {&clearPrevious, &copyToPrevious, &remove})
        if (!stmt->Prepared()) return Failure(previous.name, stmt->Error());
    for (const auto& [code, food] : existing) {
        if (food.nordic || food.placeholder || exportCodes.contains(code)) continue;
        if (!clearPrevious.Text(1, code).Run()) return Failure(previous.name, clearPrevious.Error());
        if (!copyToPrevious.Text(1, code).Run()) return Failure(previous.name, copyToPrevious.Error());
        if (!remove.Text(1, code).Run()) return Failure(national.name, remove.Error());
        ++report.droppedToPrevious;
    }

    const std::vector<std::string> fields = ExportedFields(national);
    std::string sets, names, marks;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i) sets += ", ", names += ", ", marks += ", ";
        sets += Quote(fields[i]) + " = ?" + std::to_string(i + 1);
        names += Quote(fields[i]);
        marks += "?" + std::to_string(i + 1);
    }
    const auto n = static_cast<int>(fields.size());
    // An update sets only what the export owns: everything the user keeps on a food stays.
    Statement update(db, "UPDATE " + nationalName + " SET " + sets + " WHERE \"Kod\" = ?" + std::to_string(n + 1));
    Statement insert(db, "INSERT INTO " + nationalName + " (" + names + ", \"Kod\", \"Enhet\", \"Portionsstorlek\") VALUES (" +
                             marks + ", ?" + std::to_string(n + 1) + ", 'port', 100)");
    if (!update.Prepared()) return Failure(national.name, update.Error());
    if (!insert.Prepared()) return Failure(national.name, insert.Error());

    for (const auto& [food, code] : foods) {
        const auto it = existing.find(code);
        if (it != existing.end() && !it->second.placeholder) {
            update.Text(BindExported(update, 1, *food, national), code);
            if (!update.Run()) return Failure("livsmedel " + code, update.Error());
            ++report.updated;
            continue;
        }
        // A placeholder whose code the edition now uses becomes a new food.
        if (it != existing.end() && !remove.Text(1, code).Run()) return Failure("livsmedel " + code, remove.Error());
        insert.Text(BindExported(insert, 1, *food, national), code);
        if (!insert.Run()) return Failure("livsmedel " + code, insert.Error());
        ++report.added;
    }
    return Status::Ok();
}

Status Prepare(const NationalExport& exported, bool dryRun, NationalImportReport& report)
{
    report = NationalImportReport{};
    report.edition = exported.edition;
    report.dryRun = dryRun;
    report.ignoredHeadings = exported.ignoredHeadings;
    report.nonNumberCells = exported.nonNumberCells;
    // An export without foods would move the whole table to the previous edition.
    if (exported.foods.empty())
        return Status::Error("Filen innehåller inga livsmedel under rubrikraden." + std::string(kUnchanged));
    return Status::Ok();
}

Status BeginImport(Database& db)
{
    if (Status status = db.Begin(); !status)
        return Status::Error("Tabellfilen kan inte ändras just nu (" + status.message + ")." + std::string(kUnchanged));
    return Status::Ok();
}

}  // namespace

Status ImportNationalTable(Database& db, const NationalExport& exported, bool dryRun, NationalImportReport& report)
{
    if (Status status = Prepare(exported, dryRun, report); !status) return status;
    if (Status status = BeginImport(db); !status) return status;
    Status status = ApplyExport(db, exported, report);
    if (!status || dryRun) {
        db.Rollback();
        return status;
    }
    if (Status commit = db.Commit(); !commit) {
        db.Rollback();
        return Failure("COMMIT", commit.message);
    }
    return Status::Ok();
}

Status ImportNationalFile(Database& db, const std::filesystem::path& dataFolder, const std::filesystem::path& workbook,
                          bool dryRun, NationalImportReport& report)
{
    report = NationalImportReport{};
    NationalExport exported;
    {
        XlsxSheet sheet;
        if (Status status = ReadFirstSheet(workbook, sheet); !status)
            return Status::Error(status.message + std::string(kUnchanged));
        if (Status status = ParseNationalExport(sheet, exported); !status)
            return Status::Error(workbook.string() + ": " + status.message + std::string(kUnchanged), status.line);
    }
    if (dryRun) return ImportNationalTable(db, exported, true, report);

    if (Status status = Prepare(exported, false, report); !status) return status;
    if (Status status = BeginImport(db); !status) return status;
    if (Status status = ApplyExport(db, exported, report); !status) {
        db.Rollback();
        return status;
    }
    // The edition file is written before the commit and put back if the commit fails, so that the
    // edition shown never belongs to a table the user does not have.
    const std::filesystem::path editionFile = dataFolder / kNationalEditionFile;
    std::vector<std::string> before;
    std::error_code ignored;
    const bool hadFile = std::filesystem::exists(editionFile, ignored) && ReadTextLines(editionFile, before);
    if (Status status = WriteTextLines(editionFile, {NationalEditionLine(exported.edition)}); !status) {
        db.Rollback();
        return Status::Error(status.message + std::string(kUnchanged));
    }
    if (Status commit = db.Commit(); !commit) {
        db.Rollback();
        if (hadFile) WriteTextLines(editionFile, before);
        else std::filesystem::remove(editionFile, ignored);
        return Failure("COMMIT", commit.message);
    }
    return Status::Ok();
}

std::string NationalEditionLine(std::string_view edition)
{
    if (edition.empty()) return "Livsmedelsverkets livsmedelsdatabas (version okänd)";
    return "Livsmedelsverkets livsmedelsdatabas version " + std::string(edition);
}

std::string NationalEditionInUse(const std::filesystem::path& dataFolder)
{
    std::vector<std::string> lines;
    if (ReadTextLines(dataFolder / kNationalEditionFile, lines)) {
        for (const std::string& line : lines)
            if (!line.empty()) return line;
    }
    return std::string(kStarterEditionText);
}

std::vector<std::string> DescribeImport(const NationalImportReport& report)
{
    const auto joined = [](const std::vector<std::string>& items, std::string_view separator) {
        std::string text;
        for (const std::string& item : items) {
            if (!text.empty()) text += separator;
            text += item;
        }
        return text;
    };
    std::vector<std::string> lines{
        NationalEditionLine(report.edition),
        "Nya livsmedel: " + std::to_string(report.added),
        "Uppdaterade livsmedel: " + std::to_string(report.updated),
        "Flyttade till tidigare utgåvan (nalvex2005): " + std::to_string(report.droppedToPrevious),
        "Kolumner som inte lästes in: " +
            (report.ignoredHeadings.empty() ? std::string("inga") : joined(report.ignoredHeadings, "; ")),
        "Celler som inte var tal (lästa som uppgift saknas): " + std::to_string(report.nonNumberCells),
    };
    if (!report.codesHeldByNordicFoods.empty())
        lines.push_back("Inte inlästa, numret hör till ett norskt eller danskt livsmedel: " +
                        joined(report.codesHeldByNordicFoods, ", "));
    if (!report.repeatedCodes.empty())
        lines.push_back("Inte inlästa, numret fanns redan på en tidigare rad: " + joined(report.repeatedCodes, ", "));
    if (report.dryRun) lines.push_back("Provkörning: inget ändrades.");
    return lines;
}

}  // namespace velmora
