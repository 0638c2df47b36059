#include "mainwindow/mealgrid.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "core/workspace_ops.h"
#include "mainwindow/mealgrid_ops.h"

namespace velmora {
namespace {

constexpr const char* kFoodKeyMime = "application/x-velmora-foodkey";
constexpr int kFirstFoodHintMs = 3000;

struct MealButtonDesign {
    const char* name;
    const char* caption;
};
constexpr std::array<MealButtonDesign, kMeals> kMealButtons{{
    {"SpeedButton1", "Frukost"},
    {"SpeedButton2", "Lunch"},
    {"SpeedButton3", "Middag"},
    {"SpeedButton4", "Mm1"},
    {"SpeedButton12", "Mm2"},
    {"SpeedButton13", "Mm3"},
    {"SpeedButton14", "Mm4"},
    {"SpeedButton15", "Mm5"},
    {"SpeedButton16", "Mm6"},
}};

constexpr std::array<int, kGridColumns> kColumnWidths{248, 47, 50, 45, 50};

// Letters and everything above them go to the food search; digits, separators and controls stay.
bool IsSearchCharacter(const QKeyEvent* event)
{
    const QString text = event->text();
    if (text.isEmpty()) return false;
    const char16_t code = text.at(0).unicode();
    return code >= 65 && code != 127;
}

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

// Hands the editor's keys to the grid before the default editing keys apply, so that Enter and the
// arrows commit through the model rather than into the cell.
class MealGridDelegate : public QStyledItemDelegate {
public:
    explicit MealGridDelegate(MealGrid* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            if (auto* editor = qobject_cast<QLineEdit*>(object)) {
                if (m_grid->editorKey(editor, static_cast<QKeyEvent*>(event))) return true;
            }
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    MealGrid* m_grid;
};

MealGrid::MealGrid(ProgramState& state, Prompts& prompts, QWidget* parent)
    : QWidget(parent), m_state(state), m_prompts(prompts)
{
    setObjectName("MealGrid");
    m_refreshing = true;

    // Meal buttons and the day box.
    auto* top = new QHBoxLayout;
    top->setSpacing(1);
    m_mealGroup = new QButtonGroup(this);
    m_mealGroup->setExclusive(true);
    for (int m = 0; m < kMeals; ++m) {
        auto* button = new QToolButton(this);
        button->setObjectName(kMealButtons[static_cast<std::size_t>(m)].name);
        button->setText(kMealButtons[static_cast<std::size_t>(m)].caption);
        button->setCheckable(true);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        m_mealGroup->addButton(button, m);
        m_mealButtons[static_cast<std::size_t>(m)] = button;
        top->addWidget(button);
    }
    m_mealButtons[0]->setChecked(true);
    connect(m_mealGroup, &QButtonGroup::idClicked, this, &MealGrid::mealButtonClicked);

    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName("ComboBox1");
    for (int d = 1; d <= kDays; ++d) ComboBox1->addItem(QString("dag%1").arg(d));
    ComboBox1->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, [this](int index) { ChooseDay(m_state, index); });
    top->addSpacing(4);
    top->addWidget(ComboBox1);

