#pragma once

#include <QWidget>

#include <vector>

#include "core/programstate.h"
#include "core/prompts.h"

class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace velmora {

class RadioGroup;

// "Normer per kg kroppsvikt": a norm per kilogram body weight times the weight, on the standard
// norm of the age group for the nutrients it does not give.
class TFormKgKroppsvikt : public QWidget {
    Q_OBJECT
public:
    TFormKgKroppsvikt(ProgramState& state, Prompts& prompts, QWidget* parent = nullptr);

    // The menu command: the nutrient headings, then the window.
    void ShowFromMenu();
    // Redraws the inputs, the result row and the button from the state (a loaded ".kropp" file).
    void Refresh();
    // Reads the per-kilogram table into the grid again.
    void FillGrid();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void FillHeadings();
    void SelectTableRow(int row);
    void Recompute();
    void Unlock();
    void StoreRow(int row);
    void AddBlankRow();

    ProgramState& m_state;
    Prompts& m_prompts;
    std::vector<int> m_fieldPositions;
    bool m_filling = false;
    bool m_unlocked = false;
    int m_editedRow = -1;

    QPlainTextEdit* Memo1;
    QTableWidget* DBISAMDBGridKgKroppsvikt;
    QTableWidget* StringGridkg;
    QTableWidget* StringGridalder;
    RadioGroup* RadioGroup1;
    QTableWidget* StringGrid2;
    QPushButton* ButtonAktivera;
    QPlainTextEdit* Memo3;
    QPlainTextEdit* Memo2;
    QPushButton* Button1;
};

} // namespace velmora
