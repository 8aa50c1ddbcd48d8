#include "Win32Driver.h"

#include <mmsystem.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace vantor {

namespace {

constexpr uint32_t kQueueSize = 1050;

// No time-out at all: a read lasts until its bytes come. A wait reads one
// byte and bounds the read itself; every other read asks only for bytes the
// system already holds, and so ends at once. One setting for both spares two
// calls into the system for each byte a wait brings. A run adds its interval
// time-out, which neither kind of read can meet.
constexpr COMMTIMEOUTS kReadUntilDone = {0, 0, 0, 0, 0};

int fail(SerialPort& port, int32_t code)
{
    port.status = code;
    return code;
}

int failSystem(SerialPort& port)
{
    return fail(port, mapSystemError(static_cast<int>(GetLastError())));
}

// Clears a communications error, which would stop every read until cleared,
// and tells the queue levels.
COMSTAT refreshErrors(SerialPort& port)
{
    DWORD errors = 0;
    COMSTAT status{};
    ClearCommError(port.driver->handle, &errors, &status);
    return status;
}

// Windows forbids two operations in flight on one OVERLAPPED: a write still
// going out is finished before the block serves anything else.
void finishPending(WinComData& d)
{
    if (!d.pending)
        return;
    DWORD n = 0;
    GetOverlappedResult(d.handle, &d.overlapped, &n, TRUE);
    d.pending = false;
}

int apply(SerialPort& port)
{
    if (!SetCommState(port.driver->handle, &port.driver->line))
        return failSystem(port);
    return kSerialOk;
}

// Moves the bytes the system holds into the inbox, in one read.
void fillInbox(SerialPort& port, DWORD queued)
{
    WinComData& d = *port.driver;
    if (d.inboxFirst == d.inboxEnd)
        d.inboxFirst = d.inboxEnd = 0;
    const DWORD count = std::min<DWORD>(queued, static_cast<DWORD>(d.inbox.size() - d.inboxEnd));
    if (count == 0)
        return;
    finishPending(d);
    DWORD n = 0;
    bool done = ReadFile(d.handle, d.inbox.data() + d.inboxEnd, count, nullptr, &d.overlapped) != 0;
    // Only bytes already queued are asked for: even a pending read ends at once.
    if (done || GetLastError() == ERROR_IO_PENDING)
        done = GetOverlappedResult(d.handle, &d.overlapped, &n, TRUE) != 0;
    else
        refreshErrors(port);
    if (done)
        d.inboxEnd += n;
}

int readBlock(SerialPort& port, uint8_t* buffer, uint32_t wanted)
{
    WinComData& d = *port.driver;
    port.transferred = 0;
    if (wanted == 0)
        return kSerialTimeout;
    // The inbox first: asking the system again is needed only once it is empty.
    if (d.inboxed() == 0)
        fillInbox(port, refreshErrors(port).cbInQue);
    const uint32_t got = std::min(wanted, d.inboxed());
    std::copy_n(d.inbox.begin() + d.inboxFirst, got, buffer);
    d.inboxFirst += got;
    port.transferred = got;
    return got > 0 ? kSerialOk : kSerialTimeout;
}

int writeBlock(SerialPort& port, const uint8_t* bytes, uint32_t length)
{
    WinComData& d = *port.driver;
    const COMSTAT status = refreshErrors(port);
    const DWORD room = status.cbOutQue >= d.txQueueSize ? 0 : d.txQueueSize - status.cbOutQue;
    const DWORD count = std::min<DWORD>(length, room);
    port.transferred = 0;
    if (count > 0) {
        finishPending(d);
        if (WriteFile(d.handle, bytes, count, nullptr, &d.overlapped)) {
            DWORD n = 0;
            GetOverlappedResult(d.handle, &d.overlapped, &n, FALSE);
            port.transferred = n;
        } else if (GetLastError() == ERROR_IO_PENDING) {
            // Handed over: the write does not wait for the bytes to leave.
            d.pending = true;
            port.transferred = count;
        } else {
            refreshErrors(port);
        }
    }
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
    WinComData& d = *port.driver;
    EscapeCommFunction(d.handle, CLRDTR);
    EscapeCommFunction(d.handle, CLRRTS);
    if (d.pending) {
        // The block must outlive the write it serves: cancel it and see it end.
        CancelIo(d.handle);
        finishPending(d);
    }
    const int result = CloseHandle(d.handle) ? kSerialOk : mapSystemError(static_cast<int>(GetLastError()));
    d.handle = INVALID_HANDLE_VALUE;
    CloseHandle(d.overlapped.hEvent);
    d.overlapped.hEvent = nullptr;
    timeEndPeriod(1);
    port.library->release(port);
    return result;
}

int setLine(SerialPort& port, int32_t baud, char parity, int dataBits, int stopBits)
{
    DCB line = port.driver->line;
    const int32_t built = buildLine(line, baud, parity, dataBits, stopBits);
    if (built != kSerialOk)
        return fail(port, built);
    port.driver->line = line;
    apply(port);
    return port.status;
}

// A line under handshake belongs to the system until the settings take it back;
// otherwise the escape function moves it without reprogramming the port.
void driveLine(SerialPort& port, bool wasHandshake, DWORD escape)
{
    if (wasHandshake) {
        apply(port);
        return;
    }
    // Pseudo-terminals under Wine have no modem lines: not an error for the caller.
    EscapeCommFunction(port.driver->handle, escape);
}

int setRts(SerialPort& port, bool on)
{
    DCB& line = port.driver->line;
    const bool wasHandshake = line.fRtsControl == RTS_CONTROL_HANDSHAKE || line.fRtsControl == RTS_CONTROL_TOGGLE;
    line.fRtsControl = on ? RTS_CONTROL_ENABLE : RTS_CONTROL_DISABLE;
    driveLine(port, wasHandshake, on ? SETRTS : CLRRTS);
    return kSerialOk;
}

int rxCount(SerialPort& port)
{
    // Bytes in the inbox are enough to know: the system is not asked for more.
    const uint32_t inboxed = port.driver->inboxed();
    return static_cast<int>(inboxed > 0 ? inboxed : refreshErrors(port).cbInQue);
}

int purgeOutput(SerialPort& port)
{
    if (!PurgeComm(port.driver->handle, PURGE_TXCLEAR))
        return failSystem(port);
    return kSerialOk;
}

const SerialOps kWin32Ops = {
    .readByte = readByte,
    .readBlock = readBlock,
    .writeBlock = writeBlock,
    .rxCount = rxCount,
    .purgeOutput = purgeOutput,
    .setRts = setRts,
    .closePort = closePort,
};

bool startsWithNoCase(const std::string& text, const char* prefix)
{
    for (size_t i = 0; prefix[i]; ++i) {
        if (i >= text.size() || std::toupper(static_cast<unsigned char>(text[i])) != prefix[i])
            return false;
    }
    return true;
}

}  // namespace

