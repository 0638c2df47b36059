#include "mainwindow/foodpicker.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include <functional>

#include "mainwindow/foodlist.h"
#include "mainwindow/startfiles.h"

namespace velmora {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

constexpr int kKeyRole = Qt::UserRole;
const QString kFoodKeyMime = QStringLiteral("application/x-velmora-foodkey");

// The food list: its items carry their key texts, a food can be dragged to the meal grid and the
// context menu opens on the entry under the mouse (or the current one from the keyboard).
class FoodListWidget : public QListWidget {
public:
    using QListWidget::QListWidget;
    std::function<void(int row, const QPoint& globalPos)> onContextMenu;

protected:
    QStringList mimeTypes() const override { return {kFoodKeyMime, QStringLiteral("text/plain")}; }
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override
    {
        if (items.isEmpty()) return nullptr;
        auto* mime = new QMimeData;
        mime->setData(kFoodKeyMime, items.first()->data(kKeyRole).toString().toUtf8());
        mime->setText(items.first()->text());
        return mime;
    }
    void contextMenuEvent(QContextMenuEvent* event) override
    {
        int row = -1;
        QPoint at = event->globalPos();
        if (event->reason() == QContextMenuEvent::Keyboard) {
            row = currentRow();
            if (QListWidgetItem* current = currentItem()) at = viewport()->mapToGlobal(visualItemRect(current).center());
        } else if (QListWidgetItem* under = itemAt(event->pos())) {
            row = this->row(under);
        }
        if (row >= 0 && onContextMenu) onContextMenu(row, at);
    }
};

bool IsEnter(const QKeyEvent* key) { return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter; }

}  // namespace

