#include "MeasurementFile.h"

#include "LanguageTables.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace vantor {

namespace {

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
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
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
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    const bool read = std::fseek(file, static_cast<long>(kHeaderSize + index * geometry.recordLength), SEEK_SET) == 0 &&
                      std::fread(frame.data(), 1, geometry.recordLength, file) == geometry.recordLength;
    std::fclose(file);
    return read;
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
    m_file = std::fopen(path.c_str(), "rb");
    if (!m_file)
        return MeasurementFileStatus::CannotOpen;
    struct stat info {};
    uint8_t header[2] = {0, 0};
    if (fstat(fileno(m_file), &info) != 0 || !S_ISREG(info.st_mode)) {
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
    const int fd = ::open(m_path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | (first ? O_TRUNC : O_APPEND), 0644);
    bool written = fd >= 0;
    if (written && first) {
        const uint8_t length[2] = {static_cast<uint8_t>(frame.size() & 0xFF), static_cast<uint8_t>(frame.size() >> 8)};
        written = writeAll(fd, length);
    }
    written = written && writeAll(fd, frame) && ::fdatasync(fd) == 0;
    if (fd >= 0)
        written = ::close(fd) == 0 && written;
    if (!written) {
        m_state = State::Idle;
        return false;
    }
    m_state = State::Appending;
    m_count = first ? 1 : m_count + 1;
    return true;
}

}  // namespace vantor
