// The language tables: invariants over every table, then the texts other code
// relies on byte for byte.
#include "LanguageTables.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

using namespace vantor;

namespace {

int usedSlots(const lang::ChoiceListInfo& info)
{
    return info.bilingual ? 2 * info.count : info.count;
}

std::string choice(const ChoiceList& list, int count, bool bilingual, int index, int language)
{
    const char* text = choiceText(list, count, bilingual, index, language);
    return text ? text : "<null>";
}

}  // namespace

TEST(LanguageTables, TableCounts)
{
    EXPECT_EQ(lang::kAllLists.size(), 24u);
    EXPECT_EQ(lang::kAllTexts.size(), 256u);
}

TEST(LanguageTables, EveryPairIsListedOnceAndHasBothTexts)
{
    std::set<const BilingualText*> seen;
    for (std::size_t i = 0; i < lang::kAllTexts.size(); ++i) {
        const BilingualText* pair = lang::kAllTexts[i];
        ASSERT_NE(pair, nullptr) << "pair " << i;
        EXPECT_TRUE(seen.insert(pair).second) << "pair " << i << " listed twice";
        ASSERT_NE(pair->french, nullptr) << "pair " << i;
        ASSERT_NE(pair->english, nullptr) << "pair " << i;
        EXPECT_GT(std::strlen(pair->french), 0u) << "pair " << i;
        EXPECT_GT(std::strlen(pair->english), 0u) << "pair " << i << " (" << pair->french << ")";
        EXPECT_EQ(pair->text(0), pair->french);
        EXPECT_EQ(pair->text(1), pair->english);
    }
}

TEST(LanguageTables, EveryListIsListedOnce)
{
    std::set<const ChoiceList*> lists;
    std::set<std::string> keys;
    for (const auto& info : lang::kAllLists) {
        EXPECT_TRUE(lists.insert(info.list).second) << info.key;
        EXPECT_TRUE(keys.insert(info.key).second) << info.key;
    }
}

// Used slots are filled (an empty text would end the drop-down list early, and no
// list relies on that), unused slots hold "" and nothing is null.
TEST(LanguageTables, ListsFillExactlyTheirSlots)
{
    for (const auto& info : lang::kAllLists) {
        ASSERT_NE(info.list, nullptr) << info.key;
        ASSERT_GT(info.count, 0) << info.key;
        ASSERT_LE(usedSlots(info), 26) << info.key;
        for (int slot = 0; slot < 26; ++slot) {
            const char* text = info.list->texts[slot];
            ASSERT_NE(text, nullptr) << info.key << " slot " << slot;
            if (slot < usedSlots(info)) {
                EXPECT_GT(std::strlen(text), 0u) << info.key << " slot " << slot;
                EXPECT_LE(std::strlen(text), 99u) << info.key << " slot " << slot;
            } else {
                EXPECT_STREQ(text, "") << info.key << " slot " << slot;
            }
        }
    }
}

TEST(LanguageTables, ChoiceTextReadsTheLanguageHalf)
{
    for (const auto& info : lang::kAllLists) {
        for (int language = 0; language < 2; ++language) {
            const int offset = info.bilingual ? info.count * language : 0;
            for (int i = 0; i < info.count; ++i) {
                EXPECT_EQ(choiceText(*info.list, info.count, info.bilingual, i, language),
                          info.list->texts[i + offset])
                    << info.key << " choice " << i << " language " << language;
            }
            EXPECT_EQ(choiceText(*info.list, info.count, info.bilingual, info.count, language), nullptr)
                << info.key;
            EXPECT_EQ(choiceText(*info.list, info.count, info.bilingual, -1, language), nullptr) << info.key;
        }
    }
}

TEST(LanguageTables, ChoiceTextUsesTheBoundCount)
{
    // Bound with 6 choices, the English half starts at slot 6.
    EXPECT_EQ(choice(lang::ListFlowUnit, 6, true, 0, 1), "USGl/s");
    EXPECT_EQ(choice(lang::ListFlowUnit, 6, true, 5, 0), "m3/j");
    EXPECT_EQ(choice(lang::ListFlowUnit, 6, true, 6, 0), "<null>");
    // A slot past the end of the list is refused even when the index is below count.
    EXPECT_EQ(choice(lang::ListMaterial, 14, true, 13, 1), "<null>");
    EXPECT_EQ(choice(lang::ListMaterial, 27, false, 26, 0), "<null>");
    EXPECT_EQ(choice(lang::ListMaterial, 0, false, 0, 0), "<null>");
}

