#include "crc32c.h"

#include "cpu.h"

uint32_t Crc32cFold(uint32_t reg, const uint8_t* data, std::size_t length) {
    if (length == 0) return reg;  // data may then be null
    return ActiveCpuDispatch().crc32cBulk(reg, data, length);
}
