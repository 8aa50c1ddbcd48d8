#include "Instrument.h"

#include "JbusCrc.h"
#include "ValueCodec.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace vantor::sim {

namespace {

constexpr uint16_t kMeasurementFirst = kMeasurementBlock.firstRegister;
constexpr uint16_t kMeasurementCount = kMeasurementBlock.registerCount;
constexpr uint16_t kCalibrationFirst = kCalibrationBlock.firstRegister;
constexpr uint16_t kCalibrationCount = kCalibrationBlock.registerCount;
constexpr uint16_t kAddressRegister = kUnitAddressBlock.firstRegister;
constexpr uint16_t kCanFirst = kCanBlock.firstRegister;
constexpr uint16_t kFactoryFirst = kFactoryBlock.firstRegister;
constexpr uint16_t kClockFirst = kClockBlock.firstRegister;
constexpr uint16_t kClockCount = kClockBlock.registerCount;
constexpr uint16_t kTotalizerResetFirst = kTotalizerResetBlock.firstRegister;
constexpr uint16_t kTotalizerResetCount = kTotalizerResetBlock.registerCount;
constexpr uint16_t kMakerFirst = kMakerBlock.firstRegister;
constexpr uint16_t kCatalogueFirst = kProbeCatalogueBlock.firstRegister;
constexpr uint16_t kCatalogueCount = kProbeCatalogueBlock.registerCount;

// A new instrument holds the default image of each block, as a new settings file does.
template <typename Group>
std::vector<uint8_t> defaults(DescriptorTable<Group> table, const BlockInfo& block)
{
    std::vector<uint8_t> image(block.imageSize());
    encodeDefaults(table, std::span<uint8_t>(image));
    return image;
}

constexpr std::array<ProbeEntry, 24> kProbes = {{
    {"SP1-25", 0},   {"SP1-40", 0},   {"SP2-50", 0},   {"SP2-80", 0},   {"SP3-100", 0},
    {"SP3-150", 0},  {"SP4-200", 0},  {"SP4-300", 0},  {"CL-A10", 37},  {"CL-A20", 37},
    {"CL-B35", 45},  {"CL-B50", 45},  {"W-25HT", 0},   {"W-40HT", 0},   {"INS-100", -15},
    {"INS-200", -15}, {"DUAL-600", 60}, {"", 0}, {"", 0}, {"", 0}, {"", 0}, {"", 0}, {"", 0}, {"", 0},
}};

constexpr char kVersion[] = "V2.14 A03-26";  // exactly the 12 characters of the text field

// Litres per second for each flow unit of the calibration block.
constexpr double kLitresPerSecond[12] = {
    1.0, 1.0 / 60, 1.0 / 3600, 1000.0, 1000.0 / 3600, 1000.0 / 86400,
    3.785411784, 3.785411784 / 3600, 3.785411784 / 86400, 4.54609, 4.54609 / 3600, 4.54609 / 86400,
};
// Litres per totalizer pulse for each pulse weight.
constexpr double kLitresPerPulse[10] = {0.01, 0.1, 1, 10, 100, 1000, 10000, 100000, 3.785411784, 4.54609};

int32_t int24(const std::vector<uint8_t>& b, size_t at)
{
    int32_t v = (b[at] << 16) | (b[at + 1] << 8) | b[at + 2];
    return v & 0x800000 ? v - 0x1000000 : v;
}
int uint16(const std::vector<uint8_t>& b, size_t at) { return (b[at] << 8) | b[at + 1]; }

void putU32(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}
void putFloat(std::vector<uint8_t>& b, size_t at, float f)
{
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    putU32(b, at, bits);
}
void putU16(std::vector<uint8_t>& b, size_t at, uint16_t v)
{
    b[at] = static_cast<uint8_t>(v >> 8);
    b[at + 1] = static_cast<uint8_t>(v);
}

// Whole pulses counted, wrapping like a nine-digit counter.
int32_t pulsesOf(double litres, double litresPerPulse)
{
    return static_cast<int32_t>(std::fmod(std::trunc(litres / litresPerPulse), 1e9));
}

}  // namespace

void appendCrc(std::vector<uint8_t>& frame)
{
    const uint16_t crc = jbusCrc16(frame.data(), static_cast<uint16_t>(frame.size()));
    frame.push_back(static_cast<uint8_t>(crc));
    frame.push_back(static_cast<uint8_t>(crc >> 8));
}

