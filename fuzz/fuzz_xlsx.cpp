// The food agency's export: a workbook read from a file, then its layout. A file that cannot be
// read gives a message and no rows.
#include <cmath>

#include "foodtables/national_import.h"
#include "foodtables/xlsx_reader.h"
#include "harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace velmora;
    static const std::filesystem::path path = fuzz::ScratchDir() / "export.xlsx";
    fuzz::WriteBytes(path, fuzz::Bytes(data, size));
    XlsxSheet sheet;
    Status read = ReadFirstSheet(path, sheet);
    if (!read) {
        if (!sheet.rows.empty() || read.message.empty()) fuzz::Fail("a failed read left rows or no message");
        return 0;
    }
    NationalExport parsed;
    ParseNationalExport(sheet, parsed);
    return 0;
}
