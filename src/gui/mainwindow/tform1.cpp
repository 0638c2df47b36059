#include "mainwindow/tform1.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>

#include "core/calcfile.h"
#include "core/recalculate.h"
#include "core/workspace_ops.h"
#include "mainwindow/foodpicker.h"
#include "mainwindow/mealgrid.h"
#include "mainwindow/resultcharts.h"
#include "mainwindow/startfiles.h"
#include "mainwindow/tforminst.h"
#include "norms/tformaktiv.h"
#include "norms/tformaktskapa.h"
#include "norms/tformegennorm.h"
#include "norms/tformharris.h"
#include "norms/tformkgkroppsvikt.h"
#include "norms/tformnorm.h"
#include "norms/tformperson.h"

namespace velmora {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// The first item of the recent-calculations list closes it.
const QString kCloseItem = QString(40, ' ') + "CLOSE";

struct MenuItem {
    const char* name;
    const char* caption;
    int level;  // 0 top menu, 1 item, 2 item of a submenu
    bool hidden = false;
};

// The main menu in order. Items whose windows come with later work are present and disabled.
const MenuItem kMenu[] = {
    {"Arkiv1", "Arkiv", 0},
    {"Nyberkning1", "Ny beräkning", 1},
    {"Hmtaberkning1", "Hämta beräkning", 1},
    {"SparaBerkning1", "Spara Beräkning", 1},
    {"senaste1", "Tidigare beräkningar", 1},
    {"Mailaberkning1", "Maila beräkning", 1},
    {"N1", "-", 1},
    {"Utskrift1", "Utskrift", 1, true},
    {"Utskrift21", "Utskrift", 1},
    {"Utskriftrecept1", "Utskrift recept", 1, true},
    {"Utskrifttillstatistikfil1", "Utskrift till statistikfil", 1},
    {"N2", "-", 1},
    {"Extrainfo1", "Info om denna beräkning", 1},
    {"N5", "-", 1},
    {"Recept1", "Recept", 1, true},
    {"Hmtaettrecepttilldennamltid1", "Hämta ett recept till denna måltid", 1, true},
    {"N3", "-", 1},
    {"Lgguppettreceptiartikelregistret1", "Lägg upp recept i artikelregistret", 1},
    {"Divideranerettrecept1", "Dividera ner ett recept", 1},
    {"Namngedagar1", "Namnge dagar", 1},
    {"Instllningar1", "Inställningar", 1},
    {"N4", "-", 1},
    {"Radera", "Radera beräkningar", 1},
    {"namnsoek", "Sök på namn", 1, true},
    {"N6", "-", 1},
    {"ketogen", "Ketogen kost", 1, true},
    {"Kostunderskningar1", "Kostundersökningar", 1, true},
    {"Redigera1", "Redigera", 0},
    {"Kopieradennamltid2", "Kopiera denna måltid", 1},
    {"Klistraindennamltid1", "Klistra in måltid", 1},
    {"Kopieradag1", "Kopiera dag", 1},
    {"klistraindag", "Klistra in dag", 1},
    {"Kokbok2", "Kokbok", 0},
    {"Vemrdu1", "Normer", 0},
    {"Standardnormer1", "Standardnormer, SNR", 1},
    {"Aktiviteter1", "Aktiviteter", 1},
    {"veckoaktiviteter", "Aktiviteter detaljerat", 1, true},
    {"Angesjlvnskadenergifrbrukning1", "Ange själv önskad energiförbrukning", 1},
    {"HarrisBenedikt1", "Harris Benedict energy estimation", 1},
    {"Personlignorm1", "Personlig norm, BMI", 1},
    {"Perkgkroppsvikt1", "Per kg kroppsvikt", 1},
    {"Ketogenkost1", "Ketogen kost", 1, true},
    {"Vljnringsmnen1", "Välj näringsämnen", 0},
    {"Nringstoppen1", "Näringstoppen", 0},
    {"Livsmedelstabell1", "Register", 0},
    {"Livsmedelsverket1", "Nationella databaser", 1},
    {"Fabrikanter1", "Zidovids företag", 1},
    {"Egna1", "Egna", 1},
    {"Dabas1", "Dabas - livsmedelsföretag", 1},
    {"Receptregister1", "Recept egna", 1, true},
    {"Receptregister2", "Recept allmänna", 1, true},
    {"Vljsprk1", "Language", 0},
    {"Svenska1", "Svenska", 1},
    {"Danska1", "Dansk", 1},
    {"Norska1", "Norsk", 1},
    {"Engelska1", "English", 1},
    {"wwwInfo", "wwwInfo", 0},
    {"Hjlp1", "Hjälp", 0},
    {"Copyright1", "Copyright", 0},
};

}  // namespace

