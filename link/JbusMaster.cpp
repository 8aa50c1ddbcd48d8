#include "JbusMaster.h"

#include "JbusCrc.h"
#include "LanguageTables.h"
#include "MonotonicClock.h"
#include "SystemDriver.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace vantor {

namespace {

// Address, function with its high bit, the code, and the CRC.
constexpr uint32_t kExceptionLength = 5;

}  // namespace

const char* linkFailureText(LinkFailure failure, int language)
{
    switch (failure) {
    case LinkFailure::None: return lang::LinkNoFailure.text(language);
    case LinkFailure::PortMissing: return lang::LinkPortMissing.text(language);
    case LinkFailure::PortBusy: return lang::LinkPortBusy.text(language);
    case LinkFailure::PortDenied: return lang::LinkPortDenied.text(language);
    case LinkFailure::PortUnavailable: return lang::LinkPortUnavailable.text(language);
    case LinkFailure::ConnectRefused: return lang::LinkConnectRefused.text(language);
    case LinkFailure::HostUnreachable: return lang::LinkHostUnreachable.text(language);
    case LinkFailure::HostUnknown: return lang::LinkHostUnknown.text(language);
    case LinkFailure::ConnectTimeout: return lang::LinkConnectTimeout.text(language);
    case LinkFailure::Overlap: return lang::LinkOverlap.text(language);
    case LinkFailure::BadRequest: return lang::LinkBadRequest.text(language);
    case LinkFailure::SendFailed: return lang::LinkSendFailed.text(language);
    case LinkFailure::NoAnswer: return lang::LinkNoAnswer.text(language);
    case LinkFailure::WrongLength: return lang::LinkWrongLength.text(language);
    case LinkFailure::BadCrc: return lang::LinkBadCrc.text(language);
    case LinkFailure::BadReply: return lang::LinkBadReply.text(language);
    case LinkFailure::Exception: return lang::LinkException.text(language);
    }
    return "?";
}

const char* linkFailureCode(LinkFailure failure)
{
    switch (failure) {
    case LinkFailure::None: return "none";
    case LinkFailure::PortMissing: return "port_missing";
    case LinkFailure::PortBusy: return "port_busy";
    case LinkFailure::PortDenied: return "permission_denied";
    case LinkFailure::PortUnavailable: return "port_unavailable";
    case LinkFailure::ConnectRefused: return "connection_refused";
    case LinkFailure::HostUnreachable: return "host_unreachable";
    case LinkFailure::HostUnknown: return "unknown_host";
    case LinkFailure::ConnectTimeout: return "connect_timeout";
    case LinkFailure::Overlap: return "overlap";
    case LinkFailure::BadRequest: return "bad_request";
    case LinkFailure::SendFailed: return "send_failed";
    case LinkFailure::NoAnswer: return "no_answer";
    case LinkFailure::WrongLength: return "wrong_length";
    case LinkFailure::BadCrc: return "bad_crc";
    case LinkFailure::BadReply: return "bad_reply";
    case LinkFailure::Exception: return "exception";
    }
    return "unknown";
}

const char* traceVerdictText(TraceVerdict verdict, int language)
{
    switch (verdict) {
    case TraceVerdict::Good: return lang::TraceGood.text(language);
    case TraceVerdict::SendFailed: return lang::TraceSendFailed.text(language);
    case TraceVerdict::Silence: return lang::TraceSilence.text(language);
    case TraceVerdict::WrongLength: return lang::TraceWrongLength.text(language);
    case TraceVerdict::BadCrc: return lang::TraceBadCrc.text(language);
    case TraceVerdict::BadReply: return lang::TraceBadReply.text(language);
    case TraceVerdict::Exception: return lang::TraceException.text(language);
    }
    return "?";
}

