#include "norms/normwidgets.h"

#include <algorithm>

#include <QBoxLayout>
#include <QButtonGroup>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>

namespace velmora {

RadioGroup::RadioGroup(const char* name, const QString& title, const QStringList& items, QWidget* parent,
                       Qt::Orientation orientation)
    : QGroupBox(title, parent), m_buttons(new QButtonGroup(this))
{
    setObjectName(name);
    QBoxLayout* layout = orientation == Qt::Vertical ? static_cast<QBoxLayout*>(new QVBoxLayout(this))
                                                     : static_cast<QBoxLayout*>(new QHBoxLayout(this));
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        button->setObjectName(QString("%1_%2").arg(name).arg(i));
        m_buttons->addButton(button, i);
        layout->addWidget(button);
    }
    if (orientation == Qt::Horizontal) layout->addStretch(1);
    SetItemIndex(0);
    connect(m_buttons, &QButtonGroup::idClicked, this, &RadioGroup::itemClicked);
}

int RadioGroup::ItemIndex() const
{
    return m_buttons->checkedId();
}

void RadioGroup::SetItemIndex(int index)
{
    if (QAbstractButton* button = m_buttons->button(index)) button->setChecked(true);
}

QRadioButton* RadioGroup::Button(int index) const
{
    return qobject_cast<QRadioButton*>(m_buttons->button(index));
}

QWidget* LiveEditDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const
{
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        auto* self = const_cast<LiveEditDelegate*>(this);
        const int row = index.row(), column = index.column();
        connect(line, &QLineEdit::textEdited, self,
                [self, row, column](const QString& text) { emit self->textEdited(row, column, text); });
    }
    return editor;
}

QPlainTextEdit* MakeMemo(const char* name, const QString& text, QWidget* parent)
{
    auto* memo = new QPlainTextEdit(text, parent);
    memo->setObjectName(name);
    memo->setReadOnly(true);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    const int lines = static_cast<int>(text.count('\n')) + 1;
    memo->setFixedHeight(memo->fontMetrics().lineSpacing() * lines + 14);
    return memo;
}

QTableWidgetItem* FixedItem(const QString& text, const QTableWidget* grid)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setBackground(grid->palette().button());
    return item;
}

void SetCellText(QTableWidget* grid, int row, int column, const QString& text)
{
    QTableWidgetItem* item = grid->item(row, column);
    if (!item) {
        grid->setItem(row, column, new QTableWidgetItem(text));
        return;
    }
    if (item->text() != text) item->setText(text);
}

bool IsEditing(const QTableWidget* grid)
{
    const auto editors = grid->viewport()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    return std::any_of(editors.begin(), editors.end(),
                       [](const QWidget* editor) { return editor->isVisible(); });
}

void FitGridHeight(QTableWidget* grid)
{
    int height = 2 * grid->frameWidth();
    if (!grid->horizontalHeader()->isHidden()) height += grid->horizontalHeader()->sizeHint().height();
    for (int r = 0; r < grid->rowCount(); ++r)
        height += grid->rowHeight(r);
    if (grid->horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff) {
        height += grid->horizontalScrollBar()->sizeHint().height();
    }
    grid->setFixedHeight(height);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

} // namespace velmora
