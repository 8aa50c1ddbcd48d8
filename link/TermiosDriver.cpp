#include "TermiosDriver.h"

#include <fcntl.h>
#include <grp.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/epoll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <cerrno>
#include <cstdio>

namespace vantor {

namespace {

constexpr uint32_t kQueueSize = 1050;

int fail(SerialPort& port, int32_t code)
{
    port.status = code;
    return code;
}

int apply(SerialPort& port)
{
    if (tcsetattr(port.driver->fd, TCSANOW, &port.driver->line) != 0)
        return fail(port, mapSystemError(errno));
    return kSerialOk;
}

int queuedBytes(int fd, unsigned long request)
{
    int n = 0;
    return ioctl(fd, request, &n) == 0 ? n : 0;
}

struct SpeedCode {
    int32_t baud;
    speed_t speed;
};
constexpr SpeedCode kSpeeds[] = {
    {50, B50},       {75, B75},       {110, B110},     {134, B134},     {150, B150},
    {200, B200},     {300, B300},     {600, B600},     {1200, B1200},   {1800, B1800},
    {2400, B2400},   {4800, B4800},   {9600, B9600},   {19200, B19200}, {38400, B38400},
    {57600, B57600}, {115200, B115200},
};

bool speedFor(int32_t baud, speed_t& speed)
{
    for (const auto& s : kSpeeds) {
        if (s.baud == baud) {
            speed = s.speed;
            return true;
        }
    }
    return false;
}

}  // namespace

int32_t baudOfSpeed(speed_t speed)
{
    for (const auto& s : kSpeeds)
        if (s.speed == speed)
            return s.baud;
    return 0;
}

namespace {

void changeModemLine(SerialPort& port, int line, bool on)
{
    // Pseudo-terminals have no modem lines; that is not an error for the caller.
    TermiosData& d = *port.driver;
    if (!d.noModemLines && ioctl(d.fd, on ? TIOCMBIS : TIOCMBIC, &line) != 0)
        d.noModemLines = errno == ENOTTY || errno == EINVAL;
}

// Bytes waiting, read from the device when none is left over: the descriptor
// does not block, so an empty line costs one read() that finds nothing.
uint32_t receivedBytes(SerialPort& port)
{
    TermiosData& d = *port.driver;
    if (d.receivedFrom < d.receivedTo)
        return d.receivedTo - d.receivedFrom;
    d.receivedFrom = d.receivedTo = 0;
    ssize_t n;
    do {
        n = read(d.fd, d.received.data(), d.received.size());
    } while (n < 0 && errno == EINTR);
    d.moreWaiting = n == static_cast<ssize_t>(d.received.size());
    if (n <= 0)
        return 0;
    d.receivedTo = static_cast<uint32_t>(n);
    return d.receivedTo;
}

int readBlock(SerialPort& port, uint8_t* buffer, uint32_t wanted)
{
    TermiosData& d = *port.driver;
    port.transferred = 0;
    const uint32_t waiting = receivedBytes(port);
    if (waiting == 0 || wanted == 0)
        return kSerialTimeout;
    const uint32_t n = std::min(wanted, waiting);
    std::memcpy(buffer, d.received.data() + d.receivedFrom, n);
    d.receivedFrom += n;
    port.transferred = n;
    return kSerialOk;
}

int writeBlock(SerialPort& port, const uint8_t* bytes, uint32_t length)
{
    TermiosData& d = *port.driver;
    const int queued = queuedBytes(d.fd, TIOCOUTQ);
    const uint32_t room = queued >= static_cast<int>(d.txQueueSize) ? 0 : d.txQueueSize - static_cast<uint32_t>(queued);
    const uint32_t count = std::min(length, room);
    ssize_t n = 0;
    if (count > 0) {
        do {
            n = write(d.fd, bytes, count);
        } while (n < 0 && errno == EINTR);
    }
    port.transferred = n > 0 ? static_cast<uint32_t>(n) : 0;
    if (port.transferred >= length)
        return kSerialOk;
    return fail(port, kSerialTxFull);
}

int readByte(SerialPort& port)
{
    uint8_t byte = 0;
    const int r = readBlock(port, &byte, 1);
    return r == kSerialOk ? byte : r;
}

int closePort(SerialPort& port)
{
    TermiosData& d = *port.driver;
    changeModemLine(port, TIOCM_DTR, false);
    changeModemLine(port, TIOCM_RTS, false);
    // Unsent output would make close() wait for a line that may be dead.
    tcflush(d.fd, TCOFLUSH);
    ioctl(d.fd, TIOCNXCL);
    if (d.waitFd >= 0)
        close(d.waitFd);
    d.waitFd = -1;
    const int result = close(d.fd) == 0 ? kSerialOk : mapSystemError(errno);
    d.fd = -1;
    d.receivedFrom = d.receivedTo = 0;
    port.library->release(port);
    return result;
}

int setLine(SerialPort& port, int32_t baud, char parity, int dataBits, int stopBits)
{
    termios t = port.driver->line;
    const int32_t built = buildLineSettings(t, baud, parity, dataBits, stopBits);
    if (built != kSerialOk)
        return fail(port, built);
    port.driver->line = t;
    apply(port);
    return port.status;
}

int setRts(SerialPort& port, bool on)
{
    if (!port.driver->kernelRs485)
        changeModemLine(port, TIOCM_RTS, on);
    return kSerialOk;
}

int rxCount(SerialPort& port)
{
    // Those taken from the device already, else what one read finds.
    return static_cast<int>(receivedBytes(port));
}

int purgeOutput(SerialPort& port)
{
    if (tcflush(port.driver->fd, TCOFLUSH) != 0)
        return fail(port, mapSystemError(errno));
    return kSerialOk;
}

const SerialOps kTermiosOps = {
    .readByte = readByte,
    .readBlock = readBlock,
    .writeBlock = writeBlock,
    .rxCount = rxCount,
    .purgeOutput = purgeOutput,
    .setRts = setRts,
    .closePort = closePort,
};

}  // namespace

int32_t buildLineSettings(termios& t, int32_t baud, char parity, int dataBits, int stopBits)
{
    speed_t speed{};
    if (baud > 115200 || !speedFor(baud, speed))
        return kSerialBadBaud;
    termios next = t;
    cfsetispeed(&next, speed);
    cfsetospeed(&next, speed);
    next.c_cflag &= ~static_cast<tcflag_t>(CSIZE);
    switch (dataBits) {
    case 5: next.c_cflag |= CS5; break;
    case 6: next.c_cflag |= CS6; break;
    case 7: next.c_cflag |= CS7; break;
    case 8: next.c_cflag |= CS8; break;
    default: return kSerialBadDataBits;
    }
    next.c_cflag &= ~static_cast<tcflag_t>(PARENB | PARODD | CMSPAR);
    switch (parity) {
    case 'N': case 'n': break;
    case 'E': case 'e': next.c_cflag |= PARENB; break;
    case 'O': case 'o': next.c_cflag |= PARENB | PARODD; break;
    case 'M': case 'm': next.c_cflag |= PARENB | CMSPAR | PARODD; break;
    case 'S': case 's': next.c_cflag |= PARENB | CMSPAR; break;
    default: return kSerialBadParity;
    }
    if (stopBits == 1)
        next.c_cflag &= ~static_cast<tcflag_t>(CSTOPB);
    else if (stopBits == 2)
        next.c_cflag |= CSTOPB;
    else
        return kSerialBadStopBits;
    t = next;
    return kSerialOk;
}

void watchForInput(TermiosData& d)
{
    d.moreWaiting = false;
    d.waitFd = epoll_create1(EPOLL_CLOEXEC);
    epoll_event interest{};
    interest.events = EPOLLIN | EPOLLET;
    interest.data.fd = d.fd;
    if (d.waitFd >= 0 && epoll_ctl(d.waitFd, EPOLL_CTL_ADD, d.fd, &interest) != 0) {
        close(d.waitFd);
        d.waitFd = -1;
    }
}

void openTermiosDevice(SerialPort& port, const std::string& path, int32_t baud, char parity, int dataBits,
                       int stopBits)
{
    TermiosData& d = *port.driver;
    d.txQueueSize = kQueueSize;
    d.receivedFrom = d.receivedTo = 0;
    d.noModemLines = false;

    int fd;
    do {
        fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        port.status = mapSystemError(errno);
        return;
    }
    // Two programs must never share an instrument: the advisory lock holds even
    // for root, whom the kernel's exclusive mode lets through.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0 || tcgetattr(fd, &d.saved) != 0) {
        port.status = errno == ENOTTY ? kSerialNoSuchPort : mapSystemError(errno);
        close(fd);
        return;
    }
    if (ioctl(fd, TIOCEXCL) != 0 && errno == EBUSY) {
        port.status = kSerialBusy;
        close(fd);
        return;
    }
    d.fd = fd;
    watchForInput(d);
    // An adapter set up for RS-485 in the kernel switches its transmitter on its own.
    serial_rs485 rs485{};
    d.kernelRs485 = ioctl(fd, TIOCGRS485, &rs485) == 0 && (rs485.flags & SER_RS485_ENABLED) != 0;
    d.line = d.saved;
    cfmakeraw(&d.line);
    d.line.c_cflag |= CLOCAL | CREAD;
    d.line.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
    d.line.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    d.line.c_cc[VMIN] = 0;
    d.line.c_cc[VTIME] = 0;
    d.line.c_cc[VSTART] = 0x11;
    d.line.c_cc[VSTOP] = 0x13;
    changeModemLine(port, TIOCM_DTR | TIOCM_RTS, true);

