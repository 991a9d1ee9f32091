// The main dialog's verification row: the Expected hash field and its "Sum file..." button below
// the described controls, what a run verifies against, and the verdict line in the status line's
// place.
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextEdit>

#include "dialog_font.h"
#include "dialog_texts.h"
#include "expected_field.h"
#include "status_line.h"
#include "sum_file_search.h"
#include "tarnovel_dlg.h"
#include "verdict_line.h"
#include "verify_texts.h"

namespace {

std::string ToStd(const QString& text) {
    return text.toStdString();
}

// The name a sum file lists the file by: the last part of the path.
std::string FileNameOf(const std::string& path) {
    return ToStd(QFileInfo(QString::fromStdString(path)).fileName());
}

// The line an expected digest puts into the field: with the tag when it names one algorithm,
// so reading it back gives the same candidates.
QString LineOf(const ExpectedDigest& expected) {
    SumLineStyle style;
    style.format = expected.candidates.size() == 1 ? SumFormat::Bsd : SumFormat::Gnu;
    std::string line =
        FormatSumLine(expected.candidates.front(), expected.digest, expected.listedName, style);
    line.pop_back();  // the line end
    return QString::fromStdString(line);
}

}  // namespace

void CTarnovelDlg::BuildVerification() {
    const DialogBaseUnits units = BaseUnitsOf(font());
    auto* label = new QLabel(VerifyTexts::ExpectedLabel(), this);
    label->setObjectName(QStringLiteral("expectedLabel"));
    // The label as wide as its text in this language needs; the field takes the rest of the row.
    const QRect labelCell = MapDialogRect(units, 7, 218, 57, 8);
    label->setGeometry(
        QRect(labelCell.topLeft(), QSize(label->sizeHint().width(), labelCell.height())));
    expectedBox = new CExpectedField(this);
    QRect fieldCell = MapDialogRect(units, 66, 215, 171, 14);
    fieldCell.setLeft(label->geometry().right() + 1 + MapDialogSize(units, 2, 0).width());
    expectedBox->setGeometry(fieldCell);
    label->setBuddy(expectedBox);
    expectedBox->setAccessibleName(DialogTexts::NameFromLabel(label->text()));
    sumFileButton = new QPushButton(VerifyTexts::SumFileButton(), this);
    sumFileButton->setObjectName(QStringLiteral("sumFileButton"));
    sumFileButton->setAccessibleName(VerifyTexts::SumFileButtonName());
    sumFileButton->setGeometry(MapDialogRect(units, 243, 215, 50, 14));
    for (QWidget* plain : {static_cast<QWidget*>(label), static_cast<QWidget*>(sumFileButton)})
        plain->setContextMenuPolicy(Qt::NoContextMenu);  // the dialog's window menu instead
    connect(sumFileButton, &QPushButton::clicked, this, &CTarnovelDlg::OnChooseSumFile);
    connect(expectedBox, &CExpectedField::SumFileDropped, this, &CTarnovelDlg::TakeSumFile);
    connect(expectedBox, &QLineEdit::textChanged, this, &CTarnovelDlg::RefreshStatus);

    verdictLine = new CVerdictLine(this);
    verdictLine->setGeometry(MapDialogRect(units, 15, 175, 211, 9));
    verdictLine->hide();
}

void CTarnovelDlg::SetSumFileChooser(FileChooser chooser) {
    sumFileChooser = std::move(chooser);
}

void CTarnovelDlg::OnChooseSumFile() {
    const QString folder = QFileInfo(filePathBox->text()).absolutePath();
    if (const std::optional<QString> chosen = sumFileChooser(this, folder)) TakeSumFile(*chosen);
}

void CTarnovelDlg::TakeSumFile(const QString& path) {
    if (IsBusy()) return;
    const QString sumName = QFileInfo(path).fileName();
    const QString fileName = QFileInfo(filePathBox->text()).fileName();
    const SumFileResult read = ReadSumFile(ToStd(path), ToStd(fileName));
    if (!read.expected) {
        verdictFieldText = expectedBox->text();
        verdictLine->ShowVerdict(CVerdictLine::Kind::Notice,
                                 read.readable ? VerifyTexts::SumFileLacks(sumName, fileName)
                                               : VerifyTexts::SumFileUnreadable(sumName),
                                 QString());
        RefreshStatus();
        return;
    }
    const QString line = LineOf(*read.expected);
    fieldFromSumFile = FieldFromSumFile{line, *read.expected};
    verdictLine->Clear();
    expectedBox->setText(line);
    expectedBox->setCursorPosition(0);
}

