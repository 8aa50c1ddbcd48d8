#pragma once

#include <cstdint>

namespace vantor {

// CRC-16/MODBUS; sent low byte first.
uint16_t jbusCrc16(const uint8_t* bytes, uint16_t length);

}  // namespace vantor