TForm1::TForm1(ProgramState& state, QWidget* parent) : QMainWindow(parent), m_state(state), m_prompts(this)
{
    setObjectName("Form1");
    setWindowTitle("Velmora");

    m_grid = new MealGrid(m_state, P(), this);
    m_picker = new FoodPicker(m_state, P(), this);
    m_charts = new ResultCharts(m_state, P(), this);

    auto* top = new QSplitter(Qt::Horizontal);
    top->addWidget(m_grid);
    top->addWidget(m_picker);
    top->setStretchFactor(0, 3);
    top->setStretchFactor(1, 2);
    auto* whole = new QSplitter(Qt::Vertical);
    whole->setObjectName("SplitterMain");
    whole->addWidget(top);
    whole->addWidget(m_charts);
    whole->setStretchFactor(0, 1);
    whole->setStretchFactor(1, 1);
    setCentralWidget(whole);

    connect(m_grid, &MealGrid::forwardTyping, m_picker, &FoodPicker::startSearchWith);
    connect(m_grid, &MealGrid::mealButtonPressedAgain, m_picker, &FoodPicker::showMealKindList);
    connect(m_picker, &FoodPicker::searchKeyPressed, m_grid, &MealGrid::hideUnitList);
    connect(m_picker, &FoodPicker::foodAdded, m_grid, &MealGrid::focusRow);
    connect(m_grid, &MealGrid::searchFocusRequested, m_picker, &FoodPicker::focusSearchBox);
    m_grid->setSelectedFoodSource([this] { return m_picker->selectedFood(); });

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    setStatusBar(StatusBar1);
    m_picker->setStatusBar(StatusBar1);

    // "Tidigare beräkningar": a list of recent files with its close button, over the main window.
    m_recentPanel = new QWidget(this, Qt::Tool);
    m_recentPanel->setObjectName("PanelTidigareFiler");
    m_recentPanel->setWindowTitle("Tidigare beräkningar");
    ListBoxTidigareFiler = new QListWidget(m_recentPanel);
    ListBoxTidigareFiler->setObjectName("ListBoxTidigareFiler");
    ButtonClose = new QPushButton("Close", m_recentPanel);
    ButtonClose->setObjectName("ButtonClose");
    auto* recentLayout = new QVBoxLayout(m_recentPanel);
    recentLayout->addWidget(ListBoxTidigareFiler);
    recentLayout->addWidget(ButtonClose);
    m_recentPanel->resize(620, 360);
    connect(ButtonClose, &QPushButton::clicked, m_recentPanel, &QWidget::hide);
    connect(ListBoxTidigareFiler, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { RecentCalculationClicked(ListBoxTidigareFiler->row(item)); });
    connect(ListBoxTidigareFiler, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { RecentCalculationClicked(ListBoxTidigareFiler->row(item)); });

    BuildMenu();
    m_state.refreshHooks.push_back([this] { Refresh(); });
    resize(1280, 860);
}

TForm1::~TForm1() = default;

void TForm1::CreateOtherWindows()
{
    // The program's creation order; windows of later work take their places in it.
    m_norm = new TFormNorm(m_state, P(), this);
    auto* activityTable = new TFormAktskapa(m_state, P(), this);
    auto* activities = new TFormAktiv(m_state, P(), this);
    m_settings = new TFormInst(m_state, P(), this);
    auto* ownNorm = new TFormEgenNorm(m_state, P(), this);
    auto* harris = new TFormHarris(m_state, P(), this);
    auto* person = new TFormPerson(m_state, P(), this);
    auto* perKg = new TFormKgKroppsvikt(m_state, P(), this);

    auto enable = [this](const char* name, auto show) {
        QAction* action = m_actions[name];
        action->setEnabled(true);
        connect(action, &QAction::triggered, this, show);
    };
    enable("Aktiviteter1", [activities] { activities->ShowFromMenu(); });
    enable("Angesjlvnskadenergifrbrukning1", [ownNorm] { ownNorm->ShowFromMenu(); });
    enable("HarrisBenedikt1", [harris] { harris->ShowFromMenu(); });
    enable("Personlignorm1", [person] { person->ShowFromMenu(); });
    enable("Perkgkroppsvikt1", [perKg] { perKg->ShowFromMenu(); });
    (void)activityTable;
}

void TForm1::FinishStartup()
{
    m_state.StartupInProgress = false;
    m_picker->applyStartLanguage();
    Recalculate(m_state);
}

QAction* TForm1::Action(const QString& name) const
{
    auto it = m_actions.find(name);
    return it == m_actions.end() ? nullptr : it->second;
}

