#include "LinkStatus.h"

#include "Formatted.h"
#include "NetworkPortName.h"
#include "ProgramState.h"
#include "SystemDriver.h"

#include <iterator>

namespace vantor {

namespace {

std::string clock(const LocalDateTime& when)
{
    return formatted("%02d:%02d:%02d", when.hour, when.minute, when.second);
}

// Both languages' texts of one line, from a maker of one language's.
template <typename Make>
std::array<std::string, 2> inBoth(const Make& make)
{
    return {make(kFrench), make(kEnglish)};
}

}  // namespace

std::string StatusLine::text(int language) const
{
    const size_t l = language == kEnglish ? 1 : 0;
    return link[l].empty() ? what[l] : what[l] + " \u2014 " + link[l];
}

std::string linkInUse(const LinkSettings& link, int language, const std::string& device)
{
    const char* com = choiceText(lang::ListCom, link.portIndex, language);
    std::string port = com ? com : "?";
    // A serial device is known by its Com; a server's port is not, and may move.
    if (isNetworkPortName(device))
        port += " (" + device + ")";
    const bool knownBaud = link.baudIndex >= 0 && link.baudIndex < static_cast<int>(kBaudRates.size());
    return formatted(lang::OptFoundAt.text(language), port.c_str(), knownBaud ? kBaudRates[link.baudIndex] : 0,
                     static_cast<int>(jbusAddressByte(link.jbusAddress)));
}

std::string failureReason(LinkFailure failure, uint8_t exceptionCode, const std::string& device, int language)
{
    std::string reason = linkFailureText(failure, language);
    switch (failure) {
    case LinkFailure::PortDenied:
        if (const std::string group = deviceGroup(device); !group.empty())
            reason += formatted(lang::LinkJoinGroup.text(language), group.c_str());
        break;
    case LinkFailure::ConnectRefused:
    case LinkFailure::HostUnreachable:
    case LinkFailure::HostUnknown:
    case LinkFailure::ConnectTimeout:
        // The server named, as a serial port's name goes with its reason.
        reason = formatted(lang::LinkCannotConnect.text(language), networkEndpoint(device).c_str(), reason.c_str());
        break;
    case LinkFailure::Exception: {
        // What the instrument means by the code, where it is one of the protocol's.
        static constexpr const BilingualText* kMeanings[] = {&lang::ExceptionFunction, &lang::ExceptionRegister,
                                                             &lang::ExceptionValue,    &lang::ExceptionFault,
                                                             &lang::ExceptionWorking,  &lang::ExceptionBusy};
        reason += exceptionCode >= 1 && exceptionCode <= std::size(kMeanings)
                      ? formatted(language == kEnglish ? " (exception %d: %s)" : " (exception %d : %s)", exceptionCode,
                                  kMeanings[exceptionCode - 1]->text(language))
                      : formatted(" (exception %d)", exceptionCode);
        break;
    }
    default: break;
    }
    return reason;
}

StatusLine failedStatus(const BilingualText& text, LinkFailure failure, uint8_t exceptionCode,
                        const JbusMaster& master)
{
    return {inBoth([&](int l) {
                return formatted(text.text(l), failureReason(failure, exceptionCode, master.devicePath(), l).c_str());
            }),
            inBoth([&](int l) { return linkInUse(master.lastLink(), l, master.devicePath()); })};
}

StatusLine failedStatus(const BilingualText& text, const JbusMaster& master)
{
    return failedStatus(text, master.lastFailure(), master.exceptionCode(), master);
}

StatusLine doneStatus(const BilingualText& text, const LocalDateTime& when, const LinkSettings& link,
                      const std::string& device)
{
    return {inBoth([&](int l) { return formatted(text.text(l), clock(when).c_str()); }),
            inBoth([&](int l) { return linkInUse(link, l, device); })};
}

StatusLine newAddressStatus(const BilingualText& text, const LocalDateTime& when, const LinkSettings& link)
{
    return {inBoth([&](int l) {
                return formatted(text.text(l), clock(when).c_str(), static_cast<int>(jbusAddressByte(link.jbusAddress)));
            }),
            {}};
}

void addNewAddress(StatusLine& line, const LinkSettings& link)
{
    const auto added = inBoth(
        [&](int l) { return formatted(lang::StatusNowAt.text(l), static_cast<int>(jbusAddressByte(link.jbusAddress))); });
    for (size_t l = 0; l < added.size(); ++l)
        line.what[l] += added[l];
}

}  // namespace vantor
