// The user's regional settings, read from the system.
#pragma once

#include "LocaleFormat.h"

namespace vantor {

#ifndef _WIN32
// The items of the C library's locales named for numbers and for dates and times.
LocaleItems localeItemsOf(const char* numericLocale, const char* timeLocale);
#endif
// The items of the user's locale, read afresh at every call.
LocaleItems userLocaleItems();

}  // namespace vantor
