#include "mainwindow/tforminst.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "mainwindow/settingswindow.h"

namespace velmora {
namespace {

QPlainTextEdit* Memo(const char* name, const QString& text, QWidget* parent)
{
    auto* memo = new QPlainTextEdit(text, parent);
    memo->setObjectName(name);
    memo->setReadOnly(true);
    memo->setFrameShape(QFrame::NoFrame);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int lines = static_cast<int>(text.count('\n')) + 1;
    memo->setFixedHeight(memo->fontMetrics().lineSpacing() * lines + 12);
    return memo;
}

// Row 0 is the heading; column 0 holds the fixed row names, column 1 the editable per cents.
QTableWidget* Grid(const char* name, const QString& heading, const QStringList& rowNames, QWidget* parent)
{
    auto* grid = new QTableWidget(static_cast<int>(rowNames.size()) + 1, 2, parent);
    grid->setObjectName(name);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    grid->setColumnWidth(1, 120);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 8);
    grid->setWordWrap(false);
    grid->setEditTriggers(QAbstractItemView::AllEditTriggers);
    auto fixed = [grid](int row, int column, const QString& text) {
        auto* item = new QTableWidgetItem(text);
        item->setFlags(Qt::ItemIsEnabled);
        item->setBackground(grid->palette().button());
        grid->setItem(row, column, item);
    };
    fixed(0, 0, QString());
    fixed(0, 1, heading);
    for (int r = 0; r < rowNames.size(); ++r) {
        fixed(r + 1, 0, rowNames[r]);
        grid->setItem(r + 1, 1, new QTableWidgetItem);
    }
    int height = 2 * grid->frameWidth();
    for (int r = 0; r < grid->rowCount(); ++r) height += grid->rowHeight(r);
    grid->setFixedHeight(height);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return grid;
}

template <std::size_t N>
void FillColumn(QTableWidget* grid, const std::array<std::string, N>& cells)
{
    for (std::size_t i = 0; i < N; ++i) grid->item(static_cast<int>(i) + 1, 1)->setText(QString::fromStdString(cells[i]));
}

}  // namespace

TFormInst::TFormInst(ProgramState& state, Prompts& prompts, QWidget* parent)
    : QWidget(parent, Qt::Window), m_state(state), m_prompts(prompts)
{
    setObjectName("FormInst");
    setWindowTitle("Inställningar");
    auto* layout = new QVBoxLayout(this);

    Memo1 = Memo("Memo1", "Önskad fördelning av näringsintag\nför dagens måltider i %.", this);
    StringGrid1 = Grid("StringGrid1", "% av dagbehovet",
                       {"Frukost", "Lunch", "Middag", "M-mål 1", "M-mål 2", "M-mål 3", "M-mål 4", "M-mål 5", "M-mål 6"},
                       this);
    Memo2 = Memo("Memo2", "Ideal energifördelning i %", this);
    StringGrid2 = Grid("StringGrid2", "Ideal energi%",
                       {"Protein", "Fett", "Kolhydrat", "Enkelomättat fett", "Fleromättat fett", "Mättat fett"}, this);
    Memo3 = Memo("Memo3", "Ideal energifördelning följer normerna \noch ändras när du byter norm.", this);

    RadioGroup1 = new QGroupBox("Ska dagen delas upp i måltider?", this);
    RadioGroup1->setObjectName("RadioGroup1");
    auto* choices = new QHBoxLayout(RadioGroup1);
    m_divided = new QRadioButton("Ja", RadioGroup1);
    m_divided->setObjectName("RadioGroup1Ja");
    m_wholeDay = new QRadioButton("Nej", RadioGroup1);
    m_wholeDay->setObjectName("RadioGroup1Nej");
    choices->addWidget(m_divided);
    choices->addWidget(m_wholeDay);
    connect(m_divided, &QRadioButton::clicked, this, [this] { SetMealDivision(m_state, true); });
    connect(m_wholeDay, &QRadioButton::clicked, this, [this] { SetMealDivision(m_state, false); });

    Button1 = new QPushButton("Verkställ", this);
    Button1->setObjectName("Button1");
    connect(Button1, &QPushButton::clicked, this, [this] {
        TakeGrids();
        ApplySettingsWindow(m_state, m_prompts);
    });
    Button3 = new QPushButton("Texter till Mattipsen", this);
    Button3->setObjectName("Button3");
    Button3->hide();

    for (QWidget* w : std::initializer_list<QWidget*>{Memo1, StringGrid1, Memo2, StringGrid2, Memo3, RadioGroup1, Button1, Button3}) {
        layout->addWidget(w);
    }
    layout->addStretch(1);

    for (QTableWidget* grid : {StringGrid1, StringGrid2}) {
        connect(grid, &QTableWidget::cellChanged, this, [this, grid](int row, int column) { CellEdited(grid, row, column); });
    }
    m_state.refreshHooks.push_back([guard = QPointer<TFormInst>(this)] {
        if (guard) guard->Refresh();
    });
    Refresh();
    resize(340, sizeHint().height());
}

void TFormInst::Refresh()
{
    m_filling = true;
    if (m_state.settings.mealShareCells != m_shownShareCells) {
        m_shownShareCells = m_state.settings.mealShareCells;
        FillColumn(StringGrid1, m_shownShareCells);
    }
    if (m_state.settings.idealCells != m_shownIdealCells) {
        m_shownIdealCells = m_state.settings.idealCells;
        FillColumn(StringGrid2, m_shownIdealCells);
    }
    m_filling = false;
    (m_state.calculation.wholeDay ? m_wholeDay : m_divided)->setChecked(true);
}

// The meal shares are read from the grid by every recalculation, so a typed cell counts from now
// on; the ideal distribution and the file wait for "Verkställ".
void TFormInst::CellEdited(QTableWidget* grid, int row, int column)
{
    if (m_filling || column != 1 || row < 1) return;
    const std::string text = grid->item(row, column)->text().toStdString();
    const auto i = static_cast<std::size_t>(row - 1);
    if (grid == StringGrid1 && i < m_state.settings.mealShareCells.size()) {
        m_state.settings.mealShareCells[i] = m_shownShareCells[i] = text;
    } else if (grid == StringGrid2 && i < m_state.settings.idealCells.size()) {
        m_state.settings.idealCells[i] = m_shownIdealCells[i] = text;
    }
}

void TFormInst::TakeGrids()
{
    for (std::size_t i = 0; i < m_state.settings.mealShareCells.size(); ++i) {
        m_state.settings.mealShareCells[i] = StringGrid1->item(static_cast<int>(i) + 1, 1)->text().toStdString();
    }
    for (std::size_t i = 0; i < m_state.settings.idealCells.size(); ++i) {
        m_state.settings.idealCells[i] = StringGrid2->item(static_cast<int>(i) + 1, 1)->text().toStdString();
    }
    m_shownShareCells = m_state.settings.mealShareCells;
    m_shownIdealCells = m_state.settings.idealCells;
}

}  // namespace velmora
