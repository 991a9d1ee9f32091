// The application object.
#include "tarnovel_app.h"

#include <QApplication>
#include <QIcon>
#include <QString>
#include <memory>

#include "corvane_version.h"
#include "tarnovel_dlg.h"
#include "ui_language.h"

int CTarnovelApp::Start(int argc, char** argv) {
    argc_ = argc;
    argv_ = argv;
    InitInstance();
    return 0;
}

bool CTarnovelApp::InitInstance() {
    std::unique_ptr<QApplication> application;
    if (QApplication::instance() == nullptr) {
        static char fallbackName[] = "corvane";
        static char* fallbackArgv[] = {fallbackName, nullptr};
        if (argv_ == nullptr) {
            argc_ = 1;
            argv_ = fallbackArgv;
        }
        application = std::make_unique<QApplication>(argc_, argv_);
    }
    QApplication::setApplicationName(QStringLiteral("corvane"));
    QApplication::setApplicationVersion(QLatin1String(kProductVersion));
    QApplication::setDesktopFileName(QLatin1String(kDesktopFileId));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/ostrel-corvane.png")));
    InstallTranslations();

    CTarnovelDlg dialog;
    dialog.exec();  // OK and Cancel both just end the run
    return false;
}
