#pragma once

#include <QWidget>

#include <array>
#include <string>

#include "core/programstate.h"
#include "core/prompts.h"

class QGroupBox;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace velmora {

// "Inställningar": meal shares, ideal energy distribution and whole-day mode.
class TFormInst : public QWidget {
    Q_OBJECT
public:
    TFormInst(ProgramState& state, Prompts& prompts, QWidget* parent = nullptr);

    // Brings the grids and the division choice in line with the state where the state changed
    // (a norm's ideal distribution, a language switch, a loaded calculation); registered as a hook.
    void Refresh();

private:
    void CellEdited(QTableWidget* grid, int row, int column);
    void TakeGrids();

    ProgramState& m_state;
    Prompts& m_prompts;
    // The cells as the grids last took them from the state; typing that nobody applied stays.
    std::array<std::string, 9> m_shownShareCells;
    std::array<std::string, 6> m_shownIdealCells;
    bool m_filling = false;

    QPlainTextEdit* Memo1;
    QTableWidget* StringGrid1;
    QPlainTextEdit* Memo2;
    QTableWidget* StringGrid2;
    QPlainTextEdit* Memo3;
    QGroupBox* RadioGroup1;
    QRadioButton* m_divided;
    QRadioButton* m_wholeDay;
    QPushButton* Button1;
    QPushButton* Button3;
};

}  // namespace velmora
