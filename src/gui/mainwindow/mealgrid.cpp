#include "mainwindow/mealgrid.h"

namespace velmora {

MealGrid::MealGrid(ProgramState& state, Prompts& prompts, QWidget* parent)
    : QWidget(parent), m_state(state), m_prompts(prompts)
{
    setObjectName("MealGrid");
}

void MealGrid::hideUnitList() {}
void MealGrid::focusRow(int) {}

}  // namespace velmora
