// BLAKE3 (see blake3.h): the compression function, the chunk state, and the stack of subtree
// chaining values that builds the tree as the input streams in.
#include "blake3.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "blake3_constants.h"
#include "bytes.h"
#include "cpu.h"

namespace {

// Chunks hashed side by side before their parents are merged: enough to fill the widest vector
// function several times over, with their chaining values kept on the stack.
constexpr uint64_t kBatchChunks = 64;

inline void G(uint32_t* v, int a, int b, int c, int d, uint32_t x, uint32_t y) {
    v[a] += v[b] + x;
    v[d] = Rotr32(v[d] ^ v[a], 16);
    v[c] += v[d];
    v[b] = Rotr32(v[b] ^ v[c], 12);
    v[a] += v[b] + y;
    v[d] = Rotr32(v[d] ^ v[a], 8);
    v[c] += v[d];
    v[b] = Rotr32(v[b] ^ v[c], 7);
}

// All sixteen output words; the first eight are the chaining value, the rest extend a root's
// output.
void Compress(const uint32_t cv[8], const uint32_t m[16], uint64_t counter, uint32_t blockLength,
              uint32_t flags, uint32_t out[16]) {
    uint32_t v[16] = {cv[0],
                      cv[1],
                      cv[2],
                      cv[3],
                      cv[4],
                      cv[5],
                      cv[6],
                      cv[7],
                      kBlake3Iv[0],
                      kBlake3Iv[1],
                      kBlake3Iv[2],
                      kBlake3Iv[3],
                      static_cast<uint32_t>(counter),
                      static_cast<uint32_t>(counter >> 32),
                      blockLength,
                      flags};
    // Unrolled, so every message word index is a constant and the words stay in registers.
#pragma GCC unroll 7
    for (const auto& s : kBlake3Schedule) {
        G(v, 0, 4, 8, 12, m[s[0]], m[s[1]]);
        G(v, 1, 5, 9, 13, m[s[2]], m[s[3]]);
        G(v, 2, 6, 10, 14, m[s[4]], m[s[5]]);
        G(v, 3, 7, 11, 15, m[s[6]], m[s[7]]);
        G(v, 0, 5, 10, 15, m[s[8]], m[s[9]]);
        G(v, 1, 6, 11, 12, m[s[10]], m[s[11]]);
        G(v, 2, 7, 8, 13, m[s[12]], m[s[13]]);
        G(v, 3, 4, 9, 14, m[s[14]], m[s[15]]);
    }
    for (int i = 0; i < 8; ++i) {
        out[i] = v[i] ^ v[i + 8];
        out[i + 8] = v[i + 8] ^ cv[i];
    }
}

void LoadWords(const uint8_t* p, uint32_t* words, int count) {
    for (int i = 0; i < count; ++i) words[i] = LoadLe32(p + 4 * i);
}

void StoreWords(uint8_t* p, const uint32_t* words, int count) {
    for (int i = 0; i < count; ++i) StoreLe32(p + 4 * i, words[i]);
}

// A node whose compression is still to run: it gives a chaining value, or, as the root, output.
struct Node {
    uint32_t cv[8];
    uint32_t block[16];
    uint64_t counter;
    uint32_t blockLength;
    uint32_t flags;
};

void NodeCv(const Node& node, uint32_t cv[8]) {
    uint32_t out[16];
    Compress(node.cv, node.block, node.counter, node.blockLength, node.flags, out);
    std::memcpy(cv, out, 8 * sizeof out[0]);
}

Node ParentNode(const Blake3Context* c, const uint32_t left[8], const uint32_t right[8]) {
    Node node{};
    std::memcpy(node.cv, c->key, sizeof node.cv);
    std::memcpy(node.block, left, 8 * sizeof left[0]);
    std::memcpy(node.block + 8, right, 8 * sizeof right[0]);
    node.counter = 0;
    node.blockLength = kBlake3BlockSize;
    node.flags = c->flags | kBlake3Parent;
    return node;
}

void StartChunk(Blake3Context* c, uint64_t counter) {
    std::memcpy(c->chunkCv, c->key, sizeof c->chunkCv);
    c->chunkCounter = counter;
    c->blockLength = 0;
    c->blocksCompressed = 0;
}

void InitWith(Blake3Context* c, const uint32_t key[8], uint8_t flags) {
    std::memcpy(c->key, key, sizeof c->key);
    c->flags = flags;
    c->stackDepth = 0;
    StartChunk(c, 0);
}

// Adds the chaining value of a complete subtree. `rest` is the chunk count after it, shifted
// right by the subtree's height: each trailing zero bit is one merge with the subtree of the
// same size waiting on the stack.
void PushCv(Blake3Context* c, const uint32_t cv[8], uint64_t rest) {
    uint32_t merged[8];
    std::memcpy(merged, cv, sizeof merged);
    for (; (rest & 1) == 0; rest >>= 1)
        NodeCv(ParentNode(c, c->stack[--c->stackDepth], merged), merged);
    std::memcpy(c->stack[c->stackDepth++], merged, sizeof merged);
}

bool ChunkFull(const Blake3Context* c) {
    return c->blocksCompressed == kBlake3ChunkSize / kBlake3BlockSize - 1 &&
           c->blockLength == kBlake3BlockSize;
}

uint8_t StartFlag(const Blake3Context* c) {
    return c->blocksCompressed == 0 ? kBlake3ChunkStart : 0;
}

// The current chunk is complete and more input follows, so it is not the root: push it.
void FinishChunk(Blake3Context* c) {
    uint32_t m[16], out[16];
    LoadWords(c->block, m, 16);
    Compress(c->chunkCv, m, c->chunkCounter, kBlake3BlockSize,
             c->flags | StartFlag(c) | kBlake3ChunkEnd, out);
    PushCv(c, out, c->chunkCounter + 1);
    StartChunk(c, c->chunkCounter + 1);
}

}  // namespace