    setLine(port, baud, parity, dataBits, stopBits);

    port.ops = kTermiosOps;
}

void openSystemDevice(SerialPort& port, const std::string& path, int32_t baud, char parity, int dataBits,
                      int stopBits)
{
    openTermiosDevice(port, path, baud, parity, dataBits, stopBits);
}

std::string systemDevicePath(int portNumber)
{
    return "/dev/ttyS" + std::to_string(portNumber);
}

std::string systemDeviceFromName(const std::string& name) { return name; }

std::string systemDeviceShownName(const std::string& device) { return device; }

int32_t mapPlatformError(int error)
{
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOTDIR:
        return kSerialNoSuchPort;
    case EACCES:
    case EPERM:
    case EBUSY:
    case EWOULDBLOCK:
        return kSerialBusy;
    case ENOMEM:
        return kSerialNoMemory;
    default:
        return kSerialOther;
    }
}

bool deviceDenied(const std::string& path)
{
    return access(path.c_str(), R_OK | W_OK) != 0 && errno == EACCES;
}

std::string deviceGroup(const std::string& path)
{
    struct stat info {};
    const group* owner = stat(path.c_str(), &info) == 0 ? getgrgid(info.st_gid) : nullptr;
    return owner ? owner->gr_name : "dialout";
}

