#include "VersionStrings.h"

#include "VersionInfo.h"

namespace vantor {

#ifndef _WIN32
// Linux programs have no version resource: the build's own values stand for it.
// On Windows the entries come from the program file (VersionStringsWin32.cpp).
std::string readVersionString(const std::string& entry)
{
    if (entry == "InternalName")
        return kVersionInternalName;
    if (entry == "FileVersion")
        return kVersionFileVersion;
    if (entry == "FileDescription")
        return kVersionFileDescription;
    if (entry == "LegalCopyright")
        return kVersionLegalCopyright;
    if (entry == "CompanyName")
        return kVersionCompanyName;
    return std::string();
}
#endif

VersionStrings readVersionStrings()
{
    VersionStrings v;
    v.internalName = readVersionString("InternalName");
    v.fileVersion = readVersionString("FileVersion");
    v.fileDescription = readVersionString("FileDescription");
    v.legalCopyright = readVersionString("LegalCopyright");
    v.companyName = readVersionString("CompanyName");
    return v;
}

}  // namespace vantor
