// Digests as text: byte digests as lower-case hex pairs, CRC-32 as "%08x".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Appends each byte as two lower-case hex digits, high nibble first.
void AppendDigestText(std::string& out, const uint8_t* digest, std::size_t length);
std::string DigestText(const uint8_t* digest, std::size_t length);
std::string CrcDigestText(uint32_t crc);
