// The check/hash-list window, beside the dialog. In check mode it checks every entry of a sum
// file (`corvane SUMFILE`, a list dropped on the path box, "Sum file..." with no file to verify);
// in hash mode it hashes many files (`corvane FILE FILE...`, a drop of several files or of a
// folder) with one algorithm, and saves their list. One row per entry or file in a table named
// "Checked files" (or "Hashed files"), a summary line named "Summary" that screen readers hear
// when the run ends, the run's progress by bytes, Stop and "Check again"; failures can be shown
// alone; rows copy with Ctrl+C or the table's menu.
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "algorithms.h"
#include "sum_file.h"
#include "sum_list_run.h"

class CFailureFilter;
class CSumListModel;
class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;
class QTimer;

class CSumListWindow : public QWidget {
    Q_OBJECT
public:
    // Asks where to save the list, starting with `suggested`; the chosen path, or nothing.
    using SaveChooser =
        std::function<std::optional<QString>(QWidget* owner, const QString& suggested)>;

    explicit CSumListWindow(QWidget* parent = nullptr);
    ~CSumListWindow() override;

    // Checks every entry of the sum file at `list` (bytes).
    void CheckList(const std::string& list);
    // Hashes `files` (bytes; folders are walked) with `algorithm`.
    void HashFiles(const std::vector<std::string>& files, Algorithm algorithm);

    bool IsRunning() const { return run != nullptr; }
    // Turns the event loop until the run has ended and its rows are shown.
    void WaitForIdle();
    // Writes the hashed rows to `path` in `format`, names relative to its folder; whether it could.
    bool SaveTo(const std::string& path, SumFormat format);
    void SetSaveChooser(SaveChooser chooser) { saveChooser = std::move(chooser); }
    const CSumListModel& Model() const { return *model; }
    QString SummaryText() const;

    static std::optional<QString> RunSaveChooser(QWidget* owner, const QString& suggested);

public slots:
    void OnStop();
    void OnAgain();
    void OnCopy();
    void OnCopyAll();
    void OnSave();

private:
    void Start();
    void Flush();
    void ShowSummary();
    void RefreshButtons();
    void CopySelectedLines();
    std::vector<int> SelectedRows() const;
    void FillFormats();

    CSumListRun::Request request;
    std::unique_ptr<CSumListRun> run;
    CSumListModel* model = nullptr;
    CFailureFilter* filter = nullptr;
    QTableView* table = nullptr;
    QLabel* title = nullptr;
    QLabel* summary = nullptr;
    QProgressBar* progress = nullptr;
    QCheckBox* failuresOnly = nullptr;
    QLabel* algorithmLabel = nullptr;
    QComboBox* algorithmList = nullptr;
    QLabel* formatLabel = nullptr;
    QComboBox* formatList = nullptr;
    QPushButton* copyButton = nullptr;
    QPushButton* copyAllButton = nullptr;
    QPushButton* saveButton = nullptr;
    QPushButton* stopButton = nullptr;
    QPushButton* againButton = nullptr;
    QTimer* flushTimer = nullptr;
    QElapsedTimer elapsed;
    SaveChooser saveChooser;
    // What the summary says besides the counts: the list unreadable, a list saved...
    QString note;
    bool listError = false;
    bool stopped = false;
};

// Whether the file at `path` (bytes) is a checksum list: by its name as the sum-file search and
// the MIME type know lists ("SHA256SUMS", "x.iso.sha256", "x.sfv", "...CHECKSUM"), or by its start
// reading as checksum lines.
bool IsSumList(const std::string& path);
