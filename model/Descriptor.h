// Descriptor tables: where each parameter of a block sits in the block's register
// image, how it is encoded, and where its decoded value lives.
#pragma once

#include "LanguageTables.h"

#include <array>
#include <cstdint>
#include <span>
#include <variant>

namespace vantor {

// Encoding codes of a descriptor row.
enum ValueType : uint8_t {
    kFloat32 = 0,   // 4 bytes, IEEE-754 single
    kInt32 = 1,     // 4 bytes, signed
    kUint16 = 2,    // 2 bytes, zero-extended
    kByte = 3,      // 1 byte, zero-extended
    kBit = 4,       // bit `parameter` of one byte
    kNibble = 5,    // high nibble when `parameter` is not 0, else low nibble
    kScaledU16 = 6, // unsigned 16 bits divided by `parameter`
    kScaledI24 = 7, // signed 24 bits divided by `parameter`
    kScaledU8 = 8,  // unsigned byte divided by `parameter`
    kScaledI16 = 9, // signed 16 bits divided by `parameter`
    kText = 10,     // `parameter` characters, ended early by a NUL
};

inline constexpr size_t kTextCapacity = 13;  // 12 characters and a terminating NUL
using Text = std::array<char, kTextCapacity>;

// Where a row's decoded value is stored in its group of the parameter record:
// floats for scaled values and floats, 32-bit integers for choice indexes and
// integers, a byte for bits and nibbles, characters for text.
template <typename Group>
using ValueRef = std::variant<float Group::*, int32_t Group::*, uint8_t Group::*, Text Group::*>;

// How a value is shown and kept in bounds wherever it is edited or checked: a
// number with its printf format and limits, or an index into a choice list.
// The kind says which members hold: tables test it, not the pointers, so that it
// stays a constant expression in every build.
struct Shown {
    enum Kind { plain, number, choice, probe };  // probe: the probe catalogue's names
    Kind kind = plain;
    const char* format = nullptr;  // for one double; "" rounds automatically
    double minimum = 0;
    double maximum = 0;
    const ChoiceList* list = nullptr;
};

constexpr Shown number(const char* format, double minimum, double maximum)
{
    return {Shown::number, format, minimum, maximum};
}
constexpr Shown choice(const ChoiceList& list) { return {Shown::choice, nullptr, 0, 0, &list}; }
inline constexpr Shown kProbeChoice{Shown::probe};

template <typename Group>
struct Descriptor {
    ValueRef<Group> value;
    uint8_t type;
    int16_t offset;     // first byte in the image (0 = high byte of the first register)
    int16_t parameter;  // scale, bit number, nibble selector or text length, by type
    int32_t defaultRaw; // the integer the image holds for the default value
    const char* name;   // English name, which scripts and reports may rely on
    const char* unit;
    BilingualText label = {"", ""};  // the name as the user reads it, in either language
    Shown shown = {};
};

template <typename Group>
using DescriptorTable = std::span<const Descriptor<Group>>;

// Bytes a row occupies in the image (a bit or a nibble occupies its byte).
constexpr int imageWidth(uint8_t type, int16_t parameter)
{
    switch (type) {
    case kFloat32:
    case kInt32: return 4;
    case kUint16:
    case kScaledU16:
    case kScaledI16: return 2;
    case kByte:
    case kBit:
    case kNibble:
    case kScaledU8: return 1;
    case kScaledI24: return 3;
    case kText: return parameter;
    default: return 0;
    }
}

// Scale of a row: its divisor for the scaled types, 1 for the others.
constexpr int rowScale(uint8_t type, int16_t parameter)
{
    return type >= kScaledU16 && type <= kScaledI16 && parameter > 0 ? parameter : 1;
}

// Whether every row lies inside an image of `size` bytes and no two rows share
// a byte, but for bits or nibbles that split theirs.
template <typename Group>
constexpr bool rowsFitApart(DescriptorTable<Group> table, int size)
{
    for (size_t i = 0; i < table.size(); ++i) {
        const Descriptor<Group>& a = table[i];
        const int end = a.offset + imageWidth(a.type, a.parameter);
        if (a.offset < 0 || end > size)
            return false;
        for (size_t j = i + 1; j < table.size(); ++j) {
            const Descriptor<Group>& b = table[j];
            const bool split = (a.type == kBit || a.type == kNibble) && b.type == a.type && b.offset == a.offset &&
                               b.parameter != a.parameter;
            if (!split && b.offset < end && a.offset < b.offset + imageWidth(b.type, b.parameter))
                return false;
        }
    }
    return true;
}

}  // namespace vantor
