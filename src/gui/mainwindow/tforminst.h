#pragma once

#include <QWidget>

#include "core/programstate.h"
#include "core/prompts.h"

namespace velmora {

// "Inställningar": meal shares, ideal energy distribution and whole-day mode.
class TFormInst : public QWidget {
    Q_OBJECT
public:
    TFormInst(ProgramState& state, Prompts& prompts, QWidget* parent = nullptr);

private:
    ProgramState& m_state;
    Prompts& m_prompts;
};

}  // namespace velmora
