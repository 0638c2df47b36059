#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QHorizontalStackedBarSeries>
#include <QLabel>
#include <QLineEdit>
#include <QPieSeries>
#include <QPieSlice>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <QValueAxis>

#include "core/recalculate.h"
#include "core/workspace_ops.h"
#include "guisupport.h"
#include "mainwindow/resultcharts.h"

using namespace velmora;
using namespace velmora::guitest;

namespace {

// The start norm has 75 g protein, so 100 g of "Proteinbar" (7.5 g per 100 g) is 10 % of a day's
// protein and fills breakfast's quarter of the need to 40 %. Everything not stated is missing.
struct Charts {
    Charts()
    {
        fixture.Table("nalvex100", "Kod\tLivsmedel\tPortionsstorlek\tEnhet\tEnergi _kJ_ _kJ_\tEnergi _kcal_ _kcal_\tProtein _g_\tFett _g_"
                                   "\tKolhydrater _g_\tAlkohol _g_\tkgpris\n"
                                   "1\tProteinbar\t100\tst\t1000\t239\t7.5\t10\t30\t0\t40\n"
                                   "2\tVin\t100\tdl\t300\t72\t0\t0\t3\t10\t100\n");
        state = fixture.Start();
        widget = std::make_unique<ResultCharts>(*state, prompts);
    }
    void Add(const std::string& name, const std::string& code)
    {
        AddFood(*state, prompts, FoodListEntry{name, name + "{" + code + "}100@st"});
    }
    template <typename T>
    T* Find(const char* name) const
    {
        T* control = widget->findChild<T*>(name);
        if (!control) qWarning("no control %s", name);
        return control;
    }
    QChart* BarChart() const { return Find<QChartView>("ChartStapel")->chart(); }
    QHorizontalStackedBarSeries* Bars() const
    {
        for (QAbstractSeries* s : BarChart()->series()) {
            if (auto* bars = qobject_cast<QHorizontalStackedBarSeries*>(s)) return bars;
        }
        return nullptr;
    }
    QStringList Categories() const
    {
        return qobject_cast<QBarCategoryAxis*>(BarChart()->axes(Qt::Vertical, Bars()).first())->categories();
    }
    int Category(const QString& prefix) const
    {
        const QStringList categories = Categories();
        for (int i = 0; i < categories.size(); ++i) {
            if (categories[i].startsWith(prefix)) return i;
        }
        return -1;
    }
    QStringList SetNames() const
    {
        QStringList names;
        for (QBarSet* set : Bars()->barSets()) names << set->objectName();
        return names;
    }
    QBarSet* Set(const QString& name) const
    {
        for (QBarSet* set : Bars()->barSets()) {
            if (set->objectName() == name) return set;
        }
        return nullptr;
    }
    QPieSeries* Pie(const char* view) const
    {
        return qobject_cast<QPieSeries*>(Find<QChartView>(view)->chart()->series().first());
    }
    static QStringList Labels(QPieSeries* pie)
    {
        QStringList labels;
        for (QPieSlice* slice : pie->slices()) labels << slice->label();
        return labels;
    }

    GuiFixture fixture;
    ScriptedPrompts prompts;
    std::unique_ptr<ProgramState> state;
    std::unique_ptr<ResultCharts> widget;
};

}  // namespace

class TestResultCharts : public QObject {
    Q_OBJECT
private slots:
    void barsFollowTheMeal();
    void modeButtons();
    void viewsAndMissingValues();
    void alcoholBoxAndPies();
    void zoomPercentAndPaging();
};

void TestResultCharts::barsFollowTheMeal()
{
    Charts c;
    QVERIFY(c.Bars()->barSets().isEmpty());
    c.Add("Proteinbar", "1");
    QCOMPARE(c.SetNames(), QStringList{"Series1"});
    const int protein = c.Category("prot ");
    QVERIFY(protein >= 0);
    QCOMPARE(c.Categories()[protein], QString("prot    7.5g"));
    QCOMPARE(c.Set("Series1")->at(protein), 40.0);
    QCOMPARE(c.Set("Series1")->color(), QColor(0, 0, 255));
    QCOMPARE(c.BarChart()->title(), QString("% of recommended intake for Breakfast DAG1"));
    QCOMPARE(c.Find<QLineEdit>("EditPris")->text(), QString("Pris: 4.00 kr"));

    // Changing the grams keeps the sets and only moves the values.
    QPointer<QBarSet> first = c.Set("Series1");
    c.state->calculation.Row(0, 0, 1).grams = 50;
    Recalculate(*c.state);
    QCOMPARE(c.Set("Series1"), first.data());
    QCOMPARE(first->at(protein), 20.0);

    c.Add("Proteinbar", "1");
    QCOMPARE(c.SetNames(), (QStringList{"Series1", "Series2"}));
    QCOMPARE(c.Set("Series2")->at(protein), 40.0);
    QCOMPARE(c.Set("Series2")->color(), QColor(255, 0, 0));

    // A meal without a share: the red hint and empty segments.
    QVERIFY(!c.Find<QLabel>("MemoStapel")->isVisibleTo(c.widget.get()));
    c.state->settings.mealShareCells[0] = "0";
    Recalculate(*c.state);
    QVERIFY(c.Find<QLabel>("MemoStapel")->isVisibleTo(c.widget.get()));
    QCOMPARE(c.Set("Series2")->at(protein), 0.0);
    QVERIFY(c.prompts.unexpected.empty());
}

