// Measurement files: a record length L (2 bytes, least significant first)
// followed by records of L bytes, each the complete reply frame of one
// measurement read as it came from the instrument.
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

namespace vantor {

// The reply frame of the measurement read: address, function, byte count, the
// 72-byte image and the CRC.
inline constexpr size_t kMeasurementFrameSize = 77;
// The longest record a file may give: a reply frame is never longer.
inline constexpr size_t kMaxRecordLength = 512;
// A record's register image follows the frame's address, function and byte count.
inline constexpr size_t kRecordImageOffset = 3;

enum class MeasurementFileStatus {
    Ok,
    CannotOpen,
    TooShort,          // not even the record length
    BadRecordLength,   // below a measurement frame or above the reply buffer
    NoRecord,          // not one whole record
};

struct MeasurementFileGeometry {
    uint16_t recordLength = 0;
    int64_t recordCount = 0;  // whole records; a partial one at the end is ignored
};

// Reads and checks the file's geometry; on anything but Ok nothing may be read from it.
MeasurementFileStatus readMeasurementGeometry(const std::string& path, MeasurementFileGeometry& geometry);
// Reads record `index` into `frame` (its first recordLength bytes). False when
// the file cannot be read there.
bool readMeasurementRecord(const std::string& path, const MeasurementFileGeometry& geometry, int64_t index,
                           std::span<uint8_t> frame);
// The flows of records first .. first + count - 1, NaN where the file has no
// record (before its start, past its end, or unreadable).
std::vector<float> readRecordedFlows(const std::string& path, const MeasurementFileGeometry& geometry, int64_t first,
                                     int count);
// What to tell the user about a file refused for `status`, with its path.
std::string measurementFileProblem(MeasurementFileStatus status, const std::string& path, int language);

// Reads a measurement file's records in order through one buffered stream.
class MeasurementRecordReader {
public:
    MeasurementRecordReader() = default;
    ~MeasurementRecordReader();
    MeasurementRecordReader(const MeasurementRecordReader&) = delete;
    MeasurementRecordReader& operator=(const MeasurementRecordReader&) = delete;

    MeasurementFileStatus open(const std::string& path);
    const MeasurementFileGeometry& geometry() const { return m_geometry; }
    // The next record into frame (recordLength bytes); false after the last.
    bool next(std::span<uint8_t> frame);

private:
    std::FILE* m_file = nullptr;
    MeasurementFileGeometry m_geometry;
    int64_t m_read = 0;
};

// Writes the polls of a recording: the file is created at the first record
// (replacing one of that name); each record is then appended by opening the
// file, writing and closing it, and is on the disk before the call returns,
// so that a recording cut short keeps what it had.
class MeasurementRecorder {
public:
    enum class State { Idle, Starting, Appending };

    void start(const std::string& path);
    void stop();
    // Writes one reply frame; false (and the recording stops) when it cannot.
    bool record(std::span<const uint8_t> frame);

    State state() const { return m_state; }
    int count() const { return m_count; }
    const std::string& path() const { return m_path; }

private:
    State m_state = State::Idle;
    int m_count = 0;
    std::string m_path;
};

}  // namespace vantor
