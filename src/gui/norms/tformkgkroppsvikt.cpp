#include "norms/tformkgkroppsvikt.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "norms/norms.h"
#include "norms/normwidgets.h"

namespace velmora {
namespace {

// Column 0 carries the Nr the row had in the table, so an edited Nr still finds its record.
constexpr int kKeyRole = Qt::UserRole;

// A one-row grid of a label and a value, the way the window asks for weight and age.
QTableWidget* ValueGrid(const char* name, const QString& label, QWidget* parent)
{
    auto* grid = new QTableWidget(1, 2, parent);
    grid->setObjectName(name);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->setColumnWidth(0, 110);
    grid->setColumnWidth(1, 60);
    grid->setEditTriggers(QAbstractItemView::AllEditTriggers);
    grid->setItem(0, 0, FixedItem(label, grid));
    grid->setItem(0, 1, new QTableWidgetItem);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FitGridHeight(grid);
    grid->setFixedWidth(grid->columnWidth(0) + grid->columnWidth(1) + 2 * grid->frameWidth());
    return grid;
}

} // namespace

TFormKgKroppsvikt::TFormKgKroppsvikt(ProgramState& state, Prompts& prompts, QWidget* parent)
    : QWidget(parent, Qt::Window), m_state(state), m_prompts(prompts)
{
    setObjectName("FormKgKroppsvikt");
    setWindowTitle("Normer per kg kroppsvikt");
    auto* layout = new QVBoxLayout(this);

    Memo1 = MakeMemo("Memo1",
                     "Fyll i kroppsvikt och ålder och välj kön. Dubbelklicka sedan på den norm i tabellen "
                     "som du vill använda.\n"
                     "Normen per kg räknas om till ett dagsbehov för vikten och visas i raden längst ned, "
                     "där du kan ändra värdena.\n"
                     "Klicka på knappen Aktivera för att räkna med normen.",
                     this);
    layout->addWidget(Memo1);

    const TableDef& def = NormTableDef("normkroppsvikt");
    m_fieldPositions = {def.FieldPosition("Nr"),
                        def.FieldPosition("Norm"),
                        SlotFieldPosition(slot::kJ),
                        SlotFieldPosition(slot::kcal),
                        SlotFieldPosition(slot::protein),
                        SlotFieldPosition(slot::fat),
                        SlotFieldPosition(slot::carbohydrate)};
    for (int s = slot::retinol; s <= kLastNutrientSlot; ++s)
        m_fieldPositions.push_back(SlotFieldPosition(s));
    DBISAMDBGridKgKroppsvikt = new QTableWidget(0, static_cast<int>(m_fieldPositions.size()), this);
    DBISAMDBGridKgKroppsvikt->setObjectName("DBISAMDBGridKgKroppsvikt");
    DBISAMDBGridKgKroppsvikt->verticalHeader()->hide();
    DBISAMDBGridKgKroppsvikt->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBISAMDBGridKgKroppsvikt->setSelectionMode(QAbstractItemView::SingleSelection);
    DBISAMDBGridKgKroppsvikt->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBISAMDBGridKgKroppsvikt->setColumnWidth(0, 40);
    DBISAMDBGridKgKroppsvikt->setColumnWidth(1, 220);
    for (int c = 2; c < DBISAMDBGridKgKroppsvikt->columnCount(); ++c)
        DBISAMDBGridKgKroppsvikt->setColumnWidth(c, 70);
    layout->addWidget(DBISAMDBGridKgKroppsvikt, 1);

    auto* inputs = new QHBoxLayout;
    StringGridkg = ValueGrid("StringGridkg", "Kroppsvikt, kg", this);
    StringGridalder = ValueGrid("StringGridalder", "Ålder", this);
    RadioGroup1 = new RadioGroup("RadioGroup1", QString(), {"Kvinna", "Man"}, this, Qt::Horizontal);
    inputs->addWidget(StringGridkg);
    inputs->addWidget(StringGridalder);
    inputs->addWidget(RadioGroup1);
    inputs->addStretch(1);
    layout->addLayout(inputs);

    StringGrid2 = new QTableWidget(1, kNutrientCount, this);
    StringGrid2->setObjectName("StringGrid2");
    StringGrid2->verticalHeader()->hide();
    StringGrid2->setEditTriggers(QAbstractItemView::AllEditTriggers);
    StringGrid2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    for (int c = 0; c < kNutrientCount; ++c) {
        StringGrid2->setColumnWidth(c, 86);
        auto* item = new QTableWidgetItem;
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        StringGrid2->setItem(0, c, item);
    }
    FitGridHeight(StringGrid2);
    layout->addWidget(StringGrid2);

    ButtonAktivera = new QPushButton("Aktivera vald norm.", this);
    ButtonAktivera->setObjectName("ButtonAktivera");
    layout->addWidget(ButtonAktivera);
    Memo3 = MakeMemo("Memo3", "Om uppgift saknas för ett näringsämne används RDI från standardnormerna, NNR.",
                     this);
    layout->addWidget(Memo3);
    Memo2 = MakeMemo("Memo2",
                     "Ändra direkt i tabellen eller skriv en ny norm i den tomma raden längst ned; ange "
                     "värden per kg kroppsvikt.\n"
                     "Ändringar sparas när man lämnar raden, så klicka på en annan rad när du gjort "
                     "ändringar eller tillägg.",
                     this);
    Memo2->hide();
    layout->addWidget(Memo2);
    Button1 = new QPushButton("Klicka här för att ändra/skapa en norm.", this);
    Button1->setObjectName("Button1");
    layout->addWidget(Button1);

    for (QTableWidget* grid : {StringGridkg, StringGridalder}) {
        auto* live = new LiveEditDelegate(grid);
        grid->setItemDelegateForColumn(1, live);
        std::string& target = grid == StringGridkg ? m_state.norm.perKg.weight : m_state.norm.perKg.age;
        auto edited = [this, &target](const QString& text) {
            if (m_filling || target == S(text)) return;
            target = S(text);
            Recompute();
        };
        connect(live, &LiveEditDelegate::textEdited, this,
                [edited](int, int, const QString& text) { edited(text); });
        connect(grid, &QTableWidget::itemChanged, this, [edited](QTableWidgetItem* item) {
            if (item->column() == 1) edited(item->text());
        });
    }
    connect(RadioGroup1, &RadioGroup::itemClicked, this, [this](int index) {
        m_state.norm.perKg.sex = index == 1 ? "Man" : "Kvinna";
        Recompute();
    });
    connect(StringGrid2, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!m_filling && item->column() < kNutrientCount)
            m_state.norm.perKg.draft[static_cast<std::size_t>(item->column())] = S(item->text());
    });
    connect(DBISAMDBGridKgKroppsvikt, &QTableWidget::cellClicked, this, [this](int row, int) {
        if (m_unlocked) return; // while editing, the table's energies wait for the stored rows
        SelectTableRow(row);
        RecomputePerKgEnergies(m_state);
        FillGrid();
    });
    connect(DBISAMDBGridKgKroppsvikt, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        if (m_editedRow == row) StoreRow(row);
        SelectTableRow(row);
        Recompute();
    });
    connect(DBISAMDBGridKgKroppsvikt, &QTableWidget::cellChanged, this, [this](int row, int) {
        if (!m_filling) m_editedRow = row;
    });
    connect(DBISAMDBGridKgKroppsvikt, &QTableWidget::currentCellChanged, this,
            [this](int row, int, int previousRow, int) {
                if (m_editedRow >= 0 && previousRow == m_editedRow && row != previousRow)
                    StoreRow(previousRow);
            });
    connect(ButtonAktivera, &QPushButton::clicked, this, [this] {
        ActivatePerKgNorm(m_state, m_prompts);
        setWindowTitle(Q(m_state.norm.text));
    });
    connect(Button1, &QPushButton::clicked, this, &TFormKgKroppsvikt::Unlock);

    m_state.refreshHooks.push_back([guard = QPointer<TFormKgKroppsvikt>(this)] {
        if (guard) guard->Refresh();
    });
    FillHeadings();
    FillGrid();
    Refresh();
    resize(1000, 620);
}

