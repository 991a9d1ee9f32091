// The main dialog's runs: a hash command started over a snapshot of the controls, and how it
// ended shown in the output box, the list and the result line.
#include <QComboBox>
#include <QLineEdit>
#include <chrono>
#include <memory>
#include <utility>

#include "byte_names.h"
#include "dialog_texts.h"
#include "hash_job.h"
#include "result_line.h"
#include "run_controller.h"
#include "run_status.h"
#include "status_line.h"
#include "tarnovel_dlg.h"
#include "verdict_line.h"
#include "verification_row.h"
#include "verify_texts.h"

namespace {

QString FromStd(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

void CTarnovelDlg::OnHashFile() {
    StartCommand(true);
}

void CTarnovelDlg::OnHashString() {
    StartCommand(false);
}

void CTarnovelDlg::OpenFile(const std::string& path) {
    SetControlText(kFilePathBoxId, path);
    OnHashFile();
}

void CTarnovelDlg::StartCommand(bool file) {
    if (IsBusy()) return;
    CHashJob::Input input;
    input.file = file;
    input.filePath = GetControlText(kFilePathBoxId);
    input.text = GetControlText(kStringBoxId);
    input.selectedIndex = GetSelectedIndex();
    if (file) lastFilePath = input.filePath;
    input.sources = verificationRow->TakeSources(file, LastPart(input.filePath), stringBox->text());
    input.sources.recentMatches = recentMatches;
    resultLine->Verdict()->Clear();
    verdictDifference.reset();
    // The commands clear the box first; done here so it is empty while the worker runs.
    SetControlText(kOutputBoxId, std::string());
    shownInputs.reset();
    runStatus.clear();
    const std::optional<ExpectedDigest>& typed = input.sources.field;
    const std::optional<Algorithm> selected =
        input.selectedIndex >= 0
            ? std::optional(kAlgorithmList[std::size_t(input.selectedIndex)].algorithm)
            : std::nullopt;
    resultLine->ShowStatus(DialogTexts::Hashing(
        InputName(file, filePathBox->text()),
        typed ? VerifyTexts::AlgorithmNames(
                    {LikeliestFirst(typed->candidates, selected, recentMatches).front()})
              : algorithmList->currentText()));
    run->Start(input, request);
}

void CTarnovelDlg::OnStop() {
    run->Stop(kGraceMs);
}

void CTarnovelDlg::ShowEnded(const CRunController::Ended& ended) {
    const CHashJob::Input& input = ended.job.GetInput();
    RunFacts facts = ended.facts;
    const VerifiedRun* verified = nullptr;
    if (ended.finished) {
        const CHashJob::Result& result = ended.job.GetResult();
        request = result.request;
        SetControlText(kOutputBoxId, result.output);
        verified = &result.verified;
    } else {
        SetControlText(kOutputBoxId, std::string());
    }
    // A verdict's digest may be of another algorithm than the one chosen: the list follows it,
    // so the list and the output box never disagree.
    const bool verdict = verified != nullptr && verified->verdict.has_value();
    const int shownIndex = verdict ? verified->shownIndex : input.selectedIndex;
    if (verdict) SelectListEntry(shownIndex);
    if (verdict && verified->verdict->matches) {
        std::erase(recentMatches, verified->verdict->algorithm);
        recentMatches.insert(recentMatches.begin(), verified->verdict->algorithm);
    }
    facts.file = input.file;
    facts.filePath = ShownName(input.filePath);
    facts.algorithm = verdict ? VerifyTexts::VerdictAlgorithm(*verified->verdict)
                              : algorithmList->itemText(algorithmList->findData(shownIndex));
    if (input.file && input.filePath.empty()) facts.end = RunEnd::NoFileGiven;
    runStatus = RunStatus(facts);
    // Verifying found nothing to compare with: said, never silent.
    if (verified != nullptr && !verdict && facts.end == RunEnd::Digest &&
        verified->searchedBeside && !verified->listedBeside) {
        runStatus = VerifyTexts::Unverified(
            runStatus, VerifyTexts::Skipped(verified->skipped),
            VerifyTexts::NoSumFileLists(ShownName(LastPart(input.filePath))));
    }
    shownInputs = RunInputs{input.file, input.filePath, FromStd(input.text), shownIndex};
    ShowVerdict(verified != nullptr ? *verified : VerifiedRun(), input);
    RefreshStatus();
}

void CTarnovelDlg::RefreshStatus() {
    if (IsBusy()) return;
    QString text = runStatus;
    bool changed = false;
    if (shownInputs) {
        const RunInputs& of = *shownInputs;
        changed = GetSelectedIndex() != of.selectedIndex ||
                  (of.file ? GetControlText(kFilePathBoxId) != of.filePath
                           : stringBox->text() != of.text);
        if (changed) text = DialogTexts::EarlierInput(text);
    }
    resultLine->Status()->SetStatus(text);
    RefreshVerdict(changed);
}

void CTarnovelDlg::WaitForIdle() {
    run->WaitForIdle();
}

void CTarnovelDlg::done(int result) {
    run->Stop(kGraceMs);
    QDialog::done(result);
}
