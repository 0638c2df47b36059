#pragma once

#include <QWidget>

#include "core/programstate.h"
#include "core/prompts.h"

namespace velmora {

// The lower part of the main window: the bar chart of per cent of the norm, the two energy pies,
// the mode buttons, "Räkna med Alkohol", the price box and the analysis buttons.
class ResultCharts : public QWidget {
    Q_OBJECT
public:
    ResultCharts(ProgramState& state, Prompts& prompts, QWidget* parent = nullptr);

private:
    ProgramState& m_state;
    Prompts& m_prompts;
};

}  // namespace velmora