void TFormKgKroppsvikt::ShowFromMenu()
{
    FillHeadings();
    if (m_editedRow < 0) FillGrid();
    // A window that never computed would activate an empty row, so it starts from its inputs.
    const auto& draft = m_state.norm.perKg.draft;
    if (std::all_of(draft.begin(), draft.end(), [](const std::string& v) { return v.empty(); })) Recompute();
    show();
    raise();
    activateWindow();
}

void TFormKgKroppsvikt::FillHeadings()
{
    QStringList tableHeadings{"Nr", "Norm", "kJ", "kcal", "Prot g", "Fett g", "Kolh g"};
    QStringList headings;
    for (int slot = kFirstNutrientSlot; slot <= kLastNutrientSlot; ++slot) {
        headings << Q(m_state.nutrientText[slot].label);
        if (slot >= slot::retinol) tableHeadings << Q(m_state.nutrientText[slot].label);
    }
    DBISAMDBGridKgKroppsvikt->setHorizontalHeaderLabels(tableHeadings);
    StringGrid2->setHorizontalHeaderLabels(headings);
}

void TFormKgKroppsvikt::FillGrid()
{
    Table& table = m_state.normPerKg;
    const bool filling = m_filling;
    m_filling = true;
    m_editedRow = -1;
    int rows = 0;
    int currentRow = -1;
    if (table.IsOpen()) {
        const long long current = m_state.norm.perKg.perKgRowNr;
        table.SetIndex("");
        const int columns = static_cast<int>(m_fieldPositions.size());
        // Rows are rewritten in place: a click refills the energies between the two clicks of a
        // double click, which must still find its cell.
        for (table.First(); !table.Eof(); table.Next(), ++rows) {
            if (rows >= DBISAMDBGridKgKroppsvikt->rowCount()) DBISAMDBGridKgKroppsvikt->insertRow(rows);
            for (int c = 0; c < columns; ++c) {
                SetCellText(DBISAMDBGridKgKroppsvikt, rows, c,
                            Q(table.FieldText(m_fieldPositions[static_cast<std::size_t>(c)])));
                if (c >= 2)
                    DBISAMDBGridKgKroppsvikt->item(rows, c)->setTextAlignment(Qt::AlignRight |
                                                                              Qt::AlignVCenter);
            }
            const long long nr = table.FieldInt("Nr");
            DBISAMDBGridKgKroppsvikt->item(rows, 0)->setData(kKeyRole, nr);
            if (nr == current) currentRow = rows;
        }
        // The walk ends past the last record; the computation reads the current one.
        if (!table.FindKey(current)) table.First();
    }
    DBISAMDBGridKgKroppsvikt->setRowCount(rows);
    if (m_unlocked) AddBlankRow();
    if (currentRow >= 0 && DBISAMDBGridKgKroppsvikt->currentRow() != currentRow)
        DBISAMDBGridKgKroppsvikt->selectRow(currentRow);
    m_filling = filling;
}

