// The ".kropp" companion (norm per kg body weight), through the load function.
#include "harness.h"
#include "norms/norms.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace velmora;
    ProgramState& state = fuzz::StartedState();
    static const std::filesystem::path path = fuzz::ScratchDir() / "vikt.kropp";
    fuzz::WriteBytes(path, fuzz::Bytes(data, size));
    state.norm.perKg = PerKgInputs{};
    LoadPerKgFile(state, path);
    return 0;
}
