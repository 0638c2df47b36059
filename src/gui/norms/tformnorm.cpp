#include "norms/tformnorm.h"

namespace velmora {

TFormNorm::TFormNorm(ProgramState& state, Prompts& prompts, QWidget* parent)
    : QWidget(parent, Qt::Window), m_state(state), m_prompts(prompts)
{
    setObjectName("FormNorm");
    setWindowTitle("Dagsbehovet av energi och näringsämnen");
}

}  // namespace velmora
