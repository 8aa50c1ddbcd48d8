// Replies arriving on the line: whatever bytes come back, with whatever silences
// between them, a transaction ends with 0 or -1, the buffers intact, the port
// closed, and after a failure the next transaction on a clean line succeeds.
//
// The input: seven bytes of settings, then the line's bytes.
//   0     bits 0-2 the speed's index (mod 6), bit 3 a write (else a read),
//         bits 4-5 at 3 the device cannot be opened, bit 6 the driver refuses
//         output after byte 4's count, bit 7 an idle hook runs during the waits
//   1-2   the register count requested (most significant byte first)
//   3     the Jbus address
//   4     how many request bytes the driver takes before refusing (bit 6 of byte 0)
//   5     the hook's call that aborts the wait (0: none)
//   6     bits 0-5 the hook's interval in ms (+10), bit 6 the hook tries to start
//         a transaction of its own
// Line bytes arrive one after the other at the line's rate, the first one
// after the request has left the line. 0xFF escapes: FF FF is the byte 0xFF,
// FF FE starts the answer to the next request, FF n a silence of 10 n ms
// before the next byte.
#include "FuzzSupport.h"
#include "JbusCrc.h"
#include "JbusMaster.h"
#include "SerialPort.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

using namespace vantor;

namespace {

struct LineByte {
    int64_t gapUs;  // silence before the byte starts
    uint8_t value;
};
using Answer = std::vector<LineByte>;

struct Arrival {
    int64_t atUs;  // when its last bit has been received
    uint8_t value;
};

// The far end of the line and the driver in front of it, on a clock of its own.
struct FakeLine {
    std::vector<Answer> answers;  // one per request, in order
    size_t nextAnswer = 0;
    std::vector<Arrival> arrivals;  // in the order of their times, which never decrease
    size_t first = 0;               // the first not yet read
    size_t arrived = 0;             // those received by now, read or not
    int64_t nowUs = 0;
    int64_t lineFreeUs = 0;  // when the last byte written has left the line
    int64_t byteUs = 0;
    bool requestOnLine = false;
    int refuseAfter = -1;  // bytes the driver takes before refusing; -1: all
    std::vector<uint8_t> written;
    int32_t openStatus = kSerialOk;
    int opens = 0;

    void reset(int32_t baud)
    {
        *this = FakeLine{};
        byteUs = (int64_t{11} * 1000000 + baud - 1) / baud;
    }

    // The answer to a request starts once the request has left the line, and
    // once the instrument has finished the previous answer, if it still talks.
    void settle()
    {
        if (!requestOnLine)
            return;
        requestOnLine = false;
        if (nextAnswer >= answers.size())
            return;
        int64_t at = std::max(lineFreeUs, nowUs);
        if (!arrivals.empty())
            at = std::max(at, arrivals.back().atUs);
        if (first == arrivals.size()) {
            arrivals.clear();
            first = arrived = 0;
        }
        for (const LineByte& b : answers[nextAnswer])
            arrivals.push_back({at += b.gapUs + byteUs, b.value});
        ++nextAnswer;
    }

    // Bytes received and not yet read. New answers arrive after every byte
    // already received, and the clock only goes forward: the count of received
    // bytes at the front of the queue only grows, until they are read.
    int received()
    {
        settle();
        while (arrived < arrivals.size() && arrivals[arrived].atUs <= nowUs)
            ++arrived;
        return static_cast<int>(arrived - first);
    }

    uint8_t take() { return arrivals[first++].value; }

    void waitForInput(int ms)
    {
        if (received() > 0)
            return;
        // Every byte still queued comes later than now.
        const int64_t until = nowUs + int64_t{ms < 0 ? 1000 : ms} * 1000;
        nowUs = first == arrivals.size() || arrivals[first].atUs >= until ? until : arrivals[first].atUs;
    }

