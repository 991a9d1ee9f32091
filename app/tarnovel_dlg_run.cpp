// The main dialog's runs: a hash command on the worker thread with the inputs locked, its
// progress, Stop, and the status line that reports how it ended.
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <chrono>
#include <initializer_list>
#include <memory>
#include <utility>

#include "dialog_texts.h"
#include "expected_field.h"
#include "hash_job.h"
#include "run_status.h"
#include "status_line.h"
#include "tarnovel_dlg.h"
#include "verdict_line.h"
#include "verify_texts.h"

namespace {

QString FromStd(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

void CTarnovelDlg::OnHashFile() {
    StartCommand(true);
}

void CTarnovelDlg::OnHashString() {
    StartCommand(false);
}

void CTarnovelDlg::OpenFile(const QString& path) {
    filePathBox->setText(path);
    OnHashFile();
}

void CTarnovelDlg::StartCommand(bool file) {
    if (IsBusy()) return;
    CHashJob::Input input;
    input.file = file;
    input.filePath = GetControlText(kFilePathBoxId);
    input.text = GetControlText(kStringBoxId);
    input.selectedIndex = GetSelectedIndex();
    if (file) lastFilePath = input.filePath;
    TakeExpected(input);
    verdictLine->Clear();
    // The commands clear the box first; done here so it is empty while the worker runs.
    SetControlText(kOutputBoxId, std::string());
    shownInputs.reset();
    runStatus.clear();
    statusLine->SetStatus(DialogTexts::Hashing(
        InputName(file, filePathBox->text()),
        input.expected ? VerifyTexts::AlgorithmNames(input.expected->candidates)
                       : algorithmList->currentText()));
    SetRunningLook(true);
    job = std::make_unique<CHashJob>(input, request, [this] {
        // On the job's thread: the dialog takes the result on its own.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (job && job->Finished()) FinishCommand();
            },
            Qt::QueuedConnection);
    });
}

void CTarnovelDlg::FinishCommand() {
    job->WaitFinished(std::chrono::milliseconds(0));  // joins the thread
    const CHashJob::Result& result = job->GetResult();
    request = result.request;
    SetControlText(kOutputBoxId, result.output);
    ShowEnded(FactsOf(result.request.GetLastOutcome()), &result.verified);
}

void CTarnovelDlg::OnStop() {
    EndRunning(kGraceMs);
}

void CTarnovelDlg::EndRunning(int graceMs) {
    if (!job) return;
    job->Cancel();
    if (job->WaitFinished(std::chrono::milliseconds(graceMs))) {
        FinishCommand();
        return;
    }
    // Stuck in a read: the job is left to end on its own, and reports to nobody.
    SetControlText(kOutputBoxId, std::string());
    RunFacts stopped;
    stopped.end = RunEnd::Stopped;
    stopped.bytes = job->BytesDone();
    ShowEnded(stopped);
}

void CTarnovelDlg::ShowEnded(RunFacts facts, const VerifiedRun* verified) {
    const std::unique_ptr<CHashJob> ended = std::move(job);
    const CHashJob::Input& input = ended->GetInput();
    // A verdict's digest may be of another algorithm than the one chosen: the list follows it,
    // so the list and the output box never disagree.
    const bool verdict = verified != nullptr && verified->verdict.has_value();
    const int shownIndex = verdict ? verified->shownIndex : input.selectedIndex;
    if (verdict) algorithmList->setCurrentIndex(shownIndex);
    facts.file = input.file;
    facts.filePath = FromStd(input.filePath);
    facts.algorithm = algorithmList->itemText(shownIndex);
    if (input.file && input.filePath.empty()) facts.end = RunEnd::NoFileGiven;
    runStatus = RunStatus(facts);
    shownInputs = RunInputs{input.file, facts.filePath, FromStd(input.text), shownIndex};
    ShowVerdict(verified != nullptr ? *verified : VerifiedRun(), input);
    SetRunningLook(false);
    RefreshStatus();
}

void CTarnovelDlg::RefreshStatus() {
    if (IsBusy()) return;
    QString text = runStatus;
    if (shownInputs) {
        const RunInputs& of = *shownInputs;
        const bool changed =
            algorithmList->currentIndex() != of.selectedIndex ||
            (of.file ? filePathBox->text() != of.filePath : stringBox->text() != of.text);
        if (changed) text = DialogTexts::EarlierInput(text);
        RefreshVerdict(changed);
    } else {
        RefreshVerdict(false);
    }
    statusLine->SetStatus(text);
}

void CTarnovelDlg::WaitForIdle() {
    while (IsBusy()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(1);
    }
}

void CTarnovelDlg::done(int result) {
    EndRunning(kGraceMs);
    QDialog::done(result);
}

void CTarnovelDlg::SetRunningLook(bool running) {
    const std::initializer_list<QWidget*> inputs = {filePathBox,  stringBox,      algorithmList,
                                                    browseButton, hashFileButton, hashStringButton,
                                                    expectedBox,  sumFileButton};
    if (running) {
        // The focus waits on Stop, so a disabled button does not pass it to the next control.
        focusBeforeRun = focusWidget();
        stopButton->show();
        stopButton->setFocus();
        for (QWidget* input : inputs) input->setEnabled(false);
        runClock.start();
        progressTimer->start();
        return;
    }
    for (QWidget* input : inputs) input->setEnabled(true);
    // Back where the user left it, unless they moved it during the run.
    QWidget* now = focusWidget();
    if (focusBeforeRun != nullptr && (now == nullptr || now == stopButton)) {
        focusBeforeRun->setFocus();
    }
    focusBeforeRun = nullptr;
    stopButton->hide();
    progressTimer->stop();
    progressBar->hide();
    progressBar->reset();
    statusLine->show();
}

void CTarnovelDlg::UpdateProgress() {
    const qint64 elapsedMs = runClock.elapsed();
    if (!job || elapsedMs < kProgressDelayMs) return;
    const uint64_t done = job->BytesDone();
    const uint64_t total = job->BytesTotal();
    if (total > 0) {
        const double fraction =
            std::min(1.0, static_cast<double>(done) / static_cast<double>(total));
        progressBar->setValue(static_cast<int>(fraction * progressBar->maximum()));
    } else {
        progressBar->setValue(0);  // no size to measure against (a device, a pipe)
    }
    // The text is whole: no "%p" of the bar's own, and a literal '%' stays as it is.
    progressBar->setFormat(DialogTexts::Progress(done, total, elapsedMs));
    progressBar->setVisible(true);
    statusLine->hide();
}
