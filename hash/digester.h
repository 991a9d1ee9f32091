// One streaming interface over all nine engines, for callers that feed the same bytes to one or
// more algorithms (the runners, the command-line companion).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

enum class Algorithm { Crc32, Gost, Md2, Md4, Md5, Sha1, Sha256, Sha384, Sha512 };

inline constexpr std::array<Algorithm, 9> kAllAlgorithms = {
    Algorithm::Crc32, Algorithm::Gost,   Algorithm::Md2,    Algorithm::Md4,   Algorithm::Md5,
    Algorithm::Sha1,  Algorithm::Sha256, Algorithm::Sha384, Algorithm::Sha512};

std::string_view AlgorithmName(Algorithm algorithm);  // "crc32", "gost", ..., "sha512"
std::string_view AlgorithmTag(Algorithm algorithm);   // "CRC32", "GOST", ..., "SHA512"
std::optional<Algorithm> ParseAlgorithm(std::string_view name);  // case-insensitive name
std::size_t DigestTextLength(Algorithm algorithm);    // 8, 64, 32, 32, 32, 40, 64, 96, 128

class Digester {
public:
    explicit Digester(Algorithm algorithm);
    ~Digester();
    Digester(Digester&&) noexcept;
    Digester& operator=(Digester&&) noexcept;

    Algorithm algorithm() const { return algorithm_; }
    void Update(const uint8_t* data, std::size_t length);  // any length, zero included
    std::string Final();  // the digest as DigestText; the digester is spent afterwards

private:
    struct State;
    Algorithm algorithm_;
    std::unique_ptr<State> state_;
};
