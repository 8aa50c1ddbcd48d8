// The reasons the window gives that the simulator cannot bring about: a port
// the user may not open (the tests run as any user), named with its group.
#include "LinkStatus.h"
#include "ProgramState.h"

#include <gtest/gtest.h>

using namespace vantor;

TEST(LinkStatus, ADeniedPortNamesTheGroupToJoinAndAnExceptionItsCode)
{
#ifndef _WIN32
    // /dev/null belongs to the group root on every Linux.
    EXPECT_EQ(failureReason(LinkFailure::PortDenied, 0, "/dev/null", kFrench),
              "accès au port refusé (rejoindre le groupe root)");
    EXPECT_EQ(failureReason(LinkFailure::PortDenied, 0, "/dev/null", kEnglish), "permission denied (join the group root)");
#endif
    // An exception reply says what the instrument means by its code, where the protocol gives it one.
    EXPECT_EQ(failureReason(LinkFailure::Exception, 3, "", kEnglish),
              "request refused by the instrument (exception 3: value not allowed)");
    EXPECT_EQ(failureReason(LinkFailure::Exception, 2, "", kFrench),
              "requête refusée par l'instrument (exception 2 : registre indisponible)");
    EXPECT_EQ(failureReason(LinkFailure::Exception, 9, "", kEnglish), "request refused by the instrument (exception 9)");
    EXPECT_EQ(linkInUse({2, 0, 247.0f}, kFrench), "Com3, 300 bauds, adresse 247");
    EXPECT_EQ(linkInUse({0, 5, 1.0f}, kEnglish, "rfc2217://gw1:2001"), "Com1 (rfc2217://gw1:2001), 9600 baud, address 1");
    EXPECT_EQ(linkInUse({0, 5, 1.0f}, kEnglish, "/dev/ttyUSB0"), "Com1, 9600 baud, address 1");
}