void CTarnovelDlg::TakeExpected(CHashJob::Input& input) {
    expectedNotRecognised = false;
    const std::string fileName = input.file ? FileNameOf(input.filePath) : std::string();
    const QString field = expectedBox->text();
    if (!field.trimmed().isEmpty()) {
        if (fieldFromSumFile && fieldFromSumFile->text == field) {
            input.expected = fieldFromSumFile->expected;
        } else {
            input.expected = ParseExpectedText(ToStd(field), fileName, ExpectedSource::Field);
        }
        // Text that is no digest is said so, not passed over for the clipboard or a sum file.
        expectedNotRecognised = !input.expected;
        input.lookBeside = false;
        return;
    }
    const QString copied = QGuiApplication::clipboard()->text();
    // The string being hashed, copied to paste it, is not what it should hash to.
    if (copied.isEmpty() || (!input.file && copied == stringBox->text())) return;
    input.expected = ParseExpectedText(ToStd(copied), fileName, ExpectedSource::Clipboard);
}

void CTarnovelDlg::ShowVerdict(const VerifiedRun& verified, const CHashJob::Input& input) {
    verdictFieldText = expectedBox->text();
    verdictDifference.reset();
    verdictPlaceholder.clear();
    if (!verified.verdict) {
        if (expectedNotRecognised)
            verdictLine->ShowVerdict(CVerdictLine::Kind::Notice, VerifyTexts::NotRecognised(),
                                     QString());
        else
            verdictLine->Clear();
        return;
    }
    const Verdict& verdict = *verified.verdict;
    verdictDifference = verdict.firstDifference;
    // A digest from the clipboard or a sum file is shown, greyed, in the empty field: both
    // digests are in sight.
    if (verdict.source != ExpectedSource::Field)
        verdictPlaceholder = QString::fromStdString(verdict.expected);
    const QString listed =
        input.expected ? QString::fromStdString(input.expected->listedName) : QString();
    const VerifyTexts::Verdict text = VerifyTexts::Describe(
        verdict, input.file, listed, QString::fromStdString(FileNameOf(input.filePath)));
    verdictLine->ShowVerdict(
        verdict.matches ? CVerdictLine::Kind::Match : CVerdictLine::Kind::Mismatch, text.shown,
        text.full);
}

void CTarnovelDlg::RefreshVerdict(bool inputsChanged) {
    if (verdictLine == nullptr) return;  // still being built
    const bool running = IsBusy();
    const bool shown = !running && verdictLine->GetKind() != CVerdictLine::Kind::None &&
                       expectedBox->text() == verdictFieldText &&
                       (!inputsChanged || verdictLine->GetKind() == CVerdictLine::Kind::Notice);
    verdictLine->setVisible(shown);
    if (!running) statusLine->setVisible(!shown);
    // A mismatch marks the output box's digest from where it first differs: underlined as well
    // as coloured, so the mark shows in grey too.
    QList<QTextEdit::ExtraSelection> marks;
    if (shown && verdictLine->GetKind() == CVerdictLine::Kind::Mismatch && verdictDifference) {
        QTextEdit::ExtraSelection mark;
        mark.cursor = QTextCursor(outputBox->document());
        mark.cursor.setPosition(static_cast<int>(*verdictDifference));
        mark.cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        mark.format.setForeground(QColor(0xb0, 0x1e, 0x1e));
        mark.format.setBackground(QColor(0xfb, 0xe4, 0xe4));
        mark.format.setFontUnderline(true);
        marks.append(mark);
    }
    outputBox->setExtraSelections(marks);
    expectedBox->setPlaceholderText(shown ? verdictPlaceholder : QString());
}

std::optional<QString> CTarnovelDlg::RunSumFileChooser(QWidget* owner, const QString& folder) {
    QFileDialog chooser(owner, VerifyTexts::SumFileButtonName(), folder);
    chooser.setObjectName(QStringLiteral("sumFileDialog"));
    chooser.setAcceptMode(QFileDialog::AcceptOpen);
    chooser.setFileMode(QFileDialog::ExistingFile);
    chooser.setNameFilter(VerifyTexts::SumFileFilter());
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty())
        return std::nullopt;
    return chooser.selectedFiles().front();
}
