#pragma once

#include <QMainWindow>

#include "core/programstate.h"

namespace velmora {

// The main window. For now it shows the product name and the state of the data folder; the food
// list, meal grid and charts come in their own widgets.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(ProgramState& state, QWidget* parent = nullptr);

private:
    ProgramState& m_state;
};

}  // namespace velmora
