#include "VersionStrings.h"

#include "VersionInfo.h"

namespace vantor {

std::string ReadVersionString(const std::string& entry)
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

VersionStrings ReadVersionStrings()
{
    VersionStrings v;
    v.internalName = ReadVersionString("InternalName");
    v.fileVersion = ReadVersionString("FileVersion");
    v.fileDescription = ReadVersionString("FileDescription");
    v.legalCopyright = ReadVersionString("LegalCopyright");
    v.companyName = ReadVersionString("CompanyName");
    return v;
}

}  // namespace vantor