TEST(LanguageTables, MaterialChoices)
{
    EXPECT_EQ(choice(lang::ListMaterial, 13, true, 3, 0), "Plexi");
    EXPECT_EQ(choice(lang::ListMaterial, 13, true, 3, 1), "Plexi");
    EXPECT_EQ(choice(lang::ListMaterial, 13, true, 1, 0), "Teflon");
    EXPECT_EQ(choice(lang::ListMaterial, 13, true, 1, 1), "Ptfe");
    EXPECT_EQ(choice(lang::ListMaterial, 13, true, 12, 0), "Fibrociment");
    EXPECT_EQ(choice(lang::ListMaterial, 13, true, 12, 1), "Asbestos");
}

TEST(LanguageTables, FlowUnitChoices)
{
    EXPECT_EQ(choice(lang::ListFlowUnit, 12, true, 5, 0), "m3/j");
    EXPECT_EQ(choice(lang::ListFlowUnit, 12, true, 5, 1), "m3/d");
    for (int language = 0; language < 2; ++language) {
        EXPECT_EQ(choice(lang::ListFlowUnit, 12, true, 0, language), " l/s");
        EXPECT_EQ(choice(lang::ListFlowUnit, 12, true, 1, language), "l/mn");
        EXPECT_EQ(choice(lang::ListFlowUnit, 12, true, 2, language), " l/h");
    }
    EXPECT_EQ(choice(lang::ListFlowUnit, 12, true, 11, 1), "UKGl/d");
}

TEST(LanguageTables, ModelChoices)
{
    EXPECT_EQ(choice(lang::ListModel, 4, false, 3, 0), "Vantor-P");
    EXPECT_EQ(choice(lang::ListModel, 4, false, 3, 1), "Vantor-P");
    EXPECT_EQ(choiceText(lang::ListModel, 4, false, 4, 0), nullptr);
    EXPECT_EQ(choiceText(lang::ListModel, 4, false, 4, 1), nullptr);
}

TEST(LanguageTables, SingleLanguageListIgnoresTheLanguage)
{
    EXPECT_EQ(choice(lang::ListLanguage, 2, false, 0, 1), "Fran\xC3\xA7" "ais");
    EXPECT_EQ(choice(lang::ListLanguage, 2, false, 1, 0), "English");
    EXPECT_EQ(choice(lang::ListBauds, 6, false, 5, 1), "9600");
}

TEST(LanguageTables, MenuFile)
{
    EXPECT_STREQ(lang::MenuFile.text(0), "&Fichier");
    EXPECT_STREQ(lang::MenuFile.text(1), "&File");
}

TEST(LanguageTables, AccentsTabsAndNewlinesAreByteExact)
{
    EXPECT_EQ(std::string(lang::CmpReportHeader.text(0)), "Nom\tValeur Unit\xC3\xA9\tValeur Fichier\n");
    EXPECT_EQ(std::string(lang::CmpReportHeader.text(1)), "Name\tUnit Value\tFile Value\n");
    EXPECT_EQ(std::string(lang::MeasRecordCounter.text(0)),
              "Nbre d'Enregistrement=%d  N\xC2\xB0 d'Enregistrement=%d");
    EXPECT_EQ(std::string(lang::MeasRecordCounter.text(1)), "Total Record=%d  Record N\xC2\xB0=%d");
    EXPECT_EQ(std::string(lang::MeasMicroseconds.text(0)), "\xC2\xB5s");
    EXPECT_EQ(std::string(lang::FacDegree.text(1)), "\xC2\xB0");
    EXPECT_EQ(std::string(lang::OptConnectFailure.text(0)), "La d\xC3\xA9tection a \xC3\xA9" "chou\xC3\xA9");
    EXPECT_EQ(std::string(lang::MenuMakerSettings.text(0)), "R\xC3\xA9glage &HYDROMAST");
    EXPECT_EQ(std::string(lang::CalExtDiameter.text(0)), "Diam\xC3\xA8tre Ext.");
}

TEST(LanguageTables, SpacesAtTheEdgesAndDoubled)
{
    EXPECT_EQ(choice(lang::ListTxRxMode, 7, true, 4, 1), "Tx U.  Rx U.");
    EXPECT_EQ(choice(lang::ListTxRxMode, 7, true, 4, 0), "Tx AM. Rx AM.");
    EXPECT_EQ(choice(lang::ListMounting, 3, true, 2, 1), "Reflex2  (W)");
    EXPECT_EQ(std::string(lang::AboutPrefix.text(0)), "A Propos de ");
    EXPECT_EQ(std::string(lang::AboutPrefix.text(1)), "About ");
    EXPECT_EQ(std::string(lang::CmpLookFile.text(1)), "Look File ");
    EXPECT_EQ(std::string(lang::CmpReportTitle.text(1)), "Deviation between Unit and File ");
    EXPECT_EQ(std::string(lang::CmpUnitNumber.text(0)), "Unit\xC3\xA9 N\xC2\xB0 _____________");
}
