// What a test tells a simulated instrument and what it hears back: the same
// for the simulator in the process and for one reached over a socket.
#pragma once

#include <cstdint>
#include <vector>

namespace vantor::sim {

enum class Fault {
    Silence,       // no answer
    BadCrc,        // the reply's CRC is wrong
    Exception,     // an exception reply (amount: the code, 4 when 0)
    ExtraBytes,    // amount bytes appended to the reply
    MissingBytes,  // the reply's last amount bytes left out
    PauseInside,   // a pause of amount ms in the middle of the reply
    NoiseBefore,   // amount noise bytes sent before the reply
    LateReply,     // the reply starts amount ms later than usual
    WriteIgnored,  // a write is acknowledged but its registers keep their values
    // A reply of the right length and CRC that answers another request:
    OtherAddress,   // under address `amount`
    OtherFunction,  // with function code `amount`
    OtherCount,     // a read's byte count, or a write's echoed count, one more
    OtherRegister,  // a write's echoed first register one more
};

struct SimOptions {
    int32_t baud = 9600;
    uint8_t address = 1;
    int turnaroundMs = 5;  // from the end of a request to the first reply byte
    int ignoredWrites = 0;  // the first writes acknowledged without being stored
    bool measurementWritable = false;  // the measurement is held and takes writes
};

// A complete frame as the simulator received it on one line.
struct HeardRequest {
    int line = 0;
    int32_t lineBaud = 0;  // the speed the master's side was set to
    bool heard = false;    // at the simulator's own speed, on the instrument's line
    bool answered = false;
    std::vector<uint8_t> bytes;
    int64_t atMs = 0;
};

}  // namespace vantor::sim
