#include "mainwindow/resultcharts.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QButtonGroup>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHorizontalStackedBarSeries>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPieSeries>
#include <QPieSlice>
#include <QPointer>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValueAxis>

namespace velmora {
namespace {

QColor ToColor(Rgb rgb) { return QColor::fromRgb(static_cast<QRgb>(rgb)); }
QString Q(const std::string& text) { return QString::fromStdString(text); }

QToolButton* SpeedButton(const char* name, const char* caption, QButtonGroup* group, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(caption);
    button->setCheckable(true);
    button->setAutoRaise(false);
    group->addButton(button);
    return button;
}

QChartView* PieChart(const char* viewName, const char* seriesName, QPieSeries*& series, QWidget* parent)
{
    auto* chart = new QChart;
    chart->legend()->hide();
    chart->setBackgroundRoundness(0);
    series = new QPieSeries(chart);
    series->setObjectName(seriesName);
    series->setPieSize(0.6);
    chart->addSeries(series);
    auto* view = new QChartView(chart, parent);
    view->setObjectName(viewName);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(160, 160);
    return view;
}

}  // namespace

ResultCharts::ResultCharts(ProgramState& state, Prompts& prompts, QWidget* parent)
    : QWidget(parent), m_state(state), m_prompts(prompts)
{
    setObjectName("ResultCharts");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(BuildButtonRow());
    auto* middle = new QHBoxLayout;
    auto* charts = new QVBoxLayout;
    charts->addWidget(BuildBarArea(), 1);
    charts->addWidget(BuildPieArea(), 1);
    middle->addLayout(charts, 1);
    middle->addWidget(BuildAnalysisButtons());
    layout->addLayout(middle, 1);

    m_state.refreshHooks.push_back([guard = QPointer<ResultCharts>(this)] {
        if (guard) guard->Refresh();
    });
    Refresh();
}

QWidget* ResultCharts::BuildButtonRow()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* label = new QLabel("Visa diagram för", row);
    label->setObjectName("Label2");
    layout->addWidget(label);
    auto* modes = new QButtonGroup(row);
    SpeedButton9 = SpeedButton("SpeedButton9", "Måltid", modes, row);
    SpeedButton10 = SpeedButton("SpeedButton10", "Dag", modes, row);
    SpeedButton11 = SpeedButton("SpeedButton11", "Dagar", modes, row);
    for (QToolButton* button : {SpeedButton9, SpeedButton10, SpeedButton11}) layout->addWidget(button);
    connect(SpeedButton9, &QToolButton::clicked, this, [this] {
        emit dayColourWindowRequested(false);
        SetChartMode(m_state, 0);
    });
    connect(SpeedButton10, &QToolButton::clicked, this, [this] {
        emit dayColourWindowRequested(false);
        SetChartMode(m_state, 1);
    });
    connect(SpeedButton11, &QToolButton::clicked, this, [this] {
        SetChartMode(m_state, 2);
        emit dayColourWindowRequested(true);
    });
    layout->addSpacing(12);

    auto* views = new QButtonGroup(row);
    SpeedButton5 = SpeedButton("SpeedButton5", "Staplar", views, row);
    SpeedButton6 = SpeedButton("SpeedButton6", "Energicirklar", views, row);
    SpeedButton8 = SpeedButton("SpeedButton8", "Saknade värden", views, row);
    for (QToolButton* button : {SpeedButton5, SpeedButton6, SpeedButton8}) layout->addWidget(button);
    connect(SpeedButton5, &QToolButton::clicked, this, [this] { ShowChartView(m_state, ChartView::Bars); });
    connect(SpeedButton6, &QToolButton::clicked, this, [this] { ShowChartView(m_state, ChartView::EnergyPies); });
    connect(SpeedButton8, &QToolButton::clicked, this, [this] { ShowChartView(m_state, ChartView::MissingValues); });

    CheckboxAlkohol = new QCheckBox("Räkna med Alkohol", row);
    CheckboxAlkohol->setObjectName("CheckboxAlkohol");
    layout->addWidget(CheckboxAlkohol);
    connect(CheckboxAlkohol, &QCheckBox::clicked, this, [this](bool checked) { CountAlcohol(m_state, checked); });
    layout->addStretch(1);

