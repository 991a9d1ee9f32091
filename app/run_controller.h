// A run of a hash command: the job on its own thread, the inputs locked meanwhile, the focus
// waiting on Stop and going back where it was, the progress shown once a run takes longer than a
// fifth of a second, Stop, and the end handed back to the dialog.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "hash_job.h"
#include "run_status.h"

class CResultLine;
class QPushButton;
class QTimer;
class QWidget;

class CRunController : public QObject {
    Q_OBJECT
public:
    // How a run ended: the job (its input, and its result when `finished`) and the facts the
    // status line tells.
    struct Ended {
        const CHashJob& job;
        bool finished = false;
        RunFacts facts;
    };
    using EndedHandler = std::function<void(const Ended&)>;
    // The status while a verifying run tries one more algorithm.
    using RetryText = std::function<QString(const CHashJob::Retry&)>;

    CRunController(QWidget* dialog, QPushButton* stop, CResultLine* line,
                   std::vector<QWidget*> inputs, EndedHandler ended, RetryText retryText);
    ~CRunController() override;

    void Start(const CHashJob::Input& input, const HashRequest& request);
    bool IsBusy() const { return job != nullptr; }
    // Stops the running job: waits up to `graceMs` for it, then leaves it behind.
    void Stop(int graceMs);
    void WaitForIdle();

private:
    static constexpr int kProgressDelayMs = 200;
    static constexpr int kProgressTickMs = 100;

    void Finish();
    void End(bool finished, RunFacts facts);
    void SetRunningLook(bool running);
    void Tick();

    QWidget* dialog;
    QPushButton* stopButton;
    CResultLine* line;
    std::vector<QWidget*> inputs;
    EndedHandler onEnded;
    RetryText retryText;
    std::unique_ptr<CHashJob> job;
    QTimer* timer = nullptr;
    QElapsedTimer clock;
    QString retryNote;
    // Where the focus was when the run started; it goes back there when the run ends.
    QWidget* focusBeforeRun = nullptr;
};
