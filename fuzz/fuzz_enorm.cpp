// The ".enorm" companion (own energy norm), through the load function, then the computation that
// reads the loaded cells.
#include "harness.h"
#include "norms/norms.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace velmora;
    ProgramState& state = fuzz::StartedState();
    static const std::filesystem::path path = fuzz::ScratchDir() / "egen.enorm";
    fuzz::WriteBytes(path, fuzz::Bytes(data, size));
    state.norm.own = OwnNormInputs{};
    LoadOwnNormFile(state, path);
    SilentPrompts quiet;
    ComputeOwnNorm(state, quiet);
    return 0;
}
