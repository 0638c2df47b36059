#pragma once

#include <QWidget>

#include "core/programstate.h"
#include "core/prompts.h"

namespace velmora {

// The right-hand half of the main window: search box, food list, group, origin and product-database
// boxes, favourites and recent foods. Choosing an entry adds it to the current meal.
class FoodPicker : public QWidget {
    Q_OBJECT
public:
    FoodPicker(ProgramState& state, Prompts& prompts, QWidget* parent = nullptr);

public slots:
    // Typing forwarded from the meal grid: the text goes into the search box, which takes the focus.
    void startSearchWith(const QString& text);
    // The button of the current meal pressed again: that meal kind's list is shown.
    void showMealKindList(int meal);

signals:
    // A key was typed in the search box (the meal grid hides its unit list).
    void searchKeyPressed();
    // A food or text row went into the meal; the grid takes the focus on that row.
    void foodAdded(int row);

private:
    ProgramState& m_state;
    Prompts& m_prompts;
};

}  // namespace velmora
