// SHA-512 block function (FIPS 180-2) compiled for BMI2, whose RORX rotates into a fresh
// register without touching the flags, which saves the copies the two-operand rotate needs in
// the three-rotation Sigma functions. The rounds and the schedule are the portable engine's
// (sha512_round.h); only the target and the loads from the caller's bytes are this file's.
#include "../bytes.h"
#include "../sha512_round.h"
#include "x86_blocks.h"

__attribute__((target("bmi2"))) void Sha512BlocksBmi2(uint64_t* state, const uint8_t* data,
                                                      std::size_t blocks) {
    for (; blocks > 0; --blocks, data += 128) {
        uint64_t w[16];
        for (int t = 0; t < 16; ++t) w[t] = LoadBe64(data + 8 * t);
        Sha512Rounds(state, w);
    }
}
