#include "MeasurementFile.h"

#include "FileNames.h"
#include "LanguageTables.h"

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

namespace vantor {

namespace {

// The few file calls that differ between the systems: binary mode, sizes past
// 2 GiB, and flushing to the disk.
#ifdef _WIN32
using FileInfo = struct _stat64;
int statOpenFile(std::FILE* file, FileInfo& info) { return _fstat64(_fileno(file), &info); }
bool isRegular(const FileInfo& info) { return (info.st_mode & _S_IFMT) == _S_IFREG; }
int seekTo(std::FILE* file, int64_t at) { return _fseeki64(file, at, SEEK_SET); }
int writeSome(int fd, const uint8_t* bytes, size_t size)
{
    return _write(fd, bytes, static_cast<unsigned>(std::min<size_t>(size, 1u << 30)));
}
bool syncToDisk(int fd) { return _commit(fd) == 0; }
int closeFile(int fd) { return _close(fd); }
#else
using FileInfo = struct stat;
int statOpenFile(std::FILE* file, FileInfo& info) { return fstat(fileno(file), &info); }
bool isRegular(const FileInfo& info) { return S_ISREG(info.st_mode); }
int seekTo(std::FILE* file, int64_t at) { return fseeko(file, static_cast<off_t>(at), SEEK_SET); }
ssize_t writeSome(int fd, const uint8_t* bytes, size_t size) { return ::write(fd, bytes, size); }
bool syncToDisk(int fd) { return ::fdatasync(fd) == 0; }
int closeFile(int fd) { return ::close(fd); }
#endif

constexpr int64_t kHeaderSize = 2;

MeasurementFileStatus check(int64_t fileSize, const uint8_t header[2], MeasurementFileGeometry& geometry)
{
    if (fileSize < kHeaderSize)
        return MeasurementFileStatus::TooShort;
    geometry.recordLength = static_cast<uint16_t>(header[0] | (header[1] << 8));
    if (geometry.recordLength < kMeasurementFrameSize || geometry.recordLength > kMaxRecordLength)
        return MeasurementFileStatus::BadRecordLength;
    geometry.recordCount = (fileSize - kHeaderSize) / geometry.recordLength;
    return geometry.recordCount > 0 ? MeasurementFileStatus::Ok : MeasurementFileStatus::NoRecord;
}

// Writes all of it, or says why not.
bool writeAll(int fd, std::span<const uint8_t> bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const auto n = writeSome(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

MeasurementFileStatus readMeasurementGeometry(const std::string& path, MeasurementFileGeometry& geometry)
{
    MeasurementRecordReader reader;
    const MeasurementFileStatus status = reader.open(path);
    geometry = reader.geometry();
    return status;
}

bool readMeasurementRecord(const std::string& path, const MeasurementFileGeometry& geometry, int64_t index,
                           std::span<uint8_t> frame)
{
    if (index < 0 || index >= geometry.recordCount || frame.size() < geometry.recordLength)
        return false;
    std::FILE* file = openFile(path, "rb");
    if (!file)
        return false;
    const bool read = seekTo(file, kHeaderSize + index * geometry.recordLength) == 0 &&
                      std::fread(frame.data(), 1, geometry.recordLength, file) == geometry.recordLength;
    std::fclose(file);
    return read;
}

std::vector<float> readRecordedFlows(const std::string& path, const MeasurementFileGeometry& geometry, int64_t first,
                                     int count)
{
    std::vector<float> flows(static_cast<size_t>(std::max(count, 0)), std::numeric_limits<float>::quiet_NaN());
    const int64_t from = std::max<int64_t>(first, 0);
    const int64_t to = std::min<int64_t>(first + count, geometry.recordCount);
    if (from >= to || geometry.recordLength < kMeasurementFrameSize)
        return flows;
    std::FILE* file = openFile(path, "rb");
    if (!file)
        return flows;
    // One read for the whole window: a key held down on a long file stays smooth.
    std::vector<uint8_t> bytes(static_cast<size_t>(to - from) * geometry.recordLength);
    const size_t read = seekTo(file, kHeaderSize + from * geometry.recordLength) == 0
                            ? std::fread(bytes.data(), 1, bytes.size(), file)
                            : 0;
    std::fclose(file);
    for (int64_t k = from; k < to && static_cast<size_t>(k - from + 1) * geometry.recordLength <= read; ++k) {
        const uint8_t* at = bytes.data() + static_cast<size_t>(k - from) * geometry.recordLength + kRecordImageOffset;
        const uint32_t bits = (uint32_t{at[0]} << 24) | (uint32_t{at[1]} << 16) | (uint32_t{at[2]} << 8) | at[3];
        float flow;
        std::memcpy(&flow, &bits, sizeof flow);
        flows[static_cast<size_t>(k - first)] = flow;
    }
    return flows;
}

std::string measurementFileProblem(MeasurementFileStatus status, const std::string& path, int language)
{
    const BilingualText* text = &lang::FileCannotRead;
    if (status == MeasurementFileStatus::TooShort)
        text = &lang::MeasFileTooShort;
    else if (status == MeasurementFileStatus::BadRecordLength)
        text = &lang::MeasFileBadLength;
    else if (status == MeasurementFileStatus::NoRecord)
        text = &lang::MeasFileNoRecord;
    return text->text(language) + path;
}

MeasurementRecordReader::~MeasurementRecordReader()
{
    if (m_file)
        std::fclose(m_file);
}

MeasurementFileStatus MeasurementRecordReader::open(const std::string& path)
{
    if (m_file)
        std::fclose(m_file);
    m_geometry = {};
    m_read = 0;
    m_file = openFile(path, "rb");
    if (!m_file)
        return MeasurementFileStatus::CannotOpen;
    FileInfo info{};
    uint8_t header[2] = {0, 0};
    if (statOpenFile(m_file, info) != 0 || !isRegular(info)) {
        std::fclose(m_file);
        m_file = nullptr;
        return MeasurementFileStatus::CannotOpen;
    }
    const size_t got = std::fread(header, 1, 2, m_file);
    const MeasurementFileStatus status = check(got == 2 ? info.st_size : 0, header, m_geometry);
    if (status != MeasurementFileStatus::Ok) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    return status;
}

bool MeasurementRecordReader::next(std::span<uint8_t> frame)
{
    if (!m_file || m_read >= m_geometry.recordCount || frame.size() < m_geometry.recordLength)
        return false;
    if (std::fread(frame.data(), 1, m_geometry.recordLength, m_file) != m_geometry.recordLength)
        return false;
    ++m_read;
    return true;
}

void MeasurementRecorder::start(const std::string& path)
{
    m_path = path;
    m_state = State::Starting;
}

void MeasurementRecorder::stop() { m_state = State::Idle; }

bool MeasurementRecorder::record(std::span<const uint8_t> frame)
{
    if (m_state == State::Idle)
        return true;
    const bool first = m_state == State::Starting;
    const int fd = openForAppending(m_path, first);
    bool written = fd >= 0;
    if (written && first) {
        const uint8_t length[2] = {static_cast<uint8_t>(frame.size() & 0xFF), static_cast<uint8_t>(frame.size() >> 8)};
        written = writeAll(fd, length);
    }
    written = written && writeAll(fd, frame) && syncToDisk(fd);
    if (fd >= 0)
        written = closeFile(fd) == 0 && written;
    if (!written) {
        m_state = State::Idle;
        return false;
    }
    m_state = State::Appending;
    m_count = first ? 1 : m_count + 1;
    return true;
}

}  // namespace vantor