FoodPicker::FoodPicker(ProgramState& state, Prompts& prompts, QWidget* parent)
    : QWidget(parent), m_state(state), m_prompts(prompts)
{
    setObjectName("FoodPicker");

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName("Edit1");
    Edit1->setClearButtonEnabled(true);
    Edit1->installEventFilter(this);
    Button3 = new QPushButton("OK", this);
    Button3->setObjectName("Button3");
    Button3->setAutoDefault(false);

    auto* list = new FoodListWidget(this);
    ListBoxLivs = list;
    ListBoxLivs->setObjectName("ListBoxLivs");
    ListBoxLivs->setUniformItemSizes(true);
    ListBoxLivs->setDragEnabled(true);
    ListBoxLivs->setDragDropMode(QAbstractItemView::DragOnly);
    ListBoxLivs->installEventFilter(this);
    list->onContextMenu = [this](int row, const QPoint& at) { openContextMenu(row, at); };

    ComboBoxSLVgrupp = new QComboBox(this);
    ComboBoxSLVgrupp->setObjectName("ComboBoxSLVgrupp");
    CheckBoxSvensk = new QCheckBox("Svensk mat", this);
    CheckBoxSvensk->setObjectName("CheckBoxSvensk");
    CheckBoxNorsk = new QCheckBox("Norsk mat", this);
    CheckBoxNorsk->setObjectName("CheckBoxNorsk");
    CheckBoxDansk = new QCheckBox("Dansk mat", this);
    CheckBoxDansk->setObjectName("CheckBoxDansk");
    CheckBoxDabas = new QCheckBox("DABAS", this);
    CheckBoxDabas->setObjectName("CheckBoxDabas");
    ComboBoxDabas = new QComboBox(this);
    ComboBoxDabas->setObjectName("ComboBoxDabas");
    ComboBoxDabas->setVisible(false);  // exists for the user once the products are loaded
    ButtonFavoriter = new QPushButton("Favoriter", this);
    ButtonFavoriter->setObjectName("ButtonFavoriter");
    ButtonSenaste = new QPushButton("Senaste", this);
    ButtonSenaste->setObjectName("ButtonSenaste");

    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(Edit1, 1);
    searchRow->addWidget(Button3);
    auto* origins = new QHBoxLayout;
    origins->addWidget(CheckBoxSvensk);
    origins->addWidget(CheckBoxNorsk);
    origins->addWidget(CheckBoxDansk);
    origins->addStretch(1);
    auto* dabasRow = new QHBoxLayout;
    dabasRow->addWidget(CheckBoxDabas);
    dabasRow->addWidget(ComboBoxDabas, 1);
    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(ButtonFavoriter);
    listButtons->addWidget(ButtonSenaste);
    listButtons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(searchRow);
    layout->addWidget(ListBoxLivs, 1);
    layout->addWidget(ComboBoxSLVgrupp);
    layout->addLayout(origins);
    layout->addLayout(dabasRow);
    layout->addLayout(listButtons);

    if (HidesOriginChoice(m_state.CountryCode)) {
        CheckBoxSvensk->hide();
        CheckBoxNorsk->hide();
        CheckBoxDansk->hide();
    }

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName("PopupMenu1");
    auto item = [this](const char* name, const QString& caption) {
        QAction* action = PopupMenu1->addAction(caption);
        action->setObjectName(name);
        return action;
    };
    QAction* per100g = item("Visanringenper100g1", "Visa näringen per 100g");
    QAction* addFavourite = item("illfavoriter1", "Lägg denna artikel i favoritlistan");
    QAction* www = item("Artikelnswww1", "Produktinfo via www");
    tabort = item("tabort", "Ta bort denna artikel från favoritlistan");
    QAction* editFood = item("ndrailivsmedelstabellen1", "Ändra i livsmedelstabellen");
    QAction* weights = item("S1", "Standardvikter");
    QAction* expired = item("VisavenartiklarsomUTGTT1", "Visa även artiklar som UTGÅTT");
    // Their windows are not part of the program yet.
    for (QAction* later : {per100g, editFood, weights}) later->setEnabled(false);

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setSingleShot(true);
    Timer1->setInterval(500);
    TimerDabasInlasning = new QTimer(this);
    TimerDabasInlasning->setObjectName("TimerDabasInlasning");
    TimerDabasInlasning->setSingleShot(true);
    TimerDabasInlasning->setInterval(1000);

    connect(Edit1, &QLineEdit::textEdited, this, [this] {
        // Keys typed while the timer runs don't restart it: the list follows typing at most
        // twice a second and shows the final text half a second after the last key.
        if (!Timer1->isActive()) Timer1->start();
    });
    connect(Timer1, &QTimer::timeout, this, &FoodPicker::quickSearch);
    connect(Button3, &QPushButton::clicked, this, [this] { chooseRow(ListBoxLivs->currentRow()); });
    connect(ListBoxLivs, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* clicked) { chooseRow(ListBoxLivs->row(clicked)); });
    connect(ListBoxLivs, &QListWidget::itemClicked, this, &FoodPicker::foodListClicked);
    for (QCheckBox* box : {CheckBoxSvensk, CheckBoxNorsk, CheckBoxDansk}) {
        connect(box, &QCheckBox::toggled, this, &FoodPicker::originClicked);
    }
    connect(ComboBoxSLVgrupp, &QComboBox::activated, this, &FoodPicker::groupChosen);
    connect(CheckBoxDabas, &QCheckBox::clicked, this, &FoodPicker::dabasClicked);
    connect(TimerDabasInlasning, &QTimer::timeout, this, &FoodPicker::loadDabas);
    connect(ComboBoxDabas, &QComboBox::activated, this, &FoodPicker::companyChosen);
    connect(ButtonFavoriter, &QPushButton::clicked, this, [this] {
        ShowFavourites(m_state);
        redrawList(true);
        ListBoxLivs->setFocus();
    });
    connect(ButtonSenaste, &QPushButton::clicked, this, [this] {
        ShowRecentFoods(m_state);
        redrawList(true);
        ListBoxLivs->setFocus();
    });

    connect(PopupMenu1, &QMenu::aboutToShow, this,
            [this] { tabort->setVisible(m_state.picker.listMode == ListMode::Favorit); });
    auto code = [this] { return Q(m_state.picker.ContextFoodCode); };
    connect(per100g, &QAction::triggered, this, [this, code] { emit showPer100gRequested(code()); });
    connect(editFood, &QAction::triggered, this, [this, code] { emit editFoodRequested(code()); });
    connect(weights, &QAction::triggered, this, [this, code] { emit standardWeightsRequested(code()); });
    connect(addFavourite, &QAction::triggered, this, [this] { AddContextEntryToFavourites(m_state); });
    connect(www, &QAction::triggered, this, [this] {
        const std::string address = ProductInfoAddressFor(m_state, m_state.picker.ContextFoodCode);
        if (!address.empty()) QDesktopServices::openUrl(QUrl(Q(address)));  // a failure is ignored
    });
    connect(tabort, &QAction::triggered, this, [this] {
        if (RemoveContextEntryFromFavourites(m_state)) redrawList(true);
    });
    connect(expired, &QAction::triggered, this,
            [this] { afterOriginSearch(AskShowExpired(m_state, m_prompts, Edit1->text().toStdString())); });

    redrawGroups();
}

