// Helpers for driving the Qt dialogs in tests: finding widgets by name, showing a dialog as the
// active window, and running a modal loop with an action queued inside it.
#pragma once

#include <gtest/gtest.h>

#include <QDialog>
#include <QObject>
#include <QString>
#include <QUrl>
#include <QWidget>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

// Failures show texts as text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QUrl& url, std::ostream* out) {
    *out << url.toString().toStdString();
}

template <class Widget>
Widget* FindWidget(const QWidget& parent, const char* name) {
    auto* widget = parent.findChild<Widget*>(QLatin1String(name));
    EXPECT_NE(widget, nullptr) << "no widget named " << name;
    return widget;
}

// Shows the dialog and waits until it is the active window, so keyboard input reaches it.
bool ShowActive(QWidget& window);

// Queues `action` to run inside the dialog's modal loop and runs the loop. Should the action fail
// to end the run, a guard ends it with kModalRunTimedOut after a few seconds.
inline constexpr int kModalRunTimedOut = -99;
int ExecWith(QDialog& dialog, std::function<void()> action);

// The active modal dialog once one of the class `className` is up, or null after a few seconds.
QWidget* WaitForModal(const char* className);

// Stands in for the desktop's browser while the tests run: records every URL it is asked to open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    std::vector<QUrl> opened;

public slots:
    void Open(const QUrl& url) { opened.push_back(url); }
};

UrlCatcher& TestUrlCatcher();

// A terminal nobody types into: a read of its path blocks, as on a stalled device or network
// mount, until the object goes (its reads then fail). Its end waits a little for the threads a
// dialog abandoned on it, so they do not outlive the test.
class SilentTerminal {
public:
    SilentTerminal();
    ~SilentTerminal();
    SilentTerminal(const SilentTerminal&) = delete;
    SilentTerminal& operator=(const SilentTerminal&) = delete;
    const std::string& path() const { return devicePath; }

private:
    int master = -1;
    std::string devicePath;
};

// The status line's whole text, as a screen reader reads it: the description of the element
// named "Status".
QString StatusOf(const QWidget& dialog);

// Turns the event loop until `done` holds or `ms` milliseconds have passed; true if it held.
bool WaitUntil(const std::function<bool()>& done, int ms = 3000);