void TFormKgKroppsvikt::AddBlankRow()
{
    const bool filling = m_filling;
    m_filling = true;
    const int row = DBISAMDBGridKgKroppsvikt->rowCount();
    DBISAMDBGridKgKroppsvikt->insertRow(row);
    for (int c = 0; c < DBISAMDBGridKgKroppsvikt->columnCount(); ++c) {
        DBISAMDBGridKgKroppsvikt->setItem(row, c, new QTableWidgetItem);
    }
    m_filling = filling;
}

void TFormKgKroppsvikt::SelectTableRow(int row)
{
    QTableWidgetItem* key = DBISAMDBGridKgKroppsvikt->item(row, 0);
    if (!key || !key->data(kKeyRole).isValid()) return;
    const long long nr = key->data(kKeyRole).toLongLong();
    m_state.norm.perKg.perKgRowNr = nr;
    Table& table = m_state.normPerKg;
    table.SetIndex("");
    table.FindKey(nr);
}

void TFormKgKroppsvikt::Recompute()
{
    ComputePerKgNorm(m_state, m_prompts);
    if (m_editedRow < 0) FillGrid(); // the energies per kilogram were written back
    Refresh();
}

void TFormKgKroppsvikt::Refresh()
{
    const PerKgInputs& inputs = m_state.norm.perKg;
    const bool filling = m_filling;
    m_filling = true;
    RadioGroup1->SetItemIndex(inputs.sex == "Man" ? 1 : 0);
    for (QTableWidget* grid : {StringGridkg, StringGridalder}) {
        const bool typing = IsEditing(grid);
        if (!typing) SetCellText(grid, 0, 1, Q(grid == StringGridkg ? inputs.weight : inputs.age));
    }
    for (int c = 0; c < kNutrientCount; ++c)
        SetCellText(StringGrid2, 0, c, Q(inputs.draft[static_cast<std::size_t>(c)]));
    ButtonAktivera->setText(Q(inputs.activateCaption));
    m_filling = filling;
}

void TFormKgKroppsvikt::hideEvent(QHideEvent* event)
{
    if (m_editedRow >= 0) StoreRow(m_editedRow);
    QWidget::hideEvent(event);
}

void TFormKgKroppsvikt::Unlock()
{
    if (!UnlockNormTable(m_state, m_prompts, NormTableKind::PerKg)) return;
    m_unlocked = true;
    DBISAMDBGridKgKroppsvikt->setSelectionBehavior(QAbstractItemView::SelectItems);
    DBISAMDBGridKgKroppsvikt->setEditTriggers(QAbstractItemView::EditKeyPressed |
                                              QAbstractItemView::AnyKeyPressed |
                                              QAbstractItemView::SelectedClicked);
    Memo2->show();
    Memo3->hide();
    Button1->hide();
    AddBlankRow();
}

void TFormKgKroppsvikt::StoreRow(int row)
{
    m_editedRow = -1;
    Table& table = m_state.normPerKg;
    QTableWidgetItem* key = DBISAMDBGridKgKroppsvikt->item(row, 0);
    if (!table.IsOpen() || !key) return;
    const bool existing = key->data(kKeyRole).isValid();
    if (existing) {
        table.SetIndex("");
        if (!table.FindKey(key->data(kKeyRole).toLongLong())) return;
        table.Edit();
    } else {
        if (key->text().trimmed().isEmpty()) return; // a new row is stored once it has a number
        table.Append();
    }
    for (int c = 0; c < DBISAMDBGridKgKroppsvikt->columnCount(); ++c) {
        QTableWidgetItem* item = DBISAMDBGridKgKroppsvikt->item(row, c);
        table.SetFieldText(m_fieldPositions[static_cast<std::size_t>(c)],
                           item ? S(item->text()) : std::string());
    }
    if (Status status = table.Post(); !status) {
        m_prompts.inform(status.message);
        table.Cancel();
        return;
    }
    const bool filling = m_filling;
    m_filling = true;
    key->setData(kKeyRole, key->text().trimmed().toLongLong());
    m_filling = filling;
    if (!existing && row == DBISAMDBGridKgKroppsvikt->rowCount() - 1) AddBlankRow();
}

} // namespace velmora
