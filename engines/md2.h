// MD2 message digest, RFC 1319.
#pragma once

#include <cstdint>

class CMD2 {
public:
    CMD2();
    virtual ~CMD2();

    void Init();
    void Update(const uint8_t* data, uint32_t length);
    // Writes the first `length` digest bytes (at most 16) and clears the object for a new message.
    void Final(uint8_t* digest, uint32_t length);

    uint8_t state[48];      // X: chaining value, block copy, block XOR chaining value
    uint8_t checksum[16];   // C
    uint8_t buffer[16];     // pending message bytes
    uint32_t pendingBytes;  // 0 to 15 between calls
};
