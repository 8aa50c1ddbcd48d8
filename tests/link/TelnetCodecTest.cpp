// The telnet framing of a network port, against byte images written out from
// RFC 854 and RFC 2217: what a server sends, taken apart into data and events
// however the reads cut it, and what the driver sends, built byte for byte.
#include "TelnetCodec.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using namespace vantor::telnet;

namespace {

using Bytes = std::vector<uint8_t>;

struct DecodeRow {
    const char* name;
    std::vector<Bytes> reads;  // as the connection delivers them
    Bytes data;
    std::vector<TelnetEvent> events;
};

struct Decoded {
    Bytes data;
    std::vector<TelnetEvent> events;
};

Decoded decodeReads(const std::vector<Bytes>& reads)
{
    TelnetDecoder decoder;
    Decoded out;
    for (const Bytes& read : reads) {
        // Room for exactly what the read could hold, and a guard byte after it.
        Bytes data(read.size() + 1, 0xAA);
        const size_t n = decoder.decode(read, data.data(), out.events);
        EXPECT_LE(n, read.size());
        EXPECT_EQ(data[read.size()], 0xAA) << "written past the room given";
        out.data.insert(out.data.end(), data.begin(), data.begin() + static_cast<long>(n));
    }
    return out;
}

Bytes longSubnegotiation()
{
    Bytes bytes = {0xFF, 0xFA, 0x2C};
    bytes.insert(bytes.end(), 70, 0x01);
    bytes.insert(bytes.end(), {0xFF, 0xF0, 0x33});
    return bytes;
}

const std::vector<DecodeRow>& decodeRows()
{
    static const std::vector<DecodeRow> rows = {
        {"plain data", {{0x01, 0x03, 0x02, 0x00}}, {0x01, 0x03, 0x02, 0x00}, {}},
        {"IAC IAC is one 0xFF", {{0x01, 0xFF, 0xFF, 0x02}}, {0x01, 0xFF, 0x02}, {}},
        {"two 0xFF in a row", {{0xFF, 0xFF, 0xFF, 0xFF}}, {0xFF, 0xFF}, {}},
        {"WILL and DO between data bytes",
         {{0xFF, 0xFB, 0x03, 0x41, 0xFF, 0xFD, 0x2C, 0x42}},
         {0x41, 0x42},
         {{kWill, 3, {}}, {kDo, 44, {}}}},
        {"WONT and DONT",
         {{0xFF, 0xFC, 0x01, 0xFF, 0xFE, 0x2C}},
         {},
         {{kWont, 1, {}}, {kDont, 44, {}}}},
        {"ser2net's greeting",
         {{0xFF, 0xFB, 0x03, 0xFF, 0xFD, 0x03, 0xFF, 0xFB, 0x01, 0xFF, 0xFE, 0x01, 0xFF, 0xFD, 0x00, 0xFF, 0xFB,
           0x00, 0xFF, 0xFD, 0x2C}},
         {},
         {{kWill, 3, {}}, {kDo, 3, {}}, {kWill, 1, {}}, {kDont, 1, {}}, {kDo, 0, {}}, {kWill, 0, {}}, {kDo, 44, {}}}},
        {"answer to SET-BAUDRATE 9600",
         {{0xFF, 0xFA, 0x2C, 0x65, 0x00, 0x00, 0x25, 0x80, 0xFF, 0xF0}},
         {},
         {{kSb, 44, {0x65, 0x00, 0x00, 0x25, 0x80}}}},
        {"IAC IAC inside a subnegotiation",
         {{0xFF, 0xFA, 0x2C, 0x65, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0xFF, 0xF0}},
         {},
         {{kSb, 44, {0x65, 0x00, 0x00, 0xFF, 0x00}}}},
        {"subnegotiation split across reads",
         {{0x01, 0xFF, 0xFA, 0x2C, 0x65, 0x00}, {0x00, 0x25}, {0x80, 0xFF}, {0xF0, 0x07}},
         {0x01, 0x07},
         {{kSb, 44, {0x65, 0x00, 0x00, 0x25, 0x80}}}},
        {"IAC at the end of a read, IAC after it",
         {{0x01, 0xFF}, {0xFF, 0x02}},
         {0x01, 0xFF, 0x02},
         {}},
        {"IAC at the end of a read, WILL after it",
         {{0x01, 0xFF}, {0xFB, 0x03, 0x05}},
         {0x01, 0x05},
         {{kWill, 3, {}}}},
        {"verb at the end of a read, option after it", {{0x09, 0xFF, 0xFD}, {0x2C}}, {0x09}, {{kDo, 44, {}}}},
        {"NOP and GA dropped", {{0x01, 0xFF, 0xF1, 0x02, 0xFF, 0xF9, 0x03}}, {0x01, 0x02, 0x03}, {}},
        {"modem state notice, purge and line answers between replies",
         {{0xFF, 0xFA, 0x2C, 0x6B, 0x00, 0xFF, 0xF0, 0xFF, 0xFA, 0x2C, 0x70, 0x03, 0xFF, 0xF0, 0x01, 0x03}},
         {0x01, 0x03},
         {{kSb, 44, {0x6B, 0x00}}, {kSb, 44, {0x70, 0x03}}}},
        {"subnegotiation never closed, a command after it",
         {{0xFF, 0xFA, 0x2C, 0x6B, 0xFF, 0xFB, 0x03, 0x09}},
         {0x09},
         {{kWill, 3, {}}}},
        {"a subnegotiation too long is cut", {longSubnegotiation()}, {0x33}, {{kSb, 44, Bytes(64, 0x01)}}},
    };
    return rows;
}

}  // namespace

