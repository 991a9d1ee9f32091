// The main dialog: its controls, the three control operations, and the commands it carries itself
// (Browse, "more software", About). Running the hash commands is in tarnovel_dlg_run.cpp.
#include "tarnovel_dlg.h"

#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <filesystem>
#include <limits>
#include <utility>

#include "about_dlg.h"
#include "byte_names.h"
#include "dialog_font.h"
#include "dialog_texts.h"
#include "file_drop.h"
#include "hash_job.h"
#include "more_software.h"
#include "output_box.h"
#include "result_line.h"
#include "run_controller.h"
#include "sum_list_window.h"
#include "verification_row.h"
#include "verify_texts.h"

namespace {

// Dialog template size, in dialog units.
constexpr int kDialogWidth = 299;
constexpr int kDialogHeight = 223;
// The verification row and, under it, the result line's two lines make the dialog this much
// taller than its template.
constexpr int kExtensionsHeight = 34;

constexpr int kInitialAlgorithmIndex = 5;  // "SHA-1", as the request starts

QString FromStd(const std::string& text) {
    return QString::fromStdString(text);
}
std::string ToStd(const QString& text) {
    return text.toStdString();
}

// Ties a label to the control it names: screen readers read the label for it.
void Name(QLabel* label, QWidget* control) {
    label->setBuddy(control);
    control->setAccessibleName(DialogTexts::NameFromLabel(label->text()));
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
    setFixedSize(
        MapDialogSize(BaseUnitsOf(font()), kDialogWidth, kDialogHeight + kExtensionsHeight));
    setWindowIcon(appIcon);
    BuildControls();
    BuildExtensions();
}

CTarnovelDlg::~CTarnovelDlg() {
    run->Stop(kGraceMs);
}

bool CTarnovelDlg::IsBusy() const {
    return run != nullptr && run->IsBusy();
}

void CTarnovelDlg::BuildControls() {
    const DialogBaseUnits units = BaseUnitsOf(font());
    // Creation order is the template order, and Qt's focus chain follows it: the tab order.
    auto place = [&](QWidget* widget, const char* name, int x, int y, int width, int height) {
        widget->setObjectName(QLatin1String(name));
        widget->setGeometry(MapDialogRect(units, x, y, width, height));
    };
    auto button = [&](const QString& text, const char* name, int x, int y, int width, int height) {
        auto* pushButton = new QPushButton(text, this);
        place(pushButton, name, x, y, width, height);
        return pushButton;
    };
    auto label = [&](const QString& text, const char* name, int x, int y, int width, int height) {
        auto* staticText = new QLabel(text, this);
        staticText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        place(staticText, name, x, y, width, height);
    };
    auto lineEdit = [&](const char* name, int x, int y, int width, int height) {
        auto* edit = new QLineEdit(this);
        place(edit, name, x, y, width, height);
        return edit;
    };

    QPushButton* ok = button(tr("OK"), "okButton", 243, 13, 50, 14);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    QPushButton* cancel = button(tr("Cancel"), "cancelButton", 243, 31, 50, 14);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    place(new QGroupBox(tr("Hashing a file"), this), "hashGroup", 7, 9, 230, 201);
    label(tr("File to hash:"), "filePathLabel", 16, 25, 94, 8);
    filePathBox = lineEdit("filePathBox", 16, 38, 163, 14);
    QPushButton* browse = browseButton = button(tr("Browse"), "browseButton", 185, 38, 42, 14);
    connect(browse, &QPushButton::clicked, this, &CTarnovelDlg::OnBrowse);

    algorithmList = new QComboBox(this);
    // The template's 105 units are the height with the list dropped; closed, the box is as tall
    // as the edit boxes, and the dropped list shows all nine entries.
    place(algorithmList, "algorithmList", 15, 103, 211, 14);
    // The nine keep their places; the algorithms added beyond them follow a separator. Each item
    // carries its entry's index, which a separator would otherwise shift.
    for (std::size_t i = 0; i < kAlgorithmList.size(); ++i) {
        if (i == kFirstListGroup) algorithmList->insertSeparator(algorithmList->count());
        const std::string_view text = kAlgorithmList[i].text;
        algorithmList->addItem(QLatin1String(text.data(), static_cast<int>(text.size())),
                               static_cast<int>(i));
    }
    algorithmList->setMaxVisibleItems(algorithmList->count());
    algorithmList->setCurrentIndex(kInitialAlgorithmIndex);

    label(tr("Algorithm:"), "algorithmLabel", 15, 92, 65, 8);
    QPushButton* hashFile = hashFileButton =
        button(tr("Hash file"), "hashFileButton", 17, 185, 50, 14);
    connect(hashFile, &QPushButton::clicked, this, &CTarnovelDlg::OnHashFile);
    label(tr("Output hash"), "outputLabel", 14, 121, 69, 8);
    outputBox = new COutputBox(this);
    place(outputBox, "outputBox", 15, 134, 211, 40);
    QPushButton* hashString = hashStringButton =
        button(tr("Hash string"), "hashStringButton", 90, 186, 50, 14);
    connect(hashString, &QPushButton::clicked, this, &CTarnovelDlg::OnHashString);
    label(tr("String to hash:"), "stringLabel", 16, 57, 94, 8);
    stringBox = lineEdit("stringBox", 15, 70, 211, 14);
    QPushButton* more = button(tr("more software"), "moreSoftwareButton", 161, 186, 58, 15);
    connect(more, &QPushButton::clicked, this, &CTarnovelDlg::OnMoreSoftware);

    ok->setFocus();
}

void CTarnovelDlg::BuildExtensions() {
    const DialogBaseUnits units = BaseUnitsOf(font());
    // The described controls are all there; these come after them in the tab order.
    Name(findChild<QLabel*>(QStringLiteral("filePathLabel")), filePathBox);
    Name(findChild<QLabel*>(QStringLiteral("stringLabel")), stringBox);
    Name(findChild<QLabel*>(QStringLiteral("algorithmLabel")), algorithmList);
    Name(findChild<QLabel*>(QStringLiteral("outputLabel")), outputBox);
    // A line edit keeps 32767 characters unless told otherwise: a longer text would be cut.
    filePathBox->setMaxLength(std::numeric_limits<int>::max());
    stringBox->setMaxLength(std::numeric_limits<int>::max());

    // The result line under the verification row, as wide as the dialog's content; Stop beside
    // the dialog's own buttons while a run is on.
    resultLine = new CResultLine(this);
    resultLine->setGeometry(MapDialogRect(units, 7, 232, 286, 18));
    stopButton = new QPushButton(DialogTexts::StopButton(), this);
    stopButton->setObjectName(QStringLiteral("stopButton"));
    stopButton->setGeometry(MapDialogRect(units, 243, 172, 50, 14));
    stopButton->hide();
    // Copy beside the output box, in the column of the dialog's own buttons; only with something
    // to copy.
    copyButton = new QPushButton(DialogTexts::CopyButton(), this);
    copyButton->setObjectName(QStringLiteral("copyButton"));
    copyButton->setAccessibleName(DialogTexts::CopyButtonName());
    copyButton->setGeometry(MapDialogRect(units, 243, 134, 50, 14));
    copyButton->setEnabled(false);
    connect(copyButton, &QPushButton::clicked, this, &CTarnovelDlg::OnCopy);
    // Back to what the shown digest is of (or the verdict) once the confirmation was seen; a run
    // started meanwhile shows its own status (RefreshStatus leaves a run alone).
    copiedShown = new QTimer(this);
    copiedShown->setSingleShot(true);
    connect(copiedShown, &QTimer::timeout, this, &CTarnovelDlg::RefreshStatus);
    connect(outputBox, &QPlainTextEdit::textChanged, this,
            [this] { copyButton->setEnabled(!outputBox->toPlainText().isEmpty()); });
    // Once the inputs differ from what the shown digest is of, the status line says so.
    connect(filePathBox, &QLineEdit::textChanged, this, &CTarnovelDlg::RefreshStatus);
    connect(stringBox, &QLineEdit::textChanged, this, &CTarnovelDlg::RefreshStatus);
    connect(algorithmList, &QComboBox::currentIndexChanged, this, &CTarnovelDlg::RefreshStatus);

    new CFileDropFilter(
        this, [this] { return !IsBusy(); },
        [this](const std::vector<std::string>& paths) { return AcceptFileDrop(paths); });
    // The window menu on a right click anywhere without a menu of its own: the other children
    // pass the request up to the dialog (the list would swallow it). F1 opens the About box too.
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->inherits("QLineEdit") && !child->inherits("QPlainTextEdit")) {
            child->setContextMenuPolicy(Qt::NoContextMenu);
        }
    }
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, &CTarnovelDlg::ShowWindowMenu);
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] { aboutRunner(this); });

    // After the file-drop filter is installed, so a file dropped on the field is a sum file.
    verificationRow = new CVerificationRow(this, units);
    verificationRow->SetSumFileChooser(&CTarnovelDlg::RunSumFileChooser);
    verificationRow->SetFilePathSource([this] { return GetControlText(kFilePathBoxId); });
    connect(verificationRow, &CVerificationRow::Edited, this, &CTarnovelDlg::RefreshStatus);
    connect(verificationRow, &CVerificationRow::Notice, this, &CTarnovelDlg::ShowNotice);
    connect(verificationRow, &CVerificationRow::SumListChosen, this,
            [this](const QByteArray& path) { OpenSumList(path.toStdString()); });
    run = new CRunController(
        this, stopButton, resultLine,
        {filePathBox, stringBox, algorithmList, browseButton, hashFileButton, hashStringButton,
         verificationRow},
        [this](const CRunController::Ended& ended) { ShowEnded(ended); },
        [](const CHashJob::Retry& retry) {
            return VerifyTexts::Retrying(retry.failed, retry.next);
        });
}

