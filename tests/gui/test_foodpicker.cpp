#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTimer>
#include <QtTest>

#include "guisupport.h"
#include "mainwindow/foodpicker.h"

using namespace velmora;
using namespace velmora::guitest;

namespace {

const char* kNational = "Kod\tLivsmedel\tPortionsstorlek\tEnhet\tGrupp1\n"
                        "1\tBanan\t120\tst\tFrukt\n"
                        "77\tChokladmjölk\t103\tdl\tMejeri\n"
                        "59\tMjölk fett 3%\t103\tdl\tMejeri\n"
                        "377\tMjölkchoklad\t5\tbit\tGodis\n"
                        "80\tMjölk/NO\t103\tdl\tMejeri/No\n";

// A picker on its own window, started as the main window does: Swedish country, first list filled.
struct Picker {
    Picker()
    {
        fixture.Table("nalvex100", kNational);
        fixture.Table("fabrikant", "Kod\tLivsmedel\tPortionsstorlek\tEnhet\nF2\tMjölkpulver\t10\tmsk\n");
        fixture.Table("dabas", "Kod\tLivsmedel\tPortionsstorlek\tEnhet\tGrupp1\n"
                               "dab7340001234565\tMellanmjölk ekologisk\t103\tdl\tLövkulla Mejeri AB\n");
        state = fixture.Start();
        widget = std::make_unique<FoodPicker>(*state, prompts);
        widget->show();
        widget->activateWindow();
        widget->applyStartLanguage();
        edit = widget->findChild<QLineEdit*>("Edit1");
        list = widget->findChild<QListWidget*>("ListBoxLivs");
        timer = widget->findChild<QTimer*>("Timer1");
    }
    QStringList Texts() const
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
        return out;
    }

    GuiFixture fixture;
    std::unique_ptr<ProgramState> state;
    ScriptedPrompts prompts;
    std::unique_ptr<FoodPicker> widget;
    QLineEdit* edit = nullptr;
    QListWidget* list = nullptr;
    QTimer* timer = nullptr;
};

// QTest::keyClicks knows ASCII keys only; letters such as "ö" go as key events with their text.
void Type(QWidget* widget, const QString& text)
{
    for (QChar ch : text) {
        if (ch.unicode() < 0x80) {
            QTest::keyClick(widget, ch.toLatin1());
        } else {
            QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        }
    }
}

const QString kManufacturers = "           --- FABRIKANTER (+ = wwwinfo) ---";
const QString kOwn = "                         --- EGNA VÄRDEN ---";
const QString kDabasOff = "                         --- DABAS EJ AKTIVERAD ---";
const QString kOwnRecipes = "                         --- RECEPT EGNA ---";
const QString kGeneralRecipes = "                         --- RECEPT ALLMÄNNA ---";

}  // namespace

class TestFoodPicker : public QObject {
    Q_OBJECT
private slots:
    void startShowsBananaUnderTheSearchHint();
    void typingSearchesOnceTheTimerFires();
    void keyboardAloneAddsAFoodToTheCurrentMeal();
    void okButtonAddsFoodsButNotSeparators();
    void textWithColonBecomesATextRow();
    void dragCarriesTheKeyText();
    void productDatabaseLoadsAfterItsTimer();
};

void TestFoodPicker::startShowsBananaUnderTheSearchHint()
{
    Picker p;
    QVERIFY(p.widget->findChild<QCheckBox*>("CheckBoxSvensk")->isChecked());
    QVERIFY(!p.widget->findChild<QCheckBox*>("CheckBoxNorsk")->isChecked());
    QCOMPARE(p.edit->text(), QString("Sök"));
    QCOMPARE(p.Texts(), (QStringList{"Banan", kManufacturers, kOwn, kDabasOff, kOwnRecipes, kGeneralRecipes}));
    // The group box lost the Norwegian group with the Norwegian box unchecked.
    auto* groups = p.widget->findChild<QComboBox*>("ComboBoxSLVgrupp");
    QStringList items;
    for (int i = 0; i < groups->count(); ++i) items << groups->itemText(i);
    QCOMPARE(items, (QStringList{" Livsmedelsgrupper", "Bröd", "Frukt", "Godis", "Mejeri"}));
    QVERIFY(p.prompts.unexpected.empty());
}

void TestFoodPicker::typingSearchesOnceTheTimerFires()
{
    Picker p;
    p.edit->setFocus();
    p.edit->clear();
    Type(p.edit, "mj");
    QVERIFY(p.timer->isActive());
    const int remaining = p.timer->remainingTime();
    Type(p.edit, "ölk");
    // Keys typed while it runs don't restart it.
    QVERIFY(p.timer->isActive());
    QVERIFY(p.timer->remainingTime() <= remaining);

    const QStringList expected{"Mjölk fett 3%", "Mjölkchoklad", "Chokladmjölk", kManufacturers, "Mjölkpulver",
                               kOwn,            kDabasOff,      kOwnRecipes,    kGeneralRecipes};
    QTRY_COMPARE(p.Texts(), expected);
    QCOMPARE(p.list->item(0)->data(Qt::UserRole).toString(), QString("Mjölk fett 3%{59}103@dl"));
    QCOMPARE(p.list->item(3)->data(Qt::UserRole).toString(), QString(" --- FABRIKANTER ---"));
    // Typing does not change the last search text the origin boxes and the menu search keep.
    QCOMPARE(p.state->picker.LastSearchText, std::string());
    QVERIFY(p.prompts.unexpected.empty());
}

