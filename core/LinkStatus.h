// What the technician reads of an operation on the instrument: the port, speed
// and address used, and why the last transaction failed, in the program's
// language. The window's status line and the link window show these.
#pragma once

#include "JbusMaster.h"
#include "LanguageTables.h"
#include "LinkState.h"
#include "LocalTime.h"

#include <string>

namespace vantor {

// "Com1, 9600 bauds, adresse 1".
std::string linkInUse(const LinkSettings& link, int language);

// Why the master's last transaction failed: the reason, the group to join when
// the port may not be opened, the code of an exception reply.
std::string failureReason(LinkFailure failure, uint8_t exceptionCode, const std::string& device, int language);

// A status line from one of the Status texts: "<what failed>: <reason> — <link>",
// for the master's last failure or the one given.
std::string failedStatus(const BilingualText& text, const JbusMaster& master, int language);
std::string failedStatus(const BilingualText& text, LinkFailure failure, uint8_t exceptionCode,
                         const JbusMaster& master, int language);
// "<done> at HH:MM:SS — <link>".
std::string doneStatus(const BilingualText& text, const LocalDateTime& when, const LinkSettings& link, int language);

// "Uploaded and checked at HH:MM:SS: the unit now answers at address N".
std::string newAddressStatus(const LocalDateTime& when, const LinkSettings& link, int language);

}  // namespace vantor
