#pragma once

namespace velmora {

// The result display's state for a run (ChartMode lives in ProgramState).
struct ChartState {
};

}  // namespace velmora
