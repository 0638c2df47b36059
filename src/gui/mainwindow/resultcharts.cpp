#include "mainwindow/resultcharts.h"

namespace velmora {

ResultCharts::ResultCharts(ProgramState& state, Prompts& prompts, QWidget* parent)
    : QWidget(parent), m_state(state), m_prompts(prompts)
{
    setObjectName("ResultCharts");
}

}  // namespace velmora