    void sleep(int ms)
    {
        settle();
        nowUs += int64_t{std::max(ms, 0)} * 1000;
    }
};

FakeLine g_line;

int readBlock(SerialPort& port, uint8_t* buffer, uint32_t wanted)
{
    port.transferred = 0;
    const int waiting = g_line.received();
    if (waiting == 0 || wanted == 0)
        return kSerialTimeout;
    const uint32_t n = std::min<uint32_t>(wanted, static_cast<uint32_t>(waiting));
    for (uint32_t i = 0; i < n; ++i)
        buffer[i] = g_line.take();
    port.transferred = n;
    return kSerialOk;
}

int readByte(SerialPort&) { return g_line.received() > 0 ? int{g_line.take()} : int{kSerialTimeout}; }

int writeBlock(SerialPort& port, const uint8_t* bytes, uint32_t length)
{
    port.transferred = 0;
    for (uint32_t i = 0; i < length; ++i) {
        if (g_line.refuseAfter >= 0 && static_cast<int>(g_line.written.size()) >= g_line.refuseAfter)
            return port.status = kSerialTxFull;
        g_line.written.push_back(bytes[i]);
        g_line.lineFreeUs = std::max(g_line.lineFreeUs, g_line.nowUs) + g_line.byteUs;
        g_line.requestOnLine = true;
        ++port.transferred;
    }
    return kSerialOk;
}

int rxCount(SerialPort&) { return g_line.received(); }

int purgeOutput(SerialPort&)
{
    // Bytes still queued in the driver never reach the line.
    g_line.settle();
    g_line.lineFreeUs = std::min(g_line.lineFreeUs, g_line.nowUs);
    return kSerialOk;
}

int setRts(SerialPort&, bool)
{
    g_line.settle();
    return kSerialOk;
}

// The operations the master and the library use; the others stay unsupported.
void openFakeDevice(SerialPort& port, const std::string&, int32_t, char, int, int)
{
    ++g_line.opens;
    if (g_line.openStatus != kSerialOk) {
        port.status = g_line.openStatus;
        return;
    }
    SerialOps& ops = port.ops;
    ops.readByte = readByte;
    ops.writeBlock = writeBlock;
    ops.setRts = setRts;
    ops.rxCount = rxCount;
    ops.purgeOutput = purgeOutput;
    ops.readBlock = readBlock;
}

std::vector<Answer> answersOf(fuzz::InputReader& in)
{
    std::vector<Answer> answers(1);
    int64_t gapUs = 0;
    while (!in.empty()) {
        uint8_t b = in.byte();
        if (b == 0xFF) {
            const uint8_t code = in.byte();
            if (code == 0xFE) {
                answers.emplace_back();
                gapUs = 0;
                continue;
            }
            if (code != 0xFF) {
                gapUs += int64_t{code} * 10000;
                continue;
            }
        }
        answers.back().push_back({gapUs, b});
        gapUs = 0;
    }
    return answers;
}

// A read of five registers that the instrument answers at once and correctly.
void cleanTransaction(JbusMaster& master, SerialLibrary& serial, int32_t baud)
{
    serial.setIdleHook(nullptr);
    g_line.reset(baud);
    Answer answer;
    // From the unit the request was sent to.
    std::vector<uint8_t> frame = {jbusAddressByte(master.settings().jbusAddress), 3, 10, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const uint16_t crc = jbusCrc16(frame.data(), static_cast<uint16_t>(frame.size()));
    frame.push_back(static_cast<uint8_t>(crc));
    frame.push_back(static_cast<uint8_t>(crc >> 8));
    for (uint8_t b : frame)
        answer.push_back({0, b});
    g_line.answers = {answer};
    FUZZ_CHECK(master.transact(jbusAddressByte(master.settings().jbusAddress), 3, 0x3000, 5).has_value());
    FUZZ_CHECK(g_line.written.size() == 8);  // one attempt
    const auto reply = master.lastReply();
    FUZZ_CHECK(std::equal(frame.begin(), frame.end(), reply.begin(), reply.end()));
    FUZZ_CHECK(master.lastFailure() == LinkFailure::None);
    FUZZ_CHECK(serial.liveCount() == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::InputReader in(data, size);
    const uint8_t options = in.byte();
    const uint16_t count = in.word();
    const uint8_t address = in.byte();
    const uint8_t refuseAfter = in.byte();
    const uint8_t abortAt = in.byte();
    const uint8_t hook = in.byte();

    LinkSettings settings;
    settings.baudIndex = (options & 7) % static_cast<int>(kBaudRates.size());
    settings.jbusAddress = address;
    const int32_t baud = kBaudRates[settings.baudIndex];
    const bool write = (options & 0x08) != 0;

    SerialLibrary serial;
    serial.setDevicePath(0, "fake");
    serial.setDeviceOpener(openFakeDevice);
    serial.setWaitClock({[] { return g_line.nowUs; }, [](SerialPort&, int ms) { g_line.waitForInput(ms); },
                         [](int ms) { g_line.sleep(ms); }});
    JbusMaster master(serial, settings);

    g_line.reset(baud);
    g_line.answers = answersOf(in);
    static constexpr int32_t kOpenFailures[] = {kSerialBusy, kSerialNoSuchPort, kSerialOther};
    if ((options & 0x30) == 0x30)
        g_line.openStatus = kOpenFailures[address % 3];
    if (options & 0x40)
        g_line.refuseAfter = refuseAfter;

    const int length = write ? 7 + 2 * count : 6;
    std::vector<uint8_t> payload(write ? 2 * size_t{count} : 0);
    for (size_t i = 0; i < payload.size(); ++i)
        payload[i] = static_cast<uint8_t>(i + 7);
    const int expected = write ? 8 : 2 * count + 5;
    const bool fits = static_cast<size_t>(length) + 2 <= JbusMaster::kFrameSize;
    // The request as it must go out: address, function, first register, count
    // (and the byte count and data of a write).
    std::vector<uint8_t> request = {address, static_cast<uint8_t>(write ? 16 : 3), 0x11, 0x00,
                                    static_cast<uint8_t>(count >> 8), static_cast<uint8_t>(count)};
    if (write) {
        request.push_back(static_cast<uint8_t>((count & 0xFF) * 2));
        request.insert(request.end(), payload.begin(), payload.end());
    }

    int hookCalls = 0;
    if (options & 0x80) {
        serial.setIdleHook(
            [&](SerialPort&) {
                ++hookCalls;
                if ((hook & 0x40) && hookCalls == 1) {
                    // A handler run while the transaction waits may not start another,
                    // nor rewrite the request being sent.
                    FUZZ_CHECK(!master.transact(address, 3, 0x5000, 120).has_value());
                    FUZZ_CHECK(master.lastFailure() == LinkFailure::Overlap);
                }
                return hookCalls == abortAt ? -1 : 0;
            },
            10 + (hook & 0x3F));
    }

    const auto image = master.transact(address, write ? 16 : 3, 0x1100, count, payload);
    const int result = image ? 0 : -1;
    FUZZ_CHECK(!master.busy());
    FUZZ_CHECK(serial.liveCount() == 0);
    if (!fits) {
        FUZZ_CHECK(result == -1 && master.lastFailure() == LinkFailure::BadRequest && g_line.opens == 0);
    } else if (g_line.openStatus != kSerialOk) {
        FUZZ_CHECK(result == -1 && g_line.written.empty());
    } else {
        // At most three attempts, each sending the request and its CRC.
        const size_t frameLength = static_cast<size_t>(length) + 2;
        FUZZ_CHECK(g_line.written.size() <= 3 * frameLength);
        if (g_line.refuseAfter < 0) {
            FUZZ_CHECK(g_line.written.size() % frameLength == 0 && !g_line.written.empty());
            FUZZ_CHECK(std::equal(request.begin(), request.end(), g_line.written.begin()));
            const uint16_t crc = jbusCrc16(g_line.written.data(), static_cast<uint16_t>(length));
            FUZZ_CHECK(g_line.written[frameLength - 2] == static_cast<uint8_t>(crc) &&
                       g_line.written[frameLength - 1] == static_cast<uint8_t>(crc >> 8));
        }
    }
    if (result == 0) {
        // Only a whole reply of the expected length with a good CRC is taken.
        FUZZ_CHECK(master.lastFailure() == LinkFailure::None);
        const auto reply = master.lastReply();
        FUZZ_CHECK(reply.size() == static_cast<size_t>(expected));
        const uint16_t crc = jbusCrc16(reply.data(), static_cast<uint16_t>(expected - 2));
        FUZZ_CHECK(reply[expected - 2] == static_cast<uint8_t>(crc) && reply[expected - 1] == static_cast<uint8_t>(crc >> 8));
        // A read gives the reply's register image, a write none.
        FUZZ_CHECK(image->size() == (write ? 0 : 2 * size_t{count}));
        FUZZ_CHECK(write || std::equal(image->begin(), image->end(), reply.begin() + 3));
    } else {
        FUZZ_CHECK(master.lastFailure() != LinkFailure::None);
        // A CRC is judged only on a reply of the expected length, one the buffer holds.
        if (master.lastFailure() == LinkFailure::BadCrc)
            FUZZ_CHECK(master.lastReply().size() == static_cast<size_t>(expected));
    }

    // Whatever a failed transaction left behind must not spoil the next one.
    if (result != 0 || fuzz::kReplaying)
        cleanTransaction(master, serial, baud);
    return 0;
}
