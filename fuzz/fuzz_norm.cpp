// The ".norm" companion: the norm in force, then the ideal energy shares derived from it, as a
// load does.
#include "core/calcfile.h"
#include "harness.h"
#include "norms/norms.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace velmora;
    ProgramState& state = fuzz::StartedState();
    state.norm = NormState{};
    ReadNormFileLines(state, fuzz::Lines(fuzz::Bytes(data, size)));
    DeriveIdealShares(state);
    return 0;
}