std::optional<FoodListEntry> FoodPicker::selectedFood() const
{
    const int row = ListBoxLivs->currentRow();
    const auto& shown = m_state.picker.shown;
    if (row < 0 || row >= static_cast<int>(shown.size())) return std::nullopt;
    const FoodListEntry& entry = shown[static_cast<std::size_t>(row)];
    if (!IsFoodEntry(entry)) return std::nullopt;
    return entry;
}

void FoodPicker::redrawList(bool selectFirst)
{
    ListBoxLivs->setUpdatesEnabled(false);
    ListBoxLivs->clear();
    // Separators and the no-match row are shown subdued and can't be dragged.
    const Qt::ItemFlags notFood = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const QBrush subdued = ListBoxLivs->palette().brush(QPalette::Disabled, QPalette::Text);
    for (const FoodListEntry& entry : m_state.picker.shown) {
        auto* row = new QListWidgetItem(Q(entry.display), ListBoxLivs);
        row->setData(kKeyRole, Q(entry.key));
        if (!IsFoodEntry(entry)) {
            row->setFlags(notFood);
            row->setForeground(subdued);
        }
    }
    if (selectFirst && ListBoxLivs->count() > 0) ListBoxLivs->setCurrentRow(0);
    ListBoxLivs->setUpdatesEnabled(true);
}

void FoodPicker::redrawGroups()
{
    const QSignalBlocker blocker(ComboBoxSLVgrupp);
    ComboBoxSLVgrupp->clear();
    for (const std::string& group : m_state.picker.groups) ComboBoxSLVgrupp->addItem(Q(group));
    ComboBoxSLVgrupp->setCurrentIndex(m_state.picker.groups.empty() ? -1 : m_state.picker.groupIndex);
}

void FoodPicker::redrawCompanies()
{
    const QSignalBlocker blocker(ComboBoxDabas);
    if (ComboBoxDabas->count() != static_cast<int>(m_state.picker.dabasCompanies.size())) {
        ComboBoxDabas->clear();
        for (const std::string& company : m_state.picker.dabasCompanies) ComboBoxDabas->addItem(Q(company));
    }
    ComboBoxDabas->setCurrentIndex(m_state.picker.dabasCompanyIndex);
}

void FoodPicker::redrawFromState()
{
    redrawList(false);
    redrawGroups();
    redrawCompanies();
}

void FoodPicker::quickSearch()
{
    Timer1->stop();
    FillFoodList(m_state, Edit1->text().toStdString());
    redrawList(false);
    redrawGroups();
}

void FoodPicker::searchBoxEnter()
{
    // A search still waiting for its timer runs now, so that Enter acts on what was typed.
    if (Timer1->isActive()) quickSearch();
    if (ListBoxLivs->count() > 0) ListBoxLivs->setCurrentRow(0);
    ListBoxLivs->setFocus();
    const QString text = Edit1->text();
    if (text.contains(':')) AddTextRow(m_state, text.toStdString());
}

void FoodPicker::chooseRow(int row)
{
    if (ChooseFoodListEntry(m_state, m_prompts, row)) emit foodAdded(m_state.CurrentRow);
}

