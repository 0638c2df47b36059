#include <QApplication>
#include <QMessageBox>

#include <iostream>

#include "core/session.h"
#include "mainwindow/tform1.h"
#include "platform/datafolder.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("velmora");
    QApplication::setApplicationDisplayName("Velmora");

    std::optional<std::filesystem::path> dataDir;
    const QStringList args = QApplication::arguments();
    for (qsizetype i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == "--data-dir") dataDir = std::filesystem::path(args[i + 1].toStdString());
    }

    auto state = std::make_unique<velmora::ProgramState>();
    if (velmora::Status status = velmora::StartSession(*state, velmora::ResolveDataFolder(dataDir)); !status) {
        QMessageBox::critical(nullptr, "Velmora", QString::fromStdString(status.message));
        return 1;
    }
    velmora::TForm1 window(*state);
    window.show();
    return app.exec();
}
