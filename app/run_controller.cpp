// A run of a hash command.
#include "run_controller.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <utility>

#include "dialog_texts.h"
#include "result_line.h"
#include "status_line.h"

CRunController::CRunController(QWidget* owner, QPushButton* stop, CResultLine* resultLine,
                               std::vector<QWidget*> locked, EndedHandler ended, RetryText retry)
    : QObject(owner),
      dialog(owner),
      stopButton(stop),
      line(resultLine),
      inputs(std::move(locked)),
      onEnded(std::move(ended)),
      retryText(std::move(retry)) {
    timer = new QTimer(this);
    timer->setInterval(kProgressTickMs);
    connect(timer, &QTimer::timeout, this, &CRunController::Tick);
    connect(stopButton, &QPushButton::clicked, this, [this] { Stop(300); });
}

CRunController::~CRunController() = default;

void CRunController::Start(const CHashJob::Input& input, const HashRequest& request) {
    if (IsBusy()) return;
    retryNote.clear();
    SetRunningLook(true);
    job = std::make_unique<CHashJob>(input, request, [this] {
        // On the job's thread: the dialog takes the result on its own.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (job && job->Finished()) Finish();
            },
            Qt::QueuedConnection);
    });
}

void CRunController::Finish() {
    job->WaitFinished(std::chrono::milliseconds(0));  // joins the thread
    End(true, FactsOf(job->GetResult().request.GetLastOutcome()));
}

void CRunController::Stop(int graceMs) {
    if (!job) return;
    job->Cancel();
    if (job->WaitFinished(std::chrono::milliseconds(graceMs))) {
        Finish();
        return;
    }
    // Stuck in a read: the job is left to end on its own, and reports to nobody.
    RunFacts stopped;
    stopped.end = RunEnd::Stopped;
    stopped.bytes = job->BytesDone();
    End(false, stopped);
}

void CRunController::End(bool finished, RunFacts facts) {
    const std::unique_ptr<CHashJob> ended = std::move(job);
    SetRunningLook(false);
    onEnded(Ended{*ended, finished, facts});
}

void CRunController::WaitForIdle() {
    while (IsBusy()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(1);
    }
}

void CRunController::SetRunningLook(bool running) {
    if (running) {
        // The focus waits on Stop, so a disabled button does not pass it to the next control.
        focusBeforeRun = dialog->focusWidget();
        stopButton->show();
        stopButton->setFocus();
        for (QWidget* input : inputs) input->setEnabled(false);
        clock.start();
        timer->start();
        return;
    }
    for (QWidget* input : inputs) input->setEnabled(true);
    // Back where the user left it, unless they moved it during the run.
    QWidget* now = dialog->focusWidget();
    if (focusBeforeRun != nullptr && (now == nullptr || now == stopButton)) {
        focusBeforeRun->setFocus();
    }
    focusBeforeRun = nullptr;
    stopButton->hide();
    timer->stop();
    line->ShowStatusPage();
}

void CRunController::Tick() {
    if (!job) return;
    if (const std::optional<CHashJob::Retry> retry = job->Retrying()) {
        const QString note = retryText(*retry);
        if (note != retryNote) {
            retryNote = note;
            line->Status()->SetStatus(note);
        }
    }
    const qint64 elapsedMs = clock.elapsed();
    if (elapsedMs < kProgressDelayMs) return;
    const uint64_t done = job->BytesDone();
    const uint64_t total = job->BytesTotal();
    int value = 0;  // no size to measure against (a device, a pipe)
    if (total > 0) {
        const double fraction =
            std::min(1.0, static_cast<double>(done) / static_cast<double>(total));
        value = static_cast<int>(fraction * line->Progress()->maximum());
    }
    line->ShowProgress(value, DialogTexts::Progress(done, total, elapsedMs), retryNote);
}
