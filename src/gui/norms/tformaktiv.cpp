#include "norms/tformaktiv.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHorizontalStackedBarSeries>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>

#include "norms/activities.h"
#include "norms/normwidgets.h"
#include "norms/tformaktskapa.h"

namespace velmora {
namespace {

constexpr int kMinutesColumn = 2;
constexpr int kEntryRole = Qt::UserRole;

QTableWidget* ActivityGrid(const char* name, const QStringList& headings, QWidget* parent)
{
    auto* grid = new QTableWidget(kActivityListRows, 4, parent);
    grid->setObjectName(name);
    grid->setHorizontalHeaderLabels(headings);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed);
    grid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int c = 1; c < 4; ++c)
        grid->setColumnWidth(c, 78);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    for (int r = 0; r < kActivityListRows; ++r) {
        for (int c = 0; c < 4; ++c) {
            auto* item = new QTableWidgetItem;
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            if (c > 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid->setItem(r, c, item);
        }
    }
    return grid;
}

QLineEdit* Box(const char* name, const QString& text, QWidget* parent, bool readOnly)
{
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(name);
    edit->setReadOnly(readOnly);
    edit->setMaximumWidth(90);
    edit->setAlignment(Qt::AlignRight);
    return edit;
}

QLabel* Label(const char* name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

} // namespace

TFormAktiv::TFormAktiv(ProgramState& state, Prompts& prompts, QWidget* parent)
    : QWidget(parent, Qt::Window), m_state(state), m_prompts(prompts)
{
    setObjectName("FormAktiv");
    setWindowTitle("Dina aktiviteter");
    auto* layout = new QVBoxLayout(this);

    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName("MainMenu1");
    QMenu* arkiv = MainMenu1->addMenu("Arkiv");
    arkiv->setObjectName("Arkiv1");
    QAction* load = arkiv->addAction("Hämta aktivitetslista");
    load->setObjectName("Hmtaaktivitetslista1");
    QAction* save = arkiv->addAction("Spara aktivitetslista");
    save->setObjectName("Sparaaktivitetslista1");
    QAction* table = MainMenu1->addAction("Aktivitetstabell");
    table->setObjectName("Aktivitetstabell1");
    layout->setMenuBar(MainMenu1);

    Memo1 = MakeMemo("Memo1",
                     "Fyll i ålder, vikt, kön. Dubbelklicka på de aktiviteter du utför under ett dygn. För "
                     "varje aktivitet anger du hur många minuter den \n"
                     "pågår, t.ex. ARBETE 360 min (6 tim). Grundförbrukning är den energi som går åt om du "
                     "vilar hela dygnet. Om du inte fyller\n"
                     "i alla dygnets timmar (=1440 minuter) så räknar programmet med att du vilar under "
                     "resten av tiden. Den röda stapeln visar energin i \n"
                     "maten du ätit. Den mörkgröna stapeln visar energiförbrukningen i vila och den "
                     "ljusgröna visar den energi som går åt för aktiviterna.",
                     this);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setFixedHeight(Memo1->fontMetrics().lineSpacing() * 5 + 14);
    layout->addWidget(Memo1);

    auto* middle = new QHBoxLayout;
    layout->addLayout(middle, 1);

    auto* person = new QVBoxLayout;
    auto* form = new QFormLayout;
    Label1 = Label("Label1", "Ålder", this);
    EditAge = Box("EditAge", "15", this, false);
    Label2 = Label("Label2", "vikt", this);
    Editkg = Box("Editkg", "55", this, false);
    form->addRow(Label1, EditAge);
    form->addRow(Label2, Editkg);
    person->addLayout(form);
    RadioGroupSex = new RadioGroup("RadioGroupSex", QString(), {"Kvinna", "Man"}, this);
    RadioGroupKcal = new RadioGroup("RadioGroupKcal", QString(), {"kcal", "kJ"}, this);
    person->addWidget(RadioGroupSex);
    person->addWidget(RadioGroupKcal);
    auto* results = new QFormLayout;
    Label4 = Label("Label4", "Grundförbrukning", this);
    EditBMR = Box("EditBMR", "1356", this, true);
    Label3 = Label("Label3", "Aktivitet.", this);
    EditTot = Box("EditTot", "0", this, true);
    Label5 = Label("Label5", "Minuter kvar av dygnet", this);
    EditMinKvar = Box("EditMinKvar", "1440", this, true);
    results->addRow(Label4, EditBMR);
    results->addRow(Label3, EditTot);
    results->addRow(Label5, EditMinKvar);
    person->addLayout(results);
    person->addStretch(1);
    middle->addLayout(person);

    auto* offered = new QVBoxLayout;
    Cboxgrupp = new QComboBox(this);
    Cboxgrupp->setObjectName("Cboxgrupp");
    ListBoxAktiv = new QListWidget(this);
    ListBoxAktiv->setObjectName("ListBoxAktiv");
    ListBoxAktiv->setMinimumWidth(280);
    ButtonOK = new QPushButton("OK", this);
    ButtonOK->setObjectName("ButtonOK");
    offered->addWidget(Cboxgrupp);
    offered->addWidget(ListBoxAktiv, 1);
    offered->addWidget(ButtonOK);
    middle->addLayout(offered, 2);

    auto* list = new QVBoxLayout;
    StringGridAktiv = ActivityGrid("StringGridAktiv", {"Aktivitet", "+kcal/min", "Minuter", "+kcal"}, this);
    StringGridAktivKj = ActivityGrid("StringGridAktivKj", {"Aktivitet", "+kJ/min", "Minuter", "+kJ"}, this);
    StringGridAktivKj->hide();
    list->addWidget(StringGridAktiv, 1);
    list->addWidget(StringGridAktivKj, 1);
    auto* minuteButtons = new QGridLayout;
    const struct {
        const char* name;
        const char* caption;
        int change;
        int row, column;
    } buttons[] = {{"Button6", "+5min", 5, 0, 0},    {"Button1", "+15min", 15, 0, 1},
                   {"Button2", "+30min", 30, 0, 2},  {"Button3", "-5min", -5, 1, 0},
                   {"Button4", "-15min", -15, 1, 1}, {"Button5", "-30min", -30, 1, 2}};
    for (const auto& b : buttons) {
        auto* button = new QPushButton(b.caption, this);
        button->setObjectName(b.name);
        minuteButtons->addWidget(button, b.row, b.column);
        const int change = b.change;
        connect(button, &QPushButton::clicked, this,
                [this, change] { AdjustMinutes(m_state, m_state.norm.activity.selectedRow, change); });
        m_minuteButtons.push_back(button);
    }
    ButtonTabort = new QPushButton("Tabort rad", this);
    ButtonTabort->setObjectName("ButtonTabort");
    minuteButtons->addWidget(ButtonTabort, 0, 3, 2, 1);
    list->addLayout(minuteButtons);
    middle->addLayout(list, 3);

    m_intake = new QBarSet("Intag");
    m_intake->setColor(QColor(220, 0, 0));
    m_basal = new QBarSet("Vila");
    m_basal->setColor(QColor(0, 110, 0));
    m_activity = new QBarSet("Aktivitet");
    m_activity->setColor(QColor(120, 220, 100));
    for (QBarSet* set : {m_intake, m_basal, m_activity}) {
        set->setBorderColor(set->color().darker(130));
        *set << 0 << 0;
    }
    auto* series = new QHorizontalStackedBarSeries;
    series->append({m_intake, m_basal, m_activity});
    series->setBarWidth(0.6);
    series->setLabelsVisible(false);
    m_chart = new QChart;
    m_chart->setTitle("Dagens intag och förbruktning av energi, kcal");
    m_chart->addSeries(series);
    m_chart->legend()->hide();
    auto* categories = new QBarCategoryAxis;
    categories->append({"Intag", "Förbrukn."});
    m_chart->addAxis(categories, Qt::AlignLeft);
    series->attachAxis(categories);
    m_axis = new QValueAxis;
    m_axis->setLabelFormat("%.0f");
    m_chart->addAxis(m_axis, Qt::AlignBottom);
    series->attachAxis(m_axis);
    ChartAktiv = new QChartView(m_chart, this);
    ChartAktiv->setObjectName("ChartAktiv");
    ChartAktiv->setRenderHint(QPainter::Antialiasing);
    ChartAktiv->setMinimumHeight(200);
    layout->addWidget(ChartAktiv);

    ActivityState& a = m_state.norm.activity;
    connect(EditAge, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (m_filling) return;
        m_state.norm.activity.age = S(text);
        RecomputeActivities(m_state);
    });
    connect(Editkg, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (m_filling) return;
        m_state.norm.activity.weight = S(text);
        RecomputeActivities(m_state);
    });
    connect(RadioGroupSex, &RadioGroup::itemClicked, this, [this](int index) {
        m_state.norm.activity.sex = index;
        RecomputeActivities(m_state);
    });
    connect(RadioGroupKcal, &RadioGroup::itemClicked, this, [this](int index) {
        m_state.norm.activity.unit = index;
        RecomputeActivities(m_state);
    });
    connect(Cboxgrupp, &QComboBox::activated, this, [this, &a](int) {
        a.group = S(Cboxgrupp->currentText());
        FillOffered();
    });
    connect(ListBoxAktiv, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem*) { AddSelected(); });
    connect(ButtonOK, &QPushButton::clicked, this, &TFormAktiv::AddSelected);
    connect(ButtonTabort, &QPushButton::clicked, this,
            [this] { RemoveActivity(m_state, m_state.norm.activity.selectedRow); });
    for (QTableWidget* grid : {StringGridAktiv, StringGridAktivKj}) {
        grid->installEventFilter(this);
        connect(grid, &QTableWidget::currentCellChanged, this, [this](int row, int column, int, int) {
            if (!m_filling && row >= 0) SelectCell(row, column);
        });
        connect(grid, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
            if (m_filling || item->column() != kMinutesColumn) return;
            CommitActivityCell(m_state, m_prompts, item->row() + 1, kMinutesColumn, S(item->text()));
        });
    }
    connect(load, &QAction::triggered, this, [this] { LoadActivityListCommand(m_state, m_prompts); });
    connect(save, &QAction::triggered, this, [this] { SaveActivityListCommand(m_state, m_prompts); });
    connect(table, &QAction::triggered, this, &TFormAktiv::ShowTableWindow);

    if (!a.tableLoaded) LoadActivityTable(m_state, m_prompts);
    FillGroups();
    FillOffered();
    m_state.refreshHooks.push_back([guard = QPointer<TFormAktiv>(this)] {
        if (guard) guard->Refresh();
    });
    Refresh();
    resize(1180, 760);
}

