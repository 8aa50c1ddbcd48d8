// The language tables: invariants over every table, and the reading of a
// list's language half under the count a control binds it with.
#include "LanguageTables.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

using namespace vantor;

TEST(LanguageTables, EveryPairAndListIsListedOnceWhole)
{
    std::set<const void*> seen;
    for (const BilingualText* pair : lang::kAllTexts) {
        ASSERT_NE(pair, nullptr) << "a slot of the table is empty";
        EXPECT_TRUE(seen.insert(pair).second) << pair->french << " listed twice";
        EXPECT_GT(std::strlen(pair->french), 0u);
        EXPECT_GT(std::strlen(pair->english), 0u) << pair->french;
        EXPECT_EQ(pair->text(1), pair->english);
    }
    for (const auto& info : lang::kAllLists) {
        EXPECT_TRUE(seen.insert(info.list).second) << info.key;
        // Used slots are filled (an empty text would end a drop-down list early).
        const int used = info.bilingual ? 2 * info.count : info.count;
        for (int slot = 0; slot < 26; ++slot)
            EXPECT_EQ(std::strlen(info.list->texts[slot]) > 0, slot < used) << info.key << " slot " << slot;
        for (int language = 0; language < 2; ++language) {
            const int offset = info.bilingual ? info.count * language : 0;
            for (int i = 0; i < info.count; ++i)
                EXPECT_EQ(choiceText(*info.list, info.count, info.bilingual, i, language),
                          info.list->texts[i + offset]);
            EXPECT_EQ(choiceText(*info.list, info.count, info.bilingual, info.count, language), nullptr);
            EXPECT_EQ(choiceText(*info.list, info.count, info.bilingual, -1, language), nullptr);
        }
    }
}

TEST(LanguageTables, ChoiceTextUsesTheBoundCount)
{
    auto choice = [](const ChoiceList& list, int count, bool bilingual, int index, int language) {
        const char* text = choiceText(list, count, bilingual, index, language);
        return std::string(text ? text : "<null>");
    };
    // Bound with 6 choices, the English half starts at slot 6.
    EXPECT_EQ(choice(lang::ListFlowUnit, 6, true, 0, 1), "USGl/s");
    EXPECT_EQ(choice(lang::ListFlowUnit, 12, true, 5, 1), "m3/d");
    // A slot past the end of the list is refused even when the index is below count.
    EXPECT_EQ(choice(lang::ListMaterial, 14, true, 13, 1), "<null>");
    EXPECT_EQ(choice(lang::ListMaterial, 27, false, 26, 0), "<null>");
    EXPECT_EQ(choice(lang::ListLanguage, 2, false, 1, 0), "English");
}