const std::array<ProbeEntry, 24>& Instrument::probeCatalogue() { return kProbes; }
const char* Instrument::versionText() { return kVersion; }

Instrument::Instrument(uint8_t address, int64_t nowMs) : m_startMs(nowMs), m_lastUpdateMs(nowMs)
{
    for (const BlockInfo* block : {&kCalibrationBlock, &kCanBlock, &kFactoryBlock, &kClockBlock,
                                   &kTotalizerResetBlock, &kMakerBlock})
        allow(block->firstRegister, block->registerCount, true);
    allow(kMeasurementFirst, kMeasurementCount, false);
    allow(kCatalogueFirst, kCatalogueCount, false);

    setImage(kCalibrationFirst, defaults(kCalibrationTable, kCalibrationBlock));
    setImage(kMakerFirst, defaults(kMakerTable, kMakerBlock));
    setImage(kCanFirst, defaults(kCanTable, kCanBlock));
    setImage(kFactoryFirst, defaults(kFactoryTable, kFactoryBlock));
    setAddress(address);

    std::vector<uint8_t> catalogue(2 * kCatalogueCount, 0);
    for (size_t i = 0; i < kProbes.size(); ++i) {
        std::strncpy(reinterpret_cast<char*>(&catalogue[10 * i]), kProbes[i].name, 8);
        putU16(catalogue, 10 * i + 8, static_cast<uint16_t>(kProbes[i].angle));
    }
    setImage(kCatalogueFirst, catalogue);

    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    setClock(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, nowMs);
    updateMeasurement(nowMs);
}

void Instrument::allow(uint16_t first, uint16_t count, bool canWrite)
{
    for (uint32_t r = first; r < uint32_t{first} + count; ++r) {
        m_readable.set(r);
        m_writable.set(r, canWrite);
    }
}

bool Instrument::readable(uint16_t first, uint16_t count) const
{
    for (uint32_t r = first; r < uint32_t{first} + count; ++r)
        if (r > 0xFFFF || !m_readable.test(r))
            return false;
    return true;
}

void Instrument::takeMeasurementWrites()
{
    m_measurementHeld = true;
    allow(kMeasurementFirst, kMeasurementCount, true);
}

bool Instrument::writable(uint16_t first, uint16_t count) const
{
    for (uint32_t r = first; r < uint32_t{first} + count; ++r)
        if (r > 0xFFFF || !m_writable.test(r))
            return false;
    return true;
}

std::vector<uint8_t> Instrument::image(uint16_t first, uint16_t count) const
{
    std::vector<uint8_t> bytes;
    for (uint32_t r = first; r < uint32_t{first} + count && r <= 0xFFFF; ++r) {
        bytes.push_back(static_cast<uint8_t>(m_regs[r] >> 8));
        bytes.push_back(static_cast<uint8_t>(m_regs[r]));
    }
    return bytes;
}

void Instrument::setImage(uint16_t first, const std::vector<uint8_t>& bytes)
{
    for (size_t i = 0; i < bytes.size(); i += 2) {
        const size_t r = first + i / 2;
        if (r > 0xFFFF)
            break;
        const uint8_t low = i + 1 < bytes.size() ? bytes[i + 1] : static_cast<uint8_t>(m_regs[r]);
        m_regs[r] = static_cast<uint16_t>((bytes[i] << 8) | low);
    }
}

uint8_t Instrument::address() const
{
    return static_cast<uint8_t>(m_regs[kAddressRegister]);
}

void Instrument::setAddress(uint8_t address)
{
    m_regs[kAddressRegister] = static_cast<uint16_t>((m_regs[kAddressRegister] & 0xFF00) | address);
}

void Instrument::setClock(int year, int month, int day, int hour, int minute, int second, int64_t nowMs)
{
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    m_clockBase = timegm(&t);
    m_clockAnchorMs = nowMs;
    const uint8_t bytes[6] = {static_cast<uint8_t>(year - 2000), static_cast<uint8_t>(month), static_cast<uint8_t>(day),
                              static_cast<uint8_t>(hour), static_cast<uint8_t>(minute), static_cast<uint8_t>(second)};
    setImage(kClockFirst, {std::begin(bytes), std::end(bytes)});
}