std::string traceLine(TraceDirection direction, std::span<const uint8_t> bytes, TraceVerdict verdict,
                      double msSinceStart, int language)
{
    std::string hex;
    for (uint8_t byte : bytes) {
        char text[4];
        std::snprintf(text, sizeof text, "%s%02X", hex.empty() ? "" : " ", byte);
        hex += text;
    }
    char head[48];
    std::snprintf(head, sizeof head, "%10.1f ms %s ", msSinceStart,
                  (direction == TraceDirection::Sent ? lang::TraceSent : lang::TraceReceived).text(language));
    return head + hex + (hex.empty() ? "" : "  ") + traceVerdictText(verdict, language);
}

std::string traceLine(const TraceEvent& event, double msSinceStart)
{
    return traceLine(event.direction, event.bytes, event.verdict, msSinceStart, kTraceLanguage);
}

JbusTimeouts readTimeouts(int baudIndex)
{
    if (baudIndex <= 1)
        return {1000, 400};
    return {400, 150};
}

int wireTimeMs(int bytes, int32_t baud)
{
    if (baud <= 0)
        return 0;
    const int64_t bits = int64_t{bytes} * 11 * 1000;
    return static_cast<int>((bits + baud - 1) / baud);
}

int frameGuardMs(int32_t baud)
{
    if (baud <= 0)
        return 2;
    // 3.5 characters of 11 bits.
    return std::max(2, static_cast<int>((int64_t{38500} + baud - 1) / baud));
}

uint8_t jbusAddressByte(float address)
{
    const double whole = std::trunc(static_cast<double>(address));
    if (!(whole > -2147483649.0 && whole < 2147483648.0))
        return 0;
    return static_cast<uint8_t>(static_cast<int32_t>(whole) & 0xFF);
}

size_t buildJbusRequest(std::span<uint8_t> frame, uint8_t address, uint8_t function, uint16_t first, uint16_t count,
                        std::span<const uint8_t> data)
{
    constexpr size_t kWriteImageOffset = 7;  // address, function, first, count, byte count
    const size_t size = function == 16 ? 2 * size_t{count} : 0;
    const size_t length = function == 16 ? kWriteImageOffset + size : 6;
    if (length + 2 > frame.size())
        return 0;
    frame[0] = address;
    frame[1] = function;
    frame[2] = static_cast<uint8_t>(first >> 8);
    frame[3] = static_cast<uint8_t>(first);
    frame[4] = static_cast<uint8_t>(count >> 8);
    frame[5] = static_cast<uint8_t>(count);
    if (function == 16) {
        // Only the low byte of the count is doubled, kept to 8 bits.
        frame[6] = static_cast<uint8_t>((count & 0xFF) * 2);
        const auto image = frame.subspan(kWriteImageOffset, size);
        std::fill(image.begin(), image.end(), uint8_t{0});
        std::copy_n(data.begin(), std::min(data.size(), size), image.begin());
    }
    return length;
}

JbusMaster::JbusMaster(SerialLibrary& serial, const LinkSettings& settings) : m_serial(serial), m_settings(settings) {}

JbusMaster::~JbusMaster()
{
    if (m_port)
        jbusClose();
}

std::optional<std::span<const uint8_t>> JbusMaster::transact(uint8_t address, uint8_t function, uint16_t first,
                                                             uint16_t count, std::span<const uint8_t> data)
{
    // A handler run from the idle hook must not rewrite the request being retried.
    if (m_busy) {
        m_lastFailure = LinkFailure::Overlap;
        return std::nullopt;
    }
    m_lastAddress = address;
    const int length = static_cast<int>(buildJbusRequest(m_request, address, function, first, count, data));
    if (length == 0) {
        m_lastFailure = LinkFailure::BadRequest;
        return std::nullopt;
    }
    if (run(length) != 0)
        return std::nullopt;
    if (function != 3)
        return std::span<const uint8_t>();
    return lastReply().subspan(kReplyImageOffset, 2 * size_t{count});
}

