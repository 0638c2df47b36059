// The ".dnamn" companion (one day name a line), read the way the program reads it: by loading a
// calculation that has one. The ".diet" beside it is a fixed, valid empty calculation.
#include "core/calcfile.h"
#include "harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace velmora;
    ProgramState& state = fuzz::StartedState();
    static const std::filesystem::path diet = [] {
        std::filesystem::path path = fuzz::ScratchDir() / "dagar.diet";
        std::string text = "199\r\n2024-01-01\r\nflera maltider\r\n";
        for (int i = 0; i < 9; ++i) text += "reserv\r\n";
        fuzz::WriteBytes(path, text);
        return path;
    }();
    const std::string_view bytes = fuzz::Bytes(data, size);
    fuzz::WriteBytes(CompanionPath(diet, ".dnamn"), bytes);

    SilentPrompts quiet;
    state.presetFileName = diet;
    LoadCalculation(state, quiet);

    // Each line names its day; days without a line keep their default name.
    const std::vector<std::string> lines = fuzz::Lines(bytes);
    for (std::size_t d = 0; d < state.calculation.dayNames.size(); ++d) {
        const std::string expected = d < lines.size() ? lines[d] : "Dag " + std::to_string(d + 1);
        if (state.calculation.dayNames[d] != expected) fuzz::Fail("day name " + std::to_string(d + 1));
    }
    return 0;
}
