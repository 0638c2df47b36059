// Text to number: ParseDecimal always gives a finite number and agrees with TryParseDecimal,
// ParseTimeSlot always a slot 0..96, and a number written to a file reads back the same.
#include <cmath>

#include "core/numbers.h"
#include "harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace velmora;
    const std::string_view text = fuzz::Bytes(data, size);

    const float value = ParseDecimal(text);
    if (!std::isfinite(value)) fuzz::Fail("ParseDecimal not finite");
    float tried = 0.0f;
    if (TryParseDecimal(text, tried) ? tried != value : value != 0.0f) fuzz::Fail("TryParseDecimal disagrees");

    const int slot = ParseTimeSlot(text);
    if (slot < 0 || slot > kNoTimeSlot) fuzz::Fail("time slot out of range");

    if (ParseDecimal(FloatText(value)) != value) fuzz::Fail("FloatText does not read back");
    const int decimals = size > 0 ? data[0] % 10 : 0;
    if (!std::isfinite(ParseDecimal(FormatFixed(value, 0, decimals)))) fuzz::Fail("FormatFixed not readable");
    FormatDecimal(text);
    return 0;
}