int JbusMaster::jbusOpen()
{
    if (m_port)
        jbusClose();
    const int baudIndex = m_settings.baudIndex;
    const int32_t baud = baudIndex >= 0 && baudIndex < static_cast<int>(kBaudRates.size()) ? kBaudRates[baudIndex] : 0;
    m_port = &m_serial.openPort(m_settings.portIndex, baud, 'N', 8, 2);
    m_openPortIndex = m_settings.portIndex;
    m_openBaudIndex = baudIndex;
    if (m_port->status == kSerialOk)
        return 0;
    switch (m_port->status) {
    case kSerialNoSuchPort: m_lastFailure = LinkFailure::PortMissing; break;
    case kSerialBusy:
        // The serial layer says "busy" for a device the user may not open too.
        m_lastFailure = deviceDenied(m_serial.devicePath(m_settings.portIndex)) ? LinkFailure::PortDenied
                                                                                : LinkFailure::PortBusy;
        break;
    case kSerialConnectRefused: m_lastFailure = LinkFailure::ConnectRefused; break;
    case kSerialHostUnreachable: m_lastFailure = LinkFailure::HostUnreachable; break;
    case kSerialHostUnknown: m_lastFailure = LinkFailure::HostUnknown; break;
    case kSerialConnectTimeout: m_lastFailure = LinkFailure::ConnectTimeout; break;
    default: m_lastFailure = LinkFailure::PortUnavailable; break;
    }
    return -1;
}

int JbusMaster::jbusClose()
{
    if (!m_port)
        return 0;
    SerialPort* port = m_port;
    m_port = nullptr;
    return port->ops.closePort(*port) == kSerialOk ? 0 : -1;
}

void JbusMaster::holdPortOpen(bool hold)
{
    m_holdPortOpen = hold;
    if (!hold && !m_busy)
        jbusClose();
}

int JbusMaster::jbusPurge()
{
    if (!m_port)
        return -1;
    const int purged = m_port->ops.purgeOutput(*m_port);
    const int drained = drainInput(*m_port);
    return purged == kSerialOk && drained == kSerialOk ? 0 : -1;
}

int JbusMaster::send(int length)
{
    jbusPurge();
    // The request goes to the driver in one piece. Handed over a byte at a time,
    // a writer held up between two bytes (a loaded machine) leaves a silence
    // inside the frame, and the instrument takes it for two broken frames.
    const int written = m_port->ops.writeBlock(*m_port, m_request.data(), static_cast<uint32_t>(length));
    return written == kSerialOk ? 0 : -1;
}

