// Binding tables move values between a dialog's controls and the program's
// variables. Each table is constant; one operation walks a whole table.
#pragma once

#include "BindingTables.h"
#include "DialogContext.h"
#include "NumberText.h"
#include "TemplateDialog.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vantor {

void showLabels(TemplateDialog& dialog, std::span<const LabelBinding> table, int language);
// The bitmap buttons' tooltips: what each does, in the language.
void showToolTips(TemplateDialog& dialog, std::span<const LabelBinding> table, int language);
// Clamps each value into its limits, stores it back and shows it.
void showNumbers(TemplateDialog& dialog, std::span<const NumberBinding> table, ProgramState& state);
// Parses every edit box of the table, the point or decimalSeparator taken as the
// decimal separator, then shows the whole table again. A box that holds no
// number keeps its text and its variable, and is marked; their controls are
// returned.
std::vector<int> readNumbers(TemplateDialog& dialog, std::span<const NumberBinding> table, ProgramState& state,
                             const std::string& decimalSeparator);
// The controls of the table whose text is not a number, marked as such.
std::vector<int> markNotNumbers(TemplateDialog& dialog, std::span<const NumberBinding> table,
                                const std::string& decimalSeparator);
// What the user reads beside a control: the nearest label on its left, on its
// row, without its accelerator mark and colon.
QString fieldName(const TemplateDialog& dialog, int control);
void fillChoices(TemplateDialog& dialog, std::span<const ChoiceBinding> table, const DialogContext& context);
void selectChoices(TemplateDialog& dialog, std::span<const ChoiceBinding> table, ProgramState& state);
void readChoices(TemplateDialog& dialog, std::span<const ChoiceBinding> table, ProgramState& state);
void showChoiceTexts(TemplateDialog& dialog, std::span<const ChoiceBinding> table, const DialogContext& context);
void showChecks(TemplateDialog& dialog, std::span<const CheckBinding> table, const DialogContext& context);
void readChecks(TemplateDialog& dialog, std::span<const CheckBinding> table, ProgramState& state);
void setChecks(TemplateDialog& dialog, std::span<const CheckBinding> table, ProgramState& state);

}  // namespace vantor
