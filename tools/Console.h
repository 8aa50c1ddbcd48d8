// vantorctl's text in and out. Inside, every text is UTF-8; a Windows console
// is written in UTF-16 so that it shows "°" and "Unité" as they are, and the
// arguments are taken from the wide command line so that a file name outside
// the ANSI code page arrives whole. Output redirected to a file or a pipe is
// UTF-8 everywhere.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vantor::ctl {

// The arguments after the program's name, as UTF-8.
std::vector<std::string> utf8Arguments(int argc, char** argv);

void writeOut(std::string_view text);
void writeErr(std::string_view text);

}  // namespace vantor::ctl