bool JbusMaster::attempt(int length, int expected, int replyTimeoutMs, int interByteMs)
{
    auto& reply = m_reply;
    m_port->ops.setRts(*m_port, true);
    std::fill_n(reply.begin(), std::min<size_t>(expected, reply.size()), 0);
    const int64_t sendStartUs = monotonicUs();
    const int sent = send(length);
    m_received = 0;
    trace(TraceDirection::Sent, std::span<const uint8_t>(m_request.data(), static_cast<size_t>(length)),
          sent == 0 ? TraceVerdict::Good : TraceVerdict::SendFailed);

    // The bytes handed to the driver are still on the line for their wire time.
    // An RS-485 adapter switched by RTS transmits only while RTS is up, so RTS
    // comes down once the last byte has left; the instrument cannot begin its
    // reply before that either, and the reply time-out starts from there.
    const int wireMs = wireTimeMs(length, kBaudRates[m_settings.baudIndex]);
    const int64_t lineEndUs = sendStartUs + int64_t{wireMs} * 1000;
    // Where RTS switches nothing, waiting for the line is a wake-up for nothing:
    // the master listens at once, and each time-out counts from the line's end
    // at the earliest, so that every byte is timed as it was after the wait.
    const bool waitForLine = switchesRts(*m_port);
    const auto fromLineEnd = [&](int timeoutMs) {
        const int64_t aheadUs = waitForLine ? 0 : lineEndUs - monotonicUs();
        return aheadUs > 0 ? timeoutMs + static_cast<int>((aheadUs + 999) / 1000) : timeoutMs;
    };
    const int leftMs = wireMs - static_cast<int>((monotonicUs() - sendStartUs) / 1000);
    if (waitForLine && leftMs > 0)
        delayMs(*m_port, leftMs);
    m_port->ops.setRts(*m_port, false);
    // A network port's reply also crosses the network: that delay is no silence.
    if (readRunTimed(*m_port, reply.data(), 1, fromLineEnd(replyTimeoutMs + m_port->replyMarginMs), interByteMs) <= 0)
        return verdict(TraceVerdict::Silence, 0);
    // The rest comes in runs, each read at once where the driver can: up to the
    // length of an exception reply, then up to the expected length, then (an
    // over-long reply) whatever follows. A complete frame under a good CRC
    // waits only the line's frame guard for a byte that would make it
    // over-long; anything else waits the inter-byte time-out.
    const int32_t baud = kBaudRates[m_settings.baudIndex];
    const int guardMs = frameGuardMs(baud);
    const int paceMs = wireTimeMs(1, baud);
    uint32_t count = 1;
    std::array<uint8_t, 64> spill{};
    for (;;) {
        const bool complete = replyComplete(count, expected);
        const uint32_t stop = count < kExceptionLength                   ? kExceptionLength
                              : count < static_cast<uint32_t>(expected) ? static_cast<uint32_t>(expected)
                                                                         : UINT32_MAX;
        uint32_t wanted = complete ? 1 : stop - count;
        // Bytes beyond the buffer are counted, not kept: the reply then fails its length.
        uint8_t* into = spill.data();
        if (count < reply.size()) {
            into = reply.data() + count;
            wanted = std::min<uint32_t>(wanted, static_cast<uint32_t>(reply.size()) - count);
        } else {
            wanted = std::min<uint32_t>(wanted, static_cast<uint32_t>(spill.size()));
        }
        const int got = readRunTimed(*m_port, into, wanted, complete ? guardMs : fromLineEnd(interByteMs),
                                     fromLineEnd(interByteMs), paceMs);
        if (got > 0)
            count += static_cast<uint32_t>(got);
        if (got < static_cast<int>(wanted))
            break;
    }
    m_received = static_cast<uint16_t>(std::min<uint32_t>(count, 0xFFFF));

    if (sent != 0)
        return verdict(TraceVerdict::SendFailed, count);
    // A short reply that answers the request's function with its high bit set,
    // under a good CRC, is the instrument's refusal, not a spoilt reply.
    if (isExceptionReply(count, expected)) {
        if (!answersRequest())
            return verdict(TraceVerdict::BadReply, count);
        m_exceptionCode = reply[2];
        return verdict(TraceVerdict::Exception, count);
    }
    if (count != static_cast<uint32_t>(expected) || static_cast<size_t>(expected) > reply.size())
        return verdict(TraceVerdict::WrongLength, count);
    const uint16_t got = static_cast<uint16_t>(reply[expected - 2] | (reply[expected - 1] << 8));
    if (got != jbusCrc16(reply.data(), static_cast<uint16_t>(expected - 2)))
        return verdict(TraceVerdict::BadCrc, count);
    if (!answersRequest())
        return verdict(TraceVerdict::BadReply, count);
    return verdict(TraceVerdict::Good, count);
}

bool JbusMaster::isExceptionReply(uint32_t count, int expected) const
{
    const auto& reply = m_reply;
    return count == kExceptionLength && static_cast<uint32_t>(expected) != kExceptionLength &&
           reply[1] == (m_request[1] | 0x80) &&
           static_cast<uint16_t>(reply[3] | (reply[4] << 8)) == jbusCrc16(reply.data(), 3);
}

bool JbusMaster::replyComplete(uint32_t count, int expected) const
{
    if (isExceptionReply(count, expected))
        return true;
    if (count != static_cast<uint32_t>(expected) || static_cast<size_t>(expected) > m_reply.size())
        return false;
    const auto& reply = m_reply;
    return static_cast<uint16_t>(reply[expected - 2] | (reply[expected - 1] << 8)) ==
           jbusCrc16(reply.data(), static_cast<uint16_t>(expected - 2));
}

