// Reflected CRC-32s by carry-less multiplication folding: IEEE 802.3 (polynomial 0xEDB88320) and
// Castagnoli's CRC-32C (0x82F63B78), one template over each generator's constants.
//
// In the reflected view a 16-byte load V is the polynomial L·x^64 + H: L = bytes 0-7 (the
// earlier, higher powers), H = bytes 8-15, bit j of a lane holding x^(63-j). Moving V forward by
// d message bits multiplies it by x^d, and modulo P that is L·(x^(d+64) mod P) + H·(x^d mod P):
// two carry-less products of a lane with a 32-bit constant, a 96-bit result that is XORed into
// the vector d bits further on. Several independent vectors are folded at a time so the products
// overlap; at the end they are folded into one, and that one is reduced modulo P: 128 -> 96
// bits (x^95), 96 -> 64 bits (x^63), then a Barrett reduction to 32 bits with mu = x^64 div P.
//
// Constants: scripts/crc32_fold_constants.py computes x^e mod P (and mu) in GF(2)[x] and writes
// them in the lane layout above. A carry-less product of two reflected 64-bit lanes comes out one
// power short in the 128-bit reflected view, so a fold by d bits uses x^(d+63) and x^(d-1).
//
// The register is XORed into the first four message bytes (equivalent to starting the register
// there), and whatever is left after the last whole 16 bytes goes to the slicing loop.
#include <immintrin.h>

#include "../crc32_slicing.h"
#include "x86_blocks.h"

