#pragma once

#include <QWidget>

#include "core/programstate.h"
#include "core/prompts.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace velmora {

class RadioGroup;

// "Harris Benedict Equation for estimating energy requirements".
class TFormHarris : public QWidget {
    Q_OBJECT
public:
    TFormHarris(ProgramState& state, Prompts& prompts, QWidget* parent = nullptr);

    void ShowFromMenu();
    // Redraws the inputs from the state (a loaded ".harris" file), then the figures.
    void Refresh();

private:
    void RecomputeDisplay();
    void CellEdited(int row, const QString& text);
    void Accept();

    ProgramState& m_state;
    Prompts& m_prompts;
    bool m_filling = false;

    QPlainTextEdit* Memo1;
    QTableWidget* StringGrid1;
    RadioGroup* RadioGroup1;
    RadioGroup* RadioGroup2;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    QLineEdit* EditBMI;
    QPushButton* Button1;
    QPushButton* Button2;
};

} // namespace velmora
