// The ".diet" reader of the old format (no header, 30 rows a meal).
#include "core/calcfile.h"
#include "harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace velmora;
    ProgramState& state = fuzz::StartedState();
    SilentPrompts quiet;
    ReadOldCalculationLines(state, quiet, fuzz::Lines(fuzz::Bytes(data, size)));
    fuzz::CheckRowsThenEmpty(state);
    return 0;
}
