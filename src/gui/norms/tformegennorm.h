#pragma once

#include <QWidget>

#include "core/programstate.h"
#include "core/prompts.h"

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace velmora {

class RadioGroup;

// "Ange önskat energiintag per dag.": an own energy norm from kcal, age, sex and the energy
// distribution, on the standard norm of the age group.
class TFormEgenNorm : public QWidget {
    Q_OBJECT
public:
    TFormEgenNorm(ProgramState& state, Prompts& prompts, QWidget* parent = nullptr);

    // The menu command: the nutrient headings, then the window.
    void ShowFromMenu();
    // Redraws the inputs and the draft row from the state (a loaded ".enorm" file).
    void Refresh();

private:
    void FillHeadings();
    void Recompute();
    void InputEdited(int row, const QString& text);
    void DraftEdited(int column, const QString& text);

    ProgramState& m_state;
    Prompts& m_prompts;
    bool m_filling = false;

    QTableWidget* StringGrid1;
    RadioGroup* RadioGroupSex;
    QLineEdit* EditSumma;
    QTableWidget* StringGrid2;
    QPushButton* ButtonAvbryt;
    QPushButton* ButtonOK;
    QPushButton* ButtonSpara;
};

} // namespace velmora
