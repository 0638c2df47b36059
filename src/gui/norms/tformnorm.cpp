#include "norms/tformnorm.h"

#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "norms/norms.h"

namespace velmora {
namespace {

// Column 0 carries the Nr the row had in the table, so an edited Nr still finds its record.
constexpr int kKeyRole = Qt::UserRole;

QPlainTextEdit* Memo(const char* name, const QString& text, QWidget* parent)
{
    auto* memo = new QPlainTextEdit(text, parent);
    memo->setObjectName(name);
    memo->setReadOnly(true);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int lines = static_cast<int>(text.count('\n')) + 1;
    memo->setFixedHeight(memo->fontMetrics().lineSpacing() * lines + 12);
    return memo;
}

}  // namespace

TFormNorm::TFormNorm(ProgramState& state, Prompts& prompts, QWidget* parent)
    : QWidget(parent, Qt::Window), m_state(state), m_prompts(prompts)
{
    setObjectName("FormNorm");
    setWindowTitle("Dagsbehovet av energi och näringsämnen");
    auto* layout = new QVBoxLayout(this);

    Memo1 = Memo("Memo1",
                 "Dubbelklicka på den norm du vill använda\n"
                 "\"Aktiv\" avser fysisk aktivitetsnivå PAL=1,8 och \"Inaktiv\" PAL=1,6.",
                 this);
    layout->addWidget(Memo1);

    QStringList headings{"Nr", "Norm", "kJ", "kcal", "Prot g", "Fett g", "Kolh g"};
    const TableDef& def = NormTableDef("normer");
    m_fieldPositions = {def.FieldPosition("Nr"), def.FieldPosition("Norm"), SlotFieldPosition(slot::kJ),
                        SlotFieldPosition(slot::kcal), SlotFieldPosition(slot::protein), SlotFieldPosition(slot::fat),
                        SlotFieldPosition(slot::carbohydrate)};
    for (int s = slot::carbohydrate + 1; s <= kLastNutrientSlot; ++s) {
        m_fieldPositions.push_back(SlotFieldPosition(s));
        headings << QString::fromUtf8(NutrientFieldName(s).data(), static_cast<qsizetype>(NutrientFieldName(s).size()));
    }
    DBISAMDBGridNorm = new QTableWidget(0, static_cast<int>(headings.size()), this);
    DBISAMDBGridNorm->setObjectName("DBISAMDBGridNorm");
    DBISAMDBGridNorm->setHorizontalHeaderLabels(headings);
    DBISAMDBGridNorm->verticalHeader()->hide();
    DBISAMDBGridNorm->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBISAMDBGridNorm->setSelectionMode(QAbstractItemView::SingleSelection);
    DBISAMDBGridNorm->setColumnWidth(0, 44);
    DBISAMDBGridNorm->setColumnWidth(1, 240);
    for (int c = 2; c < DBISAMDBGridNorm->columnCount(); ++c) DBISAMDBGridNorm->setColumnWidth(c, 70);
    layout->addWidget(DBISAMDBGridNorm, 1);

    Memo2 = Memo("Memo2",
                 "Ändringar sparas när man lämnar raden, så när du gjort ändringar eller tillägg ska\n"
                 "du klicka på en annan rad, t.ex. raden ovan den där du ändrat.",
                 this);
    Memo2->hide();
    layout->addWidget(Memo2);
    Button1 = new QPushButton("Klicka här för att ändra i normtabellen.", this);
    Button1->setObjectName("Button1");
    layout->addWidget(Button1);

    connect(Button1, &QPushButton::clicked, this, &TFormNorm::Unlock);
    connect(DBISAMDBGridNorm, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { ChooseRow(row); });
    connect(DBISAMDBGridNorm, &QTableWidget::cellChanged, this, [this](int row, int) {
        if (!m_filling) m_editedRow = row;
    });
    connect(DBISAMDBGridNorm, &QTableWidget::currentCellChanged, this, [this](int row, int, int previousRow, int) {
        if (m_editedRow >= 0 && previousRow == m_editedRow && row != previousRow) StoreRow(previousRow);
    });

    FillGrid();
    resize(900, 520);
}

void TFormNorm::FillGrid()
{
    Table& normer = m_state.normer;
    m_filling = true;
    m_editedRow = -1;
    DBISAMDBGridNorm->setRowCount(0);
    if (normer.IsOpen()) {
        const bool hadRow = !normer.Eof();
        const long long current = hadRow ? normer.FieldInt("Nr") : 0;
        normer.SetIndex("");
        const int columns = static_cast<int>(m_fieldPositions.size());
        for (normer.First(); !normer.Eof(); normer.Next()) {
            const int row = DBISAMDBGridNorm->rowCount();
            DBISAMDBGridNorm->insertRow(row);
            for (int c = 0; c < columns; ++c) {
                auto* item = new QTableWidgetItem(QString::fromStdString(normer.FieldText(m_fieldPositions[static_cast<std::size_t>(c)])));
                if (c >= 2) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                DBISAMDBGridNorm->setItem(row, c, item);
            }
            DBISAMDBGridNorm->item(row, 0)->setData(kKeyRole, normer.FieldInt("Nr"));
        }
        // The walk leaves the cursor at the end; other windows read the table's current row.
        if (!hadRow || !normer.FindKey(current)) normer.First();
    }
    if (m_unlocked) AddBlankRow();
    m_filling = false;
}

void TFormNorm::AddBlankRow()
{
    const bool filling = m_filling;
    m_filling = true;
    const int row = DBISAMDBGridNorm->rowCount();
    DBISAMDBGridNorm->insertRow(row);
    for (int c = 0; c < DBISAMDBGridNorm->columnCount(); ++c) DBISAMDBGridNorm->setItem(row, c, new QTableWidgetItem);
    m_filling = filling;
}

void TFormNorm::showEvent(QShowEvent* event)
{
    if (m_editedRow < 0) FillGrid();
    QWidget::showEvent(event);
}

void TFormNorm::hideEvent(QHideEvent* event)
{
    if (m_editedRow >= 0) StoreRow(m_editedRow);
    QWidget::hideEvent(event);
}

void TFormNorm::ChooseRow(int row)
{
    if (m_editedRow == row) StoreRow(row);
    QTableWidgetItem* key = DBISAMDBGridNorm->item(row, 0);
    if (!key || !key->data(kKeyRole).isValid()) return;
    Table& normer = m_state.normer;
    normer.SetIndex("");
    if (!normer.FindKey(key->data(kKeyRole).toLongLong())) return;
    ChooseStandardNorm(m_state, m_prompts);
    setWindowTitle(QString::fromStdString(m_state.norm.text));
    hide();
}

void TFormNorm::Unlock()
{
    if (!UnlockNormTable(m_state, m_prompts, NormTableKind::Standard)) return;
    m_unlocked = true;
    DBISAMDBGridNorm->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed |
                                      QAbstractItemView::SelectedClicked);
    Memo2->show();
    Button1->hide();
    AddBlankRow();
}