    // The grid: table row r - 1 shows meal row r; the heading is the horizontal header.
    StringGridMaltid = new QTableWidget(kLastRow, kGridColumns, this);
    StringGridMaltid->setObjectName("StringGridMaltid");
    StringGridMaltid->setHorizontalHeaderLabels({"Livsmedel", "Antal", "Enhet", "Gram", "klockan"});
    StringGridMaltid->verticalHeader()->hide();
    StringGridMaltid->verticalHeader()->setDefaultSectionSize(StringGridMaltid->fontMetrics().height() + 6);
    StringGridMaltid->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGridMaltid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    StringGridMaltid->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                                      QAbstractItemView::EditKeyPressed);
    StringGridMaltid->setWordWrap(false);
    for (int c = 0; c < kGridColumns; ++c) StringGridMaltid->setColumnWidth(c, kColumnWidths[static_cast<std::size_t>(c)]);
    StringGridMaltid->horizontalHeader()->setSectionResizeMode(kColumnName, QHeaderView::Stretch);
    StringGridMaltid->horizontalHeader()->setHighlightSections(false);
    for (int r = 0; r < kLastRow; ++r) {
        for (int c = 0; c < kGridColumns; ++c) {
            auto* item = new QTableWidgetItem;
            Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
            if (c != kColumnName && c != kColumnUnit) flags |= Qt::ItemIsEditable;
            item->setFlags(flags);
            if (c != kColumnName) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (c == kColumnUnit) item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            StringGridMaltid->setItem(r, c, item);
        }
    }
    m_delegate = new MealGridDelegate(this);
    StringGridMaltid->setItemDelegate(m_delegate);
    StringGridMaltid->setAcceptDrops(true);
    StringGridMaltid->viewport()->setAcceptDrops(true);
    StringGridMaltid->installEventFilter(this);
    StringGridMaltid->viewport()->installEventFilter(this);
    connect(StringGridMaltid, &QTableWidget::currentCellChanged, this, [this](int row, int column) {
        if (row >= 0 && column >= 0) SelectGridCell(m_state, row + 1, column);
    });
    connect(StringGridMaltid, &QTableWidget::cellClicked, this, [this] {
        hideUnitList();
        Recalculate(m_state);
    });
    // Typing left in a cell without Enter is not committed; the next refresh shows the row again.
    connect(StringGridMaltid, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (m_refreshing) return;
        // A text no row can show, so that the next refresh rewrites the cell.
        m_shown[static_cast<std::size_t>(item->row())][static_cast<std::size_t>(item->column())].assign(1, '\x01');
    });

