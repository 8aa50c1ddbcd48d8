// The link settings and the shared request and reply buffers.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace vantor {

inline constexpr std::array<int32_t, 6> kBaudRates = {300, 600, 1200, 2400, 4800, 9600};

struct LinkSettings {
    int32_t portIndex = 0;    // 0..3 for Com1..Com4
    int32_t baudIndex = 5;    // into kBaudRates
    float jbusAddress = 1.0f; // truncated to a byte when sent
};

struct LinkBuffers {
    static constexpr size_t kSize = 512;
    static constexpr size_t kReplyImage = 3;    // a read reply's register image starts here
    static constexpr size_t kRequestImage = 7;  // a write request's register image starts here

    uint16_t received = 0;
    std::array<uint8_t, kSize> reply{};
    std::array<uint8_t, kSize> request{};
    int32_t lastResult = 0;
};

}  // namespace vantor
