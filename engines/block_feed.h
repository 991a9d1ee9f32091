// Update through a whole-block function: the partial first and last blocks go through the
// context's buffer, every whole block in between is compressed straight from the caller's memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// `pos` bytes are pending in `buffer` (less than Block); the caller has already counted `length`.
template <std::size_t Block, class Word>
inline void FeedBlocks(void (*blocks)(Word*, const uint8_t*, std::size_t), Word* state,
                       uint8_t* buffer, std::size_t pos, const uint8_t* data, std::size_t length) {
    if (length == 0) return;  // data may then be null, which memcpy must not see
    if (pos != 0) {
        const std::size_t space = Block - pos;
        if (length < space) {
            std::memcpy(buffer + pos, data, length);
            return;
        }
        std::memcpy(buffer + pos, data, space);
        blocks(state, buffer, 1);
        data += space;
        length -= space;
    }
    if (length >= Block) {
        blocks(state, data, length / Block);
        data += length / Block * Block;
        length %= Block;
    }
    if (length != 0) std::memcpy(buffer, data, length);
}
