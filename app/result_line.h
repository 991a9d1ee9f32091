// The line under the described controls that reports on a run: what the shown digest is of (the
// status), how far a long run has read (the progress bar, with a note when a verifying run tries
// another algorithm), or whether the digest matches what was expected (the verdict). One line,
// one page showing at a time.
#pragma once

#include <QStackedWidget>
#include <QString>

class CStatusLine;
class CVerdictLine;
class QLabel;
class QProgressBar;

class CResultLine : public QStackedWidget {
    Q_OBJECT
public:
    explicit CResultLine(QWidget* parent = nullptr);

    CStatusLine* Status() const { return status; }
    QProgressBar* Progress() const { return progress; }
    CVerdictLine* Verdict() const { return verdict; }

    void ShowStatus(const QString& text);
    // The status page, its text left as it is.
    void ShowStatusPage();
    // The bar with its text, and a note under it (empty for none).
    void ShowProgress(int value, const QString& text, const QString& note);
    // The verdict page; announced to screen readers when it was not showing.
    void ShowVerdictPage();
    bool ShowsVerdict() const;

private:
    CStatusLine* status = nullptr;
    QWidget* progressPage = nullptr;
    QProgressBar* progress = nullptr;
    QLabel* progressNote = nullptr;
    CVerdictLine* verdict = nullptr;
};