    ButtonProcent = new QPushButton(row);
    ButtonProcent->setObjectName("ButtonProcent");
    ButtonProcent->setToolTip("Växla mellan mängd och procent i staplarnas texter");
    connect(ButtonProcent, &QPushButton::clicked, this, [this] { TogglePercentLabels(m_state); });
    Button1 = new QPushButton("Zoom -", row);
    Button1->setObjectName("Button1");
    Button2 = new QPushButton("Zoom +", row);
    Button2->setObjectName("Button2");
    connect(Button1, &QPushButton::clicked, this, [this] {
        ZoomOut(m_state.charts);
        ApplyAxis();
    });
    connect(Button2, &QPushButton::clicked, this, [this] {
        ZoomIn(m_state.charts);
        ApplyAxis();
    });
    for (QPushButton* button : {ButtonProcent, Button1, Button2}) layout->addWidget(button);

    EditPris = new QLineEdit(row);
    EditPris->setObjectName("EditPris");
    EditPris->setReadOnly(true);
    EditPris->setFocusPolicy(Qt::NoFocus);
    EditPris->setMaximumWidth(140);
    layout->addWidget(EditPris);
    return row;
}

QWidget* ResultCharts::BuildBarArea()
{
    m_barArea = new QWidget(this);
    auto* layout = new QGridLayout(m_barArea);
    layout->setContentsMargins(0, 0, 0, 0);

    m_barChart = new QChart;
    m_barChart->legend()->hide();
    m_barChart->setBackgroundRoundness(0);
    m_barChart->setMargins(QMargins(4, 4, 12, 4));
    m_barSeries = new QHorizontalStackedBarSeries(m_barChart);
    m_barSeries->setObjectName("SeriesStapel");
    m_barSeries->setBarWidth(0.75);
    m_barChart->addSeries(m_barSeries);

    m_valueAxis = new QValueAxis(m_barChart);
    m_valueAxis->setLabelFormat("%d");
    m_valueAxis->setTickType(QValueAxis::TicksDynamic);
    m_valueAxis->setTickAnchor(0);
    m_categoryAxis = new QBarCategoryAxis(m_barChart);
    m_categoryAxis->setGridLineVisible(false);
    // Nutrient labels are short; eliding them leaves only "..." when the chart is low.
    m_categoryAxis->setTruncateLabels(false);
    m_barChart->addAxis(m_valueAxis, Qt::AlignBottom);
    m_barChart->addAxis(m_categoryAxis, Qt::AlignLeft);
    m_barSeries->attachAxis(m_valueAxis);
    m_barSeries->attachAxis(m_categoryAxis);

    // The 100 % line: a vertical line at the value 100 across the plot, on an axis of its own.
    m_line100 = new QLineSeries(m_barChart);
    m_line100->setObjectName("Linje100");
    m_line100->append(100, 0);
    m_line100->append(100, 1);
    m_line100->setPen(QPen(Qt::black, 1.5));
    m_barChart->addSeries(m_line100);
    m_lineAxis = new QValueAxis(m_barChart);
    m_lineAxis->setRange(0, 1);
    m_lineAxis->setVisible(false);
    m_barChart->addAxis(m_lineAxis, Qt::AlignRight);
    m_line100->attachAxis(m_valueAxis);
    m_line100->attachAxis(m_lineAxis);

    ChartStapel = new QChartView(m_barChart, m_barArea);
    ChartStapel->setObjectName("ChartStapel");
    ChartStapel->setRenderHint(QPainter::Antialiasing);
    ChartStapel->setMinimumHeight(180);
    ChartStapel->installEventFilter(this);
    layout->addWidget(ChartStapel, 0, 0);

    MemoStapel = new QLabel(m_barArea);
    MemoStapel->setObjectName("MemoStapel");
    QStringList lines;
    for (std::string_view line : kBarHintLines) lines << QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
    MemoStapel->setText(lines.join('\n'));
    MemoStapel->setStyleSheet("QLabel { background: #ff0000; color: white; padding: 6px; }");
    MemoStapel->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Maximum);
    layout->addWidget(MemoStapel, 0, 0, Qt::AlignRight | Qt::AlignTop);

    SpinButton1 = new QWidget(m_barArea);
    SpinButton1->setObjectName("SpinButton1");
    auto* spin = new QVBoxLayout(SpinButton1);
    spin->setContentsMargins(0, 0, 0, 0);
    spin->setSpacing(0);
    auto* up = new QToolButton(SpinButton1);
    up->setObjectName("SpinButton1Up");
    up->setArrowType(Qt::UpArrow);
    up->setToolTip("Föregående sida");
    auto* down = new QToolButton(SpinButton1);
    down->setObjectName("SpinButton1Down");
    down->setArrowType(Qt::DownArrow);
    down->setToolTip("Nästa sida");
    spin->addStretch(1);
    spin->addWidget(up);
    spin->addWidget(down);
    spin->addStretch(1);
    connect(up, &QToolButton::clicked, this, [this] { TurnBarPage(-1); });
    connect(down, &QToolButton::clicked, this, [this] { TurnBarPage(+1); });
    layout->addWidget(SpinButton1, 0, 1);
    layout->setColumnStretch(0, 1);
    return m_barArea;
}

