#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <QMessageBox>

#include "core/calcfile.h"
#include "core/session.h"
#include "mainwindow/tform1.h"
#include "mainwindow/tformladda.h"
#include "platform/datafolder.h"

int main(int argc, char** argv)
{
    QElapsedTimer startClock;
    startClock.start();
    QApplication app(argc, argv);
    QApplication::setApplicationName("velmora");
    QApplication::setApplicationDisplayName("Velmora");

    // velmora [--data-dir DIR] [FILE.diet]: a calculation named on the command line is opened.
    std::optional<std::filesystem::path> dataDir;
    std::optional<std::filesystem::path> openFile;
    bool reportStartup = false;  // --startup-time: print the time to the shown main window and quit
    const QStringList args = QApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == "--data-dir" && i + 1 < args.size()) dataDir = std::filesystem::path(args[++i].toStdString());
        else if (args[i] == "--startup-time") reportStartup = true;
        else if (!args[i].startsWith("-")) openFile = std::filesystem::path(args[i].toStdString());
    }

    velmora::TFormLadda loading("startvärden");
    loading.show();
    QApplication::processEvents();

    auto state = std::make_unique<velmora::ProgramState>();
    if (velmora::Status status = velmora::StartSession(*state, velmora::ResolveDataFolder(dataDir)); !status) {
        loading.hide();
        QMessageBox::critical(nullptr, "Velmora", QString::fromStdString(status.message));
        return 1;
    }
    velmora::TForm1 window(*state);
    window.CreateOtherWindows();
    window.FinishStartup();
    loading.close();
    window.show();
    if (reportStartup) {
        QApplication::processEvents();
        std::printf("%lld ms\n", static_cast<long long>(startClock.elapsed()));
        return 0;
    }
    if (openFile) {
        state->presetFileName = *openFile;
        velmora::LoadCalculation(*state, window.prompts());
    }
    return app.exec();
}
