// Conversion between the program's UTF-8 strings and Windows-1252, the 8-bit
// code page of the instrument's files, reports and spreadsheet exports.
#pragma once

#include <string>
#include <string_view>

namespace vantor {

// UTF-8 to Windows-1252. A character the code page lacks becomes '?', and so
// does every byte that is not part of a well-formed UTF-8 sequence (overlong
// forms, surrogates and values past U+10FFFF are not well-formed).
std::string toWindows1252(std::string_view utf8);

// Windows-1252 to UTF-8. 0x80-0x9F use the code page's own characters
// (0x80 is the euro sign, 0x92 the right single quote). The five bytes the code
// page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls
// of the same value, so that any byte string survives a round trip through
// FromWindows1252 and ToWindows1252 unchanged.
std::string fromWindows1252(std::string_view bytes);

}  // namespace vantor
