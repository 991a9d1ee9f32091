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
#include <vector>

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
