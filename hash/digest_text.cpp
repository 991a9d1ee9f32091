// Digests as text: two lower-case hex digits per byte, and CRC-32 as "%08x".
#include "digest_text.h"

#include <cstdio>

void AppendDigestText(std::string& out, const uint8_t* digest, std::size_t length) {
    static constexpr char kDigits[] = "0123456789abcdef";
    out.reserve(out.size() + 2 * length);
    for (std::size_t i = 0; i < length; ++i) {
        out.push_back(kDigits[digest[i] >> 4]);
        out.push_back(kDigits[digest[i] & 0x0F]);
    }
}

std::string DigestText(const uint8_t* digest, std::size_t length) {
    std::string out;
    AppendDigestText(out, digest, length);
    return out;
}

std::string CrcDigestText(uint32_t crc) {
    char text[9];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(crc));
    return text;
}
