#include "NetworkDriver.h"

#include "MonotonicClock.h"
#include "NetworkPortName.h"
#include "SocketCalls.h"
#include "SystemDriver.h"
#ifdef _WIN32
#include "Win32Driver.h"
#else
#include "TermiosDriver.h"
#endif

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vantor {

namespace {

using namespace telnet;

// A connection that takes none of a request for this long is as good as gone.
constexpr int kSendRoomTimeoutMs = 1000;

int fail(SerialPort& port, int32_t code)
{
    port.status = code;
    return code;
}

NetworkLink& linkOf(SerialPort& port)
{
    return *port.driver->network;
}

// The server closed or reset the connection: reported as an unplugged adapter
// is, and reconnected at the next open.
void lose(SerialPort& port)
{
    linkOf(port).lost = true;
    linkOf(port).moreWaiting = false;
    port.status = kSerialNoSuchPort;
}

// Waits until the socket is ready for `events` or the deadline passes, running
// the idle hook as a timed read does: non-zero when ready, 0 at the deadline,
// or the hook's negative result.
int waitReady(SerialPort& port, SocketHandle socket, short events, int64_t deadlineUs)
{
    for (;;) {
        const int64_t now = monotonicUs();
        const int idle = port.library ? port.library->runIdleHookWhenDue(port, now) : 0;
        if (idle < 0)
            return idle;
        if (now >= deadlineUs)
            return 0;
        const int interval = port.library ? port.library->idleIntervalMs() : -1;
        const int left = static_cast<int>((deadlineUs - now + 999) / 1000);
        const int r = sockets::wait(socket, events, interval < 0 ? left : std::min(left, interval));
        // A wait that cannot be made: the call after it tells what is wrong.
        if (r != 0)
            return 1;
    }
}

// A connection to the first of the host's addresses that takes it, or the
// status of the last one's failure.
int32_t connectTo(SerialPort& port, const NetworkPortName& name, SocketHandle& connected)
{
    if (!sockets::start())
        return kSerialOther;
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const int looked = getaddrinfo(name.host.c_str(), std::to_string(name.port).c_str(), &hints, &found);
    if (looked != 0)
        return sockets::lookupFailure(looked);
    const int64_t deadline = monotonicUs() + int64_t{kConnectTimeoutMs} * 1000;
    int32_t result = kSerialHostUnreachable;
    for (const addrinfo* a = found; a; a = a->ai_next) {
        const SocketHandle socket = sockets::openStream(*a);
        if (socket == sockets::kNoSocket) {
            result = mapSystemError(sockets::lastError());
            continue;
        }
        int error = sockets::startConnect(socket, *a);
        bool timedOut = false;
        if (sockets::connectGoesOn(error)) {
            const int ready = waitReady(port, socket, sockets::kWritable, deadline);
            if (ready < 0) {
                sockets::close(socket);
                freeaddrinfo(found);
                return ready;
            }
            timedOut = ready == 0;
            error = timedOut ? 0 : sockets::connectOutcome(socket);
        }
        if (!timedOut && error == 0) {
            freeaddrinfo(found);
            connected = socket;
            return kSerialOk;
        }
        sockets::close(socket);
        result = timedOut ? kSerialConnectTimeout : sockets::connectFailure(error);
    }
    freeaddrinfo(found);
    return result;
}

// Sends all the bytes, waiting for room in the connection when it is full;
// false, the connection then lost, when it is gone or takes nothing in time.
bool sendAll(SerialPort& port, std::span<const uint8_t> bytes)
{
    const SocketHandle socket = linkOf(port).socket;
    const int64_t deadline = monotonicUs() + int64_t{kSendRoomTimeoutMs} * 1000;
    size_t sent = 0;
    while (sent < bytes.size()) {
        const long n = sockets::sendSome(socket, bytes.data() + sent, bytes.size() - sent);
        if (n > 0) {
            sent += static_cast<size_t>(n);
            continue;
        }
        const int error = n < 0 ? sockets::lastError() : 0;
        if (n < 0 && sockets::interrupted(error))
            continue;
        if (n < 0 && sockets::wouldBlock(error)) {
            const int64_t left = (deadline - monotonicUs() + 999) / 1000;
            if (left > 0 && sockets::wait(socket, sockets::kWritable, static_cast<int>(left)) >= 0)
                continue;
        }
        // Part of a telnet sequence may have gone: nothing after it could be read right.
        lose(port);
        return false;
    }
    return true;
}

bool isOurOption(uint8_t option)
{
    return option == kOptionBinary || option == kOptionSuppressGoAhead || option == kOptionComPort;
}

// What the server said beside the data. Our own options were offered at the
// connection, so the server's DO and WILL of them only agree: any other option
// it offers or asks for is refused.
void takeEvent(SerialPort& port, const TelnetEvent& event)
{
    NetworkLink& link = linkOf(port);
    std::vector<uint8_t> answer;
    switch (event.verb) {
    case kWill:
        if (!isOurOption(event.option))
            appendNegotiation(answer, kDont, event.option);
        break;
    case kDo:
        if (!isOurOption(event.option))
            appendNegotiation(answer, kWont, event.option);
        break;
    case kWont:
    case kDont:
        if (event.option == kOptionComPort)
            link.comPortRefused = true;
        break;
    case kSb:
        if (event.option != kOptionComPort || event.payload.empty())
            break;
        if (event.payload[0] == kServerAnswer + kSetBaudrate && event.payload.size() >= 5) {
            const auto& p = event.payload;
            link.baudAnswer = static_cast<int32_t>(uint32_t{p[1]} << 24 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 8 | p[4]);
        } else if (event.payload[0] == kServerAnswer + kSetControl) {
            link.modemAnswered = true;
        }
        break;
    default: break;
    }
    if (!answer.empty())
        sendAll(port, answer);
}

// Data bytes waiting, read from the connection when none is left over; the
// telnet framing goes out on the way, so the buffer holds data only.
uint32_t receivedBytes(SerialPort& port)
{
    NetworkLink& link = linkOf(port);
    if (link.receivedFrom < link.receivedTo)
        return link.receivedTo - link.receivedFrom;
    link.receivedFrom = link.receivedTo = 0;
    if (link.lost)
        return 0;
    // Of the buffer's size: the data out of a read is never longer than the read.
    std::array<uint8_t, sizeof link.received> raw;
    long n;
    int error = 0;
    do {
        n = sockets::receiveSome(link.socket, raw.data(), raw.size());
        error = n < 0 ? sockets::lastError() : 0;
    } while (n < 0 && sockets::interrupted(error));
    if (n < 0 && sockets::wouldBlock(error)) {
        link.moreWaiting = false;
        return 0;
    }
    if (n <= 0) {
        lose(port);
        return 0;
    }
    link.moreWaiting = n == static_cast<long>(raw.size());
    const std::span<const uint8_t> bytes(raw.data(), static_cast<size_t>(n));
    if (!link.telnet) {
        std::copy(bytes.begin(), bytes.end(), link.received.begin());
        link.receivedTo = static_cast<uint32_t>(n);
        return link.receivedTo;
    }
    std::vector<TelnetEvent> events;
    link.receivedTo = static_cast<uint32_t>(link.decoder.decode(bytes, link.received.data(), events));
    for (const TelnetEvent& event : events)
        takeEvent(port, event);
    return link.receivedTo;
}

int readBlock(SerialPort& port, uint8_t* buffer, uint32_t wanted)
{
    NetworkLink& link = linkOf(port);
    port.transferred = 0;
    const uint32_t waiting = receivedBytes(port);
    if (waiting == 0 || wanted == 0)
        return link.lost ? fail(port, kSerialNoSuchPort) : kSerialTimeout;
    const uint32_t n = std::min(wanted, waiting);
    std::memcpy(buffer, link.received.data() + link.receivedFrom, n);
    link.receivedFrom += n;
    port.transferred = n;
    return kSerialOk;
}

int readByte(SerialPort& port)
{
    uint8_t byte = 0;
    const int r = readBlock(port, &byte, 1);
    return r == kSerialOk ? byte : r;
}

int writeBlock(SerialPort& port, const uint8_t* bytes, uint32_t length)
{
    port.transferred = 0;
    const NetworkLink& link = linkOf(port);
    if (link.lost)
        return fail(port, kSerialTxFull);
    const std::span<const uint8_t> data(bytes, length);
    std::vector<uint8_t> escaped;
    if (link.telnet)
        appendEscaped(escaped, data);
    if (!sendAll(port, link.telnet ? std::span<const uint8_t>(escaped) : data))
        return fail(port, kSerialTxFull);
    port.transferred = length;
    return kSerialOk;
}

int rxCount(SerialPort& port)
{
    // A lost connection says so at once, rather than letting a wait run out.
    const uint32_t waiting = receivedBytes(port);
    return waiting == 0 && linkOf(port).lost ? kSerialNoSuchPort : static_cast<int>(waiting);
}

int purgeOutput(SerialPort& port)
{
    const NetworkLink& link = linkOf(port);
    if (link.lost)
        return fail(port, kSerialNoSuchPort);
    // What the server still holds either way belongs to an earlier request.
    if (link.telnet) {
        std::vector<uint8_t> purge;
        appendComPort(purge, kPurgeData, kPurgeBoth);
        if (!sendAll(port, purge))
            return fail(port, kSerialNoSuchPort);
    }
    return kSerialOk;
}

int setRts(SerialPort& port, bool on)
{
    // Only to a server that answers modem control: ser2net on a
    // pseudo-terminal takes the request and never says a word.
    NetworkLink& link = linkOf(port);
    if (!link.telnet || !link.modemAnswered || link.lost || link.rtsOn == on)
        return kSerialOk;
    std::vector<uint8_t> control;
    appendComPort(control, kSetControl, on ? kControlRtsOn : kControlRtsOff);
    link.rtsOn = on;
    sendAll(port, control);
    return kSerialOk;
}

int closePort(SerialPort& port)
{
    NetworkLink& link = linkOf(port);
    sockets::close(link.socket);
    link.socket = sockets::kNoSocket;
    link.receivedFrom = link.receivedTo = 0;
    port.library->release(port);
    return kSerialOk;
}

const SerialOps kNetworkOps = {
    .readByte = readByte,
    .readBlock = readBlock,
    .writeBlock = writeBlock,
    .rxCount = rxCount,
    .purgeOutput = purgeOutput,
    .setRts = setRts,
    .closePort = closePort,
};

// Offers our options, asks for the line settings, and waits for the server to
// say at which speed its line now runs.
void negotiate(SerialPort& port, int32_t baud, char parity, int dataBits, int stopBits)
{
    NetworkLink& link = linkOf(port);
    std::vector<uint8_t> out;
    for (const uint8_t option : {kOptionBinary, kOptionSuppressGoAhead, kOptionComPort})
        appendNegotiation(out, kWill, option);
    for (const uint8_t option : {kOptionBinary, kOptionSuppressGoAhead})
        appendNegotiation(out, kDo, option);
    // DTR and RTS up, as a serial port opens; whether the server answers is
    // known once the speed's answer, which comes after, is in.
    appendComPort(out, kSetControl, kControlDtrOn);
    appendComPort(out, kSetControl, kControlRtsOn);
    link.rtsOn = true;
    appendComPortBaudrate(out, static_cast<uint32_t>(baud));
    appendComPort(out, kSetDatasize, static_cast<uint8_t>(dataBits));
    appendComPort(out, kSetParity, comPortParity(parity));
    appendComPort(out, kSetStopsize, static_cast<uint8_t>(stopBits));
    appendComPort(out, kPurgeData, kPurgeBoth);
    if (!sendAll(port, out))
        return;

    const int64_t deadline = monotonicUs() + int64_t{kNegotiationTimeoutMs} * 1000;
    for (;;) {
        receivedBytes(port);
        // Whatever the line held before is no reply to us.
        link.receivedFrom = link.receivedTo = 0;
        if (link.baudAnswer != 0 || link.comPortRefused || link.lost)
            break;
        if (link.moreWaiting)
            continue;
        const int ready = waitReady(port, link.socket, sockets::kReadable, deadline);
        if (ready < 0) {
            port.status = ready;
            return;
        }
        if (ready == 0)
            break;
    }
    if (link.lost)
        return;
    // A server without the COM Port Control Option runs its line at a speed
    // nobody knows: a scan through the speeds would find nothing true.
    if (link.comPortRefused || link.baudAnswer == 0)
        port.status = kSerialUnsupported;
    else if (link.baudAnswer != baud)
        port.status = kSerialBadBaud;
}

}  // namespace

uint32_t networkHeldBytes(const NetworkLink& link)
{
    return link.receivedTo - link.receivedFrom;
}

bool networkSwitchesRts(const NetworkLink& link)
{
    return link.modemAnswered;
}

void waitForNetworkInput(NetworkLink& link, int ms)
{
    // A connection the server has closed holds nothing more to wait for, and
    // bytes a full read left behind are there already.
    if (ms == 0 || link.lost || link.moreWaiting || networkHeldBytes(link) > 0)
        return;
    // Readable also when closed or failed: the read after it finds out.
    sockets::wait(link.socket, sockets::kReadable, ms);
}

void openNetworkDevice(SerialPort& port, const std::string& name, int32_t baud, char parity, int dataBits,
                       int stopBits)
{
    port.driverKind = kNetworkDriverKind;
    const std::optional<NetworkPortName> parsed = parseNetworkPortName(name);
    if (!parsed) {
        port.status = kSerialBadPort;
        return;
    }
    // The line settings are held to the serial driver's rules, whether the
    // server is told them (RFC 2217) or runs its own (raw TCP).
    if (const int32_t checked = checkLineSettings(baud, parity, dataBits, stopBits); checked != kSerialOk) {
        port.status = checked;
        return;
    }
    SocketHandle socket = sockets::kNoSocket;
    if (const int32_t connected = connectTo(port, *parsed, socket); connected != kSerialOk) {
        port.status = connected;
        return;
    }
    // A request is one small write, which must leave at once.
    sockets::sendAtOnce(socket);
    // No modem line to switch until the server answers for one (modemAnswered):
    // the master then does not wait for the request to leave a line it cannot see.
    NetworkLink& link = port.driver->network.emplace();
    link.socket = socket;
    link.telnet = parsed->telnet;
    port.ops = kNetworkOps;
    port.replyMarginMs = kNetworkReplyMarginMs;
    if (parsed->telnet)
        negotiate(port, baud, parity, dataBits, stopBits);
}

}  // namespace vantor
