#pragma once

namespace velmora {

// The meal grid's state for a run beside the position kept in ProgramState.
struct GridState {
    int CurrentColumn = 0;
};

}  // namespace velmora
