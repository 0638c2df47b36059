#pragma once

#include <QWidget>

#include <vector>

#include "core/programstate.h"
#include "core/prompts.h"

class QBarSet;
class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QValueAxis;

namespace velmora {

class RadioGroup;
class TFormAktskapa;

// "Dina aktiviteter": the day's activities on the basal metabolic rate; every change puts the
// resulting energy need in force as the norm.
class TFormAktiv : public QWidget {
    Q_OBJECT
public:
    TFormAktiv(ProgramState& state, Prompts& prompts, QWidget* parent = nullptr);

    void ShowFromMenu();
    // The window the "Aktivitetstabell" menu shows; without one, a sibling of that class is used.
    void SetTableWindow(TFormAktskapa* window) { m_tableWindow = window; }
    // Redraws everything from the state; a hook of every recalculation.
    void Refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void FillGroups();
    void FillOffered();
    void AddSelected();
    void FillLists();
    void DrawChart();
    void SelectCell(int row, int column);
    void ShowTableWindow();

    ProgramState& m_state;
    Prompts& m_prompts;
    TFormAktskapa* m_tableWindow = nullptr;
    bool m_filling = false;

    QMenuBar* MainMenu1;
    QPlainTextEdit* Memo1;
    QLabel* Label1;
    QLineEdit* EditAge;
    QLabel* Label2;
    QLineEdit* Editkg;
    RadioGroup* RadioGroupSex;
    RadioGroup* RadioGroupKcal;
    QLabel* Label4;
    QLineEdit* EditBMR;
    QLabel* Label3;
    QLineEdit* EditTot;
    QLabel* Label5;
    QLineEdit* EditMinKvar;
    QComboBox* Cboxgrupp;
    QListWidget* ListBoxAktiv;
    QPushButton* ButtonOK;
    QTableWidget* StringGridAktiv;
    QTableWidget* StringGridAktivKj;
    std::vector<QPushButton*> m_minuteButtons;
    QPushButton* ButtonTabort;
    QChartView* ChartAktiv;
    QChart* m_chart;
    QBarSet* m_intake;
    QBarSet* m_basal;
    QBarSet* m_activity;
    QValueAxis* m_axis;
};

} // namespace velmora
