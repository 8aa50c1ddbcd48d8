// Master side of the Jbus link: builds requests and runs one transaction at a time.
#pragma once

#include "LinkState.h"
#include "SerialPort.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

namespace vantor {

// Why the last transaction failed. The transaction itself reports only 0 or -1;
// this is kept to tell the user why.
enum class LinkFailure {
    None,
    PortMissing,
    PortBusy,
    PortDenied,   // the user may not open the device
    PortUnavailable,
    // A network port's server could not be reached.
    ConnectRefused,
    HostUnreachable,
    HostUnknown,
    ConnectTimeout,
    Overlap,      // a transaction was already running
    BadRequest,   // the request does not fit the buffer
    SendFailed,
    NoAnswer,
    WrongLength,
    BadCrc,
    BadReply,     // a reply of the right length and CRC, but not to this request
    Exception,    // the instrument refused the request (exceptionCode() says why)
};

// The reason in the language (0 French, 1 English): the one text of each
// failure, for the window's status lines and vantorctl alike.
const char* linkFailureText(LinkFailure failure, int language);
// A stable name of each failure, for scripts: "no_answer", "port_missing".
const char* linkFailureCode(LinkFailure failure);

struct JbusTimeouts {
    int replyMs;      // wait for the first reply byte
    int interByteMs;  // silence that ends the reply
};

// Time-outs of a read at the given baud index.
JbusTimeouts readTimeouts(int baudIndex);
inline constexpr int kWriteReplyTimeoutMs = 1000;
inline constexpr int kAttempts = 3;

// Time the given bytes take on the line: 11 bit times each.
int wireTimeMs(int bytes, int32_t baud);
// The silence of 3.5 characters that ends a frame on the line, at least 2 ms:
// what a complete reply waits for a byte that would make it over-long.
int frameGuardMs(int32_t baud);

// Low byte of the address truncated toward zero.
uint8_t jbusAddressByte(float address);

// A request frame without its CRC: address, function, first register, count,
// and for function 16 the byte count and the data, bytes it does not give sent
// as zero. Its length, or 0 when it does not fit `frame` with its CRC.
size_t buildJbusRequest(std::span<uint8_t> frame, uint8_t address, uint8_t function, uint16_t first, uint16_t count,
                        std::span<const uint8_t> data = {});

// One frame on the line as the master saw it, for a technician's trace.
enum class TraceDirection { Sent, Received };
enum class TraceVerdict { Good, SendFailed, Silence, WrongLength, BadCrc, BadReply, Exception };
// Traces for support are in English, whatever the program's language.
inline constexpr int kTraceLanguage = 1;
const char* traceVerdictText(TraceVerdict verdict, int language = kTraceLanguage);
struct TraceEvent {
    TraceDirection direction;
    std::span<const uint8_t> bytes;
    TraceVerdict verdict;
};
using FrameTracer = std::function<void(const TraceEvent&)>;
// One frame as a line for the technician: milliseconds since the start,
// "sent" or "recv", the bytes in hexadecimal and the verdict; in English, or
// with the words of the language given.
std::string traceLine(const TraceEvent& event, double msSinceStart);
std::string traceLine(TraceDirection direction, std::span<const uint8_t> bytes, TraceVerdict verdict,
                      double msSinceStart, int language);

// What the master has seen since it was made, for the technician.
struct LinkCounters {
    uint64_t transactions = 0;
    uint64_t good = 0;
    uint64_t retries = 0;  // attempts after a transaction's first
    uint64_t silences = 0;
    uint64_t badCrc = 0;
    uint64_t wrongLength = 0;
    uint64_t badReply = 0;
    uint64_t exceptions = 0;
    LinkFailure lastFailure = LinkFailure::None;  // of the last transaction that failed
    int64_t lastFailureTime = 0;                  // its time, seconds since 1970
};

class JbusMaster {
public:
    JbusMaster(SerialLibrary& serial, const LinkSettings& settings);
    ~JbusMaster();
    JbusMaster(const JbusMaster&) = delete;
    JbusMaster& operator=(const JbusMaster&) = delete;

    // The largest frame either way: request or reply.
    static constexpr size_t kFrameSize = 512;
    // A read reply's register image follows its address, function and byte count.
    static constexpr size_t kReplyImageOffset = 3;

    // One transaction with the unit at `address` (0: whichever unit is on the
    // line): function 3 reads `count` registers from `first`; function 16
    // writes `data` to them, bytes it does not give sent as zero. The reply's
    // register image (empty for a write), valid until the next transaction;
    // nothing when the transaction failed (lastFailure() says why).
    std::optional<std::span<const uint8_t>> transact(uint8_t address, uint8_t function, uint16_t first,
                                                     uint16_t count, std::span<const uint8_t> data = {});
    // The last reply as it came off the line, valid until the next transaction.
    std::span<const uint8_t> lastReply() const
    {
        return std::span<const uint8_t>(m_reply).first(std::min<size_t>(m_received, m_reply.size()));
    }

    int jbusOpen();
    int jbusClose();
    int jbusPurge();

    // Keeps the port open from one transaction to the next, for a poller that
    // has the line to itself: opening a serial device costs more than reading
    // a block. A failed transaction, another port or speed in the settings, and
    // the end of the hold close it.
    void holdPortOpen(bool hold);

    bool busy() const { return m_busy; }
    LinkFailure lastFailure() const { return m_lastFailure; }
    // The code of the last exception reply.
    uint8_t exceptionCode() const { return m_exceptionCode; }
    const LinkCounters& counters() const { return m_counters; }
    const LinkSettings& settings() const { return m_settings; }
    // The settings of the last transaction: the port and speed set, the address it went to.
    LinkSettings lastLink() const
    {
        LinkSettings used = m_settings;
        used.jbusAddress = m_lastAddress;
        return used;
    }
    // The device of the port the settings name.
    std::string devicePath() const { return m_serial.devicePath(m_settings.portIndex); }
    // Called with every frame sent and every reply received (or its absence).
    void setTracer(FrameTracer tracer) { m_tracer = std::move(tracer); }

private:
    // Sends the first length bytes of the request with their CRC; 0 or -1.
    int run(int length);
    int send(int length);
    bool attempt(int length, int expected, int replyTimeoutMs, int interByteMs);
    // A good CRC closes the frames the request can have for a reply: the
    // expected length, or the exception reply to its function.
    bool replyComplete(uint32_t count, int expected) const;
    bool isExceptionReply(uint32_t count, int expected) const;
    // The reply's address, function and byte count (or echo) are the request's.
    bool answersRequest() const;
    // Says how the attempt ended, to the tracer and in the last failure.
    bool verdict(TraceVerdict verdict, uint32_t received);
    void trace(TraceDirection direction, std::span<const uint8_t> bytes, TraceVerdict verdict);

    SerialLibrary& m_serial;
    const LinkSettings& m_settings;
    std::array<uint8_t, kFrameSize> m_request{};
    std::array<uint8_t, kFrameSize> m_reply{};
    uint16_t m_received = 0;
    uint8_t m_lastAddress = 0;
    SerialPort* m_port = nullptr;
    bool m_busy = false;
    bool m_holdPortOpen = false;
    int m_openPortIndex = -1;
    int m_openBaudIndex = -1;
    LinkFailure m_lastFailure = LinkFailure::None;
    uint8_t m_exceptionCode = 0;
    LinkCounters m_counters;
    FrameTracer m_tracer;
};

}  // namespace vantor
