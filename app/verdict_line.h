// The verdict line, named "Verification" for screen readers: an icon and up to two lines of text
// that begin with "Matches" or "Does not match". The two differ in the icon's shape (a tick in a
// circle, a cross in a circle) as well as in colour, so they read apart in grey too. The text is
// given as sentences, the most important first; the line shows as many as fit whole. The whole
// text (both digests too) is its accessible text: a screen reader reads it through the line's text
// interface, and hears it when it appears, without the focus moving there.
#pragma once

#include <QLabel>
#include <QString>
#include <QStringList>

class QAccessibleInterface;
class QPaintEvent;
class QResizeEvent;
class QWidget;

class CVerdictLine : public QLabel {
    Q_OBJECT
public:
    enum class Kind { None, Match, Mismatch, Notice };

    explicit CVerdictLine(QWidget* parent = nullptr);

    // Sets the verdict; the dialog decides when the line is visible. `full` is what a screen
    // reader gets; it defaults to all the sentences.
    void ShowVerdict(Kind kind, const QStringList& sentences, const QString& full = QString());
    void Clear();
    // Tells screen readers the verdict is there, as an alert: the line has just been shown.
    void Announce();
    Kind GetKind() const { return kind; }
    const QString& FullText() const { return full; }
    // The text the line shows: whole sentences, as many as fit.
    QString ShownText() const { return text(); }
    // The space the shown text takes and the space it has, word-wrapped.
    int NeededHeight() const;
    int AvailableHeight() const;

    static QAccessibleInterface* AccessibleFactory(const QString& className, QObject* object);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ShowFitted();
    int IconSize() const;

    Kind kind = Kind::None;
    QStringList sentences;
    QString full;
};
