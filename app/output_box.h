// The multi-line output box: editable, no scroll bars, long text wraps anywhere (a digest has no
// spaces to break at). It keeps the dialog's keyboard conventions: Tab moves the focus and Enter
// goes to the dialog's default button; Ctrl+Enter starts a new line. Its frame is drawn as the
// edit boxes' frame is: it shows the focus as theirs does, and keeps its lines at fractional
// scale factors, where the plain frame of a text area loses its sides.
#pragma once

#include <QPlainTextEdit>

class QEvent;
class QKeyEvent;
class QWidget;

class COutputBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit COutputBox(QWidget* parent = nullptr);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
