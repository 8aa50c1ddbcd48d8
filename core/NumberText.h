// Numbers as the dialogs, reports and conversions write and read them: printf
// formats with a point whatever the locale, and the automatic rounding.
#pragma once

#include <optional>
#include <string>

namespace vantor {

// The value rounded for display, at most about five significant digits; the
// number of decimals to show it with goes to decimalsCount.
double autoDecimals(float value, int& decimalsCount);
// The text of a number as a bound edit box shows it.
std::string formatBoundNumber(const char* format, float value, int& decimalsCount);
// Reads a number as the C library's atof does, with a point as the decimal
// separator whatever the locale: leading blanks skipped, the longest valid
// prefix taken, 0 when there is none.
double parseNumber(const std::string& text);
// Reads a number as a user types it into a field: blanks around it, a sign,
// digits with one decimal separator (the point or the locale's own) and an
// exponent. Nothing when the text holds anything else or no digit at all.
std::optional<double> parseTypedNumber(const std::string& text, const std::string& decimalSeparator);
// A double as a float, the values no float holds becoming infinities.
float toFloat(double value);
// printf-style formatting of one double, always with a decimal point.
std::string formatDouble(const char* format, double value);

}  // namespace vantor