void TestResultCharts::modeButtons()
{
    Charts c;
    c.Add("Proteinbar", "1");
    c.state->CurrentMeal = 2;
    c.Add("Proteinbar", "1");
    QSignalSpy dayColours(c.widget.get(), &ResultCharts::dayColourWindowRequested);

    QTest::mouseClick(c.Find<QToolButton>("SpeedButton10"), Qt::LeftButton);
    QCOMPARE(c.state->ChartMode, 1);
    QVERIFY(c.Find<QToolButton>("SpeedButton10")->isChecked());
    QCOMPARE(c.Bars()->barSets().size(), 9);
    const int protein = c.Category("prot ");
    QCOMPARE(c.Set("Series1")->at(protein), 10.0);
    QCOMPARE(c.Set("Series2")->at(protein), 0.0);
    QCOMPARE(c.Set("Series3")->at(protein), 10.0);
    QCOMPARE(c.Categories()[protein], QString("prot   15.0g"));
    QCOMPARE(c.BarChart()->title(), QString("Näring i % av behovet för hela DAG1"));
    QCOMPARE(c.Find<QLineEdit>("EditPris")->text(), QString("Pris: 8.00 kr"));

    QTest::mouseClick(c.Find<QToolButton>("SpeedButton11"), Qt::LeftButton);
    QCOMPARE(c.state->ChartMode, 2);
    QCOMPARE(c.Bars()->barSets().size(), 21);  // every day is included at start
    QCOMPARE(c.Set("Series1")->at(protein), 20.0);
    QCOMPARE(c.BarChart()->title(), QString("Näring i % av dagsbehovet för perioden"));

    QTest::mouseClick(c.Find<QToolButton>("SpeedButton9"), Qt::LeftButton);
    QCOMPARE(c.state->ChartMode, 0);
    QCOMPARE(c.SetNames(), QStringList{"Series1"});
    QVERIFY(qAbs(c.Set("Series1")->at(protein) - 10.0 / 0.30) < 1e-3);  // dinner's share

    QCOMPARE(dayColours.size(), 3);
    QCOMPARE(dayColours[0][0].toBool(), false);
    QCOMPARE(dayColours[1][0].toBool(), true);
    QCOMPARE(dayColours[2][0].toBool(), false);
    QVERIFY(c.prompts.unexpected.empty());
}

void TestResultCharts::viewsAndMissingValues()
{
    Charts c;
    auto* missing = c.Find<QToolButton>("SpeedButton8");
    QCOMPARE(missing->palette().color(QPalette::ButtonText), QColor(0, 0, 128));
    c.Add("Proteinbar", "1");
    QCOMPARE(missing->palette().color(QPalette::ButtonText), QColor(255, 0, 0));

    QTest::mouseClick(missing, Qt::LeftButton);
    QCOMPARE(c.BarChart()->title(), QString("Antal livsmedel som saknar näringsuppgift "));
    QCOMPARE(c.SetNames(), QStringList{"Series1"});
    QCOMPARE(c.Set("Series1")->at(c.Category("prot ")), 0.0);
    QCOMPARE(c.Categories()[c.Category("C-vit ")], QString("C-vit   1 st"));
    QCOMPARE(c.Set("Series1")->at(c.Category("C-vit ")), 10.0);
    auto* valueAxis = qobject_cast<QValueAxis*>(c.BarChart()->axes(Qt::Horizontal, c.Bars()).first());
    QVERIFY(!valueAxis->labelsVisible());

    QTest::mouseClick(c.Find<QToolButton>("SpeedButton6"), Qt::LeftButton);
    QVERIFY(!c.Find<QChartView>("ChartStapel")->isVisibleTo(c.widget.get()));
    QVERIFY(c.Find<QChartView>("ChartEnergi")->isVisibleTo(c.widget.get()));
    QVERIFY(c.Find<QCheckBox>("CheckboxAlkohol")->isVisibleTo(c.widget.get()));
    QVERIFY(!missing->isVisibleTo(c.widget.get()));

    QTest::mouseClick(c.Find<QToolButton>("SpeedButton5"), Qt::LeftButton);
    QVERIFY(c.Find<QChartView>("ChartStapel")->isVisibleTo(c.widget.get()));
    QVERIFY(!c.Find<QChartView>("ChartEnergi")->isVisibleTo(c.widget.get()));
    QVERIFY(!c.Find<QCheckBox>("CheckboxAlkohol")->isVisibleTo(c.widget.get()));
    QVERIFY(valueAxis->labelsVisible());
    QCOMPARE(c.Categories()[c.Category("prot ")], QString("prot    7.5g"));

    // The analysis windows are not there yet: their buttons are shown but cannot be pressed.
    for (const char* name : {"ButtonVisaSiffror", "Button8", "ButtonFett", "ButtonNvPerKg", "ButtonEnergiCirkel",
                             "ButtonNv100g", "ButtonSalt", "ButtonGram"}) {
        QVERIFY2(!c.Find<QPushButton>(name)->isEnabled(), name);
    }
    QVERIFY(c.prompts.unexpected.empty());
}

