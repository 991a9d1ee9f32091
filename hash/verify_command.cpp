// The verifying hash commands.
#include "verify_command.h"

#include <algorithm>

#include "file_source.h"

namespace {

std::optional<Algorithm> SelectedAlgorithm(int selected) {
    if (selected < 0 || selected >= static_cast<int>(kAlgorithmList.size())) return std::nullopt;
    return kAlgorithmList[static_cast<std::size_t>(selected)].algorithm;
}

// A regular file reads the same twice; a pipe or a device may not, so each of those is hashed
// with every candidate in its one read.
bool ReadsAgain(const HashRequest& request, bool file) {
    if (!file) return true;
    return RegularFileSize(request.GetFilePath()).has_value();
}

bool Verify(DialogControls& dialog, HashRequest& request, const ExpectedDigest& expected,
            const ExpectedSources& sources, bool file, VerifiedRun& run) {
    const int selected = dialog.GetSelectedIndex();
    const std::optional<Algorithm> preferred = SelectedAlgorithm(selected);
    const std::vector<Algorithm> order =
        LikeliestFirst(expected.candidates, preferred, sources.recentMatches);
    std::vector<std::string> digests;
    const bool oneAtATime = order.size() > 1 && ReadsAgain(request, file);
    for (std::size_t i = 0; i < order.size();) {
        const std::size_t count = oneAtATime ? 1 : order.size();
        const std::span<const Algorithm> now(order.data() + i, count);
        if (i > 0 && sources.onRetry) sources.onRetry(order[i - 1], std::span(order).subspan(i));
        const HashOutcome& outcome = request.ComputeEach(now, expected.digestBytes);
        if (!outcome.ok()) {
            // No digest, as the command would have it; the list keeps what the user chose.
            SelectAlgorithm(selected, request);
            return false;
        }
        run.tried.insert(run.tried.end(), now.begin(), now.end());
        digests.insert(digests.end(), outcome.digests.begin(), outcome.digests.end());
        i += count;
        if (std::find(digests.begin(), digests.end(), expected.digest) != digests.end()) break;
    }
    ExpectedDigest judged = expected;
    judged.candidates = run.tried;
    run.verdict = Judge(judged, run.tried, digests, preferred);
    run.shownIndex = ListIndexOf(run.verdict->algorithm);
    SelectAlgorithm(run.shownIndex, request);
    dialog.SetControlText(kOutputBoxId, run.verdict->actual);
    return true;
}

}  // namespace

std::vector<Algorithm> LikeliestFirst(std::span<const Algorithm> candidates,
                                      std::optional<Algorithm> selected,
                                      std::span<const Algorithm> recentMatches) {
    std::vector<Algorithm> order;
    const auto take = [&](Algorithm algorithm) {
        if (std::find(candidates.begin(), candidates.end(), algorithm) != candidates.end() &&
            std::find(order.begin(), order.end(), algorithm) == order.end())
            order.push_back(algorithm);
    };
    if (selected) take(*selected);
    for (Algorithm recent : recentMatches) take(recent);
    for (Algorithm candidate : candidates) take(candidate);
    return order;
}

int ListIndexOf(Algorithm algorithm) {
    for (std::size_t i = 0; i < kAlgorithmList.size(); ++i)
        if (kAlgorithmList[i].algorithm == algorithm) return static_cast<int>(i);
    return -1;
}

VerifiedRun OnHashFileVerifying(DialogControls& dialog, HashRequest& request,
                                const ExpectedSources& sources) {
    const std::string path = dialog.GetControlText(kFilePathBoxId);
    VerifiedRun run;
    std::optional<ExpectedDigest> expected = sources.field;
    if (!expected && sources.lookBeside && !path.empty()) {
        BesideSearch beside = SearchBeside(path);
        run.searchedBeside = true;
        run.listedBeside = beside.expected.has_value();
        run.skipped = std::move(beside.skipped);
        expected = std::move(beside.expected);
        run.clipboardDisagrees =
            expected && sources.clipboard && sources.clipboard->digest != expected->digest;
    }
    if (!expected) expected = sources.clipboard;
    if (!expected) {
        OnHashFile(dialog, request);
        return run;
    }
    dialog.SetControlText(kOutputBoxId, std::string());
    request.SetSource(kSourceFile);
    request.SetFilePath(path);
    Verify(dialog, request, *expected, sources, true, run);
    return run;
}

VerifiedRun OnHashStringVerifying(DialogControls& dialog, HashRequest& request,
                                  const ExpectedSources& sources) {
    VerifiedRun run;
    // A line for a file, left in the field from verifying one, is not the string's digest.
    run.fieldNamesFile = sources.field && !sources.field->listedName.empty();
    const std::optional<ExpectedDigest>& expected =
        sources.field && !run.fieldNamesFile ? sources.field : sources.clipboard;
    if (!expected || run.fieldNamesFile) {
        OnHashString(dialog, request);
        return run;
    }
    dialog.SetControlText(kOutputBoxId, std::string());
    request.SetSource(kSourceText);
    request.SetInputText(dialog.GetControlText(kStringBoxId));
    Verify(dialog, request, *expected, sources, false, run);
    return run;
}
