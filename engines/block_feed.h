// Update through a whole-block function: the partial first and last blocks go through the
// context's buffer, every whole block in between is compressed straight from the caller's memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// `pos` bytes are pending in `buffer` (fewer than `block`); `compress(data, count)` compresses
// `count` whole blocks. The caller has already counted `length`.
template <class Compress>
inline void FeedBlocksWith(std::size_t block, Compress compress, uint8_t* buffer, std::size_t pos,
                           const uint8_t* data, std::size_t length) {
    if (length == 0) return;  // data may then be null, which memcpy must not see
    if (pos != 0) {
        const std::size_t space = block - pos;
        if (length < space) {
            std::memcpy(buffer + pos, data, length);
            return;
        }
        std::memcpy(buffer + pos, data, space);
        compress(buffer, std::size_t{1});
        data += space;
        length -= space;
    }
    if (length >= block) {
        compress(data, length / block);
        data += length / block * block;
        length %= block;
    }
    if (length != 0) std::memcpy(buffer, data, length);
}

// The same over a whole-block function of the state alone, with a fixed block size.
template <std::size_t Block, class Word>
inline void FeedBlocks(void (*blocks)(Word*, const uint8_t*, std::size_t), Word* state,
                       uint8_t* buffer, std::size_t pos, const uint8_t* data, std::size_t length) {
    FeedBlocksWith(
        Block, [&](const uint8_t* at, std::size_t count) { blocks(state, at, count); }, buffer, pos,
        data, length);
}
