#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/result.h"
#include "platform/tablestore.h"

namespace velmora {

// A shipped table source: UTF-8 text, "#" comment lines, one header line of tab-separated field
// names (any subset of the table's fields, any order), then one record per line. An empty cell is an
// empty field.
struct TableSource {
    std::vector<int> positions;  // field position of each column
    std::vector<std::vector<std::optional<std::string>>> records;
};

Status ParseTableSource(std::string_view text, const TableDef& def, TableSource& out);

// Every table the data folder's database holds, in creation order.
std::vector<const TableDef*> ShippedTableDefs();

// Builds tables.sqlite from the sources in sourceDir (a missing source gives an empty table, except
// the national table, which must be there). The database appears complete or not at all.
Status BuildTablesDatabase(const std::filesystem::path& sourceDir, const std::filesystem::path& dbPath);

// Fills one open table from a source text (used by the builder and by tests).
Status LoadTableSource(Database& db, const TableDef& def, const TableSource& source);

}  // namespace velmora
