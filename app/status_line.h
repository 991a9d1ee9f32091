// The status line: up to two lines saying what the shown digest is of, or why there is none, and
// what verifying found or passed over. A text too long for them is shortened in the middle; the
// whole text stays in its tool tip and in its accessible description, which a screen reader
// reads after the line's name, "Status".
#pragma once

#include <QLabel>
#include <QString>

class QResizeEvent;
class QWidget;

class CStatusLine : public QLabel {
    Q_OBJECT
public:
    explicit CStatusLine(QWidget* parent = nullptr);

    void SetStatus(const QString& text);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ShowFitted();

    QString status;
};
