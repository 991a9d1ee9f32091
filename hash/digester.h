// One streaming interface over all nine engines, and several of them fed as one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "algorithms.h"
#include "blake3_mode.h"

// How digests are asked for beyond their algorithms.
struct DigestForm {
    // The length asked of algorithms of variable length; 0, or an algorithm of one length, gives
    // its usual digest.
    std::size_t digestBytes = 0;
    Blake3Mode blake3 = {};  // BLAKE3 plain, keyed or deriving a key; the others have one mode
};

class Digester {
public:
    explicit Digester(Algorithm algorithm, const DigestForm& form = {});
    Digester(Algorithm chosen, std::size_t digestBytes)
        : Digester(chosen, DigestForm{digestBytes}) {}
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
    explicit DigestSet(std::span<const Algorithm> algorithms, const DigestForm& form = {});
    void Update(const uint8_t* data, std::size_t length);
    std::vector<std::string> Finish();

private:
    std::vector<Digester> digesters;
};
