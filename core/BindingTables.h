// Binding tables tie the program's variables to a dialog's controls: each row
// names a control and where its value lives, with the limits, format and
// choice list the value is shown with. The tables are constant data; the core
// uses their limits and lists (clamping, comparison reports, command-line
// output) and the window walks them to fill and read its controls.
#pragma once

#include "LanguageTables.h"
#include "ProgramState.h"

#include <cstdint>
#include <span>
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
// it does: numbers clamped to their limits, an index past its list to 0. The
// record keeps the clamped value on purpose: what the dialog shows is what an
// upload sends and what the flow history draws.
void storeClampedNumbers(std::span<const NumberBinding> table, ProgramState& state);
void clampChoices(std::span<const ChoiceBinding> table, ProgramState& state);

// A choice table whose null lists stand for the probe catalogue: the copy
// points them at `probes`, which setProbeNames fills.
std::vector<ChoiceBinding> withProbeList(std::span<const ChoiceBinding> table, const ChoiceList* probes);
void setProbeNames(ChoiceList& probes, const ProbeCatalogue& catalogue);

}  // namespace vantor