bool FoodPicker::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == Edit1) {
        emit searchKeyPressed();
        if (IsEnter(key)) {
            searchBoxEnter();
            return true;
        }
    } else if (watched == ListBoxLivs) {
        if (IsEnter(key)) {
            chooseRow(ListBoxLivs->currentRow());
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            Edit1->setFocus();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FoodPicker::startSearchWith(const QString& text)
{
    Edit1->setText(text);
    Edit1->setFocus();
    if (!Timer1->isActive()) Timer1->start();
}

void FoodPicker::showMealKindList(int meal)
{
    ShowMealKindList(m_state, meal);
    redrawList(true);
    ListBoxLivs->setFocus();
}

void FoodPicker::searchByPrompt()
{
    if (!SearchByPrompt(m_state, m_prompts)) return;
    redrawList(true);
    redrawGroups();
    ListBoxLivs->setFocus();
}

void FoodPicker::focusSearchBox() { Edit1->setFocus(); }

void FoodPicker::applyStartLanguage()
{
    if (auto start = StartLanguageFor(m_state.CountryCode)) {
        QCheckBox* box = start->originBox == OriginBox::Norsk  ? CheckBoxNorsk
                         : start->originBox == OriginBox::Dansk ? CheckBoxDansk
                                                                : CheckBoxSvensk;
        // Checking the box runs its click handler, as a click would.
        if (box->isChecked()) originClicked();
        else box->setChecked(true);
        Edit1->setText(Q(start->searchText));
        Edit1->selectAll();  // the hint goes away with the first key
    }
    FillFoodList(m_state, std::string(kStartSearchWord));
    redrawList(false);
    redrawGroups();
}

void FoodPicker::originClicked()
{
    FoodPickerState& picker = m_state.picker;
    picker.swedish = CheckBoxSvensk->isChecked();
    picker.norwegian = CheckBoxNorsk->isChecked();
    picker.danish = CheckBoxDansk->isChecked();
    afterOriginSearch(OriginBoxClicked(m_state, Edit1->text().toStdString()));
}

void FoodPicker::afterOriginSearch(int matches)
{
    redrawList(true);
    redrawGroups();
    redrawCompanies();
    if (matches == 0) {
        Edit1->clear();
        Edit1->setFocus();
    } else {
        ListBoxLivs->setFocus();
    }
}

void FoodPicker::groupChosen(int index)
{
    Edit1->clear();
    FilterFoodGroup(m_state, index);
    redrawList(true);
    ListBoxLivs->setFocus();
}

void FoodPicker::dabasClicked(bool checked)
{
    if (SwitchDabas(m_state, m_prompts, checked)) {
        TimerDabasInlasning->start();
        showStatus("Wait while reading");
    } else {
        ComboBoxDabas->setVisible(!ComboBoxDabas->isVisible());
    }
    redrawList(false);
    redrawGroups();
}

void FoodPicker::loadDabas()
{
    TimerDabasInlasning->stop();
    LoadDabasIndex(m_state, [this](int read) {
        // Every record would repaint thousands of times; a step of 500 still shows progress.
        if (read % 500 == 0) showStatus(QString::number(read) + " products. Wait!!!");
    });
    redrawCompanies();
    ComboBoxDabas->setVisible(true);
    showStatus({});
}

void FoodPicker::companyChosen(int index)
{
    if (!SearchDabasCompany(m_state, index)) return;
    redrawList(true);
    redrawGroups();
    ListBoxLivs->setFocus();
}

void FoodPicker::openContextMenu(int row, const QPoint& globalPos)
{
    if (!SetContextEntry(m_state, row)) return;
    PopupMenu1->popup(globalPos);
}

void FoodPicker::showStatus(const QString& text)
{
    if (!m_statusBar) return;
    if (text.isEmpty()) {
        m_statusBar->clearMessage();
        return;
    }
    m_statusBar->show();
    m_statusBar->showMessage(text);
    m_statusBar->repaint();
}

}  // namespace velmora