void TestResultCharts::alcoholBoxAndPies()
{
    Charts c;
    c.Add("Vin", "2");
    QTest::mouseClick(c.Find<QToolButton>("SpeedButton6"), Qt::LeftButton);
    auto* alcohol = c.Find<QCheckBox>("CheckboxAlkohol");
    QVERIFY(alcohol->isChecked());
    // 3 g carbohydrate and 10 g alcohol: 5100 against 29000 hundredths of a kJ.
    QCOMPARE(Charts::Labels(c.Pie("ChartEnergi")), (QStringList{"Prot 0%", "Fett 0%", "Kolh 15%", "Alko 85%"}));
    QCOMPARE(Charts::Labels(c.Pie("ChartEnergiRek")), (QStringList{"Prot 14%", "Fett 29%", "Kolh 52%", "Alko max 5%"}));
    QCOMPARE(c.Pie("ChartEnergi")->slices()[3]->color(), QColor(255, 255, 0));
    QCOMPARE(c.Find<QChartView>("ChartEnergi")->chart()->title(), QString("Energifördelning VERKLIG"));

    QTest::mouseClick(alcohol, Qt::LeftButton);
    QCOMPARE(c.state->energyFactors.alcohol, 0);
    QCOMPARE(Charts::Labels(c.Pie("ChartEnergi")), (QStringList{"Prot 0%", "Fett 0%", "Kolh 100%"}));
    QCOMPARE(Charts::Labels(c.Pie("ChartEnergiRek")), (QStringList{"Prot 15%", "Fett 30%", "Kolh 55%"}));
    QTest::mouseClick(alcohol, Qt::LeftButton);
    QCOMPARE(c.state->energyFactors.alcohol, 2900);
    QCOMPARE(c.Pie("ChartEnergi")->count(), 4);

    // An empty meal leaves the actual pie empty.
    c.state->CurrentMeal = 1;
    Recalculate(*c.state);
    QCOMPARE(c.Pie("ChartEnergi")->count(), 0);
    QCOMPARE(c.Pie("ChartEnergiRek")->count(), 3);
    QVERIFY(c.prompts.unexpected.empty());
}

void TestResultCharts::zoomPercentAndPaging()
{
    Charts c;
    c.Add("Proteinbar", "1");
    auto* axis = qobject_cast<QValueAxis*>(c.BarChart()->axes(Qt::Horizontal, c.Bars()).first());
    auto* zoomIn = c.Find<QPushButton>("Button2");
    QCOMPARE(axis->max(), 200.0);
    QVERIFY(zoomIn->isVisibleTo(c.widget.get()));
    QTest::mouseClick(zoomIn, Qt::LeftButton);
    QCOMPARE(axis->max(), 100.0);
    QVERIFY(!zoomIn->isVisibleTo(c.widget.get()));
    QTest::mouseClick(c.Find<QPushButton>("Button1"), Qt::LeftButton);
    QCOMPARE(axis->max(), 200.0);
    QVERIFY(zoomIn->isVisibleTo(c.widget.get()));

    auto* percent = c.Find<QPushButton>("ButtonProcent");
    QCOMPARE(percent->text(), QString("%"));
    QTest::mouseClick(percent, Qt::LeftButton);
    QCOMPARE(percent->text(), QString("Värde"));
    QCOMPARE(c.Categories()[c.Category("prot ")], QString("prot 40%"));
    // Both energies read "energi 48%"; the chart still gets one bar for each.
    QCOMPARE(c.Categories().size(), 72);
    QCOMPARE(c.Categories().filter("energi 48%").size(), 2);
    QTest::mouseClick(percent, Qt::LeftButton);

    // Laid out, the chart pages its 72 bars.
    c.widget->resize(1000, 420);
    c.widget->show();
    QVERIFY(QTest::qWaitForWindowExposed(c.widget.get()));
    auto* spin = c.Find<QWidget>("SpinButton1");
    QTRY_VERIFY(spin->isVisible());
    const int perPage = static_cast<int>(c.Categories().size());
    QCOMPARE(perPage, BarsPerPage(72, c.Find<QChartView>("ChartStapel")->height()));
    QVERIFY(c.Categories().last().startsWith("energi"));  // the top bar
    QTest::mouseClick(c.Find<QToolButton>("SpinButton1Down"), Qt::LeftButton);
    QCOMPARE(c.state->charts.page, 1);
    QVERIFY(c.Categories().size() <= perPage);
    QVERIFY(c.Set("Series1")->count() == c.Categories().size());
    QTest::mouseClick(c.Find<QToolButton>("SpinButton1Up"), Qt::LeftButton);
    QVERIFY(c.Categories().last().startsWith("energi"));  // the top bar
    QVERIFY(c.prompts.unexpected.empty());
}

QTEST_MAIN(TestResultCharts)
#include "test_resultcharts.moc"
