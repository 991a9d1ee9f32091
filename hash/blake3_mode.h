// BLAKE3's keyed and key-derivation modes as a value every read loop carries (in the DigestForm
// of HashControl and FileJob): the key words a mode's tree starts from and its flag, so a keyed
// file goes through the same paths as a plain one. Also the key as b3sum takes it: all of standard
// input.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

class ByteSource;
struct Blake3Context;

struct Blake3Mode {
    std::array<uint32_t, 8> key{};  // the key's words, or the derived context key's
    uint8_t flags = 0;              // the mode's flag; none: the plain hash (`key` unused)
    bool Plain() const { return flags == 0; }
};

Blake3Mode Blake3KeyedMode(const uint8_t key[32]);
Blake3Mode Blake3DeriveKeyMode(std::string_view context);
// Starts `context` in `mode`.
void Blake3Start(Blake3Context* context, const Blake3Mode& mode);

// The keyed mode with the key that is all of `source`: exactly 32 bytes. None otherwise, with
// `found` the bytes read (33 standing for more than 32) or, when a read failed, `error` its errno.
std::optional<Blake3Mode> ReadBlake3Key(ByteSource& source, std::size_t& found, int& error);
