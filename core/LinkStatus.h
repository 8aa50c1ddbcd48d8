// What the technician reads of an operation on the instrument: the port, speed
// and address used, and why the last transaction failed, in the program's
// language. The window's status line and the link window show these.
#pragma once

#include "JbusMaster.h"
#include "LanguageTables.h"
#include "LinkState.h"
#include "LocalTime.h"

#include <array>
#include <string>

namespace vantor {

// A line of the main window's status, made in both languages at once so that
// it follows a change of language: what happened, then the port, speed and
// address used. A window short of room shortens what happened, never the link.
struct StatusLine {
    std::array<std::string, 2> what;  // French, English
    std::array<std::string, 2> link;  // empty when the line names no link
    // "<what> — <link>".
    std::string text(int language) const;
};

// "Com1, 9600 bauds, adresse 1"; with the port's device when it is a device
// server's: "Com1 (rfc2217://gw1:2001), 9600 bauds, adresse 1".
std::string linkInUse(const LinkSettings& link, int language, const std::string& device = {});

// Why the master's last transaction failed: the reason, the group to join when
// the port may not be opened, the server that could not be reached, the code
// of an exception reply.
std::string failureReason(LinkFailure failure, uint8_t exceptionCode, const std::string& device, int language);

// "<what failed>: <reason> — <link>", from one of the Status texts, for the
// master's last failure or the one given.
StatusLine failedStatus(const BilingualText& text, const JbusMaster& master);
StatusLine failedStatus(const BilingualText& text, LinkFailure failure, uint8_t exceptionCode,
                        const JbusMaster& master);
// "<done> at HH:MM:SS — <link>".
StatusLine doneStatus(const BilingualText& text, const LocalDateTime& when, const LinkSettings& link,
                      const std::string& device = {});

// "<done> at HH:MM:SS: the unit now answers at address N", from StatusNewAddress
// or another text with the same two fields.
StatusLine newAddressStatus(const BilingualText& text, const LocalDateTime& when, const LinkSettings& link);

// Adds to what happened that the unit now answers at the link's address.
void addNewAddress(StatusLine& line, const LinkSettings& link);

}  // namespace vantor
