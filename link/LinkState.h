// The link settings: the port, its speed and the unit's address.
#pragma once

#include <array>
#include <cstdint>

namespace vantor {

inline constexpr std::array<int32_t, 6> kBaudRates = {300, 600, 1200, 2400, 4800, 9600};

struct LinkSettings {
    int32_t portIndex = 0;    // 0..3 for Com1..Com4
    int32_t baudIndex = 5;    // into kBaudRates
    float jbusAddress = 1.0f; // truncated to a byte when sent
};

}  // namespace vantor
