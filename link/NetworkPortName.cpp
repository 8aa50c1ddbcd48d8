#include "NetworkPortName.h"

#include <string_view>

namespace vantor {

namespace {

struct Scheme {
    std::string_view prefix;
    bool telnet;
};
constexpr Scheme kSchemes[] = {{"rfc2217://", true}, {"tcp://", false}};

const Scheme* schemeOf(const std::string& name)
{
    for (const Scheme& scheme : kSchemes)
        if (name.size() >= scheme.prefix.size() && name.compare(0, scheme.prefix.size(), scheme.prefix) == 0)
            return &scheme;
    return nullptr;
}

}  // namespace

bool isNetworkPortName(const std::string& name)
{
    return schemeOf(name) != nullptr;
}

std::string networkEndpoint(const std::string& name)
{
    const Scheme* scheme = schemeOf(name);
    return scheme ? name.substr(scheme->prefix.size()) : name;
}

std::optional<NetworkPortName> parseNetworkPortName(const std::string& name)
{
    const Scheme* scheme = schemeOf(name);
    if (!scheme)
        return std::nullopt;
    const std::string endpoint = name.substr(scheme->prefix.size());
    const size_t colon = endpoint.rfind(':');
    if (colon == std::string::npos || colon == 0)
        return std::nullopt;
    std::string host = endpoint.substr(0, colon);
    if (host.front() == '[') {
        if (host.size() < 3 || host.back() != ']')
            return std::nullopt;
        host = host.substr(1, host.size() - 2);
    } else if (host.find(':') != std::string::npos) {
        return std::nullopt;  // an IPv6 address goes in brackets
    }
    const std::string digits = endpoint.substr(colon + 1);
    if (digits.empty() || digits.size() > 5)
        return std::nullopt;
    uint32_t port = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        port = port * 10 + static_cast<uint32_t>(c - '0');
    }
    if (port == 0 || port > 65535)
        return std::nullopt;
    return NetworkPortName{scheme->telnet, host, static_cast<uint16_t>(port)};
}

}  // namespace vantor