    // Row buttons.
    auto* bottom = new QHBoxLayout;
    auto addButton = [&](QPushButton*& button, const char* name, const char* caption) {
        button = new QPushButton(caption, this);
        button->setObjectName(name);
        bottom->addWidget(button);
    };
    addButton(Button4, "Button4", "+");
    addButton(Button5, "Button5", "-");
    addButton(Button6, "Button6", "Ta bort rad");
    addButton(ButtonBytAlla, "ButtonBytAlla", "Byt alla");
    addButton(ButtonAngra, "ButtonAngra", "Ångra");
    bottom->addStretch();
    Button4->setMaximumWidth(Button4->fontMetrics().horizontalAdvance("+") * 6);
    Button5->setMaximumWidth(Button4->maximumWidth());
    connect(Button4, &QPushButton::clicked, this, [this] {
        IncreaseGrams(m_state, m_prompts);
        emit searchFocusRequested();
    });
    connect(Button5, &QPushButton::clicked, this, [this] {
        DecreaseGrams(m_state, m_prompts);
        emit searchFocusRequested();
    });
    connect(Button6, &QPushButton::clicked, this, [this] {
        DeleteGridRow(m_state);
        emit searchFocusRequested();
    });
    connect(ButtonBytAlla, &QPushButton::clicked, this, [this] {
        ReplaceEverywhere(m_state, m_prompts, m_selectedFood ? m_selectedFood() : std::nullopt);
    });
    connect(ButtonAngra, &QPushButton::clicked, this, [this] { Undo(m_state); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addLayout(top);
    layout->addWidget(StringGridMaltid, 1);
    layout->addLayout(bottom);

    // The unit list floats over the grid below the pointer.
    ListBoxVikter = new QListWidget(this);
    ListBoxVikter->setObjectName("ListBoxVikter");
    ListBoxVikter->setToolTip("Klicka på önskad enhet");
    ListBoxVikter->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    ListBoxVikter->setStyleSheet("QListWidget { background: #c8e6fa; color: black; }");
    ListBoxVikter->setFrameShape(QFrame::Box);
    ListBoxVikter->hide();
    ListBoxVikter->viewport()->installEventFilter(this);

    MemoHogerklick = new QLabel("Högerklick på livsmedlet visar olika enheter", this);
    MemoHogerklick->setObjectName("MemoHogerklick");
    MemoHogerklick->setStyleSheet("QLabel { background: #ffffc0; color: black; border: 1px solid gray; padding: 4px; }");
    MemoHogerklick->hide();
    TimerHogerKlick = new QTimer(this);
    TimerHogerKlick->setObjectName("TimerHogerKlick");
    TimerHogerKlick->setSingleShot(true);
    TimerHogerKlick->setInterval(kFirstFoodHintMs);
    connect(TimerHogerKlick, &QTimer::timeout, MemoHogerklick, &QLabel::hide);

    // Menu "Redigera".
    auto makeAction = [this](QAction*& action, const char* name, const char* caption, auto operation) {
        action = new QAction(caption, this);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, [this, operation] { operation(m_state, m_prompts); });
    };
    makeAction(Kopieradennamltid2, "Kopieradennamltid2", "Kopiera denna måltid", &CopyMeal);
    makeAction(Klistraindennamltid1, "Klistraindennamltid1", "Klistra in måltid", &PasteMeal);
    makeAction(Kopieradag1, "Kopieradag1", "Kopiera dag", &CopyDay);
    makeAction(klistraindag, "klistraindag", "Klistra in dag", &PasteDay);

    m_refreshing = false;

    m_refreshHook = m_state.refreshHooks.size();
    m_state.refreshHooks.emplace_back([this] { refresh(); });
    m_state.focusMealGrid = [this](int row) { focusRow(row); };
    m_state.showFirstFoodHint = [this] { showFirstFoodHint(); };
    refresh();
}

MealGrid::~MealGrid()
{
    // The state outlives the window in tests; its hooks must not reach a deleted grid.
    if (m_refreshHook < m_state.refreshHooks.size()) m_state.refreshHooks[m_refreshHook] = [] {};
    m_state.focusMealGrid = nullptr;
    m_state.showFirstFoodHint = nullptr;
}

void MealGrid::setSelectedFoodSource(std::function<std::optional<FoodListEntry>()> source)
{
    m_selectedFood = std::move(source);
}

QList<QAction*> MealGrid::editActions() const
{
    return {Kopieradennamltid2, Klistraindennamltid1, Kopieradag1, klistraindag};
}

void MealGrid::refresh()
{
    m_refreshing = true;
    refreshCells();
    refreshButtons();
    {
        QSignalBlocker block(ComboBox1);
        const auto days = DayBoxTexts(m_state);
        for (int d = 0; d < kDays; ++d) {
            const QString text = Q(days[static_cast<std::size_t>(d)]);
            if (ComboBox1->itemText(d) != text) ComboBox1->setItemText(d, text);
        }
        ComboBox1->setCurrentIndex(m_state.CurrentDay);
    }
    const int row = m_state.CurrentRow - 1, column = m_state.grid.CurrentColumn;
    if (StringGridMaltid->currentRow() != row || StringGridMaltid->currentColumn() != column) {
        StringGridMaltid->setCurrentCell(row, column);
    }
    m_refreshing = false;
}

void MealGrid::refreshCells()
{
    const Meal& meal = (*m_state.calculation.days)[m_state.CurrentDay][m_state.CurrentMeal];
    for (int r = 1; r <= kLastRow; ++r) {
        auto& shown = m_shown[static_cast<std::size_t>(r - 1)];
        const MealRow& row = meal[r];
        if (row.IsEmpty()) {
            for (int c = 0; c < kGridColumns; ++c) {
                if (shown[static_cast<std::size_t>(c)].empty()) continue;
                StringGridMaltid->item(r - 1, c)->setText(QString());
                shown[static_cast<std::size_t>(c)].clear();
            }
            continue;
        }
        auto texts = GridCellTexts(row);
        for (int c = 0; c < kGridColumns; ++c) {
            std::string& text = texts[static_cast<std::size_t>(c)];
            if (text == shown[static_cast<std::size_t>(c)]) continue;
            StringGridMaltid->item(r - 1, c)->setText(Q(text));
            shown[static_cast<std::size_t>(c)] = std::move(text);
        }
    }

    // Each row has the colour of its bar while the chart shows the meal.
    const int colourMode = m_state.ChartMode == 0 ? 0 : 1;
    if (colourMode != m_colourMode) {
        m_colourMode = colourMode;
        for (int r = 1; r <= kLastRow; ++r) {
            const QColor colour(GridRowColour(m_state.ChartMode, r));
            for (int c = 0; c < kGridColumns; ++c) StringGridMaltid->item(r - 1, c)->setForeground(colour);
        }
    }
}

void MealGrid::refreshButtons()
{
    const bool wholeDay = m_state.calculation.wholeDay;
    m_mealButtons[0]->setText(Q(FirstMealButtonCaption(m_state)));
    for (int m = 0; m < kMeals; ++m) {
        QToolButton* button = m_mealButtons[static_cast<std::size_t>(m)];
        if (m > 0) button->setVisible(!wholeDay);
        QFont font = button->font();
        const bool bold = MealButtonBold(m_state, m);
        if (font.bold() != bold) {
            font.setBold(bold);
            button->setFont(font);
        }
        // In the day chart the buttons carry the colours of their bar segments.
        QPalette palette = this->palette();
        if (m_state.ChartMode == 1) palette.setColor(QPalette::ButtonText, QColor(MealColour[static_cast<std::size_t>(m + 1)]));
        if (button->palette().color(QPalette::ButtonText) != palette.color(QPalette::ButtonText)) button->setPalette(palette);
    }
    m_mealButtons[static_cast<std::size_t>(std::clamp(m_state.CurrentMeal, 0, kMeals - 1))]->setChecked(true);
}

QString MealGrid::cellText(int row, int column) const
{
    const QTableWidgetItem* item = StringGridMaltid->item(row - 1, column);
    return item ? item->text() : QString();
}

void MealGrid::commitCell(const QString& text, CommitKey key)
{
    CommitGridCell(m_state, m_prompts, text.toStdString(), key);
    if (key == CommitKey::Enter) emit searchFocusRequested();
}

bool MealGrid::editorKey(QLineEdit* editor, QKeyEvent* event)
{
    const int key = event->key();
    auto close = [&] { emit m_delegate->closeEditor(editor, QAbstractItemDelegate::NoHint); };
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        const QString text = editor->text();
        close();
        commitCell(text, CommitKey::Enter);
        return true;
    }
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
        const QString text = editor->text();
        close();
        commitCell(text, CommitKey::Arrow);
        const int next = std::clamp(m_state.CurrentRow - 1 + (key == Qt::Key_Up ? -1 : 1), 0, kLastRow - 1);
        StringGridMaltid->setCurrentCell(next, m_state.grid.CurrentColumn);
        return true;
    }
    if (key == Qt::Key_Escape) {
        close();
        emit searchFocusRequested();
        return true;
    }
    if (IsSearchCharacter(event)) {
        close();
        emit forwardTyping(event->text());
        return true;
    }
    return false;
}