std::string comDeviceName(int portNumber)
{
    return "\\\\.\\COM" + std::to_string(portNumber + 1);
}

std::string comDevicePath(const std::string& name)
{
    if (name.size() > 3 && startsWithNoCase(name, "COM") &&
        std::all_of(name.begin() + 3, name.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return "\\\\.\\" + name;
    return name;
}

void prepareLine(DCB& line, uint32_t rxQueueSize)
{
    line.DCBlength = sizeof(DCB);
    line.fBinary = 1;
    line.fParity = 0;
    line.fNull = 0;
    line.fOutxCtsFlow = 0;
    line.fOutxDsrFlow = 0;
    line.fDtrControl = DTR_CONTROL_ENABLE;
    line.fRtsControl = RTS_CONTROL_ENABLE;
    line.XonChar = 0x11;
    line.XoffChar = 0x13;
    line.XonLim = static_cast<WORD>(rxQueueSize / 4);
    line.XoffLim = static_cast<WORD>(rxQueueSize / 4);
    line.EofChar = 0;
    line.EvtChar = 0;
}

int32_t buildLine(DCB& line, int32_t baud, char parity, int dataBits, int stopBits)
{
    if (baud > 115200)
        return kSerialBadBaud;
    DCB next = line;
    next.BaudRate = static_cast<DWORD>(baud);
    // Not checked here: the system refuses a byte size it cannot do.
    next.ByteSize = static_cast<BYTE>(dataBits);
    switch (std::toupper(static_cast<unsigned char>(parity))) {
    case 'E': next.Parity = EVENPARITY; break;
    case 'M': next.Parity = MARKPARITY; break;
    case 'N': next.Parity = NOPARITY; break;
    case 'O': next.Parity = ODDPARITY; break;
    case 'S': next.Parity = SPACEPARITY; break;
    default: return kSerialBadParity;
    }
    if (stopBits == 1)
        next.StopBits = ONESTOPBIT;
    else if (stopBits == 2)
        next.StopBits = TWOSTOPBITS;
    else
        return kSerialBadStopBits;
    line = next;
    return kSerialOk;
}

int32_t mapWin32Error(unsigned long error)
{
    switch (error) {
    case ERROR_ACCESS_DENIED: return kSerialBusy;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return kSerialNoSuchPort;
    default: return kSerialOther;
    }
}

void openWin32Device(SerialPort& port, const std::string& path, int32_t baud, char parity, int dataBits,
                     int stopBits)
{
    WinComData& d = *port.driver;
    d.rxQueueSize = kQueueSize;
    d.txQueueSize = kQueueSize;

    const std::string name = comDevicePath(path);
    // No sharing: two programs must never talk to one instrument at once.
    HANDLE handle = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_FLAG_OVERLAPPED, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        port.status = mapSystemError(static_cast<int>(GetLastError()));
        return;
    }
    d.line.DCBlength = sizeof(DCB);
    if (!GetCommState(handle, &d.line)) {
        // A file or another device under that name: no serial port is there.
        CloseHandle(handle);
        port.status = kSerialNoSuchPort;
        return;
    }
    // Manual reset, as the system resets it itself when an operation starts.
    d.overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!d.overlapped.hEvent) {
        port.status = mapSystemError(static_cast<int>(GetLastError()));
        CloseHandle(handle);
        return;
    }
    d.handle = handle;
    SetupComm(handle, d.rxQueueSize, d.txQueueSize);
    SetCommMask(handle, 0);
    prepareLine(d.line, d.rxQueueSize);
    GetCommTimeouts(handle, &d.savedTimeouts);
    COMMTIMEOUTS untilDone = kReadUntilDone;
    SetCommTimeouts(handle, &untilDone);
    // Waits and delays end within a millisecond of their time, not the 15.6 ms
    // the system ticks by default: RTS must come down right after a request.
    timeBeginPeriod(1);

    setLine(port, baud, parity, dataBits, stopBits);

    port.ops = kWin32Ops;
}

