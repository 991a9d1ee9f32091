// The main dialog.
#include "tarnovel_dlg.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QStringList>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <utility>

#include "about_dlg.h"
#include "dialog_font.h"
#include "output_box.h"

namespace {

// Dialog template size, in dialog units.
constexpr int kDialogWidth = 299;
constexpr int kDialogHeight = 223;

// The progress bar appears only for computations longer than this, so short ones do not flicker.
constexpr qint64 kProgressDelayMs = 200;
constexpr int kProgressTickMs = 100;
constexpr int kProgressSteps = 1000;

// The controls as they stood when a command started; the command's output is kept for the UI
// thread to show.
class ControlsSnapshot : public DialogControls {
public:
    ControlsSnapshot(const DialogControls& from)
        : filePath(from.GetControlText(kFilePathBoxId)),
          text(from.GetControlText(kStringBoxId)),
          selected(from.GetSelectedIndex()) {}
    std::string GetControlText(int id) const override {
        if (id == kFilePathBoxId) return filePath;
        if (id == kStringBoxId) return text;
        if (id == kOutputBoxId) return output;
        return std::string();
    }
    void SetControlText(int id, const std::string& value) override {
        if (id == kOutputBoxId) output = value;
    }
    int GetSelectedIndex() const override { return selected; }

    std::string output;

private:
    std::string filePath;
    std::string text;
    int selected;
};

constexpr int kInitialAlgorithmIndex = 5;  // "SHA-1", as the request starts

// The first local file among the URLs, or the empty text.
QString FirstLocalPath(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) return QString();
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile() && !url.toLocalFile().isEmpty()) return url.toLocalFile();
    }
    return QString();
}

QString FromStd(const std::string& text) {
    return QString::fromStdString(text);
}
std::string ToStd(const QString& text) {
    return text.toStdString();
}

}  // namespace

CTarnovelDlg::CTarnovelDlg(QWidget* parent)
    : QDialog(parent),
      appIcon(QStringLiteral(":/icons/ostrel-corvane.png")),
      fileChooser(&CTarnovelDlg::RunFileChooser),
      aboutRunner(&CTarnovelDlg::RunAboutBox) {
    setObjectName(QStringLiteral("mainDialog"));
    setWindowTitle(QStringLiteral("Ostrel Corvane"));
    // A fixed modal frame: caption, window menu and close box, no minimise or maximise.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(DialogFont());
    setFixedSize(MapDialogSize(BaseUnitsOf(font()), kDialogWidth, kDialogHeight));
    setWindowIcon(appIcon);
    BuildControls();
    setAcceptDrops(true);

    request.SetCancelFlag(&cancelFlag);
    request.SetProgressObserver([this](uint64_t done, uint64_t total) {
        progressDone.store(done, std::memory_order_relaxed);
        progressTotal.store(total, std::memory_order_relaxed);
    });
    progressTimer = new QTimer(this);
    progressTimer->setInterval(kProgressTickMs);
    connect(progressTimer, &QTimer::timeout, this, &CTarnovelDlg::UpdateProgress);

    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, &CTarnovelDlg::ShowWindowMenu);
}

CTarnovelDlg::~CTarnovelDlg() {
    CancelRunning();
}

