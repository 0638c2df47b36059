#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

#include "core/calcfile.h"
#include "core/workspace_ops.h"
#include "guisupport.h"
#include "mainwindow/tform1.h"

using namespace velmora;
using velmora::guitest::GuiFixture;
using velmora::guitest::ScriptedPrompts;

class TestTForm1 : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<GuiFixture> fixture;
    std::unique_ptr<ProgramState> state;
    std::unique_ptr<TForm1> window;
    ScriptedPrompts prompts;

    void AddBanana()
    {
        AddFood(*state, prompts, FoodListEntry{"Banan", "Banan{1}120@st"});
    }

private slots:
    void init()
    {
        fixture = std::make_unique<GuiFixture>();
        fixture->Table("nalvex100", "Kod\tLivsmedel\tPortionsstorlek\tEnhet\tEnergi _kJ_ _kJ_\n1\tBanan\t120\tst\t380\n");
        state = fixture->Start();
        prompts = {};
        window = std::make_unique<TForm1>(*state);
        window->SetPrompts(&prompts);
        window->CreateOtherWindows();
        window->FinishStartup();
        window->show();
    }
    void cleanup()
    {
        QVERIFY2(prompts.unexpected.empty(), prompts.unexpected.empty() ? "" : prompts.unexpected.front().c_str());
        window.reset();
        state.reset();
        fixture.reset();
    }

    void menuTreeHasTheProgramsItems()
    {
        for (const char* name : {"Nyberkning1", "Hmtaberkning1", "SparaBerkning1", "senaste1", "Radera", "Instllningar1",
                                 "Standardnormer1", "Aktiviteter1", "HarrisBenedikt1", "Perkgkroppsvikt1",
                                 "Kopieradennamltid2", "klistraindag"}) {
            QAction* action = window->Action(name);
            QVERIFY2(action && action->isEnabled(), name);
        }
        // Items of windows that come later are there but cannot be chosen.
        for (const char* name : {"Mailaberkning1", "Utskrift21", "Kokbok2", "Vljnringsmnen1", "Svenska1"}) {
            QAction* action = window->Action(name);
            QVERIFY2(action && !action->isEnabled(), name);
        }
        QVERIFY(!window->Action("namnsoek")->isVisible());
        QCOMPARE(window->Action("namnsoek")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
        QCOMPARE(window->Action("SparaBerkning1")->text(), QString("Spara Beräkning"));
    }

    void saveThenLoadThroughTheMenu()
    {
        AddBanana();
        const auto file = fixture->Work() / "dag.diet";
        prompts.files.push_back(file);
        window->Action("SparaBerkning1")->trigger();
        QVERIFY(std::filesystem::exists(file));
        QVERIFY(!state->CalculationDirty);
        QVERIFY(window->windowTitle().startsWith(QString::fromStdString(file.string())));

        window->Action("Nyberkning1")->trigger();
        QVERIFY(state->calculation.Row(0, 0, 1).IsEmpty());
        prompts.files.push_back(file);
        window->Action("Hmtaberkning1")->trigger();
        QCOMPARE(QString::fromStdString(state->calculation.Row(0, 0, 1).name), QString("Banan"));
        QCOMPARE(prompts.dialogTitles, (std::vector<std::string>{"Save registration", "Open registration"}));
        QVERIFY(window->windowTitle().contains(QString::fromStdString(TodayText())));  // the save date

        // The recent list loads the file without a dialog.
        window->Action("Nyberkning1")->trigger();
        window->Action("senaste1")->trigger();
        auto* list = window->findChild<QListWidget*>("ListBoxTidigareFiler");
        QVERIFY(list);
        QCOMPARE(list->count(), 2);
        QVERIFY(list->item(0)->text().endsWith("CLOSE"));
        emit list->itemClicked(list->item(1));
        QCOMPARE(QString::fromStdString(state->calculation.Row(0, 0, 1).name), QString("Banan"));
    }

    void closingWithUnsavedChangesAsks()
    {
        AddBanana();
        prompts.answers.push_back(Answer::Cancel);
        QVERIFY(!window->close());
        QVERIFY(window->isVisible());
        QCOMPARE(prompts.questions.back(), std::string("Vill du spara denna beräkning innan en ny startas?"));

        // Yes with a cancelled save dialog keeps the program running too: nothing is lost.
        prompts.answers.push_back(Answer::Yes);
        prompts.files.push_back(std::nullopt);
        QVERIFY(!window->close());

        prompts.answers.push_back(Answer::No);
        QVERIFY(window->close());
    }

    void deleteCalculationsRemovesCompanions()
    {
        AddBanana();
        const auto file = fixture->Work() / "bort.diet";
        state->presetFileName = file;
        QVERIFY(SaveCalculation(*state, prompts));
        QVERIFY(std::filesystem::exists(CompanionPath(file, ".norm")));
        prompts.files = {file, std::nullopt};
        window->Action("Radera")->trigger();
        QVERIFY(!std::filesystem::exists(file));
        QVERIFY(!std::filesystem::exists(CompanionPath(file, ".norm")));
        QCOMPARE(prompts.messages.back(), file.string() + " borttagen");
        QCOMPARE(prompts.dialogTitles.front(), std::string("Välj beräkning som du vill radera."));
    }
};

QTEST_MAIN(TestTForm1)
#include "test_tform1.moc"
