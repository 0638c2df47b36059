#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/nutrients.h"
#include "core/result.h"
#include "foodtables/xlsx_reader.h"

namespace velmora {

// One food of the national food agency's export, values per 100 g.
struct ImportedFood {
    std::string code;
    std::string name;
    std::string group;
    std::optional<float> wastePercent;
    NutrientVector nutrients{};  // kMissingValue where the export has no value
};

struct NationalExport {
    std::string edition;  // the date of the title row, "2022-05-24"; empty when the title is missing
    std::vector<ImportedFood> foods;
    // Headings the import has no place for (or a second column for the same place), each once, in
    // column order; the user is shown them so that nothing is dropped silently.
    std::vector<std::string> ignoredHeadings;
    // Cells where a number belongs that hold something else; they are imported as missing.
    int nonNumberCells = 0;
};

// Reads the export's layout: title row, heading row (found by its "Livsmedelsnamn" column), then one
// food per row. Columns are found by heading, so their order does not matter.
Status ParseNationalExport(const XlsxSheet& sheet, NationalExport& out);

}  // namespace velmora
