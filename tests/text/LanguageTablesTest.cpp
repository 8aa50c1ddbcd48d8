// The language tables: invariants over every table (each text written whole
// in Windows-1252, each list's language half read under its count). Windows-1252, the code page of the converted text and
// the reports: bytes both ways and what cannot be written.
#include "LanguageTables.h"
#include "Windows1252.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <string>

using namespace vantor;

TEST(LanguageTables, EveryPairAndListIsListedOnceWhole)
{
    auto expectWhole = [](const std::string& text) {
        const std::string bytes = toWindows1252(text);
        EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '?'), std::count(text.begin(), text.end(), '?')) << text;
        EXPECT_EQ(fromWindows1252(bytes), text);
    };
    std::set<const void*> seen;
    for (const BilingualText* pair : lang::kAllTexts) {
        ASSERT_NE(pair, nullptr) << "a slot of the table is empty";
        EXPECT_TRUE(seen.insert(pair).second) << pair->french << " listed twice";
        EXPECT_GT(std::strlen(pair->french), 0u);
        EXPECT_GT(std::strlen(pair->english), 0u) << pair->french;
        EXPECT_EQ(pair->text(1), pair->english);
        expectWhole(pair->french);
        expectWhole(pair->english);
    }
    // Each list's count of choices and languages, as the dialogs show them.
    const std::map<std::string, std::pair<int, bool>> shape{
        {"ListCanBitRate", {7, false}},   {"ListFrequency", {8, false}},   {"ListTxRxMode", {7, true}},
        {"ListFunction", {2, true}},      {"ListInstrumentLanguage", {6, false}}, {"ListRelayType", {7, true}},
        {"ListPulseWidth", {12, false}},  {"ListTotalizerUnit", {10, true}}, {"ListTotalizerSign", {3, false}},
        {"ListAutoManual", {2, true}},    {"ListFlowUnit", {12, true}},    {"ListProduct", {2, true}},
        {"ListManualAuto", {2, true}},    {"ListStopOn", {2, true}},       {"ListMounting", {3, true}},
        {"ListMaterial", {13, true}},     {"ListPolarity", {2, true}},     {"ListHardware", {2, false}},
        {"ListModel", {4, false}},        {"ListFaultState", {2, true}},   {"ListAutoManuTag", {2, true}},
        {"ListBauds", {6, false}},        {"ListCom", {4, false}},         {"ListLanguage", {2, false}},
    };
    EXPECT_EQ(lang::kAllLists.size(), shape.size());
    for (const auto& info : lang::kAllLists) {
        const ChoiceList& list = *info.list;
        EXPECT_TRUE(seen.insert(info.list).second) << info.key;
        ASSERT_TRUE(shape.count(info.key)) << info.key;
        EXPECT_EQ(std::make_pair(list.count, list.bilingual), shape.at(info.key)) << info.key;
        // Used slots are filled (an empty text would end a drop-down list early).
        const int used = list.bilingual ? 2 * list.count : list.count;
        for (int slot = 0; slot < 26; ++slot) {
            EXPECT_EQ(std::strlen(list.texts[slot]) > 0, slot < used) << info.key << " slot " << slot;
            expectWhole(list.texts[slot]);
        }
        EXPECT_EQ(choiceText(list, list.count - 1, 1), list.texts[list.bilingual ? 2 * list.count - 1 : list.count - 1]);
        EXPECT_EQ(choiceText(list, list.count, 1), nullptr);
        EXPECT_EQ(choiceText(list, -1, 0), nullptr);
    }
}

TEST(Windows1252, BothWays)
{
    const struct {
        const char* utf8;
        std::string bytes;
    } rows[] = {
        {"D\xC3\xA9" "bit \xC2\xB0\xC2\xB5", "D\xE9" "bit \xB0\xB5"},
        {"\xE2\x82\xAC\xE2\x80\xA6\xE2\x80\x99\xC5\xB8", "\x80\x85\x92\x9F"},  // the code page's 0x80-0x9F
        {"\xC2\x81\xC2\x9D", "\x81\x9D"},                                      // undefined: their C1 control
        {"\xC2\xA0\xC3\xBF", "\xA0\xFF"},
        {"", ""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(toWindows1252(row.utf8), row.bytes) << row.utf8;
        EXPECT_EQ(fromWindows1252(row.bytes), row.utf8) << row.utf8;
    }
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(toWindows1252(fromWindows1252(all)), all) << "every byte, NUL included, survives";
}

TEST(Windows1252, WhatTheCodePageCannotHoldBecomesOneQuestionMarkABadByteOne)
{
    const struct {
        const char* utf8;
        const char* bytes;
    } rows[] = {
        {"\xCE\xA9", "?"}, {"a\xE4\xB8\xAD" "b", "a?b"}, {"\xF0\x9F\x98\x80", "?"}, {"\xC2\x80", "?"},
        {"\x80", "?"},     {"\xC3" "A", "?A"},         {"\xE2\x82" "A", "??A"},  {"\xC0\xAF", "??"},
        {"\xED\xA0\x80", "???"}, {"\xF4\x90\x80\x80", "????"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(toWindows1252(row.utf8), row.bytes) << row.utf8;
}
