#include "LanguageTables.h"

namespace vantor {

const char* choiceText(const ChoiceList& list, int count, bool bilingual, int index, int language)
{
    if (index < 0 || index >= count)
        return nullptr;
    // 64-bit so that a wild count or language cannot overflow into a valid slot.
    const long long slot = bilingual ? index + static_cast<long long>(count) * language : index;
    if (slot < 0 || slot >= static_cast<long long>(list.texts.size()))
        return nullptr;
    return list.texts[static_cast<std::size_t>(slot)];
}

}  // namespace vantor
