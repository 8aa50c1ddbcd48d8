#pragma once

#include <string>
#include <vector>

namespace vantor {

// Starts a program detached, its path and each argument passed as they are:
// no shell ever sees them.
bool launchProgram(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace vantor
