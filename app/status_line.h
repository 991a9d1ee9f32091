// The status line under the output box: one line saying what the shown digest is of, or why
// there is none. A text too long for the line is shortened in the middle; the whole text stays
// in its tool tip and in its accessible description, which a screen reader reads after the
// line's name, "Status".
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
