// The termios driver behind the serial operations.
#pragma once

#include "NetworkDriver.h"
#include "SerialPort.h"
#include "SystemDriver.h"

#include <termios.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace vantor {

struct TermiosData {
    uint32_t txQueueSize = 0;
    termios line{};       // line settings as last applied
    termios saved{};      // as found at open; not restored
    int fd = -1;
    // Bytes read from the device and not yet taken: one read() takes all that
    // waits, so a reply costs a wake-up and a read per burst, not four calls a byte.
    std::array<uint8_t, 512> received{};
    uint32_t receivedFrom = 0, receivedTo = 0;
    // The kernel switches an RS-485 transmitter itself: RTS is left to it.
    bool kernelRs485 = false;
    bool noModemLines = false;  // a pseudo-terminal has none: not asked again
    // Waits for input go through an edge-triggered epoll set: the device is not
    // asked again at every wait, and a wait that comes just after a byte does
    // not stall on the tty's delivery of it. -1: plain poll().
    int waitFd = -1;
    // The last read filled the buffer: more may wait in the device, which no
    // new edge will announce.
    bool moreWaiting = false;
    // Set for a port behind a device server, which has its connection there
    // and no descriptor here.
    std::optional<NetworkLink> network;
};

// Watches d.fd for input through the edge-triggered epoll set of d.waitFd, or
// leaves d.waitFd at -1 (plain poll()) where the set cannot be made.
void watchForInput(TermiosData& d);

// The line settings for a speed, parity letter (either case), data and stop
// bits, built into t; a bad argument leaves t as it was and gives its code.
int32_t buildLineSettings(termios& t, int32_t baud, char parity, int dataBits, int stopBits);

// Opens the device and fills the driver slots. Failures are left in port.status.
void openTermiosDevice(SerialPort& port, const std::string& path, int32_t baud, char parity,
                       int dataBits, int stopBits);

// Baud rate of a termios speed code; 0 for a rate we do not use.
int32_t baudOfSpeed(speed_t speed);

}  // namespace vantor
