#include "norms/tformperson.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/numbers.h"
#include "norms/normwidgets.h"
#include "norms/person.h"

namespace velmora {
namespace {

QLineEdit* Band(const char* name, const QString& text, const QColor& colour, QWidget* parent)
{
    auto* band = new QLineEdit(text, parent);
    band->setObjectName(name);
    band->setReadOnly(true);
    band->setFocusPolicy(Qt::NoFocus);
    band->setAlignment(Qt::AlignCenter);
    QPalette palette = band->palette();
    palette.setColor(QPalette::Base, colour);
    palette.setColor(QPalette::Text, Qt::black);
    band->setPalette(palette);
    return band;
}

QLineEdit* Edit(const char* name, QWidget* parent, int width = 70)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMaximumWidth(width);
    return edit;
}

} // namespace

BmiScale::BmiScale(QWidget* parent) : QWidget(parent)
{
    EditNormal = Band("EditNormal", "Normalvikt", QColor(0, 200, 0), this);
    EditOvervikt = Band("EditOvervikt", "Övervikt", QColor(255, 255, 0), this);
    EditObesitas = Band("EditObesitas", "Fetma", QColor(255, 40, 40), this);
    const char* marks[4] = {"18.5", "25", "30", "35"};
    for (int i = 0; i < 4; ++i) {
        m_marks[i] = new QLabel(marks[i], this);
        m_marks[i]->setObjectName(QString("LabelBmi%1").arg(i + 1));
        m_marks[i]->setAlignment(Qt::AlignCenter);
    }
    SpeedButtonBMI = new QToolButton(this);
    SpeedButtonBMI->setObjectName("SpeedButtonBMI");
    SpeedButtonBMI->setText("BMI ---");
    SpeedButtonBMI->setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize BmiScale::sizeHint() const
{
    return {460, minimumSizeHint().height()};
}

QSize BmiScale::minimumSizeHint() const
{
    const int line = fontMetrics().height();
    return {300, SpeedButtonBMI->sizeHint().height() + 4 + EditNormal->sizeHint().height() + line + 4};
}

void BmiScale::SetMarker(const QString& caption, float fraction)
{
    SpeedButtonBMI->setText(caption);
    m_fraction = fraction;
    Place();
}

void BmiScale::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Place();
}

void BmiScale::Place()
{
    const QSize marker =
        SpeedButtonBMI->sizeHint().expandedTo(QSize(fontMetrics().horizontalAdvance("BMI 00.0") + 12, 0));
    const int margin = marker.width() / 2 + 2;
    const int width = std::max(1, this->width() - 2 * margin);
    const float low = kBmiScaleEdges[0], span = kBmiScaleEdges[3] - kBmiScaleEdges[0];
    auto x = [&](float bmi) {
        return margin + static_cast<int>((bmi - low) / span * static_cast<float>(width) + 0.5f);
    };

    const int centre = margin + static_cast<int>(m_fraction * static_cast<float>(width) + 0.5f);
    SpeedButtonBMI->setGeometry(centre - marker.width() / 2, 0, marker.width(), marker.height());
    const int bandTop = marker.height() + 4;
    const int bandHeight = EditNormal->sizeHint().height();
    QLineEdit* bands[3] = {EditNormal, EditOvervikt, EditObesitas};
    for (int i = 0; i < 3; ++i) {
        const int left = x(kBmiScaleEdges[i]);
        bands[i]->setGeometry(left, bandTop, x(kBmiScaleEdges[i + 1]) - left, bandHeight);
    }
    const int markTop = bandTop + bandHeight + 2;
    for (int i = 0; i < 4; ++i) {
        const int w = m_marks[i]->sizeHint().width() + 4;
        m_marks[i]->setGeometry(x(kBmiScaleEdges[i]) - w / 2, markTop, w, fontMetrics().height());
    }
}

