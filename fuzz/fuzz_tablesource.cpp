// The shipped table sources: the first byte picks the table, the rest is the source text. What the
// reader accepts is loaded into an in-memory database the way the table builder does, and rolled
// back.
#include "harness.h"
#include "platform/tablesources.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace velmora;
    static const std::vector<const TableDef*> defs = ShippedTableDefs();
    static Database& db = [] () -> Database& {
        static Database database;
        if (Status status = database.Open(":memory:", true); !status) fuzz::Fail(status.message);
        for (const TableDef* def : defs) {
            if (Status status = database.CreateTable(*def); !status) fuzz::Fail(status.message);
        }
        return database;
    }();
    if (size == 0) return 0;
    const TableDef& def = *defs[data[0] % defs.size()];
    TableSource source;
    if (!ParseTableSource(fuzz::Bytes(data + 1, size - 1), def, source)) return 0;
    if (!db.Begin()) fuzz::Fail("BEGIN failed");
    LoadTableSource(db, def, source);
    db.Rollback();
    return 0;
}
