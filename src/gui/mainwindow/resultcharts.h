#pragma once

#include <QWidget>

#include <vector>

#include "core/programstate.h"
#include "core/prompts.h"
#include "mainwindow/chartdata.h"

class QBarCategoryAxis;
class QBarSet;
class QChart;
class QChartView;
class QCheckBox;
class QHorizontalStackedBarSeries;
class QLabel;
class QLineEdit;
class QLineSeries;
class QPieSeries;
class QPushButton;
class QToolButton;
class QValueAxis;

namespace velmora {

// The lower part of the main window: the bar chart of per cent of the norm, the two energy pies,
// the mode buttons, "Räkna med Alkohol", the price box and the analysis buttons.
class ResultCharts : public QWidget {
    Q_OBJECT
public:
    ResultCharts(ProgramState& state, Prompts& prompts, QWidget* parent = nullptr);

    // Redraws everything from the state; registered once as a refresh hook.
    void Refresh();

signals:
    // "Dagar" shows the day-colour window, "Måltid" and "Dag" hide it.
    void dayColourWindowRequested(bool shown);
    // One of the analysis buttons beside the chart, by its control name.
    void analysisRequested(const QString& buttonName);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildButtonRow();
    QWidget* BuildBarArea();
    QWidget* BuildPieArea();
    QWidget* BuildAnalysisButtons();
    void RenderBarPage();
    void RenderPie(QPieSeries* series, const std::vector<PieSlice>& slices);
    void ApplyAxis();
    void ChartHeightChanged();
    void TurnBarPage(int step);

    ProgramState& m_state;
    Prompts& m_prompts;
    BarChart m_bars;
    std::vector<QBarSet*> m_sets;       // the bar series' sets, in the order of m_setNumbers
    std::vector<int> m_setNumbers;
    int m_setValueCount = -1;

    QToolButton* SpeedButton5;   // "Staplar"
    QToolButton* SpeedButton6;   // "Energicirklar"
    QToolButton* SpeedButton8;   // "Saknade värden"
    QToolButton* SpeedButton9;   // "Måltid"
    QToolButton* SpeedButton10;  // "Dag"
    QToolButton* SpeedButton11;  // "Dagar"
    QCheckBox* CheckboxAlkohol;
    QPushButton* ButtonProcent;
    QPushButton* Button1;  // "Zoom -"
    QPushButton* Button2;  // "Zoom +"
    QLineEdit* EditPris;
    QLabel* MemoStapel;
    QWidget* SpinButton1;
    QWidget* m_barArea;
    QWidget* m_pieArea;

    QChartView* ChartStapel;
    QChart* m_barChart;
    QHorizontalStackedBarSeries* m_barSeries;
    QBarCategoryAxis* m_categoryAxis;
    QValueAxis* m_valueAxis;
    QLineSeries* m_line100;
    QValueAxis* m_lineAxis;
    QChartView* ChartEnergi;
    QChartView* ChartEnergiRek;
    QPieSeries* PieSeries1;
    QPieSeries* PieSeries2;
};

}  // namespace velmora