TFormPerson::TFormPerson(ProgramState& state, Prompts& prompts, QWidget* parent)
    : QWidget(parent, Qt::Window), m_state(state), m_prompts(prompts)
{
    setObjectName("FormPerson");
    setWindowTitle("Personlig norm");
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    layout->addLayout(top);

    auto* left = new QVBoxLayout;
    auto* form = new QFormLayout;
    editage = Edit("editage", this);
    Editkg = Edit("Editkg", this);
    EditLangd = Edit("EditLangd", this);
    const std::pair<const char*, QLineEdit*> fields[] = {
        {"Ålder", editage}, {"Vikt, kg", Editkg}, {"Längd, cm", EditLangd}};
    int labelNumber = 1;
    for (const auto& [text, edit] : fields) {
        auto* label = new QLabel(text, this);
        label->setObjectName(QString("Label%1").arg(labelNumber++));
        label->setBuddy(edit);
        form->addRow(label, edit);
    }
    left->addLayout(form);
    RadioGroupSex = new RadioGroup("RadioGroupSex", QString(), {"Kvinna", "Man"}, this);
    RadioGroupSjuk = new RadioGroup("RadioGroupSjuk", QString(), {"Frisk", "Sjuk"}, this);
    left->addWidget(RadioGroupSex);
    left->addWidget(RadioGroupSjuk);
    left->addStretch(1);
    top->addLayout(left);

    auto* right = new QVBoxLayout;
    RGArbete = new RadioGroup("RGArbete", "Arbete (endast för vuxna)",
                              {"Stillasittande (skrivbordsarbete, monteringsarbete)",
                               "Stående (affärsbiträde,lärare, lätt industri)",
                               "Gående (brevbärare, vaktmästare, industriarbete)",
                               "Kroppsarbete (skogsarbete, lantbruk, fiske)"},
                              this);
    RGFritid = new RadioGroup("RGFritid", "Fritid (endast för vuxna)",
                              {"Nästan helt inaktiv (läsning, TV, bio, schack)",
                               "Någon aktivitet (cykling, promenader)",
                               "Regelbunden aktivitet (trädgård, gymnastik, golf)",
                               "Fysisk träning flera ggr/vecka (fotboll, löpning)"},
                              this);
    right->addWidget(RGArbete);
    right->addWidget(RGFritid);
    auto* basalRow = new QHBoxLayout;
    LabelBMrFriska = new QLabel("BMR friska vuxna, kJ/kg", this);
    LabelBMrFriska->setObjectName("Label4");
    EditBMrFriska = Edit("EditBMrFriska", this);
    EditBMrFriska->setToolTip("Skriv önskad BMR här");
    basalRow->addWidget(LabelBMrFriska);
    basalRow->addWidget(EditBMrFriska);
    basalRow->addStretch(1);
    right->addLayout(basalRow);
    auto* sickRow = new QHBoxLayout;
    RGSjuk = new RadioGroup("RGSjuk", "Sjuka vuxna",
                            {"Sängliggande, BMR=120 kJ", "Icke sängbundna BMR=140 kJ",
                             "Återuppbyggnad BMR=170 kJ", "Special, BMR="},
                            this);
    EditSjuk = Edit("EditSjuk", this);
    EditSjuk->setToolTip("Skriv önskad BMR här");
    sickRow->addWidget(RGSjuk);
    sickRow->addWidget(EditSjuk, 0, Qt::AlignBottom);
    sickRow->addStretch(1);
    right->addLayout(sickRow);
    right->addStretch(1);
    top->addLayout(right, 1);

    auto* needRow = new QHBoxLayout;
    auto* needLabel = new QLabel("Energibehov/dag", this);
    needLabel->setObjectName("Label5");
    EditKcalBehov = new QLineEdit(this);
    EditKcalBehov->setObjectName("EditKcalBehov");
    EditKcalBehov->setReadOnly(true);
    EditKcalBehov->setMinimumWidth(180);
    needRow->addWidget(needLabel);
    needRow->addWidget(EditKcalBehov);
    needRow->addStretch(1);
    layout->addLayout(needRow);
    m_scale = new BmiScale(this);
    layout->addWidget(m_scale);

    auto* buttons = new QHBoxLayout;
    ButtonOK = new QPushButton("OK", this);
    ButtonOK->setObjectName("ButtonOK");
    ButtonAvbryt = new QPushButton("Avbryt", this);
    ButtonAvbryt->setObjectName("ButtonAvbryt");
    buttons->addStretch(1);
    buttons->addWidget(ButtonOK);
    buttons->addWidget(ButtonAvbryt);
    layout->addLayout(buttons);

    PersonProfile& p = m_state.norm.person;
    auto text = [this](QLineEdit* edit, std::string& target) {
        connect(edit, &QLineEdit::textChanged, this, [this, &target](const QString& value) {
            if (m_filling) return;
            target = S(value);
            RecomputeDisplay();
        });
    };
    text(editage, p.age);
    text(Editkg, p.weight);
    text(EditLangd, p.height);
    text(EditBMrFriska, p.healthyBasal);
    connect(EditSjuk, &QLineEdit::textChanged, this, [this](const QString& value) {
        if (m_filling) return;
        m_state.norm.person.specialSick = S(value);
        m_state.norm.person.sickCategory = 3;
        RGSjuk->SetItemIndex(3);
        RecomputeDisplay();
    });
    connect(RadioGroupSex, &RadioGroup::itemClicked, this, [this](int index) {
        m_state.norm.person.sex = index;
        RecomputeDisplay();
    });
    connect(RadioGroupSjuk, &RadioGroup::itemClicked, this, [this](int index) {
        m_state.norm.person.healthState = index;
        ShowSickChoices(index == 1);
        RecomputeDisplay();
    });
    for (RadioGroup* group : {RGArbete, RGFritid}) {
        connect(group, &RadioGroup::itemClicked, this, [this, group](int index) {
            (group == RGArbete ? m_state.norm.person.workLevel : m_state.norm.person.leisureLevel) = index;
            if (ParseDecimal(m_state.norm.person.age) < 12.0f) {
                m_prompts.inform("Kan ej användas för barn under 12 år");
                return;
            }
            RecomputeDisplay();
        });
    }
    connect(RGSjuk, &RadioGroup::itemClicked, this, [this](int index) {
        m_state.norm.person.sickCategory = index;
        RecomputeDisplay();
    });
    connect(ButtonOK, &QPushButton::clicked, this, &TFormPerson::Accept);
    connect(ButtonAvbryt, &QPushButton::clicked, this, &QWidget::hide);

    m_state.refreshHooks.push_back([guard = QPointer<TFormPerson>(this)] {
        if (guard) guard->Refresh();
    });
    Refresh();
    resize(820, 560);
}