void TForm1::BuildMenu()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu1");
    QMenu* top = nullptr;
    QMenu* sub = nullptr;
    for (const MenuItem& item : kMenu) {
        if (item.level == 0) {
            top = bar->addMenu(QString::fromUtf8(item.caption));
            top->setObjectName(item.name);
            top->menuAction()->setObjectName(item.name);
            m_actions[item.name] = top->menuAction();
            sub = nullptr;
            continue;
        }
        QMenu* into = item.level == 2 && sub ? sub : top;
        QAction* action = QString(item.caption) == "-" ? into->addSeparator() : into->addAction(QString::fromUtf8(item.caption));
        action->setObjectName(item.name);
        action->setVisible(!item.hidden);
        action->setEnabled(false);
        m_actions[item.name] = action;
    }
    // Top-level entries that are commands rather than menus.
    for (const char* name : {"Kokbok2", "Vljnringsmnen1", "Nringstoppen1", "wwwInfo", "Hjlp1", "Copyright1"}) {
        m_actions[name]->setEnabled(false);
    }
    m_actions["Vljsprk1"]->setVisible(!HidesOriginChoice(m_state.CountryCode));

    // The copy and paste commands belong to the meal grid.
    QMenu* edit = bar->findChild<QMenu*>("Redigera1");
    for (QAction* action : m_grid->editActions()) {
        QAction* placeholder = m_actions[action->objectName()];
        edit->insertAction(placeholder, action);
        edit->removeAction(placeholder);
        placeholder->deleteLater();
        m_actions[action->objectName()] = action;
    }

    auto enable = [this](const char* name, auto slot) {
        QAction* action = m_actions[name];
        action->setEnabled(true);
        connect(action, &QAction::triggered, this, slot);
    };
    enable("Nyberkning1", [this] { NewCalculationCommand(); });
    enable("Hmtaberkning1", [this] { LoadCommand(); });
    enable("SparaBerkning1", [this] { SaveCommand(); });
    enable("senaste1", [this] { ShowRecentCalculations(); });
    enable("Radera", [this] { DeleteCalculations(); });
    enable("namnsoek", [this] { m_picker->searchByPrompt(); });
    m_actions["namnsoek"]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    // A hidden item's shortcut still works when the window holds the action.
    addAction(m_actions["namnsoek"]);
    enable("Instllningar1", [this] {
        m_settings->show();
        m_settings->raise();
    });
    enable("Standardnormer1", [this] {
        m_norm->show();
        m_norm->raise();
    });
}

void TForm1::Refresh()
{
    setWindowTitle(Q(m_state.mainCaption));
}

void TForm1::NewCalculationCommand()
{
    NewCalculation(m_state, P());
    Recalculate(m_state);
}

void TForm1::LoadCommand()
{
    LoadCalculation(m_state, P());
}

void TForm1::SaveCommand()
{
    SaveCalculation(m_state, P());
    Refresh();
}

void TForm1::ShowRecentCalculations()
{
    ListBoxTidigareFiler->clear();
    ListBoxTidigareFiler->addItem(kCloseItem);
    for (const auto& path : m_state.recentCalculationFiles) ListBoxTidigareFiler->addItem(Q(path.string()));
    m_recentPanel->show();
    m_recentPanel->raise();
}

void TForm1::RecentCalculationClicked(int row)
{
    m_recentPanel->hide();
    if (row <= 0 || row > static_cast<int>(m_state.recentCalculationFiles.size())) return;
    m_state.presetFileName = m_state.recentCalculationFiles[static_cast<std::size_t>(row - 1)];
    LoadCommand();
}

void TForm1::DeleteCalculations()
{
    FileDialog dialog{"Välj beräkning som du vill radera.", "velmora|*.diet", m_state.fileDialogStartFolder, false};
    while (auto chosen = P().openFile(dialog)) {
        std::error_code ignored;
        for (const char* extension : {".diet", ".txt", ".norm", ".akt", ".enorm", ".harris"}) {
            std::filesystem::remove(CompanionPath(*chosen, extension), ignored);
        }
        P().inform(CompanionPath(*chosen, ".diet").string() + " borttagen");
    }
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (m_state.CalculationDirty) {
        Answer answer = P().ask(m_state.texts.saveBeforeNew, Buttons::YesNoCancel);
        if (answer == Answer::Cancel) {
            event->ignore();
            return;
        }
        // A save that was cancelled or failed keeps the program running, so nothing is lost.
        if (answer == Answer::Yes && !SaveCalculation(m_state, P())) {
            event->ignore();
            return;
        }
    }
    WriteCloseFiles(m_state);
    m_recentPanel->hide();
    event->accept();
}

}  // namespace velmora
