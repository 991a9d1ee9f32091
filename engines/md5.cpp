// MD5 message digest of RFC 1321, and a file operation that hashes a whole file by its path.
#include "md5.h"

#include <cstdio>
#include <cstring>

#include "bytes.h"

namespace {

constexpr uint8_t kPadding[64] = {0x80};

enum Function { F, G, H, I };

// One step: a = b + ((a + f(b, c, d) + x + k) <<< s). The steps form one chain through b, the
// value the previous step produced, so everything that does not wait for b is added first:
// F(b,c,d) = d ^ (b & (c ^ d)); G = (b & d) + (c & ~d), the two halves never overlapping, so the
// c/d half goes in early; H = b ^ (c ^ d); I = c ^ (b | ~d).
template <Function f>
inline void Step(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t x, int s, uint32_t k) {
    uint32_t t = a + x + k;
    if constexpr (f == F) t += d ^ (b & (c ^ d));
    if constexpr (f == G) t += (c & ~d), t += b & d;
    if constexpr (f == H) t += b ^ (c ^ d);
    if constexpr (f == I) t += c ^ (b | ~d);
    a = b + Rotl32(t, s);
}

// Message words are little-endian, whatever the host.
void DecodeBlock(uint32_t* words, const uint8_t* block, int count) {
    for (int k = 0; k < count; ++k) words[k] = LoadLe32(block + 4 * k);
}

constexpr uint32_t kReadSize = 2048;

}  // namespace

void Md5Init(Md5Context* context) {
    context->bitCount[0] = 0;
    context->bitCount[1] = 0;
    context->state[0] = 0x67452301;
    context->state[1] = 0xefcdab89;
    context->state[2] = 0x98badcfe;
    context->state[3] = 0x10325476;
}

void Md5Update(Md5Context* context, const uint8_t* data, uint32_t length) {
    uint32_t index = (context->bitCount[0] >> 3) & 63;

    const uint32_t bits = length << 3;
    context->bitCount[0] += bits;
    if (context->bitCount[0] < bits) ++context->bitCount[1];
    context->bitCount[1] += length >> 29;

    // Only a partial block goes through the buffer; whole blocks are decoded from the caller's
    // memory (the result is the same, the copy was speed only).
    if (length == 0) return;  // data may then be null, which memcpy must not see
    uint32_t words[16];
    if (index != 0) {
        const uint32_t n = length < 64 - index ? length : 64 - index;
        std::memcpy(context->buffer + index, data, n);
        index += n;
        data += n;
        length -= n;
        if (index < 64) return;
        DecodeBlock(words, context->buffer, 16);
        Md5Compress(context->state, words);
    }
    for (; length >= 64; data += 64, length -= 64) {
        DecodeBlock(words, data, 16);
        Md5Compress(context->state, words);
    }
    if (length != 0) std::memcpy(context->buffer, data, length);
}

void Md5Final(Md5Context* context) {
    // The length field is the message length before padding.
    uint32_t words[16];
    words[14] = context->bitCount[0];
    words[15] = context->bitCount[1];

    const uint32_t index = (context->bitCount[0] >> 3) & 63;
    Md5Update(context, kPadding, index < 56 ? 56 - index : 120 - index);

    // Exactly 56 bytes are pending now; the length words complete the block.
    DecodeBlock(words, context->buffer, 14);
    Md5Compress(context->state, words);

    for (int k = 0; k < 4; ++k) StoreLe32(context->digest + 4 * k, context->state[k]);
}

