// The test entry for the dialog tests: one QApplication for all of them, on the offscreen platform
// unless the caller picked another, and no URL ever reaches a real browser.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDesktopServices>
#include <QLocale>

#include "dialog_test_support.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    QLocale::setDefault(QLocale::c());  // numbers in the expected texts are written that way
    for (const char* scheme : {"http", "https", "mailto", "file"}) {
        QDesktopServices::setUrlHandler(QLatin1String(scheme), &TestUrlCatcher(), "Open");
    }
    const int status = RUN_ALL_TESTS();
    for (const char* scheme : {"http", "https", "mailto", "file"}) {
        QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
    }
    return status;
}
