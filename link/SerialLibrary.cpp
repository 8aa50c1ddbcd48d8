#include "SerialPort.h"

#include "MonotonicClock.h"
#include "NetworkPortName.h"
#include "SystemDriver.h"
#ifdef _WIN32
#include "Win32Driver.h"
#else
#include "TermiosDriver.h"
#endif

#include <algorithm>
#include <new>

namespace vantor {

namespace {

int unsupported(SerialPort& port)
{
    port.status = kSerialUnsupported;
    return kSerialUnsupported;
}
int unsupportedFlag(SerialPort& port, bool) { return unsupported(port); }
int unsupportedWrite(SerialPort& port, const uint8_t*, uint32_t) { return unsupported(port); }
int unsupportedRead(SerialPort& port, uint8_t*, uint32_t) { return unsupported(port); }

int defaultClose(SerialPort& port)
{
    if (port.library)
        port.library->release(port);
    return kSerialOk;
}

}  // namespace

const SerialOps kDefaultSerialOps = {
    .readByte = unsupported,
    .readBlock = unsupportedRead,
    .writeBlock = unsupportedWrite,
    .rxCount = unsupported,
    .purgeOutput = unsupported,
    .setRts = unsupportedFlag,
    .closePort = defaultClose,
};

int32_t mapSystemError(int error)
{
    switch (error) {
    // Codes of the older communications interface.
    case -1: return kSerialBadPort;
    case -2: return kSerialBusy;
    case -4: return kSerialNoMemory;
    case -10: return kSerialNoSuchPort;
    case -11: return kSerialBadDataBits;
    case -12: return kSerialBadBaud;
    default:
        return error > 0 ? mapPlatformError(error) : kSerialOther;
    }
}

SerialLibrary::SerialLibrary()
{
    m_placeholder.portNumber = -1;
    m_placeholder.driverKind = -1;
    m_placeholder.status = kSerialNoMemory;
    m_placeholder.library = this;
    for (int i = 0; i < kPortCount; ++i)
        m_devicePaths[i] = systemDevicePath(i);
}

SerialLibrary::~SerialLibrary()
{
    while (m_live) {
        SerialPort* head = m_live;
        head->ops.closePort(*head);
        if (m_live == head)  // a close that failed to unlink must not loop forever
            release(*head);
    }
}

void SerialLibrary::setDevicePath(int portNumber, std::string path)
{
    if (portNumber >= 0 && portNumber < kPortCount)
        m_devicePaths[portNumber] = std::move(path);
}

const std::string& SerialLibrary::devicePath(int portNumber) const
{
    static const std::string kNone;
    return portNumber >= 0 && portNumber < kPortCount ? m_devicePaths[portNumber] : kNone;
}

void SerialLibrary::setIdleHook(IdleHook hook, int intervalMs)
{
    m_idleHook = std::move(hook);
    m_idleIntervalMs = std::max(1, intervalMs);
    m_lastIdleUs = INT64_MIN;
}

int SerialLibrary::runIdleHook(SerialPort& port)
{
    return m_idleHook ? m_idleHook(port) : 0;
}

int SerialLibrary::runIdleHookWhenDue(SerialPort& port, int64_t nowUs)
{
    if (!m_idleHook || (m_lastIdleUs != INT64_MIN && nowUs - m_lastIdleUs < int64_t{m_idleIntervalMs} * 1000 &&
                        nowUs >= m_lastIdleUs))
        return 0;
    m_lastIdleUs = nowUs;
    return m_idleHook(port);
}

int SerialLibrary::liveCount() const
{
    int n = 0;
    for (const SerialPort* p = m_live; p; p = p->next)
        ++n;
    return n;
}

template <typename T>
T* SerialLibrary::allocate()
{
    if (m_allocationsBeforeFailure > 0) {
        --m_allocationsBeforeFailure;
    } else if (m_failAllocations > 0) {
        --m_failAllocations;
        return nullptr;
    }
    return new (std::nothrow) T;
}

SerialPort& SerialLibrary::placeholder()
{
    // Its default slots leave -24 behind; each new out-of-memory reports itself again.
    m_placeholder.status = kSerialNoMemory;
    return m_placeholder;
}

void SerialLibrary::link(SerialPort& port)
{
    port.next = m_live;
    m_live = &port;
}

void SerialLibrary::release(SerialPort& port)
{
    if (&port == &m_placeholder)
        return;
    for (SerialPort** p = &m_live; *p; p = &(*p)->next) {
        if (*p == &port) {
            *p = port.next;
            break;
        }
    }
    delete port.driver;
    delete &port;
}

SerialPort& SerialLibrary::openPort(int32_t portNumber, int32_t baud, char parity, int dataBits,
                                    int stopBits)
{
    if (portNumber < 0 || portNumber >= kPortCount) {
        SerialPort& port = openDevice(std::string(), portNumber, baud, parity, dataBits, stopBits);
        if (&port != &m_placeholder)
            port.status = kSerialBadPort;
        return port;
    }
    return openDevice(m_devicePaths[portNumber], portNumber, baud, parity, dataBits, stopBits);
}

SerialPort& SerialLibrary::openDevice(const std::string& path, int32_t portNumber, int32_t baud,
                                      char parity, int dataBits, int stopBits)
{
    SerialPort* port = allocate<SerialPort>();
    if (!port)
        return placeholder();
    port->library = this;
    link(*port);

    DriverData* data = allocate<DriverData>();
    if (!data) {
        release(*port);
        return placeholder();
    }
    port->driver = data;
    port->portNumber = portNumber;
    port->driverKind = kSystemDriverKind;
    if (path.empty()) {
        port->status = kSerialNoSuchPort;
        return *port;
    }
    // A device server's port, whoever opens the serial devices.
    if (isNetworkPortName(path)) {
        openNetworkDevice(*port, path, baud, parity, dataBits, stopBits);
        return *port;
    }
    if (m_opener)
        m_opener(*port, path, baud, parity, dataBits, stopBits);
    else
        openSystemDevice(*port, path, baud, parity, dataBits, stopBits);
    return *port;
}

namespace {

// Whole milliseconds left until the deadline, rounded up so a wait never ends early.
int msLeft(int64_t deadlineUs, int64_t nowUs)
{
    return static_cast<int>((deadlineUs - nowUs + 999) / 1000);
}

// The port's clock; a port of no library runs on the system's.
const SerialLibrary::WaitClock& clockOf(const SerialPort& port)
{
    static const SerialLibrary::WaitClock kSystem;
    return port.library ? port.library->waitClock() : kSystem;
}

int64_t nowUs(const SerialPort& port)
{
    const auto& clock = clockOf(port);
    return clock.nowUs ? clock.nowUs() : monotonicUs();
}

void waitForInputOn(SerialPort& port, int ms)
{
    const auto& clock = clockOf(port);
    if (clock.waitForInput)
        clock.waitForInput(port, ms);
    else
        waitForInput(port, ms);
}

void sleepOn(const SerialPort& port, int ms)
{
    const auto& clock = clockOf(port);
    if (clock.sleep)
        clock.sleep(ms);
    else
        sleepMs(ms);
}

}  // namespace

int readByteTimed(SerialPort& port, int timeoutMs)
{
    const int64_t deadline = nowUs(port) + int64_t{timeoutMs} * 1000;
    // Asking the device for bytes that have not come yet costs a system call
    // per byte: the wait itself says when one is there, so the device is read
    // only after it, and before it only what the driver already holds.
    if (heldBytes(port) != 0)
        return port.ops.readByte(port);
    for (;;) {
        const int idle = port.library ? port.library->runIdleHookWhenDue(port, nowUs(port)) : 0;
        if (idle < 0) {
            port.status = idle;
            return idle;
        }
        const int64_t now = nowUs(port);
        if (timeoutMs != -1 && now >= deadline) {
            // The hook may have run long: a byte that came meanwhile is still in time.
            return port.ops.rxCount(port) > 0 ? port.ops.readByte(port) : kSerialTimeout;
        }
        const int interval = port.library ? port.library->idleIntervalMs() : -1;
        int slice = interval;
        if (timeoutMs != -1) {
            const int left = msLeft(deadline, now);
            slice = interval < 0 ? left : std::min(left, interval);
        }
        waitForInputOn(port, slice);
        if (port.ops.rxCount(port) != 0)
            return port.ops.readByte(port);
    }
}

int readRunTimed(SerialPort& port, uint8_t* buffer, uint32_t wanted, int firstMs, int gapMs, int paceMs)
{
    uint32_t got = 0;
    int64_t deadline = nowUs(port) + int64_t{firstMs} * 1000;
    while (got < wanted) {
        // Where the driver can, the rest is one read that the system ends at
        // the first silence longer than gapMs: one wake-up for the run.
        if (paceMs > 0 && wanted - got > 1 && !clockOf(port).waitForInput &&
            startRun(port, buffer + got, wanted - got, gapMs, paceMs)) {
            // A steady sender ends it by its length, a silence by the system's
            // timing; the bound only guards against a driver that would not.
            const int64_t bound = nowUs(port) + int64_t{gapMs} * (wanted - got + 1) * 1000;
            for (int64_t now = nowUs(port); now < bound; now = nowUs(port)) {
                const int idle = port.library ? port.library->runIdleHookWhenDue(port, now) : 0;
                if (idle < 0) {
                    port.status = idle;
                    got += endRun(port);
                    return got > 0 ? static_cast<int>(got) : idle;
                }
                const int interval = port.library ? port.library->idleIntervalMs() : -1;
                const int left = msLeft(bound, now);
                if (waitRun(port, interval < 0 ? left : std::min(left, interval)))
                    break;
            }
            got += endRun(port);
            return static_cast<int>(got);
        }
        const int byte = readByteTimed(port, firstMs < 0 && got == 0 ? -1 : msLeft(deadline, nowUs(port)));
        if (byte < 0)
            return got > 0 || byte == kSerialTimeout ? static_cast<int>(got) : byte;
        buffer[got++] = static_cast<uint8_t>(byte);
        deadline = nowUs(port) + int64_t{gapMs} * 1000;
    }
    return static_cast<int>(got);
}

int delayMs(SerialPort& port, int ms)
{
    const int64_t deadline = nowUs(port) + int64_t{ms} * 1000;
    for (int64_t now = nowUs(port); now < deadline; now = nowUs(port)) {
        const int idle = port.library ? port.library->runIdleHook(port) : 0;
        if (idle < 0)
            return idle;
        const int interval = port.library ? port.library->idleIntervalMs() : -1;
        const int left = msLeft(deadline, now);
        sleepOn(port, interval < 0 ? left : std::min(left, interval));
    }
    return kSerialOk;
}

int drainInput(SerialPort& port)
{
    uint8_t scratch[64];
    for (;;) {
        const int r = port.ops.readBlock(port, scratch, sizeof scratch);
        if (r < 0 && r != kSerialTimeout)
            return r;
        if (port.transferred == 0)
            return kSerialOk;
    }
}

}  // namespace vantor
