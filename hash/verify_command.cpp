// The verifying hash commands.
#include "verify_command.h"

#include "sum_file_search.h"

namespace {

VerifiedRun Verify(DialogControls& dialog, HashRequest& request, const ExpectedDigest& expected) {
    const int selected = dialog.GetSelectedIndex();
    const std::optional<Algorithm> preferred =
        selected >= 0 && selected < static_cast<int>(kAlgorithmList.size())
            ? std::optional(kAlgorithmList[static_cast<std::size_t>(selected)].algorithm)
            : std::nullopt;
    const HashOutcome& outcome = request.ComputeEach(expected.candidates);
    VerifiedRun run;
    if (!outcome.ok()) {
        // No digest, as the command would have it; the list keeps what the user chose.
        SelectAlgorithm(selected, request);
        return run;
    }
    run.verdict = Judge(expected, expected.candidates, outcome.digests, preferred);
    run.shownIndex = ListIndexOf(run.verdict->algorithm);
    SelectAlgorithm(run.shownIndex, request);
    dialog.SetControlText(kOutputBoxId, run.verdict->actual);
    return run;
}

}  // namespace

int ListIndexOf(Algorithm algorithm) {
    for (std::size_t i = 0; i < kAlgorithmList.size(); ++i)
        if (kAlgorithmList[i].algorithm == algorithm) return static_cast<int>(i);
    return -1;
}

VerifiedRun OnHashFileVerifying(DialogControls& dialog, HashRequest& request,
                                std::optional<ExpectedDigest> expected, bool lookBeside) {
    const std::string path = dialog.GetControlText(kFilePathBoxId);
    if (!expected && lookBeside) expected = FindSumFileBeside(path);
    if (!expected) {
        OnHashFile(dialog, request);
        return {};
    }
    dialog.SetControlText(kOutputBoxId, std::string());
    request.SetSource(kSourceFile);
    request.SetFilePath(path);
    return Verify(dialog, request, *expected);
}

VerifiedRun OnHashStringVerifying(DialogControls& dialog, HashRequest& request,
                                  std::optional<ExpectedDigest> expected) {
    if (!expected) {
        OnHashString(dialog, request);
        return {};
    }
    dialog.SetControlText(kOutputBoxId, std::string());
    request.SetSource(kSourceText);
    request.SetInputText(dialog.GetControlText(kStringBoxId));
    return Verify(dialog, request, *expected);
}
