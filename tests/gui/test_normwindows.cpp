#include <QAction>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QHeaderView>
#include <QHorizontalStackedBarSeries>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>

#include "core/numbers.h"
#include "guisupport.h"
#include "norms/normwidgets.h"
#include "norms/tformaktiv.h"
#include "norms/tformaktskapa.h"
#include "norms/tformegennorm.h"
#include "norms/tformharris.h"
#include "norms/tformkgkroppsvikt.h"
#include "norms/tformperson.h"
#include "platform/textfile.h"

using namespace velmora;
using velmora::guitest::GuiFixture;
using velmora::guitest::ScriptedPrompts;

namespace {

constexpr std::size_t I(int slot)
{
    return static_cast<std::size_t>(SlotIndex(slot));
}

template <typename T> T* Find(QWidget* window, const char* name)
{
    T* child = window->findChild<T*>(name);
    if (!child) qFatal("no control %s", name);
    return child;
}

// Types into a grid cell the way a user does: the cell editor opens, each key is sent to it, Enter commits.
void TypeIntoCell(QTableWidget* grid, int row, int column, const QString& text)
{
    grid->setCurrentCell(row, column);
    if (!IsEditing(grid)) grid->editItem(grid->item(row, column)); // a grid may open its editor on the move
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (!editor) {
        const auto editors = grid->viewport()->findChildren<QLineEdit*>();
        editor = editors.isEmpty() ? nullptr : editors.back();
    }
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(!IsEditing(grid)); // the commit of Enter is queued
}

void TypeInto(QLineEdit* edit, const QString& text)
{
    edit->selectAll();
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Delete);
    else
        QTest::keyClicks(edit, text);
}

void DoubleClickItem(QListWidget* list, QListWidgetItem* item)
{
    list->setCurrentItem(item);
    const QPoint centre = list->visualItemRect(item).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
}

} // namespace

class TestNormWindows : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<GuiFixture> fixture;
    std::unique_ptr<ProgramState> state;
    ScriptedPrompts prompts;
    std::unique_ptr<QWidget> main;

