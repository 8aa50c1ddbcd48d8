// The codec between register images and the parameter record, driven by
// descriptor tables. Images are most significant byte first.
#pragma once

#include "Descriptor.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <span>

namespace vantor {

namespace codec {

// True when a row of this type lies wholly inside an image of imageSize bytes.
bool rowFits(uint8_t type, int16_t offset, int16_t parameter, size_t imageSize);
// The value a numeric row (types 0 to 9) holds in the image.
double decodeNumber(uint8_t type, int16_t parameter, const uint8_t* at);
// The integer the image holds for a value: scaled and rounded half away from
// zero for types 6 to 9, the exact bit pattern for types 0 and 1.
uint32_t rawOf(uint8_t type, int16_t parameter, double value);
// ORs a raw integer into the image at the row's place (types 1 to 9, and type 0
// given the float's bit pattern).
void putRaw(uint8_t type, int16_t parameter, uint32_t raw, uint8_t* at);
// Copies up to length characters, stopping at a NUL, and fills the rest with NULs.
void decodeText(const uint8_t* at, size_t length, char* out, size_t capacity);

}  // namespace codec

template <typename Group>
double loadValue(const Group& group, const ValueRef<Group>& ref)
{
    if (auto f = std::get_if<float Group::*>(&ref))
        return static_cast<double>(group.**f);
    if (auto i = std::get_if<int32_t Group::*>(&ref))
        return group.**i;
    if (auto b = std::get_if<uint8_t Group::*>(&ref))
        return group.**b;
    return 0;
}

// Converts to an integer type, saturating what it cannot hold (NaN gives 0).
template <typename Int>
Int saturateTo(double value)
{
    if (!(value == value))
        return 0;
    if (value <= static_cast<double>(std::numeric_limits<Int>::min()))
        return std::numeric_limits<Int>::min();
    if (value >= static_cast<double>(std::numeric_limits<Int>::max()))
        return std::numeric_limits<Int>::max();
    return static_cast<Int>(value);
}

template <typename Group>
void storeValue(Group& group, const ValueRef<Group>& ref, double value)
{
    if (auto f = std::get_if<float Group::*>(&ref))
        group.**f = static_cast<float>(value);
    else if (auto i = std::get_if<int32_t Group::*>(&ref))
        group.**i = saturateTo<int32_t>(value);
    else if (auto b = std::get_if<uint8_t Group::*>(&ref))
        group.**b = saturateTo<uint8_t>(value);
}

// Fills the group from the image. Rows that do not fit the image, or of an
// unknown type, are skipped.
template <typename Group>
void decodeImage(DescriptorTable<Group> table, std::span<const uint8_t> image, Group& group)
{
    for (const auto& row : table) {
        if (!codec::rowFits(row.type, row.offset, row.parameter, image.size()))
            continue;
        const uint8_t* at = image.data() + row.offset;
        if (row.type == kText) {
            if (auto t = std::get_if<Text Group::*>(&row.value))
                codec::decodeText(at, static_cast<size_t>(row.parameter), (group.**t).data(), kTextCapacity);
        } else {
            storeValue(group, row.value, codec::decodeNumber(row.type, row.parameter, at));
        }
    }
}

// Clears the image and writes every numeric row from the group into it.
template <typename Group>
void encodeImage(DescriptorTable<Group> table, const Group& group, std::span<uint8_t> image)
{
    std::fill(image.begin(), image.end(), uint8_t{0});
    for (const auto& row : table) {
        if (row.type > kScaledI16 || !codec::rowFits(row.type, row.offset, row.parameter, image.size()))
            continue;
        const double value = loadValue(group, row.value);
        codec::putRaw(row.type, row.parameter, codec::rawOf(row.type, row.parameter, value), image.data() + row.offset);
    }
}

// Clears the image and writes every row's default raw value (floats and texts stay 0).
template <typename Group>
void encodeDefaults(DescriptorTable<Group> table, std::span<uint8_t> image)
{
    std::fill(image.begin(), image.end(), uint8_t{0});
    for (const auto& row : table) {
        if (row.type < kInt32 || row.type > kScaledI16 ||
            !codec::rowFits(row.type, row.offset, row.parameter, image.size()))
            continue;
        codec::putRaw(row.type, row.parameter, static_cast<uint32_t>(row.defaultRaw), image.data() + row.offset);
    }
}

// True when the group, encoded, equals the first 2 x registerCount bytes of lastRead.
template <typename Group>
bool imageMatchesLastRead(DescriptorTable<Group> table, const Group& group, std::span<const uint8_t> lastRead,
                          size_t registerCount)
{
    const size_t size = 2 * registerCount;
    if (size > lastRead.size())
        return false;
    uint8_t encoded[512];
    if (size > sizeof encoded)
        return false;
    encodeImage(table, group, std::span<uint8_t>(encoded, size));
    return std::memcmp(encoded, lastRead.data(), size) == 0;
}

}  // namespace vantor
