// The two hash commands against a fake dialog: the index mapping, which boxes each command reads,
// and the output box replaced rather than appended to.
#include "hash_commands.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "temp_file.h"

namespace {

class FakeDialog : public DialogControls {
public:
    std::string GetControlText(int id) const override {
        reads.push_back(id);
        auto it = texts.find(id);
        return it == texts.end() ? std::string() : it->second;
    }
    void SetControlText(int id, const std::string& text) override {
        writes.push_back(id);
        texts[id] = text;
    }
    int GetSelectedIndex() const override { return selected; }

    std::map<int, std::string> texts;
    int selected = 5;
    mutable std::vector<int> reads;
    std::vector<int> writes;
};

// What the request computes when set up directly, without the commands.
std::string Direct(int32_t algorithm, int32_t width, int32_t source, const std::string& input) {
    HashRequest request;
    request.SetSource(source);
    if (source == kSourceFile)
        request.SetFilePath(input);
    else
        request.SetInputText(input);
    request.SetAlgorithm(algorithm);
    request.SetSha2Width(width);
    return request.Compute();
}

struct Row {
    int index;
    int32_t algorithm;  // 0 or less: nothing to compute
    int32_t width;
};
// The list's index mapping; outside SHA-2 the width stays at its initial 256.
constexpr Row kRows[] = {
    {-1, 0, 256},
    {0, 1, 256},
    {1, 2, 256},
    {2, 3, 256},
    {3, 4, 256},
    {4, 5, 256},
    {5, 6, 256},
    {6, 7, 256},
    {7, 7, 384},
    {8, 7, 512},
    {static_cast<int>(kAlgorithmCount), 0, 256},
    {1000, 0, 256},
};

}  // namespace

TEST(HashCommands, EveryIndexOfTheMappingForStrings) {
    for (const auto& row : kRows) {
        FakeDialog dialog;
        HashRequest request;
        dialog.texts[kStringBoxId] = "abc";
        dialog.texts[kOutputBoxId] = "stale";
        dialog.selected = row.index;
        OnHashString(dialog, request);
        const std::string expected =
            row.algorithm > 0 ? Direct(row.algorithm, row.width, kSourceText, "abc") : "";
        EXPECT_EQ(dialog.texts[kOutputBoxId], expected) << "index " << row.index;
        if (row.index == 0) {
            EXPECT_EQ(expected, "352441c2");
        }
    }
}

TEST(HashCommands, EveryIndexOfTheMappingForFiles) {
    TempDir dir;
    const std::string path = dir.WriteFile("abc", "abc");
    for (const auto& row : kRows) {
        FakeDialog dialog;
        HashRequest request;
        dialog.texts[kFilePathBoxId] = path;
        dialog.selected = row.index;
        OnHashFile(dialog, request);
        const std::string expected =
            row.algorithm > 0 ? Direct(row.algorithm, row.width, kSourceFile, path) : "";
        EXPECT_EQ(dialog.texts[kOutputBoxId], expected) << "index " << row.index;
        EXPECT_EQ(request.GetFilePath(), path);
    }
}

TEST(HashCommands, NoSelectionComputesNothingEvenAfterAResult) {
    FakeDialog dialog;
    HashRequest request;
    dialog.texts[kStringBoxId] = "abc";
    dialog.selected = 0;
    OnHashString(dialog, request);
    ASSERT_EQ(dialog.texts[kOutputBoxId], "352441c2");
    dialog.selected = -1;
    OnHashString(dialog, request);
    EXPECT_EQ(dialog.texts[kOutputBoxId], "");
    EXPECT_EQ(request.GetOutputText(), "");
}

TEST(HashCommands, EachCommandReadsOnlyItsOwnBox) {
    FakeDialog dialog;
    HashRequest request;
    dialog.selected = 0;
    dialog.texts[kStringBoxId] = "abc";
    dialog.texts[kFilePathBoxId] = "/nonexistent/path";
    OnHashString(dialog, request);
    EXPECT_EQ(dialog.reads, std::vector<int>{kStringBoxId});
    EXPECT_EQ(request.GetFilePath(), "");  // "Hash string" leaves the path as it was

    dialog.reads.clear();
    OnHashFile(dialog, request);
    EXPECT_EQ(dialog.reads, std::vector<int>{kFilePathBoxId});
    EXPECT_EQ(dialog.texts[kOutputBoxId], "");  // no CRC for a missing file
    EXPECT_EQ(request.GetFilePath(), "/nonexistent/path");

    // "Hash file" kept the text: hashing the string again needs no new read of the path box.
    dialog.reads.clear();
    OnHashString(dialog, request);
    EXPECT_EQ(dialog.texts[kOutputBoxId], "352441c2");
}

TEST(HashCommands, OutputIsClearedFirstThenReplaced) {
    TempDir dir;
    FakeDialog dialog;
    HashRequest request;
    dialog.selected = 0;
    dialog.texts[kStringBoxId] = "abc";
    dialog.texts[kFilePathBoxId] = dir.WriteFile("a", "a");
    OnHashString(dialog, request);
    EXPECT_EQ(dialog.writes, (std::vector<int>{kOutputBoxId, kOutputBoxId}));
    OnHashFile(dialog, request);
    EXPECT_EQ(dialog.texts[kOutputBoxId], "e8b7be43");
    OnHashString(dialog, request);
    EXPECT_EQ(dialog.texts[kOutputBoxId], "352441c2");
}

TEST(HashCommands, TextIsHashedExactlyAsTheBoxHoldsIt) {
    FakeDialog dialog;
    HashRequest request;
    dialog.selected = 0;
    for (const auto& [text, crc] :
         {std::pair<std::string, std::string>{" abc ", "ba944f9d"}, {"", "00000000"}}) {
        dialog.texts[kStringBoxId] = text;
        OnHashString(dialog, request);
        EXPECT_EQ(dialog.texts[kOutputBoxId], crc) << "'" << text << "'";
    }
}

TEST(HashCommands, EmptyPathBoxShowsNothing) {
    for (int index : {0, 4, 5, 8}) {
        FakeDialog dialog;
        HashRequest request;
        dialog.selected = index;
        OnHashFile(dialog, request);
        EXPECT_EQ(dialog.texts[kOutputBoxId], "") << index;
    }
}
