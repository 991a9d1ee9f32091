// MD2 message digest of RFC 1319.
#include "md2.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

// The substitution table of RFC 1319, a permutation of 0..255 built from the digits of pi.
// Aligned to its size so that a pointer to one of its entries is the table address with the
// entry index in the low eight bits (see Transform).
alignas(256) constexpr uint8_t kS[256] = {
    41,  46,  67,  201, 162, 216, 124, 1,   61,  54,  84,  161, 236, 240, 6,   19,  98,  167, 5,
    243, 192, 199, 115, 140, 152, 147, 43,  217, 188, 76,  130, 202, 30,  155, 87,  60,  253, 212,
    224, 22,  103, 66,  111, 24,  138, 23,  229, 18,  190, 78,  196, 214, 218, 158, 222, 73,  160,
    251, 245, 142, 187, 47,  238, 122, 169, 104, 121, 145, 21,  178, 7,   63,  148, 194, 16,  137,
    11,  34,  95,  33,  128, 127, 93,  154, 90,  144, 50,  39,  53,  62,  204, 231, 191, 247, 151,
    3,   255, 25,  48,  179, 72,  165, 181, 209, 215, 94,  146, 42,  172, 86,  170, 198, 79,  184,
    56,  210, 150, 164, 125, 182, 118, 252, 107, 226, 156, 116, 4,   241, 69,  157, 112, 89,  100,
    113, 135, 32,  134, 91,  207, 101, 230, 45,  168, 2,   27,  96,  37,  173, 174, 176, 185, 246,
    28,  70,  97,  105, 52,  64,  126, 15,  85,  71,  163, 35,  221, 81,  175, 58,  195, 92,  249,
    206, 186, 197, 234, 38,  44,  83,  13,  110, 133, 40,  132, 9,   211, 223, 205, 244, 65,  129,
    77,  82,  106, 220, 55,  200, 108, 193, 171, 250, 36,  225, 123, 8,   12,  189, 177, 74,  120,
    136, 149, 139, 227, 99,  232, 109, 233, 203, 213, 254, 59,  0,   29,  57,  242, 239, 183, 14,
    102, 88,  208, 228, 166, 119, 114, 248, 235, 117, 75,  10,  49,  68,  80,  180, 143, 237, 31,
    26,  219, 153, 141, 51,  159, 17,  131, 20};

constexpr uint32_t kBlockSize = 16;
constexpr uint32_t kDigestSize = 16;

// Transforms the full block in `buffer` into `state` and `checksum`, in place.
void Transform(CMD2& m) {
    std::memcpy(m.state + 16, m.buffer, kBlockSize);

    uint8_t last = m.checksum[15];
    for (uint32_t j = 0; j < 16; ++j) {
        m.state[32 + j] = static_cast<uint8_t>(m.state[16 + j] ^ m.state[j]);
        m.checksum[j] ^= kS[m.buffer[j] ^ last];
        last = m.checksum[j];
    }

    // The 18 rounds are one chain of 864 dependent lookups, so the time is that chain's latency.
    // Each of the 48 bytes is held as a pointer into kS: the table address (aligned to 256) with
    // the byte in the low eight bits. XOR of such a pointer with a bare table entry changes only
    // those low bits, so each step is one plain load through t and one XOR, with no zero-extension,
    // masking or address arithmetic between the loads. Unrolling cannot shorten that chain, so
    // the loop stays small.
    const uintptr_t base = reinterpret_cast<uintptr_t>(kS);
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