void TFormAktiv::ShowFromMenu()
{
    show();
    raise();
    activateWindow();
}

void TFormAktiv::showEvent(QShowEvent* event)
{
    Refresh(); // the chart is only drawn while the window shows
    QWidget::showEvent(event);
}

void TFormAktiv::FillGroups()
{
    Cboxgrupp->clear();
    for (const std::string& group : ActivityGroups(m_state.norm.activity))
        Cboxgrupp->addItem(Q(group));
    const int chosen = Cboxgrupp->findText(Q(m_state.norm.activity.group));
    Cboxgrupp->setCurrentIndex(std::max(chosen, 0));
}

void TFormAktiv::FillOffered()
{
    const ActivityState& a = m_state.norm.activity;
    ListBoxAktiv->clear();
    for (int index : OfferedActivities(a, a.group)) {
        auto* item =
            new QListWidgetItem(Q(ActivityLabel(a.table[static_cast<std::size_t>(index)])), ListBoxAktiv);
        item->setData(kEntryRole, index);
    }
}

void TFormAktiv::AddSelected()
{
    const ActivityState& a = m_state.norm.activity;
    QListWidgetItem* item = ListBoxAktiv->currentItem();
    const ActivityTableEntry* entry = nullptr;
    if (item && item->isSelected()) {
        const int index = item->data(kEntryRole).toInt();
        if (index >= 0 && index < kActivityTableRows) entry = &a.table[static_cast<std::size_t>(index)];
    }
    AddActivity(m_state, m_prompts, entry);
}