bool JbusMaster::answersRequest() const
{
    const auto& q = m_request;
    const auto& r = m_reply;
    const bool isException = r[1] == (q[1] | 0x80);
    // Address 0 asks whichever unit is on the line, which answers under its own.
    // A write that gave the unit another address may be answered under the new one.
    if (r[0] != q[0] && q[0] != 0 && !(q[1] == 16 && !isException))
        return false;
    if (isException)
        return true;
    if (r[1] != q[1])
        return false;
    if (q[1] == 3)
        return r[2] == static_cast<uint8_t>(2 * ((q[4] << 8) | q[5]));
    // A write's reply echoes its first register and count.
    return std::equal(q.begin() + 2, q.begin() + 6, r.begin() + 2);
}

bool JbusMaster::verdict(TraceVerdict verdict, uint32_t received)
{
    switch (verdict) {
    case TraceVerdict::Good: m_lastFailure = LinkFailure::None; break;
    case TraceVerdict::SendFailed: m_lastFailure = LinkFailure::SendFailed; break;
    case TraceVerdict::Silence:
        m_lastFailure = LinkFailure::NoAnswer;
        ++m_counters.silences;
        break;
    case TraceVerdict::WrongLength:
        m_lastFailure = LinkFailure::WrongLength;
        ++m_counters.wrongLength;
        break;
    case TraceVerdict::BadCrc:
        m_lastFailure = LinkFailure::BadCrc;
        ++m_counters.badCrc;
        break;
    case TraceVerdict::BadReply:
        m_lastFailure = LinkFailure::BadReply;
        ++m_counters.badReply;
        break;
    case TraceVerdict::Exception:
        m_lastFailure = LinkFailure::Exception;
        ++m_counters.exceptions;
        break;
    }
    trace(TraceDirection::Received,
          std::span<const uint8_t>(m_reply.data(), std::min<size_t>(received, m_reply.size())), verdict);
    return verdict == TraceVerdict::Good;
}

void JbusMaster::trace(TraceDirection direction, std::span<const uint8_t> bytes, TraceVerdict verdict)
{
    if (m_tracer)
        m_tracer(TraceEvent{direction, bytes, verdict});
}

int JbusMaster::run(int length)
{
    // The idle hook runs user-interface handlers while we wait; none of them may
    // start a second transaction on the same buffers.
    if (m_settings.baudIndex < 0 || m_settings.baudIndex >= static_cast<int>(kBaudRates.size())) {
        m_lastFailure = LinkFailure::BadRequest;
        return -1;
    }
    m_busy = true;
    ++m_counters.transactions;
    const JbusTimeouts timeouts = readTimeouts(m_settings.baudIndex);

    int result = -1;
    const bool held = m_holdPortOpen && m_port && m_port->status == kSerialOk &&
                      m_openPortIndex == m_settings.portIndex && m_openBaudIndex == m_settings.baudIndex;
    if (held || jbusOpen() == 0) {
        // Each attempt purges the line before it sends.
        auto& q = m_request;
        const uint16_t crc = jbusCrc16(q.data(), static_cast<uint16_t>(length));
        q[length] = static_cast<uint8_t>(crc);
        q[length + 1] = static_cast<uint8_t>(crc >> 8);

        int expected = 8;
        int replyTimeoutMs = kWriteReplyTimeoutMs;
        if (q[1] == 3) {
            expected = 2 * ((q[4] << 8) | q[5]) + 5;
            replyTimeoutMs = timeouts.replyMs;
        }
        for (int tries = 0; tries < kAttempts && result != 0; ++tries) {
            if (tries > 0)
                ++m_counters.retries;
            if (attempt(length + 2, expected, replyTimeoutMs, timeouts.interByteMs))
                result = 0;
        }
    }
    // Also after a failed open: the record holds the device until it is closed.
    // A held port is closed after a failure too, so that the next transaction
    // opens the device afresh (an adapter unplugged and plugged again).
    if (!m_holdPortOpen || result != 0)
        jbusClose();
    if (result == 0) {
        ++m_counters.good;
    } else {
        m_counters.lastFailure = m_lastFailure;
        m_counters.lastFailureTime = static_cast<int64_t>(std::time(nullptr));
    }
    m_busy = false;
    return result;
}

}  // namespace vantor
