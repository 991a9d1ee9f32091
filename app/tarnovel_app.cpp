// The application object.
#include "tarnovel_app.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QString>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "byte_names.h"
#include "corvane_version.h"
#include "hash_job.h"
#include "tarnovel_dlg.h"
#include "ui_language.h"

int CTarnovelApp::Start(int argCount, char** argValues) {
    argc = argCount;
    argv = argValues;
    InitInstance();
    if (CHashJob::AbandonedRunning() > 0) {
        // Returning would run the static destructors under the thread's feet, and nothing is
        // left unsaved. Only our own output is flushed: flushing every stream would wait for the
        // lock of the very file the thread is stuck reading.
        std::fflush(stdout);
        std::fflush(stderr);
        std::_Exit(0);
    }
    return 0;
}

bool CTarnovelApp::InitInstance() {
    std::unique_ptr<QApplication> application;
    if (QApplication::instance() == nullptr) {
        static char fallbackName[] = "corvane";
        static char* fallbackArgv[] = {fallbackName, nullptr};
        if (argv == nullptr) {
            argc = 1;
            argv = fallbackArgv;
        }
        // Qt takes its own options (-platform, -display...) out of the arguments.
        application = std::make_unique<QApplication>(argc, argv);
    }
    QApplication::setApplicationName(QLatin1String(kApplicationName));
    QApplication::setApplicationVersion(QLatin1String(kProductVersion));
    QApplication::setDesktopFileName(QLatin1String(kDesktopFileId));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/ostrel-corvane.png")));
    InstallTranslations();

    CTarnovelDlg dialog;
    std::vector<std::string> paths;
    // The arguments' bytes, never decoded: a name that is no UTF-8 is still that file's.
    for (int i = 1; i < argc && argv != nullptr && argv[i] != nullptr; ++i)
        paths.push_back(AbsoluteArgument(argv[i]));
    if (!paths.empty()) {
        // Inside the modal run, so the result arrives in a shown dialog. A checksum list, several
        // files or a folder open the list window beside it.
        QTimer::singleShot(0, &dialog, [&dialog, paths] {
            if (!dialog.OpenInListWindow(paths)) dialog.OpenFile(paths.front());
        });
    }
    dialog.exec();  // OK and Cancel both just end the run
    return false;
}