void TFormAktiv::SelectCell(int row, int column)
{
    ActivityState& a = m_state.norm.activity;
    a.selectedRow = row + 1;
    a.selectedColumn = column;
    m_filling = true;
    for (QTableWidget* grid : {StringGridAktiv, StringGridAktivKj}) {
        if (grid->currentRow() != row || grid->currentColumn() != column) grid->setCurrentCell(row, column);
    }
    m_filling = false;
}

void TFormAktiv::Refresh()
{
    const ActivityState& a = m_state.norm.activity;
    m_filling = true;
    if (EditAge->text() != Q(a.age)) EditAge->setText(Q(a.age));
    if (Editkg->text() != Q(a.weight)) Editkg->setText(Q(a.weight));
    RadioGroupSex->SetItemIndex(a.sex);
    RadioGroupKcal->SetItemIndex(a.unit);
    Label4->setText(Q(a.basalLabel));
    Label3->setText(Q(a.activityLabel));
    EditBMR->setText(Q(a.basalText));
    EditTot->setText(Q(a.activityText));
    EditMinKvar->setText(Q(a.minutesLeftText));
    m_filling = false;
    FillLists();
    if (isVisible()) DrawChart();
}

void TFormAktiv::FillLists()
{
    const ActivityState& a = m_state.norm.activity;
    m_filling = true;
    for (int r = 0; r < kActivityListRows; ++r) {
        const ActivityRow& row = a.rows[static_cast<std::size_t>(r)];
        const ActivityKjTexts kj = ActivityRowKj(row);
        const QString texts[2][4] = {{Q(row.label), Q(row.energyPerMinute), Q(row.minutes), Q(row.energy)},
                                     {Q(row.label), Q(kj.energyPerMinute), Q(row.minutes), Q(kj.energy)}};
        QTableWidget* grids[2] = {StringGridAktiv, StringGridAktivKj};
        for (int g = 0; g < 2; ++g) {
            for (int c = 0; c < 4; ++c)
                SetCellText(grids[g], r, c, texts[g][c]);
            // Only the minutes of a listed activity can be typed over.
            QTableWidgetItem* minutes = grids[g]->item(r, kMinutesColumn);
            const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable |
                                        (row.IsEmpty() ? Qt::NoItemFlags : Qt::ItemIsEditable);
            if (minutes->flags() != flags) minutes->setFlags(flags);
        }
    }
    StringGridAktiv->setVisible(a.unit == 0);
    StringGridAktivKj->setVisible(a.unit == 1);
    if (a.selectedRow >= 1) {
        for (QTableWidget* grid : {StringGridAktiv, StringGridAktivKj}) {
            if (grid->currentRow() != a.selectedRow - 1)
                grid->setCurrentCell(a.selectedRow - 1, a.selectedColumn);
        }
    }
    m_filling = false;
}

