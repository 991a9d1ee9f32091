// MD5 message digest, RFC 1321, with a file operation that hashes a whole file by its path.
#pragma once

#include <cstdint>

struct Md5Context {
    uint32_t bitCount[2];  // message bits, low word first, modulo 2^64
    uint32_t state[4];     // A, B, C, D
    uint8_t buffer[64];    // pending message bytes
    uint8_t digest[16];    // written by Md5Final
};

void Md5Init(Md5Context* context);
void Md5Update(Md5Context* context, const uint8_t* data, uint32_t length);
void Md5Final(Md5Context* context);
void Md5Compress(uint32_t* state, const uint32_t* words);

// Hashes the file at `path` in 2048-byte reads. Returns the bytes read modulo 2^32, or 0 when the
// file cannot be opened (the context is then left untouched): 0 cannot tell that from an empty
// file.
int32_t Md5File(const char* path, Md5Context* context);

// What Md5File cannot say: whether the file opened and was read to its end, and the full count.
struct Md5FileResult {
    bool opened;         // false: the context is untouched
    bool complete;       // opened, read to end of file with no error, and not stopped
    uint64_t bytesRead;  // exact, no wrap
};
// `onChunk` (may be null) sees each read's byte count and stops the reading by returning false.
Md5FileResult Md5FileRead(const char* path, Md5Context* context,
                          bool (*onChunk)(void* user, uint32_t bytes), void* user);
