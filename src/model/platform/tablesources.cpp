#include "platform/tablesources.h"

#include <sqlite3.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "core/foodtables.h"
#include "core/numbers.h"
#include "core/text.h"

namespace velmora {
namespace {

std::vector<std::string_view> SplitTabs(std::string_view line)
{
    std::vector<std::string_view> cells;
    std::size_t start = 0;
    while (true) {
        std::size_t tab = line.find('\t', start);
        cells.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos) break;
        start = tab + 1;
    }
    return cells;
}

std::string Quote(std::string_view identifier) { return QuoteIdentifier(identifier); }

}  // namespace

Status ParseTableSource(std::string_view text, const TableDef& def, TableSource& out)
{
    out = {};
    bool haveHeader = false;
    int lineNumber = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        std::string_view line = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        start = end == std::string_view::npos ? text.size() : end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;

        std::vector<std::string_view> cells = SplitTabs(line);
        if (!haveHeader) {
            for (std::string_view name : cells) {
                int position = def.FieldPosition(name);
                if (position < 0) {
                    return Status::Error("Okänt fält \"" + std::string(name) + "\" i tabellen " + def.name, lineNumber);
                }
                for (int seen : out.positions) {
                    if (seen == position) return Status::Error("Fältet \"" + std::string(name) + "\" står två gånger", lineNumber);
                }
                out.positions.push_back(position);
            }
            haveHeader = true;
            continue;
        }
        if (cells.size() != out.positions.size()) {
            return Status::Error("Raden har " + std::to_string(cells.size()) + " fält, rubriken " +
                                     std::to_string(out.positions.size()),
                                 lineNumber);
        }
        std::vector<std::optional<std::string>> record(cells.size());
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (cells[i].empty()) continue;
            const FieldDef& field = def.fields[static_cast<std::size_t>(out.positions[i])];
            if (field.type != FieldType::Text) {
                float value = 0;
                std::string cell(cells[i]);
                if (cell.find(',') != std::string::npos || !TryParseDecimal(cell, value)) {
                    return Status::Error("Fältet " + field.name + " är inget tal: " + cell, lineNumber);
                }
                // The loader stores a whole-number field as a 64-bit integer; beyond that it has no value.
                if (field.type == FieldType::Integer && !(value > -9.2e18f && value < 9.2e18f)) {
                    return Status::Error("Fältet " + field.name + " är för stort: " + cell, lineNumber);
                }
            }
            record[i] = std::string(cells[i]);
        }
        out.records.push_back(std::move(record));
    }
    if (!haveHeader) return Status::Error("Rubrikraden saknas i tabellen " + def.name);
    return Status::Ok();
}

std::vector<const TableDef*> ShippedTableDefs()
{
    std::vector<const TableDef*> defs;
    for (int i = 0; i < kFoodSourceCount; ++i) defs.push_back(&FoodTableDef(static_cast<FoodSource>(i)));
    defs.push_back(&NormTableDef("normer"));
    defs.push_back(&NormTableDef("normkroppsvikt"));
    return defs;
}

Status LoadTableSource(Database& db, const TableDef& def, const TableSource& source)
{
    std::string names, marks;
    for (int position : source.positions) {
        if (!names.empty()) names += ", ", marks += ", ";
        names += Quote(def.fields[static_cast<std::size_t>(position)].name);
        marks += "?";
    }
    if (source.positions.empty()) return Status::Ok();
    std::string sql = "INSERT INTO " + Quote(def.name) + " (" + names + ") VALUES (" + marks + ")";
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db.Handle(), sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
        return Status::Error(def.name + ": " + db.LastError());
    }
    int recordNumber = 0;
    for (const auto& record : source.records) {
        ++recordNumber;
        sqlite3_reset(stmt);
        for (std::size_t i = 0; i < record.size(); ++i) {
            const FieldDef& field = def.fields[static_cast<std::size_t>(source.positions[i])];
            int parameter = static_cast<int>(i) + 1;
            if (!record[i]) {
                sqlite3_bind_null(stmt, parameter);
            } else if (field.type == FieldType::Real) {
                sqlite3_bind_double(stmt, parameter, ParseDecimal(*record[i]));
            } else if (field.type == FieldType::Integer) {
                sqlite3_bind_int64(stmt, parameter, static_cast<long long>(ParseDecimal(*record[i])));
            } else {
                std::string value = CutToCapacity(*record[i], static_cast<std::size_t>(field.capacity));
                sqlite3_bind_text(stmt, parameter, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
            }
        }
        if (sqlite3_step(stmt) != SQLITE_DONE) {
            std::string error = db.LastError();
            sqlite3_finalize(stmt);
            return Status::Error(def.name + ", post " + std::to_string(recordNumber) + ": " + error);
        }
    }
    sqlite3_finalize(stmt);
    return Status::Ok();
}

Status BuildTablesDatabase(const std::filesystem::path& sourceDir, const std::filesystem::path& dbPath)
{
    std::filesystem::path temporary = dbPath;
    temporary += ".building-" + std::to_string(::getpid());
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);

    Status result = [&]() -> Status {
        Database db;
        if (Status status = db.Open(temporary, true); !status) return status;
        if (Status status = db.Begin(); !status) return status;
        for (const TableDef* def : ShippedTableDefs()) {
            if (Status status = db.CreateTable(*def); !status) return Status::Error(def->name + ": " + status.message);
            std::filesystem::path sourcePath = sourceDir / (def->name + ".tsv");
            if (!std::filesystem::exists(sourcePath)) {
                if (def->name == "nalvex100") return Status::Error("Tabellkällan saknas: " + sourcePath.string());
                continue;
            }
            std::ifstream in(sourcePath, std::ios::binary);
            std::stringstream buffer;
            buffer << in.rdbuf();
            if (!in.good() && !in.eof()) return Status::Error("Kan inte läsa tabellkällan " + sourcePath.string());
            TableSource source;
            if (Status status = ParseTableSource(buffer.str(), *def, source); !status) {
                return Status::Error(sourcePath.string() + ", rad " + std::to_string(status.line) + ": " + status.message);
            }
            if (Status status = LoadTableSource(db, *def, source); !status) {
                return Status::Error(sourcePath.string() + ": " + status.message);
            }
        }
        if (Status status = db.Commit(); !status) return status;
        db.Close();
        return Status::Ok();
    }();

    if (!result) {
        std::filesystem::remove(temporary, ignored);
        return result;
    }
    std::filesystem::rename(temporary, dbPath, ignored);
    if (ignored) {
        std::filesystem::remove(temporary, ignored);
        return Status::Error("Kan inte skapa " + dbPath.string());
    }
    return Status::Ok();
}

}  // namespace velmora