void CTarnovelDlg::BuildControls() {
    const DialogBaseUnits units = BaseUnitsOf(font());
    // Creation order is the template order, and Qt's focus chain follows it: the tab order.
    auto place = [&](QWidget* widget, const char* name, int x, int y, int width, int height) {
        widget->setObjectName(QLatin1String(name));
        widget->setGeometry(MapDialogRect(units, x, y, width, height));
    };
    auto button = [&](const char* text, const char* name, int x, int y, int width, int height) {
        auto* pushButton = new QPushButton(QLatin1String(text), this);
        place(pushButton, name, x, y, width, height);
        return pushButton;
    };
    auto label = [&](const char* text, const char* name, int x, int y, int width, int height) {
        auto* staticText = new QLabel(QLatin1String(text), this);
        staticText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        place(staticText, name, x, y, width, height);
    };
    auto lineEdit = [&](const char* name, int x, int y, int width, int height) {
        auto* edit = new QLineEdit(this);
        place(edit, name, x, y, width, height);
        return edit;
    };

    QPushButton* ok = button("OK", "okButton", 243, 13, 50, 14);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    QPushButton* cancel = button("Cancel", "cancelButton", 243, 31, 50, 14);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    place(new QGroupBox(QStringLiteral("Hashing a file"), this), "hashGroup", 7, 9, 230, 201);
    label("File to hash:", "filePathLabel", 16, 25, 94, 8);
    filePathBox = lineEdit("filePathBox", 16, 38, 163, 14);
    QPushButton* browse = button("Browse", "browseButton", 185, 38, 42, 14);
    connect(browse, &QPushButton::clicked, this, &CTarnovelDlg::OnBrowse);

    algorithmList = new QComboBox(this);
    // The template's 105 units are the height with the list dropped; closed, the box is as tall
    // as the edit boxes, and the dropped list shows all nine entries.
    place(algorithmList, "algorithmList", 15, 103, 211, 14);
    for (const AlgorithmListEntry& entry : kAlgorithmList)
        algorithmList->addItem(
            QLatin1String(entry.text.data(), static_cast<int>(entry.text.size())));
    algorithmList->setMaxVisibleItems(static_cast<int>(kAlgorithmList.size()));
    algorithmList->setCurrentIndex(kInitialAlgorithmIndex);

    label("Algorithm:", "algorithmLabel", 15, 92, 65, 8);
    QPushButton* hashFile = hashFileButton = button("Hash file", "hashFileButton", 17, 185, 50, 14);
    connect(hashFile, &QPushButton::clicked, this, &CTarnovelDlg::OnHashFile);
    label("Output hash", "outputLabel", 14, 121, 69, 8);
    outputBox = new COutputBox(this);
    place(outputBox, "outputBox", 15, 134, 211, 40);
    QPushButton* hashString = hashStringButton =
        button("Hash string", "hashStringButton", 90, 186, 50, 14);
    connect(hashString, &QPushButton::clicked, this, &CTarnovelDlg::OnHashString);
    label("String to hash:", "stringLabel", 16, 57, 94, 8);
    stringBox = lineEdit("stringBox", 15, 70, 211, 14);
    QPushButton* more = button("more software", "moreSoftwareButton", 161, 186, 58, 15);
    connect(more, &QPushButton::clicked, this, &CTarnovelDlg::OnMoreSoftware);

    // Slim, in the gap between the output box and the buttons; hidden unless a computation is slow.
    progressBar = new QProgressBar(this);
    place(progressBar, "progressBar", 15, 175, 211, 9);
    progressBar->setRange(0, kProgressSteps);
    progressBar->setAlignment(Qt::AlignCenter);
    progressBar->hide();

    ok->setFocus();
}

std::string CTarnovelDlg::GetControlText(int id) const {
    switch (id) {
        case kFilePathBoxId:
            return ToStd(filePathBox->text());
        case kAlgorithmListId:
            return ToStd(algorithmList->currentText());
        case kStringBoxId:
            return ToStd(stringBox->text());
        case kOutputBoxId:
            return ToStd(outputBox->toPlainText());
        default:
            return std::string();
    }
}

void CTarnovelDlg::SetControlText(int id, const std::string& text) {
    switch (id) {
        case kFilePathBoxId:
            filePathBox->setText(FromStd(text));
            break;
        case kStringBoxId:
            stringBox->setText(FromStd(text));
            break;
        case kOutputBoxId:
            outputBox->setPlainText(FromStd(text));
            break;
        default:
            break;  // a drop-down list has no text of its own to set
    }
}

int CTarnovelDlg::GetSelectedIndex() const {
    return algorithmList->currentIndex();
}

void CTarnovelDlg::SetFileChooser(FileChooser chooser) {
    fileChooser = std::move(chooser);
}

void CTarnovelDlg::SetAboutRunner(AboutRunner runner) {
    aboutRunner = std::move(runner);
}

void CTarnovelDlg::OnHashFile() {
    StartCommand(true);
}

void CTarnovelDlg::OnHashString() {
    StartCommand(false);
}

void CTarnovelDlg::StartCommand(bool file) {
    if (IsBusy()) return;
    if (file) lastFilePath = GetControlText(kFilePathBoxId);
    // The commands clear the box first; done here so it is empty while the worker runs.
    SetControlText(kOutputBoxId, std::string());
    const uint64_t ofGeneration = ++generation;
    cancelFlag.store(false);
    progressDone.store(0);
    progressTotal.store(0);
    SetRunningLook(true);
    worker = std::thread([this, file, ofGeneration, controls = ControlsSnapshot(*this)]() mutable {
        if (file) {
            ::OnHashFile(controls, request);
        } else {
            ::OnHashString(controls, request);
        }
        QMetaObject::invokeMethod(
            this,
            [this, ofGeneration, output = std::move(controls.output)] {
                FinishCommand(ofGeneration, output);
            },
            Qt::QueuedConnection);
    });
}

