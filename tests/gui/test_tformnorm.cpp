#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>

#include "guisupport.h"
#include "norms/tformnorm.h"

using namespace velmora;
using namespace velmora::guitest;

namespace {

const char* const kNormer =
    "Nr\tNorm\tEnergi _kJ_ _kJ_\tEnergi _kcal_ _kcal_\tProtein _g_\tFett _g_\tKolhydrater _g_\tVatten _g_\n"
    "3\tMän 18-30 år\t10460\t2500\t95\t85\t335\t2000\n"
    "18\tKvinnor 31-60 år\t8418\t2000\t75\t70\t261\t\n"
    "24\tBarn 2-5 år\t6000\t1000\t30\t30\t150\t\n";

struct NormWindow {
    explicit NormWindow(const std::string& passwordFile = {})
    {
        fixture.Table("normer", kNormer);
        if (!passwordFile.empty()) fixture.File("losenord.txt", passwordFile);
        state = fixture.Start();
        window = std::make_unique<TFormNorm>(*state, prompts);
        grid = window->findChild<QTableWidget*>("DBISAMDBGridNorm");
    }
    void DoubleClick(int row) const
    {
        const QRect cell = grid->visualItemRect(grid->item(row, 1));
        // A double click is a press followed by the double-click event on the same cell.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }
    void Show() const
    {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    int Column(const QString& heading) const
    {
        for (int c = 0; c < grid->columnCount(); ++c) {
            if (grid->horizontalHeaderItem(c)->text() == heading) return c;
        }
        return -1;
    }

    GuiFixture fixture;
    ScriptedPrompts prompts;
    std::unique_ptr<ProgramState> state;
    std::unique_ptr<TFormNorm> window;
    QTableWidget* grid = nullptr;
};

}  // namespace

class TestTFormNorm : public QObject {
    Q_OBJECT
private slots:
    void gridShowsTheTable();
    void doubleClickPutsTheNormInForce();
    void unlock_data();
    void unlock();
    void editedRowIsStoredOnLeavingIt();
};

void TestTFormNorm::gridShowsTheTable()
{
    NormWindow w;
    QCOMPARE(w.grid->rowCount(), 3);
    QStringList first;
    for (int c = 0; c < 8; ++c) first << w.grid->horizontalHeaderItem(c)->text();
    QCOMPARE(first, (QStringList{"Nr", "Norm", "kJ", "kcal", "Prot g", "Fett g", "Kolh g", "Retinol _mcg_"}));
    QCOMPARE(w.grid->columnCount(), 7 + 65);  // water and ash are left out
    QCOMPARE(w.Column("Vatten _g_"), -1);
    QCOMPARE(w.grid->item(0, 1)->text(), QString("Män 18-30 år"));
    QCOMPARE(w.grid->item(1, 3)->text(), QString("2000"));
    QCOMPARE(w.grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    // Filling the grid leaves the table on the row the start norm came from.
    QCOMPARE(w.state->normer.FieldInt("Nr"), 18LL);
    QVERIFY(w.prompts.unexpected.empty());
}

void TestTFormNorm::doubleClickPutsTheNormInForce()
{
    NormWindow w;
    w.Show();
    w.state->norm.kind = "ketogennorm";
    w.DoubleClick(0);
    QCOMPARE(w.state->norm.currentRow.nr, 3LL);
    QCOMPARE(w.state->norm.activeNorm[SlotIndex(slot::protein)], 95.0f);
    QCOMPARE(w.state->norm.kind, std::string("standardnorm"));
    QCOMPARE(w.prompts.messages,
             (std::vector<std::string>{"Vald Norm: Män 18-30 år   2500 kcal/dag",
                                       "Om du räknat på ketogen kost bör du kolla måltidsfördelningen under "
                                       "Arkiv/Inställningar, de kan ha ändrats."}));
    QCOMPARE(w.window->windowTitle(), QString("Norm: Män 18-30 år   2500 kcal/dag"));
    QVERIFY(!w.window->isVisible());

    // A norm whose energies disagree is applied with its warnings.
    w.prompts.messages.clear();
    w.Show();
    w.DoubleClick(2);
    QCOMPARE(w.state->norm.currentRow.nr, 24LL);
    QCOMPARE(w.prompts.messages.size(), 3u);
    QVERIFY(w.prompts.messages[0].starts_with("För stor skillnad mellan kJ (6000) och kcal (1000)."));
    QCOMPARE(w.prompts.messages[2], std::string("Vald Norm: Barn 2-5 år   1000 kcal/dag"));
    QVERIFY(w.prompts.unexpected.empty());
}

void TestTFormNorm::unlock_data()
{
    QTest::addColumn<QString>("passwordFile");
    QTest::addColumn<QString>("answer");  // empty: no question expected
    QTest::addColumn<bool>("unlocked");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("start password, typed in small letters") << "" << "plogbar" << true << QStringList{};
    QTest::newRow("wrong password") << "" << "druv" << false << QStringList{"Fel lösenord!"};
    QTest::newRow("password from losenord.txt") << "gammalt\r\nHEMLIG\r\n" << "Hemlig" << true << QStringList{};
    QTest::newRow("DRUV opens without a question") << "DRUV\r\n" << "" << true << QStringList{};
}

void TestTFormNorm::unlock()
{
    QFETCH(QString, passwordFile);
    QFETCH(QString, answer);
    QFETCH(bool, unlocked);
    QFETCH(QStringList, messages);
    NormWindow w(passwordFile.toStdString());
    if (!answer.isEmpty()) w.prompts.inputAnswers.push_back(answer.toStdString());
    auto* button = w.window->findChild<QPushButton*>("Button1");
    QTest::mouseClick(button, Qt::LeftButton);

    QCOMPARE(w.prompts.inputs, answer.isEmpty() ? std::vector<std::string>{}
                                                : std::vector<std::string>{"Ange PLOGBAR lösenord|LÖSENORD"});
    QStringList shown;
    for (const std::string& m : w.prompts.messages) shown << QString::fromStdString(m);
    QCOMPARE(shown, messages);
    QCOMPARE(w.grid->editTriggers() != QAbstractItemView::NoEditTriggers, unlocked);
    QCOMPARE(w.window->findChild<QPlainTextEdit*>("Memo2")->isVisibleTo(w.window.get()), unlocked);
    QCOMPARE(button->isVisibleTo(w.window.get()), !unlocked);
    QVERIFY(w.prompts.unexpected.empty());
}

void TestTFormNorm::editedRowIsStoredOnLeavingIt()
{
    NormWindow w("DRUV\r\n");
    w.Show();
    QTest::mouseClick(w.window->findChild<QPushButton*>("Button1"), Qt::LeftButton);
    QCOMPARE(w.grid->rowCount(), 4);  // a blank row for a new norm

    const int kcal = w.Column("kcal");
    w.grid->setCurrentCell(1, kcal);
    w.grid->item(1, kcal)->setText("2100");
    Table& normer = w.state->normer;
    QVERIFY(normer.FindKey(18LL));
    QCOMPARE(normer.FieldFloat("Energi _kcal_ _kcal_"), 2000.0);  // still on the row
    w.grid->setCurrentCell(1, 0);
    QVERIFY(normer.FindKey(18LL));
    QCOMPARE(normer.FieldFloat("Energi _kcal_ _kcal_"), 2000.0);  // another cell of the same row
    w.grid->setCurrentCell(0, 0);
    QVERIFY(normer.FindKey(18LL));
    QCOMPARE(normer.FieldFloat("Energi _kcal_ _kcal_"), 2100.0);
    QCOMPARE(normer.FieldText("Norm"), std::string("Kvinnor 31-60 år"));

    // A new norm in the blank row; the grid offers the next blank row.
    w.grid->setCurrentCell(3, 0);
    w.grid->item(3, 0)->setText("30");
    w.grid->item(3, 1)->setText("Egen norm");
    w.grid->item(3, w.Column("Prot g"))->setText("88,5");
    w.grid->setCurrentCell(0, 0);
    QVERIFY(normer.FindKey(30LL));
    QCOMPARE(normer.FieldText("Norm"), std::string("Egen norm"));
    QCOMPARE(normer.FieldFloat("Protein _g_"), 88.5);
    QCOMPARE(w.grid->rowCount(), 5);

    // The stored row is the one a double click now puts in force.
    w.DoubleClick(3);
    QCOMPARE(w.state->norm.currentRow.name, std::string("Egen norm"));
    QVERIFY(w.prompts.unexpected.empty());
}

QTEST_MAIN(TestTFormNorm)
#include "test_tformnorm.moc"
