#include "mainwindow/tforminst.h"

namespace velmora {

TFormInst::TFormInst(ProgramState& state, Prompts& prompts, QWidget* parent)
    : QWidget(parent, Qt::Window), m_state(state), m_prompts(prompts)
{
    setObjectName("FormInst");
    setWindowTitle("Inställningar");
}

}  // namespace velmora
