// The link settings and the shared request and reply buffers.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

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

// The register image of the last read reply.
inline std::span<const uint8_t> replyImage(const LinkBuffers& buffers)
{
    return std::span<const uint8_t>(buffers.reply).subspan(LinkBuffers::kReplyImage);
}

// The same place, where a settings file is read into as a block read would put it.
inline std::span<uint8_t> replyImage(LinkBuffers& buffers)
{
    return std::span<uint8_t>(buffers.reply).subspan(LinkBuffers::kReplyImage);
}

// The data area of a write request, where encoders build the image to send.
inline std::span<uint8_t> requestImage(LinkBuffers& buffers)
{
    return std::span<uint8_t>(buffers.request).subspan(LinkBuffers::kRequestImage);
}

}  // namespace vantor