void openSystemDevice(SerialPort& port, const std::string& path, int32_t baud, char parity, int dataBits,
                      int stopBits)
{
    openWin32Device(port, path, baud, parity, dataBits, stopBits);
}

std::string systemDevicePath(int portNumber)
{
    return comDeviceName(portNumber);
}

std::string systemDeviceFromName(const std::string& name) { return comDevicePath(name); }

std::string systemDeviceShownName(const std::string& device)
{
    const std::string prefix = "\\\\.\\";
    return device.compare(0, prefix.size(), prefix) == 0 ? device.substr(prefix.size()) : device;
}

int32_t mapPlatformError(int error)
{
    return mapWin32Error(static_cast<unsigned long>(error));
}

bool deviceDenied(const std::string&)
{
    // Windows answers "access denied" for a port another program holds: busy it is.
    return false;
}

std::string deviceGroup(const std::string&) { return {}; }

void sleepMs(int ms)
{
    if (ms > 0)
        Sleep(static_cast<DWORD>(ms));
}

int32_t checkLineSettings(int32_t baud, char parity, int dataBits, int stopBits)
{
    DCB unused{};
    const int32_t built = buildLine(unused, baud, parity, dataBits, stopBits);
    // The system would refuse any other byte size at the port's open.
    return built == kSerialOk && (dataBits < 5 || dataBits > 8) ? kSerialBadDataBits : built;
}

uint32_t heldBytes(SerialPort& port)
{
    // Only what the inbox holds: asking the system costs a call for each byte,
    // and a wait that finds a byte queued ends at once all the same.
    const WinComData* d = port.driver;
    if (d && d->network)
        return networkHeldBytes(*d->network);
    return d && d->handle != INVALID_HANDLE_VALUE ? d->inboxed() : 0;
}

