// Binding tables move values between a dialog's controls and the program's
// variables. Each table is constant; one operation walks a whole table.
#pragma once

#include "BindingTables.h"
#include "DialogContext.h"
#include "NumberText.h"
#include "TemplateDialog.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

namespace vantor {

// A control and the parameter it shows, e.g. {1082, &CalibrationValues::extDiameter};
// all else about the parameter is in its descriptor row. A label control, when
// given, shows the row's name.
template <typename Group>
struct ControlBinding {
    using GroupType = Group;
    int control;
    ValueRef<Group> value;
    int label = 0;
};

// The control a table binds to a value of the record, or its label control;
// 0 for none.
using ControlOfField = int (*)(ProgramState& state, const void* field, bool label);

template <const auto& Table>
int controlIn(ProgramState& state, const void* field, bool label)
{
    for (const auto& b : Table) {
        using Group = typename std::remove_cvref_t<decltype(b)>::GroupType;
        Group& group = groupOf(state.record, static_cast<Group*>(nullptr));
        const void* bound = std::visit([&](auto member) -> const void* { return &(group.*member); }, b.value);
        if (bound == field)
            return label ? b.label : b.control;
    }
    return 0;
}

// A parameter shown by a control, where the dialog lists its controls itself.
constexpr NumberBinding bindNumber(int control, const NumberParameter& p)
{
    return {control, p.value, p.format, p.minimum, p.maximum};
}
constexpr ChoiceBinding bindChoice(int control, const ChoiceParameter& p)
{
    return {control, p.value, p.count, p.list, p.bilingual};
}

// A flag of a block as a check box captioned with the flag's name.
template <auto Member>
constexpr CheckBinding bindCheck(int control)
{
    return {control, &valueAt<Member>, descriptorRow<Member>().label};
}

// A block's parameters as controls of a dialog: those the dialog binds, in
// the block's order, each with its control.
std::vector<NumberBinding> boundNumbers(std::span<const NumberParameter> numbers, ControlOfField controlOf,
                                        ProgramState& state);
std::vector<ChoiceBinding> boundChoices(std::span<const ChoiceParameter> choices, ControlOfField controlOf,
                                        ProgramState& state);

void showLabels(TemplateDialog& dialog, std::span<const LabelBinding> table, int language);
// The bitmap buttons' tooltips: what each does, in the language.
void showToolTips(TemplateDialog& dialog, std::span<const LabelBinding> table, int language);
// Clamps each value into its limits, stores it back and shows it.
void showNumbers(TemplateDialog& dialog, std::span<const NumberBinding> table, ProgramState& state);
// A typed number brought into its limits.
struct ClampedNumber {
    int control;
    std::string typed;  // as the user typed it
    std::string kept;   // as the box shows it now
    bool atMaximum;     // else at its minimum
};

struct NumbersRead {
    std::vector<int> notNumbers;  // boxes holding no number
    std::vector<ClampedNumber> clamped;
};

// Parses every edit box of the table, the point or decimalSeparator taken as the
// decimal separator, then shows the whole table again. A box that holds no
// number keeps its text and its variable, and is marked; so is a box whose
// number was brought into its limits, until its text changes.
NumbersRead readNumbers(TemplateDialog& dialog, std::span<const NumberBinding> table, ProgramState& state,
                        const std::string& decimalSeparator);
// The controls of the table whose text is not a number, marked as such.
std::vector<int> markNotNumbers(TemplateDialog& dialog, std::span<const NumberBinding> table,
                                const std::string& decimalSeparator);
// What the user reads beside a control: the nearest label on its left, on its
// row, without its accelerator mark and colon.
QString fieldName(const TemplateDialog& dialog, int control);
// The same in both languages (French, English), when the label shows a text of
// the language tables; as it stands otherwise.
std::array<std::string, 2> fieldNames(const TemplateDialog& dialog, int control, int language);
// "<field>: <typed> brought to <kept> (maximum)" for each, in both languages.
StatusLine clampedStatus(const TemplateDialog& dialog, const std::vector<ClampedNumber>& clamped, int language);
void fillChoices(TemplateDialog& dialog, std::span<const ChoiceBinding> table, const DialogContext& context);
void selectChoices(TemplateDialog& dialog, std::span<const ChoiceBinding> table, ProgramState& state);
void readChoices(TemplateDialog& dialog, std::span<const ChoiceBinding> table, ProgramState& state);
void showChoiceTexts(TemplateDialog& dialog, std::span<const ChoiceBinding> table, const DialogContext& context);
void showChecks(TemplateDialog& dialog, std::span<const CheckBinding> table, const DialogContext& context);
void readChecks(TemplateDialog& dialog, std::span<const CheckBinding> table, ProgramState& state);
void setChecks(TemplateDialog& dialog, std::span<const CheckBinding> table, ProgramState& state);

}  // namespace vantor
