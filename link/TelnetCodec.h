// The telnet framing around a network port's data (RFC 854) and the COM Port
// Control Option's requests (RFC 2217). Bytes in, bytes out: no socket here, so
// that every sequence a server can send is testable on its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vantor::telnet {

inline constexpr uint8_t kIac = 255;
inline constexpr uint8_t kDont = 254;
inline constexpr uint8_t kDo = 253;
inline constexpr uint8_t kWont = 252;
inline constexpr uint8_t kWill = 251;
inline constexpr uint8_t kSb = 250;
inline constexpr uint8_t kSe = 240;

inline constexpr uint8_t kOptionBinary = 0;
inline constexpr uint8_t kOptionSuppressGoAhead = 3;
inline constexpr uint8_t kOptionComPort = 44;

// COM Port Control Option commands, client to server; the server answers a
// command with the same number plus kServerAnswer.
enum ComPortCommand : uint8_t {
    kSetBaudrate = 1,
    kSetDatasize = 2,
    kSetParity = 3,
    kSetStopsize = 4,
    kSetControl = 5,
    kPurgeData = 12,
};
inline constexpr uint8_t kServerAnswer = 100;

// Values of SET-CONTROL, SET-PARITY and PURGE-DATA.
inline constexpr uint8_t kControlDtrOn = 8;
inline constexpr uint8_t kControlDtrOff = 9;
inline constexpr uint8_t kControlRtsOn = 11;
inline constexpr uint8_t kControlRtsOff = 12;
inline constexpr uint8_t kPurgeBoth = 3;

// The COM Port Control Option's parity code of a parity letter (either case),
// 0 for a letter it has none for.
uint8_t comPortParity(char parity);

// One negotiation or subnegotiation the server sent, out of the data.
struct TelnetEvent {
    uint8_t verb;                  // kWill, kWont, kDo, kDont, or kSb for a subnegotiation
    uint8_t option;
    std::vector<uint8_t> payload;  // a subnegotiation's bytes after its option, IAC IAC made one
    bool operator==(const TelnetEvent&) const = default;
};

// Takes the bytes of a connection as they come, in reads of any size: data
// bytes out, IAC IAC made one 0xFF, negotiations and subnegotiations taken out
// as events, other commands (NOP, GA...) dropped. A sequence cut between two
// reads is finished by the next.
class TelnetDecoder {
public:
    // A subnegotiation longer than this is cut: no answer of RFC 2217 is near it.
    static constexpr size_t kLongestPayload = 64;

    // Writes the data bytes to `data`, which has room for bytes.size() of them,
    // and appends the events; returns how many data bytes it wrote.
    size_t decode(std::span<const uint8_t> bytes, uint8_t* data, std::vector<TelnetEvent>& events);

private:
    enum class State : uint8_t { Data, Iac, Verb, SubOption, Sub, SubIac };
    // The byte after an IAC, outside a subnegotiation.
    void command(uint8_t byte);

    State m_state = State::Data;
    uint8_t m_verb = 0;
    TelnetEvent m_sub{kSb, 0, {}};
};

// Data for the connection: each 0xFF doubled.
void appendEscaped(std::vector<uint8_t>& out, std::span<const uint8_t> data);
// IAC verb option.
void appendNegotiation(std::vector<uint8_t>& out, uint8_t verb, uint8_t option);
// IAC SB option payload IAC SE, each 0xFF of the payload doubled.
void appendSubnegotiation(std::vector<uint8_t>& out, uint8_t option, std::span<const uint8_t> payload);
// A COM Port Control Option request with a value of one byte, or of four
// (SET-BAUDRATE), most significant byte first.
void appendComPort(std::vector<uint8_t>& out, uint8_t command, uint8_t value);
void appendComPortBaudrate(std::vector<uint8_t>& out, uint32_t baud);

}  // namespace vantor::telnet
