#include "norms/tformegennorm.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "norms/norms.h"
#include "norms/normwidgets.h"

namespace velmora {
namespace {

// The five inputs of StringGrid1's value column; the sixth row only names the sum shown beside it.
constexpr int kInputRows = 5;

} // namespace

TFormEgenNorm::TFormEgenNorm(ProgramState& state, Prompts& prompts, QWidget* parent)
    : QWidget(parent, Qt::Window), m_state(state), m_prompts(prompts)
{
    setObjectName("FormEgenNorm");
    setWindowTitle("Ange önskat energiintag per dag.");
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    layout->addLayout(top);

    StringGrid1 = new QTableWidget(6, 2, this);
    StringGrid1->setObjectName("StringGrid1");
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->setColumnWidth(0, 150);
    StringGrid1->setColumnWidth(1, 80);
    StringGrid1->setEditTriggers(QAbstractItemView::AllEditTriggers);
    const QStringList labels{"kcal per dag", "Ålder, år",         "Energi% protein",
                             "Energi% fett", "Energi% kolhydrat", "Summa %"};
    for (int r = 0; r < labels.size(); ++r) {
        StringGrid1->setItem(r, 0, FixedItem(labels[r], StringGrid1));
        StringGrid1->setItem(r, 1, r < kInputRows ? new QTableWidgetItem : FixedItem(QString(), StringGrid1));
    }
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FitGridHeight(StringGrid1);
    StringGrid1->setFixedWidth(StringGrid1->columnWidth(0) + StringGrid1->columnWidth(1) +
                               2 * StringGrid1->frameWidth());
    top->addWidget(StringGrid1);

    auto* side = new QVBoxLayout;
    RadioGroupSex = new RadioGroup("RadioGroupSex", QString(), {"Kvinna", "Man"}, this);
    side->addWidget(RadioGroupSex);
    auto* sumRow = new QHBoxLayout;
    auto* sumLabel = new QLabel("Summa energi%", this);
    sumLabel->setObjectName("Label1");
    EditSumma = new QLineEdit(this);
    EditSumma->setObjectName("EditSumma");
    EditSumma->setReadOnly(true);
    EditSumma->setMaximumWidth(80);
    sumRow->addWidget(sumLabel);
    sumRow->addWidget(EditSumma);
    sumRow->addStretch(1);
    side->addLayout(sumRow);
    side->addStretch(1);
    top->addLayout(side);
    top->addStretch(1);

    // One row of draft values under the nutrients' headings, which the menu command fills.
    StringGrid2 = new QTableWidget(1, kNutrientCount, this);
    StringGrid2->setObjectName("StringGrid2");
    StringGrid2->verticalHeader()->hide();
    StringGrid2->setEditTriggers(QAbstractItemView::AllEditTriggers);
    StringGrid2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    for (int c = 0; c < kNutrientCount; ++c) {
        StringGrid2->setColumnWidth(c, 86);
        StringGrid2->setItem(0, c, new QTableWidgetItem);
        StringGrid2->item(0, c)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    FitGridHeight(StringGrid2);
    layout->addWidget(StringGrid2);

    auto* buttons = new QHBoxLayout;
    ButtonAvbryt = new QPushButton("Avbryt", this);
    ButtonAvbryt->setObjectName("ButtonAvbryt");
    ButtonOK = new QPushButton("OK", this);
    ButtonOK->setObjectName("ButtonOK");
    ButtonSpara = new QPushButton("Spara denna norm", this);
    ButtonSpara->setObjectName("ButtonSpara");
    buttons->addStretch(1);
    buttons->addWidget(ButtonAvbryt);
    buttons->addWidget(ButtonOK);
    buttons->addWidget(ButtonSpara);
    layout->addLayout(buttons);

    auto* inputs = new LiveEditDelegate(StringGrid1);
    StringGrid1->setItemDelegateForColumn(1, inputs);
    connect(inputs, &LiveEditDelegate::textEdited, this,
            [this](int row, int, const QString& text) { InputEdited(row, text); });
    connect(StringGrid1, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!m_filling && item->column() == 1) InputEdited(item->row(), item->text());
    });
    connect(StringGrid2, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!m_filling) DraftEdited(item->column(), item->text());
    });
    connect(RadioGroupSex, &RadioGroup::itemClicked, this, [this](int index) {
        m_state.norm.own.sex = index == 1 ? "Man" : "Kvinna";
        Recompute();
    });
    connect(ButtonAvbryt, &QPushButton::clicked, this, &QWidget::hide);
    connect(ButtonOK, &QPushButton::clicked, this, [this] {
        ApplyOwnNorm(m_state);
        hide();
    });
    connect(ButtonSpara, &QPushButton::clicked, this, [this] { SaveOwnNormAsTableRow(m_state, m_prompts); });

    m_state.refreshHooks.push_back([guard = QPointer<TFormEgenNorm>(this)] {
        if (guard) guard->Refresh();
    });
    FillHeadings();
    Recompute();
    resize(900, 330);
}

void TFormEgenNorm::ShowFromMenu()
{
    FillHeadings();
    show();
    raise();
    activateWindow();
}

void TFormEgenNorm::FillHeadings()
{
    QStringList headings;
    for (int slot = kFirstNutrientSlot; slot <= kLastNutrientSlot; ++slot)
        headings << Q(m_state.nutrientText[slot].label);
    StringGrid2->setHorizontalHeaderLabels(headings);
}

void TFormEgenNorm::Recompute()
{
    ComputeOwnNorm(m_state, m_prompts);
    Refresh();
}

void TFormEgenNorm::InputEdited(int row, const QString& text)
{
    if (row < 0 || row >= kInputRows) return;
    std::string& cell = m_state.norm.own.cells[static_cast<std::size_t>(row)];
    if (cell == S(text)) return; // the commit of what was typed live
    cell = S(text);
    Recompute();
}

void TFormEgenNorm::DraftEdited(int column, const QString& text)
{
    if (column < 0 || column >= kNutrientCount) return;
    m_state.norm.own.draft[static_cast<std::size_t>(column)] = S(text);
}

void TFormEgenNorm::Refresh()
{
    const OwnNormInputs& own = m_state.norm.own;
    m_filling = true;
    RadioGroupSex->SetItemIndex(own.sex == "Man" ? 1 : 0);
    // The cell being typed in holds the text already; rewriting it would move the cursor.
    const bool typing = IsEditing(StringGrid1);
    for (int r = 0; r < kInputRows; ++r) {
        if (!(typing && r == StringGrid1->currentRow()))
            SetCellText(StringGrid1, r, 1, Q(own.cells[static_cast<std::size_t>(r)]));
    }
    EditSumma->setText(Q(own.sumText));
    for (int c = 0; c < kNutrientCount; ++c)
        SetCellText(StringGrid2, 0, c, Q(own.draft[static_cast<std::size_t>(c)]));
    m_filling = false;
}

} // namespace velmora