int64_t Instrument::clockSeconds(int64_t nowMs) const
{
    return m_clockBase + (nowMs - m_clockAnchorMs) / 1000;
}

double Instrument::flowAt(int64_t nowMs) const
{
    const std::vector<uint8_t> cal = image(kCalibrationFirst, kCalibrationCount);
    const double maxQ = int24(cal, 35) / 10.0;
    const double t = static_cast<double>(nowMs - m_startMs) / 1000.0;
    // A slow swell that dips below zero now and then, always within +/-MaxQ.
    return maxQ * (0.3 + 0.6 * std::sin(2 * M_PI * t / 90.0));
}

void Instrument::updateMeasurement(int64_t nowMs)
{
    if (m_measurementHeld)
        return;
    const std::vector<uint8_t> cal = image(kCalibrationFirst, kCalibrationCount);
    const int qUnit = cal[4] < 12 ? cal[4] : 0;
    const int pulseWeight = cal[39] < 10 ? cal[39] : 0;
    const double flow = flowAt(nowMs);

    const double seconds = static_cast<double>(nowMs - m_lastUpdateMs) / 1000.0;
    m_lastUpdateMs = nowMs;
    const double litres = flow * kLitresPerSecond[qUnit] * seconds;
    // Direction modes: 0 counts both ways, 1 forward only, 2 reverse only.
    auto counts = [&](int mode) { return mode == 0 || (mode == 1 && litres > 0) || (mode == 2 && litres < 0); };
    if (counts(cal[38]))
        m_volume1 += cal[38] == 2 ? -litres : litres;
    if (counts(cal[40]))
        m_volume2 += cal[40] == 2 ? -litres : litres;

    const double t = static_cast<double>(nowMs - m_startMs) / 1000.0;
    const double soundSpeed = 1482.0 + 3.0 * std::sin(2 * M_PI * t / 600.0);
    const double innerMm = std::max(1.0, int24(cal, 1) / 10.0 - 2 * uint16(cal, 24) / 10.0);
    const double area = M_PI * innerMm * innerMm / 4e6;
    const double speed = flow * kLitresPerSecond[qUnit] / 1000.0 / area;  // mean flow speed in the pipe
    const double pathMm = std::max(1.0, int24(cal, 8) / 10.0);

    std::vector<uint8_t> m(2 * kMeasurementCount, 0);
    putFloat(m, 0, static_cast<float>(flow));
    putFloat(m, 4, static_cast<float>(speed));
    putU32(m, 8, static_cast<uint32_t>(pulsesOf(m_volume1, kLitresPerPulse[pulseWeight])));
    putU32(m, 12, static_cast<uint32_t>(pulsesOf(m_volume2, kLitresPerPulse[pulseWeight])));
    m[16] = static_cast<uint8_t>(((cal[38] & 0x0F) << 4) | (cal[40] & 0x0F));
    m[17] = static_cast<uint8_t>(((pulseWeight & 0x0F) << 4) | (pulseWeight & 0x0F));
    m[18] = static_cast<uint8_t>(qUnit);
    m[21] = cal[5];
    m[22] = 0;
    putU16(m, 24, static_cast<uint16_t>(static_cast<int16_t>(std::lround(soundSpeed))));  // the sound velocity
    putFloat(m, 26, static_cast<float>(uint16(cal, 6) / 1000.0));
    putFloat(m, 30, static_cast<float>(2e9 * pathMm / 1000.0 * speed / (soundSpeed * soundSpeed)));
    putFloat(m, 34, static_cast<float>(pathMm / 1000.0 / soundSpeed * 1e6));

    const std::time_t clock = static_cast<std::time_t>(clockSeconds(nowMs));
    std::tm c{};
    gmtime_r(&clock, &c);
    m[38] = static_cast<uint8_t>(c.tm_mon + 1);
    m[39] = static_cast<uint8_t>(c.tm_year + 1900 - 2000);
    m[40] = static_cast<uint8_t>(c.tm_hour);
    m[41] = static_cast<uint8_t>(c.tm_mday);
    m[42] = static_cast<uint8_t>(c.tm_sec);
    m[43] = static_cast<uint8_t>(c.tm_min);
    putU16(m, 44, cal[49]);
    putU16(m, 46, 0);
    putFloat(m, 48, static_cast<float>(int24(cal, 11) / 10.0));
    m[52] = static_cast<uint8_t>(cal[15] + std::lround(2 * std::sin(t / 7.0)));
    m[54] = static_cast<uint8_t>(92 + std::lround(5 * std::sin(t / 11.0)));
    std::memcpy(&m[56], kVersion, 12);
    m[68] = 1;
    m[70] = 2;
    setImage(kMeasurementFirst, m);
}

