#pragma once

#include <QWidget>

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "core/programstate.h"
#include "core/prompts.h"

class QAction;
class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;
class QTimer;
class QToolButton;

namespace velmora {

class MealGridDelegate;

// The upper left of the main window: meal buttons, day box, the grid of the current meal and the
// row buttons below it. It translates events into the grid operations and redraws from the state.
class MealGrid : public QWidget {
    Q_OBJECT
public:
    MealGrid(ProgramState& state, Prompts& prompts, QWidget* parent = nullptr);
    ~MealGrid() override;

    // "Byt alla" needs the entry selected in the food list.
    void setSelectedFoodSource(std::function<std::optional<FoodListEntry>()> source);
    // The copy and paste commands for the menu "Redigera".
    QList<QAction*> editActions() const;

public slots:
    void hideUnitList();
    // After a food was added: select the row's grams column and take the focus.
    void focusRow(int row);

signals:
    // A letter typed in the grid goes on to the food search.
    void forwardTyping(const QString& text);
    // The button of the meal that is already current was pressed.
    void mealButtonPressedAgain(int meal);
    // After a commit with Enter, Esc and the row buttons the search box takes the focus.
    void searchFocusRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class MealGridDelegate;

    void refresh();
    void refreshCells();
    void refreshButtons();
    void commitCell(const QString& text, CommitKey key);
    bool editorKey(QLineEdit* editor, QKeyEvent* event);
    bool gridKey(QKeyEvent* event);
    void showUnitList(const QPoint& viewportPos);
    void unitListClicked(const QPoint& pos);
    void mealButtonClicked(int meal);
    void showFirstFoodHint();
    QString cellText(int row, int column) const;

    ProgramState& m_state;
    Prompts& m_prompts;
    std::function<std::optional<FoodListEntry>()> m_selectedFood;
    std::size_t m_refreshHook = 0;

    std::array<QToolButton*, kMeals> m_mealButtons{};
    QButtonGroup* m_mealGroup = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QTableWidget* StringGridMaltid = nullptr;
    MealGridDelegate* m_delegate = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button5 = nullptr;
    QPushButton* Button6 = nullptr;
    QPushButton* ButtonBytAlla = nullptr;
    QPushButton* ButtonAngra = nullptr;
    QListWidget* ListBoxVikter = nullptr;
    QLabel* MemoHogerklick = nullptr;
    QTimer* TimerHogerKlick = nullptr;
    QAction* Kopieradennamltid2 = nullptr;
    QAction* Klistraindennamltid1 = nullptr;
    QAction* Kopieradag1 = nullptr;
    QAction* klistraindag = nullptr;

    // What the cells show, so that a refresh touches only the cells that change.
    std::array<std::array<std::string, kGridColumns>, kLastRow> m_shown;
    int m_colourMode = -1;
    bool m_refreshing = false;
};

}  // namespace velmora
