// The user's regional settings, read from the system.
#pragma once

#include "LocaleFormat.h"

class QLocale;

namespace vantor {

// The items of a locale.
LocaleItems localeItemsOf(const QLocale& locale);
// The items of the user's locale, read afresh at every call.
LocaleItems userLocaleItems();

}  // namespace vantor
