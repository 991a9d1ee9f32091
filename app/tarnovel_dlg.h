// The main dialog: a fixed-size window laid out in dialog units, whose two hash buttons run the
// hash commands over the dialog's one request. Browse, "more software" and the About command are
// its own. Beside the described controls it has a status line, a progress bar and a Stop button
// under the output box: a command runs on a thread of its own with the inputs locked, and the
// status line says what the shown digest is of, or why there is none. Below the described
// controls a row takes an expected digest: a run then checks its digest against it (or against the
// clipboard's, or a sum file's beside the file) and a verdict line says whether they match.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QIcon>
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "hash_commands.h"
#include "expected_digest.h"
#include "hash_job.h"
#include "hash_request.h"
#include "run_status.h"
#include "verify_command.h"

class CExpectedField;
class CStatusLine;
class CVerdictLine;
class QComboBox;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;
class QPoint;
class QWidget;

// The window-menu item that opens the About box, and its command.
inline constexpr char kAboutItemText[] = QT_TRANSLATE_NOOP("CTarnovelDlg", "&About Ostrel...");
inline constexpr unsigned kAboutCommandId = 16;
// The one filter of the Browse chooser: shown as "All Files(*.)", matching every file.
inline constexpr char kBrowseFilter[] = QT_TRANSLATE_NOOP("CTarnovelDlg", "All Files(*.) (*)");

class CTarnovelDlg : public QDialog, public DialogControls {
    Q_OBJECT
public:
    // Shows a file chooser owned by `owner`, starting at `preset`; the chosen full path, or nothing
    // when the user cancels.
    using FileChooser =
        std::function<std::optional<QString>(QWidget* owner, const QString& preset)>;
    // Runs the About box for `owner` until it closes.
    using AboutRunner = std::function<void(QWidget* owner)>;

    explicit CTarnovelDlg(QWidget* parent = nullptr);
    ~CTarnovelDlg() override;

    // DialogControls, by control ID.
    std::string GetControlText(int id) const override;
    void SetControlText(int id, const std::string& text) override;
    int GetSelectedIndex() const override;

    // Tests replace the modal pieces; the defaults are the real file chooser and About box.
    void SetFileChooser(FileChooser chooser);
    void SetAboutRunner(AboutRunner runner);
    // The chooser of the "Sum file..." button; the default is a file chooser.
    void SetSumFileChooser(FileChooser chooser);

    // The window menu offered on a right click on any part of the dialog without a menu of its own
    // (the window manager owns the title-bar menu). The caller owns the menu.
    QMenu* CreateWindowMenu();

    // Puts `path` into the path box and hashes it, as "Hash file" would: `corvane FILE`.
    void OpenFile(const QString& path);

    // True while a computation runs on the worker thread.
    bool IsBusy() const { return job != nullptr; }
    // Turns the event loop until the running computation (if any) has delivered its output.
    void WaitForIdle();

    // Every way of closing the dialog (OK, Cancel, Escape, the close box) cancels a running
    // computation and waits briefly for it; a thread stuck in a read is left behind.
    void done(int result) override;

    static std::optional<QString> RunFileChooser(QWidget* owner, const QString& preset);
    static void RunAboutBox(QWidget* owner);
    static std::optional<QString> RunSumFileChooser(QWidget* owner, const QString& folder);

public slots:
    void OnBrowse();
    void OnHashFile();
    void OnHashString();
    void OnMoreSoftware();
    void OnStop();
    void OnChooseSumFile();
    // Reads the sum file at `path` and puts its line for the file in the path box into the
    // Expected hash field; says in the verdict line when it cannot.
    void TakeSumFile(const QString& path);
    // A window-menu command; the About command is recognised with any of its low four bits set.
    void OnSysCommand(unsigned id);

private:
    // How long Stop and closing wait for a run to end before leaving its thread behind: a run
    // stops within one slice unless a read blocks.
    static constexpr int kGraceMs = 300;
    // The progress bar appears only for runs longer than this, so short ones do not flicker.
    static constexpr int kProgressDelayMs = 200;
    static constexpr int kProgressTickMs = 100;

    // What the latest finished run was of, so the status line can tell when the inputs moved on.
    struct RunInputs {
        bool file = false;
        QString filePath;
        QString text;
        int selectedIndex = -1;
    };

    void BuildControls();
    void BuildExtensions();
    void ShowWindowMenu(const QPoint& position);
    // Runs one hash command over a snapshot of the controls on the worker thread.
    void StartCommand(bool file);
    // Takes the finished job's output and request.
    void FinishCommand();
    // Stops the running job: waits up to `graceMs` for it, then leaves it behind.
    void EndRunning(int graceMs);
    // Drops the ended job, unlocks the inputs and says in the status line how it ended.
    void ShowEnded(RunFacts facts, const VerifiedRun* verified = nullptr);
    void SetRunningLook(bool running);
    void UpdateProgress();
    void RefreshStatus();
    bool AcceptFileDrop(const QString& path);
    void BuildVerification();
    // What the run verifies against, read when the hash button is pressed: the field, else the
    // clipboard; sets `input.expected` and `input.lookBeside`.
    void TakeExpected(CHashJob::Input& input);
    void ShowVerdict(const VerifiedRun& verified, const CHashJob::Input& input);
    // Shows the verdict while it still belongs to what the window shows, else the status line.
    void RefreshVerdict(bool inputsChanged);

    QLineEdit* filePathBox = nullptr;
    QPlainTextEdit* outputBox = nullptr;
    QComboBox* algorithmList = nullptr;
    QLineEdit* stringBox = nullptr;
    QPushButton* browseButton = nullptr;
    QPushButton* hashFileButton = nullptr;
    QPushButton* hashStringButton = nullptr;
    QProgressBar* progressBar = nullptr;
    CStatusLine* statusLine = nullptr;
    CExpectedField* expectedBox = nullptr;
    QPushButton* sumFileButton = nullptr;
    CVerdictLine* verdictLine = nullptr;
    QPushButton* stopButton = nullptr;
    QTimer* progressTimer = nullptr;
    QElapsedTimer runClock;
    QIcon appIcon;
    // The dialog's request: each run hashes with a copy and hands it back when it ends.
    HashRequest request;
    std::string lastFilePath;  // Browse's preset
    std::unique_ptr<CHashJob> job;
    // Where the focus was when the run started; it goes back there when the run ends.
    QWidget* focusBeforeRun = nullptr;
    // The status of the latest ended run, and what it was of.
    QString runStatus;
    std::optional<RunInputs> shownInputs;
    FileChooser fileChooser;
    AboutRunner aboutRunner;
    FileChooser sumFileChooser;
    // The line a sum file put into the Expected hash field, and what it was read as: while the
    // field holds that text, the sum file (and whether it was signed) is the source.
    struct FieldFromSumFile {
        QString text;
        ExpectedDigest expected;
    };
    std::optional<FieldFromSumFile> fieldFromSumFile;
    // The Expected hash field's text when the shown verdict was made; editing it makes the
    // verdict stale.
    QString verdictFieldText;
    // Where the shown mismatch's digests first differ, and the expected digest when it is not
    // the field's own.
    std::optional<std::size_t> verdictDifference;
    QString verdictPlaceholder;
    // The field held text that is no digest when the latest run started.
    bool expectedNotRecognised = false;
};