QWidget* ResultCharts::BuildPieArea()
{
    m_pieArea = new QWidget(this);
    auto* layout = new QHBoxLayout(m_pieArea);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    ChartEnergi = PieChart("ChartEnergi", "PieSeries1", PieSeries1, m_pieArea);
    ChartEnergiRek = PieChart("ChartEnergiRek", "PieSeries2", PieSeries2, m_pieArea);
    layout->addWidget(ChartEnergi, 1);
    layout->addWidget(ChartEnergiRek, 1);
    return m_pieArea;
}

QWidget* ResultCharts::BuildAnalysisButtons()
{
    auto* column = new QWidget(this);
    column->setObjectName("PanelAnalys");
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    struct Entry {
        const char* name;
        const char* caption;
        bool shown;
    };
    // Their windows are not part of the program yet; the buttons keep their places meanwhile.
    const Entry entries[] = {
        {"ButtonVisaSiffror", "Näringen i siffror", true}, {"Button8", "Tidsdiagram", true},
        {"ButtonFett", "Fettsammansättning", true},        {"ButtonNvPerKg", "Per kg kroppsvikt", true},
        {"ButtonEnergiCirkel", "Livsmedelscirkel", true},  {"ButtonNv100g", "Näring per 100g", true},
        {"ButtonSalt", "Salt", true},                      {"ButtonGram", "Näring per livsmedel", true},
        {"ButtonLivsGrupper", "Livsmedelsgrupper", false}, {"ButtonInsulin", "Insulin", false},
    };
    for (const Entry& entry : entries) {
        auto* button = new QPushButton(entry.caption, column);
        button->setObjectName(entry.name);
        button->setEnabled(false);
        button->setVisible(entry.shown);
        const QString name = entry.name;
        connect(button, &QPushButton::clicked, this, [this, name] { emit analysisRequested(name); });
        layout->addWidget(button);
    }
    layout->addStretch(1);
    return column;
}

void ResultCharts::Refresh()
{
    const ChartState& charts = m_state.charts;
    const bool pies = charts.view == ChartView::EnergyPies;

    SpeedButton9->setChecked(m_state.ChartMode == 0);
    SpeedButton10->setChecked(m_state.ChartMode == 1);
    SpeedButton11->setChecked(m_state.ChartMode == 2);
    SpeedButton5->setChecked(charts.view == ChartView::Bars);
    SpeedButton6->setChecked(pies);
    SpeedButton8->setChecked(charts.view == ChartView::MissingValues);
    CheckboxAlkohol->setChecked(m_state.energyFactors.CountsAlcohol());
    CheckboxAlkohol->setVisible(pies);
    SpeedButton8->setVisible(!pies);
    ButtonProcent->setText(Q(charts.percentButtonCaption));
    EditPris->setText(Q(PriceText(m_state)));
    m_barArea->setVisible(!pies);
    m_pieArea->setVisible(pies);
    MemoStapel->setVisible(BarHintShown(m_state));

    m_bars = BuildBarChart(m_state);
    QPalette palette = SpeedButton8->palette();
    palette.setColor(QPalette::ButtonText, ToColor(m_bars.anyMissing ? kMissingMarked : kMissingClear));
    SpeedButton8->setPalette(palette);

    if (pies) {
        const EnergyPies energy = BuildEnergyPies(m_state);
        ChartEnergi->chart()->setTitle(Q(m_state.texts.actualPieTitle));
        ChartEnergiRek->chart()->setTitle(Q(m_state.texts.idealPieTitle));
        RenderPie(PieSeries1, energy.actual);
        RenderPie(PieSeries2, energy.ideal);
    } else {
        m_barChart->setTitle(Q(m_bars.title));
        ApplyAxis();
        RenderBarPage();
    }
}

