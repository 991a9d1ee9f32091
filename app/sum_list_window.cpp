// The check/hash-list window.
#include "sum_list_window.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QShortcut>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>

#include "byte_names.h"
#include "dialog_texts.h"
#include "file_source.h"
#include "sum_file_search.h"
#include "sum_list_model.h"
#include "sum_list_texts.h"

namespace {

// How often the window takes what the run has decided: often enough to look live, seldom enough
// that a flood of small files costs a few hundred table updates.
constexpr int kFlushMs = 50;
constexpr int kProgressSteps = 1000;
// A list's start read to tell whether it is one, and how many of its first lines must be entries.
constexpr std::size_t kSniffBytes = 16384;
constexpr int kSniffLines = 4;

bool EndsWithWord(const std::string& lower, std::string_view words) {
    return AnyWordOf(words, [&](std::string_view ending) {
        std::string end(ending);
        std::transform(end.begin(), end.end(), end.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return lower.size() > end.size() && lower.ends_with(end);
    });
}

bool NamedAsList(const std::string& name) {
    if (LooksLikeSumList(name)) return true;
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const AlgorithmFacts& row : kAlgorithmTable) {
        if (EndsWithWord(lower, row.sumFileEndings)) return true;
        if (AnyWordOf(row.sumFileNames,
                      [&](std::string_view listName) { return std::string(listName) == name; }))
            return true;
    }
    return false;
}

}  // namespace

