#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/result.h"

namespace velmora {

// The cell texts of one worksheet, row-major. Row and column 0 are the sheet's row 1 and column A.
// Rows and cells the file leaves out or stores empty are empty strings; each row ends at its last
// non-empty cell, so rows differ in length. Numbers keep the text the file stores ("2746", "0.07").
struct XlsxSheet {
    std::vector<std::vector<std::string>> rows;
};

// Reads the first worksheet (in the workbook's own order) of an Excel workbook. Any failure,
// including a damaged or hostile file, comes back as a message naming the file; `out` is then empty.
Status ReadFirstSheet(const std::filesystem::path& file, XlsxSheet& out);

}  // namespace velmora
