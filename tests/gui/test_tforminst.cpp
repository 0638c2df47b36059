#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include "core/recalculate.h"
#include "guisupport.h"
#include "mainwindow/tforminst.h"
#include "norms/norms.h"
#include "platform/textfile.h"

using namespace velmora;
using namespace velmora::guitest;

namespace {

struct SettingsWindow {
    SettingsWindow()
    {
        state = fixture.Start();
        state->settings.mealShareCells[3] = "20";  // as if read from velmora.para at start
        window = std::make_unique<TFormInst>(*state, prompts);
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get())) qWarning("settings window not exposed");
    }
    QTableWidget* Grid(const char* name) const { return window->findChild<QTableWidget*>(name); }
    QString Cell(const char* grid, int row) const { return Grid(grid)->item(row, 1)->text(); }
    void Type(const char* grid, int row, const QString& text) const { Grid(grid)->item(row, 1)->setText(text); }
    // On the left edge: a radio button takes clicks on its indicator and text only, not on the whole row.
    void Click(const char* name) const
    {
        auto* button = window->findChild<QAbstractButton*>(name);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }

    GuiFixture fixture;
    ScriptedPrompts prompts;
    std::unique_ptr<ProgramState> state;
    std::unique_ptr<TFormInst> window;
};

}  // namespace

class TestTFormInst : public QObject {
    Q_OBJECT
private slots:
    void gridsShowTheSettings();
    void verkstallWritesTheParameterFile();
    void wholeDayAndBack();
    void normChangeRewritesTheIdealGrid();
};

void TestTFormInst::gridsShowTheSettings()
{
    SettingsWindow s;
    QCOMPARE(s.Grid("StringGrid1")->rowCount(), 10);
    QCOMPARE(s.Grid("StringGrid1")->item(0, 1)->text(), QString("% av dagbehovet"));
    QCOMPARE(s.Grid("StringGrid1")->item(4, 0)->text(), QString("M-mål 1"));
    QCOMPARE(s.Cell("StringGrid1", 1), QString("25"));
    QCOMPARE(s.Cell("StringGrid1", 4), QString("20"));
    QCOMPARE(s.Grid("StringGrid2")->rowCount(), 7);
    QCOMPARE(s.Grid("StringGrid2")->item(6, 0)->text(), QString("Mättat fett"));
    QCOMPARE(s.Cell("StringGrid2", 4), QString("12.5"));
    QVERIFY(s.window->findChild<QRadioButton*>("RadioGroup1Ja")->isChecked());
    QVERIFY(!s.window->findChild<QPushButton*>("Button3")->isVisibleTo(s.window.get()));
    QVERIFY(s.prompts.unexpected.empty());
}

void TestTFormInst::verkstallWritesTheParameterFile()
{
    SettingsWindow s;
    const std::filesystem::path file = s.state->dataFolder / "velmora.para";
    std::filesystem::remove(file);
    s.Type("StringGrid1", 1, "12,5");
    s.Type("StringGrid1", 2, "12.5");
    s.Type("StringGrid1", 9, "x");
    s.Type("StringGrid2", 1, "20");
    s.Type("StringGrid2", 6, "8,5");
    QCOMPARE(s.state->idealShares.protein, 15.0f);  // the ideal distribution waits for "Verkställ"
    int refreshed = 0;
    s.state->refreshHooks.push_back([&] { ++refreshed; });

    s.Click("Button1");
    QCOMPARE(refreshed, 1);
    QCOMPARE(s.state->MealShares[0], 0.125f);
    QCOMPARE(s.state->MealShares[1], 0.125f);
    QCOMPARE(s.state->MealShares[3], 0.20f);
    QCOMPARE(s.state->MealShares[8], 0.0f);
    QCOMPARE(s.state->idealShares.protein, 20.0f);
    QCOMPARE(s.state->idealShares.saturated, 8.5f);

    std::vector<std::string> lines;
    QVERIFY(ReadTextLines(file, lines));
    QCOMPARE(lines, (std::vector<std::string>{"12,5", "12.5", "30", "20", "0", "0", "0", "0", "x", "20", "30", "55",
                                              "12.5", "7.5", "8,5"}));
    QVERIFY(s.prompts.messages.empty());
    QVERIFY(s.prompts.unexpected.empty());
}

void TestTFormInst::wholeDayAndBack()
{
    SettingsWindow s;
    s.state->CurrentMeal = 2;
    s.Type("StringGrid1", 2, "40");
    s.Click("RadioGroup1Nej");
    QVERIFY(s.state->calculation.wholeDay);
    QCOMPARE(s.state->CurrentMeal, 0);
    QCOMPARE(s.state->MealShares[0], 1.0f);
    QCOMPARE(s.state->MealShares[1], 0.0f);
    QCOMPARE(s.state->MealName(0), std::string("Hela dagen"));
    QCOMPARE(s.Cell("StringGrid1", 2), QString("40"));  // the grid keeps the shares

    s.Click("RadioGroup1Ja");
    QVERIFY(!s.state->calculation.wholeDay);
    QCOMPARE(s.state->MealShares[0], 0.25f);
    QCOMPARE(s.state->MealShares[1], 0.40f);
    QCOMPARE(s.state->MealShares[3], 0.20f);

    // A calculation that is judged as a whole day shows "Nej" once the totals are refreshed.
    s.state->calculation.wholeDay = true;
    Recalculate(*s.state);
    QVERIFY(s.window->findChild<QRadioButton*>("RadioGroup1Nej")->isChecked());
    QVERIFY(s.prompts.unexpected.empty());
}

void TestTFormInst::normChangeRewritesTheIdealGrid()
{
    SettingsWindow s;
    s.Type("StringGrid1", 1, "33");
    // The start norm: 75 g protein, 70 g fat, 261 g carbohydrate.
    DeriveIdealShares(*s.state);
    Recalculate(*s.state);
    QCOMPARE(s.Cell("StringGrid2", 1), QString("15"));
    QCOMPARE(s.Cell("StringGrid2", 2), QString("31"));
    QCOMPARE(s.Cell("StringGrid2", 3), QString("53"));
    QCOMPARE(s.Cell("StringGrid2", 4), QString("13.0"));
    QCOMPARE(s.Cell("StringGrid1", 1), QString("33"));  // typing in the other grid stays
    QVERIFY(s.prompts.unexpected.empty());
}

QTEST_MAIN(TestTFormInst)
#include "test_tforminst.moc"
