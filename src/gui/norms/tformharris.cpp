#include "norms/tformharris.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "norms/harris.h"
#include "norms/normwidgets.h"

namespace velmora {
namespace {

QLineEdit* ReadOnly(const char* name, const QString& text, QWidget* parent)
{
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    edit->setMaximumWidth(130);
    return edit;
}

} // namespace

TFormHarris::TFormHarris(ProgramState& state, Prompts& prompts, QWidget* parent)
    : QWidget(parent, Qt::Window), m_state(state), m_prompts(prompts)
{
    setObjectName("FormHarris");
    setWindowTitle("Harris Benedict Equation for estimating energy requirements");
    auto* layout = new QVBoxLayout(this);
    Memo1 = MakeMemo("Memo1",
                     "Energibehov = BMR * aktivitetsfaktor\n"
                     "Män: \n"
                     "BMR=66,5 + (13,7 x vikt i kg) + (5,0 x längd i cm) - ( 6,8 x ålder) kcal/dag\n"
                     "Kvinnor: \n"
                     "BMR=655,1 + (9,6 x vikt i kg) + (1,8 x längd i cm) - (4,7 x ålder) kcal/dag\n"
                     "\n"
                     "Aktivitetsfaktorer: \n"
                     "Sängbunden: 1.2\n"
                     "Lätt aktivitet: 1.3\n"
                     "Medel aktivitet: 1.4 - 1.5\n"
                     "Tung aktivitet: 1.75",
                     this);
    layout->addWidget(Memo1);

    auto* middle = new QHBoxLayout;
    StringGrid1 = new QTableWidget(4, 2, this);
    StringGrid1->setObjectName("StringGrid1");
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->setColumnWidth(0, 120);
    StringGrid1->setColumnWidth(1, 80);
    StringGrid1->setEditTriggers(QAbstractItemView::AllEditTriggers);
    const QStringList labels{"Ålder", "Vikt, kg", "Längd, cm", "Aktivitetfaktor"};
    for (int r = 0; r < labels.size(); ++r) {
        StringGrid1->setItem(r, 0, FixedItem(labels[r], StringGrid1));
        StringGrid1->setItem(r, 1, new QTableWidgetItem);
    }
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FitGridHeight(StringGrid1);
    StringGrid1->setFixedWidth(StringGrid1->columnWidth(0) + StringGrid1->columnWidth(1) +
                               2 * StringGrid1->frameWidth());
    middle->addWidget(StringGrid1, 0, Qt::AlignTop);
    auto* choices = new QVBoxLayout;
    RadioGroup1 = new RadioGroup("RadioGroup1", QString(), {"Kvinna", "Man"}, this);
    RadioGroup2 = new RadioGroup("RadioGroup2", QString(), {"kJ", "kcal"}, this);
    RadioGroup2->SetItemIndex(1);
    choices->addWidget(RadioGroup1);
    choices->addWidget(RadioGroup2);
    choices->addStretch(1);
    middle->addLayout(choices);
    auto* figures = new QGridLayout;
    Edit1 = ReadOnly("Edit1", "Energibehov/dag", this);
    Edit2 = ReadOnly("Edit2", "- - -", this);
    Edit3 = ReadOnly("Edit3", "BMI", this);
    EditBMI = ReadOnly("EditBMI", "- - -", this);
    figures->addWidget(Edit1, 0, 0);
    figures->addWidget(Edit2, 0, 1);
    figures->addWidget(Edit3, 1, 0);
    figures->addWidget(EditBMI, 1, 1);
    figures->setRowStretch(2, 1);
    middle->addLayout(figures);
    middle->addStretch(1);
    layout->addLayout(middle);

    auto* buttons = new QHBoxLayout;
    Button1 = new QPushButton("Avbryt", this);
    Button1->setObjectName("Button1");
    Button2 = new QPushButton("OK", this);
    Button2->setObjectName("Button2");
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    layout->addLayout(buttons);

    auto* live = new LiveEditDelegate(StringGrid1);
    StringGrid1->setItemDelegateForColumn(1, live);
    connect(live, &LiveEditDelegate::textEdited, this,
            [this](int row, int, const QString& text) { CellEdited(row, text); });
    connect(StringGrid1, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!m_filling && item->column() == 1) CellEdited(item->row(), item->text());
    });
    connect(RadioGroup1, &RadioGroup::itemClicked, this, [this](int index) {
        m_state.norm.harris.sex = index;
        RecomputeDisplay();
    });
    connect(RadioGroup2, &RadioGroup::itemClicked, this, [this](int index) {
        m_state.norm.harris.unit = index;
        RecomputeDisplay();
    });
    connect(Button1, &QPushButton::clicked, this, &QWidget::hide);
    connect(Button2, &QPushButton::clicked, this, &TFormHarris::Accept);

    m_state.refreshHooks.push_back([guard = QPointer<TFormHarris>(this)] {
        if (guard) guard->Refresh();
    });
    Refresh();
    resize(620, 460);
}

void TFormHarris::ShowFromMenu()
{
    show();
    raise();
    activateWindow();
}

void TFormHarris::Refresh()
{
    const HarrisInputs& inputs = m_state.norm.harris;
    m_filling = true;
    const bool typing = IsEditing(StringGrid1);
    for (int r = 0; r < 4; ++r) {
        if (!(typing && r == StringGrid1->currentRow()))
            SetCellText(StringGrid1, r, 1, Q(inputs.cells[static_cast<std::size_t>(r)]));
    }
    RadioGroup1->SetItemIndex(inputs.sex);
    RadioGroup2->SetItemIndex(inputs.unit);
    m_filling = false;
    RecomputeDisplay();
}

void TFormHarris::CellEdited(int row, const QString& text)
{
    if (row < 0 || row >= 4) return;
    m_state.norm.harris.cells[static_cast<std::size_t>(row)] = S(text);
    RecomputeDisplay();
}

void TFormHarris::RecomputeDisplay()
{
    const HarrisInputs& inputs = m_state.norm.harris;
    Edit2->setText(Q(HarrisFigureText(HarrisEnergyNeed(inputs))));
    EditBMI->setText(Q(HarrisBmiText(inputs)));
}

void TFormHarris::Accept()
{
    if (!ApplyHarrisNorm(m_state, m_prompts, m_state.norm.harris, S(Edit2->text()))) return;
    // Recalculate drew the main window before the norm's caption was set.
    if (QWidget* main = parentWidget()) main->setWindowTitle(Q(m_state.mainCaption));
    hide();
}

} // namespace velmora
