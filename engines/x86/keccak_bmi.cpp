// SHA-3's absorb function (FIPS 202) compiled for BMI1 and BMI2: ANDN gives chi's a ^ (~b & c) in
// two instructions and RORX rotates into a fresh register, so the 25 lanes can live in registers.
// The rounds are the portable engine's (keccak_round.h).
#include "../keccak_round.h"
#include "x86_blocks.h"

__attribute__((target("bmi,bmi2"))) void Sha3AbsorbBmi(uint64_t* state, const uint8_t* data,
                                                       std::size_t blocks, std::size_t rateLanes) {
    keccak::Absorb<true>(state, data, blocks, rateLanes);
}
