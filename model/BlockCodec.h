// A parameter block seen without its group type: where it lives on the
// instrument and how its image and the parameter record turn into each other.
// Dialogs, settings files, the initialisation and vantorctl work through it,
// so each block's encoding exists once, in its descriptor table.
#pragma once

#include "BlockTables.h"
#include "ValueCodec.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vantor {

struct BlockCodec {
    const BlockInfo* block;
    void (*decode)(std::span<const uint8_t> image, ParameterRecord& record);
    // Both encoders clear the image first.
    void (*encode)(const ParameterRecord& record, std::span<uint8_t> image);
    void (*encodeDefaults)(std::span<uint8_t> image);
    // True when the record's values, encoded, are the image last loaded.
    bool (*matchesLastRead)(const ParameterRecord& record, std::span<const uint8_t> lastRead);
    // Names of the rows whose bytes differ between two images of the block.
    std::vector<std::string> (*differingRows)(std::span<const uint8_t> a, std::span<const uint8_t> b);
    // Where the value of the row of that name lives in the record; null for a
    // name no row has. A window finds the control bound there by it.
    const void* (*rowField)(const ParameterRecord& record, std::string_view name);
    // The label of the row of that name, or of the row whose value lives at
    // `field` in the record; null when no row has it.
    const BilingualText* (*rowLabel)(std::string_view name);
    const BilingualText* (*fieldLabel)(const ParameterRecord& record, const void* field);
};

// Names of the rows of a table that do not read the same in both images; a
// byte that no row covers is named by its position.
template <typename Group>
std::vector<std::string> differingRows(DescriptorTable<Group> table, std::span<const uint8_t> a,
                                       std::span<const uint8_t> b)
{
    std::vector<std::string> names;
    const size_t size = std::min(a.size(), b.size());
    // The bits each byte's rows cover: a bit no row reads is named by its byte.
    std::vector<uint8_t> covered(size, 0);
    for (const auto& row : table) {
        if (!codec::rowFits(row.type, row.offset, row.parameter, size))
            continue;
        const auto first = static_cast<size_t>(row.offset);
        const auto width = static_cast<size_t>(imageWidth(row.type, row.parameter));
        bool differs = false;
        for (size_t i = first; i < first + width; ++i) {
            uint8_t mask = 0xFF;
            if (row.type == kBit)
                mask = static_cast<uint8_t>(1u << row.parameter);
            else if (row.type == kNibble)
                mask = row.parameter != 0 ? 0xF0 : 0x0F;
            covered[i] |= mask;
            differs = differs || ((a[i] ^ b[i]) & mask) != 0;
        }
        if (differs)
            names.emplace_back(row.name);
    }
    for (size_t i = 0; i < size; ++i)
        if (((a[i] ^ b[i]) & ~covered[i]) != 0)
            names.push_back("byte " + std::to_string(i));
    if (a.size() != b.size())
        names.emplace_back("length");
    return names;
}

template <auto& Table, auto Member, auto& Block>
constexpr BlockCodec makeBlockCodec()
{
    return {
        &Block,
        [](std::span<const uint8_t> image, ParameterRecord& record) { decodeImage(Table, image, record.*Member); },
        [](const ParameterRecord& record, std::span<uint8_t> image) { encodeImage(Table, record.*Member, image); },
        [](std::span<uint8_t> image) { encodeDefaults(Table, image); },
        [](const ParameterRecord& record, std::span<const uint8_t> lastRead) {
            return imageMatchesLastRead(Table, record.*Member, lastRead, Block.registerCount);
        },
        [](std::span<const uint8_t> a, std::span<const uint8_t> b) { return differingRows(Table, a, b); },
        [](const ParameterRecord& record, std::string_view name) -> const void* {
            for (const auto& row : Table)
                if (name == row.name)
                    return std::visit([&](auto member) -> const void* { return &((record.*Member).*member); },
                                      row.value);
            return nullptr;
        },
        [](std::string_view name) -> const BilingualText* {
            for (const auto& row : Table)
                if (name == row.name)
                    return &row.label;
            return nullptr;
        },
        [](const ParameterRecord& record, const void* field) -> const BilingualText* {
            for (const auto& row : Table)
                if (std::visit([&](auto member) -> const void* { return &((record.*Member).*member); }, row.value) ==
                    field)
                    return &row.label;
            return nullptr;
        },
    };
}

inline constexpr BlockCodec kCalibrationCodec =
    makeBlockCodec<kCalibrationTable, &ParameterRecord::calibration, kCalibrationBlock>();
inline constexpr BlockCodec kFactoryCodec = makeBlockCodec<kFactoryTable, &ParameterRecord::factory, kFactoryBlock>();
inline constexpr BlockCodec kMakerCodec = makeBlockCodec<kMakerTable, &ParameterRecord::maker, kMakerBlock>();
inline constexpr BlockCodec kCanCodec = makeBlockCodec<kCanTable, &ParameterRecord::can, kCanBlock>();
inline constexpr BlockCodec kClockCodec = makeBlockCodec<kClockTable, &ParameterRecord::clock, kClockBlock>();
inline constexpr BlockCodec kMeasurementCodec =
    makeBlockCodec<kMeasurementTable, &ParameterRecord::measurement, kMeasurementBlock>();

}  // namespace vantor
