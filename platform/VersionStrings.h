// What the program file says about itself, standing for its version resource.
#pragma once

#include <string>

namespace vantor {

struct VersionStrings {
    std::string internalName;
    std::string fileVersion;
    std::string fileDescription;
    std::string legalCopyright;
    std::string companyName;
};

// The entry of the program's own version block, or the empty text.
std::string readVersionString(const std::string& entry);
// The five entries, read in the order start-up reads them.
VersionStrings readVersionStrings();

}  // namespace vantor