void ResultCharts::RenderBarPage()
{
    const int barCount = static_cast<int>(m_bars.barSlots.size());
    const PageRange page = CurrentPage(m_state.charts, barCount);
    SpinButton1->setVisible(PageButtonsShown(m_state.charts, barCount));

    // A horizontal bar chart draws its first category at the bottom; the first nutrient goes on top.
    auto bar = [&page](int position) { return static_cast<std::size_t>(page.first + page.count - 1 - position); };

    // Category labels must differ; two nutrients may show the same text (both energies in per cent).
    QStringList categories;
    for (int p = 0; p < page.count; ++p) {
        QString label = Q(m_bars.labels[bar(p)]);
        while (categories.contains(label)) label += QChar(0x200B);
        categories << label;
    }

    std::vector<int> numbers;
    numbers.reserve(m_bars.series.size());
    for (const BarSeries& s : m_bars.series) numbers.push_back(s.number);
    if (numbers != m_setNumbers || page.count != m_setValueCount) {
        // The set of series or the bar count changed: build the sets anew.
        m_barSeries->clear();
        m_sets.clear();
        QList<QBarSet*> sets;
        for (const BarSeries& s : m_bars.series) {
            auto* set = new QBarSet(QString::number(s.number));
            set->setObjectName(QString("Series%1").arg(s.number));
            set->setColor(ToColor(BarSeriesColour(s.number)));
            set->setBorderColor(ToColor(BarSeriesColour(s.number)));
            for (int p = 0; p < page.count; ++p) *set << s.values[bar(p)];
            sets << set;
            m_sets.push_back(set);
        }
        if (!sets.isEmpty()) m_barSeries->append(sets);
        m_setNumbers = std::move(numbers);
        m_setValueCount = page.count;
    } else {
        for (std::size_t i = 0; i < m_sets.size(); ++i) {
            const std::vector<float>& values = m_bars.series[i].values;
            for (int p = 0; p < page.count; ++p) {
                const qreal value = values[bar(p)];
                if (m_sets[i]->at(p) != value) m_sets[i]->replace(p, value);
            }
        }
    }
    if (m_categoryAxis->categories() != categories) m_categoryAxis->setCategories(categories);
}

void ResultCharts::RenderPie(QPieSeries* series, const std::vector<PieSlice>& slices)
{
    series->clear();
    for (const PieSlice& s : slices) {
        auto* slice = series->append(Q(s.text), s.value);
        slice->setColor(ToColor(s.colour));
        slice->setBorderColor(Qt::white);
        slice->setLabelVisible(true);
    }
}

void ResultCharts::ApplyAxis()
{
    const int maximum = m_state.charts.axisMaximum;
    m_valueAxis->setRange(0, maximum);
    m_valueAxis->setTickInterval(maximum <= 300 ? 50 : 100);
    m_valueAxis->setLabelsVisible(m_bars.valueAxisLabels);
    Button2->setVisible(ZoomInShown(m_state.charts));
}

bool ResultCharts::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ChartStapel && event->type() == QEvent::Resize) ChartHeightChanged();
    return QWidget::eventFilter(watched, event);
}

void ResultCharts::ChartHeightChanged()
{
    const int barCount = static_cast<int>(m_bars.barSlots.size());
    const PageRange before = CurrentPage(m_state.charts, barCount);
    SetChartHeight(m_state.charts, ChartStapel->height(), barCount);
    const PageRange after = CurrentPage(m_state.charts, barCount);
    if (before.first != after.first || before.count != after.count) RenderBarPage();
    else SpinButton1->setVisible(PageButtonsShown(m_state.charts, barCount));
}

void ResultCharts::TurnBarPage(int step)
{
    TurnPage(m_state.charts, step, static_cast<int>(m_bars.barSlots.size()));
    RenderBarPage();
}

}  // namespace velmora
