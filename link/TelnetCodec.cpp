#include "TelnetCodec.h"

namespace vantor::telnet {

uint8_t comPortParity(char parity)
{
    switch (parity) {
    case 'N': case 'n': return 1;
    case 'O': case 'o': return 2;
    case 'E': case 'e': return 3;
    case 'M': case 'm': return 4;
    case 'S': case 's': return 5;
    default: return 0;
    }
}

void TelnetDecoder::command(uint8_t byte)
{
    switch (byte) {
    case kWill:
    case kWont:
    case kDo:
    case kDont:
        m_verb = byte;
        m_state = State::Verb;
        return;
    case kSb:
        m_state = State::SubOption;
        return;
    default:
        // NOP, GA, a stray SE and the like carry nothing for us.
        m_state = State::Data;
        return;
    }
}

size_t TelnetDecoder::decode(std::span<const uint8_t> bytes, uint8_t* data, std::vector<TelnetEvent>& events)
{
    size_t count = 0;
    for (const uint8_t byte : bytes) {
        switch (m_state) {
        case State::Data:
            if (byte == kIac)
                m_state = State::Iac;
            else
                data[count++] = byte;
            break;
        case State::Iac:
            if (byte == kIac) {
                data[count++] = byte;
                m_state = State::Data;
            } else {
                command(byte);
            }
            break;
        case State::Verb:
            events.push_back({m_verb, byte, {}});
            m_state = State::Data;
            break;
        case State::SubOption:
            m_sub.option = byte;
            m_sub.payload.clear();
            m_state = State::Sub;
            break;
        case State::Sub:
            if (byte == kIac)
                m_state = State::SubIac;
            else if (m_sub.payload.size() < kLongestPayload)
                m_sub.payload.push_back(byte);
            break;
        case State::SubIac:
            if (byte == kSe) {
                events.push_back(m_sub);
                m_state = State::Data;
            } else if (byte == kIac) {
                if (m_sub.payload.size() < kLongestPayload)
                    m_sub.payload.push_back(byte);
                m_state = State::Sub;
            } else {
                // A server that never closed its subnegotiation: what it holds
                // is no answer, and the IAC starts a command.
                command(byte);
            }
            break;
        }
    }
    return count;
}

void appendEscaped(std::vector<uint8_t>& out, std::span<const uint8_t> data)
{
    for (const uint8_t byte : data) {
        out.push_back(byte);
        if (byte == kIac)
            out.push_back(kIac);
    }
}

void appendNegotiation(std::vector<uint8_t>& out, uint8_t verb, uint8_t option)
{
    out.insert(out.end(), {kIac, verb, option});
}

void appendSubnegotiation(std::vector<uint8_t>& out, uint8_t option, std::span<const uint8_t> payload)
{
    out.insert(out.end(), {kIac, kSb, option});
    appendEscaped(out, payload);
    out.insert(out.end(), {kIac, kSe});
}

void appendComPort(std::vector<uint8_t>& out, uint8_t command, uint8_t value)
{
    const uint8_t payload[] = {command, value};
    appendSubnegotiation(out, kOptionComPort, payload);
}

void appendComPortBaudrate(std::vector<uint8_t>& out, uint32_t baud)
{
    const uint8_t payload[] = {kSetBaudrate, static_cast<uint8_t>(baud >> 24), static_cast<uint8_t>(baud >> 16),
                               static_cast<uint8_t>(baud >> 8), static_cast<uint8_t>(baud)};
    appendSubnegotiation(out, kOptionComPort, payload);
}

}  // namespace vantor::telnet
