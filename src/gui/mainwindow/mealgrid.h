#pragma once

#include <QWidget>

#include "core/programstate.h"
#include "core/prompts.h"

namespace velmora {

// The upper left of the main window: meal buttons, day box, the grid of the current meal and the
// row buttons below it.
class MealGrid : public QWidget {
    Q_OBJECT
public:
    MealGrid(ProgramState& state, Prompts& prompts, QWidget* parent = nullptr);

public slots:
    void hideUnitList();
    // After a food was added: select the row's grams column and take the focus.
    void focusRow(int row);

signals:
    // A letter typed in the grid goes on to the food search.
    void forwardTyping(const QString& text);
    // The button of the meal that is already current was pressed.
    void mealButtonPressedAgain(int meal);

private:
    ProgramState& m_state;
    Prompts& m_prompts;
};

}  // namespace velmora
