#pragma once

#include <QWidget>

#include <optional>

#include "core/programstate.h"
#include "core/prompts.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QStatusBar;
class QTimer;

namespace velmora {

// The right-hand half of the main window: search box, food list, group, origin and product-database
// boxes, favourites and recent foods. Choosing an entry adds it to the current meal.
class FoodPicker : public QWidget {
    Q_OBJECT
public:
    FoodPicker(ProgramState& state, Prompts& prompts, QWidget* parent = nullptr);

    // The main window's status bar, which shows the loading of the product database.
    void setStatusBar(QStatusBar* statusBar) { m_statusBar = statusBar; }
    // The food entry selected in the list, if the selection is a food.
    std::optional<FoodListEntry> selectedFood() const;

public slots:
    // Typing forwarded from the meal grid: the text goes into the search box, which takes the focus.
    void startSearchWith(const QString& text);
    // The button of the current meal pressed again: that meal kind's list is shown.
    void showMealKindList(int meal);
    // "Sök på namn" (Ctrl+S): a search word asked for in a prompt.
    void searchByPrompt();
    // At the end of start-up: the country's origin box is checked and the first list is filled.
    void applyStartLanguage();
    void focusSearchBox();
    // Redraws the list and boxes after another window changed the picker's state.
    void redrawFromState();

signals:
    // A key was typed in the search box (the meal grid hides its unit list).
    void searchKeyPressed();
    // A food or text row went into the meal; the grid takes the focus on that row.
    void foodAdded(int row);
    // A click in the food list (the per-100 g window may close itself).
    void foodListClicked();
    // Context-menu commands whose windows live elsewhere; they carry the entry's code.
    void showPer100gRequested(const QString& code);
    void editFoodRequested(const QString& code);
    void standardWeightsRequested(const QString& code);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void redrawList(bool selectFirst);
    void redrawGroups();
    void redrawCompanies();
    void quickSearch();
    void searchBoxEnter();
    void chooseRow(int row);
    void originClicked();
    void afterOriginSearch(int matches);
    void groupChosen(int index);
    void dabasClicked(bool checked);
    void loadDabas();
    void companyChosen(int index);
    void openContextMenu(int row, const QPoint& globalPos);
    void showStatus(const QString& text);

    ProgramState& m_state;
    Prompts& m_prompts;
    QStatusBar* m_statusBar = nullptr;

    QLineEdit* Edit1 = nullptr;
    QPushButton* Button3 = nullptr;
    QListWidget* ListBoxLivs = nullptr;
    QComboBox* ComboBoxSLVgrupp = nullptr;
    QCheckBox* CheckBoxSvensk = nullptr;
    QCheckBox* CheckBoxNorsk = nullptr;
    QCheckBox* CheckBoxDansk = nullptr;
    QCheckBox* CheckBoxDabas = nullptr;
    QComboBox* ComboBoxDabas = nullptr;
    QPushButton* ButtonFavoriter = nullptr;
    QPushButton* ButtonSenaste = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* tabort = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* TimerDabasInlasning = nullptr;
};

}  // namespace velmora
