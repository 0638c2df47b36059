#include "mainwindow/tformladda.h"

#include <QLabel>
#include <QVBoxLayout>

namespace velmora {

TFormLadda::TFormLadda(const QString& nationalEdition, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::WindowStaysOnTopHint)
{
    setObjectName("FormLadda");
    setWindowTitle("Loading");
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel("<h2>Velmora</h2>", this);
    title->setObjectName("LabelTitel");
    layout->addWidget(title);
    layout->addWidget(new QLabel(QString("Version %1").arg(VELMORA_VERSION), this));
    layout->addWidget(new QLabel("Svensk livsmedelsdatabas: " + nationalEdition, this));
    layout->addWidget(new QLabel("Norsk livsmedelsdatabas: urval i den nationella tabellen", this));
    layout->addWidget(new QLabel("Dansk livsmedelsdatabas: urval i den nationella tabellen", this));
    setContentsMargins(24, 16, 24, 16);
}

}  // namespace velmora