namespace {

#define CORVANE_CLMUL __attribute__((target("pclmul,sse4.1")))
#define CORVANE_VPCLMUL256 __attribute__((target("vpclmulqdq,pclmul,avx2")))
#define CORVANE_VPCLMUL512 \
    __attribute__((target("vpclmulqdq,pclmul,avx2,avx512f,avx512bw,avx512vl")))

// One generator's constants. Low lane: x^(d+63) mod P; high lane: x^(d-1) mod P; for a fold by
// d bits.
struct FoldConstants {
    long long fold128Low, fold128High, fold256Low, fold256High, fold384Low, fold384High;
    long long fold512Low, fold512High, fold1024Low, fold1024High, fold2048Low, fold2048High;
    long long reduce96;  // x^95 mod P
    long long reduce64;  // x^63 mod P
    long long mu;        // x^64 div P, bit j holds x^(32-j)
    long long poly;      // P, bit j holds x^(32-j)
    uint32_t (*tail)(uint32_t reg, const uint8_t* data, std::size_t length);  // under 16 bytes
};

constexpr long long Lane(unsigned long long bits) {
    return static_cast<long long>(bits);
}

// IEEE 802.3.
constexpr FoldConstants kIeee = {Lane(0x65673b4600000000),
                                 Lane(0x9ba54c6f00000000),
                                 Lane(0x9570d49500000000),
                                 Lane(0x01b5fd1d00000000),
                                 Lane(0x69ccfc0d00000000),
                                 Lane(0x2a28386200000000),
                                 Lane(0x653d982200000000),
                                 Lane(0xcad38e8f00000000),
                                 Lane(0x7d657a1000000000),
                                 Lane(0x7406fa9500000000),
                                 Lane(0x7cc8e1e700000000),
                                 Lane(0x03f9f86300000000),
                                 Lane(0xccaa009e00000000),
                                 Lane(0xb8bc676500000000),
                                 0x1f7011641,
                                 0x1db710641,
                                 Crc32Slicing16};

// Castagnoli (CRC-32C), from the script's --castagnoli run.
constexpr FoldConstants kCastagnoli = {Lane(0x3743f7bd00000000),
                                       Lane(0x3171d43000000000),
                                       Lane(0x33ccbbbc00000000),
                                       Lane(0xa2158b3400000000),
                                       Lane(0xa46ef4aa00000000),
                                       Lane(0x6051243f00000000),
                                       Lane(0x1c19243b00000000),
                                       Lane(0x75bba45b00000000),
                                       Lane(0x6577b24500000000),
                                       Lane(0x7417153f00000000),
                                       Lane(0xe9a5d8be00000000),
                                       Lane(0x1426a81500000000),
                                       Lane(0x493c7d2700000000),
                                       Lane(0xdd45aab800000000),
                                       0x0dea713f1,
                                       0x105ec76f1,
                                       Crc32cSlicing16};

CORVANE_CLMUL inline __m128i Load(const uint8_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

CORVANE_CLMUL inline __m128i Fold(__m128i x, __m128i k) {
    return _mm_xor_si128(_mm_clmulepi64_si128(x, k, 0x00), _mm_clmulepi64_si128(x, k, 0x11));
}

template <const FoldConstants& K>
CORVANE_CLMUL inline uint32_t Reduce(__m128i v) {
    // 128 -> 96 bits: L·x^96 folded to L·(x^96 mod P); H·x^32 is H moved 32 bits on.
    const __m128i u = _mm_xor_si128(_mm_clmulepi64_si128(v, _mm_set_epi64x(0, K.reduce96), 0x00),
                                    _mm_slli_si128(_mm_srli_si128(v, 8), 4));
    // 96 -> 64 bits: the top 32 (upper half of lane 0) times x^64 mod P, into lane 1.
    const __m128i y = _mm_srli_si128(
        _mm_xor_si128(_mm_clmulepi64_si128(u, _mm_set_epi64x(0, K.reduce64), 0x00), u), 8);
    // Barrett: q = ((y's top 32) · mu) div x^32, remainder = low 32 of y + q·P.
    const __m128i low32 = _mm_set_epi32(0, 0, 0, -1);
    const __m128i t = _mm_clmulepi64_si128(_mm_and_si128(y, low32), _mm_set_epi64x(0, K.mu), 0x00);
    const __m128i qp =
        _mm_clmulepi64_si128(_mm_and_si128(t, low32), _mm_set_epi64x(0, K.poly), 0x00);
    return static_cast<uint32_t>(_mm_extract_epi32(_mm_xor_si128(y, qp), 1));
}

// From one folded vector covering everything before `data`: the whole 16-byte steps, the
// reduction, then the tail.
template <const FoldConstants& K>
CORVANE_CLMUL inline uint32_t Finish(__m128i x, const uint8_t* data, std::size_t length) {
    const __m128i k128 = _mm_set_epi64x(K.fold128High, K.fold128Low);
    for (; length >= 16; data += 16, length -= 16) x = _mm_xor_si128(Fold(x, k128), Load(data));
    return K.tail(Reduce<K>(x), data, length);
}

template <const FoldConstants& K>
CORVANE_CLMUL uint32_t FoldPclmul(uint32_t reg, const uint8_t* data, std::size_t length) {
    if (length < 16) return K.tail(reg, data, length);
    const __m128i start = _mm_cvtsi32_si128(static_cast<int>(reg));
    if (length < 128) {
        const __m128i x = _mm_xor_si128(Load(data), start);
        return Finish<K>(x, data + 16, length - 16);
    }
    // Eight vectors in flight cover the product latency.
    __m128i x[8];
    for (int i = 0; i < 8; ++i) x[i] = Load(data + 16 * i);
    x[0] = _mm_xor_si128(x[0], start);
    data += 128;
    length -= 128;
    const __m128i k1024 = _mm_set_epi64x(K.fold1024High, K.fold1024Low);
    for (; length >= 128; data += 128, length -= 128)
        for (int i = 0; i < 8; ++i) x[i] = _mm_xor_si128(Fold(x[i], k1024), Load(data + 16 * i));
    const __m128i k128 = _mm_set_epi64x(K.fold128High, K.fold128Low);
    __m128i v = x[0];
    for (int i = 1; i < 8; ++i) v = _mm_xor_si128(Fold(v, k128), x[i]);
    return Finish<K>(v, data, length);
}

CORVANE_VPCLMUL256 inline __m256i Load256(const uint8_t* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

CORVANE_VPCLMUL256 inline __m256i Fold256(__m256i x, __m256i k) {
    return _mm256_xor_si256(_mm256_clmulepi64_epi128(x, k, 0x00),
                            _mm256_clmulepi64_epi128(x, k, 0x11));
}

template <const FoldConstants& K>
CORVANE_VPCLMUL256 uint32_t FoldVpclmul256(uint32_t reg, const uint8_t* data, std::size_t length) {
    if (length < 128) return FoldPclmul<K>(reg, data, length);
    __m256i x[4];
    for (int i = 0; i < 4; ++i) x[i] = Load256(data + 32 * i);
    x[0] = _mm256_xor_si256(x[0], _mm256_zextsi128_si256(_mm_cvtsi32_si128(static_cast<int>(reg))));
    data += 128;
    length -= 128;
    const __m256i k1024 =
        _mm256_set_epi64x(K.fold1024High, K.fold1024Low, K.fold1024High, K.fold1024Low);
    for (; length >= 128; data += 128, length -= 128)
        for (int i = 0; i < 4; ++i)
            x[i] = _mm256_xor_si256(Fold256(x[i], k1024), Load256(data + 32 * i));
    const __m256i k256 =
        _mm256_set_epi64x(K.fold256High, K.fold256Low, K.fold256High, K.fold256Low);
    __m256i v = x[0];
    for (int i = 1; i < 4; ++i) v = _mm256_xor_si256(Fold256(v, k256), x[i]);
    for (; length >= 32; data += 32, length -= 32)
        v = _mm256_xor_si256(Fold256(v, k256), Load256(data));
    // The two 128-bit lanes: the first is 128 bits ahead of the second.
    const __m128i k128 = _mm_set_epi64x(K.fold128High, K.fold128Low);
    const __m128i one =
        _mm_xor_si128(Fold(_mm256_castsi256_si128(v), k128), _mm256_extracti128_si256(v, 1));
    return Finish<K>(one, data, length);
}

CORVANE_VPCLMUL512 inline __m512i Load512(const uint8_t* p) {
    return _mm512_loadu_si512(p);
}

// The two products and the next data in one three-way XOR.
CORVANE_VPCLMUL512 inline __m512i Fold512(__m512i x, __m512i k, __m512i next) {
    return _mm512_ternarylogic_epi64(_mm512_clmulepi64_epi128(x, k, 0x00),
                                     _mm512_clmulepi64_epi128(x, k, 0x11), next, 0x96);
}

CORVANE_VPCLMUL512 inline __m512i Broadcast(long long high, long long low) {
    return _mm512_set_epi64(high, low, high, low, high, low, high, low);
}

template <const FoldConstants& K>
CORVANE_VPCLMUL512 uint32_t FoldVpclmul512(uint32_t reg, const uint8_t* data, std::size_t length) {
    if (length < 256) return FoldVpclmul256<K>(reg, data, length);
    __m512i x[4];
    for (int i = 0; i < 4; ++i) x[i] = Load512(data + 64 * i);
    x[0] = _mm512_xor_si512(x[0], _mm512_zextsi128_si512(_mm_cvtsi32_si128(static_cast<int>(reg))));
    data += 256;
    length -= 256;
    const __m512i k2048 = Broadcast(K.fold2048High, K.fold2048Low);
    for (; length >= 256; data += 256, length -= 256)
        for (int i = 0; i < 4; ++i) x[i] = Fold512(x[i], k2048, Load512(data + 64 * i));
    const __m512i k512 = Broadcast(K.fold512High, K.fold512Low);
    __m512i v = x[0];
    for (int i = 1; i < 4; ++i) v = Fold512(v, k512, x[i]);
    for (; length >= 64; data += 64, length -= 64) v = Fold512(v, k512, Load512(data));
    // Lanes 0-2 move 384, 256 and 128 bits on to meet lane 3.
    const __m512i kLanes = _mm512_set_epi64(0, 0, K.fold128High, K.fold128Low, K.fold256High,
                                            K.fold256Low, K.fold384High, K.fold384Low);
    const __m512i moved = _mm512_xor_si512(_mm512_clmulepi64_epi128(v, kLanes, 0x00),
                                           _mm512_clmulepi64_epi128(v, kLanes, 0x11));
    const __m128i one = _mm_xor_si128(_mm_xor_si128(_mm512_maskz_extracti32x4_epi32(0xF, moved, 0),
                                                    _mm512_maskz_extracti32x4_epi32(0xF, moved, 1)),
                                      _mm_xor_si128(_mm512_maskz_extracti32x4_epi32(0xF, moved, 2),
                                                    _mm512_maskz_extracti32x4_epi32(0xF, v, 3)));
    return Finish<K>(one, data, length);
}

}  // namespace

CORVANE_CLMUL uint32_t Crc32FoldPclmul(uint32_t reg, const uint8_t* data, std::size_t length) {
    return FoldPclmul<kIeee>(reg, data, length);
}

CORVANE_VPCLMUL256 uint32_t Crc32FoldVpclmul256(uint32_t reg, const uint8_t* data,
                                                std::size_t length) {
    return FoldVpclmul256<kIeee>(reg, data, length);
}

CORVANE_VPCLMUL512 uint32_t Crc32FoldVpclmul512(uint32_t reg, const uint8_t* data,
                                                std::size_t length) {
    return FoldVpclmul512<kIeee>(reg, data, length);
}

CORVANE_VPCLMUL512 uint32_t Crc32cFoldVpclmul512(uint32_t reg, const uint8_t* data,
                                                 std::size_t length) {
    return FoldVpclmul512<kCastagnoli>(reg, data, length);
}
