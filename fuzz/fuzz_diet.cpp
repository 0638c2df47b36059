// The ".diet" reader of the current format, on lines as ReadTextLines hands them over. The rows it
// fills must keep what the recalculation and the views rely on.
#include "core/calcfile.h"
#include "harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace velmora;
    ProgramState& state = fuzz::StartedState();
    ReadCalculationLines(state, fuzz::Lines(fuzz::Bytes(data, size)));
    fuzz::CheckRowsThenEmpty(state);
    return 0;
}
