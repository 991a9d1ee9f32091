// Runs the application as the real executable does, hashes the path given as its argument and
// closes the dialog a moment later, saying "closing" on standard output just before: the closing
// test times how long the process takes to end after that.
#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "tarnovel_app.h"
#include "tarnovel_dlg.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const std::string path = argv[1];
    QTimer::singleShot(0, [path] {
        auto* dialog = qobject_cast<CTarnovelDlg*>(QApplication::activeModalWidget());
        if (dialog == nullptr) std::_Exit(3);
        dialog->SetControlText(kFilePathBoxId, path);
        dialog->OnHashFile();
        QTimer::singleShot(300, dialog, [dialog] {
            std::printf("closing\n");
            std::fflush(stdout);
            dialog->close();
        });
    });
    CTarnovelApp app;
    return app.Start(1, argv);  // the path goes in by hand: the run must start whatever Start reads
}
