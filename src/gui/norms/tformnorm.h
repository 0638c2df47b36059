#pragma once

#include <QWidget>

#include "core/programstate.h"
#include "core/prompts.h"

namespace velmora {

// "Dagsbehovet av energi och näringsämnen": the standard norms; a double click puts a row in force.
class TFormNorm : public QWidget {
    Q_OBJECT
public:
    TFormNorm(ProgramState& state, Prompts& prompts, QWidget* parent = nullptr);

private:
    ProgramState& m_state;
    Prompts& m_prompts;
};

}  // namespace velmora
