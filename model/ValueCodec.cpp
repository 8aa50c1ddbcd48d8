#include "ValueCodec.h"

#include <cmath>
#include <cstring>

namespace vantor::codec {

namespace {

uint32_t bigEndian(const uint8_t* at, int bytes)
{
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v = (v << 8) | at[i];
    return v;
}

void orBigEndian(uint8_t* at, int bytes, uint32_t v)
{
    for (int i = bytes - 1; i >= 0; --i, v >>= 8)
        at[i] |= static_cast<uint8_t>(v);
}

int64_t signExtend(uint32_t v, int bits)
{
    const int64_t sign = int64_t{1} << (bits - 1);
    const int64_t value = v & ((int64_t{1} << bits) - 1);
    return (value ^ sign) - sign;
}

// Rounds half away from zero. Values no integer can hold saturate instead of
// being undefined; nothing in range is affected.
int64_t roundHalfAway(double x)
{
    if (std::isnan(x))
        return 0;
    const double rounded = x >= 0 ? x + 0.5 : x - 0.5;
    if (rounded >= 9.2e18)
        return INT64_MAX;
    if (rounded <= -9.2e18)
        return INT64_MIN;
    return static_cast<int64_t>(rounded);  // truncates toward zero
}

}  // namespace

bool rowFits(uint8_t type, int16_t offset, int16_t parameter, size_t imageSize)
{
    const int width = imageWidth(type, parameter);
    return width > 0 && offset >= 0 && static_cast<size_t>(offset) + static_cast<size_t>(width) <= imageSize;
}

double decodeNumber(uint8_t type, int16_t parameter, const uint8_t* at)
{
    const double scale = rowScale(type, parameter);
    switch (type) {
    case kFloat32: {
        const uint32_t bits = bigEndian(at, 4);
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return static_cast<double>(f);
    }
    case kInt32: return static_cast<double>(signExtend(bigEndian(at, 4), 32));
    case kUint16: return bigEndian(at, 2);
    case kByte: return at[0];
    case kBit: return (at[0] >> (parameter & 7)) & 1;
    case kNibble: return parameter != 0 ? at[0] >> 4 : at[0] & 0x0F;
    case kScaledU16: return bigEndian(at, 2) / scale;
    case kScaledI24: return static_cast<double>(signExtend(bigEndian(at, 3), 24)) / scale;
    case kScaledU8: return at[0] / scale;
    case kScaledI16: return static_cast<double>(signExtend(bigEndian(at, 2), 16)) / scale;
    default: return 0;
    }
}

uint32_t rawOf(uint8_t type, int16_t parameter, double value)
{
    switch (type) {
    case kFloat32: {
        const float f = static_cast<float>(value);
        uint32_t bits;
        std::memcpy(&bits, &f, sizeof bits);
        return bits;
    }
    case kScaledU16:
    case kScaledI24:
    case kScaledU8:
    case kScaledI16: return static_cast<uint32_t>(roundHalfAway(value * rowScale(type, parameter)));
    default: return static_cast<uint32_t>(roundHalfAway(std::trunc(value)));
    }
}

void putRaw(uint8_t type, int16_t parameter, uint32_t raw, uint8_t* at)
{
    switch (type) {
    case kFloat32:
    case kInt32: orBigEndian(at, 4, raw); break;
    case kUint16:
    case kScaledU16:
    case kScaledI16: orBigEndian(at, 2, raw); break;
    case kByte:
    case kScaledU8: at[0] |= static_cast<uint8_t>(raw); break;
    case kBit: at[0] |= static_cast<uint8_t>((raw & 1) << (parameter & 7)); break;
    case kNibble: at[0] |= static_cast<uint8_t>(parameter != 0 ? raw << 4 : raw & 0x0F); break;
    case kScaledI24: orBigEndian(at, 3, raw); break;
    default: break;
    }
}

void decodeText(const uint8_t* at, size_t length, char* out, size_t capacity)
{
    if (capacity == 0)
        return;
    const size_t kept = std::min(length, capacity - 1);
    size_t i = 0;
    for (; i < kept && at[i] != 0; ++i)
        out[i] = static_cast<char>(at[i]);
    std::memset(out + i, 0, capacity - i);
}

}  // namespace vantor::codec
