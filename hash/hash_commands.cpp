// "Hash file" and "Hash string": controls into the request, Compute, result into the output box.
#include "hash_commands.h"

namespace {

void RunCommand(DialogControls& dialog, HashRequest& request) {
    const std::string result =
        SelectAlgorithm(dialog.GetSelectedIndex(), request) ? request.Compute() : std::string();
    dialog.SetControlText(kOutputBoxId, result);
}

}  // namespace

bool SelectAlgorithm(int index, HashRequest& request) {
    // Signed on purpose: no selection (-1) maps to algorithm 0, which computes nothing.
    if (index < 0) {
        request.SetAlgorithm(index + 1);
        return true;
    }
    if (index >= static_cast<int>(kAlgorithmList.size())) return false;
    const AlgorithmListEntry& entry = kAlgorithmList[static_cast<std::size_t>(index)];
    request.SetAlgorithm(entry.hashAlgorithm);
    if (entry.sha2Width != 0) request.SetSha2Width(entry.sha2Width);
    return true;
}

void OnHashFile(DialogControls& dialog, HashRequest& request) {
    dialog.SetControlText(kOutputBoxId, std::string());
    request.SetSource(kSourceFile);
    request.SetFilePath(dialog.GetControlText(kFilePathBoxId));
    RunCommand(dialog, request);
}

void OnHashString(DialogControls& dialog, HashRequest& request) {
    dialog.SetControlText(kOutputBoxId, std::string());
    request.SetSource(kSourceText);
    request.SetInputText(dialog.GetControlText(kStringBoxId));
    RunCommand(dialog, request);
}