void CTarnovelDlg::FinishCommand(uint64_t ofGeneration, const std::string& output) {
    if (ofGeneration != generation) return;  // cancelled, or a newer computation owns the box
    if (worker.joinable()) worker.join();
    SetRunningLook(false);
    SetControlText(kOutputBoxId, output);
}

void CTarnovelDlg::CancelRunning() {
    if (!worker.joinable()) return;
    cancelFlag.store(true);
    worker.join();
    ++generation;  // the result already queued, if any, is dropped
    SetRunningLook(false);
}

void CTarnovelDlg::WaitForIdle() {
    while (IsBusy()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(1);
    }
}

void CTarnovelDlg::done(int result) {
    CancelRunning();
    QDialog::done(result);
}

void CTarnovelDlg::SetRunningLook(bool running) {
    hashFileButton->setEnabled(!running);
    hashStringButton->setEnabled(!running);
    if (running) {
        runClock.start();
        progressTimer->start();
    } else {
        progressTimer->stop();
        progressBar->hide();
        progressBar->reset();
    }
}

void CTarnovelDlg::UpdateProgress() {
    const qint64 elapsedMs = runClock.elapsed();
    if (elapsedMs < kProgressDelayMs) return;
    const uint64_t done = progressDone.load(std::memory_order_relaxed);
    const uint64_t total = progressTotal.load(std::memory_order_relaxed);
    const double megabytesPerSecond =
        static_cast<double>(done) / 1e6 / (static_cast<double>(elapsedMs) / 1000.0);
    const QString speed = QStringLiteral("%1 MB/s").arg(megabytesPerSecond, 0, 'f', 1);
    progressBar->setRange(0, kProgressSteps);
    if (total > 0) {
        // A file that grows while it is read can pass its first size: the bar stays full.
        const double fraction =
            std::min(1.0, static_cast<double>(done) / static_cast<double>(total));
        progressBar->setValue(static_cast<int>(fraction * kProgressSteps));
        progressBar->setFormat(QStringLiteral("%p%  ") + speed);
    } else {
        // No size to measure against (a device, a pipe): the amount read instead of a fraction.
        progressBar->setValue(0);
        progressBar->setFormat(
            QStringLiteral("%1 MB  ").arg(static_cast<double>(done) / 1e6, 0, 'f', 0) + speed);
    }
    progressBar->setVisible(true);
}

void CTarnovelDlg::OnBrowse() {
    // The preset is the path of the last "Hash file", not the box's text.
    const std::optional<QString> chosen = fileChooser(this, FromStd(lastFilePath));
    if (chosen) filePathBox->setText(*chosen);
}

void CTarnovelDlg::dragEnterEvent(QDragEnterEvent* event) {
    if (!FirstLocalPath(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void CTarnovelDlg::dropEvent(QDropEvent* event) {
    const QString path = FirstLocalPath(event->mimeData());
    if (path.isEmpty()) return;
    filePathBox->setText(path);
    event->acceptProposedAction();
}

void CTarnovelDlg::OnMoreSoftware() {
    // Nothing to report if no browser opens: the button simply does nothing.
    static_cast<void>(QDesktopServices::openUrl(QUrl(QLatin1String(kMoreSoftwareUrl))));
}

void CTarnovelDlg::OnSysCommand(unsigned id) {
    if ((id & 0xFFF0u) == kAboutCommandId) aboutRunner(this);
}

QMenu* CTarnovelDlg::CreateWindowMenu() {
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("windowMenu"));
    QAction* about = menu->addAction(QLatin1String(kAboutItemText));
    about->setObjectName(QStringLiteral("aboutAction"));
    connect(about, &QAction::triggered, this, [this] { OnSysCommand(kAboutCommandId); });
    return menu;
}

void CTarnovelDlg::ShowWindowMenu(const QPoint& position) {
    QMenu* menu = CreateWindowMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(mapToGlobal(position));
}

std::optional<QString> CTarnovelDlg::RunFileChooser(QWidget* owner, const QString& preset) {
    QFileDialog chooser(owner);
    chooser.setObjectName(QStringLiteral("browseDialog"));
    chooser.setAcceptMode(QFileDialog::AcceptOpen);
    chooser.setFileMode(QFileDialog::ExistingFile);
    chooser.setOption(QFileDialog::HideNameFilterDetails);
    chooser.setNameFilter(QLatin1String(kBrowseFilter));
    if (!preset.isEmpty()) chooser.selectFile(preset);
    if (chooser.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList files = chooser.selectedFiles();
    if (files.isEmpty()) return std::nullopt;
    return files.front();
}

void CTarnovelDlg::RunAboutBox(QWidget* owner) {
    CAboutDlg about(owner);
    about.exec();
}
