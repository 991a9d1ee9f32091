// HashRequest: setters, dispatch, the CRC-32 path with files that cannot be read, fresh output
// on every computation, progress and cancellation.
#include "hash_request.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <utility>
#include <vector>

#include "temp_file.h"
#include "vectors.h"

namespace {

std::string CrcOfText(const std::string& text) {
    HashRequest request;
    request.SetAlgorithm(kAlgorithmCrc32);
    request.SetInputText(text);
    return request.Compute();
}

std::string CrcOfFile(const std::string& path) {
    HashRequest request;
    request.SetAlgorithm(kAlgorithmCrc32);
    request.SetSource(kSourceFile);
    request.SetFilePath(path);
    return request.Compute();
}

}  // namespace

TEST(HashRequest, SourceOtherThanFileHashesTheText) {
    TempDir dir;
    HashRequest request;
    request.SetAlgorithm(kAlgorithmCrc32);
    request.SetInputText("abc");
    request.SetFilePath(dir.WriteFile("a", "a"));
    for (int32_t source : {3, 0, -1, 1}) {
        request.SetSource(source);
        EXPECT_EQ(request.Compute(), "352441c2") << source;
    }
    request.SetSource(kSourceFile);
    EXPECT_EQ(request.Compute(), "e8b7be43");
}

TEST(HashRequest, GetFilePathAndInputTextAreReplaced) {
    HashRequest request;
    EXPECT_EQ(request.GetFilePath(), "");
    request.SetFilePath(" /tmp/with spaces \"quoted\" ");
    EXPECT_EQ(request.GetFilePath(), " /tmp/with spaces \"quoted\" ");
    request.SetAlgorithm(kAlgorithmCrc32);
    request.SetInputText("a longer text first");
    request.SetInputText("abc");
    EXPECT_EQ(request.Compute(), "352441c2");
}

TEST(HashRequest, AlgorithmsOutsideTheListComputeNothing) {
    for (int32_t algorithm : {0, 8, -1, 100}) {
        HashRequest request;
        request.SetAlgorithm(kAlgorithmCrc32);
        request.SetInputText("abc");
        ASSERT_EQ(request.Compute(), "352441c2");
        request.SetAlgorithm(algorithm);
        EXPECT_EQ(request.Compute(), "") << algorithm;
        EXPECT_EQ(request.GetOutputText(), "") << algorithm;
    }
}

TEST(HashRequest, ComputationsNeverAccumulate) {
    HashRequest request;
    request.SetAlgorithm(kAlgorithmCrc32);
    request.SetInputText("a");
    EXPECT_EQ(request.Compute(), "e8b7be43");
    request.SetInputText("abc");
    EXPECT_EQ(request.Compute(), "352441c2");
    EXPECT_EQ(request.Compute(), "352441c2");
    EXPECT_EQ(request.GetOutputText(), "352441c2");
}

TEST(HashRequest, CrcOfTexts) {
    const struct {
        std::string text;
        const char* crc;
    } cases[] = {
        {"", "00000000"},
        {"123456789", "cbf43926"},
        {std::string("ab\0cd", 5), "f7500b4d"},  // the whole text, not up to the zero byte
        {" abc ", "ba944f9d"},
    };
    for (const auto& c : cases) EXPECT_EQ(CrcOfText(c.text), c.crc) << ToHex(c.text);
}

TEST(HashRequest, CrcOfFiles) {
    TempDir dir;
    const struct {
        const char* name;
        std::string path;
        const char* crc;
    } cases[] = {
        {"zero-byte file", dir.WriteFile("empty", ""), "00000000"},
        {"digits", dir.WriteFile("digits", "123456789"), "cbf43926"},
        {"zero byte inside", dir.WriteFile("nul", std::string("ab\0cd", 5)), "f7500b4d"},
        // No CRC for what could not be read: these must not pass for a zero-byte file.
        {"empty path", "", ""},
        {"missing file", dir.PathOf("missing"), ""},
        {"directory", dir.path(), ""},
        {"path with a zero byte", dir.PathOf("digits") + std::string(1, '\0') + "x", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(CrcOfFile(c.path), c.crc) << c.name;
}

TEST(HashRequest, CancelledCrcIsEmpty) {
    TempDir dir;
    std::atomic<bool> cancel{false};
    HashRequest request;
    request.SetAlgorithm(kAlgorithmCrc32);
    request.SetSource(kSourceFile);
    request.SetFilePath(dir.WriteFile("ramp", RampMessage(10000)));
    request.SetCancelFlag(&cancel);
    // Cancelled part-way, from the observer, as another thread would.
    request.SetProgressObserver([&](uint64_t, uint64_t) { cancel = true; });
    EXPECT_EQ(request.Compute(), "");
    EXPECT_EQ(request.GetOutputText(), "");
    // Cancelled before it starts, for the text as for the file.
    request.SetSource(kSourceText);
    request.SetInputText("abc");
    EXPECT_EQ(request.Compute(), "");
    cancel = false;
    EXPECT_EQ(request.Compute(), "");  // the observer cancels after the single update
    request.SetProgressObserver(nullptr);
    cancel = false;
    EXPECT_EQ(request.Compute(), "352441c2");
}
