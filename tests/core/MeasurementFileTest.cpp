// Measurement files: what a recording writes, and which files replay refuses.
#include "FrameLog.h"
#include "LocalTime.h"
#include "MeasurementFile.h"
#include "ProgramState.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>

#include <fstream>

using namespace vantor;

namespace {

std::vector<uint8_t> frame(uint8_t tag)
{
    std::vector<uint8_t> frame(kMeasurementFrameSize, tag);
    frame[0] = 1;
    frame[1] = 3;
    frame[2] = 72;
    return frame;
}

size_t fileSize(const std::string& path) { return std::filesystem::file_size(path); }

void write(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

TEST(MeasurementRecorder, RecordsFramesBehindTheirLength)
{
    test::TempDir dir;
    const std::string path = dir.file("run.mes");
    MeasurementRecorder recorder;
    EXPECT_TRUE(recorder.record(frame(9))) << "idle: nothing to write";
    EXPECT_FALSE(std::filesystem::exists(path));

    recorder.start(path);
    EXPECT_EQ(recorder.state(), MeasurementRecorder::State::Starting);
    for (int tag : {0xA1, 0xA2, 0xA3})
        ASSERT_TRUE(recorder.record(frame(static_cast<uint8_t>(tag))));
    EXPECT_EQ(recorder.count(), 3);
    std::vector<uint8_t> bytes(233);
    std::ifstream(path, std::ios::binary).read(reinterpret_cast<char*>(bytes.data()), 233);
    ASSERT_EQ(fileSize(path), 233u);
    EXPECT_EQ(bytes[0], 0x4D);
    EXPECT_EQ(bytes[1], 0x00);
    EXPECT_EQ(bytes[2 + 77 + 5], 0xA2);
    EXPECT_EQ(bytes[232], 0xA3);
}

// A full disk mid-recording: the recording stops and what was written stays.
TEST(MeasurementRecorder, AFailedWriteStopsTheRecordingAndKeepsWhatWasWritten)
{
    test::TempDir dir;
    const std::string path = dir.file("run.mes");
    MeasurementRecorder recorder;
    recorder.start(path);
    ASSERT_TRUE(recorder.record(frame(1)) && recorder.record(frame(2)));
    std::filesystem::rename(path, dir.file("kept.mes"));
#ifdef _WIN32
    std::filesystem::create_directory(path);  // no /dev/full: a name that cannot be written
#else
    std::filesystem::create_symlink("/dev/full", path);
#endif
    EXPECT_FALSE(recorder.record(frame(3)));
    EXPECT_EQ(recorder.state(), MeasurementRecorder::State::Idle);
    EXPECT_EQ(fileSize(dir.file("kept.mes")), 2u + 2 * 77);
}

TEST(MeasurementFile, GeometryAndRefusals)
{
    test::TempDir dir;
    std::vector<uint8_t> three = {0x4D, 0x00};
    for (uint8_t k = 0; k < 3; ++k) {
        const std::vector<uint8_t> f = frame(k);
        three.insert(three.end(), f.begin(), f.end());
    }
    std::vector<uint8_t> stray = three;
    stray.push_back(0xEE);
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        MeasurementFileStatus status;
    } cases[] = {
        {"three", three, MeasurementFileStatus::Ok},
        {"stray byte", stray, MeasurementFileStatus::Ok},
        {"empty", {}, MeasurementFileStatus::TooShort},
        {"one byte", {0x4D}, MeasurementFileStatus::TooShort},
        {"length 0", {0x00, 0x00, 1, 2, 3}, MeasurementFileStatus::BadRecordLength},
        {"length 76", {0x4C, 0x00, 1, 2, 3}, MeasurementFileStatus::BadRecordLength},
        {"length 513", {0x01, 0x02, 1, 2, 3}, MeasurementFileStatus::BadRecordLength},
        {"no whole record", {0x4D, 0x00, 1, 2, 3}, MeasurementFileStatus::NoRecord},
    };
    for (const auto& c : cases) {
        const std::string path = dir.file("f.mes");
        write(path, c.bytes);
        MeasurementFileGeometry geometry;
        EXPECT_EQ(readMeasurementGeometry(path, geometry), c.status) << c.name;
        if (c.status == MeasurementFileStatus::Ok) {
            EXPECT_EQ(geometry.recordCount, 3) << c.name;
        }
    }
    MeasurementFileGeometry geometry;
    EXPECT_EQ(readMeasurementGeometry(dir.file("missing.mes"), geometry), MeasurementFileStatus::CannotOpen);
    EXPECT_EQ(readMeasurementGeometry(dir.path().string(), geometry), MeasurementFileStatus::CannotOpen)
        << "a folder is no file";

    write(dir.file("f.mes"), three);
    ASSERT_EQ(readMeasurementGeometry(dir.file("f.mes"), geometry), MeasurementFileStatus::Ok);
    std::vector<uint8_t> frame(512, 0);
    ASSERT_TRUE(readMeasurementRecord(dir.file("f.mes"), geometry, 2, frame));
    EXPECT_EQ(frame[3], 2);
    EXPECT_EQ(frame[77], 0) << "nothing past the record is touched";
}

// Saved, they are the link window's test.
TEST(FrameLog, KeepsTheLastFramesInTheLanguageAndAtTheirTimeOfDay)
{
    FrameLog log(3);
    for (uint8_t first = 1; first <= 5; ++first)
        log.add({int64_t{1709647629123} + first, 12.5 * first, TraceDirection::Sent, {first, 3}, TraceVerdict::Good});
    log.add({1709647629123, 75.0, TraceDirection::Received, {}, TraceVerdict::Silence});
    const std::vector<std::string> english = log.lines(kEnglish), french = log.lines(kFrench);
    ASSERT_EQ(english.size(), 3u);
    const LocalDateTime t = localTimeOf(1709647629);
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d:%02d.", t.hour, t.minute, t.second);
    EXPECT_EQ(english[0], std::string(time) + "127       50.0 ms sent 04 03  good");
    EXPECT_EQ(french[1], std::string(time) + "128       62.5 ms envoi 05 03  bon");
    EXPECT_EQ(french[2], std::string(time) + "123       75.0 ms reçu silence");
}
