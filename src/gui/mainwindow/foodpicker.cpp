#include "mainwindow/foodpicker.h"

namespace velmora {

FoodPicker::FoodPicker(ProgramState& state, Prompts& prompts, QWidget* parent)
    : QWidget(parent), m_state(state), m_prompts(prompts)
{
    setObjectName("FoodPicker");
}

void FoodPicker::startSearchWith(const QString&) {}
void FoodPicker::showMealKindList(int) {}

}  // namespace velmora
