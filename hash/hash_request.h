// The request: what to hash (a text or a file), with which algorithm, and the digest as text.
#pragma once

#include <cstdint>
#include <string>

// HashAlgorithm values.
enum : int32_t {
    kAlgorithmCrc32 = 1,
    kAlgorithmGost = 2,
    kAlgorithmMd2 = 3,
    kAlgorithmMd4 = 4,
    kAlgorithmMd5 = 5,
    kAlgorithmSha1 = 6,
    kAlgorithmSha2 = 7,
};
// InputSource values.
enum : int32_t { kSourceText = 1, kSourceFile = 2 };

class HashRequest {
public:
    HashRequest() = default;

    void SetAlgorithm(int32_t value);
    void SetSource(int32_t value);     // 1 or 2; anything else stores 1
    void SetSha2Width(int32_t value);  // 256, 384 or 512; anything else stores 256
    void SetFilePath(const std::string& path);
    void SetInputText(const std::string& text);
    std::string GetFilePath() const;

    // Runs the selected engine and returns the DigestText, or the empty text when there is none.
    std::string Compute();

private:
    std::string ComputeGost();
    std::string ComputeMd2();
    std::string ComputeMd4();
    std::string ComputeMd5();
    std::string ComputeSha1();
    std::string ComputeSha2();

    std::string inputText;
    int32_t algorithm = kAlgorithmSha1;
    std::string filePath;
    int32_t source = kSourceText;
    int32_t sha2Width = 256;
    std::string outputText;
};