void TFormAktiv::DrawChart()
{
    const ActivityChart chart = ActivityChartValues(m_state);
    m_intake->replace(0, chart.intake);
    m_basal->replace(1, chart.basal);
    m_activity->replace(1, chart.activity);
    const float largest = std::max({chart.intake, chart.basal + chart.activity, 1.0f});
    m_axis->setRange(0, largest * 1.1);
    m_axis->applyNiceNumbers();
}

bool TFormAktiv::eventFilter(QObject* watched, QEvent* event)
{
    auto* grid = qobject_cast<QTableWidget*>(watched);
    if (grid && event->type() == QEvent::KeyPress && !IsEditing(grid)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && grid->currentRow() >= 0) {
            const int row = grid->currentRow(), column = grid->currentColumn();
            const std::string text =
                grid->item(row, column) ? S(grid->item(row, column)->text()) : std::string();
            CommitActivityCell(m_state, m_prompts, row + 1, column, text);
            FillLists(); // puts back what the cell holds
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TFormAktiv::ShowTableWindow()
{
    TFormAktskapa* window = m_tableWindow;
    if (!window && parentWidget())
        window = parentWidget()->findChild<TFormAktskapa*>(QString(), Qt::FindDirectChildrenOnly);
    if (window) window->ShowFromMenu();
}

} // namespace velmora
