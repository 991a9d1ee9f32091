// Helpers for driving the Qt dialogs in tests.
#include "dialog_test_support.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <QTimer>

#include "hash_job.h"

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

SilentTerminal::SilentTerminal() {
    master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0) {
        if (const char* name = ptsname(master)) devicePath = name;
    }
    EXPECT_FALSE(devicePath.empty()) << "no pseudo-terminal";
}

SilentTerminal::~SilentTerminal() {
    if (master >= 0) close(master);
    EXPECT_TRUE(WaitUntil([] { return CHashJob::AbandonedRunning() == 0; }))
        << "a hashing thread still reads the terminal";
}

QString StatusOf(const QWidget& dialog) {
    auto* line = dialog.findChild<QWidget*>(QStringLiteral("statusLine"));
    QAccessibleInterface* element = line ? QAccessible::queryAccessibleInterface(line) : nullptr;
    EXPECT_NE(element, nullptr);
    if (element == nullptr) return QString();
    EXPECT_EQ(element->text(QAccessible::Name), QStringLiteral("Status"));
    return element->text(QAccessible::Description);
}

bool WaitUntil(const std::function<bool()>& done, int ms) {
    return QTest::qWaitFor(done, ms);
}
