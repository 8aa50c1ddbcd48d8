// The binding operations on a real dialog, driven by control id.
#include "Binding.h"
#include "ScriptedPrompts.h"
#include "TemplateDialog.h"

#include <QComboBox>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

using namespace vantor;

namespace {

using K = ControlKind;

constexpr ControlTemplate kControls[] = {
    {K::Edit, 20, "", 50, 5, 40, 12},         {K::Edit, 21, "", 50, 20, 40, 12},
    {K::ComboDropList, 30, "", 100, 5, 60, 60}, {K::ComboDropList, 31, "", 100, 20, 60, 60},
    {K::Static, 40, "", 5, 40, 60, 10},
};
constexpr DialogTemplate kTemplate{999, "Test", 200, 100, nullptr, 8, kControls};

constexpr ChoiceList kColours{{"Rouge", "Vert", "Bleu", "Red", "Green", "Blue", "", "", "", "", "", "", "",
                               "", "", "", "", "", "", "", "", "", "", "", "", ""}};
constexpr ChoiceList kShort{{"A", "B", "", "D", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "",
                             "", "", "", "", "", ""}};

float& first(ProgramState& s) { return s.record.calibration.extDiameter; }
float& second(ProgramState& s) { return s.record.calibration.length; }
int32_t& index(ProgramState& s) { return s.record.calibration.material; }
int32_t& other(ProgramState& s) { return s.record.calibration.product; }

constexpr NumberBinding kNumbers[] = {{20, first, "", 10, 2200}, {21, second, "%.1f", 0, 1000}};
constexpr ChoiceBinding kChoices[] = {{30, index, 3, &kColours, 1}, {31, other, 4, &kShort, 0}};

class BindingTest : public ::testing::Test {
protected:
    std::string text(int id) { return dialog.controlText(id).toStdString(); }
    QComboBox* combo(int id) { return dialog.control<QComboBox>(id); }

    ProgramState state;
    ScriptedPrompts prompts;
    SerialLibrary serial;
    JbusMaster master{serial, state.settings.link};
    BlockLink link{master, state.catalogue};
    TemplateDialog dialog{kTemplate, nullptr};
    DialogContext context{state, link, prompts};
};

}  // namespace

TEST(NumberText, NumbersAreShownWithAboutFiveSignificantDigits)
{
    const struct { float value; const char* shown; } rows[] = {
        {12.3456f, "12.35"}, {9.9985f, "9.998"},   {0.5f, "0.500"},     {10.0f, "10.00"},
        {999.9f, "1000"},    {9999.0f, "9999"},    {9999.4f, "10000"},  {99994.0f, "99990"},
        {99995.0f, "100000"}, {999949.0f, "999900"}, {999950.0f, "999999"}, {123456.0f, "123500"},
        {2000000.0f, "999999"}, {-12345.6f, "-12350"}, {-0.25f, "-0.250"},
    };
    for (const auto& row : rows) {
        int decimals = -1;
        EXPECT_EQ(formatBoundNumber("", row.value, decimals), row.shown) << row.value;
    }
}

// What is shown is what is sent: the record takes the clamped value.
TEST_F(BindingTest, NumbersAreShownClampedAndNotANumberAsTheMinimum)
{
    state.record.calibration.extDiameter = std::nextafter(10.0f, 0.0f);
    state.record.calibration.length = std::numeric_limits<float>::quiet_NaN();
    showNumbers(dialog, kNumbers, state);
    EXPECT_EQ(std::pair(state.record.calibration.extDiameter, text(20)), std::pair(10.0f, std::string("10.00")));
    EXPECT_EQ(std::pair(state.record.calibration.length, text(21)), std::pair(0.0f, std::string("0.0")));
}

TEST_F(BindingTest, AListIndexPastTheEndShowsTheFirstEntry)
{
    state.record.calibration.material = 3;  // equal to the count
    state.record.calibration.product = -1;
    state.settings.language = kEnglish;
    fillChoices(dialog, kChoices, context);
    EXPECT_EQ(state.record.calibration.material, 0);
    ASSERT_EQ(combo(30)->count(), 3);
    EXPECT_EQ(combo(30)->itemText(2).toStdString(), "Blue");
    EXPECT_EQ(combo(30)->currentIndex(), 0);
    EXPECT_EQ(combo(31)->count(), 2) << "an empty text ends the list";
    EXPECT_EQ(combo(31)->currentIndex(), -1) << "-1 selects nothing";
}
