// The result line.
#include "result_line.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "dialog_texts.h"
#include "status_line.h"
#include "verdict_line.h"

namespace {
constexpr int kProgressSteps = 1000;
}  // namespace

CResultLine::CResultLine(QWidget* parent) : QStackedWidget(parent) {
    setObjectName(QStringLiteral("resultLine"));
    status = new CStatusLine(this);
    status->setObjectName(QStringLiteral("statusLine"));
    addWidget(status);

    progressPage = new QWidget(this);
    auto* layout = new QVBoxLayout(progressPage);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    progress = new QProgressBar(progressPage);
    progress->setObjectName(QStringLiteral("progressBar"));
    progress->setAccessibleName(DialogTexts::ProgressName());
    progress->setRange(0, kProgressSteps);
    progress->setAlignment(Qt::AlignCenter);
    progress->setMaximumHeight(fontMetrics().height() + 4);
    progressNote = new QLabel(progressPage);
    progressNote->setObjectName(QStringLiteral("progressNote"));
    progressNote->setTextFormat(Qt::PlainText);
    layout->addWidget(progress);
    layout->addWidget(progressNote);
    layout->addStretch();
    addWidget(progressPage);

    verdict = new CVerdictLine(this);
    addWidget(verdict);
    setCurrentWidget(status);
}

void CResultLine::ShowStatus(const QString& text) {
    status->SetStatus(text);
    ShowStatusPage();
}

void CResultLine::ShowStatusPage() {
    setCurrentWidget(status);
    progress->reset();
}

void CResultLine::ShowProgress(int value, const QString& text, const QString& note) {
    progress->setValue(value);
    // The text is whole: no "%p" of the bar's own, and a literal '%' stays as it is.
    progress->setFormat(text);
    progressNote->setText(note);
    setCurrentWidget(progressPage);
}

void CResultLine::ShowVerdictPage() {
    if (currentWidget() == verdict) return;
    setCurrentWidget(verdict);
    verdict->Announce();
}

bool CResultLine::ShowsVerdict() const {
    return currentWidget() == verdict;
}
