#pragma once

#include <QGroupBox>
#include <QStyledItemDelegate>

#include <string>
#include <vector>

class QButtonGroup;
class QPlainTextEdit;
class QRadioButton;
class QTableWidget;
class QTableWidgetItem;

namespace velmora {

inline QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}
inline std::string S(const QString& text)
{
    return text.toStdString();
}

// A titled group of exclusive choices addressed by index, as the norm windows use them.
class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    RadioGroup(const char* name, const QString& title, const QStringList& items, QWidget* parent,
               Qt::Orientation orientation = Qt::Vertical);

    int ItemIndex() const;
    // Sets the choice without telling anybody (redrawing from the state).
    void SetItemIndex(int index);
    QRadioButton* Button(int index) const;

signals:
    // The user chose an item.
    void itemClicked(int index);

private:
    QButtonGroup* m_buttons;
};

// Cell editors that report every keystroke, for the grids that recompute while the user types.
class LiveEditDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;

signals:
    void textEdited(int row, int column, const QString& text);
};

QPlainTextEdit* MakeMemo(const char* name, const QString& text, QWidget* parent);

// A cell the user cannot change, shaded like a heading.
QTableWidgetItem* FixedItem(const QString& text, const QTableWidget* grid);
// Sets a cell's text only when it differs, so that an open editor and the selection stay put.
void SetCellText(QTableWidget* grid, int row, int column, const QString& text);
// True while a cell editor of the grid is open (a closed one is hidden before it goes).
bool IsEditing(const QTableWidget* grid);
// Grid height for all its rows with no scroll bar.
void FitGridHeight(QTableWidget* grid);

} // namespace velmora