bool switchesRts(SerialPort& port)
{
    const WinComData* d = port.driver;
    if (d && d->network)
        return networkSwitchesRts(*d->network);
    // The communications functions do not tell a port without RTS: the master waits.
    return true;
}

bool startRun(SerialPort& port, uint8_t* buffer, uint32_t wanted, int gapMs, int paceMs)
{
    WinComData* d = port.driver;
    if (!d || d->handle == INVALID_HANDLE_VALUE || wanted == 0 || gapMs <= paceMs || d->inboxed() > 0)
        return false;
    // The interval time-out counts from the read's start, or from a byte it
    // takes: a read started while nothing has come would leave the gap before
    // its first byte untimed.
    sleepMs(paceMs);
    if (refreshErrors(port).cbInQue == 0)
        return false;
    finishPending(*d);
    // The interval time-out is the system's own timing of each gap: it ends
    // the read at the first silence longer than gapMs, counted from the last byte.
    if (d->runGapMs != static_cast<DWORD>(gapMs)) {
        COMMTIMEOUTS timeouts = kReadUntilDone;
        timeouts.ReadIntervalTimeout = static_cast<DWORD>(gapMs);
        if (!SetCommTimeouts(d->handle, &timeouts))
            return false;
        d->runGapMs = static_cast<DWORD>(gapMs);
    }
    if (!ReadFile(d->handle, buffer, wanted, nullptr, &d->overlapped) && GetLastError() != ERROR_IO_PENDING) {
        refreshErrors(port);
        return false;
    }
    d->running = true;
    return true;
}

bool waitRun(SerialPort& port, int ms)
{
    const WinComData& d = *port.driver;
    return !d.running ||
           WaitForSingleObject(d.overlapped.hEvent, ms < 0 ? INFINITE : static_cast<DWORD>(ms)) == WAIT_OBJECT_0;
}

uint32_t endRun(SerialPort& port)
{
    WinComData& d = *port.driver;
    if (!d.running)
        return 0;
    d.running = false;
    if (WaitForSingleObject(d.overlapped.hEvent, 0) != WAIT_OBJECT_0)
        CancelIo(d.handle);
    // A read cut short still tells the bytes it had taken.
    DWORD n = 0;
    GetOverlappedResult(d.handle, &d.overlapped, &n, TRUE);
    return n;
}

void waitForInput(SerialPort& port, int ms)
{
    if (ms == 0)
        return;
    WinComData* d = port.driver;
    if (d && d->network) {
        waitForNetworkInput(*d->network, ms);
        return;
    }
    if (!d || d->handle == INVALID_HANDLE_VALUE) {
        sleepMs(ms < 0 ? 1000 : ms);
        return;
    }
    if (d->inboxed() > 0)
        return;
    finishPending(*d);
    // A read of one byte that lasts until the byte comes, waited for on the
    // block's event with the time left. A wait on the comm events instead would
    // poll inside Wine, and ends at once on a line without modem lines.
    uint8_t byte = 0;
    DWORD n = 0;
    bool done = ReadFile(d->handle, &byte, 1, nullptr, &d->overlapped) != 0;
    bool failed = false;
    if (done) {
        done = GetOverlappedResult(d->handle, &d->overlapped, &n, FALSE) != 0;
    } else if (GetLastError() == ERROR_IO_PENDING) {
        if (WaitForSingleObject(d->overlapped.hEvent, ms < 0 ? INFINITE : static_cast<DWORD>(ms)) != WAIT_OBJECT_0)
            CancelIo(d->handle);
        // A byte that came as the wait ended is kept all the same.
        done = GetOverlappedResult(d->handle, &d->overlapped, &n, TRUE) != 0;
    } else {
        failed = true;
    }
    if (done && n == 1) {
        if (d->inboxFirst == d->inboxEnd)
            d->inboxFirst = d->inboxEnd = 0;
        if (d->inboxEnd < d->inbox.size())
            d->inbox[d->inboxEnd++] = byte;
    } else if (failed)
        sleepMs(ms < 0 ? 1000 : ms);  // a line gone away fails at once: no spinning on it
}

}  // namespace vantor
