// Bytes as hexadecimal text and back, for the simulator's socket protocol: one
// word per frame, "-" for none.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vantor::sim {

inline std::string hexText(const std::vector<uint8_t>& bytes)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (uint8_t b : bytes) {
        text += kDigits[b >> 4];
        text += kDigits[b & 15];
    }
    return text.empty() ? "-" : text;
}

inline std::vector<uint8_t> hexBytes(const std::string& text)
{
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i + 1 < text.size(); i += 2)
        bytes.push_back(static_cast<uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16)));
    return bytes;
}

}  // namespace vantor::sim
