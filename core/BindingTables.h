// A block's parameters as the program shows and checks them, built from their
// descriptor rows (format, limits, choice list, name), and the binding rows a
// window uses to tie a control to a value. The core uses the parameters'
// limits and lists (clamping, comparison reports, command-line output); the
// window binds them to its controls and walks the bindings to fill and read them.
#pragma once

#include "BlockTables.h"
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

// A value of the parameter record reached from the program's variables by its
// member, e.g. &valueAt<&CalibrationValues::extDiameter>.
template <typename Member>
struct MemberOf;
template <typename Group, typename Value>
struct MemberOf<Value Group::*> {
    using GroupType = Group;
    using ValueType = Value;
};

inline MeasurementValues& groupOf(ParameterRecord& r, MeasurementValues*) { return r.measurement; }
inline CalibrationValues& groupOf(ParameterRecord& r, CalibrationValues*) { return r.calibration; }
inline CanValues& groupOf(ParameterRecord& r, CanValues*) { return r.can; }
inline FactoryValues& groupOf(ParameterRecord& r, FactoryValues*) { return r.factory; }
inline MakerValues& groupOf(ParameterRecord& r, MakerValues*) { return r.maker; }

template <auto Member>
typename MemberOf<decltype(Member)>::ValueType& valueAt(ProgramState& s)
{
    using Group = typename MemberOf<decltype(Member)>::GroupType;
    return groupOf(s.record, static_cast<Group*>(nullptr)).*Member;
}

// A number or a choice of a block as its descriptor row shows it; the window
// binds these to its controls, the core clamps, compares and prints them.
struct NumberParameter {
    FloatRef value;
    const char* format;  // printf-style for one double; "" rounds automatically
    double minimum;
    double maximum;
    BilingualText name;
};

struct ChoiceParameter {
    IndexRef value;
    int count;
    const ChoiceList* list;  // null: the probe catalogue's names
    int bilingual;           // 1: French choices then English ones
    BilingualText name;
};

// The descriptor row of a member.
template <auto Member>
constexpr const auto& descriptorRow()
{
    using Group = typename MemberOf<decltype(Member)>::GroupType;
    for (const Descriptor<Group>& row : descriptorsOf(static_cast<const Group*>(nullptr)))
        if (row.value == ValueRef<Group>(Member))
            return row;
    throw "no descriptor row holds this member";
}

// The parameter of a member, from its descriptor row.
template <auto Member>
constexpr NumberParameter numberOf()
{
    constexpr const auto& row = descriptorRow<Member>();
    static_assert(row.shown.kind == Shown::number, "the row shows no number");
    return {&valueAt<Member>, row.shown.format, row.shown.minimum, row.shown.maximum, row.label};
}

template <auto Member>
constexpr ChoiceParameter choiceOf()
{
    constexpr const auto& row = descriptorRow<Member>();
    static_assert(row.shown.kind == Shown::choice || row.shown.kind == Shown::probe, "the row shows no choice");
    if constexpr (row.shown.kind == Shown::probe) {
        return {&valueAt<Member>, kProbeCount, nullptr, 0, row.label};
    } else {
        const ChoiceList& list = *row.shown.list;
        return {&valueAt<Member>, list.count, &list, list.bilingual ? 1 : 0, row.label};
    }
}

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
void storeClampedNumbers(std::span<const NumberParameter> table, ProgramState& state);
void storeClampedNumbers(std::span<const NumberBinding> table, ProgramState& state);
void clampChoices(std::span<const ChoiceParameter> table, ProgramState& state);
void clampChoices(std::span<const ChoiceBinding> table, ProgramState& state);

// A choice table whose null lists stand for the probe catalogue: the copy
// points them at `probes`, which setProbeNames fills.
std::vector<ChoiceParameter> withProbeList(std::span<const ChoiceParameter> table, const ChoiceList* probes);
std::vector<ChoiceBinding> withProbeList(std::span<const ChoiceBinding> table, const ChoiceList* probes);
void setProbeNames(ChoiceList& probes, const ProbeCatalogue& catalogue);

}  // namespace vantor
