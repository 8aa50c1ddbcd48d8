// Windows-1252 conversions, and a check that every text of the language tables
// can be written in that code page.
#include "LanguageTables.h"
#include "Windows1252.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace vantor;

namespace {

std::string Byte(int value)
{
    return std::string(1, static_cast<char>(value));
}

std::size_t CodePoints(const std::string& utf8)
{
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

void ExpectRepresentable(const std::string& text, const std::string& where)
{
    const std::string bytes = ToWindows1252(text);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '?'), std::count(text.begin(), text.end(), '?')) << where;
    EXPECT_EQ(bytes.size(), CodePoints(text)) << where;
    EXPECT_EQ(FromWindows1252(bytes), text) << where;
}

}  // namespace

TEST(Windows1252, AsciiIsUnchanged)
{
    std::string ascii;
    for (int c = 0; c < 0x80; ++c)
        ascii += static_cast<char>(c);
    EXPECT_EQ(ToWindows1252(ascii), ascii);
    EXPECT_EQ(FromWindows1252(ascii), ascii);
}

TEST(Windows1252, AccentsAndUnits)
{
    EXPECT_EQ(ToWindows1252("\xC3\xA9"), Byte(0xE9));  // é
    EXPECT_EQ(ToWindows1252("\xC2\xB0"), Byte(0xB0));  // °
    EXPECT_EQ(ToWindows1252("\xC2\xB5"), Byte(0xB5));  // µ
    EXPECT_EQ(FromWindows1252(Byte(0xE9)), "\xC3\xA9");
    EXPECT_EQ(FromWindows1252(Byte(0xB0)), "\xC2\xB0");
    EXPECT_EQ(FromWindows1252(Byte(0xB5)), "\xC2\xB5");
    EXPECT_EQ(FromWindows1252(Byte(0xA0)), "\xC2\xA0");
    EXPECT_EQ(FromWindows1252(Byte(0xFF)), "\xC3\xBF");
    EXPECT_EQ(ToWindows1252("D\xC3\xA9" "bit"), "D" + Byte(0xE9) + "bit");
}

TEST(Windows1252, HighControlRangeUsesTheCodePage)
{
    EXPECT_EQ(ToWindows1252("\xE2\x82\xAC"), Byte(0x80));  // €
    EXPECT_EQ(FromWindows1252(Byte(0x80)), "\xE2\x82\xAC");
    EXPECT_EQ(FromWindows1252(Byte(0x85)), "\xE2\x80\xA6");  // …
    EXPECT_EQ(FromWindows1252(Byte(0x92)), "\xE2\x80\x99");  // ’
    EXPECT_EQ(FromWindows1252(Byte(0x9F)), "\xC5\xB8");      // Ÿ
    EXPECT_EQ(ToWindows1252("\xE2\x80\x99"), Byte(0x92));
    // U+0080 is not the euro sign: byte 0x80 is taken.
    EXPECT_EQ(ToWindows1252("\xC2\x80"), "?");
}

TEST(Windows1252, UndefinedBytesBecomeTheirC1Control)
{
    for (int byte : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
        const std::string utf8 = FromWindows1252(Byte(byte));
        EXPECT_EQ(utf8, "\xC2" + Byte(byte)) << byte;
        EXPECT_EQ(ToWindows1252(utf8), Byte(byte)) << byte;
    }
}

TEST(Windows1252, EveryByteSurvivesARoundTrip)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(ToWindows1252(FromWindows1252(all)), all);
}

TEST(Windows1252, CharactersOutsideTheCodePageBecomeQuestionMarks)
{
    EXPECT_EQ(ToWindows1252("\xCE\xA9"), "?");              // Ω
    EXPECT_EQ(ToWindows1252("a\xE4\xB8\xAD" "b"), "a?b");   // 中
    EXPECT_EQ(ToWindows1252("\xF0\x9F\x98\x80"), "?");      // one character, one '?'
}

TEST(Windows1252, InvalidUtf8BytesBecomeQuestionMarks)
{
    EXPECT_EQ(ToWindows1252("\x80"), "?");                 // stray continuation byte
    EXPECT_EQ(ToWindows1252("\xC3"), "?");                 // truncated at the end
    EXPECT_EQ(ToWindows1252("\xC3" "A"), "?A");            // truncated before ASCII
    EXPECT_EQ(ToWindows1252("\xE2\x82" "A"), "??A");
    EXPECT_EQ(ToWindows1252("\xC0\xAF"), "??");            // overlong '/'
    EXPECT_EQ(ToWindows1252("\xE0\x80\xAF"), "???");       // overlong, three bytes
    EXPECT_EQ(ToWindows1252("\xED\xA0\x80"), "???");       // surrogate
    EXPECT_EQ(ToWindows1252("\xF4\x90\x80\x80"), "????");  // past U+10FFFF
    EXPECT_EQ(ToWindows1252("\xFF" "\xC3\xA9"), "?" + Byte(0xE9));
}

TEST(Windows1252, NulBytesAreKept)
{
    const std::string text("a\0b", 3);
    EXPECT_EQ(ToWindows1252(text), text);
    EXPECT_EQ(FromWindows1252(text), text);
}

TEST(Windows1252, EmptyInput)
{
    EXPECT_EQ(ToWindows1252(""), "");
    EXPECT_EQ(FromWindows1252(""), "");
}

TEST(Windows1252, EveryLanguageTextIsRepresentable)
{
    for (std::size_t i = 0; i < lang::kAllTexts.size(); ++i) {
        ExpectRepresentable(lang::kAllTexts[i]->french, "pair " + std::to_string(i) + " French");
        ExpectRepresentable(lang::kAllTexts[i]->english, "pair " + std::to_string(i) + " English");
    }
    for (const auto& info : lang::kAllLists) {
        for (std::size_t slot = 0; slot < info.list->texts.size(); ++slot)
            ExpectRepresentable(info.list->texts[slot], std::string(info.key) + " slot " + std::to_string(slot));
    }
}

TEST(Windows1252, LanguageTextsInTheCodePage)
{
    EXPECT_EQ(ToWindows1252(lang::CmpReportHeader.text(0)), "Nom\tValeur Unit" + Byte(0xE9) + "\tValeur Fichier\n");
    EXPECT_EQ(ToWindows1252(lang::MeasMicroseconds.text(1)), Byte(0xB5) + "s");
    EXPECT_EQ(ToWindows1252(lang::CanNumber.text(0)), "N" + Byte(0xB0));
}
