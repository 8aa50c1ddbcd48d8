// Serial port library: one record per open port, each carrying its own table of
// operations so that callers never touch the platform directly.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace vantor {

// Status codes, returned by the operations and kept in the record's status.
enum SerialStatus : int32_t {
    kSerialOk = 0,
    kSerialOther = -1,
    kSerialBadPort = -2,
    kSerialBusy = -3,
    kSerialNoMemory = -5,
    kSerialTimeout = -8,
    kSerialTxFull = -9,
    kSerialNoSuchPort = -14,
    kSerialUnsupported = -24,
    kSerialBadBaud = -25,
    kSerialBadParity = -26,
    kSerialBadDataBits = -27,
    kSerialBadStopBits = -28,
    // A network port's server could not be reached.
    kSerialConnectRefused = -40,
    kSerialHostUnreachable = -41,
    kSerialHostUnknown = -42,
    kSerialConnectTimeout = -43,
};

struct SerialPort;
class SerialLibrary;

// The platform driver's private part of a port.
#ifdef _WIN32
struct WinComData;
using DriverData = WinComData;
#else
struct TermiosData;
using DriverData = TermiosData;
#endif


// The operations the link calls on a port: each driver fills them from its
// own constant table.
struct SerialOps {
    int (*readByte)(SerialPort&);  // a byte already received, or -8 when none is
    int (*readBlock)(SerialPort&, uint8_t* buffer, uint32_t wanted);  // those received, up to wanted
    int (*writeBlock)(SerialPort&, const uint8_t* bytes, uint32_t length);
    int (*rxCount)(SerialPort&);
    int (*purgeOutput)(SerialPort&);
    int (*setRts)(SerialPort&, bool on);
    int (*closePort)(SerialPort&);  // also unlinks and frees the record
};

// The operations of a record without a driver: each stores and returns -24,
// except ClosePort, which unlinks and frees the record.
extern const SerialOps kDefaultSerialOps;

struct SerialPort {
    DriverData* driver = nullptr;   // null when the open failed before the driver existed
    SerialPort* next = nullptr;     // live-port list
    int32_t portNumber = 0;         // -1 in the placeholder record
    int32_t status = kSerialOk;
    int32_t driverKind = 0;         // the driver's number, or -1 in the placeholder
    int32_t reserved0 = 0;
    uint32_t transferred = 0;       // bytes moved by the last block read or write
    SerialOps ops = kDefaultSerialOps;
    int32_t reserved1 = 0;
    SerialLibrary* library = nullptr;
    // Added to the wait for a reply's first byte: the time a network port's
    // request and reply spend beyond the line, which is not silence on it.
    int32_t replyMarginMs = 0;
};

inline constexpr int32_t kTermiosDriverKind = 15;
inline constexpr int32_t kWin32DriverKind = 15;  // the number the Windows serial driver always had
inline constexpr int32_t kNetworkDriverKind = 16;
inline constexpr int kPortCount = 4;  // Com1 to Com4

// Called while a timed read or a delay waits; a negative result aborts the wait.
using IdleHook = std::function<int(SerialPort&)>;

// Owns the live ports, the idle hook and the device path of each port index.
// Destroying it closes every port still open, so none outlives the program.
class SerialLibrary {
public:
    SerialLibrary();
    ~SerialLibrary();
    SerialLibrary(const SerialLibrary&) = delete;
    SerialLibrary& operator=(const SerialLibrary&) = delete;

    // Opens the device held for port index 0..3. Never returns null: a failure is
    // in the record's status, and the record must still be closed by the caller.
    SerialPort& openPort(int32_t portNumber, int32_t baud, char parity, int dataBits, int stopBits);
    // Same, for an explicit device path (tools and tests).
    SerialPort& openDevice(const std::string& path, int32_t portNumber, int32_t baud, char parity,
                           int dataBits, int stopBits);

    void setDevicePath(int portNumber, std::string path);
    const std::string& devicePath(int portNumber) const;

    // intervalMs bounds each wait between two calls of the hook.
    void setIdleHook(IdleHook hook, int intervalMs = 10);
    int runIdleHook(SerialPort& port);
    // Runs the hook when an interval has passed since it last ran (at nowUs on
    // the port's clock): a reply coming byte by byte wakes the wait for every
    // byte, and pumping the window's events at each would cost more than the line.
    int runIdleHookWhenDue(SerialPort& port, int64_t nowUs);
    int idleIntervalMs() const { return m_idleHook ? m_idleIntervalMs : -1; }

    // Another driver for the devices opened from now on: it fills the record's
    // slots (or its status) in place of termios. Tests and the fuzzer open fake lines so.
    using DeviceOpener = std::function<void(SerialPort& port, const std::string& path, int32_t baud, char parity,
                                            int dataBits, int stopBits)>;
    void setDeviceOpener(DeviceOpener opener) { m_opener = std::move(opener); }

    // The time the timed reads and the delays run on. Empty members are the
    // system's; a fake line brings a clock whose waits pass at once, so that a
    // silence costs no real time.
    struct WaitClock {
        std::function<int64_t()> nowUs;
        // Waits up to ms, returning sooner once input may be readable.
        std::function<void(SerialPort& port, int ms)> waitForInput;
        std::function<void(int ms)> sleep;
    };
    void setWaitClock(WaitClock clock) { m_clock = std::move(clock); }
    const WaitClock& waitClock() const { return m_clock; }

    int liveCount() const;
    // Lets `succeed` allocations of a record or its driver data through, then makes
    // the next `fail` ones fail, as when memory runs out.
    void failAllocations(int fail, int succeed = 0)
    {
        m_failAllocations = fail;
        m_allocationsBeforeFailure = succeed;
    }

    // Used by the close operations.
    void release(SerialPort& port);

private:
    template <typename T>
    T* allocate();
    void link(SerialPort& port);
    SerialPort& placeholder();

    SerialPort* m_live = nullptr;
    SerialPort m_placeholder;
    std::array<std::string, kPortCount> m_devicePaths;
    IdleHook m_idleHook;
    int m_idleIntervalMs = 10;
    int64_t m_lastIdleUs = INT64_MIN;
    DeviceOpener m_opener;
    WaitClock m_clock;
    int m_failAllocations = 0;
    int m_allocationsBeforeFailure = 0;
};

// Waits up to timeoutMs (-1: no limit) for a byte; returns it, -8 on time-out,
// or the idle hook's negative result.
int readByteTimed(SerialPort& port, int timeoutMs);
// Reads up to `wanted` bytes: the first within firstMs, each next one within
// gapMs of the one before. Returns how many came, fewer than wanted when a
// silence ended them; when none came, 0 or the idle hook's negative result.
// paceMs, the time a byte takes on the line, says that a byte has just been
// taken and more follow at that pace: a driver that can then reads them in one.
int readRunTimed(SerialPort& port, uint8_t* buffer, uint32_t wanted, int firstMs, int gapMs, int paceMs = 0);
// Waits ms milliseconds, running the idle hook; 0 or the hook's negative result.
int delayMs(SerialPort& port, int ms);
// Reads and discards whatever has been received.
int drainInput(SerialPort& port);

// Maps a system error number (errno, or GetLastError on Windows), or a legacy
// driver code (negative), to a status code.
int32_t mapSystemError(int error);

}  // namespace vantor