TEST(TelnetDecoder, TakesDataAndEventsApart)
{
    for (const DecodeRow& row : decodeRows()) {
        SCOPED_TRACE(row.name);
        const Decoded out = decodeReads(row.reads);
        EXPECT_EQ(out.data, row.data);
        EXPECT_EQ(out.events, row.events);
    }
}

TEST(TelnetEncoder, BuildsRequestsByteForByte)
{
    struct Row {
        const char* name;
        Bytes (*build)();
        Bytes expected;
    };
    const Row rows[] = {
        {"data with 0xFF doubled",
         [] { Bytes out; appendEscaped(out, Bytes{0x01, 0xFF, 0x02}); return out; },
         {0x01, 0xFF, 0xFF, 0x02}},
        {"0xFF 0xFF doubled each",
         [] { Bytes out; appendEscaped(out, Bytes{0xFF, 0xFF}); return out; },
         {0xFF, 0xFF, 0xFF, 0xFF}},
        {"a read request untouched",
         [] { Bytes out; appendEscaped(out, Bytes{0x01, 0x03, 0x11, 0x00, 0x00, 0x1C, 0x41, 0x3F}); return out; },
         {0x01, 0x03, 0x11, 0x00, 0x00, 0x1C, 0x41, 0x3F}},
        {"WILL COM-PORT-OPTION", [] { Bytes out; appendNegotiation(out, kWill, kOptionComPort); return out; },
         {0xFF, 0xFB, 0x2C}},
        {"DO BINARY", [] { Bytes out; appendNegotiation(out, kDo, kOptionBinary); return out; }, {0xFF, 0xFD, 0x00}},
        {"SET-BAUDRATE 9600", [] { Bytes out; appendComPortBaudrate(out, 9600); return out; },
         {0xFF, 0xFA, 0x2C, 0x01, 0x00, 0x00, 0x25, 0x80, 0xFF, 0xF0}},
        {"SET-BAUDRATE 300", [] { Bytes out; appendComPortBaudrate(out, 300); return out; },
         {0xFF, 0xFA, 0x2C, 0x01, 0x00, 0x00, 0x01, 0x2C, 0xFF, 0xF0}},
        {"SET-BAUDRATE with 0xFF in its value", [] { Bytes out; appendComPortBaudrate(out, 0xFF00); return out; },
         {0xFF, 0xFA, 0x2C, 0x01, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0xFF, 0xF0}},
        {"SET-DATASIZE 8", [] { Bytes out; appendComPort(out, kSetDatasize, 8); return out; },
         {0xFF, 0xFA, 0x2C, 0x02, 0x08, 0xFF, 0xF0}},
        {"SET-PARITY none", [] { Bytes out; appendComPort(out, kSetParity, comPortParity('N')); return out; },
         {0xFF, 0xFA, 0x2C, 0x03, 0x01, 0xFF, 0xF0}},
        {"SET-STOPSIZE 2", [] { Bytes out; appendComPort(out, kSetStopsize, 2); return out; },
         {0xFF, 0xFA, 0x2C, 0x04, 0x02, 0xFF, 0xF0}},
        {"SET-CONTROL RTS on", [] { Bytes out; appendComPort(out, kSetControl, kControlRtsOn); return out; },
         {0xFF, 0xFA, 0x2C, 0x05, 0x0B, 0xFF, 0xF0}},
        {"SET-CONTROL RTS off", [] { Bytes out; appendComPort(out, kSetControl, kControlRtsOff); return out; },
         {0xFF, 0xFA, 0x2C, 0x05, 0x0C, 0xFF, 0xF0}},
        {"SET-CONTROL DTR on", [] { Bytes out; appendComPort(out, kSetControl, kControlDtrOn); return out; },
         {0xFF, 0xFA, 0x2C, 0x05, 0x08, 0xFF, 0xF0}},
        {"PURGE-DATA both", [] { Bytes out; appendComPort(out, kPurgeData, kPurgeBoth); return out; },
         {0xFF, 0xFA, 0x2C, 0x0C, 0x03, 0xFF, 0xF0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.build(), row.expected);
    }
}

TEST(TelnetEncoder, ParityCodes)
{
    const struct {
        char letter;
        uint8_t code;
    } rows[] = {{'N', 1}, {'n', 1}, {'O', 2}, {'E', 3}, {'e', 3}, {'M', 4}, {'S', 5}, {'X', 0}};
    for (const auto& row : rows)
        EXPECT_EQ(comPortParity(row.letter), row.code) << row.letter;
}
