// The main dialog: a fixed-size window laid out in dialog units, whose two hash buttons run the
// hash commands over the dialog's one request. Browse, "more software" and the About command are
// its own.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QIcon>
#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "hash_commands.h"
#include "hash_request.h"

class QComboBox;
class QDragEnterEvent;
class QDropEvent;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;
class QPoint;
class QWidget;

// The web page "more software" opens; the only address the application ever uses.
inline constexpr char kMoreSoftwareUrl[] = "https://ostrel-corvane.example/";
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

    // The window menu offered on a right click on the dialog's background (the window manager owns
    // the title-bar menu). The caller owns the menu.
    QMenu* CreateWindowMenu();

    // True while a computation runs on the worker thread.
    bool IsBusy() const { return worker.joinable(); }
    // Turns the event loop until the running computation (if any) has delivered its output.
    void WaitForIdle();

    // Every way of closing the dialog (OK, Cancel, Escape, the close box) cancels a running
    // computation and waits for its thread, which stops within one chunk.
    void done(int result) override;

    static std::optional<QString> RunFileChooser(QWidget* owner, const QString& preset);
    static void RunAboutBox(QWidget* owner);

public slots:
    void OnBrowse();
    void OnHashFile();
    void OnHashString();
    void OnMoreSoftware();
    // A window-menu command; the About command is recognised with any of its low four bits set.
    void OnSysCommand(unsigned id);

protected:
    // A dropped local file fills the path box, as Browse does; it neither hashes nor touches the
    // request. Of several files the first local one wins; other URLs are ignored.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildControls();
    void ShowWindowMenu(const QPoint& position);
    // Runs one hash command over a snapshot of the controls on the worker thread.
    void StartCommand(bool file);
    void FinishCommand(uint64_t ofGeneration, const std::string& output);
    void CancelRunning();
    void SetRunningLook(bool running);
    void UpdateProgress();

    QLineEdit* filePathBox = nullptr;
    QPlainTextEdit* outputBox = nullptr;
    QComboBox* algorithmList = nullptr;
    QLineEdit* stringBox = nullptr;
    QProgressBar* progressBar = nullptr;
    QPushButton* hashFileButton = nullptr;
    QPushButton* hashStringButton = nullptr;
    QTimer* progressTimer = nullptr;
    QElapsedTimer runClock;
    QIcon appIcon;
    // Owned by the worker while one runs; the UI thread touches it only when idle.
    HashRequest request;
    std::string lastFilePath;  // Browse's preset, kept on the UI thread
    std::thread worker;
    std::atomic<bool> cancelFlag{false};
    std::atomic<uint64_t> progressDone{0};
    std::atomic<uint64_t> progressTotal{0};
    // Bumped by every start and cancel: a result of an older generation is dropped.
    uint64_t generation = 0;
    FileChooser fileChooser;
    AboutRunner aboutRunner;
};