void Instrument::afterWrite(uint16_t first, uint16_t count, int64_t nowMs)
{
    const uint32_t last = uint32_t{first} + count;
    auto touches = [&](uint16_t r0, uint16_t n) { return first < r0 + n && last > r0; };
    if (touches(kClockFirst, kClockCount)) {
        const std::vector<uint8_t> c = image(kClockFirst, kClockCount);
        setClock(2000 + c[0], c[1], c[2], c[3], c[4], c[5], nowMs);
    }
    if (touches(kTotalizerResetFirst, kTotalizerResetCount)) {
        updateMeasurement(nowMs);  // count up to now before clearing
        if (touches(kTotalizerResetFirst, 1) && (m_regs[kTotalizerResetFirst] & 0xFF))
            m_volume1 = 0;
        if (touches(kTotalizerResetFirst + 1, 1) && (m_regs[kTotalizerResetFirst + 1] & 0xFF))
            m_volume2 = 0;
    }
}

void Instrument::exception(uint8_t function, uint8_t code, std::vector<uint8_t>& reply) const
{
    reply = {address(), static_cast<uint8_t>(function | 0x80), code};
    appendCrc(reply);
}

bool Instrument::handle(const std::vector<uint8_t>& frame, int64_t nowMs, std::vector<uint8_t>& reply)
{
    reply.clear();
    if (frame.size() < 4)
        return false;
    const uint16_t crc = static_cast<uint16_t>(frame[frame.size() - 2] | (frame[frame.size() - 1] << 8));
    if (crc != jbusCrc16(frame.data(), static_cast<uint16_t>(frame.size() - 2)))
        return false;
    if (frame[0] != 0 && frame[0] != address())
        return false;

    const uint8_t function = frame[1];
    if (function != 3 && function != 16) {
        exception(function, kIllegalFunction, reply);
        return true;
    }
    if (frame.size() < 8) {
        exception(function, kIllegalValue, reply);
        return true;
    }
    const uint16_t first = static_cast<uint16_t>((frame[2] << 8) | frame[3]);
    const uint16_t count = static_cast<uint16_t>((frame[4] << 8) | frame[5]);

    if (function == 3) {
        if (frame.size() != 8 || count < 1 || count > 125) {
            exception(function, kIllegalValue, reply);
            return true;
        }
        if (!readable(first, count)) {
            exception(function, kIllegalAddress, reply);
            return true;
        }
        if (first < kMeasurementFirst + kMeasurementCount && first + count > kMeasurementFirst)
            updateMeasurement(nowMs);
        reply = {address(), 3, static_cast<uint8_t>(2 * count)};
        const std::vector<uint8_t> data = image(first, count);
        reply.insert(reply.end(), data.begin(), data.end());
        appendCrc(reply);
        return true;
    }

    if (count < 1 || count > 123 || frame[6] != 2 * count || frame.size() != 9u + 2u * count) {
        exception(function, kIllegalValue, reply);
        return true;
    }
    if (!writable(first, count)) {
        exception(function, kIllegalAddress, reply);
        return true;
    }
    setImage(first, std::vector<uint8_t>(frame.begin() + 7, frame.end() - 2));
    afterWrite(first, count, nowMs);
    // The reply goes out under the address the instrument answers to after the write.
    reply = {address(), 16, frame[2], frame[3], frame[4], frame[5]};
    appendCrc(reply);
    return true;
}

void Instrument::writeRegisters(std::ostream& out) const
{
    char line[16];
    for (uint32_t r = 0; r <= 0xFFFF; ++r) {
        if (!m_readable.test(r))
            continue;
        std::snprintf(line, sizeof line, "%04X %04X\n", r, m_regs[r]);
        out << line;
    }
}

}  // namespace vantor::sim
