// CRC-32C with the SSE 4.2 crc32 instruction, three streams at a time.
//
// One crc32 on 8 bytes waits for the previous one's result, but the unit accepts a new one every
// cycle, so three independent streams over three adjacent thirds of a run keep it busy. The
// thirds are then joined by linearity: the register after A‖B‖C is
//   shift(regA, 2N) ^ shift(regB, N) ^ regC
// where regB and regC start at zero and shift(r, n) = r·x^(8n) mod P is r moved past n zero
// bytes. A carry-less product of the reflected r with K = x^(8n-33) mod P is r·K·x in the
// 64-bit reflected view (the product comes out one power short), and crc32 of that 64-bit value
// from a zero register multiplies it by x^32 and reduces it: r·x^(8n) mod P.
#include <immintrin.h>

#include <cstdint>
#include <cstring>

#include "../crc32_slicing.h"
#include "../crc32_table.h"
#include "x86_blocks.h"

#define CORVANE_SSE42 __attribute__((target("sse4.2,pclmul")))

namespace {

// x^e mod P in the reflected 32-bit layout (bit i holds x^(31-i)).
constexpr uint32_t PowerModP(uint32_t e) {
    uint32_t r = 0x80000000;  // x^0
    for (uint32_t i = 0; i < e; ++i) r = (r & 1) ? (r >> 1) ^ kCrc32cPolynomial : r >> 1;
    return r;
}

CORVANE_SSE42 inline uint64_t Load64(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

CORVANE_SSE42 inline uint32_t Shift(uint64_t reg, uint32_t k) {
    const __m128i product = _mm_clmulepi64_si128(_mm_cvtsi64_si128(static_cast<long long>(reg)),
                                                 _mm_cvtsi32_si128(static_cast<int>(k)), 0x00);
    return static_cast<uint32_t>(
        _mm_crc32_u64(0, static_cast<uint64_t>(_mm_cvtsi128_si64(product))));
}

// Runs of 3·N bytes, three streams of N each, while they last.
// How far ahead of each stream its bytes are fetched.
constexpr std::size_t kAhead = 1024;

template <std::size_t N>
CORVANE_SSE42 inline uint32_t ThreeStreams(uint32_t reg, const uint8_t*& data,
                                           std::size_t& length) {
    static_assert(N % 64 == 0);
    constexpr uint32_t kShiftN = PowerModP(8 * N - 33), kShift2N = PowerModP(16 * N - 33);
    for (; length >= 3 * N; data += 3 * N, length -= 3 * N) {
        uint64_t a = reg, b = 0, c = 0;
        for (std::size_t line = 0; line < N; line += 64) {
            // Three streams this fast outrun the hardware's fetching from memory (a mapped file
            // rather than a cache-warm buffer): ask for each stream's bytes ahead of time. Past
            // the input's end it is a hint that cannot fault.
            if constexpr (N >= 512)
                for (std::size_t s = 0; s < 3; ++s)
                    _mm_prefetch(reinterpret_cast<const char*>(reinterpret_cast<uintptr_t>(data) +
                                                               s * N + line + kAhead),
                                 _MM_HINT_T0);
            for (std::size_t i = line; i < line + 64; i += 8) {
                a = _mm_crc32_u64(a, Load64(data + i));
                b = _mm_crc32_u64(b, Load64(data + N + i));
                c = _mm_crc32_u64(c, Load64(data + 2 * N + i));
            }
        }
        reg = Shift(a, kShift2N) ^ Shift(b, kShiftN) ^ static_cast<uint32_t>(c);
    }
    return reg;
}

}  // namespace

CORVANE_SSE42 uint32_t Crc32cSse42(uint32_t reg, const uint8_t* data, std::size_t length) {
    // Long thirds make the joins rare; the shorter steps serve the ends of the runners' chunks.
    reg = ThreeStreams<4096>(reg, data, length);
    reg = ThreeStreams<512>(reg, data, length);
    reg = ThreeStreams<64>(reg, data, length);
    uint64_t r = reg;
    for (; length >= 8; data += 8, length -= 8) r = _mm_crc32_u64(r, Load64(data));
    reg = static_cast<uint32_t>(r);
    for (; length > 0; ++data, --length) reg = _mm_crc32_u8(reg, *data);
    return reg;
}
