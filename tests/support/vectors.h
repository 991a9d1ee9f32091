// The shared reference digests (tests/data/digests.tsv, made by independent implementations) and
// the messages they describe.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct DigestVector {
    std::string name;
    std::string message;                        // the message bytes themselves
    std::map<std::string, std::string> digest;  // column ("crc32", "gost", ..., "sha512") to hex
};

// Every row of the table; aborts the test run when the file is missing or malformed.
const std::vector<DigestVector>& SharedVectors();
const DigestVector& SharedVector(const std::string& name);

// Messages as the table defines them.
std::string RampMessage(std::size_t length);  // byte i is (7i + 3) mod 256
std::string ToHex(const uint8_t* data, std::size_t length);
std::string ToHex(const std::string& bytes);
inline const uint8_t* Bytes(const std::string& s) {
    return reinterpret_cast<const uint8_t*>(s.data());
}

std::string TestDataPath(const std::string& file);
