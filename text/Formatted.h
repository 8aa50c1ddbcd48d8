// The program's texts carry printf fields ("%s : essai à %d bauds"): one
// routine fills them into a string of the length they need.
#pragma once

#include <cstdio>
#include <string>

namespace vantor {

template <typename... Values>
std::string formatted(const char* format, Values... values)
{
    const int length = std::snprintf(nullptr, 0, format, values...);
    if (length <= 0)
        return {};
    std::string text(static_cast<size_t>(length), '\0');
    std::snprintf(text.data(), text.size() + 1, format, values...);
    return text;
}

}  // namespace vantor
