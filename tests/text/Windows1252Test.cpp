// Windows-1252 conversions, and a check that every text of the language tables
// can be written in that code page.
#include "LanguageTables.h"
#include "Windows1252.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace vantor;

namespace {

std::string byteText(int value)
{
    return std::string(1, static_cast<char>(value));
}

std::size_t codePoints(const std::string& utf8)
{
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

void expectRepresentable(const std::string& text, const std::string& where)
{
    const std::string bytes = toWindows1252(text);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '?'), std::count(text.begin(), text.end(), '?')) << where;
    EXPECT_EQ(bytes.size(), codePoints(text)) << where;
    EXPECT_EQ(fromWindows1252(bytes), text) << where;
}

}  // namespace

TEST(Windows1252, AsciiIsUnchanged)
{
    std::string ascii;
    for (int c = 0; c < 0x80; ++c)
        ascii += static_cast<char>(c);
    EXPECT_EQ(toWindows1252(ascii), ascii);
    EXPECT_EQ(fromWindows1252(ascii), ascii);
}

TEST(Windows1252, AccentsAndUnits)
{
    EXPECT_EQ(toWindows1252("\xC3\xA9"), byteText(0xE9));  // é
    EXPECT_EQ(toWindows1252("\xC2\xB0"), byteText(0xB0));  // °
    EXPECT_EQ(toWindows1252("\xC2\xB5"), byteText(0xB5));  // µ
    EXPECT_EQ(fromWindows1252(byteText(0xE9)), "\xC3\xA9");
    EXPECT_EQ(fromWindows1252(byteText(0xB0)), "\xC2\xB0");
    EXPECT_EQ(fromWindows1252(byteText(0xB5)), "\xC2\xB5");
    EXPECT_EQ(fromWindows1252(byteText(0xA0)), "\xC2\xA0");
    EXPECT_EQ(fromWindows1252(byteText(0xFF)), "\xC3\xBF");
    EXPECT_EQ(toWindows1252("D\xC3\xA9" "bit"), "D" + byteText(0xE9) + "bit");
}

TEST(Windows1252, HighControlRangeUsesTheCodePage)
{
    EXPECT_EQ(toWindows1252("\xE2\x82\xAC"), byteText(0x80));  // €
    EXPECT_EQ(fromWindows1252(byteText(0x80)), "\xE2\x82\xAC");
    EXPECT_EQ(fromWindows1252(byteText(0x85)), "\xE2\x80\xA6");  // …
    EXPECT_EQ(fromWindows1252(byteText(0x92)), "\xE2\x80\x99");  // ’
    EXPECT_EQ(fromWindows1252(byteText(0x9F)), "\xC5\xB8");      // Ÿ
    EXPECT_EQ(toWindows1252("\xE2\x80\x99"), byteText(0x92));
    // U+0080 is not the euro sign: byte 0x80 is taken.
    EXPECT_EQ(toWindows1252("\xC2\x80"), "?");
}

TEST(Windows1252, UndefinedBytesBecomeTheirC1Control)
{
    for (int byte : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
        const std::string utf8 = fromWindows1252(byteText(byte));
        EXPECT_EQ(utf8, "\xC2" + byteText(byte)) << byte;
        EXPECT_EQ(toWindows1252(utf8), byteText(byte)) << byte;
    }
}

TEST(Windows1252, EveryByteSurvivesARoundTrip)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(toWindows1252(fromWindows1252(all)), all);
}

TEST(Windows1252, CharactersOutsideTheCodePageBecomeQuestionMarks)
{
    EXPECT_EQ(toWindows1252("\xCE\xA9"), "?");              // Ω
    EXPECT_EQ(toWindows1252("a\xE4\xB8\xAD" "b"), "a?b");   // 中
    EXPECT_EQ(toWindows1252("\xF0\x9F\x98\x80"), "?");      // one character, one '?'
}

TEST(Windows1252, InvalidUtf8BytesBecomeQuestionMarks)
{
    EXPECT_EQ(toWindows1252("\x80"), "?");                 // stray continuation byte
    EXPECT_EQ(toWindows1252("\xC3"), "?");                 // truncated at the end
    EXPECT_EQ(toWindows1252("\xC3" "A"), "?A");            // truncated before ASCII
    EXPECT_EQ(toWindows1252("\xE2\x82" "A"), "??A");
    EXPECT_EQ(toWindows1252("\xC0\xAF"), "??");            // overlong '/'
    EXPECT_EQ(toWindows1252("\xE0\x80\xAF"), "???");       // overlong, three bytes
    EXPECT_EQ(toWindows1252("\xED\xA0\x80"), "???");       // surrogate
    EXPECT_EQ(toWindows1252("\xF4\x90\x80\x80"), "????");  // past U+10FFFF
    EXPECT_EQ(toWindows1252("\xFF" "\xC3\xA9"), "?" + byteText(0xE9));
}

TEST(Windows1252, NulBytesAreKept)
{
    const std::string text("a\0b", 3);
    EXPECT_EQ(toWindows1252(text), text);
    EXPECT_EQ(fromWindows1252(text), text);
}

TEST(Windows1252, EmptyInput)
{
    EXPECT_EQ(toWindows1252(""), "");
    EXPECT_EQ(fromWindows1252(""), "");
}

TEST(Windows1252, EveryLanguageTextIsRepresentable)
{
    for (std::size_t i = 0; i < lang::kAllTexts.size(); ++i) {
        expectRepresentable(lang::kAllTexts[i]->french, "pair " + std::to_string(i) + " French");
        expectRepresentable(lang::kAllTexts[i]->english, "pair " + std::to_string(i) + " English");
    }
    for (const auto& info : lang::kAllLists) {
        for (std::size_t slot = 0; slot < info.list->texts.size(); ++slot)
            expectRepresentable(info.list->texts[slot], std::string(info.key) + " slot " + std::to_string(slot));
    }
}

TEST(Windows1252, LanguageTextsInTheCodePage)
{
    EXPECT_EQ(toWindows1252(lang::CmpReportHeader.text(0)), "Nom\tValeur Unit" + byteText(0xE9) + "\tValeur Fichier\n");
    EXPECT_EQ(toWindows1252(lang::MeasMicroseconds.text(1)), byteText(0xB5) + "s");
    EXPECT_EQ(toWindows1252(lang::CanNumber.text(0)), "N" + byteText(0xB0));
}
