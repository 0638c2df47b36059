#include "norms/tformaktskapa.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "norms/activities.h"
#include "norms/normwidgets.h"

namespace velmora {

TFormAktskapa::TFormAktskapa(ProgramState& state, Prompts& prompts, QWidget* parent)
    : QWidget(parent, Qt::Window), m_state(state), m_prompts(prompts)
{
    setObjectName("FormAktskapa");
    setWindowTitle("Aktiviteter med BMR-faktor.");
    auto* layout = new QVBoxLayout(this);

    StringGrid1 = new QTableWidget(kActivityTableRows, 3, this);
    StringGrid1->setObjectName("StringGrid1");
    StringGrid1->setHorizontalHeaderLabels({"Aktivitet", "Bmr", "Grupp"});
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->setColumnWidth(0, 320);
    StringGrid1->setColumnWidth(1, 60);
    StringGrid1->setColumnWidth(2, 180);
    StringGrid1->verticalHeader()->setDefaultSectionSize(StringGrid1->fontMetrics().height() + 6);
    layout->addWidget(StringGrid1, 1);

    Memo1 = MakeMemo("Memo1", "Gör ev ändringar och tillägg och klicka sedan på Spara.", this);
    Memo1->hide();
    layout->addWidget(Memo1);
    auto* buttons = new QHBoxLayout;
    Button2 = new QPushButton("Klicka här för att ändra i aktivitetstabellen", this);
    Button2->setObjectName("Button2");
    Button1 = new QPushButton("Spara", this);
    Button1->setObjectName("Button1");
    Button1->hide();
    buttons->addWidget(Button2);
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    layout->addLayout(buttons);

    connect(Button2, &QPushButton::clicked, this, &TFormAktskapa::Unlock);
    connect(Button1, &QPushButton::clicked, this, [this] { SaveActivityTable(m_state, m_prompts); });
    connect(StringGrid1, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!m_filling) CellEdited(item->row(), item->column(), item->text());
    });

    // The table is read once for the run, here or by the activity window, whichever comes first.
    if (!m_state.norm.activity.tableLoaded) LoadActivityTable(m_state, m_prompts);
    FillGrid();
    resize(640, 640);
}

void TFormAktskapa::ShowFromMenu()
{
    show();
    raise();
    activateWindow();
}

void TFormAktskapa::FillGrid()
{
    m_filling = true;
    const auto& table = m_state.norm.activity.table;
    for (int r = 0; r < kActivityTableRows; ++r) {
        const ActivityTableEntry& entry = table[static_cast<std::size_t>(r)];
        SetCellText(StringGrid1, r, 0, Q(entry.name));
        SetCellText(StringGrid1, r, 1, Q(entry.factor));
        SetCellText(StringGrid1, r, 2, Q(entry.group));
    }
    m_filling = false;
}

void TFormAktskapa::Unlock()
{
    if (!UnlockActivityTable(m_prompts)) return;
    StringGrid1->setEditTriggers(QAbstractItemView::AllEditTriggers);
    StringGrid1->setTabKeyNavigation(true);
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    Memo1->show();
    Button1->show();
    Button2->hide();
}

void TFormAktskapa::CellEdited(int row, int column, const QString& text)
{
    if (row < 0 || row >= kActivityTableRows) return;
    ActivityTableEntry& entry = m_state.norm.activity.table[static_cast<std::size_t>(row)];
    std::string& field = column == 0 ? entry.name : column == 1 ? entry.factor : entry.group;
    field = S(text);
}

} // namespace velmora