bool IsSumList(const std::string& path) {
    if (!RegularFileSize(path)) return false;
    if (NamedAsList(LastPart(path))) return true;
    int error = 0;
    const std::unique_ptr<ByteSource> source = OpenFileSource(path, error, FileKinds::RegularOnly);
    if (!source) return false;
    std::string start(kSniffBytes, '\0');
    std::size_t got = 0;
    while (got < start.size()) {
        const std::ptrdiff_t n =
            source->Read(reinterpret_cast<uint8_t*>(start.data()) + got, start.size() - got, error);
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    start.resize(got);
    // A cut last line is no evidence either way.
    if (got == kSniffBytes)
        start.resize(start.rfind('\n') == std::string::npos ? 0 : start.rfind('\n') + 1);
    TextSource text(start);
    SumLineParser lines;
    SumFileReader reader(text, lines);
    int entries = 0;
    while (std::optional<NumberedSumLine> line = reader.Next()) {
        if (line->line.kind != SumLine::Kind::Entry) return false;
        if (++entries == kSniffLines) break;
    }
    return entries > 0;
}

CSumListWindow::CSumListWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), saveChooser(&CSumListWindow::RunSaveChooser) {
    setObjectName(QStringLiteral("sumListWindow"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    model = new CSumListModel(this);
    filter = new CFailureFilter(this);
    filter->setSourceModel(model);

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    title = new QLabel(this);
    title->setObjectName(QStringLiteral("listTitle"));
    title->setTextFormat(Qt::PlainText);
    top->addWidget(title, 1);
    algorithmLabel = new QLabel(SumListTexts::AlgorithmLabel(), this);
    algorithmLabel->setObjectName(QStringLiteral("listAlgorithmLabel"));
    algorithmList = new QComboBox(this);
    algorithmList->setObjectName(QStringLiteral("listAlgorithm"));
    for (std::size_t i = 0; i < kAlgorithmList.size(); ++i) {
        if (i == kFirstListGroup) algorithmList->insertSeparator(algorithmList->count());
        const std::string_view text = kAlgorithmList[i].text;
        algorithmList->addItem(QLatin1String(text.data(), static_cast<int>(text.size())),
                               static_cast<int>(kAlgorithmList[i].algorithm));
    }
    algorithmList->setMaxVisibleItems(algorithmList->count());
    algorithmLabel->setBuddy(algorithmList);
    algorithmList->setAccessibleName(DialogTexts::NameFromLabel(algorithmLabel->text()));
    top->addWidget(algorithmLabel);
    top->addWidget(algorithmList);
    layout->addLayout(top);

    table = new QTableView(this);
    table->setObjectName(QStringLiteral("listTable"));
    table->setModel(filter);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setTabKeyNavigation(false);  // Tab leaves the table, as elsewhere
    table->setWordWrap(false);
    table->verticalHeader()->hide();
    // Fixed row heights: the view need not measure 20,000 rows.
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    // Left, as the cells are: a digest column is wider than the window.
    table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    table->setSortingEnabled(true);
    table->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* copyLines = new QAction(SumListTexts::CopyLines(), table);
    copyLines->setObjectName(QStringLiteral("copyLinesAction"));
    copyLines->setShortcut(QKeySequence::Copy);
    copyLines->setShortcutContext(Qt::WidgetShortcut);
    connect(copyLines, &QAction::triggered, this, &CSumListWindow::CopySelectedLines);
    table->addAction(copyLines);
    layout->addWidget(table, 1);

    progress = new QProgressBar(this);
    progress->setObjectName(QStringLiteral("listProgress"));
    progress->setAccessibleName(DialogTexts::ProgressName());
    progress->setRange(0, kProgressSteps);
    progress->setAlignment(Qt::AlignCenter);
    layout->addWidget(progress);
    summary = new QLabel(this);
    summary->setObjectName(QStringLiteral("listSummary"));
    summary->setAccessibleName(SumListTexts::SummaryName());
    summary->setTextFormat(Qt::PlainText);
    summary->setWordWrap(true);
    summary->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    summary->setFocusPolicy(Qt::TabFocus);  // a screen reader's user can go back to it
    layout->addWidget(summary);

    auto* buttons = new QHBoxLayout;
    failuresOnly = new QCheckBox(SumListTexts::ShowFailuresOnly(), this);
    failuresOnly->setObjectName(QStringLiteral("failuresOnly"));
    connect(failuresOnly, &QCheckBox::toggled, filter, &CFailureFilter::SetFailuresOnly);
    buttons->addWidget(failuresOnly);
    buttons->addStretch();
    auto button = [&](const QString& text, const char* name, auto slot) {
        auto* pushButton = new QPushButton(text, this);
        pushButton->setObjectName(QLatin1String(name));
        pushButton->setAutoDefault(false);
        connect(pushButton, &QPushButton::clicked, this, slot);
        buttons->addWidget(pushButton);
        return pushButton;
    };
    copyButton = button(SumListTexts::Copy(), "listCopyButton", &CSumListWindow::OnCopy);
    copyAllButton =
        button(SumListTexts::CopyAll(), "listCopyAllButton", &CSumListWindow::OnCopyAll);
    formatLabel = new QLabel(SumListTexts::FormatLabel(), this);
    formatLabel->setObjectName(QStringLiteral("listFormatLabel"));
    formatList = new QComboBox(this);
    formatList->setObjectName(QStringLiteral("listFormat"));
    formatLabel->setBuddy(formatList);
    formatList->setAccessibleName(DialogTexts::NameFromLabel(formatLabel->text()));
    buttons->addWidget(formatLabel);
    buttons->addWidget(formatList);
    saveButton = button(SumListTexts::Save(), "listSaveButton", &CSumListWindow::OnSave);
    stopButton = button(SumListTexts::Stop(), "listStopButton", &CSumListWindow::OnStop);
    againButton = button(SumListTexts::CheckAgain(), "listAgainButton", &CSumListWindow::OnAgain);
    button(SumListTexts::Close(), "listCloseButton", &QWidget::close);
    layout->addLayout(buttons);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    connect(algorithmList, &QComboBox::activated, this, [this] {
        const QVariant chosen = algorithmList->currentData();
        if (!chosen.isValid() || request.check) return;
        const auto algorithm = static_cast<Algorithm>(chosen.toInt());
        if (algorithm == request.algorithm) return;
        request.algorithm = algorithm;
        Start();
    });
    connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CSumListWindow::RefreshButtons);

    flushTimer = new QTimer(this);
    flushTimer->setInterval(kFlushMs);
    connect(flushTimer, &QTimer::timeout, this, &CSumListWindow::Flush);

    const QSize screen = QApplication::primaryScreen()->availableSize();
    resize(std::min(screen.width() * 3 / 4, table->fontMetrics().averageCharWidth() * 110),
           std::min(screen.height() * 2 / 3, table->fontMetrics().height() * 30));
}

CSumListWindow::~CSumListWindow() = default;

void CSumListWindow::CheckList(const std::string& list) {
    request = {};
    request.check = true;
    request.list = list;
    Start();
}

void CSumListWindow::HashFiles(const std::vector<std::string>& files, Algorithm algorithm) {
    request = {};
    request.check = false;
    request.files = files;
    request.algorithm = algorithm;
    Start();
}

void CSumListWindow::Start() {
    run.reset();  // a run still going is stopped first
    model->Reset(request.check);
    // Files given from one folder show by their names below it (the tool tip has the whole path).
    std::string base;
    if (!request.check && !request.files.empty()) {
        base = FolderOfPath(request.files.front());
        for (const std::string& file : request.files)
            if (FolderOfPath(file) != base) base.clear();
    }
    model->SetShownBase(base);
    note.clear();
    listError = false;
    stopped = false;
    const bool hashing = !request.check;
    if (request.check) {
        title->setText(SumListTexts::CheckTitle(ShownName(LastPart(request.list))));
        setWindowTitle(title->text());
    }
    table->setAccessibleName(hashing ? SumListTexts::HashedFilesName()
                                     : SumListTexts::CheckedFilesName());
    algorithmLabel->setVisible(hashing);
    algorithmList->setVisible(hashing);
    if (hashing)
        algorithmList->setCurrentIndex(
            algorithmList->findData(static_cast<int>(request.algorithm)));
    for (QWidget* widget :
         {static_cast<QWidget*>(copyAllButton), static_cast<QWidget*>(formatLabel),
          static_cast<QWidget*>(formatList), static_cast<QWidget*>(saveButton)})
        widget->setVisible(hashing);
    againButton->setText(hashing ? SumListTexts::HashAgain() : SumListTexts::CheckAgain());
    FillFormats();
    progress->setValue(0);
    progress->setFormat(QString());
    elapsed.start();
    CSumListRun::Request asked = request;
    asked.ended = [this] {
        QMetaObject::invokeMethod(this, &CSumListWindow::Flush, Qt::QueuedConnection);
    };
    run = std::make_unique<CSumListRun>(std::move(asked));
    flushTimer->start();
    table->setFocus();  // arrows move through the rows at once
    RefreshButtons();
    ShowSummary();
}

void CSumListWindow::FillFormats() {
    const QVariant kept = formatList->currentData();
    formatList->clear();
    formatList->addItem(SumListTexts::GnuFormat(), static_cast<int>(SumFormat::Gnu));
    formatList->addItem(SumListTexts::BsdFormat(), static_cast<int>(SumFormat::Bsd));
    // SFV lists hold CRC-32 digests only.
    if (request.algorithm == Algorithm::Crc32)
        formatList->addItem(SumListTexts::SfvFormat(), static_cast<int>(SumFormat::Sfv));
    const int index = formatList->findData(kept);
    formatList->setCurrentIndex(index >= 0 ? index : 0);
}

void CSumListWindow::Flush() {
    if (!run) return;
    RunNews news = run->Take();
    const bool first = model->rowCount() == 0;
    model->Append(std::move(news.added));
    model->Apply(news.changed);
    model->SetReading(news.reading);
    if (first && model->rowCount() > 0) {
        table->resizeColumnsToContents();
        // A check's narrow columns leave room: the names take it, being what gets cut short.
        if (request.check) {
            int others = 0;
            for (int column = 1; column < model->columnCount(); ++column)
                others += table->columnWidth(column);
            table->setColumnWidth(
                0, std::max(table->columnWidth(0), table->viewport()->width() - others));
        }
    }
    if (!request.check) {
        title->setText(SumListTexts::HashTitle(model->Rows().size()));
        setWindowTitle(title->text());
    }
    if (news.listError != 0) {
        listError = true;
        note = SumListTexts::ListUnreadable(QString::fromStdString(FileErrorText(news.listError)));
    } else if (news.foreignList) {
        listError = true;
        note = SumListTexts::ListForeign(ShownName(LastPart(request.list)));
    }
    if (news.bytesTotal > 0) {
        progress->setValue(static_cast<int>(news.bytesDone * kProgressSteps / news.bytesTotal));
        progress->setFormat(
            DialogTexts::Progress(news.bytesDone, news.bytesTotal, elapsed.elapsed()));
    }
    if (news.ended) {
        flushTimer->stop();
        run.reset();
        progress->setValue(kProgressSteps);
        progress->setFormat(QString());
        if (request.check && !listError && model->Counts().improper == model->Rows().size())
            note = SumListTexts::NoChecksumLines();
        table->resizeColumnToContents(CSumListModel::StateColumn);
        RefreshButtons();
        ShowSummary();
        // Heard at once, wherever the focus is, as the dialog's verdict is.
        QAccessibleEvent alert(summary, QAccessible::Alert);
        QAccessible::updateAccessibility(&alert);
        return;
    }
    ShowSummary();
}

void CSumListWindow::ShowSummary() {
    const SumListTexts::Counts& counts = model->Counts();
    QString text =
        request.check ? SumListTexts::CheckSummary(counts) : SumListTexts::HashSummary(counts);
    if (!note.isEmpty()) text = note + QStringLiteral(". ") + text;
    summary->setText(text);
    summary->setAccessibleDescription(text);
}

QString CSumListWindow::SummaryText() const {
    return summary->text();
}

void CSumListWindow::RefreshButtons() {
    const bool running = run != nullptr;
    stopButton->setEnabled(running);
    againButton->setEnabled(!running);
    const bool any = model->Counts().ok > 0;
    copyAllButton->setEnabled(!running && any);
    saveButton->setEnabled(!running && any);
    copyButton->setEnabled(!SelectedRows().empty());
}

void CSumListWindow::OnStop() {
    if (run) run->Stop();
    stopped = true;
}

void CSumListWindow::OnAgain() {
    if (!run) Start();
}

std::vector<int> CSumListWindow::SelectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : table->selectionModel()->selectedRows())
        rows.push_back(filter->mapToSource(index).row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void CSumListWindow::CopySelectedLines() {
    QStringList lines;
    for (const int row : SelectedRows()) lines << model->LineOf(row);
    if (!lines.isEmpty()) QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')) + '\n');
}

void CSumListWindow::OnCopy() {
    // Hashing, the digests of the selected rows, as the dialog's Copy copies its digest; checking,
    // the rows' lines.
    if (request.check) {
        CopySelectedLines();
        return;
    }
    QStringList digests;
    for (const int row : SelectedRows())
        digests << QString::fromStdString(model->Rows()[static_cast<std::size_t>(row)].digest);
    if (!digests.isEmpty()) QApplication::clipboard()->setText(digests.join(QLatin1Char('\n')));
}

void CSumListWindow::OnCopyAll() {
    QString text;
    for (int row = 0; row < model->rowCount(); ++row)
        if (model->Rows()[static_cast<std::size_t>(row)].state == RowState::Ok)
            text += model->LineOf(row) + QLatin1Char('\n');
    QApplication::clipboard()->setText(text);
}

void CSumListWindow::OnSave() {
    // A name the sum-file search and the file managers know: "SHA256SUMS", "checksums.sfv".
    const AlgorithmFacts& facts = Facts(request.algorithm);
    std::string name = "CHECKSUMS";
    AnyWordOf(facts.sumFileNames, [&](std::string_view listName) {
        name = listName;
        return true;
    });
    if (facts.sumFileNames.empty())
        AnyWordOf(facts.sumFileEndings, [&](std::string_view ending) {
            name = "checksums" + std::string(ending);
            return true;
        });
    const std::string firstFile = model->Rows().empty() ? std::string() : model->Rows()[0].name;
    std::filesystem::path folder = std::filesystem::path(firstFile).parent_path();
    const std::optional<QString> chosen = saveChooser(this, ShownName((folder / name).string()));
    if (!chosen) return;
    SaveTo(BytesOfChosen(*chosen), static_cast<SumFormat>(formatList->currentData().toInt()));
}

bool CSumListWindow::SaveTo(const std::string& path, SumFormat format) {
    std::error_code failed;
    const std::filesystem::path folder =
        std::filesystem::absolute(std::filesystem::path(path), failed).parent_path();
    std::string text;
    std::size_t lines = 0;
    SumLineStyle style;
    style.format = format;
    for (const ListRow& row : model->Rows()) {
        if (row.state != RowState::Ok || !row.algorithm) continue;
        // Names relative to the list's folder, so the list checks wherever the tree goes.
        const std::filesystem::path file = std::filesystem::absolute(row.name, failed);
        std::string name = file.lexically_relative(folder).string();
        if (name.empty()) name = file.string();
        text += FormatSumLine(*row.algorithm, row.digest, name, style);
        ++lines;
    }
    QSaveFile out(QFile::decodeName(QByteArray::fromStdString(path)));
    const bool saved = out.open(QIODevice::WriteOnly) &&
                       out.write(text.data(), static_cast<qint64>(text.size())) ==
                           static_cast<qint64>(text.size()) &&
                       out.commit();
    note = saved ? SumListTexts::Saved(ShownName(path), lines)
                 : SumListTexts::NotSaved(ShownName(path), out.errorString());
    ShowSummary();
    return saved;
}

void CSumListWindow::WaitForIdle() {
    // The flush timer wakes the loop while a run is on; no turn spins a core the run could use.
    while (run) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

std::optional<QString> CSumListWindow::RunSaveChooser(QWidget* owner, const QString& suggested) {
    QFileDialog chooser(owner, SumListTexts::SaveTitle());
    chooser.setObjectName(QStringLiteral("saveListDialog"));
    chooser.setAcceptMode(QFileDialog::AcceptSave);
    chooser.selectFile(suggested);
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty())
        return std::nullopt;
    return chooser.selectedFiles().front();
}
