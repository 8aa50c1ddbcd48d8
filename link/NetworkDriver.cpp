#include "NetworkDriver.h"

#include "MonotonicClock.h"
#include "NetworkPortName.h"
#include "TermiosDriver.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
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
    port.driver->moreWaiting = false;
    port.status = kSerialNoSuchPort;
}

int32_t connectError(int error)
{
    switch (error) {
    case ECONNREFUSED: return kSerialConnectRefused;
    case ENETUNREACH:
    case EHOSTUNREACH:
    case ENETDOWN:
    case EHOSTDOWN: return kSerialHostUnreachable;
    case ETIMEDOUT: return kSerialConnectTimeout;
    default: return mapSystemError(error);
    }
}

// Waits until fd is ready for `events` or the deadline passes, running the idle
// hook as a timed read does: poll()'s revents, 0 at the deadline, or the
// hook's negative result.
int waitReady(SerialPort& port, int fd, short events, int64_t deadlineUs)
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
        pollfd p{fd, events, 0};
        const int r = poll(&p, 1, interval < 0 ? left : std::min(left, interval));
        if (r > 0)
            return p.revents;
        if (r < 0 && errno != EINTR)
            return POLLERR;
    }
}

// The descriptor of a connection to the first of the host's addresses that
// takes it, or the status of the last one's failure.
int connectTo(SerialPort& port, const NetworkPortName& name)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const int looked = getaddrinfo(name.host.c_str(), std::to_string(name.port).c_str(), &hints, &found);
    if (looked != 0)
        return looked == EAI_MEMORY ? kSerialNoMemory : looked == EAI_SYSTEM ? mapSystemError(errno) : kSerialHostUnknown;
    const int64_t deadline = monotonicUs() + int64_t{kConnectTimeoutMs} * 1000;
    int result = kSerialHostUnreachable;
    for (const addrinfo* a = found; a; a = a->ai_next) {
        const int fd = socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) {
            result = mapSystemError(errno);
            continue;
        }
        int error = connect(fd, a->ai_addr, a->ai_addrlen) == 0 ? 0 : errno;
        if (error == EINPROGRESS || error == EINTR) {
            const int ready = waitReady(port, fd, POLLOUT, deadline);
            if (ready < 0) {
                close(fd);
                freeaddrinfo(found);
                return ready;
            }
            socklen_t length = sizeof error;
            if (ready == 0)
                error = ETIMEDOUT;
            else if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
                error = errno;
        }
        if (error == 0) {
            freeaddrinfo(found);
            return fd;
        }
        close(fd);
        result = connectError(error);
    }
    freeaddrinfo(found);
    return result;
}

// Sends all the bytes, waiting for room in the connection when it is full;
// false, the connection then lost, when it is gone or takes nothing in time.
bool sendAll(SerialPort& port, std::span<const uint8_t> bytes)
{
    const int fd = port.driver->fd;
    const int64_t deadline = monotonicUs() + int64_t{kSendRoomTimeoutMs} * 1000;
    size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            sent += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            const int64_t left = (deadline - monotonicUs() + 999) / 1000;
            pollfd p{fd, POLLOUT, 0};
            if (left > 0 && poll(&p, 1, static_cast<int>(left)) >= 0)
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
            port.driver->noModemLines = false;
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
    TermiosData& d = *port.driver;
    NetworkLink& link = *d.network;
    if (d.receivedFrom < d.receivedTo)
        return d.receivedTo - d.receivedFrom;
    d.receivedFrom = d.receivedTo = 0;
    if (link.lost)
        return 0;
    // Of the buffer's size: the data out of a read is never longer than the read.
    std::array<uint8_t, sizeof d.received> raw;
    ssize_t n;
    do {
        n = recv(d.fd, raw.data(), raw.size(), 0);
    } while (n < 0 && errno == EINTR);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
        d.moreWaiting = false;
        return 0;
    }
    if (n <= 0) {
        lose(port);
        return 0;
    }
    d.moreWaiting = n == static_cast<ssize_t>(raw.size());
    const std::span<const uint8_t> bytes(raw.data(), static_cast<size_t>(n));
    if (!link.telnet) {
        std::copy(bytes.begin(), bytes.end(), d.received.begin());
        d.receivedTo = static_cast<uint32_t>(n);
        return d.receivedTo;
    }
    std::vector<TelnetEvent> events;
    d.receivedTo = static_cast<uint32_t>(link.decoder.decode(bytes, d.received.data(), events));
    for (const TelnetEvent& event : events)
        takeEvent(port, event);
    return d.receivedTo;
}

int readBlock(SerialPort& port, uint8_t* buffer, uint32_t wanted)
{
    TermiosData& d = *port.driver;
    port.transferred = 0;
    const uint32_t waiting = receivedBytes(port);
    if (waiting == 0 || wanted == 0)
        return d.network->lost ? fail(port, kSerialNoSuchPort) : kSerialTimeout;
    const uint32_t n = std::min(wanted, waiting);
    std::memcpy(buffer, d.received.data() + d.receivedFrom, n);
    d.receivedFrom += n;
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
    TermiosData& d = *port.driver;
    if (d.waitFd >= 0)
        close(d.waitFd);
    d.waitFd = -1;
    const int result = close(d.fd) == 0 ? kSerialOk : mapSystemError(errno);
    d.fd = -1;
    d.receivedFrom = d.receivedTo = 0;
    port.library->release(port);
    return result;
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
    TermiosData& d = *port.driver;
    NetworkLink& link = *d.network;
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
        d.receivedFrom = d.receivedTo = 0;
        if (link.baudAnswer != 0 || link.comPortRefused || link.lost)
            break;
        if (d.moreWaiting)
            continue;
        const int ready = waitReady(port, d.fd, POLLIN, deadline);
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

void openNetworkDevice(SerialPort& port, const std::string& name, int32_t baud, char parity, int dataBits,
                       int stopBits)
{
    port.driverKind = kNetworkDriverKind;
    TermiosData& d = *port.driver;
    const std::optional<NetworkPortName> parsed = parseNetworkPortName(name);
    if (!parsed) {
        port.status = kSerialBadPort;
        return;
    }
    // The line settings are held to the serial driver's rules, whether the
    // server is told them (RFC 2217) or runs its own (raw TCP).
    termios unused{};
    if (const int32_t checked = buildLineSettings(unused, baud, parity, dataBits, stopBits); checked != kSerialOk) {
        port.status = checked;
        return;
    }
    const int fd = connectTo(port, *parsed);
    if (fd < 0) {
        port.status = fd;
        return;
    }
    // A request is one small write, which must leave at once.
    const int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    d.fd = fd;
    d.receivedFrom = d.receivedTo = 0;
    d.kernelRs485 = false;
    // No modem line to switch until the server answers for one: the master
    // then does not wait for the request to leave a line it cannot see.
    d.noModemLines = true;
    d.network.emplace();
    d.network->telnet = parsed->telnet;
    watchForInput(d);
    port.ops = kNetworkOps;
    port.replyMarginMs = kNetworkReplyMarginMs;
    if (parsed->telnet)
        negotiate(port, baud, parity, dataBits, stopBits);
}

}  // namespace vantor