void Blake3Init(Blake3Context* context) {
    InitWith(context, kBlake3Iv, 0);
}

void Blake3InitKeyed(Blake3Context* context, const uint8_t key[kBlake3KeySize]) {
    uint32_t words[8];
    LoadWords(key, words, 8);
    InitWith(context, words, kBlake3KeyedHash);
}

void Blake3InitDeriveKey(Blake3Context* context, const char* contextString, std::size_t length) {
    Blake3Context keyHasher;
    InitWith(&keyHasher, kBlake3Iv, kBlake3DeriveKeyContext);
    Blake3Update(&keyHasher, reinterpret_cast<const uint8_t*>(contextString), length);
    uint8_t contextKey[kBlake3KeySize];
    Blake3Final(&keyHasher, contextKey, sizeof contextKey);
    uint32_t words[8];
    LoadWords(contextKey, words, 8);
    InitWith(context, words, kBlake3DeriveKeyMaterial);
}

void Blake3InitMode(Blake3Context* context, const uint32_t key[8], uint8_t flags) {
    InitWith(context, key, flags);
}

void Blake3Update(Blake3Context* c, const uint8_t* data, std::size_t length) {
    while (length > 0) {
        if (ChunkFull(c)) FinishChunk(c);
        if (c->blocksCompressed == 0 && c->blockLength == 0 && length > kBlake3ChunkSize) {
            // Whole subtrees straight from the input, on the vector functions; as large as
            // leaves input after them and as the chunk counter's alignment allows.
            uint64_t chunks = std::bit_floor(uint64_t{(length - 1) / kBlake3ChunkSize});
            if (c->chunkCounter != 0)
                chunks = std::min(chunks, c->chunkCounter & (~c->chunkCounter + 1));
            uint8_t cv[32];
            Blake3SubtreeCv(c, data, chunks, c->chunkCounter, cv);
            Blake3PushSubtree(c, cv, chunks);
            data += chunks * kBlake3ChunkSize;
            length -= chunks * kBlake3ChunkSize;
            continue;
        }
        if (c->blockLength == kBlake3BlockSize) {
            uint32_t m[16], out[16];
            LoadWords(c->block, m, 16);
            Compress(c->chunkCv, m, c->chunkCounter, kBlake3BlockSize, c->flags | StartFlag(c),
                     out);
            std::memcpy(c->chunkCv, out, sizeof c->chunkCv);
            ++c->blocksCompressed;
            c->blockLength = 0;
        }
        const std::size_t take = std::min<std::size_t>(kBlake3BlockSize - c->blockLength, length);
        std::memcpy(c->block + c->blockLength, data, take);
        c->blockLength = static_cast<uint8_t>(c->blockLength + take);
        data += take;
        length -= take;
    }
}

