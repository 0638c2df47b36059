#pragma once

#include <QMainWindow>

#include <map>

#include "core/programstate.h"
#include "platform/qtprompts.h"

class QAction;
class QListWidget;
class QMenu;
class QPushButton;
class QStatusBar;
class QWidget;

namespace velmora {

class FoodPicker;
class MealGrid;
class ResultCharts;
class TFormInst;
class TFormNorm;

// The main window: the meal grid upper left, the food picker to the right, the results below,
// and the main menu. Every command is a model operation on the program state.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(ProgramState& state, QWidget* parent = nullptr);
    ~TForm1() override;

    // The windows created after the main window, in the program's creation order.
    void CreateOtherWindows();
    // Runs once every window exists: the start language and the first food list.
    void FinishStartup();

    Prompts& prompts() { return m_switch; }
    QAction* Action(const QString& name) const;
    FoodPicker* Picker() const { return m_picker; }
    MealGrid* Grid() const { return m_grid; }
    ResultCharts* Charts() const { return m_charts; }
    TFormNorm* NormWindow() const { return m_norm; }
    TFormInst* SettingsWindow() const { return m_settings; }
    // Tests put a scripted seam in place of the dialogs.
    void SetPrompts(Prompts* prompts) { m_switch.SetTarget(prompts ? prompts : &m_prompts); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenu();
    void Refresh();
    void NewCalculationCommand();
    void LoadCommand();
    void SaveCommand();
    void ShowRecentCalculations();
    void RecentCalculationClicked(int row);
    void DeleteCalculations();
    Prompts& P() { return m_switch; }

    ProgramState& m_state;
    QtPrompts m_prompts;
    PromptsSwitch m_switch{&m_prompts};
    std::map<QString, QAction*> m_actions;
    FoodPicker* m_picker = nullptr;
    MealGrid* m_grid = nullptr;
    ResultCharts* m_charts = nullptr;
    TFormNorm* m_norm = nullptr;
    TFormInst* m_settings = nullptr;
    QWidget* m_recentPanel = nullptr;
    QListWidget* ListBoxTidigareFiler = nullptr;
    QPushButton* ButtonClose = nullptr;
    QStatusBar* StatusBar1 = nullptr;
};

}  // namespace velmora