void Md5Compress(uint32_t* state, const uint32_t* words) {
    uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    const uint32_t* x = words;

    Step<F>(a, b, c, d, x[0], 7, 0xd76aa478);
    Step<F>(d, a, b, c, x[1], 12, 0xe8c7b756);
    Step<F>(c, d, a, b, x[2], 17, 0x242070db);
    Step<F>(b, c, d, a, x[3], 22, 0xc1bdceee);
    Step<F>(a, b, c, d, x[4], 7, 0xf57c0faf);
    Step<F>(d, a, b, c, x[5], 12, 0x4787c62a);
    Step<F>(c, d, a, b, x[6], 17, 0xa8304613);
    Step<F>(b, c, d, a, x[7], 22, 0xfd469501);
    Step<F>(a, b, c, d, x[8], 7, 0x698098d8);
    Step<F>(d, a, b, c, x[9], 12, 0x8b44f7af);
    Step<F>(c, d, a, b, x[10], 17, 0xffff5bb1);
    Step<F>(b, c, d, a, x[11], 22, 0x895cd7be);
    Step<F>(a, b, c, d, x[12], 7, 0x6b901122);
    Step<F>(d, a, b, c, x[13], 12, 0xfd987193);
    Step<F>(c, d, a, b, x[14], 17, 0xa679438e);
    Step<F>(b, c, d, a, x[15], 22, 0x49b40821);

    Step<G>(a, b, c, d, x[1], 5, 0xf61e2562);
    Step<G>(d, a, b, c, x[6], 9, 0xc040b340);
    Step<G>(c, d, a, b, x[11], 14, 0x265e5a51);
    Step<G>(b, c, d, a, x[0], 20, 0xe9b6c7aa);
    Step<G>(a, b, c, d, x[5], 5, 0xd62f105d);
    Step<G>(d, a, b, c, x[10], 9, 0x02441453);
    Step<G>(c, d, a, b, x[15], 14, 0xd8a1e681);
    Step<G>(b, c, d, a, x[4], 20, 0xe7d3fbc8);
    Step<G>(a, b, c, d, x[9], 5, 0x21e1cde6);
    Step<G>(d, a, b, c, x[14], 9, 0xc33707d6);
    Step<G>(c, d, a, b, x[3], 14, 0xf4d50d87);
    Step<G>(b, c, d, a, x[8], 20, 0x455a14ed);
    Step<G>(a, b, c, d, x[13], 5, 0xa9e3e905);
    Step<G>(d, a, b, c, x[2], 9, 0xfcefa3f8);
    Step<G>(c, d, a, b, x[7], 14, 0x676f02d9);
    Step<G>(b, c, d, a, x[12], 20, 0x8d2a4c8a);

    Step<H>(a, b, c, d, x[5], 4, 0xfffa3942);
    Step<H>(d, a, b, c, x[8], 11, 0x8771f681);
    Step<H>(c, d, a, b, x[11], 16, 0x6d9d6122);
    Step<H>(b, c, d, a, x[14], 23, 0xfde5380c);
    Step<H>(a, b, c, d, x[1], 4, 0xa4beea44);
    Step<H>(d, a, b, c, x[4], 11, 0x4bdecfa9);
    Step<H>(c, d, a, b, x[7], 16, 0xf6bb4b60);
    Step<H>(b, c, d, a, x[10], 23, 0xbebfbc70);
    Step<H>(a, b, c, d, x[13], 4, 0x289b7ec6);
    Step<H>(d, a, b, c, x[0], 11, 0xeaa127fa);
    Step<H>(c, d, a, b, x[3], 16, 0xd4ef3085);
    Step<H>(b, c, d, a, x[6], 23, 0x04881d05);
    Step<H>(a, b, c, d, x[9], 4, 0xd9d4d039);
    Step<H>(d, a, b, c, x[12], 11, 0xe6db99e5);
    Step<H>(c, d, a, b, x[15], 16, 0x1fa27cf8);
    Step<H>(b, c, d, a, x[2], 23, 0xc4ac5665);

    Step<I>(a, b, c, d, x[0], 6, 0xf4292244);
    Step<I>(d, a, b, c, x[7], 10, 0x432aff97);
    Step<I>(c, d, a, b, x[14], 15, 0xab9423a7);
    Step<I>(b, c, d, a, x[5], 21, 0xfc93a039);
    Step<I>(a, b, c, d, x[12], 6, 0x655b59c3);
    Step<I>(d, a, b, c, x[3], 10, 0x8f0ccc92);
    Step<I>(c, d, a, b, x[10], 15, 0xffeff47d);
    Step<I>(b, c, d, a, x[1], 21, 0x85845dd1);
    Step<I>(a, b, c, d, x[8], 6, 0x6fa87e4f);
    Step<I>(d, a, b, c, x[15], 10, 0xfe2ce6e0);
    Step<I>(c, d, a, b, x[6], 15, 0xa3014314);
    Step<I>(b, c, d, a, x[13], 21, 0x4e0811a1);
    Step<I>(a, b, c, d, x[4], 6, 0xf7537e82);
    Step<I>(d, a, b, c, x[11], 10, 0xbd3af235);
    Step<I>(c, d, a, b, x[2], 15, 0x2ad7d2bb);
    Step<I>(b, c, d, a, x[9], 21, 0xeb86d391);

    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
}

Md5FileResult Md5FileRead(const char* path, Md5Context* context,
                          bool (*onChunk)(void* user, uint32_t bytes), void* user) {
    Md5FileResult result{false, false, 0};
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return result;
    result.opened = true;

    Md5Init(context);
    uint8_t chunk[kReadSize];
    bool stopped = false;
    std::size_t got = 0;
    do {
        got = std::fread(chunk, 1, kReadSize, file);
        const auto count = static_cast<uint32_t>(got);
        Md5Update(context, chunk, count);
        result.bytesRead += count;
        if (onChunk != nullptr && !onChunk(user, count)) stopped = true;
    } while (got == kReadSize && !stopped);

    // A short read is the end only when no read error caused it.
    result.complete = !stopped && std::ferror(file) == 0;
    std::fclose(file);
    Md5Final(context);
    return result;
}

int32_t Md5File(const char* path, Md5Context* context) {
    const Md5FileResult result = Md5FileRead(path, context, nullptr, nullptr);
    if (!result.opened) return 0;
    return static_cast<int32_t>(static_cast<uint32_t>(result.bytesRead));
}
