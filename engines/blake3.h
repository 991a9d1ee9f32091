// BLAKE3 (O'Connor, Aumasson, Neves, Wilcox-O'Hearn: "BLAKE3 — one function, fast everywhere",
// 2020): the input in 1024-byte chunks of 64-byte blocks, a binary tree of chaining values over
// the chunks, and any output length from the root node. Three modes: hash, keyed hash (32-byte
// key) and key derivation (a context string, then the key material).
//
// Beside the streaming functions, a subtree interface for hashing one input on several threads:
// Blake3SubtreeCv gives the chaining value of a whole power-of-two run of chunks, and
// Blake3PushSubtree feeds such values into a context in input order.
#pragma once

#include <cstddef>
#include <cstdint>

inline constexpr std::size_t kBlake3BlockSize = 64;
inline constexpr std::size_t kBlake3ChunkSize = 1024;
inline constexpr std::size_t kBlake3KeySize = 32;
inline constexpr std::size_t kBlake3OutSize = 32;  // the default output length
// A tree over at most 2^64 bytes holds no more than this many waiting subtrees (2^54 chunks).
inline constexpr std::size_t kBlake3MaxDepth = 54;

// The domain flags of the compression function.
enum Blake3Flag : uint8_t {
    kBlake3ChunkStart = 1,
    kBlake3ChunkEnd = 2,
    kBlake3Parent = 4,
    kBlake3Root = 8,
    kBlake3KeyedHash = 16,
    kBlake3DeriveKeyContext = 32,
    kBlake3DeriveKeyMaterial = 64,
};

struct Blake3Context {
    uint32_t key[8];  // the key words: the IV, the key, or the derived context key
    uint32_t chunkCv[8];
    uint64_t chunkCounter;  // index of the chunk being filled
    uint8_t block[kBlake3BlockSize];
    uint8_t blockLength;       // bytes waiting in `block`
    uint8_t blocksCompressed;  // blocks of the current chunk already compressed
    uint8_t flags;             // the mode's flags
    uint8_t stackDepth;
    // Chaining values of complete subtrees, largest first, one per set bit of chunkCounter.
    uint32_t stack[kBlake3MaxDepth][8];
};

void Blake3Init(Blake3Context* context);
void Blake3InitKeyed(Blake3Context* context, const uint8_t key[kBlake3KeySize]);
// The context string of key derivation; the key material then goes through Blake3Update.
void Blake3InitDeriveKey(Blake3Context* context, const char* contextString, std::size_t length);
// A context in the mode another was started in, given that one's `key` words and `flags`: for
// starting many in a keyed or key-derivation mode without the key or context string again.
void Blake3InitMode(Blake3Context* context, const uint32_t key[8], uint8_t flags);
void Blake3Update(Blake3Context* context, const uint8_t* data, std::size_t length);
// Any number of output bytes; the context is left as it was, so more input may follow.
void Blake3Final(const Blake3Context* context, uint8_t* out, std::size_t length);

// The chaining value of `chunks` whole chunks (a power of two) from `data`, the first of them at
// chunk index `chunkCounter` (a multiple of `chunks`), in the mode of `mode` (only its key and
// flags are read). Never the root: the input must hold more than these chunks.
void Blake3SubtreeCv(const Blake3Context* mode, const uint8_t* data, uint64_t chunks,
                     uint64_t chunkCounter, uint8_t cv[32]);
// Appends such a subtree to `context`, whose input so far must end on a chunk boundary that is a
// multiple of `chunks`. More input must follow before Blake3Final: the root is never a pushed
// subtree.
void Blake3PushSubtree(Blake3Context* context, const uint8_t cv[32], uint64_t chunks);

// Compresses `count` inputs of `blocks` whole 64-byte blocks each, input i at
// data + i * blocks * 64, from the chaining value `key`, and writes input i's chaining value to
// out + 32 i. Input i's counter is counter + i when `counterStep`, else `counter`; every block has
// `flags`, the first also `flagsStart`, the last also `flagsEnd`. `out` may be `data` (for
// parents: the inputs are read before their slots are written). The portable version; cpu.h
// chooses a vector one.
void Blake3ManyPortable(const uint32_t* key, const uint8_t* data, std::size_t count,
                        std::size_t blocks, uint64_t counter, bool counterStep, uint8_t flags,
                        uint8_t flagsStart, uint8_t flagsEnd, uint8_t* out);