void sleepMs(int ms)
{
    if (ms <= 0)
        return;
    // poll() with no descriptor is an interruptible sleep; a signal only shortens
    // it, and the callers measure time themselves.
    poll(nullptr, 0, ms);
}

int32_t checkLineSettings(int32_t baud, char parity, int dataBits, int stopBits)
{
    termios unused{};
    return buildLineSettings(unused, baud, parity, dataBits, stopBits);
}

uint32_t heldBytes(SerialPort& port)
{
    const TermiosData* d = port.driver;
    if (d && d->network)
        return networkHeldBytes(*d->network);
    return d && d->fd >= 0 ? d->receivedTo - d->receivedFrom : 0;
}

bool switchesRts(SerialPort& port)
{
    const TermiosData* d = port.driver;
    if (d && d->network)
        return networkSwitchesRts(*d->network);
    return !d || d->fd < 0 || !(d->noModemLines || d->kernelRs485);
}

bool startRun(SerialPort&, uint8_t*, uint32_t, int, int)
{
    return false;
}

bool waitRun(SerialPort&, int)
{
    return true;
}

uint32_t endRun(SerialPort&)
{
    return 0;
}

void waitForInput(SerialPort& port, int ms)
{
    if (ms == 0)
        return;
    if (port.driver && port.driver->network) {
        waitForNetworkInput(*port.driver->network, ms);
        return;
    }
    const int fd = port.driver ? port.driver->fd : -1;
    if (fd < 0) {
        sleepMs(ms < 0 ? 1000 : ms);
        return;
    }
    const TermiosData& d = *port.driver;
    if (d.waitFd >= 0) {
        // An edge only announces new bytes: those a full read left behind are
        // there already.
        if (d.moreWaiting)
            return;
        epoll_event event{};
        const int r = epoll_wait(d.waitFd, &event, 1, ms);
        if (r > 0 && (event.events & (EPOLLHUP | EPOLLERR)) && queuedBytes(fd, FIONREAD) == 0)
            sleepMs(ms < 0 ? 1000 : ms);
        return;
    }
    pollfd p{fd, POLLIN, 0};
    const int r = poll(&p, 1, ms);
    // A hung-up line reports itself readable forever: sleep instead of spinning.
    if (r > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)) && queuedBytes(fd, FIONREAD) == 0)
        sleepMs(ms < 0 ? 1000 : ms);
}

}  // namespace vantor
