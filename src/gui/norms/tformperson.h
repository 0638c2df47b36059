#pragma once

#include <QWidget>

#include "core/programstate.h"
#include "core/prompts.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace velmora {

class RadioGroup;

// The BMI scale: three coloured bands between 18.5, 25, 30 and 35 and a marker over them. The
// marker's place is the figure it shows, so the children are placed by hand.
class BmiScale : public QWidget {
    Q_OBJECT
public:
    explicit BmiScale(QWidget* parent = nullptr);
    void SetMarker(const QString& caption, float fraction);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Place();

    float m_fraction = 0;
    QLineEdit* EditNormal;
    QLineEdit* EditOvervikt;
    QLineEdit* EditObesitas;
    QLabel* m_marks[4];
    QToolButton* SpeedButtonBMI;
};

// "Personlig norm": the energy need from weight, BMI, age and activity, or for sick adults.
class TFormPerson : public QWidget {
    Q_OBJECT
public:
    TFormPerson(ProgramState& state, Prompts& prompts, QWidget* parent = nullptr);

    void ShowFromMenu();
    // Redraws every input from the state (a loaded ".pers" file), then the need and the marker.
    void Refresh();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void RecomputeDisplay();
    void ShowSickChoices(bool sick);
    void Accept();

    ProgramState& m_state;
    Prompts& m_prompts;
    bool m_filling = false;

    QLineEdit* editage;
    QLineEdit* Editkg;
    QLineEdit* EditLangd;
    RadioGroup* RadioGroupSex;
    RadioGroup* RadioGroupSjuk;
    RadioGroup* RGArbete;
    RadioGroup* RGFritid;
    QLabel* LabelBMrFriska;
    QLineEdit* EditBMrFriska;
    RadioGroup* RGSjuk;
    QLineEdit* EditSjuk;
    QLineEdit* EditKcalBehov;
    BmiScale* m_scale;
    QPushButton* ButtonOK;
    QPushButton* ButtonAvbryt;
};

} // namespace velmora
