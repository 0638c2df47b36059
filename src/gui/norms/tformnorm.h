#pragma once

#include <QWidget>

#include <vector>

#include "core/programstate.h"
#include "core/prompts.h"

class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace velmora {

// "Dagsbehovet av energi och näringsämnen": the standard norms; a double click puts a row in force.
class TFormNorm : public QWidget {
    Q_OBJECT
public:
    TFormNorm(ProgramState& state, Prompts& prompts, QWidget* parent = nullptr);

    // Reads the norm table into the grid again (rows may have been added by the own-norm window).
    void FillGrid();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void ChooseRow(int row);
    void Unlock();
    void StoreRow(int row);
    void AddBlankRow();

    ProgramState& m_state;
    Prompts& m_prompts;
    std::vector<int> m_fieldPositions;  // the table field shown in each grid column
    bool m_unlocked = false;
    bool m_filling = false;
    int m_editedRow = -1;

    QTableWidget* DBISAMDBGridNorm;
    QPlainTextEdit* Memo1;
    QPlainTextEdit* Memo2;
    QPushButton* Button1;
};

}  // namespace velmora
