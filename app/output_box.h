// The multi-line output box: editable, no scroll bars, long text wraps anywhere (a digest has no
// spaces to break at). It keeps the dialog's keyboard conventions: Tab moves the focus and Enter
// goes to the dialog's default button; Ctrl+Enter starts a new line.
#pragma once

#include <QPlainTextEdit>

class QKeyEvent;
class QWidget;

class COutputBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit COutputBox(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
