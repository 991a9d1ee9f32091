// One streaming interface over all nine engines, and several of them fed as one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "algorithms.h"

class Digester {
public:
    // `digestBytes` asks an algorithm of variable length for that many bytes; 0, or an algorithm
    // of one length, gives its usual digest.
    explicit Digester(Algorithm algorithm, std::size_t digestBytes = 0);
    ~Digester();
    Digester(Digester&&) noexcept;
    Digester& operator=(Digester&&) noexcept;

    Algorithm GetAlgorithm() const { return algorithm; }
    void Update(const uint8_t* data, std::size_t length);  // any length, zero included
    std::string Final();  // the digest as DigestText; the digester is spent afterwards

private:
    struct State;
    Algorithm algorithm;
    std::size_t digestLength;
    std::unique_ptr<State> state;
};

// The same bytes to several digesters; their digests in the order of the algorithms given.
class DigestSet {
public:
    explicit DigestSet(std::span<const Algorithm> algorithms, std::size_t digestBytes = 0);
    void Update(const uint8_t* data, std::size_t length);
    std::vector<std::string> Finish();

private:
    std::vector<Digester> digesters;
};