void TFormPerson::ShowFromMenu()
{
    show();
    raise();
    activateWindow();
}

void TFormPerson::Refresh()
{
    const PersonProfile& p = m_state.norm.person;
    m_filling = true;
    auto set = [](QLineEdit* edit, const std::string& value) {
        if (edit->text() != Q(value)) edit->setText(Q(value));
    };
    set(editage, p.age);
    set(Editkg, p.weight);
    set(EditLangd, p.height);
    set(EditBMrFriska, p.healthyBasal);
    set(EditSjuk, p.specialSick);
    RadioGroupSex->SetItemIndex(p.sex);
    RadioGroupSjuk->SetItemIndex(p.healthState);
    RGArbete->SetItemIndex(p.workLevel);
    RGFritid->SetItemIndex(p.leisureLevel);
    RGSjuk->SetItemIndex(p.sickCategory);
    ShowSickChoices(p.healthState == 1);
    m_filling = false;
    RecomputeDisplay();
}

void TFormPerson::ShowSickChoices(bool sick)
{
    RGArbete->setVisible(!sick);
    RGFritid->setVisible(!sick);
    LabelBMrFriska->setVisible(!sick);
    EditBMrFriska->setVisible(!sick);
    RGSjuk->setVisible(sick);
    EditSjuk->setVisible(sick);
}

void TFormPerson::RecomputeDisplay()
{
    const PersonProfile& p = m_state.norm.person;
    const PersonEnergy need = PersonEnergyNeed(p);
    EditKcalBehov->setText(Q(PersonNeedText(need.kcal)));
    const BmiMarker marker = BmiScalePosition(need.bmi);
    m_scale->SetMarker(Q(marker.caption), marker.fraction);
    const bool adult = ParseDecimal(p.age) > 11.0f;
    RGArbete->setEnabled(adult);
    RGFritid->setEnabled(adult);
}

void TFormPerson::Accept()
{
    if (ApplyPersonNorm(m_state, m_prompts, m_state.norm.person)) {
        // No recalculation follows, so the main window is told its caption here.
        if (QWidget* main = parentWidget()) main->setWindowTitle(Q(m_state.mainCaption));
    }
    hide();
}

void TFormPerson::closeEvent(QCloseEvent* event)
{
    if (QWidget* main = parentWidget()) main->setWindowState(Qt::WindowNoState);
    QWidget::closeEvent(event);
}

} // namespace velmora
