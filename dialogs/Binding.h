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
// Parses every edit box of the table, then shows the whole table again.
void readNumbers(TemplateDialog& dialog, std::span<const NumberBinding> table, ProgramState& state);
void fillChoices(TemplateDialog& dialog, std::span<const ChoiceBinding> table, const DialogContext& context);
void selectChoices(TemplateDialog& dialog, std::span<const ChoiceBinding> table, ProgramState& state);
void readChoices(TemplateDialog& dialog, std::span<const ChoiceBinding> table, ProgramState& state);
void showChoiceTexts(TemplateDialog& dialog, std::span<const ChoiceBinding> table, const DialogContext& context);
void showChecks(TemplateDialog& dialog, std::span<const CheckBinding> table, const DialogContext& context);
void readChecks(TemplateDialog& dialog, std::span<const CheckBinding> table, ProgramState& state);
void setChecks(TemplateDialog& dialog, std::span<const CheckBinding> table, ProgramState& state);

}  // namespace vantor