std::string CTarnovelDlg::GetControlText(int id) const {
    switch (id) {
        case kFilePathBoxId:
            // Bytes: what was given, while the box shows it unchanged; else what was typed.
            return filePathBox->text() == pathShown ? pathBytes : ToStd(filePathBox->text());
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
            pathBytes = text;
            pathShown = ShownName(text);
            filePathBox->setText(pathShown);
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
    const QVariant entry = algorithmList->currentData();
    return entry.isValid() ? entry.toInt() : -1;
}

void CTarnovelDlg::SelectListEntry(int entry) {
    algorithmList->setCurrentIndex(algorithmList->findData(entry));
}

void CTarnovelDlg::SetFileChooser(FileChooser chooser) {
    fileChooser = std::move(chooser);
}

void CTarnovelDlg::SetSumFileChooser(FileChooser chooser) {
    verificationRow->SetSumFileChooser(std::move(chooser));
}

void CTarnovelDlg::SetAboutRunner(AboutRunner runner) {
    aboutRunner = std::move(runner);
}

void CTarnovelDlg::OnBrowse() {
    // The preset is the path of the last "Hash file", not the box's text.
    const std::optional<QString> chosen = fileChooser(this, ShownName(lastFilePath));
    if (chosen) SetControlText(kFilePathBoxId, BytesOfChosen(*chosen));
}

void CTarnovelDlg::OnCopy() {
    const QString text = outputBox->toPlainText();
    if (text.isEmpty() || IsBusy()) return;
    QGuiApplication::clipboard()->setText(text);
    resultLine->ShowStatus(DialogTexts::Copied(text));
    copiedShown->start(kCopiedShownMs);
}

bool CTarnovelDlg::AcceptFileDrop(const std::vector<std::string>& paths) {
    if (IsBusy()) return false;
    // Several files, a folder or a checksum list go to the list window; one file to the path box.
    if (OpenInListWindow(paths)) return true;
    SetControlText(kFilePathBoxId, paths.front());
    return true;
}

bool CTarnovelDlg::OpenInListWindow(const std::vector<std::string>& paths) {
    if (paths.empty()) return false;
    if (paths.size() == 1 && IsSumList(paths.front())) {
        OpenSumList(paths.front());
        return true;
    }
    std::error_code failed;
    if (paths.size() == 1 && !std::filesystem::is_directory(paths.front(), failed)) return false;
    OpenFiles(paths);
    return true;
}

CSumListWindow* CTarnovelDlg::ListWindow() {
    if (listWindow == nullptr) {
        listWindow = new CSumListWindow(this);
        listWindow->setFont(font());
        // Beside the dialog, where it fits on the screen; never over the dialog's controls.
        const QRect room = screen()->availableGeometry();
        const QRect frame = frameGeometry();
        QPoint at(frame.right() + 1, frame.top());
        if (at.x() + listWindow->width() > room.right())
            at.setX(std::max(room.left(), frame.left() - listWindow->width()));
        listWindow->move(at);
    }
    return listWindow;
}

void CTarnovelDlg::OpenSumList(const std::string& path) {
    CSumListWindow* window = ListWindow();
    window->CheckList(path);
    window->show();
    window->raise();
    window->activateWindow();
}

void CTarnovelDlg::OpenFiles(const std::vector<std::string>& paths) {
    CSumListWindow* window = ListWindow();
    const int entry = GetSelectedIndex();
    window->HashFiles(
        paths, entry >= 0 ? kAlgorithmList[std::size_t(entry)].algorithm : Algorithm::Sha256);
    window->show();
    window->raise();
    window->activateWindow();
}

void CTarnovelDlg::OnMoreSoftware() {
    const MoreSoftwarePage page = FindMoreSoftwarePage();
    if (!page.missingPath.isEmpty()) {
        resultLine->ShowStatus(DialogTexts::PageMissing(page.missingPath));
    } else if (!QDesktopServices::openUrl(page.url)) {
        resultLine->ShowStatus(DialogTexts::PageNotOpened(page.url.toDisplayString()));
    }
}

void CTarnovelDlg::OnSysCommand(unsigned id) {
    if ((id & 0xFFF0u) == kAboutCommandId) aboutRunner(this);
}

QMenu* CTarnovelDlg::CreateWindowMenu() {
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("windowMenu"));
    QAction* about = menu->addAction(tr(kAboutItemText));
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
    chooser.setNameFilter(tr(kBrowseFilter));
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