void Blake3Final(const Blake3Context* c, uint8_t* out, std::size_t length) {
    Node node{};
    std::memcpy(node.cv, c->chunkCv, sizeof node.cv);
    uint8_t last[kBlake3BlockSize] = {};
    std::memcpy(last, c->block, c->blockLength);
    LoadWords(last, node.block, 16);
    node.counter = c->chunkCounter;
    node.blockLength = c->blockLength;
    node.flags = c->flags | StartFlag(c) | kBlake3ChunkEnd;
    for (std::size_t i = c->stackDepth; i-- > 0;) {
        uint32_t cv[8];
        NodeCv(node, cv);
        node = ParentNode(c, c->stack[i], cv);
    }
    // The root's output: one compression per 64 bytes, its counter numbering them.
    for (uint64_t counter = 0; length > 0; ++counter) {
        uint32_t words[16];
        uint8_t bytes[64];
        Compress(node.cv, node.block, counter, node.blockLength, node.flags | kBlake3Root, words);
        StoreWords(bytes, words, 16);
        const std::size_t take = std::min<std::size_t>(length, sizeof bytes);
        std::memcpy(out, bytes, take);
        out += take;
        length -= take;
    }
}

void Blake3SubtreeCv(const Blake3Context* mode, const uint8_t* data, uint64_t chunks,
                     uint64_t chunkCounter, uint8_t cv[32]) {
    const auto many = ActiveCpuDispatch().blake3Many;
    const uint8_t parent = mode->flags | kBlake3Parent;
    if (chunks <= kBatchChunks) {
        uint8_t cvs[kBatchChunks * 32];
        many(mode->key, data, chunks, kBlake3ChunkSize / kBlake3BlockSize, chunkCounter, true,
             mode->flags, kBlake3ChunkStart, kBlake3ChunkEnd, cvs);
        for (uint64_t n = chunks; n > 1; n /= 2)
            many(mode->key, cvs, n / 2, 1, 0, false, parent, 0, 0, cvs);
        std::memcpy(cv, cvs, 32);
        return;
    }
    uint8_t pair[64];
    const uint64_t half = chunks / 2;
    Blake3SubtreeCv(mode, data, half, chunkCounter, pair);
    Blake3SubtreeCv(mode, data + half * kBlake3ChunkSize, half, chunkCounter + half, pair + 32);
    many(mode->key, pair, 1, 1, 0, false, parent, 0, 0, cv);
}

void Blake3PushSubtree(Blake3Context* context, const uint8_t cv[32], uint64_t chunks) {
    if (ChunkFull(context)) FinishChunk(context);
    uint32_t words[8];
    LoadWords(cv, words, 8);
    const uint64_t end = context->chunkCounter + chunks;
    PushCv(context, words, end >> std::countr_zero(chunks));
    StartChunk(context, end);
}

void Blake3ManyPortable(const uint32_t* key, const uint8_t* data, std::size_t count,
                        std::size_t blocks, uint64_t counter, bool counterStep, uint8_t flags,
                        uint8_t flagsStart, uint8_t flagsEnd, uint8_t* out) {
    for (std::size_t i = 0; i < count; ++i) {
        const uint8_t* input = data + i * blocks * kBlake3BlockSize;
        uint32_t h[8];
        std::memcpy(h, key, sizeof h);
        for (std::size_t b = 0; b < blocks; ++b) {
            uint32_t m[16], next[16];
            LoadWords(input + b * kBlake3BlockSize, m, 16);
            const uint32_t f = flags | (b == 0 ? flagsStart : 0) | (b + 1 == blocks ? flagsEnd : 0);
            Compress(h, m, counter + (counterStep ? i : 0), kBlake3BlockSize, f, next);
            std::memcpy(h, next, sizeof h);
        }
        StoreWords(out + 32 * i, h, 8);
    }
}