void TestFoodPicker::keyboardAloneAddsAFoodToTheCurrentMeal()
{
    Picker p;
    p.state->CurrentMeal = 2;
    QSignalSpy added(p.widget.get(), &FoodPicker::foodAdded);
    QSignalSpy keys(p.widget.get(), &FoodPicker::searchKeyPressed);
    p.edit->setFocus();
    p.edit->clear();
    Type(p.edit, "mjölkc");
    // Enter right after typing searches what was typed, without waiting for the timer.
    QTest::keyClick(p.edit, Qt::Key_Return);
    QVERIFY(!keys.isEmpty());
    QTRY_VERIFY(p.list->hasFocus());
    QCOMPARE(p.list->currentRow(), 0);
    QCOMPARE(p.list->currentItem()->text(), QString("Mjölkchoklad"));

    QTest::keyClick(p.list, Qt::Key_Return);
    const MealRow& row = p.state->calculation.Row(0, 2, 1);
    QCOMPARE(row.code, std::string("377"));
    QCOMPARE(row.name, std::string("Mjölkchoklad"));
    QCOMPARE(row.grams, 5.0f);
    QCOMPARE(added.count(), 1);
    QCOMPARE(added.front().front().toInt(), 1);
    QVERIFY(p.state->calculation.Row(0, 0, 1).IsEmpty());

    QTest::keyClick(p.list, Qt::Key_Escape);
    QTRY_VERIFY(p.edit->hasFocus());
    QVERIFY(p.prompts.messages.empty());
    QVERIFY(p.prompts.unexpected.empty());
}

void TestFoodPicker::okButtonAddsFoodsButNotSeparators()
{
    Picker p;
    auto* ok = p.widget->findChild<QPushButton*>("Button3");
    QSignalSpy added(p.widget.get(), &FoodPicker::foodAdded);
    p.list->setCurrentRow(1);  // the manufacturers' separator
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(p.state->calculation.Row(0, 0, 1).IsEmpty());
    QCOMPARE(added.count(), 0);

    p.list->setCurrentRow(0);
    QTest::mouseClick(ok, Qt::LeftButton);
    QCOMPARE(p.state->calculation.Row(0, 0, 1).code, std::string("1"));
    QCOMPARE(p.state->calculation.Row(0, 0, 1).grams, 120.0f);
    QCOMPARE(added.count(), 1);
    // The no-match row adds nothing either.
    p.edit->clear();
    Type(p.edit, "gurka");
    QTest::keyClick(p.edit, Qt::Key_Return);
    QCOMPARE(p.list->currentItem()->text(), kManufacturers);
    p.list->setCurrentRow(p.list->count() - 1);
    QCOMPARE(p.list->currentItem()->text(), QString("Ingen träff på  GURKA"));
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(p.state->calculation.Row(0, 0, 2).IsEmpty());
    QVERIFY(p.prompts.unexpected.empty());
}

void TestFoodPicker::textWithColonBecomesATextRow()
{
    Picker p;
    p.state->calculation.Row(0, 0, 1).code = "1";
    p.edit->setFocus();
    p.edit->clear();
    Type(p.edit, "07:30 frukost hemma");
    QTest::keyClick(p.edit, Qt::Key_Return);
    const MealRow& row = p.state->calculation.Row(0, 0, 2);
    QCOMPARE(row.code, std::string("07:30 frukost hemma"));
    QCOMPARE(row.name, std::string("07:30 frukost hemma"));
    QVERIFY(p.state->CalculationDirty);
    QTRY_VERIFY(p.list->hasFocus());
    QVERIFY(p.prompts.unexpected.empty());
}

void TestFoodPicker::dragCarriesTheKeyText()
{
    Picker p;
    std::unique_ptr<QMimeData> mime(p.list->model()->mimeData({p.list->model()->index(0, 0)}));
    QVERIFY(mime);
    QCOMPARE(QString::fromUtf8(mime->data("application/x-velmora-foodkey")), QString("Banan{1}120@st"));
    QCOMPARE(mime->text(), QString("Banan"));
    // Separators can't be dragged.
    QVERIFY(!(p.list->item(1)->flags() & Qt::ItemIsDragEnabled));
    QVERIFY(p.prompts.unexpected.empty());
}

void TestFoodPicker::productDatabaseLoadsAfterItsTimer()
{
    Picker p;
    QStatusBar bar;
    p.widget->setStatusBar(&bar);
    auto* dabas = p.widget->findChild<QCheckBox*>("CheckBoxDabas");
    auto* companies = p.widget->findChild<QComboBox*>("ComboBoxDabas");
    QVERIFY(!companies->isVisible());

    QTest::mouseClick(dabas, Qt::LeftButton, {}, QPoint(6, dabas->height() / 2));
    QCOMPARE(p.prompts.messages.size(), std::size_t(1));
    QCOMPARE(bar.currentMessage(), QString("Wait while reading"));
    QTRY_VERIFY_WITH_TIMEOUT(companies->isVisible(), 3000);
    QCOMPARE(companies->count(), 2);
    QCOMPARE(companies->itemText(1), QString("Lövkulla Mejeri AB"));
    QCOMPARE(bar.currentMessage(), QString());

    // The products come with the next search.
    p.edit->clear();
    Type(p.edit, "mellanmjölk");
    QTRY_VERIFY(p.Texts().contains("Mellanmjölk ekologisk"));

    // Once loaded, a click only shows or hides the company box.
    QTest::mouseClick(dabas, Qt::LeftButton, {}, QPoint(6, dabas->height() / 2));
    QVERIFY(!companies->isVisible());
    QVERIFY(!p.widget->findChild<QTimer*>("TimerDabasInlasning")->isActive());
    QVERIFY(p.prompts.unexpected.empty());
}

QTEST_MAIN(TestFoodPicker)
#include "test_foodpicker.moc"