void TFormNorm::StoreRow(int row)
{
    m_editedRow = -1;
    Table& normer = m_state.normer;
    QTableWidgetItem* key = DBISAMDBGridNorm->item(row, 0);
    if (!normer.IsOpen() || !key) return;
    const bool existing = key->data(kKeyRole).isValid();
    if (existing) {
        normer.SetIndex("");
        if (!normer.FindKey(key->data(kKeyRole).toLongLong())) return;
        normer.Edit();
    } else {
        if (key->text().trimmed().isEmpty()) return;  // a new row is stored once it has a number
        normer.Append();
    }
    for (int c = 0; c < DBISAMDBGridNorm->columnCount(); ++c) {
        QTableWidgetItem* item = DBISAMDBGridNorm->item(row, c);
        normer.SetFieldText(m_fieldPositions[static_cast<std::size_t>(c)], item ? item->text().toStdString() : std::string());
    }
    if (Status status = normer.Post(); !status) {
        m_prompts.inform(status.message);
        normer.Cancel();
        return;
    }
    m_filling = true;
    key->setData(kKeyRole, static_cast<long long>(key->text().trimmed().toLongLong()));
    m_filling = false;
    if (!existing && row == DBISAMDBGridNorm->rowCount() - 1) AddBlankRow();
}

}  // namespace velmora
