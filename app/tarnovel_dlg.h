// The main dialog: a fixed-size window laid out in dialog units, whose two hash buttons run the
// hash commands over the dialog's one request. Browse, "more software" and the About command are
// its own. Its extensions are each a class of their own: a run (CRunController: the job on its
// thread, inputs locked, Stop, progress, focus), the verification row below the described
// controls (CVerificationRow: what a run verifies against), and one result line under the row
// (CResultLine: the status, the progress or the verdict). The dialog ties them together.
#pragma once

#include <QDialog>
#include <QIcon>
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "expected_digest.h"
#include "hash_commands.h"
#include "hash_job.h"
#include "hash_request.h"
#include "run_controller.h"
#include "run_status.h"
#include "verify_command.h"

class CResultLine;
class CSumListWindow;
class CVerificationRow;
class QComboBox;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QPoint;
class QTimer;
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
    int GetSelectedIndex() const override;  // the list entry's index, past any separator

    // Tests replace the modal pieces; the defaults are the real file chooser and About box.
    void SetFileChooser(FileChooser chooser);
    void SetAboutRunner(AboutRunner runner);
    // The chooser of the "Sum file..." button; the default is a file chooser.
    void SetSumFileChooser(FileChooser chooser);

    // The window menu offered on a right click on any part of the dialog without a menu of its own
    // (the window manager owns the title-bar menu). The caller owns the menu.
    QMenu* CreateWindowMenu();

    // Puts `path` (bytes, as given) into the path box and hashes it, as "Hash file" would:
    // `corvane FILE`.
    void OpenFile(const std::string& path);

    // The check/hash-list window, beside the dialog: `corvane SUMFILE` checks the list,
    // `corvane FILE FILE...` (or a folder) hashes the files with the list's algorithm.
    void OpenSumList(const std::string& path);
    void OpenFiles(const std::vector<std::string>& paths);
    // Opens the window for `paths` when they are a checksum list, several files or a folder;
    // false for one file, which the path box takes.
    bool OpenInListWindow(const std::vector<std::string>& paths);
    // The list window, made on first use.
    CSumListWindow* ListWindow();

    // True while a computation runs on the worker thread.
    bool IsBusy() const;
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
    // Copies the output box's text to the clipboard and says so on the status line for a while.
    void OnCopy();
    // A window-menu command; the About command is recognised with any of its low four bits set.
    void OnSysCommand(unsigned id);

private:
    // Selects the list's entry `entry` (an index into kAlgorithmList).
    void SelectListEntry(int entry);
    // How long Stop and closing wait for a run to end before leaving its thread behind: a run
    // stops within one slice unless a read blocks.
    static constexpr int kGraceMs = 300;
    // How long the status line confirms a copy before it shows the run's status again.
    static constexpr int kCopiedShownMs = 2500;

    // What the latest finished run was of, so the status line can tell when the inputs moved on.
    struct RunInputs {
        bool file = false;
        std::string filePath;
        QString text;
        int selectedIndex = -1;
    };

    void BuildControls();
    void BuildExtensions();
    void ShowWindowMenu(const QPoint& position);
    // Runs one hash command over a snapshot of the controls on the worker thread.
    void StartCommand(bool file);
    // Shows how the run ended: the output, the list, the status and the verdict.
    void ShowEnded(const CRunController::Ended& ended);
    void RefreshStatus();
    bool AcceptFileDrop(const std::vector<std::string>& paths);
    // The verdict (or the notice) of an ended run on the result line.
    void ShowVerdict(const VerifiedRun& verified, const CHashJob::Input& input);
    void ShowNotice(const QString& text);
    // Shows the verdict while it still belongs to what the window shows, else the status line.
    void RefreshVerdict(bool inputsChanged);

    QLineEdit* filePathBox = nullptr;
    QPlainTextEdit* outputBox = nullptr;
    QComboBox* algorithmList = nullptr;
    QLineEdit* stringBox = nullptr;
    QPushButton* browseButton = nullptr;
    QPushButton* hashFileButton = nullptr;
    QPushButton* hashStringButton = nullptr;
    QPushButton* stopButton = nullptr;
    QPushButton* copyButton = nullptr;
    QTimer* copiedShown = nullptr;
    CResultLine* resultLine = nullptr;
    CVerificationRow* verificationRow = nullptr;
    CRunController* run = nullptr;
    CSumListWindow* listWindow = nullptr;
    QIcon appIcon;
    // The dialog's request: each run hashes with a copy and hands it back when it ends.
    HashRequest request;
    // The path box's text in bytes, and as shown: a name that is no UTF-8 shows escaped, and
    // while the box shows it unchanged the bytes are what is opened.
    std::string pathBytes;
    QString pathShown;
    std::string lastFilePath;  // Browse's preset
    // The status of the latest ended run, and what it was of.
    QString runStatus;
    std::optional<RunInputs> shownInputs;
    FileChooser fileChooser;
    AboutRunner aboutRunner;
    // Where the shown mismatch's digests first differ.
    std::optional<std::size_t> verdictDifference;
    // Algorithms that matched lately, the latest first: a bare digest tries them early.
    std::vector<Algorithm> recentMatches;
};
