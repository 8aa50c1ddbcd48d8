// Measurement records as the instrument sends them, for the tests of the
// recording, the conversion and their dialogs.
#pragma once

#include "BlockTables.h"
#include "JbusCrc.h"
#include "MeasurementFile.h"
#include "ValueCodec.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace vantor::test {

// The record of the example: 6 Dec 2026 15:07:09, 12.3456 m3/h, 1.5 m/s, 1480 m/s.
inline MeasurementValues example()
{
    MeasurementValues v;
    v.flow = 12.3456f;
    v.speed = 1.5f;
    v.velocity = 1480;
    v.flowUnit = 4;
    v.day = 6;
    v.month = 12;
    v.year = 26;
    v.hour = 15;
    v.minute = 7;
    v.second = 9;
    return v;
}

// The reply frame of a measurement read, padded with zeros to `length`.
inline std::string frame(const MeasurementValues& values, size_t length = kMeasurementFrameSize)
{
    std::vector<uint8_t> frame(std::max(length, kMeasurementFrameSize), 0);
    frame[0] = 1;
    frame[1] = 3;
    frame[2] = static_cast<uint8_t>(kMeasurementBlock.imageSize());
    encodeImage(kMeasurementTable, values, std::span<uint8_t>(frame.data() + 3, kMeasurementBlock.imageSize()));
    const uint16_t crc = jbusCrc16(frame.data(), 75);
    frame[75] = static_cast<uint8_t>(crc & 0xFF);
    frame[76] = static_cast<uint8_t>(crc >> 8);
    return {frame.begin(), frame.end()};
}

inline std::string lengthWord(size_t length)
{
    return {static_cast<char>(length & 0xFF), static_cast<char>(length >> 8)};
}

inline void writeBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::vector<std::string> filesIn(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace vantor::test