bool MealGrid::gridKey(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        commitCell(cellText(m_state.CurrentRow, m_state.grid.CurrentColumn), CommitKey::Enter);
        return true;
    }
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
        commitCell(cellText(m_state.CurrentRow, m_state.grid.CurrentColumn), CommitKey::Arrow);
        return false;  // the grid moves on
    }
    if (key == Qt::Key_Escape) {
        emit searchFocusRequested();
        return true;
    }
    if (IsSearchCharacter(event)) {
        emit forwardTyping(event->text());
        return true;
    }
    return false;
}

bool MealGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == StringGridMaltid && event->type() == QEvent::KeyPress) {
        return gridKey(static_cast<QKeyEvent*>(event));
    }
    if (watched == StringGridMaltid->viewport()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::RightButton) break;
            showUnitList(mouse->position().toPoint());
            return true;
        }
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (drag->mimeData()->hasFormat(kFoodKeyMime)) {
                drag->acceptProposedAction();
            } else {
                drag->ignore();
            }
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const QMimeData* mime = drop->mimeData();
            const int row = StringGridMaltid->rowAt(drop->position().toPoint().y());
            if (!mime->hasFormat(kFoodKeyMime) || row < 0) {
                drop->ignore();
                return true;
            }
            drop->acceptProposedAction();
            FoodListEntry entry{mime->text().toStdString(), QString::fromUtf8(mime->data(kFoodKeyMime)).toStdString()};
            AddFood(m_state, m_prompts, entry, row + 1, true);
            return true;
        }
        default:
            break;
        }
    }
    if (watched == ListBoxVikter->viewport() && event->type() == QEvent::MouseButtonRelease) {
        unitListClicked(static_cast<QMouseEvent*>(event)->position().toPoint());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void MealGrid::showUnitList(const QPoint& viewportPos)
{
    hideUnitList();
    ListBoxVikter->clear();
    const int tableRow = StringGridMaltid->rowAt(viewportPos.y());
    if (tableRow < 0) return;
    const std::vector<std::string> lines = UnitListLines(m_state, tableRow + 1);
    if (lines.empty()) return;
    StringGridMaltid->setCurrentCell(tableRow, std::max(StringGridMaltid->currentColumn(), 0));
    for (const std::string& line : lines) ListBoxVikter->addItem(Q(line));

    const QFontMetrics metrics(ListBoxVikter->font());
    int width = 0;
    for (const std::string& line : lines) width = std::max(width, metrics.horizontalAdvance(Q(line)));
    const int frame = 2 * ListBoxVikter->frameWidth();
    const int height = ListBoxVikter->sizeHintForRow(0) * static_cast<int>(lines.size()) + frame;
    ListBoxVikter->resize(std::min(width + frame + 16, this->width()), std::min(height, this->height()));
    // Just below the pointer, kept inside the grid's area.
    QPoint at = StringGridMaltid->viewport()->mapTo(this, viewportPos) + QPoint(0, 6);
    at.setX(std::clamp(at.x(), 0, std::max(0, this->width() - ListBoxVikter->width())));
    at.setY(std::clamp(at.y(), 0, std::max(0, this->height() - ListBoxVikter->height())));
    ListBoxVikter->move(at);
    ListBoxVikter->show();
    ListBoxVikter->raise();
}

void MealGrid::unitListClicked(const QPoint& pos)
{
    const QListWidgetItem* item = ListBoxVikter->itemAt(pos);
    const int index = item ? ListBoxVikter->row(item) : -1;
    const std::string line = item ? item->text().toStdString() : std::string();
    switch (ChooseUnit(m_state, index, line)) {
    case UnitChoice::HideList:
        hideUnitList();
        break;
    case UnitChoice::KeepList:
        break;
    case UnitChoice::UnitChosen:
        hideUnitList();
        StringGridMaltid->setFocus();
        break;
    }
}

void MealGrid::hideUnitList() { ListBoxVikter->hide(); }

void MealGrid::mealButtonClicked(int meal)
{
    if (IsCurrentMealButton(m_state, meal)) emit mealButtonPressedAgain(meal);
    ChooseMeal(m_state, meal);
}

void MealGrid::showFirstFoodHint()
{
    MemoHogerklick->adjustSize();
    const QPoint corner = StringGridMaltid->geometry().topRight();
    MemoHogerklick->move(std::max(0, corner.x() - MemoHogerklick->width() - 24),
                         corner.y() + StringGridMaltid->horizontalHeader()->height() + 4);
    MemoHogerklick->show();
    MemoHogerklick->raise();
    TimerHogerKlick->start();
}

void MealGrid::focusRow(int row)
{
    if (row < 1 || row > kLastRow) return;
    StringGridMaltid->setCurrentCell(row - 1, kColumnGrams);
    StringGridMaltid->scrollToItem(StringGridMaltid->item(row - 1, kColumnGrams));
    StringGridMaltid->setFocus();
}

}  // namespace velmora
