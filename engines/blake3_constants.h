// BLAKE3's constants, shared by the portable compression and the vector ones: the IV (SHA-256's)
// and the message word order of each of the seven rounds (the permutation applied round by round).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

inline constexpr uint32_t kBlake3Iv[8] = {0x6A09E667, 0xBB67AE85, 0x3C6EF372, 0xA54FF53A,
                                          0x510E527F, 0x9B05688C, 0x1F83D9AB, 0x5BE0CD19};

inline constexpr std::size_t kBlake3Rounds = 7;

// kBlake3Schedule[r][i]: which message word round r uses in position i.
inline constexpr auto kBlake3Schedule = [] {
    constexpr std::size_t permutation[16] = {2, 6, 3, 10, 7, 0, 4, 13, 1, 11, 12, 5, 9, 14, 15, 8};
    std::array<std::array<uint8_t, 16>, kBlake3Rounds> s{};
    for (std::size_t i = 0; i < 16; ++i) s[0][i] = static_cast<uint8_t>(i);
    for (std::size_t r = 1; r < kBlake3Rounds; ++r)
        for (std::size_t i = 0; i < 16; ++i) s[r][i] = s[r - 1][permutation[i]];
    return s;
}();
