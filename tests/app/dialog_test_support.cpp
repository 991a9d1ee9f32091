// Helpers for driving the Qt dialogs in tests.
#include "dialog_test_support.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

bool ShowActive(QWidget& window) {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

int ExecWith(QDialog& dialog, std::function<void()> action) {
    QTimer::singleShot(0, &dialog, std::move(action));
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &dialog, [&dialog] {
        if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != &dialog) {
            modal->close();
        }
        dialog.done(kModalRunTimedOut);
    });
    guard.start(5000);
    return dialog.exec();
}

QWidget* WaitForModal(const char* className) {
    QWidget* found = nullptr;
    static_cast<void>(QTest::qWaitFor(
        [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal && modal->inherits(className)) found = modal;
            return found != nullptr;
        },
        3000));
    return found;
}

UrlCatcher& TestUrlCatcher() {
    static UrlCatcher catcher;
    return catcher;
}
