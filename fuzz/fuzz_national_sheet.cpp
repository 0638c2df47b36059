// The export's layout on its own, without the zip and XML around it: lines are rows and tabs
// separate cells, so that mutations reach the heading and value rules directly. Every food read
// has a code, and every value is the missing mark or a finite amount of at least 0.
#include <cmath>

#include "foodtables/national_import.h"
#include "harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace velmora;
    XlsxSheet sheet;
    std::vector<std::string> row(1);
    for (char c : fuzz::Bytes(data, size)) {
        if (c == '\n') {
            sheet.rows.push_back(std::move(row));
            row.assign(1, {});
        } else if (c == '\t') {
            row.emplace_back();
        } else {
            row.back() += c;
        }
    }
    sheet.rows.push_back(std::move(row));

    NationalExport parsed;
    if (!ParseNationalExport(sheet, parsed)) {
        if (!parsed.foods.empty()) fuzz::Fail("a refused export kept foods");
        return 0;
    }
    for (const ImportedFood& food : parsed.foods) {
        if (food.code.empty()) fuzz::Fail("food without a code");
        for (float value : food.nutrients) {
            if (value != kMissingValue && !(std::isfinite(value) && value >= 0.0f)) fuzz::Fail("bad nutrient value");
        }
        if (food.wastePercent && !(std::isfinite(*food.wastePercent) && *food.wastePercent >= 0.0f))
            fuzz::Fail("bad waste percent");
    }
    return 0;
}
