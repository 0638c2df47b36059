// velmora.para (meal shares and ideal energy shares), through the load function. Whatever the
// file holds, the shares the calculation divides by come out finite.
#include <cmath>

#include "harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace velmora;
    static ProgramState& state = fuzz::StartedState();
    static const std::filesystem::path path = fuzz::ScratchDir() / "velmora.para";
    fuzz::WriteBytes(path, fuzz::Bytes(data, size));
    if (!LoadParameterFile(state, path)) fuzz::Fail("an existing parameter file did not load");
    for (float share : state.MealShares) {
        if (!std::isfinite(share)) fuzz::Fail("meal share not finite");
    }
    const IdealEnergyShares& ideal = state.idealShares;
    for (float share : {ideal.protein, ideal.fat, ideal.carbohydrate, ideal.monounsaturated, ideal.polyunsaturated,
                        ideal.saturated}) {
        if (!std::isfinite(share)) fuzz::Fail("ideal share not finite");
    }
    return 0;
}
