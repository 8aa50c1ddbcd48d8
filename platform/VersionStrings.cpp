#include "VersionStrings.h"

#include "VersionInfo.h"

namespace vantor {

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
