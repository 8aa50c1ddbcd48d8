// Master side of the Jbus link: builds requests and runs one transaction at a time.
#pragma once

#include "LinkState.h"
#include "SerialPort.h"

#include <cstdint>

namespace vantor {

// Why the last transaction failed. The transaction itself reports only 0 or -1;
// this is kept for diagnostics (the command-line tool) and nothing else.
enum class LinkFailure {
    None,
    PortMissing,
    PortBusy,
    PortUnavailable,
    Overlap,      // a transaction was already running
    BadRequest,   // the request does not fit the buffer
    SendFailed,
    NoAnswer,
    WrongLength,
    BadCrc,
};

const char* LinkFailureText(LinkFailure failure);

struct JbusTimeouts {
    int replyMs;      // wait for the first reply byte
    int interByteMs;  // silence that ends the reply
};

// Time-outs of a read at the given baud index.
JbusTimeouts ReadTimeouts(int baudIndex);
inline constexpr int kWriteReplyTimeoutMs = 1000;
inline constexpr int kAttempts = 3;

// Time the given bytes take on the line: 11 bit times each.
int WireTimeMs(int bytes, int32_t baud);

// Low byte of the address truncated toward zero.
uint8_t JbusAddressByte(float address);

class JbusMaster {
public:
    JbusMaster(SerialLibrary& serial, const LinkSettings& settings, LinkBuffers& buffers);
    ~JbusMaster();
    JbusMaster(const JbusMaster&) = delete;
    JbusMaster& operator=(const JbusMaster&) = delete;

    // Builds bytes 0 to 5 of the request (and the byte count of function 16).
    void JbusRequest(uint8_t function, uint16_t firstRegister, uint16_t count);
    // Sends the first length bytes of the request with their CRC; 0 or -1.
    int JbusTransact(int length);

    int JbusOpen();
    int JbusClose();
    int JbusPurge();

    bool busy() const { return m_busy; }
    LinkFailure lastFailure() const { return m_lastFailure; }
    LinkBuffers& buffers() { return m_buffers; }
    const LinkSettings& settings() const { return m_settings; }

private:
    int Send(int length);
    bool Attempt(int length, int expected, int replyTimeoutMs, int interByteMs);

    SerialLibrary& m_serial;
    const LinkSettings& m_settings;
    LinkBuffers& m_buffers;
    SerialPort* m_port = nullptr;
    bool m_busy = false;
    LinkFailure m_lastFailure = LinkFailure::None;
};

}  // namespace vantor
