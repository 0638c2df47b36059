#pragma once

#include <QWidget>

#include "core/programstate.h"
#include "core/prompts.h"

class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace velmora {

// "Aktiviteter med BMR-faktor.": the activity table, editable behind the password.
class TFormAktskapa : public QWidget {
    Q_OBJECT
public:
    TFormAktskapa(ProgramState& state, Prompts& prompts, QWidget* parent = nullptr);

    void ShowFromMenu();
    void FillGrid();

private:
    void Unlock();
    void CellEdited(int row, int column, const QString& text);

    ProgramState& m_state;
    Prompts& m_prompts;
    bool m_filling = false;

    QTableWidget* StringGrid1;
    QPushButton* Button2;
    QPlainTextEdit* Memo1;
    QPushButton* Button1;
};

} // namespace velmora
