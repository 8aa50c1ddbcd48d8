// Binding tables move values between a dialog's controls and the program's
// variables. Each table is constant; one operation walks a whole table.
#pragma once

#include "DialogContext.h"
#include "LanguageTables.h"
#include "TemplateDialog.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vantor {

// Where a bound value lives in the program's variables.
using FloatRef = float& (*)(ProgramState&);
using IndexRef = int32_t& (*)(ProgramState&);
using FlagRef = uint8_t& (*)(ProgramState&);

struct LabelBinding {
    int control;
    BilingualText label;
};

struct NumberBinding {
    int control;
    FloatRef value;
    const char* format;  // printf-style for one double; "" rounds automatically
    double minimum;
    double maximum;
};

struct ChoiceBinding {
    int control;
    IndexRef value;
    int count;
    const ChoiceList* list;
    int bilingual;  // 1: French choices then English ones
};

struct CheckBinding {
    int control;
    FlagRef value;
    BilingualText caption;
};

// No dialog binds more lists or check boxes than this.
inline constexpr size_t kMaxChoiceControls = 50;
inline constexpr size_t kMaxCheckControls = 50;

// Brings each value into what its control can show, storing it back, as showing
// it does: numbers clamped to their limits, an index past its list to 0.
void clampNumbers(std::span<const NumberBinding> table, ProgramState& state);
void clampChoices(std::span<const ChoiceBinding> table, ProgramState& state);

// A choice table whose null lists stand for the probe catalogue: the copy
// points them at `probes`, which SetProbeNames fills.
std::vector<ChoiceBinding> withProbeList(std::span<const ChoiceBinding> table, const ChoiceList* probes);
void setProbeNames(ChoiceList& probes, const ProbeCatalogue& catalogue);

void showLabels(TemplateDialog& dialog, std::span<const LabelBinding> table, int language);
// The bitmap buttons' tooltips: what each does, in the language.
void showToolTips(TemplateDialog& dialog, std::span<const LabelBinding> table, int language);
// Clamps each value into its limits, stores it back and shows it.
void showNumbers(TemplateDialog& dialog, std::span<const NumberBinding> table, ProgramState& state);
// Parses every edit box of the table, then shows the whole table again.
void readNumbers(TemplateDialog& dialog, std::span<const NumberBinding> table, ProgramState& state);
void fillChoices(TemplateDialog& dialog, std::span<const ChoiceBinding> table, const DialogContext& context);
void selectChoices(TemplateDialog& dialog, std::span<const ChoiceBinding> table, ProgramState& state);
void readChoices(TemplateDialog& dialog, std::span<const ChoiceBinding> table, ProgramState& state);
void showChoiceTexts(TemplateDialog& dialog, std::span<const ChoiceBinding> table, const DialogContext& context);
void showChecks(TemplateDialog& dialog, std::span<const CheckBinding> table, const DialogContext& context);
void readChecks(TemplateDialog& dialog, std::span<const CheckBinding> table, ProgramState& state);
void setChecks(TemplateDialog& dialog, std::span<const CheckBinding> table, ProgramState& state);

// The value rounded for display, at most about five significant digits; the
// number of decimals to show it with goes to decimalsCount.
double autoDecimals(float value, int& decimalsCount);
// The text of a number as a bound edit box shows it.
std::string formatBoundNumber(const char* format, float value, int& decimalsCount);
// Reads a number as the C library's atof does, with a point as the decimal
// separator whatever the locale: leading blanks skipped, the longest valid
// prefix taken, 0 when there is none.
double parseNumber(const std::string& text);
// A double as a float, the values no float holds becoming infinities.
float toFloat(double value);
// printf-style formatting of one double, always with a decimal point.
std::string formatDouble(const char* format, double value);

}  // namespace vantor
