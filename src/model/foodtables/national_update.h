#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/result.h"
#include "foodtables/national_import.h"
#include "platform/tablestore.h"

namespace velmora {

// What an import of the national export did (or, in a dry run, would have done).
struct NationalImportReport {
    std::string edition;  // "2022-05-24"; empty when the export's title row is missing
    bool dryRun = false;
    int added = 0;
    int updated = 0;
    int droppedToPrevious = 0;  // codes the edition no longer has, copied to nalvex2005
    std::vector<std::string> ignoredHeadings;
    int nonNumberCells = 0;
    // Export foods that were not stored: their code belongs to a Norwegian or Danish food of the
    // table, which the import keeps as it is.
    std::vector<std::string> codesHeldByNordicFoods;
    // Rows repeating a code of an earlier row; the first row is the one imported.
    std::vector<std::string> repeatedCodes;
};

// Replaces the content of nalvex100 by the export in one transaction; on any failure, and in a
// dry run, the tables are left as they were. What the user added to a food (units, unit weights,
// price, wholesaler, note, www) survives, as do the Norwegian and Danish foods and the "RESERV"
// placeholders. Foods the edition drops are copied to nalvex2005 first.
Status ImportNationalTable(Database& db, const NationalExport& exported, bool dryRun, NationalImportReport& report);

// Reads the workbook and imports it; unless it is a dry run, the data folder also records the
// edition now in use.
Status ImportNationalFile(Database& db, const std::filesystem::path& dataFolder, const std::filesystem::path& workbook,
                          bool dryRun, NationalImportReport& report);

inline constexpr const char* kNationalEditionFile = "nationaltabell.txt";
inline constexpr std::string_view kStarterEditionText =
    "Startvärden för den nationella livsmedelstabellen (ungefärliga värden)";

// "Livsmedelsverkets livsmedelsdatabas version 2022-05-24".
std::string NationalEditionLine(std::string_view edition);
// The edition of the national table in the data folder; the starter text when none was imported.
std::string NationalEditionInUse(const std::filesystem::path& dataFolder);

// The report as lines for the user, in Swedish.
std::vector<std::string> DescribeImport(const NationalImportReport& report);

}  // namespace velmora