private slots:
    void init()
    {
        fixture = std::make_unique<GuiFixture>();
        fixture->Table(
            "normer",
            "Nr\tNorm\tEnergi _kJ_ _kJ_\tEnergi _kcal_ _kcal_\tProtein _g_\tFett _g_\tKolhydrater _g_\t"
            "Askorbinsyra _mg_\tJärn _mg_\n"
            "4\tMän 31-60\t10500\t2500\t94\t92\t344\t75\t9\n"
            "12\tKvinnor 14-17\t9200\t2200\t80\t80\t300\t75\t15\n"
            "14\tKvinnor 31-60\t8400\t2000\t75\t73\t275\t75\t15\n"
            "18\tStartnorm\t8400\t2000\t75\t73\t275\t75\t12\n");
        fixture->Table("normkroppsvikt", "Nr\tNorm\tProtein _g_\tFett _g_\tKolhydrater _g_\n"
                                         "1\tVuxen, protein 0.8 g/kg\t0.8\t\t\n2\tIdrottare\t1.6\t1\t6\n");
        fixture->File("aktiv.txt", EncodeWindows1252("0;Sport;Löpning;3.5;\r\n0;Hushåll;Dammsuga;3.3;\r\n"
                                                     "0;Hushåll;Diska;1.7;\r\n0;Vila;Sömn;1.0;\r\n"));
        state = fixture->Start();
        prompts = {};
        main = std::make_unique<QWidget>();
    }
    void cleanup()
    {
        QVERIFY2(prompts.unexpected.empty(),
                 prompts.unexpected.empty() ? "" : prompts.unexpected.front().c_str());
        main.reset();
        state.reset();
        fixture.reset();
    }

    void ownNormWindow()
    {
        auto* window = new TFormEgenNorm(*state, prompts, main.get());
        window->ShowFromMenu();
        QVERIFY(window->isVisible());
        auto* inputs = Find<QTableWidget>(window, "StringGrid1");
        auto* draft = Find<QTableWidget>(window, "StringGrid2");
        auto* sum = Find<QLineEdit>(window, "EditSumma");
        QCOMPARE(draft->horizontalHeaderItem(0)->text(), Q(state->nutrientText[slot::kJ].label));
        QCOMPARE(draft->horizontalHeaderItem(71)->text(), Q(state->nutrientText[slot::extra3].label));
        QCOMPARE(inputs->item(0, 1)->text(), QString("2180"));
        QCOMPARE(sum->text(), QString("100%"));
        QCOMPARE(draft->item(0, I(slot::iron))->text().toFloat(), 15.0f); // a woman of 50: group 14

        TypeIntoCell(inputs, 2, 1, "20"); // protein 20 %
        QCOMPARE(sum->text(), QString("105%"));
        QCOMPARE(draft->item(0, I(slot::protein))->text(),
                 Q(FormatFixed(2180 * 4.184f * 20 / 1700, 0, state->nutrientText[slot::protein].decimals)));
        TypeIntoCell(inputs, 1, 1, "45");
        Find<QRadioButton>(window, "RadioGroupSex_1")->click(); // a man of 45: group 4
        QCOMPARE(draft->item(0, I(slot::iron))->text().toFloat(), 9.0f);
        TypeIntoCell(draft, 0, I(slot::vitaminC), "110");

        prompts.inputAnswers = {"Min norm"};
        QTest::mouseClick(Find<QPushButton>(window, "ButtonSpara"), Qt::LeftButton);
        QCOMPARE(prompts.messages.back(),
                 std::string(
                     "\"Min norm\"  är upplagd. Gå in under Normer/Standardnormer där finns den i slutet."));

        QTest::mouseClick(Find<QPushButton>(window, "ButtonOK"), Qt::LeftButton);
        QVERIFY(!window->isVisible());
        QCOMPARE(state->norm.kind, std::string("egennorm"));
        QCOMPARE(state->norm.text, std::string("Norm: Man  45 år 2180 kcal/dag"));
        QCOMPARE(state->norm.activeNorm[I(slot::vitaminC)], 110.0f);
        QCOMPARE(state->idealShares.protein, 20.0f);
    }

    void perKilogramWindow()
    {
        auto* window = new TFormKgKroppsvikt(*state, prompts, main.get());
        window->ShowFromMenu();
        auto* table = Find<QTableWidget>(window, "DBISAMDBGridKgKroppsvikt");
        auto* result = Find<QTableWidget>(window, "StringGrid2");
        auto* activate = Find<QPushButton>(window, "ButtonAktivera");
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(table->horizontalHeaderItem(7)->text(), Q(state->nutrientText[slot::retinol].label));
        QCOMPARE(activate->text(), QString("Aktivera norm: Vuxen, protein 0.8 g/kg"));
        QCOMPARE(result->item(0, I(slot::protein))->text().toFloat(), 56.0f); // 70 kg

        // Choosing the athletes' norm; its energies per kilogram are written into the table first.
        const QPoint cell = table->visualItemRect(table->item(1, 1)).center();
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell); // a double click begins with a click
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell);
        QCOMPARE(activate->text(), QString("Aktivera norm: Idrottare"));
        QCOMPARE(table->item(1, 2)->text(), QString("166"));
        TypeIntoCell(Find<QTableWidget>(window, "StringGridkg"), 0, 1, "80");
        QCOMPARE(result->item(0, I(slot::protein))->text().toFloat(), 128.0f);
        QCOMPARE(result->item(0, I(slot::iron))->text().toFloat(), 15.0f); // a woman of 55: group 14

        TypeIntoCell(Find<QTableWidget>(window, "StringGridalder"), 0, 1, "x");
        QCOMPARE(prompts.messages.back(), std::string("Skriv ålder som ett heltal."));
        TypeIntoCell(Find<QTableWidget>(window, "StringGridalder"), 0, 1, "40");

        QTest::mouseClick(activate, Qt::LeftButton);
        QCOMPARE(state->norm.kind, std::string("kgkroppsviktnorm"));
        QCOMPARE(state->norm.activeNorm[I(slot::protein)], 128.0f);
        QCOMPARE(prompts.messages.back(), std::string("Normen Startnorm vald"));

        prompts.inputAnswers = {"plogbar"};
        QTest::mouseClick(Find<QPushButton>(window, "Button1"), Qt::LeftButton);
        QVERIFY(Find<QPlainTextEdit>(window, "Memo2")->isVisible());
        QVERIFY(!Find<QPlainTextEdit>(window, "Memo3")->isVisible());
        QVERIFY(!Find<QPushButton>(window, "Button1")->isVisible());
        QCOMPARE(table->rowCount(), 3); // a blank row for a new norm
    }

    void personWindow()
    {
        auto* window = new TFormPerson(*state, prompts, main.get());
        window->ShowFromMenu();
        auto* need = Find<QLineEdit>(window, "EditKcalBehov");
        auto* marker = Find<QToolButton>(window, "SpeedButtonBMI");
        QCOMPARE(need->text(), QString("- - - -  kcal /  kJ"));
        QCOMPARE(marker->text(), QString("BMI - - -"));
        QVERIFY(!Find<RadioGroup>(window, "RGArbete")->isEnabled());

        TypeInto(Find<QLineEdit>(window, "editage"), "45");
        TypeInto(Find<QLineEdit>(window, "Editkg"), "70");
        TypeInto(Find<QLineEdit>(window, "EditLangd"), "170");
        QCOMPARE(need->text(), QString("1808 kcal / 7565 kJ")); // sedentary work and leisure take 300
        Find<QRadioButton>(window, "RGArbete_1")->click();
        Find<QRadioButton>(window, "RGFritid_1")->click();
        QCOMPARE(need->text(), QString("2108 kcal / 8820 kJ"));
        QCOMPARE(marker->text(), QString("BMI 24.2"));
        QVERIFY(Find<RadioGroup>(window, "RGArbete")->isEnabled());
        // 24.2 sits in the green band, close to its upper edge.
        const QRect normal = Find<QLineEdit>(window, "EditNormal")->geometry();
        const int centre = marker->geometry().center().x();
        QVERIFY(centre > normal.left() + normal.width() * 8 / 10 && centre < normal.right());
        TypeInto(Find<QLineEdit>(window, "Editkg"), "200");
        QCOMPARE(marker->text(), QString("BMI 69.2"));
        QVERIFY(marker->geometry().center().x() >=
                Find<QLineEdit>(window, "EditObesitas")->geometry().right() - 1);
        TypeInto(Find<QLineEdit>(window, "Editkg"), "70");

        Find<QRadioButton>(window, "RadioGroupSjuk_1")->click();
        QVERIFY(!Find<RadioGroup>(window, "RGArbete")->isVisible());
        QVERIFY(Find<RadioGroup>(window, "RGSjuk")->isVisible());
        TypeInto(Find<QLineEdit>(window, "EditSjuk"), "200");
        QCOMPARE(Find<RadioGroup>(window, "RGSjuk")->ItemIndex(), 3);
        QCOMPARE(need->text(), QString("3346 kcal / 14000 kJ"));
        Find<QRadioButton>(window, "RadioGroupSjuk_0")->click();
        QVERIFY(Find<RadioGroup>(window, "RGArbete")->isVisible());
        QCOMPARE(need->text(), QString("2108 kcal / 8820 kJ"));

        QTest::mouseClick(Find<QPushButton>(window, "ButtonOK"), Qt::LeftButton);
        QVERIFY(!window->isVisible());
        QCOMPARE(state->norm.kind, std::string("personnorm"));
        QCOMPARE(state->norm.text, std::string("Kvinna 45 år, 70 kg.  2108 kcal/dag"));
        QCOMPARE(main->windowTitle(), QString("Norm: Kvinna 45 år, 70 kg.  2108 kcal/dag"));

        // A child's data are refused, and the window goes all the same.
        window->ShowFromMenu();
        TypeInto(Find<QLineEdit>(window, "editage"), "9");
        QVERIFY(!Find<RadioGroup>(window, "RGArbete")->isEnabled());
        QTest::mouseClick(Find<QPushButton>(window, "ButtonOK"), Qt::LeftButton);
        QCOMPARE(prompts.messages.back(), std::string("Personuppgifter ej godkända."));
        QVERIFY(!window->isVisible());
    }

    void harrisWindow()
    {
        auto* window = new TFormHarris(*state, prompts, main.get());
        window->ShowFromMenu();
        auto* grid = Find<QTableWidget>(window, "StringGrid1");
        auto* figure = Find<QLineEdit>(window, "Edit2");
        QCOMPARE(figure->text(), QString("- - -"));

        QTest::mouseClick(Find<QPushButton>(window, "Button2"), Qt::LeftButton);
        QCOMPARE(prompts.messages.back(), std::string("Skriv ålder som ett heltal."));
        QVERIFY(window->isVisible());

        const QString values[] = {"30", "60", "165", "1.3"};
        for (int r = 0; r < 4; ++r)
            TypeIntoCell(grid, r, 1, values[r]);
        QCOMPARE(figure->text(), QString("1803"));
        QCOMPARE(Find<QLineEdit>(window, "EditBMI")->text(), QString("BMI 22.0"));
        Find<QRadioButton>(window, "RadioGroup2_0")->click();
        QCOMPARE(figure->text(), QString("7545"));
        Find<QRadioButton>(window, "RadioGroup2_1")->click();

        QTest::mouseClick(Find<QPushButton>(window, "Button2"), Qt::LeftButton);
        QVERIFY(!window->isVisible());
        QCOMPARE(state->norm.kind, std::string("harrisnorm"));
        QCOMPARE(state->norm.text, std::string("Norm: Harris Benedict, Kvinna  30 år 1803 kcal per dag"));
        QCOMPARE(state->norm.activeNorm[I(slot::kcal)], 1803.0f);
    }

    void activityWindows()
    {
        auto* table = new TFormAktskapa(*state, prompts, main.get());
        auto* window = new TFormAktiv(*state, prompts, main.get());
        window->ShowFromMenu();
        QVERIFY(prompts.messages.empty());
        auto* groups = Find<QComboBox>(window, "Cboxgrupp");
        auto* offered = Find<QListWidget>(window, "ListBoxAktiv");
        auto* kcal = Find<QTableWidget>(window, "StringGridAktiv");
        auto* kj = Find<QTableWidget>(window, "StringGridAktivKj");
        QCOMPARE(groups->count(), 4);
        QCOMPARE(groups->itemText(0), QString(" Alla grupper"));
        QCOMPARE(offered->count(), 4);
        QCOMPARE(Find<QLineEdit>(window, "EditBMR")->text(), QString("1356"));
        QCOMPARE(Find<QLabel>(window, "Label4")->text(), QString("Grundförbrukning"));

        QListWidgetItem* running = offered->findItems("Löpning (3.5)", Qt::MatchExactly).value(0);
        QVERIFY(running);
        DoubleClickItem(offered, running);
        QCOMPARE(kcal->item(0, 0)->text(), QString("Löpning (3.5)"));
        QCOMPARE(kcal->item(0, 1)->text(), QString("2.46"));
        QCOMPARE(kcal->item(0, 3)->text(), QString("74"));
        QCOMPARE(Find<QLineEdit>(window, "EditBMR")->text(), QString("1417"));
        QCOMPARE(Find<QLineEdit>(window, "EditTot")->text(), QString("74"));
        QCOMPARE(Find<QLineEdit>(window, "EditMinKvar")->text(), QString("1410"));
        QCOMPARE(state->norm.text, std::string("Kvinna 15 år, 55 kg.  1491 kcal/dag"));

        kcal->setCurrentCell(0, 2);
        QTest::mouseClick(Find<QPushButton>(window, "Button2"), Qt::LeftButton); // +30min
        QCOMPARE(kcal->item(0, 2)->text(), QString("60"));
        QTest::mouseClick(Find<QPushButton>(window, "Button5"), Qt::LeftButton); // -30min
        QTest::mouseClick(Find<QPushButton>(window, "Button5"), Qt::LeftButton);
        QCOMPARE(kcal->item(0, 2)->text(), QString("0"));
        TypeIntoCell(kcal, 0, 2, "45");
        QCOMPARE(kcal->item(0, 3)->text(), QString("111"));

        kcal->setCurrentCell(0, 0);
        QTest::keyClick(kcal, Qt::Key_Return);
        QCOMPARE(prompts.messages.back(), std::string("Du kan inte ändra i denna kolumn"));

        // The kJ list carries the same rows and selection.
        Find<QRadioButton>(window, "RadioGroupKcal_1")->click();
        QVERIFY(kj->isVisible() && !kcal->isVisible());
        QCOMPARE(kj->item(0, 3)->text(), QString("464"));
        QCOMPARE(kj->currentRow(), 0);
        QCOMPARE(Find<QLabel>(window, "Label4")->text(), QString("Grundförbrukn. kJ"));
        auto* series = qobject_cast<QHorizontalStackedBarSeries*>(
            Find<QChartView>(window, "ChartAktiv")->chart()->series().value(0));
        QVERIFY(series);
        QCOMPARE(series->barSets().value(1)->at(1), qreal(1417.0f * 4.184f));

        groups->setCurrentIndex(groups->findText("Hushåll"));
        emit groups->activated(groups->currentIndex());
        QCOMPARE(offered->count(), 2);

        QTest::mouseClick(Find<QPushButton>(window, "ButtonTabort"), Qt::LeftButton);
        QVERIFY(kj->item(0, 0)->text().isEmpty());
        QCOMPARE(Find<QLineEdit>(window, "EditMinKvar")->text(), QString("1440"));

        prompts.files = {fixture->Work() / "lista"};
        Find<QAction>(window, "Sparaaktivitetslista1")->trigger();
        QVERIFY(std::filesystem::exists(fixture->Work() / "lista.akt"));
        QCOMPARE(prompts.dialogTitles.back(), std::string("Spara aktivitetslista"));

        // The table window behind its password.
        window->SetTableWindow(table);
        Find<QAction>(window, "Aktivitetstabell1")->trigger();
        QVERIFY(table->isVisible());
        auto* cells = Find<QTableWidget>(table, "StringGrid1");
        QCOMPARE(cells->item(3, 0)->text(), QString("Sömn"));
        QVERIFY(!Find<QPushButton>(table, "Button1")->isVisible());
        prompts.inputAnswers = {"fel", "Plogbar"};
        QTest::mouseClick(Find<QPushButton>(table, "Button2"), Qt::LeftButton);
        QCOMPARE(prompts.messages.back(), std::string("Fel lösenord!"));
        QTest::mouseClick(Find<QPushButton>(table, "Button2"), Qt::LeftButton);
        QVERIFY(Find<QPushButton>(table, "Button1")->isVisible());
        TypeIntoCell(cells, 4, 0, "Cykla");
        TypeIntoCell(cells, 4, 1, "6.8");
        TypeIntoCell(cells, 4, 2, "Sport");
        QTest::mouseClick(Find<QPushButton>(table, "Button1"), Qt::LeftButton);
        QCOMPARE(prompts.messages.back(), std::string("Aktivitetslistan sparad"));
        std::vector<std::string> lines;
        QVERIFY(ReadTextLines(state->dataFolder / "aktiv.txt", lines));
        QCOMPARE(lines.back(), std::string("0;Sport;Cykla;6.8;"));
    }
};

QTEST_MAIN(TestNormWindows)
#include "test_normwindows.moc"
