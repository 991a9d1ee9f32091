// MD2 message digest of RFC 1319.
#include "md2.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "md2_table.h"

namespace {

constexpr uint32_t kBlockSize = 16;
constexpr uint32_t kDigestSize = 16;

// Transforms the full block in `buffer` into `state` and `checksum`, in place.
void Transform(CMD2& m) {
    std::memcpy(m.state + 16, m.buffer, kBlockSize);

    uint8_t last = m.checksum[15];
    for (uint32_t j = 0; j < 16; ++j) {
        m.state[32 + j] = static_cast<uint8_t>(m.state[16 + j] ^ m.state[j]);
        m.checksum[j] ^= kMd2S[m.buffer[j] ^ last];
        last = m.checksum[j];
    }

    // The 18 rounds are one chain of 864 dependent lookups, so the time is that chain's latency.
    // Each of the 48 bytes is held as a pointer into kMd2S: the table address (aligned to 256) with
    // the byte in the low eight bits. XOR of such a pointer with a bare table entry changes only
    // those low bits, so each step is one plain load through t and one XOR, with no zero-extension,
    // masking or address arithmetic between the loads. Unrolling cannot shorten that chain, so
    // the loop stays small.
    const uintptr_t base = reinterpret_cast<uintptr_t>(kMd2S);
    uintptr_t x[48];
    for (uint32_t k = 0; k < 48; ++k) x[k] = base | m.state[k];
    uintptr_t t = base;
    for (uint32_t r = 0; r < 18; ++r) {
        for (uint32_t k = 0; k < 48; ++k) {
            t = *reinterpret_cast<const uint8_t*>(t) ^ x[k];
            x[k] = t;
        }
        t = base | ((t + r) & 0xff);
    }
    for (uint32_t k = 0; k < 48; ++k) m.state[k] = static_cast<uint8_t>(x[k]);
}

// Zeroes memory that is about to be released. A plain memset of an object that dies right after
// is a dead store the optimiser may remove; stores through a volatile pointer are kept.
void Wipe(void* memory, std::size_t length) {
    volatile uint8_t* bytes = static_cast<volatile uint8_t*>(memory);
    for (std::size_t i = 0; i < length; ++i) bytes[i] = 0;
}

}  // namespace

CMD2::CMD2() {
    Init();
}

// The last message's state and checksum do not outlive the object.
CMD2::~CMD2() {
    Wipe(state, sizeof state);
    Wipe(checksum, sizeof checksum);
    Wipe(buffer, sizeof buffer);
    Wipe(&pendingBytes, sizeof pendingBytes);
}

void CMD2::Init() {
    std::memset(state, 0, sizeof state);
    std::memset(checksum, 0, sizeof checksum);
    std::memset(buffer, 0, sizeof buffer);
    pendingBytes = 0;
}

void CMD2::Update(const uint8_t* data, uint32_t length) {
    while (length != 0) {
        const uint32_t room = kBlockSize - pendingBytes;
        const uint32_t n = length < room ? length : room;
        std::memcpy(buffer + pendingBytes, data, n);
        pendingBytes += n;
        data += n;
        length -= n;
        if (pendingBytes == kBlockSize) {
            Transform(*this);
            pendingBytes = 0;
        }
    }
}

void CMD2::Final(uint8_t* digest, uint32_t length) {
    // Padding: n bytes of value n, 1 <= n <= 16, so there is always at least one.
    const uint32_t n = kBlockSize - pendingBytes;
    uint8_t padding[kBlockSize];
    std::memset(padding, static_cast<int>(n), n);
    Update(padding, n);

    // The checksum goes in as it stands now; Update copies it to the buffer before the transform
    // changes it again.
    Update(checksum, kBlockSize);

    // Beyond 16 bytes there is no digest, only working state: never hand that out.
    std::memcpy(digest, state, length < kDigestSize ? length : kDigestSize);
    Init();
}
