#include "mainwindow/tform1.h"

#include <QLabel>
#include <QStatusBar>

namespace velmora {

TForm1::TForm1(ProgramState& state, QWidget* parent) : QMainWindow(parent), m_state(state)
{
    setObjectName("Form1");
    setWindowTitle("Velmora");
    auto* label = new QLabel(QString::fromStdString(m_state.norm.text), this);
    label->setAlignment(Qt::AlignCenter);
    setCentralWidget(label);
    statusBar()->showMessage(QString::fromStdString(m_state.dataFolder.string()));
    resize(1000, 700);
}

}  // namespace velmora
