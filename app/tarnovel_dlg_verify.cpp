// The main dialog's verdicts: what an ended run's verification found, on the result line, and
// the mark in the output box where a mismatch's digests first differ.
#include <QFileDialog>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextEdit>

#include "byte_names.h"
#include "result_line.h"
#include "tarnovel_dlg.h"
#include "verdict_line.h"
#include "verification_row.h"
#include "verify_texts.h"

void CTarnovelDlg::ShowVerdict(const VerifiedRun& verified, const CHashJob::Input& input) {
    CVerdictLine* line = resultLine->Verdict();
    verdictDifference.reset();
    if (!verified.verdict) {
        if (verificationRow->NotRecognised()) {
            ShowNotice(VerifyTexts::NotRecognised());
        } else if (verified.fieldNamesFile) {
            ShowNotice(VerifyTexts::FieldNamesFile(
                ShownName(input.sources.field ? input.sources.field->listedName : std::string())));
        } else {
            line->Clear();
            verificationRow->VerdictShown(QString());
        }
        return;
    }
    const Verdict& verdict = *verified.verdict;
    verdictDifference = verdict.firstDifference;
    // A digest from the clipboard or a sum file is shown, greyed, in the empty field: both
    // digests are in sight.
    verificationRow->VerdictShown(verdict.source != ExpectedSource::Field
                                      ? QString::fromStdString(verdict.expected)
                                      : QString());
    const std::optional<ExpectedDigest>& used =
        verdict.source == ExpectedSource::Field       ? input.sources.field
        : verdict.source == ExpectedSource::Clipboard ? input.sources.clipboard
                                                      : std::optional<ExpectedDigest>();
    const QString listed = used ? ShownName(used->listedName) : QString();
    const VerifyTexts::Verdict text = VerifyTexts::Describe(verdict, verified, input.file, listed,
                                                            ShownName(LastPart(input.filePath)));
    line->ShowVerdict(verdict.matches ? CVerdictLine::Kind::Match : CVerdictLine::Kind::Mismatch,
                      text.sentences, text.full);
}

void CTarnovelDlg::ShowNotice(const QString& text) {
    if (IsBusy()) return;
    verdictDifference.reset();
    verificationRow->VerdictShown(QString());
    resultLine->Verdict()->ShowVerdict(CVerdictLine::Kind::Notice, {text});
    RefreshStatus();
}

void CTarnovelDlg::RefreshVerdict(bool inputsChanged) {
    if (resultLine == nullptr || verificationRow == nullptr) return;  // still being built
    const CVerdictLine* line = resultLine->Verdict();
    const bool shown = line->GetKind() != CVerdictLine::Kind::None &&
                       verificationRow->VerdictCurrent() &&
                       (!inputsChanged || line->GetKind() == CVerdictLine::Kind::Notice);
    if (shown) {
        resultLine->ShowVerdictPage();
    } else {
        resultLine->ShowStatusPage();
    }
    // A mismatch marks the output box's digest from where it first differs: underlined as well
    // as coloured, so the mark shows in grey too.
    QList<QTextEdit::ExtraSelection> marks;
    if (shown && line->GetKind() == CVerdictLine::Kind::Mismatch && verdictDifference) {
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
    verificationRow->ShowPlaceholder(shown);
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
