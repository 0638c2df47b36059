#include "mainwindow/settingswindow.h"

#include "core/recalculate.h"
#include "core/session.h"

namespace velmora {

void ApplySettingsWindow(ProgramState& state, Prompts& prompts)
{
    ApplySettings(state);
    Recalculate(state);
    if (Status status = SaveParameterFile(state, state.dataFolder / kParameterFileName); !status) {
        prompts.inform(status.message);
    }
}

void SetMealDivision(ProgramState& state, bool divided)
{
    state.calculation.wholeDay = !divided;
    Recalculate(state);
}

}  // namespace velmora
