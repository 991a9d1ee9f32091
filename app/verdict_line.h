// The verdict line, named "Verification" for screen readers: an icon and a text that begins
// with "Matches" or "Does not match". The two differ in the icon's shape (a tick in a circle, a
// cross in a circle) as well as in colour, so they read apart in grey too. A text too long for
// the line is cut at its end; the whole stays in the tool tip and the accessible description.
#pragma once

#include <QLabel>
#include <QString>

class QPaintEvent;
class QResizeEvent;
class QWidget;

class CVerdictLine : public QLabel {
    Q_OBJECT
public:
    enum class Kind { None, Match, Mismatch, Notice };

    explicit CVerdictLine(QWidget* parent = nullptr);

    // Sets the verdict; the dialog decides when the line is visible. `full` defaults to `shown`.
    void ShowVerdict(Kind kind, const QString& shown, const QString& full);
    void Clear();
    Kind GetKind() const { return kind; }
    const QString& FullText() const { return full; }
    // The text before the line shortens it to fit.
    const QString& ShownText() const { return shown; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ShowFitted();
    int IconSize() const;

    Kind kind = Kind::None;
    QString shown;
    QString full;
};
