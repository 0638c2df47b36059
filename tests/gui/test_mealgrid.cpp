#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>

#include "core/workspace_ops.h"
#include "guisupport.h"
#include "mainwindow/mealgrid.h"

using namespace velmora;
using velmora::guitest::GuiFixture;
using velmora::guitest::ScriptedPrompts;

namespace {

constexpr std::size_t kKj = static_cast<std::size_t>(SlotIndex(slot::kJ));

FoodListEntry Entry(const std::string& name, const std::string& code) { return {name, name + "{" + code + "}100@st"}; }

}  // namespace

class TestMealGrid : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_fixture = std::make_unique<GuiFixture>();
        m_fixture->Table("nalvex100", "Kod\tLivsmedel\tPortionsstorlek\tEnhet\tEnergi _kJ_ _kJ_\tenhet1\tport1\n"
                                      "1\tBanan\t120\tst\t380\t\t\n"
                                      "2\tHavregryn\t60\tdl\t1500\tdl\t60\n"
                                      "3\tMjölk\t100\tdl\t270\t\t\n");
        m_state = m_fixture->Start();
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_grid = std::make_unique<MealGrid>(*m_state, *m_prompts);
        m_grid->resize(560, 480);
        m_grid->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_grid.get()));
        m_table = m_grid->findChild<QTableWidget*>("StringGridMaltid");
        QVERIFY(m_table);
    }
    void cleanup()
    {
        QVERIFY2(m_prompts->unexpected.empty(), m_prompts->unexpected.empty() ? "" : m_prompts->unexpected[0].c_str());
        m_grid.reset();
        m_state.reset();
        m_fixture.reset();
    }

    void typingAnAmountAndEnterCommitsGramsAndTotals()
    {
        QSignalSpy searchFocus(m_grid.get(), &MealGrid::searchFocusRequested);
        AddFood(*m_state, *m_prompts, Entry("Banan", "1"));
        QCOMPARE(cell(1, kColumnName), QString("Banan"));
        QCOMPARE(cell(1, kColumnGrams), QString("120"));

        m_table->setCurrentCell(0, kColumnAmount);
        type("2,5");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(m_state->calculation.Row(0, 0, 1).grams, 300.0f);
        QCOMPARE(cell(1, kColumnGrams), QString("300"));
        QCOMPARE(cell(1, kColumnAmount), QString("2,5"));
        QCOMPARE(m_state->totals->dayTotals[0][kKj], 1140.0f);
        QCOMPARE(m_table->currentColumn(), kColumnTime);
        QCOMPARE(searchFocus.count(), 1);

        // A letter goes to the food search and commits nothing.
        QSignalSpy typing(m_grid.get(), &MealGrid::forwardTyping);
        m_table->setCurrentCell(0, kColumnGrams);
        m_table->setFocus();
        QTest::keyClick(m_table, Qt::Key_K);
        QCOMPARE(typing.count(), 1);
        QCOMPARE(typing.at(0).at(0).toString(), QString("k"));
        QCOMPARE(m_state->calculation.Row(0, 0, 1).grams, 300.0f);

        // Enter took a snapshot: "Ångra" brings the portion back.
        QTest::mouseClick(m_grid->findChild<QPushButton*>("ButtonAngra"), Qt::LeftButton);
        QCOMPARE(cell(1, kColumnGrams), QString("120"));
        QCOMPARE(m_state->totals->dayTotals[0][kKj], 456.0f);
    }

    void arrowsCommitAndMoveEnterInTheNameColumnRefuses()
    {
        AddFood(*m_state, *m_prompts, Entry("Banan", "1"));
        AddFood(*m_state, *m_prompts, Entry("Mjölk", "3"));
        m_table->setCurrentCell(0, kColumnGrams);
        type("50");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(m_state->calculation.Row(0, 0, 1).grams, 50.0f);
        QCOMPARE(m_state->CurrentRow, 2);
        QCOMPARE(m_table->currentRow(), 1);

        type("75");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QCOMPARE(m_state->calculation.Row(0, 0, 2).grams, 75.0f);
        QCOMPARE(m_state->CurrentRow, 1);

        // Moving through a cell without typing keeps its value; the grid moves with the arrow.
        m_table->setFocus();
        QTest::keyClick(m_table, Qt::Key_Down);
        QCOMPARE(m_state->CurrentRow, 2);
        QCOMPARE(m_state->calculation.Row(0, 0, 1).grams, 50.0f);

        type("12.30");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(cell(2, kColumnGrams), QString("12"));
        QCOMPARE(m_table->currentColumn(), kColumnTime);
        type("8.15");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
        QCOMPARE(cell(2, kColumnTime), QString("8.15"));
        QCOMPARE(m_state->calculation.Row(0, 0, 3).timeSlot, 33);
        QCOMPARE(cell(1, kColumnTime), QString());

        m_table->setCurrentCell(0, kColumnName);
        m_table->setFocus();
        QTest::keyClick(m_table, Qt::Key_Return);
        QCOMPARE(m_prompts->messages, (std::vector<std::string>{"Du kan inte ändra i denna kolumn"}));
    }

    void rightClickShowsTheUnitListAndAUnitCanBeChosen()
    {
        AddFood(*m_state, *m_prompts, Entry("Banan", "1"));
        AddFood(*m_state, *m_prompts, Entry("Havregryn", "2"));
        auto* list = m_grid->findChild<QListWidget*>("ListBoxVikter");
        QVERIFY(list && !list->isVisible());

        QTest::mousePress(m_table->viewport(), Qt::RightButton, {}, cellCentre(2, kColumnName));
        QVERIFY(list->isVisible());
        QCOMPARE(m_state->CurrentRow, 2);
        QStringList lines;
        for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
        QCOMPARE(lines, (QStringList{"Havregryn", "60  g/dl", "9   g/msk", "3   g/tsk", "Vikt avser ätlig del"}));

        // The edible-part line is information only.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(4)).center());
        QVERIFY(list->isVisible());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(2)).center());
        QVERIFY(!list->isVisible());
        QCOMPARE(cell(2, kColumnUnit), QString("msk"));
        QCOMPARE(cell(2, kColumnGrams), QString("9,0"));
        QCOMPARE(cell(2, kColumnAmount), QString("1,0"));
        QCOMPARE(m_table->currentColumn(), kColumnAmount);
        QCOMPARE(m_state->totals->dayTotals[0][kKj], 456.0f + 135.0f);

        // An empty row has no list; a click on the grid hides an open one.
        QTest::mousePress(m_table->viewport(), Qt::RightButton, {}, cellCentre(5, kColumnName));
        QVERIFY(!list->isVisible());
        QTest::mousePress(m_table->viewport(), Qt::RightButton, {}, cellCentre(1, kColumnName));
        QVERIFY(list->isVisible());
        QCOMPARE(list->count(), 2);
        QTest::mouseClick(m_table->viewport(), Qt::LeftButton, {}, cellCentre(1, kColumnGrams));
        QVERIFY(!list->isVisible());
    }

    void mealButtonsSwitchTheMeal()
    {
        QSignalSpy again(m_grid.get(), &MealGrid::mealButtonPressedAgain);
        auto* breakfast = button("SpeedButton1");
        auto* dinner = button("SpeedButton3");
        QCOMPARE(dinner->text(), QString("Middag"));
        QVERIFY(breakfast->isChecked());
        AddFood(*m_state, *m_prompts, Entry("Banan", "1"));
        QVERIFY(breakfast->font().bold());
        QVERIFY(!dinner->font().bold());

        QTest::mouseClick(dinner, Qt::LeftButton);
        QCOMPARE(m_state->CurrentMeal, 2);
        QVERIFY(dinner->isChecked());
        QCOMPARE(cell(1, kColumnName), QString());
        QCOMPARE(again.count(), 0);

        QTest::mouseClick(dinner, Qt::LeftButton);
        QCOMPARE(again.count(), 1);
        QCOMPARE(again.at(0).at(0).toInt(), 2);

        // The first snack button stands for every snack.
        QTest::mouseClick(button("SpeedButton14"), Qt::LeftButton);
        QCOMPARE(m_state->CurrentMeal, 6);
        QTest::mouseClick(button("SpeedButton4"), Qt::LeftButton);
        QCOMPARE(again.count(), 2);
        QCOMPARE(again.at(1).at(0).toInt(), 3);
        QCOMPARE(m_state->CurrentMeal, 3);

        QTest::mouseClick(breakfast, Qt::LeftButton);
        QCOMPARE(cell(1, kColumnName), QString("Banan"));

        // Whole-day mode: one button for the day.
        m_state->calculation.wholeDay = true;
        m_state->CurrentMeal = 2;
        Recalculate(*m_state);
        QCOMPARE(breakfast->text(), QString("Hela dagen"));
        QVERIFY(breakfast->isChecked());
        QVERIFY(!dinner->isVisible());
        QVERIFY(!button("SpeedButton16")->isVisible());
        m_state->calculation.wholeDay = false;
        Recalculate(*m_state);
        QCOMPARE(breakfast->text(), QString("Frukost"));
        QVERIFY(dinner->isVisible());
    }

    void dayBoxSwitchesTheDay()
    {
        auto* days = m_grid->findChild<QComboBox*>("ComboBox1");
        QCOMPARE(days->count(), kDays);
        QCOMPARE(days->itemText(0), QString("dag1"));
        AddFood(*m_state, *m_prompts, Entry("Banan", "1"));
        QCOMPARE(days->itemText(0), QString("DAG1"));

        days->setFocus();
        QTest::keyClick(days, Qt::Key_Down);
        QCOMPARE(m_state->CurrentDay, 1);
        QCOMPARE(cell(1, kColumnName), QString());
        AddFood(*m_state, *m_prompts, Entry("Mjölk", "3"));
        QCOMPARE(m_state->calculation.Row(1, 0, 1).name, std::string("Mjölk"));
        QCOMPARE(days->itemText(1), QString("DAG2"));
        QCOMPARE(days->itemText(2), QString("dag3"));

        m_state->CurrentDay = 0;
        Recalculate(*m_state);
        QCOMPARE(days->currentIndex(), 0);
        QCOMPARE(cell(1, kColumnName), QString("Banan"));
    }

    void dropOnARowInsertsTheFoodThere()
    {
        AddFood(*m_state, *m_prompts, Entry("Banan", "1"));
        AddFood(*m_state, *m_prompts, Entry("Mjölk", "3"));
        auto* mime = new QMimeData;
        mime->setData("application/x-velmora-foodkey", QByteArray("Havregryn{2}60@dl"));
        mime->setText("Havregryn");
        const QPoint at = cellCentre(2, kColumnName);
        QDragEnterEvent enter(at, Qt::CopyAction, mime, Qt::LeftButton, {});
        QApplication::sendEvent(m_table->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, mime, Qt::LeftButton, {});
        QApplication::sendEvent(m_table->viewport(), &drop);
        delete mime;
        QCOMPARE(cell(1, kColumnName), QString("Banan"));
        QCOMPARE(cell(2, kColumnName), QString("Havregryn"));
        QCOMPARE(cell(3, kColumnName), QString("Mjölk"));
        QCOMPARE(m_table->currentRow(), 1);
        QCOMPARE(m_table->currentColumn(), kColumnGrams);
    }

    void rowButtonsAndTheFirstFoodHint()
    {
        auto* hint = m_grid->findChild<QLabel*>("MemoHogerklick");
        auto* timer = m_grid->findChild<QTimer*>("TimerHogerKlick");
        QCOMPARE(timer->interval(), 3000);
        QVERIFY(timer->isSingleShot());
        timer->setInterval(20);
        AddFood(*m_state, *m_prompts, Entry("Banan", "1"));
        QVERIFY(hint->isVisible());
        QTRY_VERIFY(!hint->isVisible());
        AddFood(*m_state, *m_prompts, Entry("Mjölk", "3"));
        QVERIFY(!hint->isVisible());

        m_table->setCurrentCell(0, kColumnName);
        QTest::mouseClick(button<QPushButton>("Button4"), Qt::LeftButton);
        QCOMPARE(cell(1, kColumnGrams), QString("132"));
        QTest::mouseClick(button<QPushButton>("Button5"), Qt::LeftButton);
        QTest::mouseClick(button<QPushButton>("Button5"), Qt::LeftButton);
        QCOMPARE(cell(1, kColumnGrams), QString("108"));
        QTest::mouseClick(button<QPushButton>("Button6"), Qt::LeftButton);
        QCOMPARE(cell(1, kColumnName), QString("Mjölk"));
        QCOMPARE(cell(2, kColumnName), QString());
    }

private:
    QString cell(int row, int column) const { return m_table->item(row - 1, column)->text(); }
    QPoint cellCentre(int row, int column) const { return m_table->visualItemRect(m_table->item(row - 1, column)).center(); }
    template <typename T = QToolButton>
    T* button(const char* name) const
    {
        T* found = m_grid->findChild<T*>(name);
        if (!found) qFatal("no control %s", name);
        return found;
    }
    // Keys typed into the grid's current cell: the first opens the editor, the rest go to it.
    void type(const QString& text)
    {
        m_table->setFocus();
        QTest::keyClicks(m_table, text.left(1));
        QWidget* editor = QApplication::focusWidget();
        QVERIFY(editor && editor != m_table);
        QTest::keyClicks(editor, text.mid(1));
    }

    std::unique_ptr<GuiFixture> m_fixture;
    std::unique_ptr<ProgramState> m_state;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<MealGrid> m_grid;
    QTableWidget* m_table = nullptr;
};

QTEST_MAIN(TestMealGrid)
#include "test_mealgrid.moc"
