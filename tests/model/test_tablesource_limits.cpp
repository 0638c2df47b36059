#include <gtest/gtest.h>

#include "core/foodtables.h"
#include "platform/tablesources.h"

namespace velmora {
namespace {

// A whole-number field is stored as a 64-bit integer: a source value beyond that is refused when the
// source is read, instead of turning into an undefined conversion while the table is built.
TEST(TableSource, RefusesWholeNumbersTheTableCannotStore)
{
    const TableDef& def = NormTableDef("normer");
    struct Case {
        const char* text;
        bool ok;
    };
    const Case cases[] = {
        {"Nr\tNorm\n18\tKvinnor\n", true},
        {"Nr\n9e18\n", true},
        {"Nr\n-9e18\n", true},
        {"Nr\n1e19\n", false},
        {"Nr\n-1e19\n", false},
        {"Nr\tNorm\r\n186666666666666666666666666\tx\r\n", false},
        {"Nr\n3e38\n", false},
    };
    for (const auto& c : cases) {
        TableSource source;
        EXPECT_EQ(ParseTableSource(c.text, def, source).ok, c.ok) << c.text;
    }
    // Real fields hold such values as they are.
    TableSource source;
    EXPECT_TRUE(ParseTableSource("Nr\tProtein _g_\n1\t1e30\n", def, source).ok);
}

}  // namespace
}  // namespace velmora
