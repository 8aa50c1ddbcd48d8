#include "LinkStatus.h"

#include "SystemDriver.h"

#include <cstdio>

namespace vantor {

namespace {

template <typename... Values>
std::string printed(const char* format, Values... values)
{
    char text[512];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

std::string clock(const LocalDateTime& when)
{
    return printed("%02d:%02d:%02d", when.hour, when.minute, when.second);
}

}  // namespace

std::string linkInUse(const LinkSettings& link, int language)
{
    const char* port = choiceText(lang::ListCom, 4, false, link.portIndex, language);
    const bool knownBaud = link.baudIndex >= 0 && link.baudIndex < static_cast<int>(kBaudRates.size());
    return printed(lang::OptFoundAt.text(language), port ? port : "?", knownBaud ? kBaudRates[link.baudIndex] : 0,
                   static_cast<int>(jbusAddressByte(link.jbusAddress)));
}

std::string failureReason(LinkFailure failure, uint8_t exceptionCode, const std::string& device, int language)
{
    std::string reason = linkFailureText(failure, language);
    switch (failure) {
    case LinkFailure::PortDenied:
        if (const std::string group = deviceGroup(device); !group.empty())
            reason += printed(lang::LinkJoinGroup.text(language), group.c_str());
        break;
    case LinkFailure::Exception: reason += printed(" (exception %d)", exceptionCode); break;
    default: break;
    }
    return reason;
}

std::string failedStatus(const BilingualText& text, LinkFailure failure, uint8_t exceptionCode,
                         const JbusMaster& master, int language)
{
    return printed(text.text(language), failureReason(failure, exceptionCode, master.devicePath(), language).c_str(),
                   linkInUse(master.settings(), language).c_str());
}

std::string failedStatus(const BilingualText& text, const JbusMaster& master, int language)
{
    return failedStatus(text, master.lastFailure(), master.exceptionCode(), master, language);
}

std::string doneStatus(const BilingualText& text, const LocalDateTime& when, const LinkSettings& link, int language)
{
    return printed(text.text(language), clock(when).c_str(), linkInUse(link, language).c_str());
}

std::string newAddressStatus(const LocalDateTime& when, const LinkSettings& link, int language)
{
    return printed(lang::StatusNewAddress.text(language), clock(when).c_str(),
                   static_cast<int>(jbusAddressByte(link.jbusAddress)));
}

}  // namespace vantor
